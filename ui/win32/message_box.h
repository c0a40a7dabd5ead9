// The questions and notices: the system's message box, watched by a hook so it can be saved
// and driven like our own windows, and the uninstaller's shared-file question with its three
// buttons, made from its template.
#pragma once

#include <windows.h>

#include "ui/interaction.h"

namespace vandrel::ui::win32 {

class Win32Interaction;

// Shows the message over owner until it is answered; the backend is told when it is up and
// drives it with its answers. Closed without a button, the answer is Cancel where there is
// one, else the default; the three-button question answers No.
Answer runMessageBox(Win32Interaction& backend, const Message& message, HWND owner);

}  // namespace vandrel::ui::win32
