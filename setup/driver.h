// The installation from start to end: clean-up registration, script, install window,
// requirements, wizard, folders, copy, closing dialog and the end actions.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "setup/install_phase.h"
#include "setup/install_window.h"
#include "setup/rollback/change_journal.h"
#include "setup/setup_app.h"

namespace vandrel::setup {

// The registry value that removes the setup's temporary files at the next start.
inline constexpr const char* kRunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
inline constexpr const char* kCleanUpValue = "Vandrel file Clean-up";

// The steps the driver calls that live elsewhere, so that each can be replaced in tests.
// The library's own steps unless a test replaces one.
struct DriverSteps {
  // The destination page's required space.
  std::function<long long(SetupApp&)> copyTotal = [](SetupApp& app) {
    return computeCopyTotal(app);
  };
  // Copy, shortcuts, INI and registry: the install phase.
  std::function<int(SetupApp&)> installFiles = [](SetupApp& app) {
    return setup::installFiles(app);
  };
  // The drive without room for the copies, asked once the wizard has ended.
  std::function<std::optional<platform::DiskShortage>(SetupApp&)> diskShortage =
      [](SetupApp& app) { return findDiskShortage(app); };
  InstallWindow* window = nullptr;                 // none: no install window is shown
  // The run holds the machine's installation lock: what a killed installation left in the
  // engine folder may be cleared, since no other installation is using it.
  bool holdsInstallationLock = false;
  // The journal of the machine the run changes: an installation that does not succeed is
  // taken back through it. None: nothing is taken back.
  rollback::ChangeJournal* journal = nullptr;
  // Asked once the script is found, before anything changes: false ends the run there (the
  // answers file names components the package does not have). None: the run goes on.
  std::function<bool(SetupApp&)> answersAccepted{};
};

struct DriverOutcome {
  std::optional<int> closingStatus;  // the status the closing dialog showed, if it was shown
  bool answersRefused = false;       // ended by answersAccepted before any change
};

// Runs the whole installation. commandLine is the engine's whole command line.
DriverOutcome runInstallation(SetupApp& app, const std::string& commandLine,
                              const DriverSteps& steps = {});

// The program's exit status: 0 after a successful closing dialog, 10 + status after any
// other, 2 when the answers file was refused, 1 when the run ended before a closing dialog
// otherwise.
int exitStatusFor(const DriverOutcome& outcome);

// The source folder named by a command line: blanks and one pair of surrounding quotes
// removed, a backslash ensured at the end; the engine folder when nothing is left.
std::string sourceFolderFrom(const std::string& commandLine, const std::string& engineFolder);

// The notice text for the licence type ([Settings] Type and OwnMsg).
std::string noticeText(const script::ScriptReader& script, const script::StringTable& strings);

// Step 14: the programs, startup, start-menu and desktop folders for the shortcut scope.
void fillShellFolders(platform::Shell& shell, SetupState& state);

}  // namespace vandrel::setup
