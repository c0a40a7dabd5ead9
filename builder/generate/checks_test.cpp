// The file check, Test install, the summary sentences and statistics, and the version rows.
#include <gtest/gtest.h>

#include "builder/generate/file_check.h"
#include "builder/generate/generate_test_support.h"
#include "builder/generate/summary.h"
#include "builder/generate/test_install.h"
#include "builder/strings/builder_strings.h"
#include "builder/tree/script_tree.h"

namespace vandrel::builder {
namespace {

using namespace testing;
using ui::Answer;
using Action = ui::PageResult::Action;

class FakeProcess : public platform::Process {
 public:
  unsigned result = 33;
  std::vector<std::string> started;
  unsigned winExec(const std::string& commandLine, int) override {
    started.push_back(commandLine);
    return result;
  }
  std::optional<int> waitedStatus;
  std::optional<int> runAndWait(const std::string& commandLine) override {
    started.push_back(commandLine);
    return waitedStatus;
  }
  std::string moduleFileName() override { return {}; }
};

struct FileCheck : ::testing::Test {
  MemoryBuilder b;
  CScriptDoc doc;
  EntryKey file(const std::string& name, std::size_t size, std::int32_t recorded) {
    b.files.writeFile("C:\\Src\\" + name, std::string(size, 'x'));
    return addFile(doc, name, recorded);
  }
};

// Where a source folder or file named by a document is looked for.
TEST(PathBesideDocument, RelativePathsLieBelowTheDocumentsFolder) {
  struct Case {
    const char* document;
    const char* named;
    const char* expected;
  };
  for (const Case& c : {Case{"Z:\\proj\\app.cvx", "files", "Z:\\proj\\files"},
                        Case{"Z:\\proj\\app.cvx", "files\\sub", "Z:\\proj\\files\\sub"},
                        Case{"Z:\\proj\\app.cvx", ".\\files", "Z:\\proj\\files"},
                        Case{"Z:\\proj\\app.cvx", ".", "Z:\\proj"},
                        Case{"Z:\\proj\\app.cvx", "", "Z:\\proj"},
                        Case{"Z:\\proj\\app.cvx", "C:\\src", "C:\\src"},
                        Case{"Z:\\proj\\app.cvx", "c:src", "c:src"},
                        Case{"Z:\\proj\\app.cvx", "\\src", "\\src"},
                        Case{"", "files", "files"}}) {
    EXPECT_EQ(pathBesideDocument(c.document, c.named), c.expected) << c.document << " " << c.named;
  }
}

TEST_F(FileCheck, AllPresentChangesNothing) {
  file("a.exe", 1536, 1536);
  file("b.dat", 10, 10);
  FileCheckResult r = runFileCheck(doc, b.context);
  EXPECT_EQ(r.scanned, 2);
  EXPECT_EQ(r.corrected, 0);
  EXPECT_EQ(r.missing, 0);
  EXPECT_FALSE(doc.isModified());
  EXPECT_TRUE(b.ui.pages.empty());
  EXPECT_EQ(fileCheckReport(r),
            "Files scanned: 2\nFiles corrected: 0\nFiles missing: 0\n"
            "File\tDisk\tSize (Kb)\tCorrected\na.exe\t1\t1.5\tNo\nb.dat\t1\t0.0\tNo\n");
}

TEST_F(FileCheck, SizesCorrectedOnYesAndAutomatically) {
  file("a.exe", 100, 1);
  file("b.exe", 200, 2);
  file("c.exe", 300, 3);
  // No for a, Yes with the box for b
  b.ui.pageActions = {test::tick(false, Action::Cancel), test::tick(true, Action::Next)};
  FileCheckResult r = runFileCheck(doc, b.context);
  ASSERT_EQ(b.ui.pages.size(), 2u);
  EXPECT_EQ(b.ui.pages[0].caption, "File Verification Problem");
  EXPECT_EQ(b.ui.pages[0].text, strFormat(sid::AskFixSize, "A.EXE", "1"));
  EXPECT_EQ(doc.files.at(0).size, 1);
  EXPECT_EQ(doc.files.at(1).size, 200);
  EXPECT_EQ(doc.files.at(2).size, 300) << "corrected without a dialog";
  EXPECT_EQ(r.corrected, 2);
  EXPECT_FALSE(r.rows[0].corrected);
  EXPECT_TRUE(r.rows[2].corrected);
  EXPECT_TRUE(doc.isModified());
}

TEST_F(FileCheck, MissingFilesLocatedInTheLastFolder) {
  b.files.writeFile("C:\\Moved\\a.exe", "aaaa");
  b.files.writeFile("C:\\Moved\\b.exe", "bb");
  addFile(doc, "a.exe", 4);
  addFile(doc, "b.exe", 9);
  addFile(doc, "c.exe", 1);
  b.ui.pageActions = {test::tick(true)};  // locate all others automatically
  b.ui.folders = {"C:\\Moved"};       // a.exe found there; b.exe then without any dialog
  FileCheckResult r = runFileCheck(doc, b.context);
  EXPECT_EQ(b.ui.pages.size(), 1u);
  EXPECT_EQ(b.ui.pages[0].text, strFormat(sid::AskLocateSource, "C:\\Src\\a.exe", "1"));
  EXPECT_EQ(b.ui.folderPrompts[0].caption, strFormat(sid::PickSourceFolder, "A.EXE"));
  EXPECT_EQ(doc.files.at(0).sourcePath, "C:\\Moved");
  EXPECT_EQ(doc.files.at(1).sourcePath, "C:\\Moved");
  EXPECT_EQ(doc.files.at(1).size, 2);
  // c.exe is nowhere: the prompt is cancelled and the file counted missing.
  EXPECT_EQ(r.missing, 1);
  EXPECT_EQ(r.corrected, 2);
  EXPECT_EQ(r.rows[2].sizeKb, "-");
}

TEST_F(FileCheck, NoToLocateCountsMissing) {
  addFile(doc, "gone.exe", 4);
  b.ui.pageActions = {test::pressOn(Action::Cancel)};
  FileCheckResult r = runFileCheck(doc, b.context);
  EXPECT_EQ(r.missing, 1);
  EXPECT_TRUE(b.ui.folderPrompts.empty());
  EXPECT_EQ(doc.files.count(), 1) << "a missing file stays in the script";
}

struct TestInstall : ::testing::Test {
  MemoryBuilder b;
  FakeProcess process;
  CScriptDoc doc;
  TestInstall() {
    b.companions();
    b.context.process = &process;
    b.files.writeFile("C:\\Src\\a.exe", "a");
    addFile(doc, "a.exe", 1);
    doc.settings.appName = "Tool";
  }
  TestInstallOutcome run(StarterLaunch launch = StarterLaunch::Detached) {
    PackageGenerator generator(doc, ScriptTree(doc).entryOrder(), b.context);
    TestInstallResult result = runTestInstall(doc, generator, b.context, {}, launch);
    setupStatus = result.setupStatus;
    return result.outcome;
  }
  std::optional<int> setupStatus;
};

TEST_F(TestInstall, GeneratedPackageStartsAfterOneQuestion) {
  b.files.writeFile("C:\\Pkg\\Script.vrx", "x");
  doc.settings.lastGenPath = "C:\\Pkg\\";
  EXPECT_EQ(run(), TestInstallOutcome::Started);
  EXPECT_EQ(b.ui.texts(), std::vector<std::string>{str(sid::AskRunSetup)});
  EXPECT_EQ(process.started, std::vector<std::string>{"C:\\Pkg\\Setup.exe"});
}

TEST_F(TestInstall, CancelForgetsTheLastPackage) {
  doc.settings.lastGenPath = "C:\\Gone\\";
  b.ui.answers = {Answer::Cancel};
  EXPECT_EQ(run(), TestInstallOutcome::NotStarted);
  EXPECT_TRUE(doc.settings.lastGenPath.empty());
  EXPECT_TRUE(doc.isModified());
}

TEST_F(TestInstall, SearchingThePackageThatMoved) {
  b.files.writeFile("C:\\Moved\\Script.vrx", "x");
  b.ui.answers = {Answer::Yes, Answer::Yes};
  b.ui.folders = {"C:\\Elsewhere", "C:\\Moved"};
  EXPECT_EQ(run(), TestInstallOutcome::Started);
  EXPECT_EQ(doc.settings.lastGenPath, "C:\\Moved\\");
  EXPECT_EQ(b.ui.folderPrompts.size(), 2u);
  EXPECT_EQ(b.ui.folderPrompts[0].caption, str(sid::PickGeneratedFolder));
}

TEST_F(TestInstall, CancelledSearchLeadsToGenerate) {
  b.ui.answers = {Answer::Yes, Answer::Yes, Answer::Yes};  // search, generate, run
  b.ui.folders = {std::nullopt, "C:\\Pkg"};
  EXPECT_EQ(run(), TestInstallOutcome::Started);
  EXPECT_EQ(b.ui.texts(),
            (std::vector<std::string>{str(sid::AskLocateGenerated), str(sid::AskGenerateFirst),
                                      str(sid::GenerateComplete), str(sid::AskRunSetup)}));
  EXPECT_TRUE(b.files.exists("C:\\Pkg\\Setup.exe"));
  EXPECT_EQ(process.started, std::vector<std::string>{"C:\\Pkg\\Setup.exe"})
      << "the package just generated is the one started";
  EXPECT_EQ(doc.settings.lastGenPath, "C:\\Pkg\\");
}

TEST_F(TestInstall, IncompleteGenerationOrStarterFailure) {
  doc.files.at(0).size = 5;  // the copy will fall short: generation ends with errors
  b.ui.answers = {Answer::No, Answer::Yes, Answer::No};  // generate; do not abort
  b.ui.folders = {"C:\\Pkg"};
  EXPECT_EQ(run(), TestInstallOutcome::NotStarted);
  EXPECT_EQ(b.ui.texts().back(), str(sid::GenerateIncomplete));
  EXPECT_TRUE(process.started.empty());

  b.ui.messages.clear();
  doc.settings.lastGenPath = "C:\\Pkg\\";
  process.result = 2;
  EXPECT_EQ(run(), TestInstallOutcome::NotStarted);
  EXPECT_EQ(b.ui.texts(),
            (std::vector<std::string>{str(sid::AskRunSetup), str(sid::SetupNotFound)}));
}

TEST_F(TestInstall, AWaitedSetupGivesItsExitStatus) {
  b.files.writeFile("C:\\Pkg\\Script.vrx", "x");
  doc.settings.lastGenPath = "C:\\Pkg\\";
  process.waitedStatus = 15;
  EXPECT_EQ(run(StarterLaunch::Wait), TestInstallOutcome::Started);
  EXPECT_EQ(setupStatus, 15);
  EXPECT_EQ(process.started, std::vector<std::string>{"C:\\Pkg\\Setup.exe"});

  // A starter that cannot be started at all is no exit status.
  b.ui.messages.clear();
  process.waitedStatus.reset();
  EXPECT_EQ(run(StarterLaunch::Wait), TestInstallOutcome::NotStarted);
  EXPECT_FALSE(setupStatus.has_value());
  EXPECT_EQ(b.ui.texts().back(), str(sid::SetupNotFound));
  EXPECT_EQ(b.ui.messages.back().detail, "C:\\Pkg\\Setup.exe: not found");
}

TEST(Summary, Sentences) {
  ScriptSettings s;  // minCpu 1, minWin 3, nSyst 1, licence and registration shown
  EXPECT_EQ(summaryText(s),
            "This installation will require at least a 486 computer running Windows 95/98. "
            "The package generated will include 32 Bits setup files. "
            "The setup will show the Licence and Register window(s). "
            "The uninstaller used will be Dallow, and the packaged files will be stored as "
            "regular files. ");
  s.showLicence = 0;
  s.ownUnInstall = 1;
  s.archiveSize = 1440;
  s.nSyst = 2;
  s.minCpu = 2;
  s.minWin = 5;
  EXPECT_EQ(summaryText(s),
            "This installation will require at least a Pentium computer running Windows NT 4 and up. "
            "The package generated will include both 16 and 32 Bits setup files. "
            "The setup will show the Register window(s). "
            "The uninstaller used will be a proprietary uninstaller, and the packaged files will "
            "be stored in archive(s). ");
  s.regInfo = 0;
  EXPECT_EQ(summaryText(s).find("window(s)"), std::string::npos);
}

TEST(Summary, PageOfAnUnsavedDocumentAndWriteBack) {
  MemoryBuilder b;
  CScriptDoc doc;
  SummaryPage page = summaryPage(doc, b.files);
  EXPECT_EQ(page.scriptFor, "Untitled Install script");
  EXPECT_EQ(page.created, "Unavailable");
  EXPECT_EQ(page.modified, "Unavailable");
  applySummaryPage(doc, page);
  EXPECT_FALSE(doc.isModified()) << "nothing edited";
  page.subject = "Tools";
  page.author = "ann";
  applySummaryPage(doc, page);
  EXPECT_EQ(doc.properties.subject, "Tools");
  EXPECT_EQ(doc.properties.author, "ann");
  EXPECT_TRUE(doc.isModified());
}

TEST(Summary, StatisticsPerDiskAndOverhead) {
  MemoryBuilder b;
  b.companion("Setup.exe", 1024);
  b.companion("Tam32E.ex_", 2048);
  CScriptDoc doc;
  addFile(doc, "a", 1048576, 1);
  addFile(doc, "b", 524288, 3);
  addFile(doc, "c", 1023, 3);
  addDirectory(doc, "D");
  Statistics st = statistics(doc, b.files, "C:\\Corvix");
  ASSERT_EQ(st.disks.size(), 3u);
  EXPECT_EQ(st.disks[0].disk, "Disk 1");
  EXPECT_EQ(st.disks[0].size, "1.000 Mb");
  EXPECT_EQ(st.disks[1].size, "0 Mb");
  EXPECT_EQ(st.disks[2].size, "0.501 Mb");
  EXPECT_EQ(st.totalKb, (1048576 + 524288 + 1023) / 1024);
  EXPECT_EQ(st.files, 3);
  EXPECT_EQ(st.directories, 1);
  // Pes32E.ex_ is missing: the warning follows.
  EXPECT_EQ(st.overhead, "Vandrel files will require an additional 3.00 Kb space on the first "
                         "disk/media. Warning: some required files could not be found.");
  b.companion("Pes32E.ex_", 1024);
  EXPECT_EQ(statistics(doc, b.files, "C:\\Corvix").overhead,
            "Vandrel files will require an additional 4.00 Kb space on the first disk/media. ");
}

TEST(Versions, EightRowsFoundOrNot) {
  MemoryBuilder b;
  b.companion("Tam32E.ex_", 5000);
  std::vector<VersionRow> rows = versionRows(b.files, "C:\\Corvix");
  ASSERT_EQ(rows.size(), 8u);
  EXPECT_EQ(rows[0].file, "Tam16E.ex_");
  EXPECT_EQ(rows[0].dateStamp, "[File Not Found]");
  EXPECT_EQ(rows[2].file, "Tam32E.ex_");
  EXPECT_EQ(rows[2].description, "32 Bits Installer (US)");
  EXPECT_EQ(rows[2].sizeKb, "4");
  EXPECT_NE(rows[2].dateStamp, "[File Not Found]");
  EXPECT_EQ(rows[7].file, "Pes32F.ex_");
  EXPECT_EQ(rows[7].description, "32 Bits UnInstaller (French)");
}

}  // namespace
}  // namespace vandrel::builder
