// Program groups (folders of shortcuts) and shortcut files, recorded in the installed script
// for the uninstaller.
#pragma once

#include <string>

#include "platform/file_system.h"
#include "platform/shell.h"
#include "script/script_reader.h"
#include "script/string_table.h"
#include "setup/common/setup_state.h"
#include "ui/action_log.h"

namespace vandrel::setup {

class CopyProgress;

// The shortcut the engine writes for a target: no icon of its own, shown normally.
platform::ShellLink shellLink(const std::string& target, const std::string& arguments,
                              const std::string& workingDirectory, const std::string& description);

// Writes one shortcut file. Returns the status of the shell operation: 0 on success,
// negative on failure.
int CreateShellLink(platform::Shell& shell, const std::string& target,
                    const std::string& arguments, const std::string& workingDirectory,
                    const std::string& linkPath, const std::string& description);

// Creates the groups of [Groups] and the shortcuts of [Shortcuts], and records them in
// [AddedFolders] and [AddedLinks]. 1 when it ran to its end (also with nothing to do), 0 when
// the user cancelled; the counts are then left unwritten. A shortcut that cannot be written
// does not stop the step and is recorded all the same; it sets changeFailed.
// The groups' names, the shortcuts and the directories are read from script, which also
// receives the records; the link folders and the component choice come from state. Each
// group folder made and each shortcut written (as the shell receives it) goes to log.
int createProgramGroups(script::ScriptReader& script, const SetupState& state,
                        platform::FileSystem& files, platform::Shell& shell,
                        const script::StringTable& strings, CopyProgress& progress,
                        bool& changeFailed, ui::ActionLog* log = nullptr);

}  // namespace vandrel::setup
