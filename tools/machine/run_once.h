// The RunOnce commands of a restart, each taken from its key and seen to its end even when the
// restart is killed midway.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/registry.h"

namespace vandrel::tools {

// The key (under HKEY_LOCAL_MACHINE) where a restart keeps the RunOnce commands it has taken
// from their keys and not yet seen end. It exists only while one runs, or after a kill.
inline constexpr const char* kStartedRunOnceKey = "Software\\Vandrel Restart";

// The string values of a key in enumeration order, as (name, command); none when it is missing.
std::vector<std::pair<std::string, std::string>> commandValues(platform::Registry& reg, platform::HKey root,
                                                               const std::string& path);

// Runs start(command) for the RunOnce values of HKEY_LOCAL_MACHINE, then HKEY_CURRENT_USER,
// in their order. Each value is deleted before its program runs, so that a program that fails
// or hangs does not run at every restart; in the same registry change its command is kept
// under kStartedRunOnceKey until start returns. A restart killed meanwhile leaves it there, and
// the next restart starts it first, once more: a setup's clean-up is not lost to a kill. A
// command cut off on that second start too is dropped (reported through dropped).
void runOnceCommands(platform::Registry& reg, const std::function<void(const std::string&)>& start,
                     const std::function<void(const std::string&)>& dropped);

}  // namespace vandrel::tools
