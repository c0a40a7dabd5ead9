// corvix check DOC [--log FILE] [--warn-only]: the integrity check through Scanlet.dll; prints
// what loading the document could not read as written, then the log, and exits 1 when either
// has findings (0 with --warn-only).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "builder/cli/command_session.h"
#include "builder/generate/integrity_check.h"
#include "platform/code_page.h"

namespace vandrel::builder::cli {

namespace {

// The number of findings the log's last line gives ("; 3 finding(s)"); nullopt without it.
std::optional<int> findingCount(const std::string& log) {
  std::size_t end = log.find_last_not_of("\r\n");
  if (end == std::string::npos) return std::nullopt;
  std::size_t newline = log.rfind('\n', end);
  std::size_t start = newline == std::string::npos ? 0 : newline + 1;
  std::string last = log.substr(start, end + 1 - start);
  int count = 0;
  char tail[16] = {};
  if (std::sscanf(last.c_str(), "; %d finding(s%15[)]", &count, tail) != 2 || count < 0) {
    return std::nullopt;
  }
  return count;
}

}  // namespace

CommandRun defineCheck(CommandLine& sub) {
  auto doc = std::make_shared<std::string>();
  auto log = std::make_shared<std::string>();
  auto warnOnly = std::make_shared<bool>(false);
  sub.argument("DOC", *doc, "the document (.cvx or text form)");
  sub.option("--log", *log, "the log file (default: CheckLog.txt beside the document)");
  sub.flag("--warn-only", *warnOnly, "exit 0 even when the check has findings");
  return [doc, log, warnOnly](CommandContext& context) {
    std::unique_ptr<HeadlessSession> session = openSession(context, *doc, LoadReport::ByCaller);
    if (!session) return exit_status::Failed;
    IntegrityCheckOptions options;
    if (!log->empty()) {
      options.logPath = context.windowsPath(*log);
      if (!options.logPath) return fail(context, "cannot use the log file " + *log);
    }
    IntegrityCheckResult result =
        runIntegrityCheck(session->doc, session->tree(), session->context(), options);
    if (result.outcome != IntegrityCheckResult::Outcome::Done) return exit_status::Failed;
    std::optional<std::filesystem::path> host = session->machine().files().hostPath(result.logPath);
    std::ifstream in(host ? *host : std::filesystem::path());
    std::stringstream text;
    text << in.rdbuf();
    // The lines the document's loading could not read come first, one finding each; the log
    // is code page text, as the checking library writes it.
    const LoadDiagnostics& notes = session->loadDiagnostics();
    for (const LoadDiagnostic& d : notes) context.out << platform::cp1252ToUtf8(diagnosticText(d)) << "\n";
    context.out << platform::cp1252ToUtf8(text.str());
    context.out.flush();
    std::optional<int> findings = findingCount(text.str());
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
