// Windows path rules: resolution, device names and wildcards.
#include "platform/text/windows_path.h"

#include <algorithm>
#include <cctype>

#include "platform/text/text_rules.h"

namespace vandrel::text {

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// Windows drops trailing dots and blanks from a name ("file. " is "file").
std::string_view trimName(std::string_view name) {
  std::size_t end = name.size();
  while (end > 0 && (name[end - 1] == '.' || name[end - 1] == ' ')) --end;
  return name.substr(0, end);
}

// Asked for every name of every path: one comparison per character (a search of the list of
// refused characters per character cost more than the rest of the path's resolution).
bool hasBadCharacter(std::string_view name) {
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 32) return true;
    switch (c) {
      case '<':
      case '>':
      case ':':
      case '"':
      case '|':
      case '?':
      case '*':
        return true;
      default:
        break;
    }
  }
  return false;
}

// Applies the names of a relative path to parts; false when a name cannot exist.
bool applyNames(std::string_view path, std::vector<std::string>& parts) {
  // Room for every name at once: a path is resolved for every file operation.
  parts.reserve(parts.size() + 1 + std::size_t(std::count_if(path.begin(), path.end(), isSeparator)));
  std::size_t pos = 0;
  while (pos <= path.size()) {
    std::size_t next = pos;
    while (next < path.size() && !isSeparator(path[next])) ++next;
    std::string_view name = path.substr(pos, next - pos);
    pos = next + 1;
    if (name.empty() || name == ".") continue;
    if (name == "..") {
      if (!parts.empty()) parts.pop_back();  // the root is its own parent
      continue;
    }
    std::string_view trimmed = trimName(name);
    if (trimmed.empty()) continue;  // "..." names the folder itself, as on Windows
    if (hasBadCharacter(trimmed) || isDeviceName(trimmed)) return false;
    parts.emplace_back(trimmed);
  }
  return true;
}

}  // namespace

std::string WinPath::text() const {
  std::string result{drive, ':', '\\'};
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i) result += '\\';
    result += parts[i];
  }
  return result;
}

bool isDeviceName(std::string_view name) {
  // Asked for every name of every path: compared in place, letters folded by hand (device
  // names are plain ASCII), without copying the name.
  std::string_view base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  if (base.size() != 3 && base.size() != 4) return false;
  auto is = [&](std::string_view device) {
    for (std::size_t i = 0; i < device.size(); ++i) {
      char c = base[i];
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      if (c != device[i]) return false;
    }
    return true;
  };
  if (base.size() == 3) return is("CON") || is("PRN") || is("AUX") || is("NUL");
  return (is("COM") || is("LPT")) && base[3] >= '1' && base[3] <= '9';
}

bool isValidName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return !hasBadCharacter(name) && name.find_first_of("\\/") == std::string_view::npos;
}

FindPattern splitFindPattern(std::string_view pattern) {
  std::size_t cut = pattern.find_last_of("\\/");
  if (cut != std::string_view::npos) {
    return {cut == 0 ? "\\" : std::string(pattern.substr(0, cut + 1)), std::string(pattern.substr(cut + 1))};
  }
  if (pattern.size() >= 2 && pattern[1] == ':') {
    return {std::string(pattern.substr(0, 2)), std::string(pattern.substr(2))};
  }
  return {".", std::string(pattern)};
}

std::optional<WinPath> resolveWindowsPath(std::string_view path, const WinPath& current) {
  if (path.empty()) return std::nullopt;
  if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) return std::nullopt;  // UNC
  WinPath result;
  if (path.size() >= 2 && path[1] == ':') {
    if (!std::isalpha(static_cast<unsigned char>(path[0]))) return std::nullopt;
    result.drive = upper(path[0]);
    path.remove_prefix(2);
    bool absolute = !path.empty() && isSeparator(path[0]);
    // "C:name" is relative to the current folder when that is on the same drive.
    if (!absolute && result.drive == current.drive) result.parts = current.parts;
  } else if (isSeparator(path[0])) {
    result.drive = current.drive;
  } else {
    result = current;
  }
  if (!applyNames(path, result.parts)) return std::nullopt;
  return result;
}

bool matchesWildcard(std::string_view pattern, std::string_view name) {
  const std::size_t np = pattern.size(), nn = name.size();
  std::size_t lastDot = name.rfind('.');
  // reach[i][j]: pattern[i..] can match name[j..]. Filled backwards.
  std::vector<std::vector<char>> reach(np + 1, std::vector<char>(nn + 1, 0));
  reach[np][nn] = 1;
  for (std::size_t i = np; i-- > 0;) {
    char p = pattern[i];
    bool restIsWild = pattern.find_first_not_of("*?", i + 1) == std::string_view::npos;
    for (std::size_t j = nn + 1; j-- > 0;) {
      bool atEnd = j == nn;
      bool ok = false;
      if (p == '*') {
        // A star followed by a dot stops before the last dot of the name.
        bool dosStar = i + 1 < np && pattern[i + 1] == '.';
        std::size_t limit = (dosStar && lastDot != std::string_view::npos && lastDot >= j) ? lastDot : nn;
        for (std::size_t k = j; k <= limit && !ok; ++k) ok = reach[i + 1][k];
      } else if (p == '?') {
        if (atEnd || name[j] == '.') ok = reach[i + 1][j];
        else ok = reach[i + 1][j + 1];
      } else if (p == '.') {
        if (!atEnd && name[j] == '.') ok = reach[i + 1][j + 1];
        // A dot before nothing but wildcards also matches the end of a name without one.
        if (!ok && atEnd && restIsWild) ok = reach[i + 1][j];
      } else {
        ok = !atEnd && upper(name[j]) == upper(p) && reach[i + 1][j + 1];
      }
      reach[i][j] = ok;
    }
  }
  return reach[0][0];
}

}  // namespace vandrel::text
