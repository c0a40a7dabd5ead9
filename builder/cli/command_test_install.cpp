// corvix test DOC: Test install, on the machine of VANDREL_MACHINE.
#include "builder/cli/command_session.h"
#include "builder/generate/test_install.h"

namespace vandrel::builder::cli {

CommandRun defineTest(CLI::App& sub) {
  auto doc = std::make_shared<std::string>();
  auto noSave = std::make_shared<bool>(false);
  sub.add_option("DOC", *doc, "the document (.cvx or text form)")->required();
  sub.add_flag("--no-save", *noSave, "leave the document file as it is");
  return [doc, noSave](CommandContext& context) {
    std::unique_ptr<HeadlessSession> session = openSession(context, *doc);
    if (!session) return exit_status::Failed;
    if (std::optional<int> refused = refuseLoadErrors(context, *session, *doc)) return *refused;
    if (!PackageGenerator::canGenerate(session->doc)) {
      return fail(context, "the document installs nothing: it has no groups, Win.ini or registry "
                           "entries, files or shortcuts");
    }
    PackageGenerator generator(session->doc, session->tree().entryOrder(), session->context());
    TestInstallOutcome outcome = runTestInstall(session->doc, generator, session->context());
    if (!*noSave && !session->saveIfModified()) return exit_status::Failed;
    return outcome == TestInstallOutcome::Started ? exit_status::Done : exit_status::Failed;
  };
}

}  // namespace vandrel::builder::cli
