// The host folder through which a plan carries its changes to a program it starts.
#pragma once

#include <filesystem>
#include <optional>

#include "platform/owner_lock.h"

namespace vandrel::platform {

// The lock file beside each carry folder ("vandrel-plan-XXXXXX.lock"), held by its plan while
// it runs. It is made, already held, before its folder, so a plan killed at any moment leaves
// no folder without one.
inline constexpr const char* kCarryLockSuffix = ".lock";

// A fresh folder "vandrel-plan-XXXXXX" in the host's temporary folder, marked by its lock
// file; removed with its contents when this ends. Before it is made, the carry folders of
// plans that ended without removing theirs (killed) are removed: those whose lock is free.
// Folders without a lock file are never touched.
class CarryFolder {
 public:
  static std::optional<CarryFolder> make();
  CarryFolder(CarryFolder&&) noexcept = default;
  CarryFolder& operator=(CarryFolder&&) = delete;
  ~CarryFolder();

  const std::filesystem::path& path() const { return path_; }

 private:
  CarryFolder() = default;
  std::filesystem::path path_;
  OwnerLock lock_;
};

// Removes the carry folders of ended plans in folder (the host's temporary folder).
void clearLeftCarryFolders(const std::filesystem::path& folder);

}  // namespace vandrel::platform
