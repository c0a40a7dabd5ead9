// The install window of a build with Qt: the Qt window, once the Qt backend is up.
#include "setup/window/gui_install_window.h"

#include "setup/window/qt/qt_install_window.h"
#include "ui/window_backend.h"

namespace vandrel::setup::window {

std::unique_ptr<InstallWindow> makeGuiInstallWindow(platform::Machine& machine) {
  if (!ui::windowBackendActive()) return nullptr;
  return makeQtInstallWindow(machine);
}

}  // namespace vandrel::setup::window
