// The install window of a build with Qt, seen from the programs: made by the gui module once
// the gui interaction has loaded it.
#include "setup/window/gui_install_window.h"

#include "ui/gui_module.h"
#include "ui/gui_module_loader.h"
#include "ui/window_backend.h"

namespace vandrel::setup::window {

std::unique_ptr<InstallWindow> makeGuiInstallWindow(platform::Machine& machine) {
  if (!ui::windowBackendActive()) return nullptr;
  auto make = reinterpret_cast<VandrelGuiMakeInstallWindowFn>(ui::guiModuleEntry(ui::kGuiMakeInstallWindowEntry));
  return std::unique_ptr<InstallWindow>(make ? make(&machine) : nullptr);
}

}  // namespace vandrel::setup::window
