// Owner locks on POSIX systems: flock() on a lock file, which the system drops with the process.
#include "platform/owner_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace vandrel::platform {

bool OwnerLock::hold(const std::filesystem::path& path) {
  release();
  // Made and locked under a name of its own, then linked into place: a lock file found under
  // its name is always held from the start.
  std::filesystem::path making = path;
  making += ".making-" + std::to_string(::getpid());
  int handle = ::open(making.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (handle < 0) return false;
  const bool placed = ::flock(handle, LOCK_EX | LOCK_NB) == 0 && ::link(making.c_str(), path.c_str()) == 0;
  ::unlink(making.c_str());
  if (!placed) {
    ::close(handle);
    return false;
  }
  handle_ = handle;
  path_ = path;
  return true;
}

void OwnerLock::release() {
  if (handle_ < 0) return;
  ::unlink(path_.c_str());
  ::close(static_cast<int>(handle_));
  handle_ = -1;
}

bool clearIfOwnerGone(const std::filesystem::path& path, const std::function<void()>& clear) {
  int handle = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (handle < 0) return false;
  struct stat locked {}, now {};
  // Still the file locked: not released by its owner, and made again by another, meanwhile.
  const bool gone = ::flock(handle, LOCK_EX | LOCK_NB) == 0 && ::fstat(handle, &locked) == 0 &&
                    ::lstat(path.c_str(), &now) == 0 && locked.st_dev == now.st_dev && locked.st_ino == now.st_ino;
  if (gone) {
    clear();
    ::unlink(path.c_str());
  }
  ::close(handle);
  return gone;
}

}  // namespace vandrel::platform
