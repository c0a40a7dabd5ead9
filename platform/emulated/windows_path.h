// Windows path rules of the emulated machine: resolving a path against the current folder,
// device names, name matching without regard to case, and FindFirstFileA wildcards.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vandrel::platform::emulated {

// A full path on a drive: the drive letter (upper case) and the names below its root.
struct WinPath {
  char drive = 'C';
  std::vector<std::string> parts;
  // "C:\" for the root, else "C:\A\B".
  std::string text() const;
};

bool equalsNoCase(std::string_view a, std::string_view b);
std::string toUpperAscii(std::string_view text);

// CON, PRN, AUX, NUL, COM1..COM9, LPT1..LPT9, also with an extension ("nul.txt").
bool isDeviceName(std::string_view name);

// Resolves a path ("\" or "/" separators; "C:\a", "C:a", "\a", "a") against the current folder.
// "." and ".." are resolved and never climb above the drive root. Empty for what no drive can
// hold: UNC and "\\?\" paths, device names, characters Windows refuses in names.
std::optional<WinPath> resolveWindowsPath(std::string_view path, const WinPath& current);

// FindFirstFileA matching of one name against a pattern with "*" and "?", without regard to
// case: "*.*" matches every name, "*." the names without an extension, "?" also matches
// nothing at a dot or at the end of the name.
bool matchesWildcard(std::string_view pattern, std::string_view name);

}  // namespace vandrel::platform::emulated
