// The command line and the machine of a starting program, on the emulated backend.
#include "platform/program_start.h"

#include <filesystem>
#include <iostream>

namespace vandrel::platform {

std::string commandLineFrom(int argc, char** argv) {
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine += ' ';
    commandLine += argv[i];
  }
  return commandLine;
}

std::unique_ptr<Machine> openProgramMachine(const std::string& program, const char* argv0,
                                            bool hostDriveWritable) {
  MachineOptions options;
  options.hostDriveWritable = hostDriveWritable;
  std::error_code error;
  options.executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) options.executable = std::filesystem::absolute(argv0, error);
  try {
    return openHostMachine(options);
  } catch (const MachineError& failure) {
    std::cerr << program << ": " << failure.what() << '\n';
    return nullptr;
  }
}

}  // namespace vandrel::platform
