// Where the builder keeps its preferences and window state: QSettings of organization
// "Orlwen", application "Corvix v3.0", with the groups "Settings", "FileDrop", "BackMDI"
// and "Tip". On Linux the file is $XDG_CONFIG_HOME/Orlwen/Corvix v3.0.conf.
#pragma once

#include <filesystem>
#include <memory>

#include "builder/prefs/preference_rules.h"

class QSettings;

namespace vandrel::builder::prefs {

// The settings file of this user ($XDG_CONFIG_HOME, else ~/.config, read at each call).
std::filesystem::path preferencesFile();

// The store, opened afresh on every call so that a changed environment is followed.
std::unique_ptr<QSettings> openSettings();

// The preferences read from the store by the rules of preference_rules.h.
BuilderPreferences readPreferences(QSettings& settings);
BuilderPreferences readPreferences();

// Every key of both groups, as the builder writes them at exit.
void writePreferences(QSettings& settings, const BuilderPreferences& preferences);
bool writePreferences(const BuilderPreferences& preferences);

// Clearing "Save the configuration on exit" in the preferences dialog is written at once.
void writeSaveOnExit(QSettings& settings, bool saveOnExit);

}  // namespace vandrel::builder::prefs
