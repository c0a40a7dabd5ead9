// The builder's preferences in a registry: text or DWORD values under the current user's
// key of the builder.
#include "builder/prefs/preference_rules.h"

#include "platform/registry.h"

namespace vandrel::builder::prefs {

namespace {

std::optional<std::string> registryValue(platform::Registry& registry, const char* group,
                                         const char* key) {
  std::string path = std::string("Software\\") + kOrganization + "\\" + kApplication + "\\" + group;
  platform::HKey handle = 0;
  if (registry.openKey(platform::hkey::CurrentUser, path, handle) != 0) return std::nullopt;
  std::optional<std::string> result;
  std::uint32_t type = 0;
  platform::Bytes data;
  std::string text;
  std::uint32_t number = 0;
  if (registry.queryValue(handle, key, type, data) == 0) {
    if (type == platform::regtype::Dword && registry.queryDword(handle, key, number) == 0) {
      result = std::to_string(number);
    } else if ((type == platform::regtype::Sz || type == platform::regtype::ExpandSz) &&
               registry.queryString(handle, key, text) == 0) {
      result = text;
    }
  }
  registry.closeKey(handle);
  return result;
}

}  // namespace

BuilderPreferences readRegistryPreferences(platform::Registry& registry) {
  return readPreferences([&registry](const char* group, const char* key) {
    return registryValue(registry, group, key);
  });
}

}  // namespace vandrel::builder::prefs
