// The builder's preferences in QSettings.
#include "builder/prefs/preferences_store.h"

#include <QSettings>
#include <QString>
#include <cstdlib>

namespace vandrel::builder::prefs {

namespace {

QString latin1(const std::string& text) { return QString::fromLatin1(text.data(), qsizetype(text.size())); }

}  // namespace

std::filesystem::path preferencesFile() {
  std::filesystem::path base;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && *xdg == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::filesystem::path(home && *home ? home : ".") / ".config";
  }
  return base / kOrganization / (std::string(kApplication) + ".conf");
}

std::unique_ptr<QSettings> openSettings() {
#ifdef _WIN32
  // The registry under HKEY_CURRENT_USER\Software\Orlwen\Corvix v3.0.
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                     QString::fromLatin1(kOrganization),
                                     QString::fromLatin1(kApplication));
#else
  // The path is named outright: QSettings reads XDG_CONFIG_HOME only once per process.
  QString file = QString::fromStdString(preferencesFile().string());
  return std::make_unique<QSettings>(file, QSettings::IniFormat);
#endif
}

BuilderPreferences readPreferences(QSettings& s) {
  return readPreferences([&s](const char* group, const char* key) -> std::optional<std::string> {
    QVariant value = s.value(QString::fromLatin1(group) + '/' + QString::fromLatin1(key));
    if (!value.isValid()) return std::nullopt;
    return value.toString().toLatin1().toStdString();
  });
}

BuilderPreferences readPreferences() {
  std::unique_ptr<QSettings> settings = openSettings();
  return readPreferences(*settings);
}

void writePreferences(QSettings& s, const BuilderPreferences& p) {
  s.beginGroup(kSettingsGroup);
  s.setValue("LoadOnOpen", int(p.loadOnOpen));
  s.setValue("SaveOnExit", int(p.saveOnExit));
  s.setValue("ConfirmErase", int(p.confirmErase));
  s.setValue("ShowProgress", int(p.showProgress));
  s.setValue("IconSize", p.iconSize == 32 ? 32 : 16);
  s.setValue("EnsureVisible", int(p.ensureVisible));
  s.setValue("DefEdit", latin1(p.defEdit));
  s.setValue("AutoCheck", int(p.autoCheck));
  s.endGroup();
  s.beginGroup(kFileDropGroup);
  s.setValue("DispProps", int(p.dispProps));
  s.setValue("DirMode", p.dirMode);
  s.setValue("DropDirAdd", int(p.dropDirAdd));
  s.setValue("DropDirInc", int(p.dropDirInc));
  s.setValue("DropDirSub", int(p.dropDirSub));
  s.setValue("DispSummary", int(p.dispSummary));
  s.endGroup();
}

bool writePreferences(const BuilderPreferences& preferences) {
  std::unique_ptr<QSettings> settings = openSettings();
  writePreferences(*settings, preferences);
  settings->sync();
  return settings->status() == QSettings::NoError;
}

void writeSaveOnExit(QSettings& s, bool saveOnExit) {
  s.beginGroup(kSettingsGroup);
  s.setValue("SaveOnExit", int(saveOnExit));
  s.endGroup();
  s.sync();
}

// The command line reads the same file as the graphical builder.
BuilderPreferences storedPreferences(platform::Machine&) { return readPreferences(); }

}  // namespace vandrel::builder::prefs
