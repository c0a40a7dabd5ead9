// corvix new OUT.cvx [--force]: a new document with the defaults; an existing file is kept
// unless --force says to replace it.
#include <filesystem>

#include "builder/cli/command.h"
#include "builder/codec/document_io.h"

namespace vandrel::builder::cli {

CommandRun defineNew(CommandLine& sub) {
  auto out = std::make_shared<std::string>();
  auto force = std::make_shared<bool>(false);
  sub.argument("OUT", *out, "the document to write");
  sub.flag("--force", *force, "replace OUT when it exists");
  return [out, force](CommandContext& context) {
    std::error_code ec;
    if (!*force && std::filesystem::exists(std::filesystem::symlink_status(*out, ec))) {
      return fail(context, *out + " exists already (--force replaces it)");
    }
    CScriptDoc doc;
    doc.onNewDocument(context.userName());
    DocumentFile file(*out, DocumentForm::Compound);
    return file.save(doc, context.ui()) ? exit_status::Done : exit_status::Failed;
  };
}

}  // namespace vandrel::builder::cli
