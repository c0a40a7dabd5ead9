// The tip's place and SaveOnExit in the current user's registry.
#include "builder/prefs/registry_app_values.h"

#include <cstdint>
#include <string>

#include "builder/prefs/preference_rules.h"

namespace vandrel::builder::prefs {

namespace {

std::string groupPath(const char* group) {
  return std::string("Software\\") + kOrganization + "\\" + kApplication + "\\" + group;
}

// The group's key, made when absent; 0 when it cannot be made.
platform::HKey createGroup(platform::Registry& registry, const char* group) {
  platform::HKey handle = 0;
  if (registry.createKey(platform::hkey::CurrentUser, groupPath(group), handle) != 0) return 0;
  return handle;
}

}  // namespace

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
  platform::HKey handle = createGroup(registry, kTipGroup);
  if (!handle) return false;
  // Beyond what a DWORD holds the next start begins at the top again.
  std::uint32_t position = place.position >= 0 && place.position <= 0xffffffffLL ? std::uint32_t(place.position) : 0;
  bool written = registry.setDword(handle, "FilePos", position) == 0 &&
                 registry.setString(handle, "TimeStamp", place.stamp) == 0 &&
                 registry.setDword(handle, "StartUp", place.showAtStartUp ? 0 : 1) == 0;
  registry.closeKey(handle);
  return written;
}

bool writeRegistrySaveOnExit(platform::Registry& registry, bool saveOnExit) {
  platform::HKey handle = createGroup(registry, kSettingsGroup);
  if (!handle) return false;
  bool written = registry.setDword(handle, "SaveOnExit", saveOnExit ? 1 : 0) == 0;
  registry.closeKey(handle);
  return written;
}

}  // namespace vandrel::builder::prefs
