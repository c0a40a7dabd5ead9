// The checks of a strict generation: integrity and files, counted as `check` counts them.
#include "builder/cli/command_generate_strict.h"

#include "builder/generate/file_check.h"
#include "builder/generate/integrity_check.h"
#include "platform/code_page.h"

namespace vandrel::builder::cli {

namespace {

// The integrity check's findings, its log printed when there are any; the load's notes, shown
// on standard error when the document was opened, count as findings as they do for check.
std::optional<int> integrityFindings(CommandContext& context, HeadlessSession& session) {
  IntegrityCheckResult result = runIntegrityCheck(session.doc, session.tree(), session.context());
  if (result.outcome != IntegrityCheckResult::Outcome::Done) {
    fail(context, "the integrity check could not be run; nothing was generated");
    return std::nullopt;
  }
  CheckLog log = readCheckLog(session.machine().files(), result.logPath);
  if (!log.findings) {
    fail(context, "the check log " + result.logPath + " gives no count of findings");
    return std::nullopt;
  }
  const int found = *log.findings;
  if (found > 0) context.out << platform::cp1252ToUtf8(log.text);
  return found + int(session.loadDiagnostics().size());
}

// The file check's findings: files missing and files whose size is not the one recorded. The
// sizes it corrects are not kept, as nothing is built.
int fileFindings(CommandContext& context, HeadlessSession& session) {
  if (!canCheckFiles(session.doc)) return 0;
  FileCheckResult result = runFileCheck(session.doc, session.context());
  int found = result.missing + result.corrected;
  if (found > 0) context.out << platform::cp1252ToUtf8(fileCheckReport(result));
  return found;
}

}  // namespace

std::optional<int> runStrictChecks(CommandContext& context, HeadlessSession& session) {
  std::optional<int> integrity = integrityFindings(context, session);
  if (!integrity) return std::nullopt;
  int files = fileFindings(context, session);
  context.out.flush();
  return *integrity + files;
}

}  // namespace vandrel::builder::cli
