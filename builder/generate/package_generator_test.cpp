// Generate and Regenerate script only over an in-memory machine: the package folders, the
// engine files, the questions and messages of each path through the command.
#include "builder/generate/package_generator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>

#include "builder/generate/generate_test_support.h"
#include "builder/generate/progress_service.h"
#include "builder/strings/builder_strings.h"
#include "builder/tree/script_tree.h"
#include "tests/support/temp_dir.h"

namespace vandrel::builder {
namespace {

using testing::addFile;
using testing::addGroup;
using testing::addMessage;
using ui::Answer;

struct Generation : ::testing::Test {
  testing::MemoryBuilder b;
  CScriptDoc doc;

  Generation() {
    b.companions();
    doc.settings.appName = "App";
  }
  // An author file of size bytes in C:\Src, with its entry.
  EntryKey file(const std::string& name, std::size_t size, int disk = 1) {
    b.files.writeFile("C:\\Src\\" + name, std::string(size, 'x'));
    return addFile(doc, name, std::int32_t(size), disk);
  }
  GenerateOutcome run(std::optional<std::string> folder = "C:\\Pkg", GenerateOptions options = {}) {
    b.ui.folders.push_front(folder);
    PackageGenerator generator(doc, ScriptTree(doc).entryOrder(), b.context);
    bool modified = doc.isModified();
    std::string lastGenPath = doc.settings.lastGenPath;
    EntryKey uninstallGroup = doc.uninstall.groupKey;
    GenerateOutcome outcome = generator.generate(options);
    EXPECT_EQ(doc.isModified(), modified) << "generation leaves the document as it is";
    EXPECT_EQ(doc.settings.lastGenPath, lastGenPath);
    EXPECT_EQ(doc.uninstall.groupKey, uninstallGroup);
    keepGenerationChoices(doc, generator);  // as the commands that generate do
    complete = generator.generatedComplete();
    return outcome;
  }
  bool exists(const std::string& path) { return b.files.exists(path); }
  // The names in C:\, where the package folders and anything staged beside them would be.
  std::vector<std::string> rootNames() {
    std::vector<std::string> names;
    for (const platform::FindData& f : b.files.find("C:\\*"))
      if (f.name != "." && f.name != "..") names.push_back(f.name);
    std::sort(names.begin(), names.end());
    return names;
  }
  bool shown(unsigned id) {
    for (const std::string& text : b.ui.texts())
      if (text == str(id)) return true;
    return false;
  }
  bool complete = false;
};

TEST_F(Generation, OneDiskGoesIntoTheChosenFolder) {
  file("app.exe", 5000);
  file("data.bin", 0);
  b.files.writeFile("C:\\Src\\msg.txt", "insert disk");
  addMessage(doc, "disk1.txt", 1, "C:\\Src\\msg.txt");
  b.files.makeDirectories("C:\\Pkg");
  ASSERT_EQ(run(), GenerateOutcome::Complete);
  EXPECT_TRUE(complete);
  for (const char* name : {"Script.vrx", "Setup.exe", "Tamsin32.ex_", "Peskin32.ex_", "app.exe",
                           "data.bin", "disk1.txt"}) {
    EXPECT_TRUE(exists(std::string("C:\\Pkg\\") + name)) << name;
  }
  EXPECT_FALSE(exists("C:\\Pkg\\Tam32E.ex_"));
  EXPECT_EQ(b.files.readFile("C:\\Pkg\\app.exe")->size(), 5000u);
  EXPECT_EQ(*b.files.readFile("C:\\Pkg\\disk1.txt"), "insert disk");
  EXPECT_EQ(doc.settings.lastGenPath, "C:\\Pkg\\");
  EXPECT_TRUE(doc.isModified());
  EXPECT_EQ(b.ui.texts(), std::vector<std::string>{str(sid::GenerateComplete)});
  ASSERT_EQ(b.ui.folderPrompts.size(), 1u);
  EXPECT_EQ(b.ui.folderPrompts[0].caption, "Please select a directory where to save Disk 1 files...");
  EXPECT_EQ(b.ui.folderPrompts[0].dummyName, "Junk");
}

TEST_F(Generation, FrenchEnginesAndTheirNamesOnDisk) {
  doc.settings.language = 1;
  b.companion("Tam32F.ex_", 333);
  b.companion("Pes32F.ex_", 222);
  file("a.exe", 1);
  ASSERT_EQ(run(), GenerateOutcome::Complete);
  EXPECT_EQ(b.files.readFile("C:\\Pkg\\Tamsin32.ex_")->size(), 333u);
  EXPECT_EQ(b.files.readFile("C:\\Pkg\\Peskin32.ex_")->size(), 222u);
}

TEST_F(Generation, AutomaticDiskFoldersOnlyForDisksInUse) {
  file("one.exe", 10, 1);
  file("three.dat", 20, 3);
  b.ui.answers = {Answer::No};  // not each disk: automatic DiskN folders
  ASSERT_EQ(run(), GenerateOutcome::Complete);
  EXPECT_EQ(b.ui.texts().front(), str(sid::AskChooseDiskFolders));
  EXPECT_TRUE(exists("C:\\Pkg\\Disk1\\Script.vrx"));
  EXPECT_TRUE(exists("C:\\Pkg\\Disk1\\one.exe"));
  EXPECT_TRUE(exists("C:\\Pkg\\Disk3\\three.dat"));
  EXPECT_FALSE(exists("C:\\Pkg\\Disk2"));
  EXPECT_EQ(doc.settings.lastGenPath, "C:\\Pkg\\Disk1\\");
  EXPECT_EQ(b.ui.folderPrompts.size(), 1u);
}

TEST_F(Generation, EachDiskItsOwnFolder) {
  file("one.exe", 10, 1);
  file("two.exe", 10, 2);
  b.ui.folders.push_back("C:\\Second");
  ASSERT_EQ(run("C:\\First", {std::nullopt, true, {}}), GenerateOutcome::Complete);
  EXPECT_TRUE(exists("C:\\First\\one.exe"));
  EXPECT_TRUE(exists("C:\\Second\\two.exe"));
  ASSERT_EQ(b.ui.folderPrompts.size(), 2u);
  EXPECT_EQ(b.ui.folderPrompts[1].caption, "Please select a directory where to save Disk 2 files...");
  EXPECT_FALSE(shown(sid::AskChooseDiskFolders)) << "the option answers the question";
}

TEST_F(Generation, TheLogNamesEachFileOfThePackageWithItsDiskAndWhetherItIsCompressed) {
  test::TempDir dir;
  ui::ActionLog log(ui::Program::Builder, (dir / "actions.jsonl").string());
  b.context.log = &log;
  file("one.exe", 10, 1);
  // An author file stored compressed (expanded at install) keeps its SZDD form.
  b.files.writeFile("C:\\Src\\two.dl_", std::string("SZDD\x88\xf0\x27\x33", 8) + "AXxxxxxxxxxxxx");
  addFile(doc, "two.dl_", 22, 2);
  b.ui.folders.push_back("C:\\Second");
  ASSERT_EQ(run("C:\\First", {std::nullopt, true, {}}), GenerateOutcome::Complete);
  b.context.log = nullptr;
  std::string text = test::readFile(dir / "actions.jsonl");
  const char* lines[] = {
      R"({"program":"builder","action":"packaged","source":"C:\\Corvix\\Setup.exe","disk":1,"target":"Setup.exe","compressed":"no","bytes":100})",
      R"({"program":"builder","action":"packaged","source":"C:\\Corvix\\Tam32E.ex_","disk":1,"target":"Tamsin32.ex_","compressed":"no","bytes":100})",
      R"({"program":"builder","action":"packaged","source":"C:\\Src\\one.exe","disk":1,"target":"one.exe","compressed":"no","bytes":10})",
      R"({"program":"builder","action":"packaged","source":"C:\\Src\\two.dl_","disk":2,"target":"two.dl_","compressed":"yes","bytes":22})",
  };
  for (const char* line : lines) EXPECT_NE(text.find(std::string(line) + "\n"), std::string::npos) << line << "\n" << text;
  EXPECT_EQ(text.find("Script.vrx"), std::string::npos) << "the script is written, not copied";
  log.summary(0, "the package was generated");
  EXPECT_NE(test::readFile(dir / "actions.jsonl").find("\"disks\":2,"), std::string::npos);
}

TEST_F(Generation, CancelledFolderPrompts) {
  file("one.exe", 10, 1);
  file("two.exe", 10, 2);
  EXPECT_EQ(run(std::nullopt, {std::nullopt, true, {}}), GenerateOutcome::Cancelled);
  EXPECT_EQ(b.ui.texts().back(), str(sid::CancelledByUser));
  EXPECT_TRUE(doc.settings.lastGenPath.empty());

  // The second disk's prompt cancelled: the first disk, already copied aside, is not put in
  // place, and the message says so.
  b.ui.messages.clear();
  b.ui.folders.clear();
  EXPECT_EQ(run("C:\\First", {std::nullopt, true, {}}), GenerateOutcome::Cancelled);
  EXPECT_EQ(b.ui.texts().back(), str(sid::GenerateCancelled));
  EXPECT_NE(b.ui.messages.back().detail.find("Nothing was put in place"), std::string::npos);
  EXPECT_FALSE(exists("C:\\First"));
  EXPECT_EQ(rootNames(), std::vector<std::string>({"Corvix", "Src"}));
  EXPECT_FALSE(complete);
}

TEST_F(Generation, MissingSourcesAskFirst) {
  file("here.exe", 10);
  addFile(doc, "gone.exe", 10);
  b.ui.answers = {Answer::No};
  EXPECT_EQ(run(), GenerateOutcome::Cancelled);
  EXPECT_EQ(b.ui.texts(), std::vector<std::string>{str(sid::AskGenerateWithMissing)});
  EXPECT_EQ(b.ui.messages[0].detail, "C:\\Src\\gone.exe: not found")
      << "the question names the file";
  EXPECT_FALSE(exists("C:\\Pkg\\Script.vrx"));

  // Proceeding anyway: the short copy is asked about; No goes on and ends with errors.
  b.ui.messages.clear();
  b.ui.folders.clear();
  b.ui.answers = {Answer::Yes, Answer::No};
  EXPECT_EQ(run(), GenerateOutcome::WithErrors);
  EXPECT_EQ(b.ui.texts(),
            (std::vector<std::string>{str(sid::AskGenerateWithMissing), str(sid::AskAbortShortCopy),
                                      str(sid::GenerateHadErrors)}));
  EXPECT_TRUE(exists("C:\\Pkg\\here.exe"));
  EXPECT_EQ(b.ui.messages[1].detail, "C:\\Src\\gone.exe: not found");
  EXPECT_EQ(b.ui.messages[2].detail, "C:\\Src\\gone.exe: not found") << "the errors are listed";
  EXPECT_FALSE(complete);

  // Yes to "Do you want to abort ?" stops there.
  b.ui.messages.clear();
  b.ui.answers = {Answer::Yes, Answer::Yes};
  EXPECT_EQ(run(), GenerateOutcome::Cancelled);
  EXPECT_EQ(b.ui.texts(), (std::vector<std::string>{str(sid::AskGenerateWithMissing),
                                                    str(sid::AskAbortShortCopy)}));
}

TEST_F(Generation, WrongSizeInTheDocumentIsAnError) {
  file("a.exe", 10);
  doc.files.at(0).size = 11;
  b.ui.answers = {Answer::No};
  EXPECT_EQ(run(), GenerateOutcome::WithErrors);
  EXPECT_EQ(b.ui.texts(),
            (std::vector<std::string>{str(sid::AskAbortShortCopy), str(sid::GenerateHadErrors)}));
  EXPECT_EQ(b.ui.messages[0].detail,
            "C:\\Src\\a.exe: size 10 bytes, recorded 11 (the file changed "
            "since it was added)");
}

// Unattended runs settle changed sizes before anything is written: stopped, nothing is made
// and nothing asked; or the new sizes recorded, which the script then holds.
TEST_F(Generation, ChangedSizesAreHandedOverBeforeAnythingIsWritten) {
  file("same.exe", 10);
  file("grown.exe", 30);
  doc.files.at(1).size = 20;
  addFile(doc, "gone.exe", 5);
  std::vector<SizeChange> seen;
  GenerateOptions options;
  options.changedSizes = [&](const std::vector<SizeChange>& changes) {
    seen = changes;
    return false;
  };
  b.ui.answers = {Answer::Yes};  // proceed without gone.exe
  // While the question is open the author changes a file: its new size is the one seen.
  b.ui.whileShown = [&](const ui::Message&) {
    b.files.writeFile("C:\\Src\\grown.exe", std::string(35, 'x'));
  };
  EXPECT_EQ(run("C:\\Pkg", options), GenerateOutcome::Cancelled);
  b.ui.whileShown = nullptr;
  ASSERT_EQ(seen.size(), 1u) << "a missing file is no size change";
  EXPECT_EQ(seen[0].file, 1);
  EXPECT_EQ(seen[0].path, "C:\\Src\\grown.exe");
  EXPECT_EQ(seen[0].recorded, 20);
  EXPECT_EQ(seen[0].actual, 35u);
  EXPECT_EQ(b.ui.texts(), std::vector<std::string>{str(sid::AskGenerateWithMissing)});
  EXPECT_FALSE(exists("C:\\Pkg"));

  doc.files.eraseAt(2);
  b.ui.messages.clear();
  options.changedSizes = [&](const std::vector<SizeChange>& changes) {
    for (const SizeChange& c : changes) doc.files.at(c.file).size = std::int32_t(c.actual);
    return true;
  };
  EXPECT_EQ(run("C:\\Pkg", options), GenerateOutcome::Complete);
  EXPECT_EQ(b.ui.texts(), std::vector<std::string>{str(sid::GenerateComplete)});
  EXPECT_NE(b.files.readFile("C:\\Pkg\\Script.vrx")->find("=grown.exe,grown.exe,0,1,-1,1,0,0,35,"),
            std::string::npos);
}

// A package already in the folder is replaced only by a complete one; the author's other
// files there stay.
TEST_F(Generation, AnExistingPackageIsReplacedOnlyWhenTheNewOneIsComplete) {
  file("app.exe", 10);
  file("data.bin", 10);
  b.files.writeFile("C:\\Pkg\\app.exe", "old");
  b.files.writeFile("C:\\Pkg\\Script.vrx", "old script");
  b.files.writeFile("C:\\Pkg\\notes.txt", "mine");
  b.files.deleteFile("C:\\Src\\data.bin");    // missing half way
  b.ui.answers = {Answer::Yes, Answer::Yes};  // proceed anyway; then abort
  EXPECT_EQ(run(), GenerateOutcome::Cancelled);
  EXPECT_EQ(*b.files.readFile("C:\\Pkg\\app.exe"), "old");
  EXPECT_EQ(*b.files.readFile("C:\\Pkg\\Script.vrx"), "old script");
  EXPECT_FALSE(exists("C:\\Pkg\\Setup.exe"));
  EXPECT_EQ(rootNames(), std::vector<std::string>({"Corvix", "Pkg", "Src"}));

  b.files.writeFile("C:\\Src\\data.bin", std::string(10, 'x'));
  b.ui.messages.clear();
  ASSERT_EQ(run(), GenerateOutcome::Complete);
  EXPECT_EQ(*b.files.readFile("C:\\Pkg\\app.exe"), std::string(10, 'x'));
  EXPECT_NE(*b.files.readFile("C:\\Pkg\\Script.vrx"), "old script");
  EXPECT_TRUE(exists("C:\\Pkg\\Setup.exe"));
  EXPECT_EQ(*b.files.readFile("C:\\Pkg\\notes.txt"), "mine");
  EXPECT_EQ(rootNames(), std::vector<std::string>({"Corvix", "Pkg", "Src"}));
}

TEST_F(Generation, AFailureOnALaterDiskLeavesTheEarlierDisksUnmade) {
  file("one.exe", 10, 1);
  file("two.exe", 10, 2);
  b.files.deleteFile("C:\\Src\\two.exe");
  b.ui.answers = {Answer::Yes, Answer::No, Answer::Yes};  // proceed; automatic; abort
  EXPECT_EQ(run(), GenerateOutcome::Cancelled);
  EXPECT_EQ(b.ui.texts().back(), str(sid::AskAbortShortCopy));
  EXPECT_FALSE(exists("C:\\Pkg")) << "the folder made to hold the disks is removed too";
  EXPECT_EQ(rootNames(), std::vector<std::string>({"Corvix", "Src"}));
}

TEST_F(Generation, MissingEngineFiles) {
  doc.settings.nSyst = 2;  // the 16-bit engines do not exist
  file("a.exe", 1);
  b.ui.answers = {Answer::No};
  EXPECT_EQ(run(), GenerateOutcome::Cancelled);
  EXPECT_EQ(b.ui.texts(), std::vector<std::string>{str(sid::AskEngineFilesMissing)});
  EXPECT_EQ(b.ui.messages[0].detail,
            "C:\\Corvix\\Tam16E.ex_: not found\nC:\\Corvix\\Pes16E.ex_: not found");
  EXPECT_FALSE(exists("C:\\Pkg"));

  b.ui.messages.clear();
  b.ui.answers = {Answer::Yes};
  EXPECT_EQ(run(), GenerateOutcome::Complete);
  EXPECT_TRUE(exists("C:\\Pkg\\a.exe"));
  EXPECT_TRUE(exists("C:\\Pkg\\Peskin32.ex_"));
  EXPECT_FALSE(exists("C:\\Pkg\\Tamsin16.ex_"));
}

TEST_F(Generation, OwnUninstallerCopiesNoUninstaller) {
  doc.settings.ownUnInstall = 1;
  file("a.exe", 1);
  ASSERT_EQ(run(), GenerateOutcome::Complete);
  EXPECT_FALSE(exists("C:\\Pkg\\Peskin32.ex_"));
  EXPECT_TRUE(exists("C:\\Pkg\\Tamsin32.ex_"));
}

TEST_F(Generation, OnlyTheFirstMessageOfADiskIsCopied) {
  file("a.exe", 1, 2);
  b.files.writeFile("C:\\Src\\m1.txt", "first");
  b.files.writeFile("C:\\Src\\m2.txt", "second");
  addMessage(doc, "one.txt", 2, "C:\\Src\\m1.txt");
  addMessage(doc, "two.txt", 2, "C:\\Src\\m2.txt");
  addMessage(doc, "none.txt", 1, "C:\\Src\\missing.txt");
  b.ui.answers = {Answer::No};
  ASSERT_EQ(run(), GenerateOutcome::Complete);
  EXPECT_TRUE(exists("C:\\Pkg\\Disk2\\one.txt"));
  EXPECT_FALSE(exists("C:\\Pkg\\Disk2\\two.txt"));
  EXPECT_FALSE(exists("C:\\Pkg\\Disk1\\none.txt"));
}

TEST_F(Generation, FileOnNoDiskEndsWithErrors) {
  file("a.exe", 1, 1);
  file("lost.exe", 1, 0);
  ASSERT_EQ(run(), GenerateOutcome::WithErrors);
  EXPECT_EQ(b.ui.texts().back(), str(sid::GenerateHadErrors));
  EXPECT_TRUE(exists("C:\\Pkg\\a.exe"));
  EXPECT_FALSE(exists("C:\\Pkg\\lost.exe"));
}

TEST_F(Generation, CancelDuringTheCopy) {
  file("big.bin", 3 * 1024 * 1024);
  b.ui.cancelAfterUpdates = 6;      // a few updates into the copy
  b.ui.answers = {Answer::Yes};     // "Do really want to stop ...": Yes
  EXPECT_EQ(run(), GenerateOutcome::Cancelled);
  std::vector<std::string> texts = b.ui.texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], str(sid::AskStopProcessing));
  EXPECT_TRUE(texts[1] == str(sid::GenerateCancelled) || texts[1] == str(sid::CancelledByUser))
      << texts[1];
  EXPECT_FALSE(complete);
  EXPECT_EQ(rootNames(), std::vector<std::string>({"Corvix", "Src"}));
}

