// Upgrades and repairs of an earlier installation in the same folder.
#include "setup/upgrade/upgrade.h"

#include <cstdio>

#include "platform/registry_update.h"
#include "platform/text/text_rules.h"
#include "script/list_item.h"
#include "script/removal_marks.h"
#include "script/schema.h"
#include "setup/changes/ini_registry.h"

namespace vandrel::setup {
namespace {

using script::Section;

bool holds(const std::vector<std::string>& paths, const std::string& path) {
  for (const std::string& known : paths) {
    if (samePath(known, path)) return true;
  }
  return false;
}

// The paths of earlier not in any of mine, each once.
std::vector<std::string> missingFrom(const std::vector<std::string>& earlier,
                                     const std::vector<std::vector<std::string>>& mine) {
  std::vector<std::string> missing;
  for (const std::string& path : earlier) {
    bool known = holds(missing, path);
    for (const auto& list : mine) known = known || holds(list, path);
    if (!known) missing.push_back(path);
  }
  return missing;
}

void writeList(script::ScriptReader& script, Section section, const std::vector<std::string>& items,
               std::size_t from) {
  for (std::size_t i = from; i < items.size(); ++i) script.write(section, std::to_string(i), items[i]);
  script.write(section, script::countKey(section), std::to_string(items.size()));
}

// An [AddINI] line's identity: its section and key, as the uninstaller deletes them.
std::string iniIdentity(const std::string& line) {
  auto entry = script::readEntry<script::IniEntry>(line);
  return text::toLower(entry.section.text("None")) + "\n" + text::toLower(entry.key.text("None"));
}

// A [Registry] line's identity: root, subkey, value name and removal, as the uninstaller
// removes them.
std::string registryIdentity(const std::string& line) {
  auto entry = script::readEntry<script::RegistryEntry>(line);
  return entry.root.text("4") + "\n" + text::toLower(entry.subkey.text("Dummy")) + "\n" +
         text::toLower(entry.name.text("Dummy")) + "\n" + entry.removal.text("1");
}

bool isRegistration(const std::string& line) {
  auto entry = script::readEntry<script::RegistryEntry>(line);
  std::string subkey = text::toLower(normalPath(entry.subkey.text("")));
  std::string prefix = text::toLower(kUninstallKey) + "\\";
  return subkey.compare(0, prefix.size(), prefix) == 0;
}

// Appends to a counted section the lines of earlier whose identity none of mine has.
void appendLines(script::ScriptReader& script, Section section, const std::vector<std::string>& mine,
                 const std::vector<std::string>& earlier, std::string (*identity)(const std::string&),
                 bool skipRegistrations) {
  std::vector<std::string> all = mine;
  std::vector<std::string> known;
  for (const std::string& line : mine) known.push_back(identity(line));
  for (const std::string& line : earlier) {
    if (skipRegistrations && isRegistration(line)) continue;
    std::string id = identity(line);
    bool seen = false;
    for (const std::string& k : known) seen = seen || k == id;
    if (seen) continue;
    known.push_back(id);
    all.push_back(line);
  }
  if (all.size() > mine.size()) writeList(script, section, all, mine.size());
}

// Earlier entries first, then the new ones: the uninstaller removes from the highest number
// down, the new version's links and folders before the earlier version's.
void prependPaths(script::ScriptReader& script, Section section, const std::vector<std::string>& mine,
                  const std::vector<std::string>& earlierOnly) {
  if (earlierOnly.empty()) return;
  std::vector<std::string> all = earlierOnly;
  all.insert(all.end(), mine.begin(), mine.end());
  writeList(script, section, all, 0);
}

}  // namespace

void recordEarlierRecords(script::ScriptReader& script, const InstalledRecords& earlier,
                          const script::DirectoryContext& context) {
  InstalledRecords mine = readInstalledRecords(script.profile(), script.path(), context);
  // The files the new version no longer ships stay where they are, recorded for the one
  // removal: an upgrade deletes nothing of the earlier version.
  std::vector<std::string> earlierFiles = earlier.sharedFiles;
  earlierFiles.insert(earlierFiles.end(), earlier.files.begin(), earlier.files.end());
  std::vector<std::string> files = missingFrom(earlierFiles, {mine.files, mine.sharedFiles});
  if (!files.empty()) {
    std::vector<std::string> shared = mine.sharedFiles;
    shared.insert(shared.end(), files.begin(), files.end());
    writeList(script, Section::SharedFiles, shared, mine.sharedFiles.size());
  }
  prependPaths(script, Section::AddedLinks, mine.links, missingFrom(earlier.links, {mine.links}));
  std::vector<std::string> earlierFolders = earlier.groupFolders;
  earlierFolders.insert(earlierFolders.end(), earlier.folders.begin(), earlier.folders.end());
  prependPaths(script, Section::AddedFolders, mine.groupFolders,
               missingFrom(earlierFolders, {mine.groupFolders, mine.folders, {context.installFolder}}));
  appendLines(script, Section::AddIni, mine.iniLines, earlier.iniLines, iniIdentity, false);
  appendLines(script, Section::Registry, mine.registryLines, earlier.registryLines, registryIdentity,
              true);
}

void giveBackReleasedCounts(platform::Registry& registry, const EarlierInstallation& earlier,
                            ui::ActionLog* log) {
  for (const ReleasedCount& released : earlier.releasedCounts) {
    platform::updateRegistry(registry, [&] {
      raiseSharedCount(registry, released.path, log);
      return script::dropRemovalMark(registry, released.mark);
    });
  }
}

void removeEarlierRegistrations(platform::Registry& registry, const EarlierInstallation& earlier,
                                const std::string& keep, ui::ActionLog* log) {
  platform::HKey key = 0;
  // Without the new registration the earlier one stays: the folder must stay removable.
  if (registry.openKey(platform::hkey::LocalMachine, std::string(kUninstallKey) + "\\" + keep, key) !=
      platform::error::Success) {
    return;
  }
  registry.closeKey(key);
  for (const std::string& name : earlier.registrations) {
    if (text::equalsNoCase(name, keep)) continue;
    const std::string subKey = std::string(kUninstallKey) + "\\" + name;
    bool removed = registry.deleteKey(platform::hkey::LocalMachine, subKey) == platform::error::Success;
    if (log) {
      log->action("registration-removed",
                  {{"key", "HKEY_LOCAL_MACHINE\\" + subKey}, {"removed", removed ? "yes" : "no"}});
    }
  }
}

void UpgradeStep::find(SetupApp& app) {
  const SetupState& state = app.state();
  found_ = findInstallations(app.machine(), state.windowsFolder, state.appName);
  for (const EarlierInstallation& installation : found_) {
    const std::string& name = installation.registrations.front();
    std::fprintf(stderr, "tamsin32: earlier installation of %s found: \"%s\" (version %s) in %s\n",
                 state.appName.c_str(), name.c_str(), installation.version.c_str(),
                 installation.folder.c_str());
    app.log().action("earlier-installation", {{"application", state.appName},
                                              {"registration", name},
                                              {"version", installation.version},
                                              {"folder", installation.folder}});
  }
}

std::string UpgradeStep::proposedFolder(const std::string& def) const {
  return found_.empty() ? def : found_.front().folder;
}

std::vector<std::pair<std::string, std::string>> UpgradeStep::destinationFacts() const {
  if (found_.empty()) return {};
  const EarlierInstallation& proposed = found_.front();
  return {{"earlier-installation", proposed.registrations.front()},
          {"earlier-version", proposed.version},
          {"earlier-folder", proposed.folder}};
}

void UpgradeStep::prepare(SetupApp& app) {
  SetupState& state = app.state();
  same_.reset();
  state.countedSharedFiles.clear();
  for (const EarlierInstallation& installation : found_) {
    if (samePath(installation.folder, state.installFolder)) same_ = installation;
  }
  if (!same_) return;
  // A removal of the installation stopped midway has lowered some of its counts: this run
  // takes the installation over as it was before that removal, and its one removal lowers
  // each count once.
  giveBackReleasedCounts(app.machine().registry(), *same_, &app.log());
  state.countedSharedFiles = same_->records.sharedFiles;
  std::string version = app.value(Section::Settings, script::key::Ver, "");
  if (text::equalsNoCase(version, same_->version)) {
    std::fprintf(stderr, "tamsin32: installing into %s repairs version %s\n",
                 same_->folder.c_str(), same_->version.c_str());
  } else {
    std::fprintf(stderr, "tamsin32: installing into %s upgrades version %s to %s\n",
                 same_->folder.c_str(), same_->version.c_str(), version.c_str());
  }
}

void UpgradeStep::complete(SetupApp& app) {
  if (!same_) return;
  const SetupState& state = app.state();
  // The install phase had not put its script into the folder: nothing of the earlier
  // installation changed.
  if (!samePath(app.script().path(), same_->folder + "\\Script.vrx")) return;
  script::DirectoryContext context;
  context.installFolder = normalPath(state.installFolder);
  context.windowsFolder = state.windowsFolder;
  recordEarlierRecords(app.script(), same_->records, context);
  std::string keep = app.value(Section::Settings, script::key::AppName, "") + " " +
                     app.value(Section::Settings, script::key::Ver, "");
  removeEarlierRegistrations(app.machine().registry(), *same_, keep, &app.log());
}

}  // namespace vandrel::setup
