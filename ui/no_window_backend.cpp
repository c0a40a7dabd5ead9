// A build without a window system: no gui backend is registered, so the factory falls back
// to the console and says so when the gui is asked for.
#include "ui/window_backend.h"

namespace vandrel::ui {

void registerWindowBackend(int&, char**, platform::FileSystem&) {}

bool windowBackendActive() { return false; }

}  // namespace vandrel::ui
