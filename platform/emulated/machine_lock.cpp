// The machine's change lock: flock on a file of the machine root, one hold per process.
#include "platform/emulated/machine_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace vandrel::platform::emulated {

struct MachineLock::Shared {
  std::filesystem::path file;
  pid_t process = ::getpid();  // a child made by fork() makes holds of its own
  std::recursive_timed_mutex threads;  // one thread of the process at a time
  int fd = -1;
  int depth = 0;
  ~Shared() {
    if (fd >= 0) ::close(fd);
  }
};

namespace {

using Clock = std::chrono::steady_clock;

// The process's holds, one per lock file, alive while a MachineLock uses it.
std::shared_ptr<MachineLock::Shared> sharedHoldOf(const std::filesystem::path& file) {
  static std::mutex mutex;
  static std::map<std::string, std::weak_ptr<MachineLock::Shared>> holds;
  std::error_code ec;
  std::filesystem::path key = std::filesystem::absolute(file, ec).lexically_normal();
  std::lock_guard<std::mutex> guard(mutex);
  std::weak_ptr<MachineLock::Shared>& slot = holds[key.string()];
  std::shared_ptr<MachineLock::Shared> hold = slot.lock();
  if (!hold || hold->process != ::getpid()) {
    hold = std::make_shared<MachineLock::Shared>();
    hold->file = key;
    slot = hold;
  }
  return hold;
}

// Tries flock(operation) until it succeeds or the deadline passes, with short pauses: the
// holders of this lock hold it for one change, mostly milliseconds.
bool flockUntil(int fd, int operation, Clock::time_point deadline) {
  auto pause = std::chrono::milliseconds(2);
  while (::flock(fd, operation | LOCK_NB) != 0) {
    if ((errno != EWOULDBLOCK && errno != EINTR) || Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(50));
  }
  return true;
}

std::uint64_t readCount(int fd) {
  unsigned char bytes[8] = {};
  if (::pread(fd, bytes, sizeof bytes, 0) != ssize_t(sizeof bytes)) return 0;
  std::uint64_t count = 0;
  for (int i = 7; i >= 0; --i) count = count << 8 | bytes[i];
  return count;
}

void writeCount(int fd, std::uint64_t count) {
  unsigned char bytes[8];
  for (unsigned char& byte : bytes) {
    byte = static_cast<unsigned char>(count);
    count >>= 8;
  }
  // A count that cannot be written only makes the next holder read its files again.
  ssize_t ignored = ::pwrite(fd, bytes, sizeof bytes, 0);
  (void)ignored;
}

}  // namespace

MachineLock::MachineLock(const std::filesystem::path& file, std::chrono::milliseconds wait)
    : wait_(wait), shared_(sharedHoldOf(file)) {}

MachineLock::~MachineLock() = default;

bool MachineLock::acquire() {
  const Clock::time_point deadline = Clock::now() + wait_;
  Shared& s = *shared_;
  if (!s.threads.try_lock_until(deadline)) {
    std::fprintf(stderr, "vandrel: the machine's lock %s stayed held by another part of this program; the change is not made\n",
                 s.file.c_str());
    return false;
  }
  if (s.depth == 0) {
    // Never through a link, which would make a host file instead.
    if (s.fd < 0) s.fd = ::open(s.file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (s.fd < 0) {
      std::fprintf(stderr, "vandrel: cannot use the machine's lock %s (%s); the change is not made\n",
                   s.file.c_str(), std::strerror(errno));
      s.threads.unlock();
      return false;
    }
    if (!flockUntil(s.fd, LOCK_EX, deadline)) {
      std::fprintf(stderr,
                   "vandrel: another program held the machine's lock %s for %lld seconds; the change is not made\n",
                   s.file.c_str(), static_cast<long long>(std::chrono::duration_cast<std::chrono::seconds>(wait_).count()));
      s.threads.unlock();
      return false;
    }
  }
  ++s.depth;
  std::uint64_t count = readCount(s.fd);
  othersHeldIt_ = !seenAny_ || count != lastSeen_;
  return true;
}

void MachineLock::release() {
  Shared& s = *shared_;
  lastSeen_ = readCount(s.fd) + 1;
  writeCount(s.fd, lastSeen_);
  seenAny_ = true;
  if (--s.depth == 0) ::flock(s.fd, LOCK_UN);
  s.threads.unlock();
}

void MachineLock::waitWhileHeld(const std::filesystem::path& file, std::chrono::milliseconds wait) {
  int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return;  // no lock file: nobody is making the machine
  if (flockUntil(fd, LOCK_SH, Clock::now() + wait)) ::flock(fd, LOCK_UN);
  ::close(fd);
}

}  // namespace vandrel::platform::emulated
