// The setup engine's application object: it owns the machine, the interaction port, the
// strings, the script and the installation's state for the whole run, and hands the steps
// the parts each uses.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "platform/machine.h"
#include "script/schema.h"
#include "script/placeholders.h"
#include "script/script_reader.h"
#include "script/string_table.h"
#include "setup/common/dialogs.h"
#include "setup/common/setup_state.h"
#include "ui/action_log.h"
#include "ui/settling_interaction.h"

namespace vandrel::setup {

class SetupApp {
 public:
  // log: the action log of the run; none given, nothing is logged.
  SetupApp(platform::Machine& machine, ui::Interaction& ui, const script::StringTable& strings,
           ui::ActionLog* log = nullptr);

  platform::Machine& machine() { return machine_; }
  ui::Interaction& ui() { return ui_; }
  ui::ActionLog& log() { return *log_; }
  const script::StringTable& strings() const { return strings_; }
  SetupState& state() { return state_; }
  const SetupState& state() const { return state_; }

  // The script: engine folder + "Script.vrx" at start, the installed copy after the first copy.
  script::ScriptReader& script() { return script_; }
  // Script value, setup form (missing or empty gives def; cut to 258 characters).
  std::string value(const std::string& section, const std::string& key, const std::string& def);
  std::string value(script::Section section, const std::string& key, const std::string& def) {
    return value(script::sectionName(section), key, def);
  }

  // Directory number to path, placeholder expansion and the component test with the
  // current state (see setup_state.h).
  std::string directoryPath(long number) { return setup::directoryPath(script_, state_, number); }
  std::string expand(const std::string& text) {
    return expandPlaceholders(script_, state_, text);
  }
  bool isDirectorySelected(long number) const {
    return setup::isDirectorySelected(state_, number);
  }

  // The cancel confirmation; copying chooses the copy variant of its text. True for Yes.
  bool confirmCancel(bool copying);

  // Message boxes captioned with the application name (the program's title before it is
  // known): a Yes/No question, and a message with a single OK button.
  std::string messageCaption() const;
  SetupDialogs dialogs() { return SetupDialogs(ui_, strings_, messageCaption()); }
  ui::Answer ask(const std::string& text, ui::Icon icon = ui::Icon::Question);
  void tell(const std::string& text, ui::Icon icon);

  // One line "tamsin32: <what>" on the run's error stream (standard error unless a test
  // gives another): what failed, for the administrator of an unattended run.
  void problem(const std::string& what);
  void setErrorStream(std::FILE* errors) { errors_ = errors; }

 private:
  platform::Machine& machine_;
  // The user's questions end what a batch of file work holds before they wait.
  ui::SettlingInteraction ui_;
  ui::ActionLog ownLog_;  // writes nothing; used when no log is given
  ui::ActionLog* log_;
  const script::StringTable& strings_;
  SetupState state_;
  script::ScriptReader script_;
  std::FILE* errors_ = stderr;
};

}  // namespace vandrel::setup
