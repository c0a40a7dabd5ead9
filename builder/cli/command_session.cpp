// Opening the document of a subcommand in a headless session.
#include "builder/cli/command_session.h"

#include <limits>
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

void noteBuildVariables(CommandContext& context, HeadlessSession& session, const BuildValues& given,
                        LoadReport report) {
  std::vector<std::string> unused;
  LoadDiagnostics found = session.noteBuildVariables(given, &unused);
  if (report == LoadReport::OnStandardError) reportLoad(context, found);
  // A name typed wrong would otherwise pass unseen: it is neither a setting nor used.
  for (const std::string& name : unused) {
    context.err << "corvix: warning: --set " << name << ": no setting has this name and no entry "
                   "field uses $(" << name << ")\n";
  }
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

bool settleChangedSizes(CommandContext& context, CScriptDoc& doc,
                        const std::vector<SizeChange>& changes, bool refresh) {
  for (const SizeChange& change : changes) {
    context.err << "corvix: " << platform::cp1252ToUtf8(change.path)
                << ": size changed since it was added: recorded " << change.recorded
                << " bytes, now " << change.actual << " bytes"
                << (refresh ? "; the new size is recorded" : "") << "\n";
  }
  if (!refresh) {
    context.err << "corvix: generation stopped; run again with --refresh-sizes to record the new "
                   "sizes, or check the files\n";
    return false;
  }
  for (const SizeChange& change : changes) {
    // Sizes are kept in 32 bits, as the script holds them.
    if (change.actual > std::uint64_t(std::numeric_limits<std::int32_t>::max())) {
      context.err << "corvix: " << platform::cp1252ToUtf8(change.path)
                  << ": too large for a package (sizes are kept in 32 bits)\n";
      return false;
    }
  }
  for (const SizeChange& change : changes)
    doc.files.at(change.file).size = std::int32_t(change.actual);
  doc.setModifiedFlag();
  return true;
}

}  // namespace vandrel::builder::cli
