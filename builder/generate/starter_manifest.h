// The execution level a package's Setup.exe asks Windows for, written into the manifest of
// the starter the builder copies into the package.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace vandrel::builder {

enum class ExecutionLevel {
  Administrator,     // requireAdministrator: the elevation prompt, always (the default)
  HighestAvailable,  // highestAvailable: an administrator is asked, a standard user is not
  Invoker,           // asInvoker: the rights of whoever starts it
};

// "admin", "highest" or "invoker"; nullopt for anything else.
std::optional<ExecutionLevel> parseExecutionLevel(std::string_view word);
// The manifest's own word: "requireAdministrator", "highestAvailable", "asInvoker".
const char* manifestLevel(ExecutionLevel level);

// The starter's manifest asks for asInvoker followed by blanks that leave room for the longest
// level; the builder writes the package's level in its place, the same number of bytes long.
// True when the starter at path had that manifest and now asks for level; false when it has
// none (a starter built for another system) or the file could not be rewritten.
bool setStarterExecutionLevel(platform::FileSystem& files, const std::string& path,
                              ExecutionLevel level);

}  // namespace vandrel::builder
