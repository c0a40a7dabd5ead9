// The builder's preferences, recent files and window state written to and read from the
// current user's registry key of the builder.
#include "builder/prefs/registry_store.h"

#include <charconv>
#include <optional>

#include "builder/prefs/preference_rules.h"

namespace vandrel::builder::prefs {

namespace {

constexpr const char* kRecentGroup = "Recent File List";
constexpr const char* kBarGroup = "BarState";

std::string groupPath(const char* group) {
  return std::string("Software\\") + kOrganization + "\\" + kApplication + "\\" + group;
}

// One group's key, made when it is missing, closed when the writer goes.
class GroupWriter {
 public:
  GroupWriter(platform::Registry& registry, const char* group) : registry_(registry) {
    ok_ = registry_.createKey(platform::hkey::CurrentUser, groupPath(group), key_) == 0;
  }
  ~GroupWriter() {
    if (ok_) registry_.closeKey(key_);
  }
  GroupWriter(const GroupWriter&) = delete;
  GroupWriter& operator=(const GroupWriter&) = delete;

  void number(const char* name, long long value) {
    ok_ = ok_ && registry_.setDword(key_, name, std::uint32_t(value)) == 0;
  }
  void text(const char* name, const std::string& value) {
    ok_ = ok_ && registry_.setString(key_, name, value) == 0;
  }
  void remove(const char* name) {
    if (ok_) registry_.deleteValue(key_, name);
  }
  bool ok() const { return ok_; }

