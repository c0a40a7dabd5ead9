// The frame's command numbers and the names answers files give the builder's commands.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace vandrel::builder::frame {

// The frame's own commands and those of the Edit menu, numbered as the framework numbers them.
namespace command {
constexpr int FileNew = 57600;
constexpr int FileOpen = 57601;
constexpr int FileClose = 57602;
constexpr int FileSave = 57603;
constexpr int FileSaveAs = 57604;
constexpr int FirstRecentFile = 57616;  // to 57619
constexpr int Exit = 57665;
constexpr int Undo = 57643;
constexpr int Redo = 57644;
constexpr int ViewToolbar = 59392;
constexpr int ViewStatusBar = 59393;
constexpr int Preferences = 32798;
constexpr int VersionInfo = 32802;
constexpr int About = 57664;
constexpr int TipOfTheDay = 121;
constexpr int WindowCascade = 57650;
constexpr int WindowTile = 57651;
}  // namespace command

// The File menu keeps the four most recently used files.
inline constexpr std::size_t kRecentFiles = 4;

// The recent-file command of a slot (0 for the newest), and the slot of a command (-1 when the
// command is not a recent file's).
constexpr int recentFileCommand(std::size_t slot) { return command::FirstRecentFile + int(slot); }
constexpr int recentFileSlot(int cmd) {
  return cmd >= command::FirstRecentFile && cmd < command::FirstRecentFile + int(kRecentFiles)
             ? cmd - command::FirstRecentFile
             : -1;
}

// The builder's commands by the names an answers file gives them in [Builder] Commands (a
// comma list run in order after start-up): "new", "save", "close", "undo", "redo",
// "preferences", "about", "tip", "version", "settings", "background", "end", each entry kind's
// name in kEntryKinds ("directory", "description", "group", "winini", "registry", "file",
// "shortcut", "message"), "erase", "properties", "generate", "script", "test", "check",
// "check-files", "summary", "small-icons", "assistant1".."assistant5", "cascade", "tile".
// 0 for an unknown name.
int commandByName(const std::string& name);

// The [Builder] Commands of an answers file, in order (empty when the file has none).
std::vector<std::string> answeredCommands(const std::string& answersFile);

// Runs the answered commands in order: "shot:NAME" calls shot with NAME, any other name runs
// its command number through run. An unknown name is told on standard error and skipped;
// false when there was one.
bool runAnswered(const std::vector<std::string>& commands, const std::function<void(const std::string&)>& shot,
                 const std::function<void(int)>& run);

}  // namespace vandrel::builder::frame
