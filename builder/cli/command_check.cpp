// corvix check DOC [--log FILE] [--warn-only] [--set KEY=VALUE]...: the integrity check through
// Scanlet.dll; prints what loading the document could not read as written (build variables that
// cannot be filled in included), then the log, and exits 1 when either has findings (0 with
// --warn-only). With a signing certificate configured (VANDREL_SIGN_*), a note follows when the
// document's last package has an unsigned Setup.exe.
#include <filesystem>
#include <fstream>

#include "builder/cli/command_session.h"
#include "builder/generate/engine_files.h"
#include "builder/generate/integrity_check.h"
#include "builder/sign/authenticode_signer.h"
#include "platform/code_page.h"

namespace vandrel::builder::cli {

namespace {

// The note on the last package's signature, when a certificate is configured; empty when the
// package is signed, was never generated, or no certificate is configured.
std::string signatureNote(HeadlessSession& session) {
  if (!signingKeysFromEnvironment(processEnvironment).configured()) return "";
  const std::string& folder = session.doc.settings.lastGenPath;
  if (folder.empty()) return "";
  std::string starter = enginePairs(session.doc.settings).front().onDisk;
  std::string path = folder + (folder.back() == '\\' ? "" : "\\") + starter;
  std::optional<std::filesystem::path> host = session.machine().files().hostPath(path);
  std::ifstream in(host ? *host : std::filesystem::path(), std::ios::binary);
  if (!in) return "";
  std::string image((std::istreambuf_iterator<char>(in)), {});
  if (!isPeImage(image)) {
    return "note: the package's " + starter + " is not a Windows program and cannot be signed (" +
           path + ")\n";
  }
  if (hasSignature(image)) return "";
  return "note: the package's " + starter + " is not signed, though a certificate is configured (" +
         path + "): generate it with --sign\n";
}

}  // namespace

CommandRun defineCheck(CommandLine& sub) {
  auto doc = std::make_shared<std::string>();
  auto log = std::make_shared<std::string>();
  auto warnOnly = std::make_shared<bool>(false);
  auto overrides = std::make_shared<std::vector<std::string>>();
  sub.argument("DOC", *doc, "the document (.cvx or text form)");
  sub.option("--log", *log, "the log file (default: CheckLog.txt beside the document)");
  sub.flag("--warn-only", *warnOnly, "exit 0 even when the check has findings");
  sub.option("--set", *overrides,
             "KEY=VALUE: a setting for this check only, or the value of the build variable "
             "$(KEY) in entry fields (repeatable), as generate takes them");
  return [doc, log, warnOnly, overrides](CommandContext& context) {
    std::vector<std::string> settings = *overrides;
    BuildValues values = takeBuildValues(settings);
    std::unique_ptr<HeadlessSession> session = openSession(context, *doc, LoadReport::ByCaller);
    if (!session) return exit_status::Failed;
    std::string refused = applySettings(session->doc, settings);
    if (!refused.empty()) return usageError(context, refused);
    noteBuildVariables(context, *session, values, LoadReport::ByCaller);
    IntegrityCheckOptions options;
    options.reportViewerFailure = false;
    if (!log->empty()) {
      options.logPath = context.windowsPath(*log);
      if (!options.logPath) return fail(context, "cannot use the log file " + *log);
    }
    IntegrityCheckResult result =
        runIntegrityCheck(session->doc, session->tree(), session->context(), options);
    if (result.outcome != IntegrityCheckResult::Outcome::Done) return exit_status::Failed;
    CheckLog checkLog = readCheckLog(session->machine().files(), result.logPath);
    // The lines the document's loading could not read come first, one finding each; the log
    // is code page text, as the checking library writes it.
    const LoadDiagnostics& notes = session->loadDiagnostics();
    for (const LoadDiagnostic& d : notes) context.out << platform::cp1252ToUtf8(diagnosticText(d)) << "\n";
    context.out << platform::cp1252ToUtf8(checkLog.text);
    context.out << signatureNote(*session);
    context.out.flush();
    std::optional<int> findings = checkLog.findings;
    if (!findings) return fail(context, "the check log " + result.logPath + " gives no count of findings");
    int total = *findings + int(notes.size());
    if (total > 0 && !*warnOnly) {
      context.err << "corvix: the check has " << total << " finding(s)";
      if (!notes.empty()) context.err << ", " << notes.size() << " of them in loading the document";
      context.err << "\n";
      return exit_status::Failed;
    }
    return exit_status::Done;
  };
}

}  // namespace vandrel::builder::cli
