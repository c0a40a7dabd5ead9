// The gui backend on Windows: the Win32 windows. The desktop is always there, and the folder
// picker's choices are checked against the machine's own folders.
#include "ui/window_backend.h"

#include "ui/win32/gui_services.h"

namespace vandrel::ui {

void registerWindowBackend(int&, char**, platform::FileSystem& files) { win32::registerWin32Backend(&files); }

bool windowBackendActive() { return win32::guiActive(); }

}  // namespace vandrel::ui
