// The document of a subcommand, opened the one way every document command opens it.
#pragma once

#include <memory>
#include <string>

#include "builder/cli/command.h"
#include "builder/generate/headless_session.h"

namespace vandrel::builder::cli {

// The document at the host path in a headless session over the context's machine; saved back
// through the session in the form it was read in. nullptr after the message when the machine
// or the document cannot be opened.
std::unique_ptr<HeadlessSession> openSession(CommandContext& context, const std::string& document);

}  // namespace vandrel::builder::cli
