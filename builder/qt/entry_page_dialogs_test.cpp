// The entry pages filled through their controls: each writes back the entry the page model
// gives for the same values; a refused OK keeps the sheet open; Cancel changes nothing.
#include "builder/qt/entry_page_dialogs.h"

#include <QSpinBox>

#include "builder/qt/dialogs_test_support.h"
#include "builder/tree/tree_commands.h"
#include "ui/scripted_interaction.h"

namespace vandrel::builder::qt {
namespace {

using namespace testing;

struct EntryDialogs : DialogFixture {
  BuilderPreferences prefs;
  DialogContext dialogs = context();
  std::unique_ptr<pages::EntryPageView> view = makeEntryPageView(dialogs);
  pages::PageEntryEditor editor{*tree, *view, ui};
  TreeCommands commands{*tree, prefs, ui, editor};
};

TEST_F(EntryDialogs, NewDirectoryFromItsControls) {
  whenShown([](QWidget& w) {
    EXPECT_EQ(named<QLineEdit>(w, "DirName")->text(), "New Directory");
    EXPECT_TRUE(named<QCheckBox>(w, "Optional")->isChecked());
    type(w, "DirName", "  App");
    tick(w, "Parent3", true);
    tick(w, "Optional", false);
    type(w, "DirDescription", "The program");
    press(w, "OK");
  });
  ASSERT_TRUE(commands.addEntry(category::Directories));
  ASSERT_EQ(doc.directories.count(), 1);
  const DirectoryRecord& dir = doc.directories.at(0);
  EXPECT_EQ(dir.name, "App");
  EXPECT_EQ(dir.parent, 3);
  EXPECT_EQ(dir.optional, 0);
  EXPECT_EQ(dir.description, "The program");
  EXPECT_EQ(labels(category::Directories).front(), "Create [Windows]\\App");
}

TEST_F(EntryDialogs, BlankDescriptionIsRefusedAndTheSheetStaysOpen) {
  whenShown([this](QWidget& w) {
    type(w, "DescText", "   ");
    press(w, "OK");
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(ui.beeps, 1);
    type(w, "DescText", "  Help files");
    press(w, "OK");
  });
  ASSERT_TRUE(commands.addEntry(category::Descriptions));
  ASSERT_EQ(doc.descriptions.count(), 1);
  EXPECT_EQ(doc.descriptions.at(0).text, "Help files");
}

TEST_F(EntryDialogs, CancelLeavesAnEditedGroupAsItWas) {
  EntryKey key = addGroup("Tools");
  tree->select(key);
  whenShown([](QWidget& w) {
    type(w, "GroupName", "Other");
    press(w, "Cancel");
  });
  EXPECT_FALSE(commands.editSelection());
  EXPECT_EQ(doc.groups.at(0).name, "Tools");
}

TEST_F(EntryDialogs, WinIniEntry) {
  whenShown([](QWidget& w) {
    type(w, "IniSection", " Extensions");
    type(w, "IniEntry", "txt");
    type(w, "IniValue", "notepad.exe ^.txt");
    press(w, "OK");
  });
  ASSERT_TRUE(commands.addEntry(category::WinIni));
  const IniRecord& ini = doc.iniEntries.at(0);
  EXPECT_EQ(ini.section, "Extensions");
  EXPECT_EQ(ini.entry, "txt");
  EXPECT_EQ(ini.value, "notepad.exe ^.txt");
}

TEST_F(EntryDialogs, RegistryMainKeyTypedInLowerCaseAndDefaultValue) {
  whenShown([this](QWidget& w) {
    type(w, "MainKey", "HKEY_LOCAL");
    type(w, "Subkey", "Software\\Co");
    type(w, "RegValue", "1");
    press(w, "OK");  // an abbreviation is refused
    EXPECT_EQ(ui.beeps, 1);
    type(w, "MainKey", "hkey_local_machine");
    tick(w, "EraseKey", true);
    press(w, "OK");
  });
  ASSERT_TRUE(commands.addEntry(category::Registry));
  const RegistryRecord& reg = doc.registryEntries.at(0);
  EXPECT_EQ(reg.root, 2);
  EXPECT_EQ(reg.subkey, "Software\\Co");
  EXPECT_EQ(reg.entry, "");
  EXPECT_EQ(reg.removal, 0);
  EXPECT_NE(labels(category::Registry).front().find("{Default}"), std::string::npos);
}

TEST_F(EntryDialogs, FileChosenWithBrowseDiskZeroAndEmptyDestination) {
  EntryKey app = addDir("App");
  std::vector<FileRequest> asked;
  view = makeEntryPageView([&] {
    DialogContext c = context();
    c.chooseFile = [&asked](const FileRequest& r) -> std::optional<std::string> {
      asked.push_back(r);
      return std::string("Z:\\src\\tool.exe");
    };
    return c;
  }());
  pages::PageEntryEditor fileEditor{*tree, *view, ui};
  TreeCommands fileCommands{*tree, prefs, ui, fileEditor};
  whenShown([](QWidget& w) {
    press(w, "&Browse...");
    EXPECT_EQ(named<QLineEdit>(w, "SourceName")->text(), "tool.exe");
    EXPECT_EQ(named<QLineEdit>(w, "SourcePath")->text(), "Z:\\src");
    named<QSpinBox>(w, "Disk")->setValue(0);
    type(w, "DestName", "");
    named<QComboBox>(w, "Directory")->setCurrentIndex(0);
    named<QComboBox>(w, "Platform")->setCurrentIndex(2);
    tick(w, "Shared", true);
    press(w, "OK");
  });
  ASSERT_TRUE(fileCommands.addEntry(category::Files));
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].title, "Select a file to add to your installation...");
  const FileRecord& file = doc.files.at(0);
  EXPECT_EQ(file.sourceName, "tool.exe");
  EXPECT_EQ(file.destName, "tool.exe");
  EXPECT_EQ(file.sourcePath, "Z:\\src");
  EXPECT_EQ(file.disk, 1);
  EXPECT_EQ(file.directoryRef, app);
  EXPECT_EQ(file.platform, 2);
  EXPECT_EQ(file.shared, 1);
}

