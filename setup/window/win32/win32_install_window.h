// The install window on Windows: a maximised popup without a frame (with a caption bar when
// the script asks for one) whose background the painter draws through the GDI canvas. The
// wizard and the progress windows stand over it.
#pragma once

#include <memory>

#include "platform/machine.h"
#include "setup/install_window.h"

namespace vandrel::setup::window {

// The window for the driver; it lives as long as the returned object.
std::unique_ptr<InstallWindow> makeWin32InstallWindow(platform::Machine& machine);

}  // namespace vandrel::setup::window
