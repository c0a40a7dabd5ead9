// The setup's closing dialog: its icon, the upper text beside it, the lower text below, OK.
#pragma once

#include <windows.h>

#include "ui/interaction.h"

namespace vandrel::ui::win32 {

class Win32Interaction;

// Shows the closing message over owner until OK; the backend is told when it is up and, with
// answers, presses OK.
void runClosingDialog(Win32Interaction& backend, const Closing& closing, HWND owner);

}  // namespace vandrel::ui::win32
