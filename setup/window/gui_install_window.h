// The install window in the window system the programs are built for: the Win32 popup on
// Windows, the Qt window where the build has Qt, none elsewhere. CMake chooses the file that
// implements it.
#pragma once

#include <memory>

#include "platform/machine.h"
#include "setup/install_window.h"

namespace vandrel::setup::window {

// The window for the driver while the gui backend (ui/window_backend.h) is active; null
// when it is not (console and scripted runs) or when the build has no window system. The
// window lives as long as the returned object.
std::unique_ptr<InstallWindow> makeGuiInstallWindow(platform::Machine& machine);

}  // namespace vandrel::setup::window
