// The two passes over the author's directories: listing the optional ones before the
// wizard, and creating the folders (recorded in [UnInstall]) after it.
#pragma once

#include "ui/action_log.h"

#include "platform/file_system.h"
#include "platform/machine.h"
#include "script/script_reader.h"
#include "setup/common/setup_state.h"

namespace vandrel::setup {

// Fills the optional and selected directory lists and the labels.
void collectDirectories(const script::ScriptReader& script, SetupState& state);

// Creates the install folder, the backup folder and the author's directories, and writes
// their paths into [UnInstall]. Each folder made is logged when a log is given. An install
// folder found in place is written as kept, unless a stopped removal left it (the machine's
// registry holds that removal's marks).
void createDirectories(script::ScriptReader& script, const SetupState& state, platform::Machine& machine,
                       ui::ActionLog* log = nullptr);

}  // namespace vandrel::setup