 private:
  platform::Registry& registry_;
  platform::HKey key_ = 0;
  bool ok_ = false;
};

// A value of a group as text (DWORDs in decimal); nullopt when absent or of another type.
std::optional<std::string> lookup(platform::Registry& registry, const char* group, const char* name) {
  platform::HKey key = 0;
  if (registry.openKey(platform::hkey::CurrentUser, groupPath(group), key) != 0) return std::nullopt;
  std::optional<std::string> result;
  std::uint32_t type = 0;
  platform::Bytes data;
  if (registry.queryValue(key, name, type, data) == 0) {
    std::uint32_t number = 0;
    std::string text;
    if (type == platform::regtype::Dword && registry.queryDword(key, name, number) == 0) {
      // DWORDs keep negative numbers (a window left of the screen) in their two's complement.
      result = std::to_string(std::int32_t(number));
    } else if ((type == platform::regtype::Sz || type == platform::regtype::ExpandSz) &&
               registry.queryString(key, name, text) == 0) {
      result = text;
    }
  }
  registry.closeKey(key);
  return result;
}

long long readNumber(platform::Registry& registry, const char* name, long long def) {
  std::optional<std::string> value = lookup(registry, kWindowGroup, name);
  if (!value) return def;
  std::size_t first = value->find_first_not_of(" \t");
  std::size_t last = value->find_last_not_of(" \t");
  if (first == std::string::npos) return def;
  long long n = 0;
  const char* end = value->data() + last + 1;
  auto [stop, error] = std::from_chars(value->data() + first, end, n);
  return error == std::errc() && stop == end ? n : def;
}

// Each colour is kept as two values, its high and low 16-bit halves; halves out of range
// give the default colour.
std::uint32_t readColour(platform::Registry& registry, const char* high, const char* low, std::uint32_t def) {
  long long h = readNumber(registry, high, def / 65536u);
  long long l = readNumber(registry, low, def % 65536u);
  if (h < 0 || h > 255 || l < 0 || l > 65535) return def;
  return std::uint32_t(h * 65536 + l);
}

void writeColour(GroupWriter& group, const char* high, const char* low, std::uint32_t colour) {
  group.number(high, colour / 65536u);
  group.number(low, colour % 65536u);
}

}  // namespace

WindowState readRegistryWindowState(platform::Registry& registry) {
  WindowState w;
  w.top = int(readNumber(registry, "top", w.top));
  w.left = int(readNumber(registry, "left", w.left));
  w.width = int(readNumber(registry, "width", w.width));
  w.height = int(readNumber(registry, "height", w.height));
  w.status = int(readNumber(registry, "Status", w.status));
  w.kind = int(readNumber(registry, "kind", w.kind));
  w.posX = int(readNumber(registry, "posX", 0));
  w.posY = int(readNumber(registry, "posY", 0));
  w.firstColour = readColour(registry, "topH", "topL", w.firstColour);
  w.secondColour = readColour(registry, "bottomH", "bottomL", w.secondColour);
  w.gradDir = readNumber(registry, "GradDir", 1) != 0 ? 1 : 0;
  if (std::optional<std::string> bitmap = lookup(registry, kWindowGroup, "bitmap")) w.bitmap = *bitmap;
  if (std::optional<std::string> bars = lookup(registry, kBarGroup, "Layout")) w.barState = *bars;
  return w;
}

std::vector<std::string> readRegistryRecentFiles(platform::Registry& registry) {
  std::vector<std::string> files;
  for (int i = 1; i <= 4; ++i) {
    std::string name = "File" + std::to_string(i);
    std::optional<std::string> file = lookup(registry, kRecentGroup, name.c_str());
    if (file && !file->empty()) files.push_back(*file);
  }
  return files;
}

bool writeRegistryPreferences(platform::Registry& registry, const BuilderPreferences& p) {
  GroupWriter s(registry, kSettingsGroup);
  s.number("LoadOnOpen", p.loadOnOpen);
  s.number("SaveOnExit", p.saveOnExit);
  s.number("ConfirmErase", p.confirmErase);
  s.number("ShowProgress", p.showProgress);
  s.number("IconSize", p.iconSize == 32 ? 32 : 16);
  s.number("EnsureVisible", p.ensureVisible);
  s.text("DefEdit", p.defEdit);
  s.number("AutoCheck", p.autoCheck);
  GroupWriter d(registry, kFileDropGroup);
  d.number("DispProps", p.dispProps);
  d.number("DirMode", p.dirMode);
  d.number("DropDirAdd", p.dropDirAdd);
  d.number("DropDirInc", p.dropDirInc);
  d.number("DropDirSub", p.dropDirSub);
  d.number("DispSummary", p.dispSummary);
  return s.ok() && d.ok();
}

bool writeRegistryRecentFiles(platform::Registry& registry, const std::vector<std::string>& files) {
  GroupWriter r(registry, kRecentGroup);
  for (std::size_t i = 0; i < 4; ++i) {
    std::string name = "File" + std::to_string(i + 1);
    if (i < files.size()) r.text(name.c_str(), files[i]);
    else r.remove(name.c_str());
  }
  return r.ok();
}

bool writeRegistryWindowState(platform::Registry& registry, const WindowState& w) {
  GroupWriter g(registry, kWindowGroup);
  g.number("top", w.top);
  g.number("left", w.left);
  g.number("width", w.width);
  g.number("height", w.height);
  g.number("Status", w.status);
  g.number("kind", w.kind);
  g.number("posX", w.posX);
  g.number("posY", w.posY);
  writeColour(g, "topH", "topL", w.firstColour);
  writeColour(g, "bottomH", "bottomL", w.secondColour);
  g.number("GradDir", w.gradDir);
  g.text("bitmap", w.bitmap);
  g.number("occX", w.occX);
  g.number("occY", w.occY);
  writeColour(g, "backH", "backL", w.backColour);
  if (w.barState.empty()) return g.ok();
  GroupWriter b(registry, kBarGroup);
  b.text("Layout", w.barState);
  return g.ok() && b.ok();
}

TipPlace readRegistryTipPlace(platform::Registry& registry) {
  TipPlace place;
  platform::HKey handle = 0;
  if (registry.openKey(platform::hkey::CurrentUser, groupPath(kTipGroup), handle) != 0) return place;
  std::uint32_t number = 0;
  if (registry.queryDword(handle, "FilePos", number) == 0) place.position = number;
  std::string text;
  if (registry.queryString(handle, "TimeStamp", text) == 0) place.stamp = text;
  if (registry.queryDword(handle, "StartUp", number) == 0) place.showAtStartUp = number == 0;
  registry.closeKey(handle);
  return place;
}

bool writeRegistryTipPlace(platform::Registry& registry, const TipPlace& place) {
  GroupWriter tip(registry, kTipGroup);
  // Beyond what a DWORD holds the next start begins at the top again.
  tip.number("FilePos", place.position >= 0 && place.position <= 0xffffffffLL ? place.position : 0);
  tip.text("TimeStamp", place.stamp);
  tip.number("StartUp", place.showAtStartUp ? 0 : 1);
  return tip.ok();
}

bool writeRegistrySaveOnExit(platform::Registry& registry, bool saveOnExit) {
  GroupWriter settings(registry, kSettingsGroup);
  settings.number("SaveOnExit", saveOnExit ? 1 : 0);
  return settings.ok();
}

}  // namespace vandrel::builder::prefs
