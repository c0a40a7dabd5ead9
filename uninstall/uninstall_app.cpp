// The uninstaller's application object.
#include "uninstall/uninstall_app.h"

#include <cmath>

#include "platform/text/text_rules.h"
#include "script/directories.h"
#include "script/list_item.h"
#include "uninstall/numbered_entries.h"
#include "uninstall/strings/string_ids.h"

namespace vandrel::uninstall {

UninstallApp::UninstallApp(platform::Machine& machine, ui::Interaction& ui,
                           const script::StringTable& strings)
    : machine_(machine), ui_(ui), strings_(strings), script_(machine.profile(), "") {}

void UninstallApp::readFolders() {
  state_.windowsFolder = machine_.system().windowsDirectory();
  if (state_.windowsFolder.empty() || state_.windowsFolder.back() != '\\') {
    state_.windowsFolder += '\\';
  }
  state_.systemFolder = machine_.system().systemDirectory();
}

void UninstallApp::setInstallFolder(const std::string& commandLine) {
  state_.installFolder = commandLine;
  if (!state_.installFolder.empty() && state_.installFolder.back() == '\\') {
    state_.installFolder.pop_back();
  }
  state_.scriptPath = state_.installFolder + "\\" + strings_.get(ids::ScriptName);
  script_.setPath(state_.scriptPath);
}

std::vector<long long> UninstallApp::presentEntries(Section section, long long count) const {
  if (count <= 0) return {};
  // The key list cannot be longer than the script itself, so a buffer of the file's size
  // holds all of it.
  std::optional<platform::FileStatus> status = machine_.files().status(state_.scriptPath);
  if (!status || status->isDirectory()) return {};
  std::size_t size = static_cast<std::size_t>(status->size) + 2;
  std::string keys =
      machine_.profile().getString(state_.scriptPath, script::sectionName(section), std::nullopt, "", size);
  return text::entryNumbers(keys, 0, count - 1);
}

std::string UninstallApp::resolveDirectory(long long key) const {
  script::DirectoryContext context;
  context.installFolder = state_.installFolder;
  context.windowsFolder = state_.windowsFolder;
  return script::resolveDirectoryUninstall(text(Section::Directories, key), context);
}

void UninstallApp::advanceProgress(long long items) {
  state_.done += items;
  if (!progress_ || state_.total <= 0) return;
  double share = static_cast<double>(state_.done) / static_cast<double>(state_.total) * 100.0;
  share = std::trunc(share);
  if (share > 1000.0) share = 1000.0;  // only to stay within int; the window shows 0 to 100
  if (share < -1000.0) share = -1000.0;
  progress_->setPercent(static_cast<int>(share));
}

bool UninstallApp::askYesNo(const std::string& text) {
  ui::Message message;
  message.caption = strings_.get(ids::Title);
  message.text = text;
  message.buttons = ui::Buttons::YesNo;
  message.icon = ui::Icon::Question;
  return ui_.message(message) == ui::Answer::Yes;
}

void UninstallApp::stop(const std::string& text) {
  ui::Message message;
  message.caption = strings_.get(ids::Title);
  message.text = text;
  message.icon = ui::Icon::Stop;
  ui_.message(message);
}

bool UninstallApp::askDeleteShared(const std::string& text) {
  ui::Message message;
  message.caption = strings_.get(ids::Title);
  message.text = text;
  message.buttons = ui::Buttons::YesYesToAllNo;
  message.icon = ui::Icon::Question;
  ui::Answer answer = ui_.message(message);
  if (answer == ui::Answer::YesToAll) state_.yesToAll = true;
  return answer == ui::Answer::Yes || answer == ui::Answer::YesToAll;
}

void UninstallApp::openProgress(const std::string& captionLine) {
  progress_ = std::make_unique<ProgressWindow>(ui_, strings_, captionLine);
  progress_->show();
}

}  // namespace vandrel::uninstall
