// The removal steps' reads of the installed script, their progress and their questions.
#include "uninstall/removal.h"

#include <cmath>

#include "platform/text/text_rules.h"
#include "script/directories.h"
#include "uninstall/strings/string_ids.h"

namespace vandrel::uninstall {

bool askYesNo(ui::Interaction& ui, const script::StringTable& strings, const std::string& text) {
  ui::Message message;
  message.caption = strings.get(ids::Title);
  message.text = text;
  message.buttons = ui::Buttons::YesNo;
  message.icon = ui::Icon::Question;
  return ui.message(message) == ui::Answer::Yes;
}

void stopMessage(ui::Interaction& ui, const script::StringTable& strings, const std::string& text) {
  ui::Message message;
  message.caption = strings.get(ids::Title);
  message.text = text;
  message.icon = ui::Icon::Stop;
  ui.message(message);
}

std::vector<long long> Removal::presentEntries(Section section, long long count) const {
  if (count <= 0) return {};
  // The key list cannot be longer than the script itself, so a buffer of the file's size
  // holds all of it.
  std::optional<platform::FileStatus> status = files.status(folders.scriptPath);
  if (!status || status->isDirectory()) return {};
  std::size_t size = static_cast<std::size_t>(status->size) + 2;
  std::string keys =
      profile.getString(folders.scriptPath, script::sectionName(section), std::nullopt, "", size);
  return text::entryNumbers(keys, 0, count - 1);
}

std::string Removal::resolveDirectory(long long key) const {
  script::DirectoryContext context;
  context.installFolder = folders.installFolder;
  context.windowsFolder = folders.windowsFolder;
  return script::resolveDirectoryUninstall(text(Section::Directories, key), context);
}

void Removal::advanceProgress(long long items) {
  tally.done += items;
  if (!progress_ || tally.total <= 0) return;
  double share = static_cast<double>(tally.done) / static_cast<double>(tally.total) * 100.0;
  share = std::trunc(share);
  if (share > 1000.0) share = 1000.0;  // only to stay within int; the window shows 0 to 100
  if (share < -1000.0) share = -1000.0;
  progress_->setPercent(static_cast<int>(share));
}

bool Removal::askDeleteShared(const std::string& text) {
  ui::Message message;
  message.caption = strings.get(ids::Title);
  message.text = text;
  message.buttons = ui::Buttons::YesYesToAllNo;
  message.icon = ui::Icon::Question;
  ui::Answer answer = ui_.message(message);
  if (answer == ui::Answer::YesToAll) tally.yesToAll = true;
  return answer == ui::Answer::Yes || answer == ui::Answer::YesToAll;
}

}  // namespace vandrel::uninstall

namespace vandrel::uninstall {

ui::ActionLog& Removal::log() {
  static ui::ActionLog none;
  return log_ ? *log_ : none;
}

platform::HKey Removal::sharedCountsKey(bool afresh) {
  if (afresh) sharedCounts_.close();
  if (sharedCounts_.key == 0) {
    sharedCounts_.registry = &registry;
    platform::HKey key = 0;
    if (registry.openKey(platform::hkey::LocalMachine, strings.get(ids::SharedDllsKey), key) ==
        platform::error::Success) {
      sharedCounts_.key = key;
    }
  }
  return sharedCounts_.key;
}

bool Removal::keptFolder(const std::string& folder) const {
  int count = script.count(script::kKeptFoldersSection, "nb");
  for (int i = 0; i < count; ++i) {
    if (text::equalsNoCase(script.text(script::kKeptFoldersSection, std::to_string(i)), folder)) return true;
  }
  return false;
}

bool Removal::removeFolder(const std::string& folder, const std::string& kind) {
  if (files.removeDirectory(folder)) {
    log().removal(kind, folder, true);
    return true;
  }
  std::optional<platform::FileStatus> status = files.status(folder);
  if (!status || !status->isDirectory()) return false;
  bool empty = true;
  for (const platform::FindData& found : files.find(folder + "\\*.*")) {
    if (found.name != "." && found.name != "..") empty = false;
  }
  log().removal(kind, folder, false, empty ? "could not be removed" : "folder not empty");
  return false;
}

}  // namespace vandrel::uninstall
