// corvix.exe without a subcommand: the graphical builder's Win32 windows. With an answers file
// (VANDREL_ANSWERS) the run is unattended: the documents named are opened, the main window is
// saved as a picture, the commands of the file's [Builder] Commands run (their windows driven
// by the answers; "shot:NAME" saves the main window's picture), and the builder closes, asking
// through the answers whether to save changes.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "builder/cli/gui_entry.h"
#include "builder/frame/frame_commands.h"
#include "builder/win32/builder_run.h"
#include "builder/win32/main_frame.h"
#include "platform/ini/ini_document.h"
#include "platform/program_start.h"
#include "ui/win32/gui_services.h"
#include "ui/win32/window_shots.h"

namespace vandrel::builder::cli {

namespace {

// The [Builder] Commands of an answers file, in order.
std::vector<std::string> answeredCommands(const std::string& answersFile) {
  std::ifstream in(answersFile, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  platform::IniDocument ini = platform::IniDocument::parse(text.str());
  std::vector<std::string> commands;
  std::string list = ini.value("Builder", "Commands").value_or("");
  std::stringstream items(list);
  for (std::string item; std::getline(items, item, ',');) {
    std::size_t first = item.find_first_not_of(" \t");
    std::size_t last = item.find_last_not_of(" \t\r");
    if (first != std::string::npos) commands.push_back(item.substr(first, last - first + 1));
  }
  return commands;
}

// Runs the answered commands; false when one is unknown.
bool runAnswered(win32::BuilderRun& builder, const std::vector<std::string>& commands) {
  bool known = true;
  for (const std::string& name : commands) {
    if (name.rfind("shot:", 0) == 0) {
      win32::pumpAll();
      ui::win32::processShots().save(builder.frame().handle(), name.substr(5));
      continue;
    }
    int command = frame::commandByName(name);
    if (command == 0) {
      std::fprintf(stderr, "corvix: the answers file names an unknown command: %s\n", name.c_str());
      known = false;
      continue;
    }
    builder.frame().run(command);
    win32::pumpAll();
  }
  return known;
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
    if (!runAnswered(builder, answeredCommands(settings.answersFile))) status = 1;
    // Closing asks, through the answers, whether to save each changed document.
    if (IsWindow(builder.frame().handle())) builder.frame().run(frame::command::Exit);
    win32::pumpAll();
  } else {
    builder.greet();
    win32::runFrameLoop(builder.frame());
  }
  builder.exit();
  return status;
}

}  // namespace vandrel::builder::cli
