// Setup.exe: the package starter that the user runs from the package's first disk.
#include <filesystem>
#include <iostream>

#include "platform/machine.h"
#include "tools/starter/starter.h"

int main(int, char** argv) {
  using namespace vandrel;
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) self = std::filesystem::absolute(argv[0]);
  platform::MachineOptions options;
  options.executable = self;
  std::unique_ptr<platform::Machine> machine;
  try {
    machine = platform::openHostMachine(options);
  } catch (const platform::MachineError& failure) {
    std::cerr << "Setup: " << failure.what() << '\n';
    return 1;
  }
  std::string module = machine->process().moduleFileName();
  std::size_t backslash = module.rfind('\\');
  if (backslash == std::string::npos) {
    std::cerr << "Setup: the package folder " << self.parent_path() << " is not on a drive\n";
    return 1;
  }
  return starter::runStarter(*machine, module.substr(0, backslash + 1), std::cerr);
}
