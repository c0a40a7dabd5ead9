// The uninstaller's application object: the state of one run and the services (machine,
// interaction port, strings, script, progress) through which the removal steps work.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/machine.h"
#include "script/script_reader.h"
#include "script/string_table.h"
#include "ui/interaction.h"
#include "uninstall/progress_window.h"

namespace vandrel::uninstall {

using script::Section;

struct UninstallState {
  std::string windowsFolder;  // ends in a backslash
  std::string systemFolder;   // as the system reports it
  std::string installFolder;  // the command line, one trailing backslash dropped
  std::string scriptPath;     // installFolder + "\" + "Script.vrx"
  // Counted in 64 bits: the seven counts of a damaged script may add up beyond an int.
  long long total = 0;
  long long done = 0;
  bool yesToAll = false;
  // Shared paths (upper case) whose usage count the shared-files step has already released:
  // the standard-files step leaves them alone, so that one installation's count is lowered
  // once.
  std::set<std::string> releasedShared;
  // Set when an item a step tried to remove (a file, a shortcut, a Win.ini key, a registry
  // value or key) is still there: the removal is then not reported as complete.
  bool leftovers = false;
};

class UninstallApp {
 public:
  UninstallApp(platform::Machine& machine, ui::Interaction& ui, const script::StringTable& strings);

  platform::Machine& machine() { return machine_; }
  ui::Interaction& ui() { return ui_; }
  const script::StringTable& strings() const { return strings_; }
  UninstallState& state() { return state_; }

  // Reads the Windows and system folders.
  void readFolders();
  // Installation folder and script path from the removal command line.
  void setInstallFolder(const std::string& commandLine);

  // Script reads: the count of a section (integer read, default 0) and a text value (empty
  // when missing).
  int count(Section section) const { return script_.count(section); }
  std::string text(Section section, const std::string& key) const {
    return script_.text(section, key);
  }
  std::string text(Section section, long long key) const { return text(section, std::to_string(key)); }
  const script::ScriptReader& script() const { return script_; }

  // The entry numbers below count that the section holds, from one read of its key list.
  std::vector<long long> presentEntries(Section section, long long count) const;

  // The folder of a [Directories] entry, uninstaller form.
  std::string resolveDirectory(long long key) const;

  // One (or several) removal items done: moves the bar when the percentage changes.
  void advanceProgress(long long items = 1);

  // A Yes/No question with the question icon, and a message with the stop icon, both
  // captioned with the program's title.
  bool askYesNo(const std::string& text);
  void stop(const std::string& text);
  // The shared-file question dialog: "&Yes", "&Yes to all", "&No". Yes to all sets the
  // yes-to-all flag. True for either Yes.
  bool askDeleteShared(const std::string& text);

  // The progress window of a removal, once it is shown.
  void openProgress(const std::string& captionLine);
  ProgressWindow* progress() { return progress_.get(); }

 private:
  platform::Machine& machine_;
  ui::Interaction& ui_;
  const script::StringTable& strings_;
  UninstallState state_;
  script::ScriptReader script_;
  std::unique_ptr<ProgressWindow> progress_;
};

}  // namespace vandrel::uninstall
