// Tests of the drop import on real folders, through the emulated machine's Z: drive: the
// destination rules, the directory entries made for folders, the default disk, the dialogs
// through the interaction port and the closing messages.
#include "builder/dropimport/drop_import.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "builder/pages/pages_fixture_test.h"
#include "builder/strings/builder_strings.h"
#include "platform/emulated/machine_root.h"
#include "tests/support/temp_dir.h"
#include "ui/scripted_interaction.h"

namespace vandrel::builder::dropimport {
namespace {

// The scripted backend, recording what it was shown.
class Recorder : public ui::ScriptedInteraction {
 public:
  explicit Recorder(const std::string& answers) : ScriptedInteraction(ui::Answers::fromText(answers)) {}
  std::vector<ui::Message> messages;
  std::vector<ui::Choice> choices;
  std::vector<ui::Page> pages;
  int progressShown = 0;
  ui::Answer message(const ui::Message& m) override {
    messages.push_back(m);
    return ScriptedInteraction::message(m);
  }
  std::optional<int> choose(const ui::Choice& c) override {
    choices.push_back(c);
    return ScriptedInteraction::choose(c);
  }
  ui::PageResult page(const ui::Page& p) override {
    pages.push_back(p);
    return ScriptedInteraction::page(p);
  }
  void progress(const ui::Progress& p) override {
    ++progressShown;
    ScriptedInteraction::progress(p);
  }
};

struct Drop : ::testing::Test, testing::DocFixture {
  test::TempDir temp;
  std::unique_ptr<platform::Machine> machine;
  BuilderPreferences prefs;

