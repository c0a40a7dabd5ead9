// Collecting the optional directories and creating the installation's folders.
#include "setup/directory_pass.h"

#include "script/schema.h"
#include "setup/common/script_keys.h"

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

// Creates one folder that was not there; logs it when a log is given.
void createFolder(platform::FileSystem& files, const std::string& folder, ui::ActionLog* log) {
  if (files.status(folder)) return;
  bool created = files.createDirectory(folder);
  if (log) log->action("folder", {{"target", folder}, {"created", created ? "yes" : "no"}});
}

// Creates a folder and every missing folder above it.
void createFolderPath(platform::FileSystem& files, const std::string& folder, ui::ActionLog* log) {
  for (std::size_t i = 3; i <= folder.size(); ++i) {
    if (i == folder.size() || folder[i] == '\\') createFolder(files, folder.substr(0, i), log);
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

void createDirectories(script::ScriptReader& script, const SetupState& state,
                       platform::FileSystem& files, ui::ActionLog* log) {
  createFolderPath(files, state.installFolder, log);
  script.write(Section::UnInstall, "0", state.installFolder);
  std::string backupFolder = state.installFolder + "\\Backup";
  if (state.backup) createFolder(files, backupFolder, log);
  long nbDir = script.entryCount(Section::Directories);
  if (nbDir - 4 <= 0) return;
  for (long i : authorEntries(script, nbDir)) {
    std::string entry = script.value(Section::Directories, std::to_string(i), "");
    if (entry.empty()) continue;
    std::string path = directoryPath(script, state, i);
    script.write(Section::UnInstall, std::to_string(i + 1), path);
    createFolder(files, path, log);
  }
  if (state.backup) script.write(Section::UnInstall, std::to_string(nbDir - 3), backupFolder);
}

}  // namespace vandrel::setup
