// The gui backend of a build with Qt: the Qt widgets, made where a window system is reached.
#include "ui/window_backend.h"

#include "ui/qt/gui_services.h"

namespace vandrel::ui {

void registerWindowBackend(int& argc, char** argv, platform::FileSystem& files) {
  qt::registerQtBackend(argc, argv, &files);
}

bool windowBackendActive() { return qt::guiActive(); }

}  // namespace vandrel::ui
