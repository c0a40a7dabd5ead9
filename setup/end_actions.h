// What the setup does after a successful installation: Internet shortcuts, the web site
// offer, the author's end commands and the restart question.
#pragma once

#include <string>

#include "setup/setup_app.h"
#include "setup/web/browser_launcher.h"

namespace vandrel::setup {

// An end command as it is started: split after its first blank, and the argument part
// wrapped in double quotes when it holds a blank itself.
std::string quoteEndCommand(const std::string& command);

// One Internet shortcut per [Web] entry "0", "1", ... up to the first empty one.
void addWebFavorites(SetupApp& app, BrowserLauncher& browser);
// The StartURL questions, asked only when a browser was found.
void offerStartUrl(SetupApp& app, BrowserLauncher& browser);
// Starts the [End] commands from the install folder, without waiting.
void runEndCommands(SetupApp& app);
// The [End] Reboot question; Yes asks Windows to restart.
void askReboot(SetupApp& app);

}  // namespace vandrel::setup
