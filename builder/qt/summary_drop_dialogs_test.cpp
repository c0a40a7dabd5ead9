// The summary and version sheets, and the drop import through its windows: answers give the
// same entries as over the interaction port.
#include <QLabel>
#include <QListWidget>
#include <QTreeWidget>

#include <algorithm>

#include "builder/qt/dialogs_test_support.h"
#include "ui/qt/text_fit.h"
#include "builder/qt/tree_pictures.h"
#include "builder/strings/builder_strings.h"
#include "platform/emulated/machine_root.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/temp_dir.h"

namespace vandrel::builder::qt {
namespace {

using namespace testing;

struct SummaryDialogs : DialogFixture {
  test::MemoryFileSystem files;
  SummaryDialogs() {
    files.addDrive('C');
    files.writeFile("C:\\Corvix\\Setup.exe", std::string(2048, 'x'));
  }
};

TEST_F(SummaryDialogs, PropertiesWrittenBackOnOkAndStatisticsShown) {
  addFile("a.exe", 0, 1);
  addFile("b.exe", 0, 3);
  doc.files.at(0).size = 3 << 20;
  whenShown([](QWidget& w) {
    EXPECT_EQ(w.windowTitle(), "Install Summary");
    auto* disks = w.findChild<QTreeWidget*>();
    ASSERT_EQ(disks->topLevelItemCount(), 3);
    EXPECT_EQ(disks->topLevelItem(0)->text(1), "3.000 Mb");
    EXPECT_EQ(disks->topLevelItem(1)->text(1), "0 Mb");
    // Each disk row shows the tree's Files picture.
    QImage files = treeIcons(16).at(category::Files).pixmap(16).toImage();
    EXPECT_EQ(disks->topLevelItem(0)->icon(0).pixmap(16).toImage(), files);
    bool unavailable = false;
    for (QLineEdit* e : w.findChildren<QLineEdit*>()) unavailable |= e->text() == "Unavailable";
    EXPECT_TRUE(unavailable) << "a document never saved has no dates";
    type(w, "Subject", "The tool");
    type(w, "Author", "Ann");
    press(w, "OK");
  });
  ASSERT_TRUE(runSummarySheet(context(), doc, files, "C:\\Corvix"));
  EXPECT_EQ(doc.properties.subject, "The tool");
  EXPECT_EQ(doc.properties.author, "Ann");
}

TEST_F(SummaryDialogs, CancelKeepsTheProperties) {
  doc.properties.subject = "old";
  whenShown([](QWidget& w) {
    type(w, "Subject", "new");
    press(w, "Cancel");
  });
  EXPECT_FALSE(runSummarySheet(context(), doc, files, "C:\\Corvix"));
  EXPECT_EQ(doc.properties.subject, "old");
  EXPECT_FALSE(doc.isModified());
}

TEST_F(SummaryDialogs, VersionSheetListsTheEightComponents) {
  files.writeFile("C:\\Corvix\\Tam32E.ex_", std::string(4096, 'x'));
  whenShown([](QWidget& w) {
    auto* list = w.findChild<QTreeWidget*>();
    ASSERT_EQ(list->topLevelItemCount(), 8);
    EXPECT_EQ(list->topLevelItem(2)->text(0), "Tam32E.ex_");
    EXPECT_EQ(list->topLevelItem(2)->text(3), "4");
    EXPECT_EQ(list->topLevelItem(0)->text(2), "[File Not Found]");
    // The columns are at least as wide as given, and as wide as their widest text: no
    // description is cut; every cell still carries its whole text as a tip.
    EXPECT_GE(list->columnWidth(0), 80);
    EXPECT_GE(list->columnWidth(1), 150);
    for (int column = 0; column < 4; ++column) {
      for (int row = 0; row < list->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = list->topLevelItem(row);
        EXPECT_GE(list->columnWidth(column), list->fontMetrics().horizontalAdvance(item->text(column)))
            << item->text(column).toStdString();
      }
    }
    EXPECT_TRUE(ui::qt::cutTexts(w).empty()) << ui::qt::describe("version", ui::qt::cutTexts(w));
    EXPECT_EQ(list->topLevelItem(3)->toolTip(1), "32 Bits Installer (French)");
    press(w, "OK");
  });
  runVersionSheet(context(), files, "C:\\Corvix");
}

// A dropped folder on the emulated machine's Z: drive.
struct DropDialogs : DialogFixture {
  test::TempDir temp;
  std::unique_ptr<platform::Machine> machine;
  BuilderPreferences prefs;