  void SetUp() override {
    platform::emulated::initMachineRoot(temp / "machine", platform::emulated::Preset::Win98, "user");
    platform::MachineOptions options;
    options.hostDriveWritable = true;
    machine = platform::emulated::openMachine(temp / "machine", options);
    // Pkg: a.txt, b.txt and Sub (c.txt and Deep with d.txt).
    std::filesystem::create_directories(temp / "src" / "Pkg" / "Sub" / "Deep");
    test::writeFile(temp / "src" / "Pkg" / "a.txt", "aaaa");
    test::writeFile(temp / "src" / "Pkg" / "b.txt", "bb");
    test::writeFile(temp / "src" / "Pkg" / "Sub" / "c.txt", "c");
    test::writeFile(temp / "src" / "Pkg" / "Sub" / "Deep" / "d.txt", "d");
  }
  // The Windows form of a path below src ("Pkg\\a.txt").
  std::string win(std::string relative) {
    std::replace(relative.begin(), relative.end(), '\\', '/');
    std::optional<std::string> path = machine->files().windowsPath(temp / "src" / relative);
    if (!path) throw std::runtime_error("no Windows path for " + relative);
    return *path;
  }
  DropResult run(ui::Interaction& ui, DropDialogs& dialogs, const std::vector<std::string>& paths) {
    DropImport import(*tree, prefs, machine->files(), ui, dialogs);
    return import.run(paths);
  }
  DropResult run(Recorder& ui, const std::vector<std::string>& paths) {
    InteractionDropDialogs dialogs(ui);
    return run(ui, dialogs, paths);
  }
  const FileRecord& file(const std::string& name) {
    for (const FileRecord& f : doc.files) {
      if (f.sourceName == name) return f;
    }
    throw std::runtime_error("no file " + name);
  }
  std::vector<std::string> directoryNames() const {
    std::vector<std::string> names;
    for (const DirectoryRecord& d : doc.directories) names.push_back(d.name);
    return names;
  }
  EntryKey dirKey(const std::string& name) const {
    for (const DirectoryRecord& d : doc.directories) {
      if (d.name == name) return d.key;
    }
    return 0;
  }
};

TEST_F(Drop, DefaultsAskADestinationForEachFileAndIgnoreTheSubFolder) {
  Recorder ui("[Choices]\n1=Windows Dir\n2=#1\n");
  DropResult result = run(ui, {win("Pkg")});
  EXPECT_EQ(result.files, 2);
  EXPECT_EQ(result.directories, 1);
  EXPECT_FALSE(result.cancelled);
  EXPECT_EQ(directoryNames(), (std::vector<std::string>{"Pkg"}));
  EXPECT_EQ(doc.directories.at(0).description, "Unavailable");
  EXPECT_EQ(doc.directories.at(0).optional, 0);

  ASSERT_EQ(ui.choices.size(), 2u) << "one directory selector per file";
  EXPECT_EQ(ui.choices[0].text, "Choose in the list below the directory where to add the new file a.txt.");
  EXPECT_EQ(ui.choices[0].items, (std::vector<std::string>{"[Install]\\Pkg", "Install Path", "Root Drive",
                                                           "Windows System", "Windows Dir"}));
  EXPECT_EQ(file("a.txt").directoryRef, 0u);
  EXPECT_EQ(file("a.txt").predefinedDir, 3);
  EXPECT_EQ(file("b.txt").directoryRef, dirKey("Pkg"));
  EXPECT_EQ(file("a.txt").size, 4);
  EXPECT_EQ(file("a.txt").sourcePath, win("Pkg"));
  EXPECT_EQ(file("a.txt").destName, "a.txt");
  EXPECT_EQ(file("a.txt").uninstall, 1);

  EXPECT_EQ(ui.pages.size(), 2u) << "the file page for each file";
  ASSERT_FALSE(ui.messages.empty());
  EXPECT_EQ(ui.messages.back().text, "2 file(s) and 1 directorie(s) were added to the script though this drop operation.");
  EXPECT_EQ(ui.messages.back().icon, ui::Icon::Information);
  EXPECT_GT(ui.progressShown, 0);
  EXPECT_EQ(labels(category::Files),
            (std::vector<std::string>{"Disk 1:a.txt copied to [Windows]\\a.txt",
                                      "Disk 1:b.txt copied to [Install]\\Pkg\\b.txt"}));
}

TEST_F(Drop, ParentDirectoryModePutsFilesIntoTheNewDirectory) {
  prefs.dirMode = 1;
  Recorder ui("");
  DropResult result = run(ui, {win("Pkg")});
  EXPECT_EQ(result.files, 2);
  EXPECT_TRUE(ui.choices.empty()) << "nothing is asked";
  EXPECT_EQ(file("a.txt").directoryRef, dirKey("Pkg"));
  EXPECT_EQ(file("b.txt").directoryRef, dirKey("Pkg"));
}

TEST_F(Drop, SubFoldersBecomeNestedDirectories) {
  prefs.dirMode = 1;
  prefs.dropDirSub = true;
  prefs.dispProps = false;
  Recorder ui("");
  DropResult result = run(ui, {win("Pkg")});
  EXPECT_EQ(result.files, 4);
  EXPECT_EQ(result.directories, 3);
  EXPECT_EQ(directoryNames(), (std::vector<std::string>{"Pkg", "Pkg\\Sub", "Pkg\\Sub\\Deep"}));
  EXPECT_EQ(file("c.txt").directoryRef, dirKey("Pkg\\Sub"));
  EXPECT_EQ(file("d.txt").directoryRef, dirKey("Pkg\\Sub\\Deep"));
  EXPECT_TRUE(ui.pages.empty());
  // Breadth first: the folder's own files before the sub-folder's.
  std::vector<std::string> order;
  for (const FileRecord& f : doc.files) order.push_back(f.sourceName);
  EXPECT_EQ(order, (std::vector<std::string>{"a.txt", "b.txt", "c.txt", "d.txt"}));
}

TEST_F(Drop, NothingAddedShowsTheHint) {
  prefs.dropDirAdd = false;
  prefs.dropDirInc = false;
  Recorder ui("");
  DropResult result = run(ui, {win("Pkg")});
  EXPECT_EQ(result.files + result.directories, 0);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, str(sid::DropAddedNothing));
  EXPECT_EQ(ui.messages[0].icon, ui::Icon::Information);
  EXPECT_FALSE(doc.isModified());
}

TEST_F(Drop, EveryFileGetsTheHighestDiskAlreadyUsed) {
  addFile("one", 0, 1);
  addFile("three", 0, 3);
  prefs.dirMode = 2;
  prefs.dispProps = false;
  prefs.dispSummary = false;
  Recorder ui("");
  run(ui, {win("Pkg\\a.txt"), win("Pkg\\b.txt")});
  EXPECT_EQ(file("a.txt").disk, 3);
  EXPECT_EQ(file("b.txt").disk, 3);
  EXPECT_EQ(file("a.txt").directoryRef, 0u);
  EXPECT_TRUE(ui.messages.empty()) << "no summary when it is switched off";
}

TEST_F(Drop, UseDefaultSettingsThroughThePort) {
  prefs.dirMode = 2;
  prefs.dropDirSub = true;
  Recorder ui("[Wizard]\nUseDefaults=1\nDisk=4\n");
  run(ui, {win("Pkg")});
  ASSERT_EQ(ui.pages.size(), 1u) << "no file page after the box was ticked";
  EXPECT_EQ(doc.files.count(), 4);
  EXPECT_EQ(file("a.txt").disk, 4) << "the first page's values are stored";
  EXPECT_EQ(file("b.txt").disk, 1) << "the others keep the defaults";
}

// Dialogs answering from the test.
struct FakeDialogs : DropDialogs {
  int selectorCalls = 0;
  int pageCalls = 0;
  std::function<bool(DirectorySelector&)> selector = [](DirectorySelector& s) {
    s.selected = 0;
    return true;
  };
  std::function<bool(pages::CAddFileDlg&)> page = [](pages::CAddFileDlg&) { return true; };
  std::vector<bool> cancelEnabled;
  bool selectDirectory(DirectorySelector& s) override {
    ++selectorCalls;
    cancelEnabled.push_back(s.cancelEnabled());
    return selector(s);
  }
  bool editFile(pages::CAddFileDlg& p) override {
    ++pageCalls;
    EXPECT_TRUE(p.dropImport());
    return page(p);
  }
};

TEST_F(Drop, UseDefaultSettingsLastsForOneDrop) {
  prefs.dirMode = 2;
  FakeDialogs dialogs;
  dialogs.page = [](pages::CAddFileDlg& p) {
    p.useDefaults = true;
    return true;
  };
  Recorder ui("");
  run(ui, dialogs, {win("Pkg\\a.txt"), win("Pkg\\b.txt")});
  EXPECT_EQ(dialogs.pageCalls, 1);
  run(ui, dialogs, {win("Pkg\\Sub\\c.txt"), win("Pkg\\Sub\\Deep\\d.txt")});
  EXPECT_EQ(dialogs.pageCalls, 2) << "the next drop shows the page again";
}

TEST_F(Drop, KeptDirectoryChoiceIsUsedWithoutAsking) {
  EntryKey app = addDir("App");
  prefs.dispProps = false;
  FakeDialogs dialogs;
  dialogs.selector = [](DirectorySelector& s) {
    s.selected = 0;
    s.keep = true;
    return true;
  };
  Recorder ui("");
  run(ui, dialogs, {win("Pkg\\a.txt"), win("Pkg\\b.txt"), win("Pkg\\Sub\\c.txt")});
  EXPECT_EQ(dialogs.selectorCalls, 1);
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) EXPECT_EQ(file(name).directoryRef, app) << name;
  EXPECT_EQ(dialogs.cancelEnabled, (std::vector<bool>{true}));
  run(ui, dialogs, {win("Pkg\\a.txt")});
  EXPECT_EQ(dialogs.selectorCalls, 2) << "the kept choice lasts for one drop";
}

