// The tip of the day: "tips.txt" read one line at a time from the place kept in the group
// "Tip" (FilePos), restarting at the top when the file's time stamp (TimeStamp) changed, and
// whether tips are shown at start-up (StartUp, stored inverted: 0 shows them). The place is
// kept in the settings file on Linux and in the registry on Windows (registry_store.h).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

class QSettings;

namespace vandrel::builder::prefs {

// Where the tips were left, as the group "Tip" keeps it.
struct TipPlace {
  long long position = 0;     // FilePos: the offset of the next tip
  std::string stamp;          // TimeStamp: the file's time stamp when the place was kept
  bool showAtStartUp = true;  // StartUp, stored inverted
};

class TipFile {
 public:
  static constexpr std::size_t kMaxLine = 1000;
  enum class Status { Ok, Missing, Unreadable };

  // Starts at the stored place; a changed time stamp starts again at the top.
  TipFile(std::filesystem::path file, TipPlace stored);

  Status status() const { return status_; }
  // The next tip: the next line that is not empty, from the top again after the last one;
  // empty when the file holds none (status then says why, when it could not be read).
  std::string next();
  // The place after the tip shown, to keep for the next time.
  TipPlace place() const;

  bool showAtStartUp() const { return showAtStartUp_; }
  void setShowAtStartUp(bool show);

 private:
  std::filesystem::path file_;
  Status status_ = Status::Ok;
  long long position_ = 0;
  std::string stamp_;
  bool showAtStartUp_ = true;
};

// The place kept in the settings file's group "Tip".
TipPlace readTipPlace(QSettings& settings);
void writeTipPlace(QSettings& settings, const TipPlace& place);

// The four most recently used files in the group "Recent File List", keys File1..File4.
std::vector<std::string> readRecentFiles(QSettings& settings);
void writeRecentFiles(QSettings& settings, const std::vector<std::string>& files);

}  // namespace vandrel::builder::prefs
