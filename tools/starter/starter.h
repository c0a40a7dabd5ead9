// The package starter: puts the setup engine and its script into the Windows folder and runs
// the engine on the package.
#pragma once

#include <ostream>
#include <string>

#include "platform/machine.h"

namespace vandrel::starter {

// Names inside the package folder and inside the Windows folder.
inline constexpr const char* kPackedEngine = "Tamsin32.ex_";
inline constexpr const char* kScript = "Script.vrx";
inline constexpr const char* kEngineCopy = "hobvane.exe";
inline constexpr const char* kScriptCopy = "script.vrx";

// What stopped the starter before its engine ran: no package beside it, the Windows folder
// that cannot take the engine or its script, or an engine that cannot be started.
enum class StarterStop { None, NoPackage, WindowsFolder, EngineStart };

// packageFolder is the starter's own folder, ending in a backslash. Expands the engine as
// hobvane.exe and copies the script as script.vrx into the Windows folder, starts the engine
// with the package folder as its command line, waits, and returns the engine's exit status;
// 1 with a line on errors when anything before that fails, and then what in *stop when given.
int runStarter(platform::Machine& machine, const std::string& packageFolder, std::ostream& errors,
               StarterStop* stop = nullptr);

}  // namespace vandrel::starter
