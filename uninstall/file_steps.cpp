// The removal steps for files: shared files, standard files and the backup folder.
#include <cstdint>
#include <optional>

#include "platform/file_system.h"
#include "platform/profile.h"
#include "platform/registry_update.h"
#include "script/removal_marks.h"
#include "script/schema.h"
#include "uninstall/numbered_entries.h"
#include "uninstall/removal_steps.h"
#include "uninstall/strings/string_ids.h"

namespace vandrel::uninstall {

namespace {

using platform::error::Success;

// How two spellings of one shared path are recognised: the full path, without regard to
// case, as the removal's marks name it.
std::string sharedPathKey(Removal& removal, const std::string& path) {
  return script::removalMarkFile(removal.files, path);
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

// What one change of a usage count found and did.
struct CountChange {
  bool ran = false;                     // false: the registry stayed busy, nothing was read
  std::optional<std::uint32_t> before;  // the count found
  long result = Success;                // of its write
};

// Lowers a count above one, as one change of the registry; with settle, a count of at most
// one is settled too: its value deleted (true) or set to 0 (false). A count changed is marked
// in record within the same change.
CountChange changeCount(platform::Registry& registry, platform::HKey key, const std::string& path,
                        std::optional<bool> settle, RemovalRecord* record, const std::string& pathKey) {
  CountChange change;
  platform::updateRegistry(registry, [&] {
    change.ran = true;
    change.before = readCount(registry, key, path);
    if (!change.before) return Success;
    bool changed = false;
    if (*change.before > 1) {
      change.result = registry.setDword(key, path, *change.before - 1);
      changed = true;
    } else if (settle) {
      change.result = *settle ? registry.deleteValue(key, path) : registry.setDword(key, path, 0);
      changed = true;
    }
    // The mark only guards a rerun: a mark that cannot be written leaves the change made.
    if (record && changed && change.result == Success) record->mark(pathKey);
    return change.result;
  });
  return change;
}

// Whether the file has a usage count at all, by one read: most files of an installation have
// none, and a read tells so as surely as a change of the registry would. Nothing: the read
// failed otherwise (a busy registry), so the change must find out.
std::optional<bool> hasCount(Removal& removal, platform::HKey& key, const std::string& path) {
  std::uint32_t type = 0;
  platform::Bytes data;
  long found = removal.registry.queryValue(key, path, type, data);
  if (found == platform::error::KeyDeleted) {
    key = removal.sharedCountsKey(true);
    if (key == 0) return false;
    found = removal.registry.queryValue(key, path, type, data);
  }
  if (found == Success) return true;
  if (found == platform::error::FileNotFound) return false;
  return std::nullopt;
}

}  // namespace

bool ReleaseSharedFile(Removal& removal, const std::string& path) {
  platform::Registry& registry = removal.registry;
  platform::HKey key = removal.sharedCountsKey();
  if (key == 0) return true;
  if (hasCount(removal, key, path) == false) return true;
  // A rerun of a killed removal, for a file whose count that removal released: the count
  // found now is another installation's (or the 0 the user kept the file with), so the file
  // stays. A count it settled for the file's deletion was deleted and is not found above.
  const std::string pathKey = removal.record ? sharedPathKey(removal, path) : std::string();
  if (removal.record) {
    if (removal.record->released(pathKey)) return false;
    removal.record->name();
  }
  CountChange change = changeCount(registry, key, path, std::nullopt, removal.record, pathKey);
  std::optional<bool> erase;
  if (change.ran && change.before && *change.before <= 1) {
    erase = removal.tally.yesToAll || removal.askDeleteShared(removal.strings.format(ids::ZeroCount, path));
    // While the question was open another installation may have begun to use the file:
    // the answer settles a count still at most one; a raised count is only lowered.
    change = changeCount(registry, key, path, erase, removal.record, pathKey);
  }
  ui::ActionLog& log = removal.log();
  if (!change.ran) {
    // The registry stayed busy: the file may still be in use, so it stays.
    log.removal("shared-file", path, false, "its usage count could not be read");
    return false;
  }
  // No count (or another removal took it meanwhile): the file goes unless the user said no.
  if (!change.before) return erase.value_or(true);
  const std::uint32_t before = *change.before;
  const bool written = change.result == Success;
  if (before > 1) {
    log.change("shared-count", {{"file", path}}, std::to_string(before), std::to_string(before - 1), written);
    log.removal("shared-file", path, false, "shared and still used");
    return false;
  }
  // The count after: none when its entry is deleted with the file.
  log.change("shared-count", {{"file", path}}, std::to_string(before), *erase ? "" : "0", written);
  if (!*erase) log.removal("shared-file", path, false, "kept by the user's answer");
  return *erase;
}

bool RemoveSharedFiles(Removal& removal) {
  // The records of the files removed leave the side store a transaction per many files.
  platform::FileBatch batch(removal.files);
  long long n = removal.count(Section::SharedFiles);
  platform::LookPerBlock looks(removal.profile, removal.folders.scriptPath);
  walkEntries(
      removal.presentEntries(Section::SharedFiles, n), n, Order::Descending,
      [&](long long i) {
        looks.next();
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
  platform::FileBatch batch(removal.files);
  long long n = removal.count(Section::Files);
  auto proceedDespiteDamage = [&] { return removal.askYesNo(removal.strings.get(ids::Corrupted)); };
  // The entries' reads of the script (a line, its folder) share one look at the file per
  // block of entries; a wait on the user looks again.
  platform::LookPerBlock looks(removal.profile, removal.folders.scriptPath);
  bool completed = walkEntries(
      removal.presentEntries(Section::Files, n), n, Order::Descending,
      [&](long long i) {
        looks.next();
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
