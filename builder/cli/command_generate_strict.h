// The checks `corvix generate --strict` runs before it builds: the integrity check and the file check.
#pragma once

#include <optional>

#include "builder/cli/command_session.h"

namespace vandrel::builder::cli {

// Runs the integrity check (with what loading the document noted) and the file check on the
// session's document as it is about to be built, and prints the findings of each check that
// has any on out. Returns the number of findings (a file missing or of another size than
// recorded is one each); nullopt after the message when a check could not run.
std::optional<int> runStrictChecks(CommandContext& context, HeadlessSession& session);

}  // namespace vandrel::builder::cli
