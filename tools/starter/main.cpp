// Setup.exe: the package starter that the user runs from the package's first disk.
#include <iostream>

#include "platform/command_switches.h"
#include "platform/exit_statuses.h"
#include "platform/program_start.h"
#include "script/script_reader.h"
#include "setup/directory_pass.h"
#include "setup/strings/setup_strings.h"
#include "setup/strings/string_ids.h"
#include "tools/starter/starter.h"
#include "ui/answers_check.h"
#include "ui/stop_notice.h"
#include "ui/window_backend.h"

namespace {

// The usage text: the command line, then every switch.
std::string usage() {
  return "Usage: Setup.exe [SWITCHES]\n"
         "Expands the setup engine of the package in its own folder into the Windows folder and\n"
         "runs it on the package, passing the switches on; its exit status is the engine's. A\n"
         "help request or a switch it does not know ends it here, with exit status 2, before\n"
         "anything is changed.\n" +
         vandrel::platform::switchUsage();
}

// The optional components of the package's script, as its components page offers them.
std::vector<long> optionalComponents(vandrel::platform::Machine& machine, const std::string& packageFolder) {
  vandrel::script::ScriptReader script(machine.profile(), packageFolder + vandrel::starter::kScript);
  vandrel::setup::SetupState probe;
  vandrel::setup::collectDirectories(script, probe);
  return probe.optionalDirectories;
}

// The setup's own text for what stopped the starter, shown to a user of the windows with the
// starter's lines under it.
unsigned stopText(vandrel::starter::StarterStop stop) {
  using vandrel::starter::StarterStop;
  namespace sid = vandrel::setup::sid;
  switch (stop) {
    case StarterStop::NoPackage: return sid::ScriptMissing;
    case StarterStop::WindowsFolder: return sid::EngineNotPlaced;
    case StarterStop::EngineStart:
    case StarterStop::None: break;
  }
  return sid::EngineNotStarted;
}

// Stops the starter with status 1; a run with windows shows why in a message box first.
int stopWith(unsigned text, const vandrel::ui::StandardErrorCopy& lines) {
  using namespace vandrel;
  const script::StringTable& strings = setup::setupStrings();
  ui::Message stop{strings.get(setup::sid::Title), strings.get(text)};
  stop.detail = lines.lines("Setup");
  ui::showStopInWindow(ui::Program::Setup, ui::InteractionSettings::fromEnvironment(), stop);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vandrel;
  // Asked for help, or given a switch it does not know, the starter answers before it opens
  // its machine.
  platform::CommandLineCheck check = platform::checkCommandLine(platform::commandLineFrom(argc, argv));
  if (check.verdict != platform::CommandLineVerdict::Run) {
    return platform::refuseCommandLine("Setup", check, usage() + platform::exitStatusHelp("Setup.exe") +
                                                       platform::exitStatusHelp("tamsin32", "Passed on from the engine:"));
  }
  // The switches are passed on as the environment variables they stand for, which the
  // engine started below inherits; an answers file with entries the setup does not know
  // stops the starter before it expands anything.
  platform::applySwitches(check);
  // Entries accepted leniently are named once, by the engine.
  if (!ui::answersFileAccepted("Setup", false)) return platform::kUsageStatus;
  std::unique_ptr<platform::Machine> machine = platform::openProgramMachine("Setup", argv[0]);
  if (!machine) return 1;
  // Nothing here shows a window unless the starter stops: then a user of the windows is told
  // why, as the lines on standard error tell a console.
  ui::registerWindowBackend(argc, argv, machine->files());
  ui::StandardErrorCopy lines;
  std::string module = machine->process().moduleFileName();
  std::size_t backslash = module.rfind('\\');
  if (backslash == std::string::npos) {
    std::cerr << "Setup: the package folder of " << argv[0] << " is not on a drive\n";
    return stopWith(setup::sid::ScriptMissing, lines);
  }
  const std::string packageFolder = module.substr(0, backslash + 1);
  // Components the package does not have stop the run here too, before the engine is
  // expanded, as the engine would stop it (a starter outside its package says so below).
  bool packaged = machine->files().status(packageFolder + starter::kScript).has_value();
  if (packaged && !ui::answersComponentsAccepted("Setup", optionalComponents(*machine, packageFolder), false)) {
    return platform::kUsageStatus;
  }
  // The engine and its script go into the Windows folder under fixed names, so a second
  // package started meanwhile must not put its own there: the starter takes the
  // installation's turn and hands it down to the engine. A plan changes nothing.
  if (platform::planSetting() == platform::PlanSetting::Off) {
    if (!platform::holdInstallationLock("Setup")) return stopWith(setup::sid::InstallationRunning, lines);
    platform::handInstallationLockDown();
  }
  starter::StarterStop stop = starter::StarterStop::None;
  int status = starter::runStarter(*machine, packageFolder, std::cerr, &stop);
  return stop == starter::StarterStop::None ? status : stopWith(stopText(stop), lines);
}
