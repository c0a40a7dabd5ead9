// Where the builder keeps its preferences and window state: QSettings of organization
// "Orlwen", application "Corvix v3.0", with the groups "Settings", "FileDrop", "BackMDI"
// and "Tip". On Linux the file is $XDG_CONFIG_HOME/Orlwen/Corvix v3.0.conf.
#pragma once

#include <filesystem>
#include <memory>

#include "builder/model/builder_preferences.h"

class QSettings;

namespace vandrel::builder::prefs {

inline constexpr const char* kOrganization = "Orlwen";
inline constexpr const char* kApplication = "Corvix v3.0";
inline constexpr const char* kSettingsGroup = "Settings";  // string 202
inline constexpr const char* kFileDropGroup = "FileDrop";  // string 206
inline constexpr const char* kWindowGroup = "BackMDI";     // string 203
inline constexpr const char* kTipGroup = "Tip";

// The settings file of this user ($XDG_CONFIG_HOME, else ~/.config, read at each call).
std::filesystem::path preferencesFile();

// The store, opened afresh on every call so that a changed environment is followed.
std::unique_ptr<QSettings> openSettings();

// The preferences as the builder reads them at start-up: DefEdit from the built-in text,
// then LoadOnOpen; only when it is on, every other key, each with its value for an absent
// key (DispSummary is then off unless stored). An IconSize other than 32 reads as 16; a
// DirMode outside 0..2 reads as 0; a value that is not a number counts as absent.
BuilderPreferences readPreferences(QSettings& settings);
BuilderPreferences readPreferences();

// Every key of both groups, as the builder writes them at exit.
void writePreferences(QSettings& settings, const BuilderPreferences& preferences);
bool writePreferences(const BuilderPreferences& preferences);

// Clearing "Save the configuration on exit" in the preferences dialog is written at once.
void writeSaveOnExit(QSettings& settings, bool saveOnExit);

}  // namespace vandrel::builder::prefs
