// The setup engine's installation driver.
#include "setup/driver.h"

#include "platform/command_switches.h"
#include "platform/disk_room.h"
#include "setup/closing_dialog.h"
#include "setup/common/setup_texts.h"
#include "setup/copy/expansion_record.h"
#include "setup/directory_pass.h"
#include "setup/end_actions.h"
#include "setup/requirements/requirements.h"
#include "setup/rollback/rollback.h"
#include "setup/strings/string_ids.h"
#include "setup/text_file.h"
#include "setup/upgrade/upgrade.h"
#include "setup/wizard/wizard.h"

namespace vandrel::setup {

using script::Section;
namespace {

void registerCleanUp(SetupApp& app) {
  platform::Registry& registry = app.machine().registry();
  platform::HKey key = 0;
  if (registry.createKey(platform::hkey::LocalMachine, kRunOnceKey, key) != platform::error::Success)
    return;
  registry.setString(key, kCleanUpValue, app.state().windowsFolder + "\\Peskin32.EXE /DeleteTemp");
  registry.closeKey(key);
}

// The folder of the rollback's journal and private copies, in the engine's folder.
constexpr const char* kRollbackFolder = "Vandrel Rollback";

// The uninstaller stays when an installation is taken back, as a removal keeps it: the
// clean-up registered at the start runs it at the next start to remove the setup's
// temporary files.
void keepUninstaller(SetupApp& app, rollback::ChangeJournal& journal) {
  journal.keep(app.state().windowsFolder + "\\Peskin32.EXE");
}

bool scriptExists(SetupApp& app) {
  if (app.state().engineFolder.empty()) return false;
  std::optional<platform::FileStatus> status = app.machine().files().status(app.script().path());
  return status && !status->isDirectory();
}

DriverOutcome showClosing(SetupApp& app, int code) {
  app.ui().closing(closingDialog(code, app.state().appName, app.strings()));
  return DriverOutcome{code};
}

// A drive without room for the copies: named before anything is copied (the stop message, on
// standard error too in an unattended run), and the run ends as one terminated before it was
// achieved.
DriverOutcome stopForFullDisk(SetupApp& app, const platform::DiskShortage& full) {
  app.tell(script::formatMessage(copyText(app.strings(), sid::DiskFull),
                                std::string(1, full.drive) + ":", std::to_string(full.needed)),
           ui::Icon::Stop);
  return showClosing(app, status::Fatal);
}

// Steps 9 to 13: the wizard's settings, the optional directories and the wizard itself.
bool runWizard(SetupApp& app, const DriverSteps& steps, const UpgradeStep& upgrade) {
  SetupState& state = app.state();
  WizardSettings settings;
  settings.caption = state.title;
  settings.notice = noticeText(app.script(), app.strings());
  collectDirectories(app.script(), state);
  platform::Clock& clock = app.machine().clock();
  state.installDate = platform::formatLocalTime(clock, clock.now(), "%Y/%m/%d");
  settings.showLicence = app.script().number(Section::Settings, script::key::ShowLicence, "0") != 0;
  if (settings.showLicence) {
    std::optional<std::string> text =
        readTextFile(app.machine().files(), state.sourceFolder + "License.txt");
    settings.licenceText = text ? *text : app.strings().get(sid::LicenceMissing);
  }
  settings.regInfo = app.script().number(Section::Settings, script::key::RegInfo, "1") != 0;
  std::string windowsDrive = state.windowsFolder.empty() ? "C" : state.windowsFolder.substr(0, 1);
  settings.defaultFolder = upgrade.proposedFolder(
      windowsDrive + ":\\" + app.value(Section::Settings, script::key::DefDir, "Install"));
  settings.destinationFacts = upgrade.destinationFacts();
  SetupDialogs dialogs = app.dialogs();
  CopyTotalFunction copyTotal;
  if (steps.copyTotal) copyTotal = [&](const SetupState&) { return steps.copyTotal(app); };
  Wizard wizard(dialogs, state, app.machine().files(), settings, copyTotal);
  return wizard.run();
}

// Step 17: the success path's end.
void finishInstallation(SetupApp& app) {
  const script::StringTable& s = app.strings();
  platform::BrowserLauncher browser(app.machine(), {s.get(sid::FavoritesLocation1),
                                                    s.get(sid::FavoritesLocation2),
                                                    s.get(sid::FavoritesLocation3)});
  browser.FindBrowser(std::nullopt, 1);
  addWebFavorites(app.script(), browser);
  app.ui().closing(closingDialog(status::Completed, app.state().appName, s));
  SetupDialogs dialogs = app.dialogs();
  platform::Machine& machine = app.machine();
  offerStartUrl(app.script(), app.state().appName, dialogs, browser, machine.process());
  runEndCommands(app.script(), app.state(), machine.files(), machine.process(), &app.log());
  askReboot(app.script(), dialogs, machine.system());
}

}  // namespace

std::string sourceFolderFrom(const std::string& commandLine, const std::string& engineFolder) {
  std::size_t begin = commandLine.find_first_not_of(" \t");
  std::size_t end = commandLine.find_last_not_of(" \t");
  std::string folder = begin == std::string::npos ? "" : commandLine.substr(begin, end - begin + 1);
  if (folder.size() >= 2 && folder.front() == '"' && folder.back() == '"') {
    folder = folder.substr(1, folder.size() - 2);
  }
  if (folder.empty()) return engineFolder;
  if (folder.back() != '\\') folder += '\\';
  return folder;
}

std::string noticeText(const script::ScriptReader& script, const script::StringTable& s) {
  switch (script.number(Section::Settings, script::key::Type, "1")) {
    case 0: return s.get(sid::FreewareNotice);
    case 1: return s.get(sid::SharewareNotice);
    case 3: {
      std::string own = script.value(Section::Settings, script::key::OwnMsg, "");
      return own.empty() ? s.get(sid::CopyrightNotice) : own;
    }
    default: return s.get(sid::CopyrightNotice);
  }
}

void fillShellFolders(platform::Shell& shell, SetupState& state) {
  std::string* slots[] = {&state.programsFolder, &state.startupFolder, &state.startMenuFolder,
                          &state.desktopFolder};
  const int common[] = {platform::csidl::CommonPrograms, platform::csidl::CommonStartup,
                        platform::csidl::CommonStartMenu, platform::csidl::CommonDesktopDirectory};
  const int user[] = {platform::csidl::Programs, platform::csidl::Startup,
                      platform::csidl::StartMenu, platform::csidl::DesktopDirectory};
  for (std::string* slot : slots) slot->clear();
  if (state.shortcutScope == 0) {
    for (int k = 0; k < 4; ++k) *slots[k] = shell.specialFolder(common[k]).value_or("");
  }
  if (state.shortcutScope != 0 || state.platform != 2) {
    for (int k = 0; k < 4; ++k) {
      if (slots[k]->empty()) *slots[k] = shell.specialFolder(user[k]).value_or("");
    }
  }
}

DriverOutcome runInstallation(SetupApp& app, const std::string& commandLine,
                              const DriverSteps& steps) {
  SetupState& state = app.state();
  platform::Machine& machine = app.machine();
  const script::StringTable& s = app.strings();

  std::string module = machine.process().moduleFileName();
  state.windowsFolder = machine.system().windowsDirectory();
  state.shortcutScope = 0;
  std::size_t lastBackslash = module.rfind('\\');
  state.engineFolder = lastBackslash == std::string::npos ? "" : module.substr(0, lastBackslash + 1);
  app.script().setPath(state.engineFolder + "Script.vrx");
  // Nothing on the machine changes before the script is found: an engine started in the
  // wrong place registers no clean-up for an uninstaller that is not there.
  if (!scriptExists(app)) {
    app.tell(s.get(sid::ScriptMissing), ui::Icon::Stop);
    return {};
  }
  if (steps.answersAccepted && !steps.answersAccepted(app)) return {std::nullopt, true};
  registerCleanUp(app);
  if (steps.holdsInstallationLock && !state.engineFolder.empty()) {
    removeExpansionLeftovers(machine.files(), state.engineFolder);
  }
  // An installation killed before its end left its journal: it is taken back first.
  if (steps.journal && steps.holdsInstallationLock) {
    keepUninstaller(app, *steps.journal);
    rollback::undoInterruptedInstallation(*steps.journal, state.engineFolder + kRollbackFolder,
                                          app.log());
  }

  state.appName = app.value(Section::Settings, script::key::AppName, "");
  if (state.appName.empty()) state.appName = s.get(sid::Title);
  state.sourceFolder = sourceFolderFrom(commandLine, state.engineFolder);

  InstallWindowSettings window =
      readInstallWindowSettings(app.script(), app.strings(), state.sourceFolder);
  state.title = window.title;
  if (steps.window && !steps.window->create(window)) return {};

  SetupDialogs dialogs = app.dialogs();
  int code = checkRequirements(app.script(), machine.system(), dialogs, state);
  if (code != 0) return showClosing(app, code);

  UpgradeStep upgrade;
  upgrade.find(app);
  if (!runWizard(app, steps, upgrade)) return showClosing(app, status::Cancelled);
  if (steps.diskShortage) {
    if (std::optional<platform::DiskShortage> full = steps.diskShortage(app)) {
      return stopForFullDisk(app, *full);
    }
  }
  fillShellFolders(machine.shell(), state);
  upgrade.prepare(app);
  // From here the installation changes the machine: the journal notes what each change
  // found, so that an installation that does not succeed leaves the machine as it was.
  if (steps.journal) {
    steps.journal->start(state.engineFolder + kRollbackFolder);
    keepUninstaller(app, *steps.journal);
  }
  createDirectories(app.script(), state, machine, &app.log());

  code = steps.installFiles ? steps.installFiles(app) : 0;
  // An upgrade or repair takes the earlier version's records over only when the installation
  // succeeded; one that did not is taken back whole, the earlier version with it.
  if (code == 0) upgrade.complete(app);
  if (steps.journal) {
    if (code != 0) rollback::undoInstallation(*steps.journal, app.log());
    steps.journal->finish();
  }
  if (code != 0) return showClosing(app, code);
  finishInstallation(app);
  return DriverOutcome{status::Completed};
}

int exitStatusFor(const DriverOutcome& outcome) {
  if (outcome.answersRefused) return platform::kUsageStatus;
  if (!outcome.closingStatus) return 1;
  return *outcome.closingStatus == status::Completed ? 0 : 10 + *outcome.closingStatus;
}

}  // namespace vandrel::setup
