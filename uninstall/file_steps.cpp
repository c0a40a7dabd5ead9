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
std::string sharedPathKey(UninstallApp& app, const std::string& path) {
  std::string full = app.machine().files().fullPath(path);
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

bool ReleaseSharedFile(UninstallApp& app, const std::string& path) {
  platform::Registry& registry = app.machine().registry();
  platform::HKey key = 0;
  if (registry.openKey(platform::hkey::LocalMachine, app.strings().get(ids::SharedDllsKey), key) !=
      Success) {
    return true;
  }
  std::optional<std::uint32_t> count = readCount(registry, key, path);
  if (!count) {
    registry.closeKey(key);
    return true;
  }
  if (*count > 1) {
    registry.setDword(key, path, *count - 1);
    registry.closeKey(key);
    return false;
  }
  bool erase = app.state().yesToAll ||
               app.askDeleteShared(app.strings().format(ids::ZeroCount, path));
  if (erase) {
    registry.deleteValue(key, path);
  } else {
    registry.setDword(key, path, 0);
  }
  registry.closeKey(key);
  return erase;
}

bool RemoveSharedFiles(UninstallApp& app) {
  long long n = app.count(Section::SharedFiles);
  walkEntries(
      app.presentEntries(Section::SharedFiles, n), n, Order::Descending,
      [&](long long i) {
        std::string path = app.text(Section::SharedFiles, i);
        if (!path.empty()) {
          app.state().releasedShared.insert(sharedPathKey(app, path));
          if (ReleaseSharedFile(app, path)) DeleteInstalledFile(app, path);
        }
        app.advanceProgress();
        return true;
      },
      [&](long long missing) {
        app.advanceProgress(missing);
        return true;
      });
  return true;
}

bool RemoveFiles(UninstallApp& app) {
  long long n = app.count(Section::Files);
  auto proceedDespiteDamage = [&] { return app.askYesNo(app.strings().get(ids::Corrupted)); };
  bool completed = walkEntries(
      app.presentEntries(Section::Files, n), n, Order::Descending,
      [&](long long i) {
        std::string line = app.text(Section::Files, i);
        auto entry = script::readEntry<script::FileEntry>(line);
        if (line.empty()) {
          if (!proceedDespiteDamage()) return false;
        } else if (entry.uninstall.number("1") != 0) {
          long long directory = entry.dir.number("0");
          std::string path = app.resolveDirectory(directory) + "\\" + entry.target.text("dummy.tmp");
          // A shared file released by the shared-files step has had its count lowered
          // for this installation already.
          bool released = app.state().releasedShared.count(sharedPathKey(app, path)) > 0;
          // Entry 0 is the uninstaller itself: its count is processed, the file stays.
          if (!released && ReleaseSharedFile(app, path) && i != 0) DeleteInstalledFile(app, path);
        }
        app.advanceProgress();
        return true;
      },
      [&](long long missing) {
        // A run of missing entries is one damage: one question covers it.
        if (!proceedDespiteDamage()) return false;
        app.advanceProgress(missing);
        return true;
      });
  if (!completed) return false;
  DeleteFolderFiles(app, app.state().installFolder + "\\" + kBackupFolder);
  return true;
}

void DeleteInstalledFile(UninstallApp& app, const std::string& path) {
  platform::FileSystem& files = app.machine().files();
  if (!files.deleteFile(path) && files.status(path)) app.state().leftovers = true;
}

void DeleteFolderFiles(UninstallApp& app, const std::string& folder) {
  platform::FileSystem& files = app.machine().files();
  for (const platform::FindData& found : files.find(folder + "\\*.*")) {
    if (found.name == "." || found.name == ".." || found.status.isDirectory()) continue;
    DeleteInstalledFile(app, folder + "\\" + found.name);
  }
  files.removeDirectory(folder);
}

}  // namespace vandrel::uninstall
