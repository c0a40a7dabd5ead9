// corvix dump DOC: the document text form on standard output.
#include <ostream>

#include "builder/cli/command.h"
#include "builder/codec/document_io.h"
#include "builder/codec/document_text.h"

namespace vandrel::builder::cli {

CommandRun defineDump(CommandLine& sub) {
  auto path = std::make_shared<std::string>();
  sub.argument("DOC", *path, "the document to show");
  return [path](CommandContext& context) {
    CScriptDoc doc;
    DocumentFile file;
    if (!file.open(doc, *path, context.ui())) return exit_status::Failed;
    reportLoad(context, file.diagnostics());
    context.out << documentText(doc);
    context.out.flush();
    return context.out ? exit_status::Done : exit_status::Failed;
  };
}

}  // namespace vandrel::builder::cli
