// tamsin32: the setup engine program. Its whole command line is the source folder.
#include "platform/program_start.h"
#include "setup/driver.h"
#include "setup/setup_app.h"
#include "setup/strings/setup_strings.h"
#include "ui/interaction.h"

int main(int argc, char** argv) {
  using namespace vandrel;
  std::unique_ptr<platform::Machine> machine = platform::openProgramMachine("tamsin32", argv[0]);
  if (!machine) return 1;
  std::unique_ptr<ui::Interaction> interaction =
      ui::makeInteraction(ui::Program::Setup, ui::InteractionSettings::fromEnvironment());

  setup::SetupApp app(*machine, *interaction, setup::setupStrings());
  return setup::exitStatusFor(setup::runInstallation(app, platform::commandLineFrom(argc, argv)));
}
