// The machine's change lock: a lock on a file in the machine root, shared by every process
// that works on the machine.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>

#include "platform/change_lock.h"

namespace vandrel::platform::emulated {

// The lock file of a machine root (kept with the machine; a program opening the machine
// makes it when it is missing).
inline constexpr const char* kMachineLockName = "machine.lock";
// How long a change waits for another process's change before it gives up.
inline constexpr std::chrono::seconds kMachineLockWait{30};

// An exclusive lock (flock) on the file. The lock file also holds a count of holds, raised
// at every release, which tells a holder whether anyone else held the lock since it last
// did. Within one process every MachineLock on the same file shares one hold: a thread
// waits for another thread's, and a nested hold is counted, never waited for.
class MachineLock : public ChangeLock {
 public:
  explicit MachineLock(const std::filesystem::path& file, std::chrono::milliseconds wait = kMachineLockWait);
  ~MachineLock() override;
  MachineLock(const MachineLock&) = delete;
  MachineLock& operator=(const MachineLock&) = delete;

  bool acquire() override;
  void release() override;
  bool othersHeldIt() const override { return othersHeldIt_; }

  // Waits (up to wait) while another process holds the lock of this file, without taking it
  // and without making the file: a program opening a machine that another one is still
  // making opens it only once it is made.
  static void waitWhileHeld(const std::filesystem::path& file, std::chrono::milliseconds wait = kMachineLockWait);

  struct Shared;  // the process's one hold of the file

 private:
  std::chrono::milliseconds wait_;
  std::shared_ptr<Shared> shared_;
  std::uint64_t lastSeen_ = 0;  // the count this holder left at its last release
  bool seenAny_ = false;
  bool othersHeldIt_ = true;
};

}  // namespace vandrel::platform::emulated
