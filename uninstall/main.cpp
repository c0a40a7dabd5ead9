// peskin32: the uninstaller program. Its whole command line is the installation folder, or
// the clean-up switch.
#include <filesystem>
#include <iostream>
#include <string>

#include "platform/machine.h"
#include "ui/interaction.h"
#include "uninstall/driver.h"
#include "uninstall/strings/uninstall_strings.h"

namespace {

std::filesystem::path ownExecutable(const char* argv0) {
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) return self;
  return std::filesystem::absolute(argv0, error);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vandrel;
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine += ' ';
    commandLine += argv[i];
  }

  platform::MachineOptions options;
  options.executable = ownExecutable(argv[0]);
  std::unique_ptr<platform::Machine> machine;
  try {
    machine = platform::openHostMachine(options);
  } catch (const platform::MachineError& error) {
    std::cerr << "peskin32: " << error.what() << '\n';
    return 1;
  }
  std::unique_ptr<ui::Interaction> interaction =
      ui::makeInteraction(ui::Program::Uninstall, ui::InteractionSettings::fromEnvironment());

  uninstall::UninstallApp app(*machine, *interaction, uninstall::uninstallStrings());
  return uninstall::exitStatusFor(uninstall::runUninstaller(app, commandLine));
}
