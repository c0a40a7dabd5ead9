// A text cut at its line breaks, and the copy progress's lines cut into label and text.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vandrel::ui {

// A copy line ("Copying C:\\a.exe") cut at its first blank: the label and the rest; a line
// without a blank is all rest.
std::pair<std::string, std::string> splitFirstWord(const std::string& line);

// A model's text cut at its line breaks (a carriage return before one is dropped).
std::vector<std::string> splitLines(const std::string& text);

}  // namespace vandrel::ui
