// Program groups (folders of shortcuts) and shortcut files, recorded in the installed script
// for the uninstaller.
#pragma once

#include <string>

namespace vandrel::platform {
class Shell;
}

namespace vandrel::setup {

class SetupApp;
class CopyProgress;

// Writes one shortcut file. Returns the status of the shell operation: 0 on success,
// negative on failure.
int CreateShellLink(platform::Shell& shell, const std::string& target,
                    const std::string& arguments, const std::string& workingDirectory,
                    const std::string& linkPath, const std::string& description);

// Creates the groups of [Groups] and the shortcuts of [Shortcuts], and records them in
// [AddedFolders] and [AddedLinks]. 1 when it ran to its end (also with nothing to do), 0 when
// the user cancelled; the counts are then left unwritten. A shortcut that cannot be written
// does not stop the step and is recorded all the same; it sets changeFailed.
int createProgramGroups(SetupApp& app, CopyProgress& progress, bool& changeFailed);

}  // namespace vandrel::setup
