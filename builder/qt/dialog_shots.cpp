// corvix-dialogs DOCUMENT: shows every builder dialog and every assistant over the document,
// one after another, on the gui backend. With VANDREL_ANSWERS each window is filled and
// closed by the answers; with VANDREL_SCREENSHOTS=DIR each is saved as NNN-corvix-<window>.png.
// The document itself is never written.
#include <QApplication>

#include <cstdio>
#include <filesystem>

#include "builder/generate/headless_session.h"
#include "builder/frame/dialog_tour.h"
#include "builder/qt/builder_dialogs.h"
#include "builder/strings/builder_strings.h"
#include "platform/program_start.h"
#include "ui/qt/gui_services.h"

using namespace vandrel;
using namespace vandrel::builder;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: corvix-dialogs DOCUMENT\n");
    return 2;
  }
  std::unique_ptr<platform::Machine> machine = platform::openProgramMachine("corvix-dialogs", argv[0], true);
  if (!machine) return 1;
  ui::qt::registerQtBackend(argc, argv, &machine->files());
  ui::InteractionSettings settings = ui::InteractionSettings::fromEnvironment();
  settings.backend = "gui";
  std::unique_ptr<ui::Interaction> port = ui::makeInteraction(ui::Program::Builder, settings);
  if (!ui::qt::guiActive()) {
    std::fprintf(stderr, "corvix-dialogs: no windows can be shown here\n");
    return 1;
  }
  HeadlessSession session(*machine, *port);
  if (!session.open(argv[1])) return 1;
  ScriptTree& tree = session.tree();
  std::string programFolder = programFolderOf(*machine);
  BuilderPreferences prefs;
  qt::DialogContext context = qt::dialogContext(nullptr, *port, &machine->files());

  frame::showEntryPages(*qt::makeEntryPageView(context), tree);
  pages::SettingsViewState view;
  for (int page = 0; page < 3; ++page) qt::runSettingsSheet(context, tree, page, view);
  qt::runBackgroundSheet(context, session.doc);
  for (int page = 0; page < 2; ++page) qt::runEndSheet(context, session.doc, page);
  frame::showDropDialogs(*qt::makeDropDialogs(context), tree);
  for (int number = 1; number <= 5; ++number) qt::runAssistant(context, number, tree, prefs);
  for (int page = 0; page < 2; ++page) {
    qt::runSummarySheet(context, session.doc, machine->files(), programFolder, page);
  }
  qt::runVersionSheet(context, machine->files(), programFolder);
  return 0;
}
