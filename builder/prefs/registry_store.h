// The graphical builder's store in a registry, as it is kept on Windows: the preferences, the
// recent files, the main window's state and the tip of the day's place under HKEY_CURRENT_USER\Software\Orlwen\Corvix v3.0,
// each group a key of its own ("Settings", "FileDrop", "Recent File List", "BackMDI",
// "BarState", "Tip"), numbers as DWORD values and texts as string values.
#pragma once

#include <string>
#include <vector>

#include "builder/model/builder_preferences.h"
#include "builder/prefs/tip_file.h"
#include "builder/prefs/window_state.h"
#include "platform/registry.h"

namespace vandrel::builder::prefs {

// The main window's state; absent values take WindowState's defaults, as in the settings file.
WindowState readRegistryWindowState(platform::Registry& registry);
// The four most recently used files, newest first (File1..File4; empty values are skipped).
std::vector<std::string> readRegistryRecentFiles(platform::Registry& registry);

// What the builder writes at exit when "Save the configuration on exit" is on; false when a
// key could not be made or a value not written.
bool writeRegistryPreferences(platform::Registry& registry, const BuilderPreferences& preferences);
bool writeRegistryRecentFiles(platform::Registry& registry, const std::vector<std::string>& files);
bool writeRegistryWindowState(platform::Registry& registry, const WindowState& state);

// The tip of the day's place, kept at once when the tip's window closes; absent values take
// TipPlace's defaults. FilePos and StartUp are DWORD values, TimeStamp text.
TipPlace readRegistryTipPlace(platform::Registry& registry);
bool writeRegistryTipPlace(platform::Registry& registry, const TipPlace& place);
// "Save the configuration on exit" cleared in the preferences is kept at once (SaveOnExit), as
// nothing else is written at exit then.
bool writeRegistrySaveOnExit(platform::Registry& registry, bool saveOnExit);

}  // namespace vandrel::builder::prefs
