// Program groups and shortcuts: link folders by macro, group folders under Programs, .lnk
// files, and the [AddedFolders] and [AddedLinks] records.
#include "setup/shortcuts/program_groups.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "platform/shell.h"
#include "platform/text/text_rules.h"
#include "script/list_item.h"
#include "script/schema.h"
#include "setup/copy/copy_file.h"
#include "setup/common/copy_progress.h"
#include "setup/common/setup_texts.h"
#include "setup/common/script_keys.h"
#include "setup/common/setup_state.h"

namespace vandrel::setup {
namespace {

using script::readInt;
using script::Section;

constexpr int kMacroCount = 4;

struct Shortcut {
  script::ShortcutEntry entry;
  long group = -1;
};

class GroupMaker {
 public:
  GroupMaker(script::ScriptReader& script, const SetupState& state, platform::FileSystem& files,
             platform::Shell& shell, const script::StringTable& strings, CopyProgress& progress,
             bool& changeFailed, ui::ActionLog* log)
      : script_(script), state_(state), files_(files), shell_(shell), strings_(strings),
        progress_(progress), changeFailed_(changeFailed), log_(log),
        foldersSection_(script::sectionName(Section::AddedFolders)),
        linksSection_(script::sectionName(Section::AddedLinks)) {}

  int run();

 private:
  std::vector<Shortcut> readShortcuts(long nbAdd);
  std::string groupFolder(const std::string& name);
  void makeShortcut(const script::ShortcutEntry& entry, const std::string& folder);

