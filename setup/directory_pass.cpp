// Collecting the optional directories and creating the installation's folders.
#include "setup/directory_pass.h"

#include <algorithm>
#include <vector>

#include "platform/text/text_rules.h"
#include "script/removal_marks.h"
#include "script/schema.h"
#include "setup/common/script_keys.h"
#include "ui/folder_picker_model.h"

namespace vandrel::setup {

using script::Section;
namespace {

// The [Directories] entries that exist among the author's directories and the install
// folder's entry (0 to nbDir-4); absent entries read as empty and are skipped anyway.
std::vector<long> authorEntries(const script::ScriptReader& script, long nbDir) {
  if (nbDir - 4 <= 0) return {};
  return numberedKeys(script.profile(), script.path(),
                      script::sectionName(Section::Directories), 0, nbDir - 4);
}

// The installation folder when it was there before the installation, written into the
// script as [KeptFolders] so that the removal leaves it (a destination such as
// "C:\Program Files"). The folders above it are never removed.
class KeptFolders {
 public:
  KeptFolders(script::ScriptReader& script, platform::FileSystem& files, const std::string& installFolder,
              bool removalStopped)
      : script_(script) {
    // A removal of an installation in this folder was stopped after its script went: what it
    // left is that installation's folder, not one found in place.
    if (removalStopped) {
      hasEarlier_ = true;
      return;
    }
    // A folder that holds an earlier installation's script was made by that installation
    // unless its script says otherwise: a new installation into it keeps what it recorded.
    std::string earlier = installFolder + "\\Script.vrx";
    if (!files.status(earlier)) return;
    hasEarlier_ = true;
    long count = script.profile().getInt(earlier, script::kKeptFoldersSection, "nb", 0);
    for (long i = 0; i < count; ++i) {
      earlier_.push_back(script.profile().getString(earlier, std::string(script::kKeptFoldersSection),
                                                    std::to_string(i), "", 260));
    }
  }

  // A folder found in place before the installation made anything.
  void found(const std::string& folder) {
    if (ui::madeByPicker(folder)) return;  // the user made it for this installation
    if (hasEarlier_ && !listed(earlier_, folder)) return;
    if (!listed(kept_, folder)) kept_.push_back(folder);
  }

  // Writes the list (nothing when it is empty, as in most installations).
  void write() {
    if (kept_.empty()) return;
    script_.write(script::kKeptFoldersSection, "nb", std::to_string(kept_.size()));
    for (std::size_t i = 0; i < kept_.size(); ++i) {
      script_.write(script::kKeptFoldersSection, std::to_string(i), kept_[i]);
    }
  }

 private:
  static bool listed(const std::vector<std::string>& folders, const std::string& folder) {
    return std::any_of(folders.begin(), folders.end(),
                       [&](const std::string& f) { return text::equalsNoCase(f, folder); });
  }

  script::ScriptReader& script_;
  bool hasEarlier_ = false;
  std::vector<std::string> earlier_, kept_;
};

// Creates one folder that was not there; logs it when a log is given. A folder already
// there is noted as kept.
void createFolder(platform::FileSystem& files, const std::string& folder, ui::ActionLog* log,
                  KeptFolders* kept) {
  if (files.status(folder)) {
    if (kept) kept->found(folder);
    return;
  }
  bool created = files.createDirectory(folder);
  if (log) log->action("folder", {{"target", folder}, {"created", created ? "yes" : "no"}});
}

// Creates a folder and every missing folder above it; only the folder itself counts for the
// removal (it never takes the folders above the installation's).
void createFolderPath(platform::FileSystem& files, const std::string& folder, ui::ActionLog* log,
                      KeptFolders& kept) {
  for (std::size_t i = 3; i <= folder.size(); ++i) {
    if (i == folder.size()) {
      createFolder(files, folder, log, &kept);
    } else if (folder[i] == '\\') {
      createFolder(files, folder.substr(0, i), log, nullptr);
    }
  }
}

}  // namespace

void collectDirectories(const script::ScriptReader& script, SetupState& state) {
  long nbDir = script.entryCount(Section::Directories);
  for (long i : authorEntries(script, nbDir)) {
    std::string line = script.value(Section::Directories, std::to_string(i), "");
    auto entry = script::readEntry<script::DirectoryEntry>(line);
    if (line.empty() || entry.optional.number("0") == 0) continue;
    state.optionalDirectories.push_back(i);
    state.selectedDirectories.push_back(i);
    state.directoryLabels.push_back(entry.label.text("?"));
  }
}

void createDirectories(script::ScriptReader& script, const SetupState& state, platform::Machine& machine,
                       ui::ActionLog* log) {
  platform::FileSystem& files = machine.files();
  KeptFolders kept(script, files, state.installFolder,
                   script::folderHasRemovalMarks(machine.registry(), state.installFolder));
  createFolderPath(files, state.installFolder, log, kept);
  // The folders' entries reach the script in one write back, not in one rewrite each.
  platform::Profile& profile = script.profile();
  profile.holdWrites();
  script.write(Section::UnInstall, "0", state.installFolder);
  std::string backupFolder = state.installFolder + "\\Backup";
  if (state.backup) createFolder(files, backupFolder, log, nullptr);
  long nbDir = script.entryCount(Section::Directories);
  if (nbDir - 4 > 0) {
    for (long i : authorEntries(script, nbDir)) {
      std::string entry = script.value(Section::Directories, std::to_string(i), "");
      if (entry.empty()) continue;
      std::string path = directoryPath(script, state, i);
      script.write(Section::UnInstall, std::to_string(i + 1), path);
      createFolder(files, path, log, nullptr);
    }
    if (state.backup) script.write(Section::UnInstall, std::to_string(nbDir - 3), backupFolder);
  }
  kept.write();
  profile.flush();
}

}  // namespace vandrel::setup
