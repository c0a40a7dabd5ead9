// corvix test DOC [--machine ROOT]: Test install on the machine of VANDREL_MACHINE (or ROOT);
// waits for the setup and passes on its exit status.
#include <cstdlib>
#include <filesystem>

#include "builder/cli/command_session.h"
#include "builder/generate/test_install.h"
#include "platform/host_environment.h"

namespace vandrel::builder::cli {

CommandRun defineTest(CommandLine& sub) {
  struct Options {
    std::string doc, machine;
    bool noSave = false, save = false, refreshSizes = false;
  };
  auto o = std::make_shared<Options>();
  sub.argument("DOC", o->doc, "the document (.cvx or text form)");
  sub.option("--machine", o->machine,
                 "the machine root to install on (instead of VANDREL_MACHINE)");
  sub.flag("--refresh-sizes", o->refreshSizes,
               "when the package is generated first: record the new size of a file that "
               "changed since it was added, and go on");
  sub.flag("--no-save", o->noSave, "leave a .cvx document file as it is");
  sub.flag("--save", o->save, "write what the run changed back into a text-form document");
  return [o](CommandContext& context) {
    if (!o->machine.empty()) {
      // Set before the machine is first opened; the setup started inherits it as well.
      std::error_code ec;
      std::filesystem::path root = std::filesystem::absolute(o->machine, ec);
      if (ec) return usageError(context, "cannot use the machine root " + o->machine);
      platform::setHostEnvironment("VANDREL_MACHINE", root.string());
    }
    std::unique_ptr<HeadlessSession> session = openSession(context, o->doc);
    if (!session) return exit_status::Failed;
    if (std::optional<int> refused = refuseLoadErrors(context, *session, o->doc)) return *refused;
    if (!PackageGenerator::canGenerate(session->doc)) {
      return fail(context, "the document installs nothing: it has no groups, Win.ini or registry "
                           "entries, files or shortcuts");
    }
    PackageGenerator generator(session->doc, session->tree().entryOrder(), session->context());
    GenerateOptions options;
    options.changedSizes = [&](const std::vector<SizeChange>& changes) {
      return settleChangedSizes(context, session->doc, changes, o->refreshSizes);
    };
    TestInstallResult result =
        runTestInstall(session->doc, generator, session->context(), options, StarterLaunch::Wait);
    if (!keepRunChanges(*session, o->save, o->noSave)) return exit_status::Failed;
    if (result.outcome != TestInstallOutcome::Started) {
      return fail(context, "the setup of " + o->doc + " was not started: " + result.whyNotStarted +
                               ". To do: generate its package first (corvix generate " + o->doc +
                               " --out FOLDER --save) and test it again");
    }
    return result.setupStatus.value_or(exit_status::Failed);
  };
}

}  // namespace vandrel::builder::cli
