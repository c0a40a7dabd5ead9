// The list choice: the question's text over a list of items, OK and Cancel.
#pragma once

#include <windows.h>

#include <optional>

#include "ui/interaction.h"

namespace vandrel::ui::win32 {

class Win32Interaction;

// Shows the list over owner until OK (or a double click) takes the selected row or Cancel
// gives none; the backend is told when it is up and drives it with its answers.
std::optional<int> runChoiceDialog(Win32Interaction& backend, const Choice& choice, HWND owner);

}  // namespace vandrel::ui::win32
