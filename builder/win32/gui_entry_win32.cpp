// corvix.exe without a subcommand: the graphical builder's Win32 windows. With an answers file
// (VANDREL_ANSWERS) the run is unattended: the documents named are opened, the main window is
// saved as a picture, the commands of the file's [Builder] Commands run (their windows driven
// by the answers; "shot:NAME" saves the main window's picture), and the builder closes, asking
// through the answers whether to save changes.
#include <windows.h>

#include <cstdio>

#include "builder/cli/gui_entry.h"
#include "builder/frame/frame_commands.h"
#include "builder/win32/builder_run.h"
#include "builder/win32/main_frame.h"
#include "platform/program_start.h"
#include "ui/win32/gui_services.h"
#include "ui/win32/window_shots.h"

namespace vandrel::builder::cli {

namespace {

// Runs the answered commands, letting the windows' messages through after each.
bool runAnswered(win32::BuilderRun& builder, const std::vector<std::string>& commands) {
  return frame::runAnswered(
      commands,
      [&](const std::string& shot) {
        win32::pumpAll();
        ui::win32::processShots().save(builder.frame().handle(), shot);
      },
      [&](int command) {
        builder.frame().run(command);
        win32::pumpAll();
      });
}

// corvix.exe is a console program, for its subcommands' output. Started without a console of
// its caller's (from Explorer or a shortcut), Windows made one for it alone: that window would
// stand empty beside the builder, so it is given back. Started from a console, the program
// shares it with the shell and keeps it.
void leaveOwnConsole() {
  DWORD processes[2];
  if (GetConsoleProcessList(processes, 2) == 1) FreeConsole();
}

}  // namespace

int runGui(int argc, char** argv) {
  std::unique_ptr<platform::Machine> machine = platform::openProgramMachine("corvix", argv[0], true);
  if (!machine) return 1;
  ui::win32::registerWin32Backend(&machine->files());
  ui::InteractionSettings settings = ui::InteractionSettings::fromEnvironment();
  if (std::optional<std::string> problem = ui::answersFileProblem(ui::Program::Builder, settings)) {
    std::fprintf(stderr, "%s\n", problem->c_str());
    return 1;
  }
  // The builder's documents live in windows, whatever backend the other programs use.
  settings.backend = "gui";
  settings.backendNamed = true;
  std::unique_ptr<ui::Interaction> port = ui::makeInteraction(ui::Program::Builder, settings);
  bool unattended = !settings.answersFile.empty();
  win32::BuilderRun builder(*machine, std::move(port), unattended);
  std::vector<std::string> documents;
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] != '-') documents.emplace_back(argv[i]);
  }
  bool opened = builder.start(documents);
  int status = opened ? 0 : 1;
  if (!IsWindow(builder.frame().handle())) {
    std::fputs("corvix: the builder's window could not be made\n", stderr);
    return 1;
  }
  if (unattended) {
    ui::win32::processShots().save(builder.frame().handle(), "main");
    if (!runAnswered(builder, frame::answeredCommands(settings.answersFile))) status = 1;
    // Closing asks, through the answers, whether to save each changed document.
    if (IsWindow(builder.frame().handle())) builder.frame().run(frame::command::Exit);
    win32::pumpAll();
  } else {
    leaveOwnConsole();
    builder.greet();
    win32::runFrameLoop(builder.frame());
  }
  builder.exit();
  return status;
}

}  // namespace vandrel::builder::cli
