// corvix merge DOC OTHER [--entries-only]: the import command, OTHER's entries (and settings)
// into DOC, saved.
#include <filesystem>

#include "builder/cli/command_session.h"

namespace vandrel::builder::cli {

CommandRun defineMerge(CommandLine& sub) {
  auto doc = std::make_shared<std::string>();
  auto other = std::make_shared<std::string>();
  auto entriesOnly = std::make_shared<bool>(false);
  sub.argument("DOC", *doc, "the document that receives (.cvx or text form)");
  sub.argument("OTHER", *other,
               "the document whose entries and settings are imported: a .cvx, or a text form "
               "under any name");
  sub.flag("--entries-only", *entriesOnly, "keep DOC's settings; import OTHER's entries only");
  return [doc, other, entriesOnly](CommandContext& context) {
    std::unique_ptr<HeadlessSession> session = openSession(context, *doc);
    if (!session) return exit_status::Failed;
    std::string chosen = std::filesystem::absolute(*other).string();
    LoadDiagnostics diagnostics;
    MergeOptions options;
    options.entriesOnly = *entriesOnly;
    bool imported = mergeDocumentFile(session->doc, std::filesystem::absolute(*doc), chosen,
                                      options, context.ui(), &diagnostics);
    for (LoadDiagnostic& d : diagnostics) d.file = *other;
    reportLoad(context, diagnostics);
    if (!imported) return fail(context, "nothing was imported from " + *other);
    // What OTHER says is not what was read: the document is left as it was.
    if (int errors = errorCount(diagnostics)) {
      return fail(context, "nothing is merged from " + *other + ": loading it found " +
                               decimal(errors) + " error(s), listed above");
    }
    session->tree().syncFromDocument();  // the new entries get their items, as after a load
    return session->saveIfModified() ? exit_status::Done : exit_status::Failed;
  };
}

}  // namespace vandrel::builder::cli
