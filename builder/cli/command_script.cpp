// corvix script DOC: Regenerate script only, into the folder of the last generation.
#include "builder/cli/command_session.h"
#include "builder/generate/package_generator.h"

namespace vandrel::builder::cli {

CommandRun defineScript(CLI::App& sub) {
  auto doc = std::make_shared<std::string>();
  auto noSave = std::make_shared<bool>(false);
  sub.add_option("DOC", *doc, "the document (.cvx or text form)")->required();
  sub.add_flag("--no-save", *noSave, "leave the document file as it is");
  return [doc, noSave](CommandContext& context) {
    std::unique_ptr<HeadlessSession> session = openSession(context, *doc);
    if (!session) return exit_status::Failed;
    PackageGenerator generator(session->doc, session->tree().entryOrder(), session->context());
    bool written = generator.regenerateScript();
    keepGenerationChoices(session->doc, generator);
    if (!*noSave && !session->saveIfModified()) return exit_status::Failed;
    return written ? exit_status::Done : exit_status::Failed;
  };
}

}  // namespace vandrel::builder::cli
