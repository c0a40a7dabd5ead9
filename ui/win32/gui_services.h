// The Windows gui's process-wide services: the backend's registration, whether windows can be
// shown and the backend made last, for windows that live outside the port (the install
// window). The screenshots of the process are in window_shots.h.
#pragma once

namespace vandrel::platform {
class FileSystem;
}

namespace vandrel::ui::win32 {

class Win32Interaction;

// Registers the Windows backend with the port's factory: the desktop is always there, so gui
// is the programs' default interface. files (which must outlive the windows) is the machine
// the folder picker checks its choices against; none takes them as given.
void registerWin32Backend(platform::FileSystem* files = nullptr);

// True once the Windows backend was made in this process: windows can be shown.
bool guiActive();
// The backend made last in this process (the install window stands under its windows).
Win32Interaction* activeBackend();

}  // namespace vandrel::ui::win32
