// The builder's preferences read from stored text values.
#include "builder/prefs/preference_rules.h"

#include <charconv>

namespace vandrel::builder::prefs {

namespace {

// A key's value, or def when it is absent or not a number (blanks around it are allowed).
int readInt(const PreferenceLookup& lookup, const char* group, const char* key, int def) {
  std::optional<std::string> value = lookup(group, key);
  if (!value) return def;
  std::size_t first = value->find_first_not_of(" \t\r\n");
  std::size_t last = value->find_last_not_of(" \t\r\n");
  if (first == std::string::npos) return def;
  const char* begin = value->data() + first;
  const char* end = value->data() + last + 1;
  if (*begin == '+') ++begin;
  int n = 0;
  auto [stop, error] = std::from_chars(begin, end, n);
  return error == std::errc() && stop == end ? n : def;
}

bool readBool(const PreferenceLookup& lookup, const char* group, const char* key, bool def) {
  return readInt(lookup, group, key, def ? 1 : 0) != 0;
}

}  // namespace

BuilderPreferences readPreferences(const PreferenceLookup& lookup) {
  BuilderPreferences p;
  p.defEdit = "Notepad.exe %1";
  const char* g = kSettingsGroup;
  p.loadOnOpen = readBool(lookup, g, "LoadOnOpen", true);
  if (!p.loadOnOpen) return p;
  p.saveOnExit = readBool(lookup, g, "SaveOnExit", true);
  p.confirmErase = readBool(lookup, g, "ConfirmErase", true);
  p.showProgress = readBool(lookup, g, "ShowProgress", true);
  p.iconSize = readInt(lookup, g, "IconSize", 16) == 32 ? 32 : 16;
  p.ensureVisible = readBool(lookup, g, "EnsureVisible", true);
  if (std::optional<std::string> edit = lookup(g, "DefEdit")) p.defEdit = *edit;
  p.autoCheck = readBool(lookup, g, "AutoCheck", false);
  g = kFileDropGroup;
  p.dispProps = readBool(lookup, g, "DispProps", true);
  int mode = readInt(lookup, g, "DirMode", 0);
  p.dirMode = mode >= 0 && mode <= 2 ? mode : 0;
  p.dropDirAdd = readBool(lookup, g, "DropDirAdd", true);
  p.dropDirInc = readBool(lookup, g, "DropDirInc", true);
  p.dropDirSub = readBool(lookup, g, "DropDirSub", false);
  p.dispSummary = readBool(lookup, g, "DispSummary", false);
  return p;
}

}  // namespace vandrel::builder::prefs
