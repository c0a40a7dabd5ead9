// Opening the document of a subcommand in a headless session.
#include "builder/cli/command_session.h"

#include <ostream>

#include "platform/code_page.h"

namespace vandrel::builder::cli {

void reportLoad(CommandContext& context, const LoadDiagnostics& diagnostics) {
  for (const LoadDiagnostic& d : diagnostics) context.err << "corvix: " << platform::cp1252ToUtf8(diagnosticText(d)) << "\n";
}

std::unique_ptr<HeadlessSession> openSession(CommandContext& context, const std::string& document,
                                             LoadReport report) {
  platform::Machine* machine = context.machine();
  if (!machine) return nullptr;
  auto session = std::make_unique<HeadlessSession>(*machine, context.ui());
  if (!session->open(document)) return nullptr;
  if (report == LoadReport::OnStandardError) reportLoad(context, session->loadDiagnostics());
  return session;
}

std::optional<int> refuseLoadErrors(CommandContext& context, const HeadlessSession& session,
                                    const std::string& document) {
  int errors = errorCount(session.loadDiagnostics());
  if (errors == 0) return std::nullopt;
  return fail(context, "nothing is built from " + document + ": loading it found " +
                           decimal(errors) + " error(s), listed above");
}

bool keepRunChanges(HeadlessSession& session, bool save, bool noSave) {
  bool wanted = session.isTextForm() ? save && !noSave : !noSave;
  return !wanted || session.saveIfModified();
}

}  // namespace vandrel::builder::cli