// Ctrl+C in the middle of a copy cancels without a question, and the package folder stays as
// it was; outside a progress display it would end the program as usual.
// Ctrl+C, a termination request and a closed terminal (SIGHUP) during the copy all cancel it.
const int kInterrupts[] = {SIGINT, SIGTERM,
#ifdef SIGHUP
                           SIGHUP
#endif
};

class InterruptedGeneration : public Generation, public ::testing::WithParamInterface<int> {};

TEST_P(InterruptedGeneration, AnInterruptDuringTheCopyCancelsAndCleansUp) {
  const int signal = GetParam();
  struct Interrupting : test::FakeInteraction {
    int signal = SIGINT;
    int updates = 0;
    void progress(const ui::Progress& p) override {
      FakeInteraction::progress(p);
      if (++updates == 6) std::raise(signal);
    }
  };
  Interrupting ui;
  ui.signal = signal;
  ui.addDummyName = true;
  ProgressService progress(ui, b.files);
  BuilderContext context{b.files, ui, progress, "C:\\Corvix", nullptr};
  installInterruptHandlers();
  file("big.bin", 3 * 1024 * 1024);
  b.files.writeFile("C:\\Pkg\\big.bin", "the old package");
  ui.folders.push_back("C:\\Pkg");
  PackageGenerator generator(doc, ScriptTree(doc).entryOrder(), context);
  EXPECT_EQ(generator.generate(), GenerateOutcome::Cancelled);
  for (int handled : kInterrupts) std::signal(handled, SIG_DFL);
  EXPECT_EQ(ui.questions(), std::vector<std::string>{}) << "an interrupt is not asked about";
  ASSERT_FALSE(ui.messages.empty());
  EXPECT_TRUE(ui.messages.back().text == str(sid::GenerateCancelled) ||
              ui.messages.back().text == str(sid::CancelledByUser));
  EXPECT_EQ(*b.files.readFile("C:\\Pkg\\big.bin"), "the old package");
  EXPECT_EQ(rootNames(), std::vector<std::string>({"Corvix", "Pkg", "Src"}));
}