  DropDialogs() {
    platform::emulated::initMachineRoot(temp / "machine", platform::emulated::Preset::Win98, "user");
    platform::MachineOptions options;
    options.hostDriveWritable = true;
    machine = platform::emulated::openMachine(temp / "machine", options);
    std::filesystem::create_directories(temp / "src" / "Pkg");
    test::writeFile(temp / "src" / "Pkg" / "a.txt", "aaaa");
    test::writeFile(temp / "src" / "Pkg" / "b.txt", "bb");
  }
  std::string pkg() { return *machine->files().windowsPath(temp / "src" / "Pkg"); }
};

// The files of a document, sorted by name, as comparable text.
std::vector<std::string> describe(const CScriptDoc& doc) {
  std::vector<std::string> out;
  for (const FileRecord& f : doc.files) {
    out.push_back(f.sourceName + " dest=" + f.destName + " pre=" + std::to_string(f.predefinedDir) +
                  " dir=" + std::to_string(f.directoryRef != 0) + " disk=" + std::to_string(f.disk) +
                  " shared=" + std::to_string(f.shared));
  }
  std::sort(out.begin(), out.end());
  return out;
}

TEST_F(DropDialogs, AnswersGiveTheSameEntriesAsTheScriptedDialogs) {
  const char* answers =
      "[Choices]\n1=Windows Dir\n2=#1\n[Wizard]\nShared=1\nUseDefaults=0\n";
  // Over the interaction port.
  builder::testing::DocFixture scripted;
  ui::ScriptedInteraction port(ui::Answers::fromText(answers));
  dropimport::InteractionDropDialogs portDialogs(port);
  dropimport::DropImport(*scripted.tree, prefs, machine->files(), port, portDialogs).run({pkg()});

  // Through the windows.
  ui::ScriptedInteraction autopilot(ui::Answers::fromText(answers));
  DialogContext c = context();
  c.autopilot = &autopilot;
  std::unique_ptr<dropimport::DropDialogs> windows = makeDropDialogs(c);
  dropimport::DropImport(*tree, prefs, machine->files(), ui, *windows).run({pkg()});

  ASSERT_EQ(doc.files.count(), 2);
  std::vector<std::string> files = describe(doc);
  EXPECT_EQ(files, describe(scripted.doc));
  EXPECT_NE(std::find(files.begin(), files.end(), "a.txt dest=a.txt pre=3 dir=0 disk=1 shared=1"), files.end());
}

TEST_F(DropDialogs, KeptDirectoryAndDefaultSettingsAskOnlyOnce) {
  int selectors = 0, filePages = 0;
  EachWindow each([&](QWidget& w) {
    if (w.windowTitle() == "Directory Selector") {
      ++selectors;
      EXPECT_FALSE(button(w, "&Cancel")->isEnabled()) << "the file pages are on";
      press(w, "&OK");  // no selection: refused
      EXPECT_TRUE(w.isVisible());
      named<QListWidget>(w, "Directory")->setCurrentRow(2);  // "Root Drive", after Pkg
      tick(w, "Keep", true);
      press(w, "&OK");
    } else {
      ++filePages;
      EXPECT_FALSE(button(w, "&Browse...")->isEnabled());
      EXPECT_FALSE(button(w, "&Validate and Add new file")->isEnabled());
      tick(w, "UseDefaults", true);
      press(w, "OK");
    }
  });
  std::unique_ptr<dropimport::DropDialogs> windows = makeDropDialogs(context());
  dropimport::DropImport(*tree, prefs, machine->files(), ui, *windows).run({pkg()});
  EXPECT_EQ(selectors, 1);
  EXPECT_EQ(filePages, 1);
  ASSERT_EQ(doc.files.count(), 2);
  for (const FileRecord& f : doc.files) EXPECT_EQ(f.predefinedDir, 1);
}

}  // namespace
}  // namespace vandrel::builder::qt
