// Host file handles and time conversions.
#include "platform/emulated/host_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

namespace vandrel::platform::emulated {

namespace {
// 100-nanosecond ticks between 1601-01-01 and 1970-01-01.
constexpr std::int64_t kUnixEpoch = 116444736000000000LL;
constexpr std::int64_t kTicksPerSecond = 10000000LL;
}  // namespace

HostFile::~HostFile() { ::close(fd_); }

std::int64_t HostFile::read(void* buffer, std::size_t count) {
  copied_.reset();
  std::size_t done = 0;
  auto* bytes = static_cast<char*>(buffer);
  while (done < count) {
    ssize_t n = ::read(fd_, bytes + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return done ? std::int64_t(done) : -1;
    if (n == 0) break;
    done += std::size_t(n);
  }
  return std::int64_t(done);
}

std::int64_t HostFile::write(const void* buffer, std::size_t count) {
  copied_.reset();
  std::size_t done = 0;
  const auto* bytes = static_cast<const char*>(buffer);
  while (done < count) {
    ssize_t n = ::write(fd_, bytes + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return done ? std::int64_t(done) : -1;  // a short count tells the disk is full
    done += std::size_t(n);
  }
  return std::int64_t(done);
}

bool HostFile::seek(std::uint64_t offset) {
  if (offset > std::uint64_t(std::numeric_limits<off_t>::max())) return false;
  copied_.reset();
  if (offset == 0) copied_ = 0;
  return ::lseek(fd_, off_t(offset), SEEK_SET) != off_t(-1);
}

std::uint64_t HostFile::size() {
  struct stat st;
  return ::fstat(fd_, &st) == 0 ? std::uint64_t(st.st_size) : 0;
}

std::int64_t HostFile::copyTo(File& out, std::size_t count) {
  auto* host = dynamic_cast<HostFile*>(&out);
  if (!host) {
    copied_.reset();
    return File::copyTo(out, count);
  }
  // Between two host files the kernel copies the data itself (and may share blocks).
  std::size_t done = 0;
  while (done < count) {
    if (knownSize_ && copied_ && *copied_ == *knownSize_) break;  // the end the opener saw
    ssize_t n = ::copy_file_range(fd_, nullptr, host->fd_, nullptr, count - done, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && done == 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL ||
                               errno == EOPNOTSUPP)) {
      copied_.reset();
      return File::copyTo(out, count);  // a file system the call does not serve
    }
    if (n < 0) return done ? std::int64_t(done) : -1;
    if (n == 0) break;
    done += std::size_t(n);
    if (copied_) *copied_ += std::uint64_t(n);
  }
  return std::int64_t(done);
}

std::optional<FileTimes> HostFile::times() {
  // The times status() gives for the path: the host's, in 100-nanosecond ticks.
  if (openedTimes_) return openedTimes_;
  struct stat st;
  if (::fstat(fd_, &st) != 0) return std::nullopt;
  return FileTimes{toFileTime(st.st_atim), toFileTime(st.st_mtim)};
}

bool HostFile::setTimes(std::optional<FileTime> lastAccess, std::optional<FileTime> lastWrite) {
  if (!lastAccess && !lastWrite) return true;
  timespec times[2];
  times[0] = lastAccess ? toTimespec(*lastAccess) : timespec{0, UTIME_OMIT};
  times[1] = lastWrite ? toTimespec(*lastWrite) : timespec{0, UTIME_OMIT};
  return ::futimens(fd_, times) == 0;
}

bool HostFile::takeHostMode(File& source) {
  auto* host = dynamic_cast<HostFile*>(&source);
  struct stat st;
  if (!host || ::fstat(host->fd_, &st) != 0) return false;
  return ::fchmod(fd_, st.st_mode & 07777) == 0;
}

FileTime toFileTime(const timespec& time) {
  std::int64_t ticks = std::int64_t(time.tv_sec) * kTicksPerSecond + time.tv_nsec / 100 + kUnixEpoch;
  return ticks < 0 ? 0 : FileTime(ticks);
}

timespec toTimespec(FileTime time) {
  constexpr FileTime kMax = FileTime(std::numeric_limits<std::int64_t>::max());
  std::int64_t ticks = std::int64_t(time > kMax ? kMax : time) - kUnixEpoch;
  std::int64_t seconds = ticks / kTicksPerSecond;
  std::int64_t rest = ticks % kTicksPerSecond;
  if (rest < 0) {  // floor division for times before 1970
    rest += kTicksPerSecond;
    --seconds;
  }
  return timespec{time_t(seconds), long(rest * 100)};
}

namespace {

// One statx query (of dirfd and host as the call takes them), or a stat for a host without
// statx.
std::optional<HostStat> queryHost(int dirfd, const char* host, int flags) {
  auto toTimespec = [](const statx_timestamp& t) { return timespec{time_t(t.tv_sec), long(t.tv_nsec)}; };
  HostStat result;
  struct statx sx;
  if (::statx(dirfd, host, flags, STATX_BASIC_STATS | STATX_BTIME, &sx) == 0) {
    result.mode = sx.stx_mode;
    result.size = sx.stx_size;
    result.lastWrite = toTimespec(sx.stx_mtime);
    result.lastAccess = toTimespec(sx.stx_atime);
    result.birth = (sx.stx_mask & STATX_BTIME) ? toTimespec(sx.stx_btime) : result.lastWrite;
    result.device = makedev(sx.stx_dev_major, sx.stx_dev_minor);
    result.inode = ino_t(sx.stx_ino);
    return result;
  }
  if (errno != ENOSYS && errno != EPERM) return std::nullopt;
  // A host without statx.
  struct stat st;
  int failed = (flags & AT_EMPTY_PATH) ? ::fstat(dirfd, &st) : ::fstatat(dirfd, host, &st, flags);
  if (failed != 0) return std::nullopt;
  result.mode = st.st_mode;
  result.size = std::uint64_t(st.st_size);
  result.lastWrite = result.birth = st.st_mtim;
  result.lastAccess = st.st_atim;
  result.device = st.st_dev;
  result.inode = st.st_ino;
  return result;
}

}  // namespace

std::optional<HostStat> hostStat(const char* host, bool followLinks) {
  return queryHost(AT_FDCWD, host, followLinks ? 0 : AT_SYMLINK_NOFOLLOW);
}

std::optional<HostStat> hostStat(int fd) { return queryHost(fd, "", AT_EMPTY_PATH); }

std::optional<HostStat> hostStatIn(int dirfd, const char* name) {
  return queryHost(dirfd, name, AT_SYMLINK_NOFOLLOW);
}

}  // namespace vandrel::platform::emulated
