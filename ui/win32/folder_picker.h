// The folder picker: the system's own folder dialog (the file-open dialog choosing folders),
// captioned with the prompt's caption, the prompt above the folders, OK reading "&OK", opened
// in the proposed folder. OK gives the folder chosen, a backslash and the dummy name; a choice
// the picker's model refuses (a read-only drive for a destination, an invalid path) is
// explained in a message box and the dialog stays.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "ui/interaction.h"

namespace vandrel::ui::win32 {

class Win32Interaction;

// Shows the picker over owner; the chosen path, or none when it was cancelled. The backend is
// told when it is up and drives it with its answers, which the model checks as a typed choice.
std::optional<std::string> runFolderPicker(Win32Interaction& backend, const FolderPrompt& prompt,
                                           HWND owner);

}  // namespace vandrel::ui::win32
