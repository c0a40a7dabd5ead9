// What the builder's own windows keep in the registry at once on Windows, under
// HKEY_CURRENT_USER\Software\Orlwen\Corvix v3.0: the tip of the day's place (group "Tip")
// and "Save the configuration on exit" cleared in the preferences (group "Settings").
#pragma once

#include "builder/prefs/tip_file.h"
#include "platform/registry.h"

namespace vandrel::builder::prefs {

// The place kept; absent values take TipPlace's defaults.
TipPlace readRegistryTipPlace(platform::Registry& registry);
// FilePos and StartUp as DWORD values, TimeStamp as text; false when the key could not be
// made or a value not written.
bool writeRegistryTipPlace(platform::Registry& registry, const TipPlace& place);
// SaveOnExit as a DWORD value.
bool writeRegistrySaveOnExit(platform::Registry& registry, bool saveOnExit);

}  // namespace vandrel::builder::prefs
