// The integrity check with the real Scanlet.dll of build/bin: a clean document gives a log
// without findings, a document with planted faults gets one line per fault; the questions,
// the default log places and the failures of the library and of the log.
#include "builder/generate/integrity_check.h"

#include <gtest/gtest.h>

#include <sstream>

#include "builder/generate/generate_test_support.h"
#include "builder/strings/builder_strings.h"
#include "platform/emulated/machine_root.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace vandrel::builder {
namespace {

using namespace testing;
using ui::Answer;

class RecordingProcess : public platform::Process {
 public:
  std::vector<std::string> started;
  unsigned result = 33;  // 2: the program is not found
  unsigned winExec(const std::string& commandLine, int) override {
    started.push_back(commandLine);
    return result;
  }
  std::optional<int> runAndWait(const std::string&) override { return std::nullopt; }
  std::string moduleFileName() override { return {}; }
};

struct IntegrityCheck : ::testing::Test {
  test::TempDir dir;
  std::unique_ptr<platform::Machine> machine;
  test::FakeInteraction ui;
  RecordingProcess process;
  std::unique_ptr<ProgressService> progress;
  std::unique_ptr<BuilderContext> context;
  CScriptDoc doc;
  std::string src;  // Windows path of the author's files

  IntegrityCheck() {
    ui.addDummyName = true;  // the log file prompt is answered with a folder
    platform::emulated::initMachineRoot(dir / "m", platform::emulated::Preset::Win98, "ann");
    platform::MachineOptions options;
    options.hostDriveWritable = true;
    machine = platform::emulated::openMachine(dir / "m", options);
    progress = std::make_unique<ProgressService>(ui, machine->files());
    std::string bin = *machine->files().windowsPath(test::binPath("corvix").parent_path());
    context.reset(new BuilderContext{machine->files(), ui, *progress, bin, &process});
    context->libraries = &machine->libraries();
    context->tempFolder = *machine->files().windowsPath(dir.path());
    std::filesystem::create_directories(dir / "src");
    src = *machine->files().windowsPath(dir / "src");
    doc.setPathName(*machine->files().windowsPath(dir / "doc.cvx"));
  }
  EntryKey file(const std::string& name, std::size_t size, int disk = 1) {
    test::writeFile(dir / "src" / name, std::string(size, 'x'));
    return addFile(doc, name, std::int32_t(size), disk, 0, 0, src);
  }
  // A document without any fault.
  void cleanDocument() {
    doc.settings.appName = "Tool";
    EntryKey data = addDirectory(doc, "Data", 0, 1);
    EntryKey group = addGroup(doc, "Tool");
    EntryKey exe = file("tool.exe", 10);
    file("License.txt", 5);
    EntryKey d = file("a.dat", 3);
    doc.files.at(2).directoryRef = data;
    (void)d;
    addShortcut(doc, exe, group, "Tool", "[0]\\a.dat");
    addIni(doc, "Tool", "Home", "[1]");
    addRegistry(doc, 1, "Software\\Tool", "Path", "[1]\\[u]");
  }
  IntegrityCheckResult check(std::optional<std::string> log = std::nullopt) {
    ScriptTree tree(doc);
    IntegrityCheckOptions options;
    options.logPath = log;
    return runIntegrityCheck(doc, tree, *context, options);
  }
  // The log's lines that are findings (the others begin with ";").
  std::vector<std::string> findings(const std::string& windowsLog) {
    std::stringstream in(test::readFile(*machine->files().hostPath(windowsLog)));
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);)
      if (!line.empty() && line[0] != ';') out.push_back(line);
    return out;
  }
};

TEST_F(IntegrityCheck, CleanDocumentHasNoFinding) {
  cleanDocument();
  ui.answers = {Answer::No, Answer::No};  // default log; do not show it
  IntegrityCheckResult result = check();
  ASSERT_EQ(result.outcome, IntegrityCheckResult::Outcome::Done);
  EXPECT_EQ(result.logPath, *machine->files().windowsPath(dir / "CheckLog.txt"));
  EXPECT_EQ(findings(result.logPath), std::vector<std::string>{});
  EXPECT_NE(test::readFile(dir / "CheckLog.txt").find("; 0 finding(s)\n"), std::string::npos);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text, str(sid::AskLogFileName));
  EXPECT_EQ(ui.messages[1].text, strFormat(sid::AskShowLog, result.logPath));
  EXPECT_TRUE(process.started.empty());
}

// The check and generation agree on what a name is: blanks alone are none.
TEST_F(IntegrityCheck, ABlankApplicationNameIsNoName) {
  cleanDocument();
  for (const char* name : {"", "  ", "\t"}) {
    doc.settings.appName = name;
    ui.answers = {Answer::No, Answer::No};
    IntegrityCheckResult result = check();
    ASSERT_EQ(result.outcome, IntegrityCheckResult::Outcome::Done);
    EXPECT_EQ(findings(result.logPath),
              std::vector<std::string>{"Settings, AppName: the application has no name"})
        << '"' << name << '"';
    EXPECT_FALSE(hasApplicationName(doc.settings));
  }
}

