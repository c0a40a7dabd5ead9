// The entry pages filled through their controls: each writes back the entry the page model
// gives for the same values; a refused OK keeps the sheet open; Cancel changes nothing;
// answers drive them as they drive the Linux builder's.
#include "builder/win32/entry_page_dialogs.h"

#include "builder/tree/tree_commands.h"
#include "builder/win32/sheet_ids.h"
#include "builder/win32/sheet_test_support.h"
#include "ui/scripted_interaction.h"

namespace vandrel::builder::win32 {
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
  whenShown([](HWND w) {
    EXPECT_EQ(text(w, IDC_DIR_NAME), "New Directory");
    EXPECT_TRUE(checked(w, IDC_DIR_OPTIONAL));
    EXPECT_EQ(text(w, IDC_DIR_PARENT3), "Windows");
    type(w, IDC_DIR_NAME, "  App");
    tick(w, IDC_DIR_PARENT3, true);
    tick(w, IDC_DIR_OPTIONAL, false);
    type(w, IDC_DIR_DESCRIPTION, "The program");
    press(w, IDOK);
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
  whenShown([this](HWND w) {
    type(w, IDC_DESC_TEXT, "   ");
    press(w, IDOK);
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(ui.beeps, 1);
    type(w, IDC_DESC_TEXT, "  Help files");
    press(w, IDOK);
  });
  ASSERT_TRUE(commands.addEntry(category::Descriptions));
  ASSERT_EQ(doc.descriptions.count(), 1);
  EXPECT_EQ(doc.descriptions.at(0).text, "Help files");
}

TEST_F(EntryDialogs, CancelLeavesAnEditedGroupAsItWas) {
  EntryKey key = addGroup("Tools");
  tree->select(key);
  whenShown([](HWND w) {
    type(w, IDC_GROUP_NAME, "Other");
    press(w, IDCANCEL);
  });
  EXPECT_FALSE(commands.editSelection());
  EXPECT_EQ(doc.groups.at(0).name, "Tools");
}

TEST_F(EntryDialogs, WinIniEntry) {
  whenShown([](HWND w) {
    type(w, IDC_INI_SECTION, " Extensions");
    type(w, IDC_INI_ENTRY, "txt");
    type(w, IDC_INI_VALUE, "notepad.exe ^.txt");
    press(w, IDOK);
  });
  ASSERT_TRUE(commands.addEntry(category::WinIni));
  const IniRecord& ini = doc.iniEntries.at(0);
  EXPECT_EQ(ini.section, "Extensions");
  EXPECT_EQ(ini.entry, "txt");
  EXPECT_EQ(ini.value, "notepad.exe ^.txt");
}

TEST_F(EntryDialogs, RegistryMainKeyTypedInLowerCaseAndDefaultValue) {
  whenShown([this](HWND w) {
    type(w, IDC_REG_MAINKEY, "HKEY_LOCAL");
    type(w, IDC_REG_SUBKEY, "Software\\Co");
    type(w, IDC_REG_VALUE, "1");
    press(w, IDOK);  // an abbreviation is refused
    EXPECT_EQ(ui.beeps, 1);
    type(w, IDC_REG_MAINKEY, "hkey_local_machine");
    tick(w, IDC_REG_ERASE, true);
    press(w, IDOK);
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
  whenShown([](HWND w) {
    press(w, IDC_FILE_BROWSE);
    EXPECT_EQ(text(w, IDC_FILE_SOURCENAME), "tool.exe");
    EXPECT_EQ(text(w, IDC_FILE_SOURCEPATH), "Z:\\src");
    type(w, IDC_FILE_DISK, "0");
    type(w, IDC_FILE_DESTNAME, "");
    choose(w, IDC_FILE_DIRECTORY, 0);
    choose(w, IDC_FILE_PLATFORM, 2);
    tick(w, IDC_FILE_SHARED, true);
    press(w, IDOK);
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
// beside the source name first, the read-only fields Browse fills in passed over, then the
// sheet's buttons and, as in a Windows property sheet, round to the tabs above the page.
TEST_F(EntryDialogs, FilePageOpensOnItsFirstFieldAndTabsInReadingOrder) {
  std::vector<int> order;
  whenShown([&order](HWND w) {
    order = tabOrder(w);
    press(w, IDCANCEL);
  });
  commands.addEntry(category::Files);
  EXPECT_EQ(order,
            (std::vector<int>{IDC_FILE_BROWSE, IDC_FILE_DISK, IDC_FILE_DESTNAME, IDC_FILE_UNINSTALL,
                              IDC_FILE_FORCECOPY, IDC_FILE_DECOMPRESS, IDC_FILE_SHARED,
                              IDC_FILE_DIRECTORY, IDC_FILE_PLATFORM, IDC_FILE_DESCRIPTION,
                              IDC_FILE_VALIDATE, IDOK, IDCANCEL, IDC_SHEET_TABS}));
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
  whenShown([](HWND w) {
    press(w, IDC_FILE_BROWSE);
    press(w, IDC_FILE_VALIDATE);
    EXPECT_EQ(text(w, IDC_FILE_DESTNAME), "");
    press(w, IDC_FILE_BROWSE);
    press(w, IDCANCEL);
  });
  EXPECT_FALSE(fileCommands.addEntry(category::Files));
  ASSERT_EQ(doc.files.count(), 1);
  EXPECT_EQ(doc.files.at(0).sourceName, "one.exe");
  EXPECT_EQ(labels(category::Files).size(), 1u);
}

// Answers cannot press Browse; their Source names the file it would pick, and the fields
// the answers leave alone show what the page made of that file.
TEST_F(EntryDialogs, AnswersNameTheSourceFileBrowseWouldPick) {
  ui::ScriptedInteraction answers(
      ui::Answers::fromText("[Wizard]\nSource=Z:\\src\\tool.exe\nShared=1\nDisk=0\n"));
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
  EXPECT_EQ(file.disk, 1);
}

// Answers that fill a directory's page press OK; Cancel= with the page's id presses Cancel.
TEST_F(EntryDialogs, AnswersFillTheDirectoryPageOrCancelIt) {
  ui::ScriptedInteraction answers(
      ui::Answers::fromText("[Wizard]\nDirName=Tools\nParent=2\nOptional=0\n"));
  view = makeEntryPageView([&] {
    DialogContext c = context();
    c.autopilot = &answers;
    return c;
  }());
  pages::PageEntryEditor dirEditor{*tree, *view, ui};
  TreeCommands dirCommands{*tree, prefs, ui, dirEditor};
  ASSERT_TRUE(dirCommands.addEntry(category::Directories));
  ASSERT_EQ(doc.directories.count(), 1);
  EXPECT_EQ(doc.directories.at(0).name, "Tools");
  EXPECT_EQ(doc.directories.at(0).parent, 2);
  EXPECT_EQ(doc.directories.at(0).optional, 0);

  ui::ScriptedInteraction cancel(
      ui::Answers::fromText("[Wizard]\nDirName=Other\nCancel=directory\n"));
  view = makeEntryPageView([&] {
    DialogContext c = context();
    c.autopilot = &cancel;
    return c;
  }());
  pages::PageEntryEditor cancelEditor{*tree, *view, ui};
  TreeCommands cancelCommands{*tree, prefs, ui, cancelEditor};
  EXPECT_FALSE(cancelCommands.addEntry(category::Directories));
  EXPECT_EQ(doc.directories.count(), 1);
}

TEST_F(EntryDialogs, ShortcutNeedsAFileAGroupAndAName) {
  EntryKey file = addFile("tool.exe");
  EntryKey group = addGroup("Tools");
  whenShown([this](HWND w) {
    type(w, IDC_SHORTCUT_NAME, "Tool");
    press(w, IDOK);
    EXPECT_EQ(ui.beeps, 1);
    choose(w, IDC_SHORTCUT_FILE, 0);
    choose(w, IDC_SHORTCUT_GROUP, 0);
    type(w, IDC_SHORTCUT_COMMAND, "/q");
    press(w, IDOK);
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
  whenShown([](HWND w) {
    EXPECT_EQ(text(w, IDC_MSG_DISK), "2");
    press(w, IDC_MSG_BROWSE);
    press(w, IDOK);
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
}  // namespace vandrel::builder::win32
