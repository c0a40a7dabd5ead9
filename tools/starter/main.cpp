// Setup.exe: the package starter that the user runs from the package's first disk.
#include <iostream>

#include "platform/command_switches.h"
#include "platform/exit_statuses.h"
#include "platform/program_start.h"
#include "tools/starter/starter.h"

namespace {

const char* const kUsage =
    "Usage: Setup.exe\n"
    "Expands the setup engine of the package in its own folder into the Windows folder and\n"
    "runs it on the package; its exit status is the engine's. It takes no switches: a help\n"
    "request or a switch ends it here, with exit status 2, before anything is changed.\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace vandrel;
  // Asked for help, or given a switch, the starter answers before it opens its machine.
  platform::CommandLineCheck check = platform::checkCommandLine(platform::commandLineFrom(argc, argv));
  if (check.verdict != platform::CommandLineVerdict::Run) {
    return platform::refuseCommandLine("Setup", check, kUsage + platform::exitStatusHelp("Setup.exe") +
                                                       platform::exitStatusHelp("tamsin32", "Passed on from the engine:"));
  }
  std::unique_ptr<platform::Machine> machine = platform::openProgramMachine("Setup", argv[0]);
  if (!machine) return 1;
  // The engine and its script go into the Windows folder under fixed names, so a second
  // package started meanwhile must not put its own there: the starter takes the
  // installation's turn and hands it down to the engine. A plan changes nothing.
  if (platform::planSetting() == platform::PlanSetting::Off) {
    if (!platform::holdInstallationLock("Setup")) return 1;
    platform::handInstallationLockDown();
  }
  std::string module = machine->process().moduleFileName();
  std::size_t backslash = module.rfind('\\');
  if (backslash == std::string::npos) {
    std::cerr << "Setup: the package folder of " << argv[0] << " is not on a drive\n";
    return 1;
  }
  return starter::runStarter(*machine, module.substr(0, backslash + 1), std::cerr);
}
