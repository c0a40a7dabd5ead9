// Reading a whole text file (the licence, the disk messages) as the setup shows it.
#pragma once

#include <optional>
#include <string>

#include "platform/file_system.h"

namespace vandrel::setup {

// The file's text, read in blocks of 9999 bytes; a zero byte ends the text of its block.
// Nothing when the file cannot be opened.
std::optional<std::string> readTextFile(platform::FileSystem& files, const std::string& path);

}  // namespace vandrel::setup
