// A build without a window system: the setup has no install window.
#include "setup/window/gui_install_window.h"

namespace vandrel::setup::window {

std::unique_ptr<InstallWindow> makeGuiInstallWindow(platform::Machine&) { return nullptr; }

}  // namespace vandrel::setup::window
