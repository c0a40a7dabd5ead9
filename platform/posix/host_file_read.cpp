// Whole host files read with a size limit, through the POSIX file calls.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/bounded_read.h"

namespace vandrel::platform {

namespace {
constexpr std::size_t kBlock = 1 << 16;
}  // namespace

std::optional<std::string> readHostFileBounded(const std::filesystem::path& path,
                                               std::uint64_t limit, std::string* reason) {
  auto fail = [&](std::string why) -> std::optional<std::string> {
    if (reason) *reason = std::move(why);
    return std::nullopt;
  };
  // O_NONBLOCK: opening a FIFO does not wait for a writer; it is refused below.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    int error = errno;
    if (error == ENOENT) return fail("does not exist");
    return fail(std::string("cannot be opened (") + std::strerror(error) + ")");
  }
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    return fail("is a folder, not a file");
  }
  // A FIFO or a socket would wait for its writer for ever; devices are read up to the limit.
  if (::fstat(fd, &st) == 0 && (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode))) {
    ::close(fd);
    return fail(S_ISFIFO(st.st_mode) ? "is a FIFO, not a regular file" : "is a socket, not a regular file");
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && std::uint64_t(st.st_size) > limit) {
    ::close(fd);
    return fail(tooLarge(limit));
  }
  std::string text;
  std::vector<char> block(kBlock);
  for (;;) {
    std::uint64_t room = limit + 1 - text.size();
    ssize_t n = ::read(fd, block.data(), std::size_t(std::min<std::uint64_t>(kBlock, room)));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int error = errno;
      ::close(fd);
      return fail(std::string("cannot be read (") + std::strerror(error) + ")");
    }
    if (n == 0) break;
    text.append(block.data(), std::size_t(n));
    if (text.size() > limit) {
      ::close(fd);
      return fail(tooLarge(limit));
    }
  }
  ::close(fd);
  return text;
}

}  // namespace vandrel::platform
