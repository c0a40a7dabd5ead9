// Lock files that mark a temporary folder as its running program's, and the clearing of the
// folders whose program is gone.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>

namespace vandrel::platform {

// A lock file held for as long as its program runs (the system lets go of it however the
// program ends, kill -9 too). Whether the owner still runs is asked of the lock, never of a
// process id: ids are reused, and one seen from another process table means nothing here.
// On POSIX systems the lock is flock() on the file; on Windows the file is held open without
// sharing, which the system likewise ends with the program.
class OwnerLock {
 public:
  OwnerLock() = default;
  ~OwnerLock() { release(); }
  OwnerLock(OwnerLock&& other) noexcept;
  OwnerLock& operator=(OwnerLock&& other) noexcept;
  OwnerLock(const OwnerLock&) = delete;
  OwnerLock& operator=(const OwnerLock&) = delete;

  // Makes the lock file path, which must not exist yet, and holds it. It appears already held:
  // no other program can take it for a left-over one in between. False when it cannot be made.
  bool hold(const std::filesystem::path& path);
  // Removes the lock file, then lets go of it.
  void release();
  bool held() const { return handle_ >= 0; }

 private:
  std::intptr_t handle_ = -1;  // a file descriptor, or a Windows file handle
  std::filesystem::path path_;
};

// When the program that held the lock file path has ended (its lock can be taken, and the file
// is still the one locked), runs clear (which removes what the lock marked) while holding the
// lock, then removes the lock file. True when it did. A missing lock file, or one still held,
// is left alone.
bool clearIfOwnerGone(const std::filesystem::path& path, const std::function<void()>& clear);

}  // namespace vandrel::platform