// The file page opens on its first field and Tab goes through it in reading order: Browse
// beside the source name first, the read-only fields Browse fills in passed over.
TEST_F(EntryDialogs, FilePageOpensOnItsFirstFieldAndTabsInReadingOrder) {
  QStringList order;
  whenShown([&order](QWidget& w) {
    order = tabOrder(w);
    press(w, "Cancel");
  });
  commands.addEntry(category::Files);
  ASSERT_FALSE(order.isEmpty());
  EXPECT_EQ(order.front(), "&Browse...");
  EXPECT_FALSE(order.contains("SourceName"));
  EXPECT_FALSE(order.contains("Size"));
  EXPECT_FALSE(order.contains("SourcePath"));
  // The page's fields, then the page tabs and the sheet's buttons.
  EXPECT_EQ(order, (QStringList{"&Browse...", "Disk", "DestName", "Uninstall", "ForceCopy", "Decompress", "Shared",
                                "Directory", "Platform", "Description", "&Validate and Add new file",
                                "qt_tabwidget_tabbar", "OK", "Cancel"}))
      << order.join(", ").toStdString();
}

TEST_F(EntryDialogs, ValidateAndAddStoresTheFileAndCancelDropsOnlyTheNext) {
  int next = 0;
  view = makeEntryPageView([&] {
    DialogContext c = context();
    c.chooseFile = [&next](const FileRequest&) -> std::optional<std::string> {
      return std::string(next++ == 0 ? "Z:\\src\\one.exe" : "Z:\\src\\two.exe");
    };
    return c;
  }());
  pages::PageEntryEditor fileEditor{*tree, *view, ui};
  TreeCommands fileCommands{*tree, prefs, ui, fileEditor};
  whenShown([](QWidget& w) {
    press(w, "&Browse...");
    press(w, "&Validate and Add new file");
    EXPECT_EQ(named<QLineEdit>(w, "DestName")->text(), "");
    press(w, "&Browse...");
    press(w, "Cancel");
  });
  EXPECT_FALSE(fileCommands.addEntry(category::Files));
  ASSERT_EQ(doc.files.count(), 1);
  EXPECT_EQ(doc.files.at(0).sourceName, "one.exe");
  EXPECT_EQ(labels(category::Files).size(), 1u);
}

