// corvix new OUT.cvx: a new document with the defaults.
#include "builder/cli/command.h"
#include "builder/codec/document_io.h"

namespace vandrel::builder::cli {

CommandRun defineNew(CLI::App& sub) {
  auto out = std::make_shared<std::string>();
  sub.add_option("OUT", *out, "the document to write")->required();
  return [out](CommandContext& context) {
    CScriptDoc doc;
    doc.onNewDocument(context.userName());
    DocumentFile file(*out, DocumentForm::Compound);
    return file.save(doc, context.ui()) ? exit_status::Done : exit_status::Failed;
  };
}

}  // namespace vandrel::builder::cli
