// The setup engine's application object: the state every installation step shares, and the
// services (machine, interaction port, strings, script) through which the steps work.
#pragma once

#include <string>
#include <vector>

#include "platform/machine.h"
#include "script/placeholders.h"
#include "script/script_reader.h"
#include "script/string_table.h"
#include "ui/interaction.h"

namespace vandrel::setup {

// Status codes of an installation; each selects the texts of the closing dialog.
namespace status {
constexpr int Cancelled = 0;     // the wizard was cancelled
constexpr int Fatal = 1;         // fatal system check, or copy cancelled
constexpr int Incomplete = 2;    // script information missing, or stopped at a missing file
constexpr int WindowsTooOld = 3;
constexpr int Completed = 4;
constexpr int GroupsFailed = 5;
constexpr int NotIntel = 6;
constexpr int CpuTooOld = 7;
}  // namespace status

struct SetupState {
  std::string engineFolder;    // ends in a backslash
  std::string windowsFolder;   // without trailing backslash
  std::string appName;         // [Settings] AppName, or the engine's title
  std::string sourceFolder;    // ends in a backslash
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
  std::vector<std::string> sharedFiles;
  long long runningCopyTotal = 0;
  long long copyTotal = 0;
  std::string title;           // [Settings] Title, or the program's title when empty
};

class SetupApp {
 public:
  SetupApp(platform::Machine& machine, ui::Interaction& ui, const script::StringTable& strings);

  platform::Machine& machine() { return machine_; }
  ui::Interaction& ui() { return ui_; }
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

  // Directory number to path, and placeholder expansion, with the current state.
  std::string directoryPath(long number);
  std::string expand(const std::string& text);

  // Component test: true unless the number is optional and not selected.
  bool isDirectorySelected(long number) const;

  // The cancel confirmation; copying chooses the copy variant of its text. True for Yes.
  bool confirmCancel(bool copying);

  // Message boxes captioned with the application name (the program's title before it is
  // known): a Yes/No question, and a message with a single OK button.
  std::string messageCaption() const;
  ui::Answer ask(const std::string& text, ui::Icon icon = ui::Icon::Question);
  void tell(const std::string& text, ui::Icon icon);

 private:
  platform::Machine& machine_;
  ui::Interaction& ui_;
  const script::StringTable& strings_;
  SetupState state_;
  script::ScriptReader script_;
};

// File copy engine entry points (the copy step of the installation).
long long computeCopyTotal(SetupApp& app);  // stores and returns the copy total
int installFiles(SetupApp& app);            // a status code: 0, 1, 2 or 5

}  // namespace vandrel::setup
