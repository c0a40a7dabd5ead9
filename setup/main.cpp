// tamsin32: the setup engine program. Its command line is its switches, then the source folder.
#include <cstdio>

#include "platform/command_switches.h"
#include "platform/exit_statuses.h"
#include "platform/program_start.h"
#include "setup/directory_pass.h"
#include "setup/driver.h"
#include "setup/rollback/journaling_machine.h"
#include "setup/setup_app.h"
#include "setup/strings/setup_strings.h"
#include "setup/strings/string_ids.h"
#include "setup/window/gui_install_window.h"
#include "ui/action_log.h"
#include "ui/answers_check.h"
#include "ui/interaction.h"
#include "ui/run_witness.h"
#include "ui/stop_notice.h"
#include "ui/window_backend.h"

namespace {

// The usage text: the command line, then every switch.
std::string usage() {
  return "Usage: tamsin32 [SWITCHES] [SOURCE-FOLDER]\n"
         "Installs the package whose Script.vrx lies beside the engine, taking the package's files\n"
         "from SOURCE-FOLDER, a Windows path such as C:\\Pkg\\ (default: the engine's own folder).\n"
         "The switches come first; a help request or a switch the engine does not know ends it\n"
         "here, with exit status 2, before anything is changed.\n" +
         vandrel::platform::switchUsage();
}

// The package's optional components, as the components page offers them.
std::vector<long> optionalComponents(vandrel::setup::SetupApp& app) {
  vandrel::setup::SetupState probe;
  vandrel::setup::collectDirectories(app.script(), probe);
  return probe.optionalDirectories;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vandrel;
  const std::string commandLine = platform::commandLineFrom(argc, argv);
  // Asked for help, or given a switch it does not take, the engine answers before it opens
  // its machine.
  platform::CommandLineCheck check = platform::checkCommandLine(commandLine);
  if (check.verdict != platform::CommandLineVerdict::Run) {
    return platform::refuseCommandLine("tamsin32", check, usage() + platform::exitStatusHelp("tamsin32"));
  }
  // The switches stand for their environment variables from here on; an answers file with
  // entries the engine does not know stops it before its machine is opened.
  platform::applySwitches(check);
  if (!ui::answersFileAccepted("tamsin32")) return platform::kUsageStatus;
  std::unique_ptr<platform::Machine> machine = platform::openProgramMachine("tamsin32", argv[0]);
  if (!machine) return 1;
  ui::registerWindowBackend(argc, argv, machine->files());
  ui::InteractionSettings settings = ui::InteractionSettings::fromEnvironment();
  if (std::optional<std::string> problem = ui::answersFileProblem(ui::Program::Setup, settings)) {
    std::fprintf(stderr, "%s\n", problem->c_str());
    return 1;
  }
  if (std::optional<std::string> problem =
          ui::runFilesProblem(ui::Program::Setup, settings, ui::ActionLog::pathFromEnvironment())) {
    std::fprintf(stderr, "%s\n", problem->c_str());
    return 1;
  }
  // A plan changes nothing, so it needs no turn of its own.
  if (platform::planSetting() == platform::PlanSetting::Off) {
    ui::StandardErrorCopy lines;
    if (!platform::holdInstallationLock("tamsin32")) {
      // A user of the windows is told too, as the line tells a console.
      const script::StringTable& strings = setup::setupStrings();
      ui::Message stop{strings.get(setup::sid::Title), strings.get(setup::sid::InstallationRunning)};
      stop.detail = lines.lines("tamsin32");
      ui::showStopInWindow(ui::Program::Setup, settings, stop);
      return 1;
    }
  }
  // The witness remembers what ended the run, for the failure line below.
  auto witness = std::make_unique<ui::RunWitness>(ui::makeInteraction(ui::Program::Setup, settings));
  ui::RunWitness& seen = *witness;
  std::unique_ptr<ui::Interaction> interaction = std::move(witness);
  // With the gui, the install window stands behind the wizard and the copying.
  setup::DriverSteps steps;
  steps.holdsInstallationLock = platform::planSetting() == platform::PlanSetting::Off;
  std::unique_ptr<setup::InstallWindow> window = setup::window::makeGuiInstallWindow(*machine);
  steps.window = window.get();

  ui::ActionLog log(ui::Program::Setup, ui::ActionLog::pathFromEnvironment());
  log.setPlan(platform::planSetting() == platform::PlanSetting::On);
  // The installation runs over a journal of its changes, so that one that does not succeed
  // is taken back; a plan changes nothing and needs none.
  setup::rollback::JournalingMachine journaled(*machine);
  const bool journal = platform::planSetting() == platform::PlanSetting::Off;
  if (journal) steps.journal = &journaled.journal();
  steps.answersAccepted = [](setup::SetupApp& found) {
    return ui::answersComponentsAccepted("tamsin32", optionalComponents(found));
  };
  setup::SetupApp app(journal ? journaled : *machine, *interaction, setup::setupStrings(), &log);
  setup::DriverOutcome outcome = setup::runInstallation(app, check.rest, steps);
  int status = setup::exitStatusFor(outcome);
  // The summary's last words: what the exit status means.
  log.summary(status, status == 0   ? "the installation completed"
                      : status == 1 ? "the setup ended before its closing dialog"
                      : status == platform::kUsageStatus ? "the answers file was refused"
                                    : "the closing dialog reported status " +
                                          std::to_string(outcome.closingStatus.value_or(status - 10)));
  // An unattended or console run that did not succeed says why, after its own messages; a
  // refused answers file has already been named with its line.
  if (status != 0 && status != platform::kUsageStatus && ui::explainsOnStandardError(settings)) {
    ui::FailureFacts facts = ui::witnessedFacts(seen, app.state().failureCause);
    std::fprintf(stderr, "%s\n", ui::failureLine("tamsin32", "tamsin32", status, facts).c_str());
  }
  return status;
}
