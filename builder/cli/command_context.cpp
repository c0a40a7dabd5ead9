// The context of a corvix subcommand: interaction port and machine, made when first needed.
#include <iostream>

#include "builder/cli/command.h"
#include "platform/program_start.h"

namespace vandrel::builder::cli {

CommandContext::CommandContext(std::ostream& o, std::ostream& e) : out(o), err(e) {}
CommandContext::~CommandContext() = default;

ui::Interaction& CommandContext::ui() {
  if (!ui_) {
    ui::InteractionSettings settings = ui::InteractionSettings::fromEnvironment();
    // The unattended backend prints the stop and warning messages on standard error itself.
    ui_ = ui::makeInteraction(ui::Program::Builder, settings);
  }
  return *ui_;
}

platform::Machine* CommandContext::machine() {
  if (!machineTried_) {
    machineTried_ = true;
    platform::MachineOptions options;
    options.hostDriveWritable = true;
    options.madeNewMachine = [this](const std::filesystem::path& root) {
      err << platform::newMachineNotice("corvix", root) << "\n";
    };
    try {
      machine_ = platform::openHostMachine(options);
    } catch (const std::exception& e) {
      err << "corvix: " << e.what() << "\n";
    }
  }
  return machine_.get();
}

std::optional<std::string> CommandContext::windowsPath(const std::filesystem::path& host) {
  platform::Machine* m = machine();
  if (!m) return std::nullopt;
  return m->files().windowsPath(std::filesystem::absolute(host));
}

std::optional<std::string> CommandContext::userName() {
  platform::Machine* m = machine();
  if (!m) return std::nullopt;
  return m->system().userName();
}

int fail(CommandContext& context, const std::string& text) {
  context.err << "corvix: " << text << "\n";
  return exit_status::Failed;
}

}  // namespace vandrel::builder::cli
