// The folder picker: the system's own folder dialog (the shell's browse-for-folder box in its
// new style, with a folder line and Make New Folder), captioned with the prompt's caption, the
// prompt above the folders, opened on the proposed folder. OK gives the folder chosen, a
// backslash and the dummy name; a choice the picker's model refuses (a read-only drive for a
// destination, an invalid path) is explained in a message box and the dialog shown again.
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
