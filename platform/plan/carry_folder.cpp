// Carry folders of plans, and the removal of those that killed plans left.
#include "platform/plan/carry_folder.h"

#include <stdlib.h>

#include <string>
#include <system_error>

namespace vandrel::platform {

namespace {

constexpr const char* kPrefix = "vandrel-plan-";

}  // namespace

void clearLeftCarryFolders(const std::filesystem::path& folder) {
  std::error_code ec;
  for (std::filesystem::directory_iterator entry(folder, ec), end; !ec && entry != end; entry.increment(ec)) {
    if (!entry->path().filename().string().starts_with(kPrefix)) continue;
    if (!entry->is_directory(ec) || entry->is_symlink(ec)) continue;
    const std::filesystem::path left = entry->path();
    clearIfOwnerGone(left / kCarryLockName, [&] {
      std::error_code ignored;
      std::filesystem::remove_all(left, ignored);
    });
  }
}

std::optional<CarryFolder> CarryFolder::make() {
  std::error_code ec;
  const std::filesystem::path temporary = std::filesystem::temp_directory_path(ec);
  if (ec) return std::nullopt;
  clearLeftCarryFolders(temporary);
  std::string pattern = (temporary / (std::string(kPrefix) + "XXXXXX")).string();
  if (!::mkdtemp(pattern.data())) return std::nullopt;
  CarryFolder made;
  made.path_ = pattern;
  // Without a lock the folder is still used; only a kill would then leave it for good.
  made.lock_.hold(made.path_ / kCarryLockName);
  return made;
}

CarryFolder::~CarryFolder() {
  if (path_.empty()) return;
  std::error_code ec;
  // The files first, the lock last: no plan takes the folder for a left-over meanwhile.
  for (std::filesystem::directory_iterator entry(path_, ec), end; !ec && entry != end; entry.increment(ec)) {
    if (entry->path().filename() != kCarryLockName) std::filesystem::remove_all(entry->path(), ec);
  }
  lock_.release();
  std::filesystem::remove_all(path_, ec);
}

}  // namespace vandrel::platform
