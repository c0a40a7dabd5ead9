// The folder picker: the system's file-open dialog turned into a folder chooser. Its caption
// is the prompt's, the prompt stands in the file-name label, the name, type and help controls
// are hidden and OK reads "&OK". OK gives the folder that is open, a backslash and the dummy
// name.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "ui/interaction.h"

namespace vandrel::ui::win32 {

class Win32Interaction;

// Shows the picker over owner; the chosen path, or none when it was cancelled. The backend is
// told when it is up and drives it with its answers.
std::optional<std::string> runFolderPicker(Win32Interaction& backend, const FolderPrompt& prompt, HWND owner);

// Puts a path into a file dialog's name box (the picker's answer, or a test's).
void setFileName(HWND dialog, const std::string& path);

}  // namespace vandrel::ui::win32