INSTANTIATE_TEST_SUITE_P(Signals, InterruptedGeneration, ::testing::ValuesIn(kInterrupts));

// A package folder that cannot be written fails with the folder named, and what was written
// aside is removed.
TEST_F(Generation, UnwritablePackageFolderFailsAndLeavesNothingBeside) {
  file("a.exe", 1);
  b.files.makeDirectories("C:\\Pkg");
  b.files.denyAccess("C:\\Pkg");
  EXPECT_EQ(run(), GenerateOutcome::Failed);
  EXPECT_EQ(b.ui.texts(), std::vector<std::string>{str(sid::SaveFailed)});
  EXPECT_EQ(b.ui.messages[0].detail.rfind("C:\\Pkg\\", 0), 0u) << b.ui.messages[0].detail;
  EXPECT_EQ(rootNames(), std::vector<std::string>({"Corvix", "Pkg", "Src"}));

  b.ui.messages.clear();
  b.files.writeFile("C:\\File", "x");
  EXPECT_EQ(run("C:\\File"), GenerateOutcome::Failed);
  EXPECT_EQ(b.ui.messages[0].detail, "C:\\File: a file of that name is in the way of the folder");
}

TEST_F(Generation, RegenerateScriptOnly) {
  file("a.exe", 1);
  PackageGenerator generator(doc, ScriptTree(doc).entryOrder(), b.context);
  EXPECT_FALSE(generator.regenerateScript());
  EXPECT_EQ(b.ui.texts(), std::vector<std::string>{str(sid::SetupNotFound)});

  b.files.makeDirectories("C:\\Pkg");
  doc.settings.lastGenPath = "C:\\Pkg\\";
  doc.settings.appName = "Renamed";
  EXPECT_TRUE(generator.regenerateScript());
  EXPECT_NE(b.files.readFile("C:\\Pkg\\Script.vrx")->find("AppName=Renamed\r\n"), std::string::npos);
  EXPECT_FALSE(exists("C:\\Pkg\\a.exe")) << "only the script is written";
}

