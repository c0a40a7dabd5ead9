// Setup.exe: the package starter that the user runs from the package's first disk.
#include <iostream>

#include "platform/program_start.h"
#include "tools/starter/starter.h"

int main(int, char** argv) {
  using namespace vandrel;
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
