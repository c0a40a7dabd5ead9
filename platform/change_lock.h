// The lock that every process changing one machine takes around a change that reads before
// it writes, so that no other process's change falls between the read and the write.
#pragma once

namespace vandrel::platform {

class ChangeLock {
 public:
  virtual ~ChangeLock() = default;
  // Waits for the lock. Holds taken again while held (by any holder of this process) are
  // counted and cost nothing. False, with the reason on standard error, when it could not
  // be had in time; the caller then changes nothing.
  virtual bool acquire() = 0;
  virtual void release() = 0;
  // Right after acquire(): true when, since this holder last let go (or ever, at its first
  // hold), another holder took the lock, so that what this holder read before may have
  // been changed meanwhile.
  virtual bool othersHeldIt() const = 0;
};

}  // namespace vandrel::platform