// The uninstall registration is named after AppName: a package without a name (empty or
// blanks only) is refused before anything is asked or written.
TEST_F(Generation, APackageWithoutNameIsRefused) {
  file("a.exe", 1);
  b.files.makeDirectories("C:\\Pkg");
  for (const char* name : {"", " ", " \t "}) {
    doc.settings.appName = name;
    doc.settings.lastGenPath = "";
    b.ui.messages.clear();
    b.ui.folders.clear();
    EXPECT_EQ(run(), GenerateOutcome::Failed) << '"' << name << '"';
    EXPECT_EQ(b.ui.texts(), std::vector<std::string>{str(sid::NoApplicationName)});
    EXPECT_FALSE(exists("C:\\Pkg\\Script.vrx"));
    EXPECT_TRUE(doc.settings.lastGenPath.empty()) << "no folder was chosen";

    doc.settings.lastGenPath = "C:\\Pkg\\";
    b.ui.messages.clear();
    PackageGenerator generator(doc, ScriptTree(doc).entryOrder(), b.context);
    EXPECT_FALSE(generator.regenerateScript());
    EXPECT_EQ(b.ui.texts(), std::vector<std::string>{str(sid::NoApplicationName)});
    EXPECT_FALSE(exists("C:\\Pkg\\Script.vrx"));
  }
  doc.settings.appName = " Tool";
  doc.settings.lastGenPath = "";
  b.ui.messages.clear();
  b.ui.folders.clear();
  EXPECT_EQ(run(), GenerateOutcome::Complete) << "a name with a blank in it is a name";
}

