// Win.ini entries, registry entries and shared-file usage counts of an installation.
#pragma once

#include <string>

#include <vector>

#include "platform/profile.h"
#include "platform/registry.h"
#include "script/script_reader.h"
#include "script/string_table.h"
#include "setup/common/setup_state.h"
#include "ui/action_log.h"

namespace vandrel::setup {

class CopyProgress;

// What the INI and registry step works with: the installed script (read, and written for
// [SharedFiles]) and the state its placeholders resolve against, the machine's profile and
// registry, the texts, and the progress dialog with its cancel flag.
struct Changes {
  script::ScriptReader& script;
  const SetupState& state;
  platform::Profile& profile;
  platform::Registry& registry;
  const script::StringTable& strings;
  CopyProgress& progress;
  ui::ActionLog* log = nullptr;  // each write with the value it replaced; none: not logged
};

// The registry root of a script root code: 0 HKEY_CLASSES_ROOT, 1 HKEY_CURRENT_USER,
// 2 HKEY_LOCAL_MACHINE, 3 HKEY_USERS; any other code HKEY_CURRENT_USER.
platform::HKey rootForCode(long code);

// Creates or opens subKey below the root of the code and sets name to text as a string;
// false when the key cannot be created or opened or the value not set.
bool setRegistryString(platform::Registry& registry, long rootCode, const std::string& subKey,
                       const std::string& name, const std::string& text);

// Adds one to the usage count of a shared file (1 when it had none). Nothing changes when
// the shared-files key does not exist. log, if given, receives the counts before and after.
void raiseSharedCount(platform::Registry& registry, const std::string& path,
                      ui::ActionLog* log = nullptr);

// Writes [AddINI] into WIN.INI and [Registry] into the registry, raises the counts of the
// shared files copied and lists them in the installed script's [SharedFiles]. False when
// the user cancelled meanwhile; what was written stays. A Win.ini or registry write that
// fails does not stop the step; it sets changeFailed.
bool updateIniAndRegistry(const Changes& changes, const std::vector<std::string>& sharedFiles,
                          bool& changeFailed);

}  // namespace vandrel::setup