// Answers cannot press Browse; their Source names the file it would pick, and the fields
// the answers leave alone show what the page made of that file.
TEST_F(EntryDialogs, AnswersNameTheSourceFileBrowseWouldPick) {
  ui::ScriptedInteraction answers(ui::Answers::fromText("[Wizard]\nSource=Z:\\src\\tool.exe\nShared=1\n"));
  view = makeEntryPageView([&] {
    DialogContext c = context();
    c.autopilot = &answers;
    return c;
  }());
  pages::PageEntryEditor fileEditor{*tree, *view, ui};
  TreeCommands fileCommands{*tree, prefs, ui, fileEditor};
  ASSERT_TRUE(fileCommands.addEntry(category::Files));
  ASSERT_EQ(doc.files.count(), 1);
  const FileRecord& file = doc.files.at(0);
  EXPECT_EQ(file.sourceName, "tool.exe");
  EXPECT_EQ(file.sourcePath, "Z:\\src");
  EXPECT_EQ(file.destName, "tool.exe");
  EXPECT_EQ(file.shared, 1);
}

TEST_F(EntryDialogs, ShortcutNeedsAFileAGroupAndAName) {
  EntryKey file = addFile("tool.exe");
  EntryKey group = addGroup("Tools");
  whenShown([this](QWidget& w) {
    type(w, "ShortcutName", "Tool");
    press(w, "OK");
    EXPECT_EQ(ui.beeps, 1);
    named<QComboBox>(w, "ShortcutFile")->setCurrentIndex(0);
    named<QComboBox>(w, "ShortcutGroup")->setCurrentIndex(0);
    type(w, "CommandLine", "/q");
    press(w, "OK");
  });
  ASSERT_TRUE(commands.addEntry(category::ProgramAdds));
  const ShortcutRecord& s = doc.shortcuts.at(0);
  EXPECT_EQ(s.fileRef, file);
  EXPECT_EQ(s.groupRef, group);
  EXPECT_EQ(s.commandLine, "/q");
  EXPECT_EQ(s.name, "Tool");
}

TEST_F(EntryDialogs, MessageStartsOnTheHighestDiskAndBrowsesForATextFile) {
  addFile("a.exe", 0, 2);
  std::vector<FileRequest> asked;
  view = makeEntryPageView([&] {
    DialogContext c = context();
    c.chooseFile = [&asked](const FileRequest& r) -> std::optional<std::string> {
      asked.push_back(r);
      return std::string("Z:\\docs\\disk2.txt");
    };
    return c;
  }());
  pages::PageEntryEditor msgEditor{*tree, *view, ui};
  TreeCommands msgCommands{*tree, prefs, ui, msgEditor};
  whenShown([](QWidget& w) {
    EXPECT_EQ(named<QSpinBox>(w, "MsgDisk")->value(), 2);
    press(w, "&Browse...");
    press(w, "OK");
  });
  ASSERT_TRUE(msgCommands.addEntry(category::Messages));
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].title, "Select a text file to display...");
  EXPECT_EQ(asked[0].defaultExtension, "txt");
  const MessageRecord& m = doc.messages.at(0);
  EXPECT_EQ(m.destName, "disk2.txt");
  EXPECT_EQ(m.filePath, "Z:\\docs\\disk2.txt");
  EXPECT_EQ(m.disk, 2);
}

}  // namespace
}  // namespace vandrel::builder::qt
