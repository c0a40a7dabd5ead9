// corvix check-files DOC: the file check; prints the counters and the results table.
#include "builder/cli/command_session.h"
#include "builder/generate/file_check.h"
#include "platform/code_page.h"

namespace vandrel::builder::cli {

CommandRun defineCheckFiles(CommandLine& sub) {
  auto doc = std::make_shared<std::string>();
  auto noSave = std::make_shared<bool>(false);
  auto save = std::make_shared<bool>(false);
  sub.argument("DOC", *doc, "the document (.cvx or text form)");
  sub.flag("--no-save", *noSave, "leave a .cvx document file as it is");
  sub.flag("--save", *save,
               "write the corrected sources and sizes back into a text-form document");
  return [doc, noSave, save](CommandContext& context) {
    std::unique_ptr<HeadlessSession> session = openSession(context, *doc);
    if (!session) return exit_status::Failed;
    if (!canCheckFiles(session->doc)) return fail(context, "the document has no file to copy");
    FileCheckResult result = runFileCheck(session->doc, session->context());
    context.out << platform::cp1252ToUtf8(fileCheckReport(result));
    context.out.flush();
    if (!keepRunChanges(*session, *save, *noSave)) return exit_status::Failed;
    return exit_status::Done;
  };
}

}  // namespace vandrel::builder::cli
