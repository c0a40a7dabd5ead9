// The tip's place and the recent files in the builder's settings file.
#include <QSettings>

#include "builder/prefs/preference_rules.h"
#include "builder/prefs/tip_file.h"

namespace vandrel::builder::prefs {

TipPlace readTipPlace(QSettings& settings) {
  TipPlace place;
  settings.beginGroup(kTipGroup);
  place.position = settings.value("FilePos", 0).toLongLong();
  place.stamp = settings.value("TimeStamp").toString().toStdString();
  place.showAtStartUp = settings.value("StartUp", 0).toInt() == 0;
  settings.endGroup();
  return place;
}

void writeTipPlace(QSettings& settings, const TipPlace& place) {
  settings.beginGroup(kTipGroup);
  settings.setValue("FilePos", place.position);
  settings.setValue("TimeStamp", QString::fromStdString(place.stamp));
  settings.setValue("StartUp", place.showAtStartUp ? 0 : 1);
  settings.endGroup();
}

std::vector<std::string> readRecentFiles(QSettings& settings) {
  std::vector<std::string> files;
  settings.beginGroup("Recent File List");
  for (int i = 1; i <= 4; ++i) {
    QString file = settings.value(QString("File%1").arg(i)).toString();
    if (!file.isEmpty()) files.push_back(file.toStdString());
  }
  settings.endGroup();
  return files;
}

void writeRecentFiles(QSettings& settings, const std::vector<std::string>& files) {
  settings.beginGroup("Recent File List");
  for (int i = 1; i <= 4; ++i) {
    if (std::size_t(i) <= files.size()) {
      settings.setValue(QString("File%1").arg(i), QString::fromStdString(files[std::size_t(i - 1)]));
    } else {
      settings.remove(QString("File%1").arg(i));
    }
  }
  settings.endGroup();
}


}  // namespace vandrel::builder::prefs
