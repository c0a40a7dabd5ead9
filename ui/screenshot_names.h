// Where a window's screenshot goes: FOLDER/NNN-<program>-<window>.<extension>, NNN one above
// the highest number a file of the folder already starts with, so programs run one after
// another (the setup, then the uninstaller) continue one sequence.
#pragma once

#include <string>

namespace vandrel::ui {

// The next file's path; empty when the folder cannot be made (said on standard error).
std::string nextScreenshotPath(const std::string& folder, const std::string& program,
                               const std::string& window, const std::string& extension);

}  // namespace vandrel::ui
