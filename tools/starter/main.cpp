// Setup.exe: the package starter that the user runs from the package's first disk.
#include <iostream>

#include "platform/program_start.h"
#include "tools/starter/starter.h"

int main(int, char** argv) {
  using namespace vandrel;
  std::unique_ptr<platform::Machine> machine = platform::openProgramMachine("Setup", argv[0]);
  if (!machine) return 1;
  std::string module = machine->process().moduleFileName();
  std::size_t backslash = module.rfind('\\');
  if (backslash == std::string::npos) {
    std::cerr << "Setup: the package folder of " << argv[0] << " is not on a drive\n";
    return 1;
  }
  return starter::runStarter(*machine, module.substr(0, backslash + 1), std::cerr);
}
