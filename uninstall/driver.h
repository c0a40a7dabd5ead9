// The uninstaller from start to end: the clean-up mode, and the removal with its
// confirmation, progress window, six steps and result.
#pragma once

#include <string>

#include "uninstall/uninstall_app.h"

namespace vandrel::uninstall {

// How a run ended.
enum class Ending {
  CleanedUp,      // clean-up mode
  NoCommandLine,  // string 207
  NoScript,       // string 203
  Declined,       // No to the confirmation
  Completed,      // string 215
  Leftovers,      // string 224
  Stopped,        // string 206
};

// The command line of the clean-up mode, compared with the whole line without regard to case.
inline constexpr const char* kCleanUpSwitch = "/DeleteTemp";
// The setup's temporary files in the Windows folder, deleted in clean-up mode.
inline constexpr const char* kEngineCopy = "hobvane.exe";
inline constexpr const char* kScriptCopy = "script.vrx";

// Runs the uninstaller on its whole command line.
// The removal's steps count into tally when one is given (so that a caller can see it).
Ending runUninstaller(UninstallApp& app, const std::string& commandLine,
                      RemovalTally* tally = nullptr);

// The six steps in order; each step's box is ticked when it succeeds, and the first failure
// ends the chain. True when every step ran.
// progress, when given, has its boxes ticked.
bool runRemovalSteps(Removal& removal, ProgressWindow* progress);

// The program's exit status: 0 completed or cleaned up, 3 leftovers, 4 stopped, 5 declined,
// 1 after a stop message.
int exitStatusFor(Ending ending);

// What an exit status of the uninstaller means, for the action log's summary.
std::string exitMeaning(Ending ending);

// What an ending that is not a success concerned, naming the installation folder or its
// script, for the failure line of an unattended run; empty for a success.
std::string failureCause(const UninstallApp& app, Ending ending);

}  // namespace vandrel::uninstall
