// Shortcut (.lnk) files in the Shell Link binary format: writing them, and reading them back.
#pragma once

#include <optional>
#include <string>

#include "platform/shell.h"
#include "platform/types.h"

namespace vandrel::platform {

// The bytes of a .lnk file for link: header, link information with the target as local
// path on a fixed drive, then the description, the relative path, the working folder, the
// arguments and the icon location where given. Strings are 8-bit when they are all ASCII,
// UTF-16 otherwise. With linkPath (the Windows path the file will have), the target's path
// relative to the link's folder is stored too, as Windows does, when both are on one drive.
Bytes encodeShellLink(const ShellLink& link, const std::string& linkPath = {});

// The shortcut in a .lnk file: the target (local path, else the relative path), arguments,
// working folder, description, icon and show command. nullopt when the bytes are not a
// shell link or any part is damaged.
std::optional<ShellLink> decodeShellLink(const Bytes& bytes);

// The target's path relative to the folder of linkPath (".\a.exe", "..\App\a.exe"); empty
// when they are on different drives or either is not a full drive path.
std::string relativeLinkPath(const std::string& linkPath, const std::string& target);

}  // namespace vandrel::platform
