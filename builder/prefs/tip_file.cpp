// The tips file and the recent files in the builder's settings.
#include "builder/prefs/tip_file.h"

#include <fstream>

#include <QSettings>

#include "builder/prefs/preferences_store.h"

namespace vandrel::builder::prefs {

namespace {

std::string timeStampOf(const std::filesystem::path& file) {
  std::error_code ec;
  auto time = std::filesystem::last_write_time(file, ec);
  return ec ? std::string() : std::to_string(time.time_since_epoch().count());
}

}  // namespace

TipFile::TipFile(std::filesystem::path file, QSettings& settings)
    : file_(std::move(file)), settings_(settings) {
  settings_.beginGroup(kTipGroup);
  position_ = settings_.value("FilePos", 0).toLongLong();
  stamp_ = settings_.value("TimeStamp").toString().toStdString();
  showAtStartUp_ = settings_.value("StartUp", 0).toInt() == 0;
  settings_.endGroup();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file_, ec)) {
    status_ = Status::Missing;
    return;
  }
  std::string now = timeStampOf(file_);
  if (now != stamp_) {
    position_ = 0;
    stamp_ = now;
  }
}

std::string TipFile::next() {
  if (status_ == Status::Missing) return {};
  std::ifstream in(file_, std::ios::binary);
  if (!in) {
    status_ = Status::Unreadable;
    return {};
  }
  in.seekg(0, std::ios::end);
  long long size = in.tellg();
  if (position_ < 0 || position_ >= size) position_ = 0;
  in.seekg(position_);
  // At most two passes: from the place kept to the end, then from the top.
  for (int pass = 0; pass < 2; ++pass) {
    std::string line;
    while (std::getline(in, line)) {
      if (line.size() > kMaxLine) line.resize(kMaxLine);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.empty()) continue;
      position_ = in.tellg() < 0 ? size : static_cast<long long>(in.tellg());
      return line;
    }
    in.clear();
    in.seekg(0);
  }
  position_ = 0;
  return {};
}

void TipFile::store() {
  settings_.beginGroup(kTipGroup);
  settings_.setValue("FilePos", position_);
  settings_.setValue("TimeStamp", QString::fromStdString(stamp_));
  settings_.setValue("StartUp", showAtStartUp_ ? 0 : 1);
  settings_.endGroup();
}

void TipFile::setShowAtStartUp(bool show) { showAtStartUp_ = show; }

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
