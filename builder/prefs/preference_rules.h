// How the builder reads its stored preferences, whatever keeps them: a lookup gives each
// stored value by group and key.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "builder/model/builder_preferences.h"
#include "platform/machine.h"
#include "platform/registry.h"

namespace vandrel::builder::prefs {

inline constexpr const char* kOrganization = "Orlwen";
inline constexpr const char* kApplication = "Corvix v3.0";
inline constexpr const char* kSettingsGroup = "Settings";  // string 202
inline constexpr const char* kFileDropGroup = "FileDrop";  // string 206
inline constexpr const char* kWindowGroup = "BackMDI";     // string 203
inline constexpr const char* kTipGroup = "Tip";

// A stored value as text (a number in decimal), or nullopt when the key is absent.
using PreferenceLookup =
    std::function<std::optional<std::string>(const char* group, const char* key)>;

// The preferences as the builder reads them at start-up: DefEdit from the built-in text,
// then LoadOnOpen; only when it is on, every other key, each with its value for an absent
// key (DispSummary is then off unless stored). An IconSize other than 32 reads as 16; a
// DirMode outside 0..2 reads as 0; a value that is not a number counts as absent.
BuilderPreferences readPreferences(const PreferenceLookup& lookup);

// The preferences as the builder keeps them in a registry: the values of
// HKEY_CURRENT_USER\Software\Orlwen\Corvix v3.0\<group>, text or DWORD (any other type
// counts as absent).
BuilderPreferences readRegistryPreferences(platform::Registry& registry);

// This user's preferences where the builder keeps them on the system it runs on (the
// settings file on Linux, the current user's registry on Windows), for the command line.
BuilderPreferences storedPreferences(platform::Machine& machine);

}  // namespace vandrel::builder::prefs
