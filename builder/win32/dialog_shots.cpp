// corvix-dialogs.exe DOCUMENT: shows every builder dialog and every assistant over the
// document as Win32 windows, one after another. With VANDREL_ANSWERS each window is filled and
// closed by the answers; with VANDREL_SCREENSHOTS=DIR each is saved as NNN-corvix-<window>.bmp,
// under the names the Linux corvix-dialogs gives its pictures. The document is never written.
#include <windows.h>

#include <cstdio>

#include "builder/generate/headless_session.h"
#include "builder/strings/builder_strings.h"
#include "builder/frame/dialog_tour.h"
#include "builder/win32/builder_dialogs.h"
#include "platform/program_start.h"
#include "ui/win32/gui_services.h"

using namespace vandrel;
using namespace vandrel::builder;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: corvix-dialogs DOCUMENT\n");
    return 2;
  }
  std::unique_ptr<platform::Machine> machine =
      platform::openProgramMachine("corvix-dialogs", argv[0], true);
  if (!machine) return 1;
  ui::win32::registerWin32Backend(&machine->files());
  ui::InteractionSettings settings = ui::InteractionSettings::fromEnvironment();
  settings.backend = "gui";
  std::unique_ptr<ui::Interaction> port = ui::makeInteraction(ui::Program::Builder, settings);
  if (!ui::win32::guiActive()) {
    std::fprintf(stderr, "corvix-dialogs: no windows can be shown here\n");
    return 1;
  }
  HeadlessSession session(*machine, *port);
  if (!session.open(argv[1])) return 1;
  ScriptTree& tree = session.tree();
  std::string programFolder = programFolderOf(*machine);
  BuilderPreferences prefs;
  win32::DialogContext context = win32::dialogContext(nullptr, *port, &machine->files());

  frame::showEntryPages(*win32::makeEntryPageView(context), tree);
  pages::SettingsViewState view;
  for (int page = 0; page < 3; ++page) win32::runSettingsSheet(context, tree, page, view);
  win32::runBackgroundSheet(context, session.doc);
  for (int page = 0; page < 2; ++page) win32::runEndSheet(context, session.doc, page);
  frame::showDropDialogs(*win32::makeDropDialogs(context), tree);
  for (int number = 1; number <= 5; ++number) win32::runAssistant(context, number, tree, prefs);
  for (int page = 0; page < 2; ++page) {
    win32::runSummarySheet(context, session.doc, machine->files(), programFolder, page);
  }
  win32::runVersionSheet(context, machine->files(), programFolder);
  return 0;
}
