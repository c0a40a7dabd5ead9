// The install window as a Qt widget: a maximised window without a frame (with a caption bar
// when the script asks for one), painted by the background painter through the Qt canvas.
#pragma once

#include <memory>

#include "platform/machine.h"
#include "setup/install_window.h"

namespace vandrel::setup::window {

// The window for the driver; it lives as long as the returned object.
std::unique_ptr<InstallWindow> makeQtInstallWindow(platform::Machine& machine);

}  // namespace vandrel::setup::window
