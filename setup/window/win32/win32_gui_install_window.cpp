// The install window on Windows: the Win32 popup, once the Windows backend is up.
#include "setup/window/gui_install_window.h"

#include "setup/window/win32/win32_install_window.h"
#include "ui/window_backend.h"

namespace vandrel::setup::window {

std::unique_ptr<InstallWindow> makeGuiInstallWindow(platform::Machine& machine) {
  if (!ui::windowBackendActive()) return nullptr;
  return makeWin32InstallWindow(machine);
}

}  // namespace vandrel::setup::window
