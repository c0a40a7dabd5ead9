// The host files of a run's records, through the POSIX file calls.
#include "platform/host_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vandrel::platform {

namespace {

std::string kindOf(mode_t mode) {
  if (S_ISFIFO(mode)) return "is a FIFO, not a regular file";
  if (S_ISSOCK(mode)) return "is a socket, not a regular file";
  if (S_ISDIR(mode)) return "is a folder, not a file";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "is a device, not a regular file";
  return "is not a regular file";
}

std::filesystem::path normalised(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::path full = std::filesystem::weakly_canonical(path, ec);
  if (ec) full = std::filesystem::absolute(path, ec);
  return full.lexically_normal();
}

}  // namespace

std::optional<std::string> notARegularFile(const std::filesystem::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return std::nullopt;
  return kindOf(st.st_mode);
}

std::FILE* openHostOutput(const std::filesystem::path& path, bool truncate, std::string* reason) {
  auto fail = [reason](std::string why) -> std::FILE* {
    if (reason) *reason = std::move(why);
    return nullptr;
  };
  // O_NONBLOCK: a FIFO without a reader fails at once (ENXIO) instead of waiting for ever; one
  // with a reader opens, and is refused below like every other file that is not regular. The
  // emptying waits until the file is known to be regular.
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd < 0 && errno == ENXIO) return fail("is a FIFO, not a regular file");
  if (fd < 0 && errno == EISDIR) return fail("is a folder, not a file");
  if (fd < 0) return fail(std::string("cannot be opened (") + std::strerror(errno) + ")");
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    std::string why = kindOf(st.st_mode);
    ::close(fd);
    return fail(why);
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  if (truncate && ::ftruncate(fd, 0) != 0) {
    std::string why = std::string("cannot be emptied (") + std::strerror(errno) + ")";
    ::close(fd);
    return fail(why);
  }
  std::FILE* file = ::fdopen(fd, "ab");
  if (!file) {
    ::close(fd);
    return fail("cannot be opened");
  }
  return file;
}

bool sameHostFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  struct stat sa {}, sb {};
  if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0)
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  return normalised(a) == normalised(b);
}

}  // namespace vandrel::platform