TEST_F(IntegrityCheck, EveryPlantedFaultIsNamed) {
  cleanDocument();
  doc.settings.type = 3;                                     // own warning without OwnMsg
  test::writeFile(dir / "src" / "tool.exe", "longer than ten");  // wrong size
  addFile(doc, "gone.exe", 1, 1, 0, 0, src);                // missing
  EntryKey erased = addDirectory(doc, "Old");
  addFile(doc, "old.dat", 0, 1, erased, 0, src);            // missing, directory erased below
  doc.eraseEntry(category::Directories, erased);
  file("copy.exe", 2);
  doc.files.at(doc.files.count() - 1).destName = "TOOL.EXE";  // same place as tool.exe
  EntryKey lonely = addGroup(doc, "Unused");
  (void)lonely;
  addShortcut(doc, 0, 0, "Nothing");                        // neither file nor group
  addIni(doc, "Tool", "Bad", "[9]\\x");                     // no directory 9 (1 + 4 fixed)
  addRegistry(doc, 1, "", "v", "x");                        // empty subkey
  addRegistry(doc, 1, "Software\\Tool", "w", "");           // empty value
  addMessage(doc, "disk1.txt", 1, src + "\\missing.txt");   // message file missing
  file("disk2.dat", 4, 2);                                  // disk 2 without a message
  ui.answers = {Answer::No, Answer::No};
  IntegrityCheckResult result = check();
  ASSERT_EQ(result.outcome, IntegrityCheckResult::Outcome::Done);
  std::vector<std::string> lines = findings(result.logPath);
  const std::vector<std::string> expected{
      "Settings, Type: the own licence warning is chosen but OwnMsg is empty",
      "Groups, entry 1 (Unused): no shortcut is added to this group",
      "Win.ini, entry 1 (Tool/Bad): the value names directory [9], which does not exist",
      "Registry, entry 1 (): the subkey is empty",
      "Registry, entry 2 (Software\\Tool): the value is empty",
      "Files to Copy, entry 0 (tool.exe): the script records 10 bytes, the file has 15",
      "Files to Copy, entry 3 (gone.exe): the source file " + src + "\\gone.exe does not exist",
      "Files to Copy, entry 4 (old.dat): the source file " + src + "\\old.dat does not exist",
      "Files to Copy, entry 4 (old.dat): the directory it refers to was erased",
      "Files to Copy, entry 5 (copy.exe): entry 0 is installed to the same path",
      "Program Adds, entry 1 (Nothing): the shortcut opens no file",
      "Program Adds, entry 1 (Nothing): the shortcut is in no group",
      "Messages, entry 0 (disk1.txt): the message file " + src + "\\missing.txt does not exist",
      "Messages, disk 2: files are copied from this disk but it has no message",
  };
  EXPECT_EQ(lines, expected);
}

// A disk keeps one file of a name: two source files of one name on one disk are named with
// both entries, whatever directories they are installed to; the same source file twice is
// stored once and is no finding. A directory declared twice names its first declaration.
TEST_F(IntegrityCheck, TwoFilesStoredUnderOneNameAreNamed) {
  cleanDocument();
  std::filesystem::create_directories(dir / "src" / "a");
  std::filesystem::create_directories(dir / "src" / "b");
  test::writeFile(dir / "src" / "a" / "readme.txt", "from a");
  test::writeFile(dir / "src" / "b" / "readme.txt", "from b!");
  EntryKey intoA = addDirectory(doc, "A");
  EntryKey intoB = addDirectory(doc, "B");
  EntryKey intoC = addDirectory(doc, "C");
  addDirectory(doc, "a");  // A again
  addFile(doc, "readme.txt", 6, 1, intoA, 0, src + "\\a");
  addFile(doc, "readme.txt", 7, 1, intoB, 0, src + "\\b");
  addFile(doc, "readme.txt", 6, 1, intoC, 0, src + "\\a");  // entry 3's file again
  addFile(doc, "readme.txt", 7, 2, 0, 1, src + "\\b");  // another disk, another folder
  ui.answers = {Answer::No, Answer::No};
  IntegrityCheckResult result = check();
  ASSERT_EQ(result.outcome, IntegrityCheckResult::Outcome::Done);
  const std::vector<std::string> expected{
      "Directories, entry 4 (a): the same directory is declared as entry 1",
      "Files to Copy, entry 4 (readme.txt): entry 3 (" + src +
          "\\a\\readme.txt) is another file of the name readme.txt on disk 1, and a disk keeps "
          "one file of a name: rename one of the two source files",
      "Files to Copy, entry 5 (readme.txt): entry 4 (" + src +
          "\\b\\readme.txt) is another file of the name readme.txt on disk 1, and a disk keeps "
          "one file of a name: rename one of the two source files",
  };
  EXPECT_EQ(findings(result.logPath), expected);
}

