// corvix-dialogs DOCUMENT: shows every builder dialog and every assistant over the document,
// one after another, on the gui backend. With VANDREL_ANSWERS each window is filled and
// closed by the answers; with VANDREL_SCREENSHOTS=DIR each is saved as NNN-corvix-<window>.png.
// The document itself is never written.
#include <QApplication>

#include <cstdio>
#include <filesystem>

#include "builder/generate/headless_session.h"
#include "builder/qt/builder_dialogs.h"
#include "builder/strings/builder_strings.h"
#include "platform/program_start.h"
#include "ui/qt/gui_services.h"

using namespace vandrel;
using namespace vandrel::builder;

namespace {

// The first entry of a category, or nothing.
template <typename T>
const T* first(const EntryList<T>& list) {
  return list.count() > 0 ? &list.at(0) : nullptr;
}

void showEntryPages(qt::DialogContext& context, ScriptTree& tree) {
  std::unique_ptr<pages::EntryPageView> view = qt::makeEntryPageView(context);
  const CScriptDoc& doc = tree.document();
  auto show = [&](const Entry& entry) {
    pages::EntryPage page = pages::makeEntryPage(tree, entry, false);
    view->show(page, str(sid::PropertiesCaption));
  };
  auto showOr = [&](const auto* entry, auto fresh) {
    if (entry) return show(*entry);
    show(fresh);
  };
  showOr(first(doc.directories), DirectoryRecord{"App", 0, 1, "The application"});
  showOr(first(doc.descriptions), DescriptionRecord{"Program files"});
  showOr(first(doc.groups), GroupRecord{"Tool"});
  showOr(first(doc.iniEntries), IniRecord{"Extensions", "tol", "[0]\\tool.exe ^.tol"});
  showOr(first(doc.registryEntries), RegistryRecord{2, "Software\\Orlwen\\Tool", "", "1"});
  showOr(first(doc.files), FileRecord{});
  showOr(first(doc.shortcuts), ShortcutRecord{});
  showOr(first(doc.messages), MessageRecord{"Disk2.txt", 2, "Z:\\src\\Disk2.txt"});
}

void showDropDialogs(qt::DialogContext& context, ScriptTree& tree) {
  std::unique_ptr<dropimport::DropDialogs> dialogs = qt::makeDropDialogs(context);
  dropimport::DirectorySelector selector(tree, "readme.txt", false);
  dialogs->selectDirectory(selector);
  pages::CAddFileDlg page(tree, true);
  FileRecord dropped;
  dropped.sourceName = dropped.destName = "readme.txt";
  dropped.sourcePath = "Z:\\src\\Tool";
  dropped.size = 1234;
  page.fill(dropped);
  dialogs->editFile(page);
}

}  // namespace

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

  showEntryPages(context, tree);
  pages::SettingsViewState view;
  for (int page = 0; page < 3; ++page) qt::runSettingsSheet(context, tree, page, view);
  qt::runBackgroundSheet(context, session.doc);
  for (int page = 0; page < 2; ++page) qt::runEndSheet(context, session.doc, page);
  showDropDialogs(context, tree);
  for (int number = 1; number <= 5; ++number) qt::runAssistant(context, number, tree, prefs);
  for (int page = 0; page < 2; ++page) {
    qt::runSummarySheet(context, session.doc, machine->files(), programFolder, page);
  }
  qt::runVersionSheet(context, machine->files(), programFolder);
  return 0;
}
