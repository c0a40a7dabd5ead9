// tamsin32: the setup engine program. Its whole command line is the source folder.
#include <filesystem>
#include <iostream>
#include <string>

#include "platform/machine.h"
#include "setup/driver.h"
#include "setup/setup_app.h"
#include "setup/strings/setup_strings.h"
#include "ui/interaction.h"

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
    std::cerr << "tamsin32: " << error.what() << '\n';
    return 1;
  }
  std::unique_ptr<ui::Interaction> interaction =
      ui::makeInteraction(ui::Program::Setup, ui::InteractionSettings::fromEnvironment());

  setup::SetupApp app(*machine, *interaction, setup::setupStrings());
  setup::DriverSteps steps;
  steps.copyTotal = setup::computeCopyTotal;
  steps.installFiles = setup::installFiles;
  return setup::exitStatusFor(setup::runInstallation(app, commandLine, steps));
}
