// Carry folders of plans, and the removal of those that killed plans left.
#include "platform/plan/carry_folder.h"

#include <sys/stat.h>

#include <cerrno>
#include <random>

#include <string>
#include <system_error>

namespace vandrel::platform {

namespace {

constexpr const char* kPrefix = "vandrel-plan-";

// Six letters and digits, for a new folder's name.
std::string randomSuffix() {
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::random_device device;
  std::uniform_int_distribution<int> pick(0, int(sizeof kLetters) - 2);
  std::string suffix;
  for (int i = 0; i < 6; ++i) suffix += kLetters[pick(device)];
  return suffix;
}

}  // namespace

void clearLeftCarryFolders(const std::filesystem::path& folder) {
  std::error_code ec;
  const std::string suffix = kCarryLockSuffix;
  for (std::filesystem::directory_iterator entry(folder, ec), end; !ec && entry != end; entry.increment(ec)) {
    const std::string name = entry->path().filename().string();
    if (!name.starts_with(kPrefix) || entry->is_symlink(ec) || !entry->is_regular_file(ec)) continue;
    // A lock file, or one a plan killed while it made it left under its making name.
    const bool lock = name.ends_with(suffix);
    if (!lock && name.find(suffix + ".making-") == std::string::npos) continue;
    const std::filesystem::path left = folder / name.substr(0, name.size() - suffix.size());
    clearIfOwnerGone(entry->path(), [&] {
      std::error_code ignored;
      if (lock && !std::filesystem::is_symlink(left, ignored)) std::filesystem::remove_all(left, ignored);
    });
  }
}

std::optional<CarryFolder> CarryFolder::make() {
  std::error_code ec;
  const std::filesystem::path temporary = std::filesystem::temp_directory_path(ec);
  if (ec) return std::nullopt;
  clearLeftCarryFolders(temporary);
  CarryFolder made;
  for (int attempt = 0; attempt < 20; ++attempt) {
    const std::filesystem::path path = temporary / (std::string(kPrefix) + randomSuffix());
    std::filesystem::path lockFile = path;
    lockFile += kCarryLockSuffix;
    if (!made.lock_.hold(lockFile)) continue;  // the name is taken
    if (::mkdir(path.c_str(), 0700) == 0) {
      made.path_ = path;
      return made;
    }
    const int error = errno;
    made.lock_.release();
    if (error != EEXIST) return std::nullopt;
  }
  return std::nullopt;
}

CarryFolder::~CarryFolder() {
  if (path_.empty()) return;
  std::error_code ec;
  // The folder first, its lock last: no plan takes the folder for a left-over meanwhile.
  std::filesystem::remove_all(path_, ec);
  lock_.release();
}

}  // namespace vandrel::platform
