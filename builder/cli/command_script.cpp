// corvix script DOC [--set NAME=VALUE]...: Regenerate script only, into the folder of the last
// generation.
#include "builder/cli/command_session.h"
#include "builder/generate/package_generator.h"

namespace vandrel::builder::cli {

CommandRun defineScript(CommandLine& sub) {
  auto doc = std::make_shared<std::string>();
  auto noSave = std::make_shared<bool>(false);
  auto save = std::make_shared<bool>(false);
  sub.argument("DOC", *doc, "the document (.cvx or text form)");
  sub.flag("--no-save", *noSave, "leave a .cvx document file as it is");
  sub.flag("--save", *save, "write what the run changed back into a text-form document");
  auto variables = std::make_shared<std::vector<std::string>>();
  sub.option("--set", *variables,
             "NAME=VALUE: the value of the build variable $(NAME) in entry fields (repeatable)");
  return [doc, noSave, save, variables](CommandContext& context) {
    std::vector<std::string> settings = *variables;
    BuildValues values = takeBuildValues(settings);
    if (!settings.empty()) {
      return usageError(context, "--set " + settings.front() +
                                     ": script takes build variables only; change a setting "
                                     "with corvix set or generate --set");
    }
    std::unique_ptr<HeadlessSession> session = openSession(context, *doc);
    if (!session) return exit_status::Failed;
    noteBuildVariables(context, *session, values);
    if (std::optional<int> refused = refuseLoadErrors(context, *session, *doc)) return *refused;
    PackageGenerator generator(session->doc, session->tree().entryOrder(), session->context());
    generator.setBuildValues(values);
    bool written = generator.regenerateScript();
    keepGenerationChoices(session->doc, generator);
    if (!keepRunChanges(*session, *save, *noSave)) return exit_status::Failed;
    return written ? exit_status::Done : exit_status::Failed;
  };
}

}  // namespace vandrel::builder::cli
