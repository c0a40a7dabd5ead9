// The removal steps for files: shared files, standard files and the backup folder.
#include <cstdint>

#include "script/schema.h"
#include "uninstall/numbered_entries.h"
#include "uninstall/removal_steps.h"
#include "uninstall/strings/string_ids.h"

namespace vandrel::uninstall {

namespace {

using platform::error::Success;

// How two spellings of one shared path are recognised: the full path, without regard to
// case.
std::string sharedPathKey(Removal& removal, const std::string& path) {
  std::string full = removal.files.fullPath(path);
  if (full.empty()) full = path;
  for (char& c : full) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return full;
}

// The usage count as a 4-byte number; nothing when the value is missing or larger.
std::optional<std::uint32_t> readCount(platform::Registry& registry, platform::HKey key,
                                       const std::string& name) {
  std::uint32_t type = 0;
  platform::Bytes data;
  if (registry.queryValue(key, name, type, data) != Success || data.size() > 4) return {};
  std::uint32_t count = 0;
  for (size_t i = 0; i < data.size(); ++i) count |= std::uint32_t(data[i]) << (8 * i);
  return count;
}

}  // namespace

bool ReleaseSharedFile(Removal& removal, const std::string& path) {
  platform::Registry& registry = removal.registry;
  platform::HKey key = 0;
  if (registry.openKey(platform::hkey::LocalMachine, removal.strings.get(ids::SharedDllsKey), key) !=
      Success) {
    return true;
  }
  std::optional<std::uint32_t> count = readCount(registry, key, path);
  if (!count) {
    registry.closeKey(key);
    return true;
  }
  ui::ActionLog& log = removal.log();
  if (*count > 1) {
    bool written = registry.setDword(key, path, *count - 1) == Success;
    registry.closeKey(key);
    log.change("shared-count", {{"file", path}}, std::to_string(*count), std::to_string(*count - 1),
               written);
    log.removal("shared-file", path, false, "shared and still used");
    return false;
  }
  bool erase = removal.tally.yesToAll ||
               removal.askDeleteShared(removal.strings.format(ids::ZeroCount, path));
  // The count after: none when its entry is deleted with the file.
  bool written = erase ? registry.deleteValue(key, path) == Success
                       : registry.setDword(key, path, 0) == Success;
  registry.closeKey(key);
  log.change("shared-count", {{"file", path}}, std::to_string(*count), erase ? "" : "0", written);
  if (!erase) log.removal("shared-file", path, false, "kept by the user's answer");
  return erase;
}

bool RemoveSharedFiles(Removal& removal) {
  long long n = removal.count(Section::SharedFiles);
  walkEntries(
      removal.presentEntries(Section::SharedFiles, n), n, Order::Descending,
      [&](long long i) {
        std::string path = removal.text(Section::SharedFiles, i);
        if (!path.empty()) {
          removal.tally.releasedShared.insert(sharedPathKey(removal, path));
          if (ReleaseSharedFile(removal, path)) DeleteInstalledFile(removal, path, "shared-file");
        }
        removal.advanceProgress();
        return true;
      },
      [&](long long missing) {
        removal.advanceProgress(missing);
        return true;
      });
  return true;
}

bool RemoveFiles(Removal& removal) {
  long long n = removal.count(Section::Files);
  auto proceedDespiteDamage = [&] { return removal.askYesNo(removal.strings.get(ids::Corrupted)); };
  bool completed = walkEntries(
      removal.presentEntries(Section::Files, n), n, Order::Descending,
      [&](long long i) {
        std::string line = removal.text(Section::Files, i);
        auto entry = script::readEntry<script::FileEntry>(line);
        if (line.empty()) {
          if (!proceedDespiteDamage()) return false;
        } else if (entry.uninstall.number("1") != 0) {
          long long directory = entry.dir.number("0");
          std::string path = removal.resolveDirectory(directory) + "\\" + entry.target.text("dummy.tmp");
          // A shared file released by the shared-files step has had its count lowered
          // for this installation already.
          bool released = removal.tally.releasedShared.count(sharedPathKey(removal, path)) > 0;
          // Entry 0 is the uninstaller itself: its count is processed, the file stays.
          if (!released && ReleaseSharedFile(removal, path)) {
            if (i != 0) {
              DeleteInstalledFile(removal, path);
            } else {
              removal.log().removal("file", path, false, "the uninstaller itself");
            }
          }
        }
        removal.advanceProgress();
        return true;
      },
      [&](long long missing) {
        // A run of missing entries is one damage: one question covers it.
        if (!proceedDespiteDamage()) return false;
        removal.advanceProgress(missing);
        return true;
      });
  if (!completed) return false;
  DeleteFolderFiles(removal, removal.folders.installFolder + "\\" + kBackupFolder);
  return true;
}

void DeleteInstalledFile(Removal& removal, const std::string& path, const std::string& kind) {
  platform::FileSystem& files = removal.files;
  if (files.deleteFile(path)) {
    removal.log().removal(kind, path, true);
  } else if (files.status(path)) {
    removal.tally.leftovers = true;
    removal.log().removal(kind, path, false, "could not be removed");
  }
}

void DeleteFolderFiles(Removal& removal, const std::string& folder) {
  platform::FileSystem& files = removal.files;
  for (const platform::FindData& found : files.find(folder + "\\*.*")) {
    if (found.name == "." || found.name == ".." || found.status.isDirectory()) continue;
    DeleteInstalledFile(removal, folder + "\\" + found.name);
  }
  removal.removeFolder(folder, "folder");
}

}  // namespace vandrel::uninstall
