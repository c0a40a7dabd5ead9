// corvix: the builder. With a subcommand it runs one document command headless; without
// one, or with the path of an existing document, it is the graphical builder.
#include <CLI/CLI.hpp>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "builder/cli/command.h"
#include "builder/cli/gui_entry.h"
#include "builder/generate/progress_service.h"
#include "platform/exit_statuses.h"
#include "platform/program_start.h"
#include "ui/interaction.h"

namespace cli = vandrel::builder::cli;

namespace {

bool isSubcommand(const char* word) {
  for (const cli::CommandSpec& spec : cli::commandTable()) {
    if (std::strcmp(spec.name, word) == 0) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  vandrel::platform::makeEnvironmentPathsAbsolute();
  // A first argument that is neither an option nor a subcommand is a document for the GUI;
  // when no such file exists it is a mistyped subcommand, refused as a usage error.
  if (argc >= 2 && argv[1][0] != '-' && !isSubcommand(argv[1])) {
    std::error_code ec;
    if (!std::filesystem::exists(argv[1], ec)) {
      std::cerr << "corvix: unknown subcommand, and no such document: " << argv[1]
                << " (see corvix --help)\n";
      return cli::exit_status::Usage;
    }
  }
  if (argc < 2 || (argv[1][0] != '-' && !isSubcommand(argv[1]))) return cli::runGui(argc, argv);

  CLI::App app{"Corvix v3.0: the installation builder"};
  app.require_subcommand(1, 1);
  app.footer(vandrel::platform::exitStatusHelp("corvix") + vandrel::platform::environmentHelp());
  app.set_version_flag("--version", "corvix " VANDREL_VERSION);
  std::vector<std::pair<CLI::App*, cli::CommandRun>> commands;
  for (const cli::CommandSpec& spec : cli::commandTable()) {
    CLI::App* sub = app.add_subcommand(spec.name, spec.description);
    cli::CommandLine line(*sub);
    commands.emplace_back(sub, spec.define(line));
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return cli::exit_status::Usage;
  }
  // Ctrl+C during a generation, check or import cancels it cleanly (a half package is removed).
  vandrel::builder::installInterruptHandlers();
  auto settings = vandrel::ui::InteractionSettings::fromEnvironment();
  if (auto problem = vandrel::ui::answersFileProblem(vandrel::ui::Program::Builder, settings)) {
    std::cerr << *problem << "\n";
    return cli::exit_status::Failed;
  }
  cli::CommandContext context(std::cout, std::cerr);
  for (auto& [sub, run] : commands) {
    if (sub->parsed()) return run(context);
  }
  return cli::exit_status::Usage;
}
