// The gui module's entry point for the setup's install window: the Qt window behind the wizard.
#include "setup/window/gui_install_window.h"
#include "ui/gui_module.h"

extern "C" vandrel::setup::InstallWindow* vandrel_gui_make_install_window(vandrel::platform::Machine* machine) {
  return vandrel::setup::window::makeGuiInstallWindow(*machine).release();
}
