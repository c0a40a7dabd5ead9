// The uninstaller's application object.
#include "uninstall/uninstall_app.h"

#include "uninstall/strings/string_ids.h"

namespace vandrel::uninstall {

UninstallApp::UninstallApp(platform::Machine& machine, ui::Interaction& ui,
                           const script::StringTable& strings, ui::ActionLog* log)
    : machine_(machine), ui_(ui, machine.files(), &machine.profile()), strings_(strings), script_(machine.profile(), ""), log_(log) {}

void UninstallApp::readFolders() {
  state_.windowsFolder = machine_.system().windowsDirectory();
  if (state_.windowsFolder.empty() || state_.windowsFolder.back() != '\\') {
    state_.windowsFolder += '\\';
  }
}

void UninstallApp::setInstallFolder(const std::string& commandLine) {
  state_.installFolder = commandLine;
  // A folder in double quotes, as Windows' start passes a path with blanks: the quotes are
  // not part of it.
  if (state_.installFolder.size() >= 2 && state_.installFolder.front() == '"' &&
      state_.installFolder.back() == '"') {
    state_.installFolder = state_.installFolder.substr(1, state_.installFolder.size() - 2);
  }
  if (!state_.installFolder.empty() && state_.installFolder.back() == '\\') {
    state_.installFolder.pop_back();
  }
  state_.scriptPath = state_.installFolder + "\\" + strings_.get(ids::ScriptName);
  script_.setPath(state_.scriptPath);
}

void UninstallApp::openProgress(const std::string& captionLine) {
  progress_ = std::make_unique<ProgressWindow>(ui_, strings_, captionLine);
  progress_->show();
}

}  // namespace vandrel::uninstall