TEST_F(Drop, CancellingTheSelectorStopsTheImport) {
  prefs.dispProps = false;
  FakeDialogs dialogs;
  dialogs.selector = [](DirectorySelector&) { return false; };
  Recorder ui("");
  DropResult result = run(ui, dialogs, {win("Pkg\\a.txt"), win("Pkg\\b.txt")});
  EXPECT_TRUE(result.cancelled);
  EXPECT_EQ(result.files, 1) << "the current file is still added";
  EXPECT_EQ(ui.messages.back().text,
            str(sid::CancelledByUser) + strFormat(sid::DropAdded, "1", "0"));
  EXPECT_EQ(ui.messages.back().icon, ui::Icon::Stop);
}

TEST_F(Drop, SelectorCannotBeCancelledWhileFilePagesShow) {
  FakeDialogs dialogs;
  dialogs.selector = [](DirectorySelector&) { return false; };
  Recorder ui("");
  DropResult result = run(ui, dialogs, {win("Pkg\\a.txt"), win("Pkg\\b.txt")});
  EXPECT_EQ(dialogs.cancelEnabled, (std::vector<bool>{false, false}));
  EXPECT_FALSE(result.cancelled);
  EXPECT_EQ(result.files, 2);
}

TEST_F(Drop, CancellingAFilePageKeepsTheFileAndStops) {
  prefs.dirMode = 2;
  Recorder ui("[Wizard]\nCancel=file:" + win("Pkg") + "\\a.txt\n");
  DropResult result = run(ui, {win("Pkg\\a.txt"), win("Pkg\\b.txt")});
  EXPECT_TRUE(result.cancelled);
  EXPECT_EQ(doc.files.count(), 1);
  EXPECT_EQ(file("a.txt").destName, "a.txt");
  EXPECT_EQ(ui.messages.back().icon, ui::Icon::Stop);
}

