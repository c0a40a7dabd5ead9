// What the setup does after a successful installation: Internet shortcuts, the web site
// offer, the author's end commands and the restart question.
#pragma once

#include <string>

#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/system.h"
#include "script/script_reader.h"
#include "setup/common/dialogs.h"
#include "setup/common/setup_state.h"
#include "platform/web/browser_launcher.h"
#include "ui/action_log.h"

namespace vandrel::setup {

// An end command as it is started: split after its first blank, and the argument part
// wrapped in double quotes when it holds a blank itself.
std::string quoteEndCommand(const std::string& command);

// One Internet shortcut per [Web] entry "0", "1", ... up to the first empty one.
void addWebFavorites(const script::ScriptReader& script, platform::BrowserLauncher& browser);
// The StartURL questions, asked only when a browser was found. The browser command, which
// the package may have registered, starts confined through process.
void offerStartUrl(const script::ScriptReader& script, const std::string& appName,
                   SetupDialogs& dialogs, platform::BrowserLauncher& browser, platform::Process& process);
// Starts the [End] commands from the install folder, without waiting; each is logged (with
// whether it started) when a log is given.
void runEndCommands(const script::ScriptReader& script, const SetupState& state,
                    platform::FileSystem& files, platform::Process& process,
                    ui::ActionLog* log = nullptr);
// The [End] Reboot question; Yes asks Windows to restart.
void askReboot(const script::ScriptReader& script, SetupDialogs& dialogs,
               platform::System& system);

}  // namespace vandrel::setup