  script::ScriptReader& script_;
  const SetupState& state_;
  platform::FileSystem& files_;
  platform::Shell& shell_;
  const script::StringTable& strings_;
  CopyProgress& progress_;
  bool& changeFailed_;
  ui::ActionLog* log_;
  std::string foldersSection_, linksSection_;
  long folders_ = 0, links_ = 0;
};

int GroupMaker::run() {
  const std::string groups = script::sectionName(Section::Groups);
  long nbGrp = readInt(script_.value(groups, script::countKey(Section::Groups), "0"));
  if (nbGrp <= 0) return 1;
  const std::string creating = copyText(strings_, sid::CreatingFolders);
  progress_.setStatus(creating);
  long nbAdd = readInt(script_.value(script::sectionName(Section::Shortcuts),
                                  script::countKey(Section::Shortcuts), "0"));
  if (nbAdd <= 0) return 1;
  std::vector<Shortcut> shortcuts = readShortcuts(nbAdd);

  // A count larger than the script explains (a damaged count) does not make groups that no
  // entry lists and no shortcut uses.
  std::vector<long> listed = numberedKeys(script_.profile(), script_.path(), groups,
                                          0, nbGrp - 1);
  long last = listed.empty() ? -1 : listed.back();
  for (const Shortcut& s : shortcuts) last = std::max(last, s.group);
  const long groupCount = std::min(nbGrp, last + 1);

  for (long g = 0; g < groupCount; ++g) {
    std::string name = script_.value(groups, std::to_string(g), "Group " + std::to_string(g));
    std::string folder = groupFolder(name);
    // The group being made is shown on the destination line.
    progress_.setCopyTexts("", creating, folder.empty() ? name : folder);
    progress_.pump(21);
    for (const Shortcut& s : shortcuts) {
      if (s.group == g && !folder.empty()) makeShortcut(s.entry, folder);
    }
    if (progress_.cancelled()) return 0;
  }
  if (folders_ != 0) {
    script_.write(foldersSection_, script::countKey(Section::AddedFolders),
                        std::to_string(folders_));
  }
  if (links_ != 0) {
    script_.write(linksSection_, script::countKey(Section::AddedLinks),
                        std::to_string(links_));
  }
  return 1;
}

// The shortcuts this installation makes, in entry order: those of a selected component and
// of this platform. Keys absent from the section read as "NONE", which belongs to no group.
std::vector<Shortcut> GroupMaker::readShortcuts(long nbAdd) {
  const std::string section = script::sectionName(Section::Shortcuts);
  std::vector<Shortcut> result;
  for (long key : numberedKeys(script_.profile(), script_.path(), section, 0,
                               nbAdd - 1)) {
    auto entry = script::readEntry<script::ShortcutEntry>(
        script_.value(section, std::to_string(key), "NONE"));
    if (!isDirectorySelected(state_, entry.dir.number("-1"))) continue;
    long platform = entry.platform.number("0");
    if (platform != 0 && platform != state_.platform) continue;
    long group = entry.group.number("-1");
    result.push_back({std::move(entry), group});
  }
  return result;
}


// The folder that receives a group's shortcuts: a link folder for a macro name, else a folder
// made under Programs and recorded. Empty for a name that would lead out of Programs.
std::string GroupMaker::groupFolder(const std::string& name) {
  const SetupState& state = state_;
  const std::string* linkFolders[kMacroCount] = {&state.programsFolder, &state.startupFolder,
                                                 &state.startMenuFolder, &state.desktopFolder};
  for (int m = 0; m < kMacroCount; ++m) {
    std::string macro = script::listItem(copyText(strings_, sid::FolderMacros), m + 1, "");
    if (!macro.empty() && text::equalsNoCase(name, macro) && !linkFolders[m]->empty()) {
      return *linkFolders[m];
    }
  }
  if (!isSafeFileName(name)) return {};
  std::string folder = state.programsFolder + "\\" + name;
  // A folder that is there already is reused (another package's group of that name).
  std::optional<platform::FileStatus> before = files_.status(folder);
  bool made = files_.createDirectory(folder);
  if (log_) {
    log_->action("group", {{"name", name},
                           {"folder", folder},
                           {"created", made ? "yes" : before && before->isDirectory() ? "existing" : "no"}});
  }
  script_.write(foldersSection_, std::to_string(folders_++), folder);
  return folder;
}

void GroupMaker::makeShortcut(const script::ShortcutEntry& entry, const std::string& groupFolder) {
  std::string title = entry.name.text("Untitled");
  if (!isSafeFileName(title)) return;
  std::string arguments = entry.arguments.text("");
  if (!arguments.empty()) arguments = expandPlaceholders(script_, state_, arguments);
  const long dir = entry.dir.number("1000");
  std::string folder = directoryPath(script_, state_, dir);
  std::string target = folder + "\\" + entry.target.text("dummy.exe");
  std::string linkPath = groupFolder + "\\" + title + ".lnk";
  const std::string working = directoryPath(script_, state_, dir);
  // The path is recorded whatever happened, so that the uninstaller tries it; a failure is
  // reported at the end of the installation.
  bool written = CreateShellLink(shell_, target, arguments, working, linkPath, title) == 0;
  if (!written) changeFailed_ = true;
  if (log_) {
    // The link as the shell receives it: the engine gives no icon of its own, so the shell
    // shows the target's first icon.
    platform::ShellLink link = shellLink(target, arguments, working, title);
    log_->action("shortcut", {{"link", linkPath},
                              {"target", link.target},
                              {"arguments", link.arguments},
                              {"working-folder", link.workingDirectory},
                              {"icon", link.iconLocation.empty()
                                           ? std::string()
                                           : link.iconLocation + "," + std::to_string(link.iconIndex)},
                              {"description", link.description},
                              {"written", written ? "yes" : "no"}});
  }
  script_.write(linksSection_, std::to_string(links_++), linkPath);
  progress_.pump(21);
}

}  // namespace

platform::ShellLink shellLink(const std::string& target, const std::string& arguments,
                              const std::string& workingDirectory, const std::string& description) {
  platform::ShellLink link;
  link.target = target;
  link.description = description;
  link.arguments = arguments;
  link.workingDirectory = workingDirectory;
  return link;
}

int CreateShellLink(platform::Shell& shell, const std::string& target,
                    const std::string& arguments, const std::string& workingDirectory,
                    const std::string& linkPath, const std::string& description) {
  return shell.createShortcut(linkPath, shellLink(target, arguments, workingDirectory, description))
             ? 0
             : -1;
}

int createProgramGroups(script::ScriptReader& script, const SetupState& state,
                        platform::FileSystem& files, platform::Shell& shell,
                        const script::StringTable& strings, CopyProgress& progress,
                        bool& changeFailed, ui::ActionLog* log) {
  GroupMaker maker(script, state, files, shell, strings, progress, changeFailed, log);
  return maker.run();
}

}  // namespace vandrel::setup
