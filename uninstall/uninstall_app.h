// The uninstaller's application object: the state of one run and the services (machine,
// interaction port, strings, script, progress) through which the removal steps work.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/machine.h"
#include "script/script_reader.h"
#include "script/string_table.h"
#include "ui/action_log.h"
#include "ui/settling_interaction.h"
#include "uninstall/progress_window.h"
#include "uninstall/removal.h"

namespace vandrel::uninstall {

using script::Section;

// The folders of the run: the Windows and system folders, the installation folder and its
// script.
using UninstallState = UninstallFolders;

class UninstallApp {
 public:
  // log, when given, receives each removal and what was left; none: nothing is logged.
  UninstallApp(platform::Machine& machine, ui::Interaction& ui, const script::StringTable& strings,
               ui::ActionLog* log = nullptr);

  platform::Machine& machine() { return machine_; }
  ui::Interaction& ui() { return ui_; }
  const script::StringTable& strings() const { return strings_; }
  UninstallState& state() { return state_; }
  const UninstallState& state() const { return state_; }

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

  // A Yes/No question with the question icon, and a message with the stop icon, both
  // captioned with the program's title.
  bool askYesNo(const std::string& text) { return uninstall::askYesNo(ui_, strings_, text); }
  void stop(const std::string& text) { stopMessage(ui_, strings_, text); }

  // The parts of this run the removal steps work with, counting into tally.
  Removal removal(RemovalTally& tally) {
    return Removal(script_, state_, machine_.files(), machine_.profile(), machine_.registry(), ui_,
                   strings_, tally, progress_.get(), log_);
  }
  ui::ActionLog& log() { return log_ ? *log_ : ownLog_; }

  // The progress window of a removal, once it is shown.
  void openProgress(const std::string& captionLine);
  ProgressWindow* progress() { return progress_.get(); }

 private:
  platform::Machine& machine_;
  // The user's questions end what a batch of file work holds before they wait.
  ui::SettlingInteraction ui_;
  const script::StringTable& strings_;
  UninstallState state_;
  script::ScriptReader script_;
  std::unique_ptr<ProgressWindow> progress_;
  ui::ActionLog ownLog_;  // writes nothing; used when no log is given
  ui::ActionLog* log_;
};

}  // namespace vandrel::uninstall