TEST_F(Drop, ProgressCancelAsksFirst) {
  prefs.dirMode = 2;
  prefs.dispProps = false;
  Recorder ui("[Progress]\nCancelOn=Importing files\n[Answers]\n1=Yes\n");
  DropResult result = run(ui, {win("Pkg\\a.txt"), win("Pkg\\b.txt")});
  EXPECT_TRUE(result.cancelled);
  EXPECT_EQ(result.files, 0);
  EXPECT_EQ(ui.messages.front().text, str(sid::AskStopProcessing));
}

TEST_F(Drop, FoldersFromOneParentAndMissingFiles) {
  prefs.dispProps = false;
  prefs.dropDirInc = false;
  std::filesystem::create_directories(temp / "src" / "Pkg" / "Other");
  Recorder ui("");
  run(ui, {win("Pkg\\Sub"), win("Pkg\\Other")});
  // The first folder whose parent has no entry stands alone; a later one brings its parent.
  EXPECT_EQ(directoryNames(), (std::vector<std::string>{"Sub", "Pkg", "Pkg\\Other"}));

  prefs.dirMode = 2;
  run(ui, {win("Pkg\\gone.txt")});
  EXPECT_EQ(file("gone.txt").size, 0) << "a file whose status cannot be read";
}

TEST(DropNames, ItemAndParentNames) {
  EXPECT_EQ(itemName("Z:\\a\\b.txt"), "b.txt");
  EXPECT_EQ(parentName("Z:\\a\\b.txt"), "a");
  EXPECT_EQ(parentName("Z:\\b.txt"), "");
  EXPECT_EQ(parentName("b.txt"), "");
  CScriptDoc doc;
  DirectoryRecord nested{"Pkg\\Sub", 0, 0, "", 5};
  DirectoryRecord plain{"sub", 0, 0, "", 6};
  doc.appendEntry(nested);
  doc.appendEntry(plain);
  EXPECT_EQ(findDirectoryByName(doc, "SUB"), 5u) << "the last part counts; the first match wins";
  EXPECT_EQ(findDirectoryByName(doc, "Pkg"), 0u);
}

}  // namespace
}  // namespace vandrel::builder::dropimport
