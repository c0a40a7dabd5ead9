// corvix check DOC [--log FILE]: the integrity check through Scanlet.dll; prints the log.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "builder/cli/command_session.h"
#include "builder/generate/integrity_check.h"
#include "platform/code_page.h"

namespace vandrel::builder::cli {

CommandRun defineCheck(CLI::App& sub) {
  auto doc = std::make_shared<std::string>();
  auto log = std::make_shared<std::string>();
  sub.add_option("DOC", *doc, "the document (.cvx or text form)")->required();
  sub.add_option("--log", *log, "the log file (default: CheckLog.txt beside the document)");
  return [doc, log](CommandContext& context) {
    std::unique_ptr<HeadlessSession> session = openSession(context, *doc);
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
    // The log is code page text, as the checking library writes it.
    context.out << platform::cp1252ToUtf8(text.str());
    context.out.flush();
    return exit_status::Done;
  };
}

}  // namespace vandrel::builder::cli
