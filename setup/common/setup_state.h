// The state the steps of one installation share, the status codes it ends with, and the
// script rules that depend on it: directory paths, placeholders and the component test.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "script/script_reader.h"

namespace vandrel::setup {

// Status codes of an installation; each selects the texts of the closing dialog.
namespace status {
constexpr int Cancelled = 0;     // the wizard was cancelled
constexpr int Fatal = 1;         // fatal system check, or copy cancelled
constexpr int Incomplete = 2;    // script information missing, or stopped at a missing file
constexpr int WindowsTooOld = 3;
constexpr int Completed = 4;
constexpr int GroupsFailed = 5;  // groups, shortcuts or a system change failed
constexpr int NotIntel = 6;
constexpr int CpuTooOld = 7;
}  // namespace status

// Filled by the driver and the wizard; read by the steps after them. What the copy loop
// changes as it goes (the source folder it follows from disk to disk, the running copy
// total, the shared files copied) is held by the install phase, not here.
struct SetupState {
  std::string engineFolder;    // ends in a backslash
  std::string windowsFolder;   // without trailing backslash
  std::string appName;         // [Settings] AppName, or the engine's title
  std::string sourceFolder;    // ends in a backslash: where the package's first disk is
  std::string installFolder;   // chosen on the destination page
  bool backup = false;
  int platform = 0;            // 1 Win32s, 2 NT, 3 Windows 95/98
  std::string userName, company, serial;
  std::string installDate;     // "%Y/%m/%d"
  std::string programsFolder, startupFolder, startMenuFolder, desktopFolder;
  int shortcutScope = 0;       // 0 all users
  std::vector<long> optionalDirectories;
  std::vector<long> selectedDirectories;
  std::vector<std::string> directoryLabels;
  std::string title;           // [Settings] Title, or the program's title when empty
  // The shared files whose usage count the earlier installation in the install folder
  // already raised (an upgrade or repair does not raise them again).
  std::vector<std::string> countedSharedFiles;
  // What ended an installation that did not succeed, naming its file or script entry, for
  // the line an unattended run prints on standard error; empty when the dialogs said it.
  std::string failureCause;
};

// Directory number to path, setup form, with the state's folders.
std::string directoryPath(const script::ScriptReader& script, const SetupState& state,
                          long number);
// Placeholder expansion with the state's registration, date and folders.
std::string expandPlaceholders(const script::ScriptReader& script, const SetupState& state,
                               const std::string& text);

// Placeholder expansion over a run of entries (Win.ini or registry lines): the script's
// directories do not change during the run, so each directory number's path is looked up in
// the script once and kept, rather than read again for every entry that names it.
class PlaceholderExpander {
 public:
  PlaceholderExpander(const script::ScriptReader& script, const SetupState& state);
  std::string operator()(const std::string& text);

 private:
  const script::ScriptReader& script_;
  const SetupState& state_;
  std::map<long, std::string> paths_;
};
// Component test: true unless the number is optional and not selected.
bool isDirectorySelected(const SetupState& state, long number);

}  // namespace vandrel::setup
