// The programs' gui backend, in the window system they are built for: the Win32 windows on
// Windows, the Qt widgets where the build has them, none elsewhere (then the console and the
// scripted interaction serve alone). CMake chooses the file that implements it.
#pragma once

namespace vandrel::platform {
class FileSystem;
}

namespace vandrel::ui {

// Registers the gui backend with the port's factory. argc and argv are main's own (they must
// outlive the program's windows), and so must files: the machine's file system, whose
// folders the folder picker browses.
void registerWindowBackend(int& argc, char** argv, platform::FileSystem& files);

// True once the gui backend was made in this process: windows can be shown.
bool windowBackendActive();

}  // namespace vandrel::ui
