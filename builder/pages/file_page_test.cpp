// Tests of the file page: its write-back rules, its directory and description lists,
// "&Browse...", and "&Validate and Add new file" inside the tree's add and edit commands.
#include "builder/pages/file_page.h"

#include <gtest/gtest.h>

#include <functional>

#include "builder/tree/tree_commands.h"
#include "builder/pages/pages_fixture_test.h"

namespace vandrel::builder::pages {
namespace {

struct FilePage : ::testing::Test, testing::DocFixture {
  EntryKey setup = addDir("Setup");
  EntryKey app = addDir("App");  // tree order: App, Setup
  EntryKey help = [this] {
    DescriptionRecord d;
    d.text = "Help files";
    return add(d);
  }();
};

TEST_F(FilePage, DiskZeroIsDiskOneAndEmptyDestinationIsTheSourceName) {
  CAddFileDlg page(*tree);
  FileRecord file;
  file.sourceName = "tool.exe";
  file.sourcePath = "Z:\\src";
  page.fill(file);
  page.disk = 0;
  page.destName = "";
  ASSERT_TRUE(page.check().ok());
  page.apply(file);
  EXPECT_EQ(file.disk, 1);
  EXPECT_EQ(file.destName, "tool.exe");

  page.disk = 7;
  page.destName = "t.exe";
  page.apply(file);
  EXPECT_EQ(file.disk, 7);
  EXPECT_EQ(file.destName, "t.exe");
}

TEST_F(FilePage, RefusesWhatNoFileEntryCanHold) {
  CAddFileDlg page(*tree);
  page.fill(FileRecord{});
  EXPECT_EQ(page.check().kind, Check::Kind::Beep) << "a source name is required";
  page.sourceName = "a.dll";
  for (int disk : {-1, 1000}) {
    page.disk = disk;
    EXPECT_EQ(page.check().kind, Check::Kind::Beep) << disk;
  }
  page.disk = 999;
  EXPECT_TRUE(page.check().ok());
}

TEST_F(FilePage, DirectoryListMapsBackToKeysAndPredefinedDirectories) {
  CAddFileDlg page(*tree);
  EXPECT_EQ(page.directoryChoices(),
            (std::vector<std::string>{"[Install]\\App", "[Install]\\Setup", "Install Path",
                                      "Root Drive", "Windows System", "Windows Dir"}));
  FileRecord file;
  file.sourceName = "a.dll";
  file.directoryRef = setup;
  page.fill(file);
  EXPECT_EQ(page.directory, 1);

  struct Case {
    int choice;
    EntryKey ref;
    int predefined;
  };
  for (const Case& c : {Case{0, app, 0}, Case{1, setup, 0}, Case{2, 0, 0}, Case{5, 0, 3},
                        Case{-1, 0, 0}}) {
    FileRecord out = file;
    out.predefinedDir = 2;
    page.directory = c.choice;
    page.apply(out);
    EXPECT_EQ(out.directoryRef, c.ref) << c.choice;
    EXPECT_EQ(out.predefinedDir, c.predefined) << c.choice;
  }

  FileRecord system;
  system.sourceName = "s.dll";
  system.predefinedDir = 2;
  page.fill(system);
  EXPECT_EQ(page.directory, 4) << "the predefined directory is selected on opening";
}

TEST_F(FilePage, DescriptionAndSourcePath) {
  CAddFileDlg page(*tree);
  FileRecord file;
  file.sourceName = "a.hlp";
  file.sourcePath = "Z:\\old";
  file.descriptionRef = help;
  page.fill(file);
  EXPECT_EQ(page.description, 0);
  page.description = -1;
  page.sourcePath = "";
  page.apply(file);
  EXPECT_EQ(file.descriptionRef, 0u);
  EXPECT_EQ(file.sourcePath, "Z:\\old") << "an empty source path is not written";

  page.browse("Z:\\home\\ann\\big.bin", 5'000'000'000LL);
  EXPECT_EQ(page.sourceName, "big.bin");
  EXPECT_EQ(page.sourcePath, "Z:\\home\\ann");
  EXPECT_EQ(page.size, 2147483647) << "sizes beyond 32 bits are not wrapped";
}

TEST_F(FilePage, DropImportModeSwitchesTheButtons) {
  CAddFileDlg normal(*tree);
  CAddFileDlg dropped(*tree, true);
  EXPECT_TRUE(normal.browseEnabled() && normal.validateAndAddEnabled());
  EXPECT_FALSE(normal.useDefaultsEnabled());
  EXPECT_FALSE(dropped.browseEnabled() || dropped.validateAndAddEnabled());
  EXPECT_TRUE(dropped.useDefaultsEnabled());
  dropped.fill(FileRecord{"x", 0, 1, "x"});
  EXPECT_FALSE(dropped.validateAndAddNew().ok());
  EXPECT_EQ(doc.files.count(), 0);
}

// An entry dialog that runs the file page: the script presses its buttons, then OK or Cancel.
class FileEditor : public EntryEditor {
 public:
  explicit FileEditor(ScriptTree& tree) : tree_(tree) {}
  std::function<void(CAddFileDlg&)> script;
  bool ok = true;
  bool editEntry(int, Entry& entry, const std::string&, bool) override {
    CAddFileDlg page(tree_);
    page.fill(std::get<FileRecord>(entry));
    script(page);
    if (!ok || !page.check().ok()) {
      entry = page.result();  // Cancel drops the file edited at that moment
      return false;
    }
    entry = page.result();
    return true;
  }

 private:
  ScriptTree& tree_;
};

struct ValidateAndAdd : FilePage {
  BuilderPreferences prefs;
  test::FakeInteraction ui;
  FileEditor editor{*tree};
  TreeCommands commands{*tree, prefs, ui, editor};
};

TEST_F(ValidateAndAdd, StoresTheFileAndGoesOnWithANewOne) {
  editor.script = [this](CAddFileDlg& page) {
    page.browse("Z:\\src\\one.exe", 10);
    page.directory = 0;
    ASSERT_TRUE(page.validateAndAddNew().ok());
    EXPECT_EQ(doc.files.count(), 1);
    EXPECT_TRUE(page.sourceName.empty() && page.destName.empty());
    EXPECT_EQ(page.size, 0);
    EXPECT_EQ(page.sourcePath, "Z:\\src");
    EXPECT_NE(tree->item(page.key()), nullptr) << "the further file has its provisional item";
    page.browse("Z:\\src\\two.exe", 20);
  };
  ASSERT_TRUE(commands.addEntry(category::Files));
  ASSERT_EQ(doc.files.count(), 2);
  EXPECT_EQ(doc.files.at(0).sourceName, "one.exe");
  EXPECT_EQ(doc.files.at(1).sourceName, "two.exe");
  EXPECT_EQ(doc.files.at(1).directoryRef, app) << "the controls kept their values";
  EXPECT_EQ(labels(category::Files),
            (std::vector<std::string>{"Disk 1:one.exe copied to [Install]\\App\\one.exe",
                                      "Disk 1:two.exe copied to [Install]\\App\\two.exe"}));
}

TEST_F(ValidateAndAdd, CancelDiscardsOnlyTheFileBeingEdited) {
  editor.ok = false;
  editor.script = [](CAddFileDlg& page) {
    page.browse("Z:\\src\\kept.exe", 1);
    ASSERT_TRUE(page.validateAndAddNew().ok());
    page.browse("Z:\\src\\dropped.exe", 1);
  };
  EXPECT_FALSE(commands.addEntry(category::Files));
  ASSERT_EQ(doc.files.count(), 1);
  EXPECT_EQ(doc.files.at(0).sourceName, "kept.exe");
  EXPECT_EQ(labels(category::Files).size(), 1u) << "no provisional item is left behind";
  EXPECT_TRUE(doc.isModified());
}

TEST_F(ValidateAndAdd, OnAnExistingFileRelabelsItsShortcuts) {
  EntryKey file = addFile("old.exe");
  EntryKey group = addGroup("G");
  ShortcutRecord s;
  s.fileRef = file;
  s.groupRef = group;
  s.name = "Old";
  add(s);
  tree->select(file);
  editor.script = [](CAddFileDlg& page) {
    page.destName = "renamed.exe";
    ASSERT_TRUE(page.validateAndAddNew().ok());
    page.browse("Z:\\src\\next.exe", 3);
  };
  ASSERT_TRUE(commands.editSelection());
  EXPECT_EQ(doc.files.count(), 2);
  EXPECT_EQ(doc.files.findEntry(file)->destName, "renamed.exe");
  EXPECT_EQ(labels(category::ProgramAdds),
            (std::vector<std::string>{"Declare [Install]\\renamed.exe in group G as Old"}));
  EXPECT_EQ(doc.files.at(1).sourceName, "next.exe");
}

TEST_F(ValidateAndAdd, RefusedFileIsNotStored) {
  editor.ok = false;
  editor.script = [](CAddFileDlg& page) {
    EXPECT_EQ(page.validateAndAddNew().kind, Check::Kind::Beep);  // no source name yet
  };
  commands.addEntry(category::Files);
  EXPECT_EQ(doc.files.count(), 0);
  EXPECT_TRUE(labels(category::Files).empty());
}

}  // namespace
}  // namespace vandrel::builder::pages
