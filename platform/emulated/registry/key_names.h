// How registry names compare: without regard to case, as Windows upper-cases them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace vandrel::platform::emulated {

// The form two names are compared in: ASCII letters upper-cased, other bytes as they are.
inline std::string foldName(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) {
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  }
  return folded;
}

inline bool lessIgnoringCase(std::string_view a, std::string_view b) {
  return foldName(a) < foldName(b);
}

// The key names of a path such as "Software\Microsoft\"; empty names (a doubled, leading or
// trailing backslash) are skipped, as RegCreateKeyExA tolerates a trailing one.
inline std::vector<std::string> splitKeyPath(std::string_view path) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) names.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

struct RootName {
  HKey key;
  const char* name;       // as regedit writes it
  const char* shortName;  // as the reg tool also accepts it
};

// The four roots, in the order a whole-registry export lists them.
inline constexpr RootName kRootNames[] = {
    {hkey::ClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},
    {hkey::CurrentUser, "HKEY_CURRENT_USER", "HKCU"},
    {hkey::LocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"},
    {hkey::Users, "HKEY_USERS", "HKU"},
};

// A root named in full or short, in any case; nothing for another name.
inline std::optional<RootName> findRoot(std::string_view name) {
  std::string folded = foldName(name);
  for (const RootName& root : kRootNames) {
    if (folded == root.name || folded == root.shortName) return root;
  }
  return std::nullopt;
}

}  // namespace vandrel::platform::emulated