// A disk keeps one file of a name: two source files of one name on one disk would install
// one content under both names, so generation refuses them, naming both entries, before it
// asks or writes anything. The same source file twice is stored once, and two files of one
// name on two disks are two package files.
TEST_F(Generation, TwoSourceFilesOfOneNameOnOneDiskAreRefused) {
  b.files.writeFile("C:\\Src\\a\\readme.txt", "from a");
  b.files.writeFile("C:\\Src\\b\\readme.txt", "from b!");
  addFile(doc, "readme.txt", 6, 1, 0, 0, "C:\\Src\\a");
  addFile(doc, "readme.txt", 6, 1, 0, 1, "C:\\Src\\a");
  addFile(doc, "readme.txt", 7, 2, 0, 2, "C:\\Src\\b");
  b.ui.answers = {Answer::No};  // automatic disk folders
  ASSERT_EQ(run(), GenerateOutcome::Complete);
  EXPECT_EQ(*b.files.readFile("C:\\Pkg\\Disk1\\readme.txt"), "from a");
  EXPECT_EQ(*b.files.readFile("C:\\Pkg\\Disk2\\readme.txt"), "from b!");

  doc.files.at(2).disk = 1;
  doc.settings.lastGenPath.clear();
  b.ui.messages.clear();
  b.ui.folders.clear();
  EXPECT_EQ(run("C:\\Other"), GenerateOutcome::Failed);
  EXPECT_EQ(b.ui.texts(), std::vector<std::string>{str(sid::SameStoredName)});
  EXPECT_EQ(b.ui.messages[0].detail,
            "entry 0: C:\\Src\\a\\readme.txt\nentry 2: C:\\Src\\b\\readme.txt\n"
            "both stored as readme.txt on disk 1");
  EXPECT_FALSE(exists("C:\\Other"));
  EXPECT_EQ(b.ui.folderPrompts.size(), 1u) << "refused before the folder is asked";
}