TEST_F(IntegrityCheck, LogPlaces) {
  cleanDocument();
  // A document never saved: the temporary folder.
  doc.setPathName("");
  ui.answers = {Answer::No, Answer::No};
  EXPECT_EQ(check().logPath, context->tempFolder + "\\CheckLog.txt");

  // Yes: the chosen file; the question after a load is skipped.
  ui.answers = {Answer::Yes, Answer::No};
  ui.folders = {*machine->files().windowsPath(dir / "src")};
  IntegrityCheckResult chosen = check();
  EXPECT_EQ(chosen.logPath, src + "\\CheckLog.txt");
  EXPECT_EQ(ui.folderPrompts.back().caption, "Save Log File As...");
  EXPECT_TRUE(std::filesystem::exists(dir / "src" / "CheckLog.txt"));

  ui.messages.clear();
  doc.runningAfterLoad = true;
  ui.answers = {Answer::No};
  check();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text.rfind("Operation completed.", 0), 0u);

  // Cancel, and a cancelled save dialog, end the command without a log.
  doc.runningAfterLoad = false;
  ui.answers = {Answer::Cancel};
  EXPECT_EQ(check().outcome, IntegrityCheckResult::Outcome::Cancelled);
  ui.answers = {Answer::Yes};
  EXPECT_EQ(check().outcome, IntegrityCheckResult::Outcome::Cancelled);
}

TEST_F(IntegrityCheck, ViewerIsStartedOnYes) {
  cleanDocument();
  ui.answers = {Answer::Yes};
  IntegrityCheckResult result = check(src + "\\log.txt");
  EXPECT_EQ(process.started, std::vector<std::string>{"Notepad.exe " + src + "\\log.txt"});
  EXPECT_EQ(result.outcome, IntegrityCheckResult::Outcome::Done);
}

TEST_F(IntegrityCheck, ViewerThatCannotBeStartedIsNamed) {
  cleanDocument();
  process.result = 2;
  ui.answers = {Answer::Yes};
  check(src + "\\log.txt");
  ASSERT_EQ(process.started.size(), 1u);
  EXPECT_EQ(ui.messages.back().text, strFormat(sid::ViewerNotStarted, src + "\\log.txt"));
  EXPECT_EQ(ui.messages.back().detail, "Notepad.exe: not found or cannot be started");
}

TEST_F(IntegrityCheck, MissingLibraryAndUnwritableLog) {
  cleanDocument();
  std::string bin = context->programFolder;
  context->programFolder = src;
  EXPECT_EQ(check(src + "\\log.txt").outcome, IntegrityCheckResult::Outcome::NoLibrary);
  EXPECT_EQ(ui.messages.back().text, strFormat(sid::CheckLibraryMissing, "Scanlet.dll", src));
  EXPECT_EQ(ui.messages.back().detail, src + "\\Scanlet.dll: not found");
  EXPECT_FALSE(std::filesystem::exists(dir / "src" / "log.txt"));

  context->programFolder = bin;
  EXPECT_EQ(check(src + "\\no\\such\\folder\\log.txt").outcome,
            IntegrityCheckResult::Outcome::LogFailed);
  EXPECT_EQ(ui.messages.back().text, str(sid::LogCreateFailed));
  EXPECT_EQ(ui.messages.back().detail.rfind(src + "\\no\\such\\folder\\log.txt: ", 0), 0u)
      << ui.messages.back().detail;
}

// The count of findings is read from the log's last line only, as the library ends every log.
TEST(CheckLog, TheFindingCountComesFromTheLastLine) {
  EXPECT_EQ(checkLogFindings("; Check of app.cvx\n; 0 finding(s)\n"), 0);
  EXPECT_EQ(checkLogFindings("x: missing\r\n; 3 finding(s)\r\n\r\n"), 3);
  EXPECT_EQ(checkLogFindings("; 12 finding(s)"), 12);
  EXPECT_EQ(checkLogFindings("; 2 finding(s)\nlater line\n"), std::nullopt);
  EXPECT_EQ(checkLogFindings("; 2 finding(s\n"), std::nullopt);
  EXPECT_EQ(checkLogFindings("; -1 finding(s)\n"), std::nullopt);
  EXPECT_EQ(checkLogFindings(""), std::nullopt);
  EXPECT_EQ(checkLogFindings("\r\n\n"), std::nullopt);
}

}  // namespace
}  // namespace vandrel::builder
