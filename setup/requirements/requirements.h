// The check that the script is complete enough and that the computer meets the package's
// requirements (processor family, 32-bit Windows, least version, least processor, build).
#pragma once

#include "platform/system.h"
#include "script/script_reader.h"
#include "setup/common/dialogs.h"
#include "setup/common/setup_state.h"

namespace vandrel::setup {

// Sets the running platform code in the state and returns a status code: 0 pass,
// 1 unsupported platform (already reported), 2 script incomplete, 3 Windows version or build
// refused, 6 non-Intel processor refused, 7 processor refused. The script's settings are
// compared with what system reports; the questions go through dialogs.
int checkRequirements(const script::ScriptReader& script, platform::System& system,
                      SetupDialogs& dialogs, SetupState& state);

// Position (from 1) of the last item of the version-name list equal to minWin without regard
// to case; 0 when none is.
int requiredVersionIndex(const std::string& versionNames, const std::string& minWin);

}  // namespace vandrel::setup
