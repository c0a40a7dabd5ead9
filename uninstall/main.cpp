// peskin32: the uninstaller program. Its command line is its switches, then the installation
// folder or the clean-up switch.
#include <cstdio>

#include "platform/command_switches.h"
#include "platform/exit_statuses.h"
#include "platform/program_start.h"
#include "ui/action_log.h"
#include "ui/answers_check.h"
#include "ui/interaction.h"
#include "ui/run_witness.h"
#include "ui/stop_notice.h"
#include "ui/window_backend.h"
#include "uninstall/driver.h"
#include "uninstall/strings/string_ids.h"
#include "uninstall/strings/uninstall_strings.h"

namespace {

// The usage text: the command lines, then every switch.
std::string usage() {
  return "Usage: peskin32 [SWITCHES] INSTALLATION-FOLDER\n"
         "       peskin32 /DeleteTemp\n"
         "Removes the installation whose Script.vrx lies in INSTALLATION-FOLDER, a Windows path\n"
         "such as \"C:\\Program Files\\Tool\"; /DeleteTemp deletes the setup's temporary copies of\n"
         "its engine and script from the Windows folder. The switches come first; a help request\n"
         "or a switch the uninstaller does not know ends it here, with exit status 2, before\n"
         "anything is changed.\n" +
         vandrel::platform::switchUsage();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vandrel;
  const std::string commandLine = platform::commandLineFrom(argc, argv);
  // Asked for help, or given a switch it does not take, the uninstaller answers before it
  // opens its machine. Its clean-up switch, alone or followed by more, is its own to read.
  platform::CommandLineCheck check = platform::checkCommandLine(commandLine, {"/DeleteTemp"});
  if (check.verdict != platform::CommandLineVerdict::Run) {
    return platform::refuseCommandLine("peskin32", check, usage() + platform::exitStatusHelp("peskin32"));
  }
  // The switches stand for their environment variables from here on; an answers file with
  // entries the uninstaller does not know stops it before its machine is opened.
  platform::applySwitches(check);
  if (!ui::answersFileAccepted("peskin32")) return platform::kUsageStatus;
  std::unique_ptr<platform::Machine> machine = platform::openProgramMachine("peskin32", argv[0]);
  if (!machine) return 1;
  ui::registerWindowBackend(argc, argv, machine->files());
  ui::InteractionSettings settings = ui::InteractionSettings::fromEnvironment();
  if (std::optional<std::string> problem = ui::answersFileProblem(ui::Program::Uninstall, settings)) {
    std::fprintf(stderr, "%s\n", problem->c_str());
    return 1;
  }
  if (std::optional<std::string> problem =
          ui::runFilesProblem(ui::Program::Uninstall, settings, ui::ActionLog::pathFromEnvironment())) {
    std::fprintf(stderr, "%s\n", problem->c_str());
    return 1;
  }
  // A removal takes its turn like an installation; a plan changes nothing and needs none.
  if (platform::planSetting() == platform::PlanSetting::Off) {
    ui::StandardErrorCopy lines;
    if (!platform::holdInstallationLock("peskin32")) {
      // A user of the windows is told too, as the line tells a console.
      const script::StringTable& strings = uninstall::uninstallStrings();
      ui::Message stop{strings.get(uninstall::ids::Title), strings.get(uninstall::ids::InstallationRunning)};
      stop.detail = lines.lines("peskin32");
      ui::showStopInWindow(ui::Program::Uninstall, settings, stop);
      return 1;
    }
  }
  // The witness remembers what ended the run, for the failure line below.
  auto witness = std::make_unique<ui::RunWitness>(ui::makeInteraction(ui::Program::Uninstall, settings));
  ui::RunWitness& seen = *witness;
  std::unique_ptr<ui::Interaction> interaction = std::move(witness);

  ui::ActionLog log(ui::Program::Uninstall, ui::ActionLog::pathFromEnvironment());
  log.setPlan(platform::planSetting() == platform::PlanSetting::On);
  uninstall::UninstallApp app(*machine, *interaction, uninstall::uninstallStrings(), &log);
  uninstall::Ending ending = uninstall::runUninstaller(app, check.rest);
  int status = uninstall::exitStatusFor(ending);
  log.summary(status, uninstall::exitMeaning(ending));
  // An unattended or console run that did not succeed says why, after its own messages.
  if (status != 0 && ui::explainsOnStandardError(settings)) {
    ui::FailureFacts facts = ui::witnessedFacts(seen, uninstall::failureCause(app, ending));
    std::fprintf(stderr, "%s\n", ui::failureLine("peskin32", "peskin32", status, facts).c_str());
  }
  return status;
}
