// corvix without a subcommand: the graphical builder. With an answers file (VANDREL_ANSWERS)
// the run is unattended: the documents named are opened, the main window is saved as a
// picture, the commands of the file's [Builder] Commands run (their windows driven by the
// answers), and the builder closes, asking through the answers whether to save changes.
#include <QApplication>

#include <cstdio>

#include "builder/qt/builder_app.h"
#include "builder/cli/gui_entry.h"
#include "builder/frame/frame_commands.h"
#include "platform/program_start.h"
#include "ui/qt/gui_services.h"

namespace vandrel::builder::cli {

namespace {

// Runs the answered commands, letting the windows' events through after each.
bool runAnswered(app::CBuilderApp& builder, const std::vector<std::string>& commands) {
  return frame::runAnswered(
      commands,
      [&](const std::string& shot) {
        QApplication::processEvents();
        ui::qt::processScreenshots().save(builder.frame(), shot);
      },
      [&](int command) {
        builder.frame().run(command);
        QApplication::processEvents();
      });
}

}  // namespace

int runGui(int argc, char** argv) {
  std::unique_ptr<platform::Machine> machine = platform::openProgramMachine("corvix", argv[0], true);
  if (!machine) return 1;
  static int qtArgc = 1;
  // The folder picker shows the machine's drives; the author's own files are on Z:.
  ui::qt::registerQtBackend(qtArgc, argv, &machine->files());
  ui::InteractionSettings settings = ui::InteractionSettings::fromEnvironment();
  if (std::optional<std::string> problem = ui::answersFileProblem(ui::Program::Builder, settings)) {
    std::fprintf(stderr, "%s\n", problem->c_str());
    return 1;
  }
  // The builder's documents live in windows, whatever backend the other programs use.
  settings.backend = "gui";
  settings.backendNamed = true;
  std::unique_ptr<ui::Interaction> port = ui::makeInteraction(ui::Program::Builder, settings);
  if (!ui::qt::guiActive()) {
    std::fputs("corvix: the graphical builder needs a display; use a subcommand (corvix --help)\n", stderr);
    return 1;
  }
  bool unattended = !settings.answersFile.empty();
  app::CBuilderApp builder(*machine, std::move(port), unattended);
  std::vector<std::string> documents;
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] != '-') documents.emplace_back(argv[i]);
  }
  bool opened = builder.start(documents);
  int status = opened ? 0 : 1;
  if (unattended) {
    ui::qt::processScreenshots().save(builder.frame(), "main");
    if (!runAnswered(builder, frame::answeredCommands(settings.answersFile))) status = 1;
    builder.frame().close();
  } else {
    builder.greet();
    QApplication::exec();
  }
  builder.exit();
  return status;
}

}  // namespace vandrel::builder::cli
