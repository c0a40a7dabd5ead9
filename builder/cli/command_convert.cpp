// corvix convert IN OUT: a document from one form into the other.
#include "builder/cli/command.h"
#include "builder/codec/document_io.h"
#include "platform/text/text_rules.h"

namespace vandrel::builder::cli {

namespace {

bool isCvxName(const std::filesystem::path& path) {
  return text::equalsNoCase(path.extension().string(), ".cvx");
}

}  // namespace

CommandRun defineConvert(CommandLine& sub) {
  auto in = std::make_shared<std::string>();
  auto out = std::make_shared<std::string>();
  sub.argument("IN", *in, "the document to read (.cvx or text form)");
  sub.argument("OUT", *out, "the file to write: .cvx gives a compound file, else the text form");
  return [in, out](CommandContext& context) {
    CScriptDoc doc;
    DocumentFile source;
    if (!source.open(doc, *in, context.ui())) return exit_status::Failed;
    reportLoad(context, source.diagnostics());
    if (isCvxName(*out)) {
      DocumentFile target(*out, DocumentForm::Compound);
      return target.save(doc, context.ui()) ? exit_status::Done : exit_status::Failed;
    }
    // The text form's own failure says what went wrong with the file.
    if (std::string error = writeDocumentText(doc, *out); !error.empty()) return fail(context, error);
    return exit_status::Done;
  };
}

}  // namespace vandrel::builder::cli
