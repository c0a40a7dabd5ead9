// Opening the document of a subcommand in a headless session.
#include "builder/cli/command_session.h"

namespace vandrel::builder::cli {

std::unique_ptr<HeadlessSession> openSession(CommandContext& context, const std::string& document) {
  platform::Machine* machine = context.machine();
  if (!machine) return nullptr;
  auto session = std::make_unique<HeadlessSession>(*machine, context.ui());
  if (!session->open(document)) return nullptr;
  return session;
}

bool keepRunChanges(HeadlessSession& session, bool save, bool noSave) {
  bool wanted = session.isTextForm() ? save && !noSave : !noSave;
  return !wanted || session.saveIfModified();
}

}  // namespace vandrel::builder::cli
