// Windows path rules: resolving a path against the current folder, device names, and
// FindFirstFileA wildcards.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vandrel::text {

// A full path on a drive: the drive letter (upper case) and the names below its root.
struct WinPath {
  char drive = 'C';
  std::vector<std::string> parts;
  // "C:\" for the root, else "C:\A\B".
  std::string text() const;
};

// The names Windows reserves for devices: CON, PRN, AUX, NUL, COM1..COM9 and LPT1..LPT9, in
// any case, also with an extension ("nul.txt") or trailing blanks before it.
bool isDeviceName(std::string_view name);

// A name that a file or folder can carry: not empty, not "." or "..", without control
// characters and without any of \ / < > : " | ? *.
bool isValidName(std::string_view name);

// Resolves a path ("\" or "/" separators; "C:\a", "C:a", "\a", "a") against the current folder.
// "." and ".." are resolved and never climb above the drive root. Empty for what no drive can
// hold: UNC and "\\?\" paths, device names, characters Windows refuses in names.
std::optional<WinPath> resolveWindowsPath(std::string_view path, const WinPath& current);

// FindFirstFileA matching of one name against a pattern with "*" and "?", without regard to
// case: "*.*" matches every name, "*." the names without an extension, "?" also matches
// nothing at a dot or at the end of the name.
bool matchesWildcard(std::string_view pattern, std::string_view name);

// A FindFirstFileA pattern cut into the folder to list ("." for the current one) and the
// name pattern after its last separator.
struct FindPattern {
  std::string folder;
  std::string name;
};
FindPattern splitFindPattern(std::string_view pattern);

}  // namespace vandrel::text