// A package generated into a folder that is, or holds, a source folder would mix with the
// files it is made of (and replace them by their packaged copies): refused before anything
// is written, naming both folders. A package folder below the sources is no such folder.
TEST_F(Generation, APackageIntoItsOwnSourcesIsRefused) {
  file("a.exe", 3);
  file("b.exe", 4);
  for (const char* folder : {"C:\\Src", "C:\\src\\", "C:\\"}) {
    b.ui.messages.clear();
    doc.settings.lastGenPath.clear();
    EXPECT_EQ(run(folder), GenerateOutcome::Failed) << folder;
    EXPECT_EQ(b.ui.texts(), std::vector<std::string>{str(sid::PackageOverSources)}) << folder;
    EXPECT_NE(b.ui.messages[0].detail.find(": holds the source folder C:\\Src"), std::string::npos)
        << b.ui.messages[0].detail;
    EXPECT_FALSE(exists("C:\\Src\\Script.vrx")) << folder;
    EXPECT_EQ(*b.files.readFile("C:\\Src\\a.exe"), "xxx");
    EXPECT_TRUE(doc.settings.lastGenPath.empty()) << "no folder was kept";
  }
  // Automatic disk folders: a later disk's folder is checked before the first is written.
  file("c.exe", 5, 2);
  b.files.writeFile("C:\\Pkg\\Disk2\\c.exe", std::string(5, 'x'));
  doc.files.at(2).sourcePath = "C:\\Pkg\\Disk2";
  b.ui.messages.clear();
  b.ui.answers = {Answer::No};
  EXPECT_EQ(run("C:\\Pkg"), GenerateOutcome::Failed);
  EXPECT_EQ(b.ui.texts().back(), str(sid::PackageOverSources));
  EXPECT_FALSE(exists("C:\\Pkg\\Disk1"));

  doc.files.at(2).sourcePath = "C:\\Src";
  b.files.writeFile("C:\\Src\\c.exe", std::string(5, 'x'));
  b.ui.messages.clear();
  b.ui.answers = {Answer::No};
  EXPECT_EQ(run("C:\\Src\\Out"), GenerateOutcome::Complete) << "below the sources is allowed";
  EXPECT_TRUE(exists("C:\\Src\\Out\\Disk1\\a.exe"));
}

TEST_F(Generation, TheUninstallerGroupIsKeptOnceAScriptIsComposed) {
  file("a.exe", 1);
  EntryKey first = addGroup(doc, "Zed");
  addGroup(doc, "Able");
  PackageGenerator generator(doc, ScriptTree(doc).entryOrder(), b.context);
  EXPECT_FALSE(generator.regenerateScript()) << "no package yet";
  keepGenerationChoices(doc, generator);
  EXPECT_EQ(doc.uninstall.groupKey, 0u) << "no script was composed";
  EXPECT_FALSE(doc.isModified());

  ASSERT_EQ(run(), GenerateOutcome::Complete);
  EXPECT_EQ(doc.uninstall.groupKey, first) << "the first group declared, as in the script";
  EXPECT_EQ(doc.settings.lastGenPath, "C:\\Pkg\\");
  EXPECT_TRUE(doc.isModified());
}

TEST(GenerateCommand, EnabledWithEntriesThatInstallSomething) {
  CScriptDoc doc;
  EXPECT_FALSE(PackageGenerator::canGenerate(doc));
  testing::addDirectory(doc, "A");
  testing::addDescription(doc, "d");
  addMessage(doc, "m", 1, "p");
  EXPECT_FALSE(PackageGenerator::canGenerate(doc));
  testing::addIni(doc, "s", "k", "v");
  EXPECT_TRUE(PackageGenerator::canGenerate(doc));
}

}  // namespace
}  // namespace vandrel::builder
