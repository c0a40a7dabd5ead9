// Whole installations over an in-memory machine whose disk, registry, profile or shell fails
// at a chosen point: every run ends with the closing dialog that names the failure, never
// with the success dialog.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <functional>

#include "platform/formats/szdd.h"
#include "setup/driver.h"
#include "setup/strings/setup_strings.h"
#include "setup/testing/backup_interaction.h"
#include "setup/install_phase.h"
#include "tests/support/fake_interaction.h"
#include "tests/support/held_copy_queue.h"
#include "tests/support/memory_machine.h"

namespace vandrel::setup {
namespace {

using test::MemoryMachine;

const char* kShortCopy =
    "The last file wasn't copied completely. Maybe you should check your disk. Do you still "
    "wish to continue ?";

// A package of two files (a small one, then a large one), a group with one shortcut, one
// Win.ini entry and two registry entries under separate keys.
std::string packageScript(std::size_t smallSize, std::size_t largeSize) {
  auto file = [](const char* name, std::size_t size) {
    return std::string(name) + "," + name + ",0,1,0,1,1,0," + std::to_string(size) + ",0,0";
  };
  return "[Settings]\r\nAppName=Tool\r\nRegInfo=0\r\nDefDir=App\r\n"
         "[Directories]\r\nnbDir=5\r\n0=Bin,0,0,\r\n1=,0,0,\r\n2=,1,0,\r\n3=,2,0,\r\n4=,3,0,\r\n"
         "[Files]\r\nnbFiles=2\r\n0=" + file("small.dat", smallSize) + "\r\n1=" +
         file("large.dat", largeSize) + "\r\n"
         "[Groups]\r\nnbGrp=1\r\n0=Tool\r\n"
         "[Shortcuts]\r\nnbAdd=1\r\n0=small.dat,0,0,Tool,,0\r\n"
         "[AddINI]\r\nnbINI=1\r\n0=Tool,Folder,[0]\r\n"
         "[Registry]\r\nnbReg=2\r\n0=2,Software\\Locked,Path,[0]\r\n"
         "1=2,Software\\Orlwen\\Tool,Version,1.0\r\n";
}

constexpr std::size_t kSmall = 100;
constexpr std::size_t kLarge = 60000;
const std::string kLink = "C:\\WINDOWS\\Start Menu\\Programs\\Tool\\Tool.lnk";

using testing::BackupInteraction;

struct Installation {
  MemoryMachine machine;
  BackupInteraction ui;
  DriverSteps steps;
  DriverOutcome outcome;
  std::FILE* errors = std::tmpfile();  // the lines the engine writes on its error stream

  Installation() {
    test::MemoryFileSystem& files = machine.memoryFiles();
    files.writeFile("C:\\WINDOWS\\Script.vrx", packageScript(kSmall, kLarge));
    files.writeFile("C:\\Pkg\\small.dat", std::string(kSmall, 's'));
    files.writeFile("C:\\Pkg\\large.dat", std::string(kLarge, 'l'));
  }
  ~Installation() { std::fclose(errors); }
  void install() {
    SetupApp app(machine, ui, setupStrings());
    app.setErrorStream(errors);
    outcome = runInstallation(app, "C:\\Pkg\\", steps);
  }
  std::string errorLines() {
    std::string text;
    std::rewind(errors);
    for (int c; (c = std::fgetc(errors)) != EOF;) text += static_cast<char>(c);
    return text;
  }
  std::vector<std::string> questions() const {
    std::vector<std::string> texts;
    for (const ui::Message& m : ui.messages) {
      if (m.buttons == ui::Buttons::YesNo) texts.push_back(m.text);
    }
    return texts;
  }
  std::string installed(const std::string& section, const std::string& key) {
    return machine.profile().getString("C:\\App\\Script.vrx", section, key, "", 260);
  }
};

TEST(InstallFailures, ACompleteRunOverTheMemoryMachineSucceeds) {
  Installation run;
  run.install();
  ASSERT_EQ(run.outcome.closingStatus, status::Completed);
  EXPECT_TRUE(run.machine.memoryFiles().readFile("C:\\App\\Bin\\large.dat") == std::string(kLarge, 'l'));
  EXPECT_EQ(run.machine.memoryShell().created, std::vector<std::string>{kLink});
  EXPECT_EQ(run.machine.memoryRegistry().stringValue(platform::hkey::LocalMachine,
                                                     "Software\\Locked", "Path"),
            "C:\\App\\Bin");
  EXPECT_TRUE(run.questions().empty());
}

// A failure in the copy loop: the short-copy question, and No ends the run as cancelled.
TEST(InstallFailures, AFileThatCannotBeWrittenWhollyAsksAndNoEndsAsCancelled) {
  struct Case {
    const char* name;
    std::function<void(Installation&)> arm;
    const char* untouched;  // a destination that must keep its earlier content, if any
  };
  const Case cases[] = {
      // The room is taken by another program after the check before the copy.
      {"disk full in the middle of the large file",
       [](Installation& r) {
         r.machine.memoryFiles().setFreeSpace('C', 40000);
         r.steps.diskShortage = nullptr;
       },
       nullptr},
      {"writes failing after a budget",
       [](Installation& r) { r.machine.memoryFiles().failWritesAfter(30000); }, nullptr},
      {"a locked destination file",
       [](Installation& r) {
         r.machine.memoryFiles().writeFile("C:\\App\\Bin\\large.dat", "old");
         r.machine.memoryFiles().denyAccess("C:\\App\\Bin\\large.dat");
       },
       "C:\\App\\Bin\\large.dat"},
      {"access denied on the backup folder",
       [](Installation& r) {
         r.ui.backup = true;
         r.machine.memoryFiles().writeFile("C:\\App\\Bin\\large.dat", "old");
         r.machine.memoryFiles().denyAccess("C:\\App\\Backup");
       },
       "C:\\App\\Bin\\large.dat"},
  };
  for (const Case& c : cases) {
   for (bool queued : {false, true}) {
    SCOPED_TRACE(std::string(c.name) + (queued ? ", small file copied aside" : ""));
    Installation run;
    test::HeldCopyQueue queue;
    if (queued) run.machine.memoryFiles().useCopyQueue(&queue);
    c.arm(run);
    run.ui.answers = {ui::Answer::No};
    run.install();
    EXPECT_EQ(run.outcome.closingStatus, status::Fatal);
    EXPECT_EQ(run.questions(), std::vector<std::string>{kShortCopy});
    EXPECT_TRUE(run.machine.memoryFiles().readFile("C:\\App\\Bin\\small.dat") == std::string(kSmall, 's'));
    if (c.untouched) {
      EXPECT_TRUE(run.machine.memoryFiles().readFile(c.untouched) == "old");
    } else {
      EXPECT_FALSE(run.machine.memoryFiles().exists("C:\\App\\Bin\\large.dat"))
          << "no half-written file passes for the package's";
    }
    // The run stopped before the shortcuts, Win.ini and the registry.
    EXPECT_TRUE(run.machine.memoryShell().created.empty());
    EXPECT_FALSE(run.machine.memoryRegistry().hasKey(platform::hkey::LocalMachine, "Software\\Orlwen"));
    EXPECT_EQ(queue.pushed(), queued ? 1 : 0);
   }
  }
}

// Failures after the copy: the later entries are still made and recorded, and the run ends
// with the error outcome rather than the success dialog.
TEST(InstallFailures, ARefusedShortcutIniOrRegistryWriteEndsWithTheErrorOutcome) {
  struct Case {
    const char* name;
    std::function<void(Installation&)> arm;
    bool linkMade, iniWritten, lockedValue, toolValue;
  };
  const Case cases[] = {
      {"a shortcut the shell refuses", [](Installation& r) { r.machine.memoryShell().refuse(kLink); },
       false, true, true, true},
      {"a shortcut file that cannot be written",
       [](Installation& r) { r.machine.memoryFiles().denyAccess(kLink); }, false, true, true, true},
      {"Win.ini that cannot be written",
       [](Installation& r) { r.machine.memoryFiles().denyAccess("C:\\WINDOWS\\WIN.INI"); },
       true, false, true, true},
      {"a registry key that refuses changes",
       [](Installation& r) {
         r.machine.memoryRegistry().denyChanges(platform::hkey::LocalMachine, "Software\\Locked");
       },
       true, true, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Installation run;
    c.arm(run);
    run.install();
    EXPECT_EQ(run.outcome.closingStatus, status::GroupsFailed);
    ASSERT_EQ(run.ui.closings.size(), 1u);
    EXPECT_EQ(run.ui.closings[0].lower,
              "An error has occured while setting-up your system. You should restart the setup "
              "procedure to complete this installation.");
    EXPECT_TRUE(run.questions().empty());
    EXPECT_EQ(run.machine.memoryShell().created.size(), c.linkMade ? 1u : 0u);
    EXPECT_EQ(run.installed("AddedLinks", "0"), kLink) << "the uninstaller still tries the link";
    const platform::HKey lm = platform::hkey::LocalMachine;
    EXPECT_EQ(run.machine.profile().getProfileString(std::string("Tool"), std::string("Folder"), "", 260),
              c.iniWritten ? "C:\\App\\Bin" : "");
    EXPECT_EQ(run.machine.memoryRegistry().hasValue(lm, "Software\\Locked", "Path"), c.lockedValue);
    EXPECT_EQ(run.machine.memoryRegistry().stringValue(lm, "Software\\Orlwen\\Tool", "Version"),
              c.toolValue ? std::optional<std::string>("1.0") : std::nullopt);
  }
}

TEST(InstallFailures, AnInstalledScriptThatCannotBeWrittenEndsWithTheErrorOutcome) {
  Installation run;
  run.machine.memoryFiles().denyAccess("C:\\App\\Script.vrx");
  run.install();
  EXPECT_EQ(run.outcome.closingStatus, status::GroupsFailed);
  EXPECT_FALSE(run.machine.memoryFiles().exists("C:\\App\\Bin\\small.dat"));
}

const char* kErrorOutcome =
    "An error has occured while setting-up your system. You should restart the setup procedure "
    "to complete this installation.";

// A file that could not be written and the user goes on: the later entries are made, but the
// run ends with errors and names the file on the error stream.
TEST(InstallFailures, AFileNotCopiedWhenTheUserGoesOnEndsWithErrorsAndIsNamed) {
  Installation run;
  run.machine.memoryFiles().writeFile("C:\\App\\Bin\\large.dat", "old");
  run.machine.memoryFiles().denyAccess("C:\\App\\Bin\\large.dat");
  run.ui.answers = {ui::Answer::Yes};
  run.install();
  EXPECT_EQ(run.outcome.closingStatus, status::GroupsFailed);
  EXPECT_EQ(exitStatusFor(run.outcome), 15);
  ASSERT_EQ(run.ui.closings.size(), 1u);
  EXPECT_EQ(run.ui.closings[0].lower, kErrorOutcome);
  EXPECT_EQ(run.questions(), std::vector<std::string>{kShortCopy});
  EXPECT_TRUE(run.machine.memoryFiles().readFile("C:\\App\\Bin\\large.dat") == "old");
  EXPECT_EQ(run.errorLines(),
            "tamsin32: C:\\App\\Bin\\large.dat was not copied: the copy was cut short (write "
            "failure or cancel)\n");
  // Everything after the file was still installed.
  EXPECT_EQ(run.machine.memoryShell().created, std::vector<std::string>{kLink});
  EXPECT_EQ(run.machine.memoryRegistry().stringValue(platform::hkey::LocalMachine,
                                                     "Software\\Orlwen\\Tool", "Version"),
            "1.0");
}

// The package's uninstaller, stored compressed, expanded into the Windows folder last.
constexpr std::size_t kUninstallerSize = 200000;
struct UninstallerPackage : Installation {
  UninstallerPackage() {
    test::MemoryFileSystem& files = machine.memoryFiles();
    platform::Bytes program(kUninstallerSize);
    for (std::size_t i = 0; i < program.size(); ++i) program[i] = static_cast<std::uint8_t>(i % 251);
    platform::Bytes stored = platform::szdd::compress(program);
    files.writeFile("C:\\Pkg\\Pes32E.ex_", std::string(stored.begin(), stored.end()));
    std::string script = *files.readFile("C:\\WINDOWS\\Script.vrx");
    std::size_t count = script.find("nbFiles=2");
    script.replace(count, 9, "nbFiles=3");
    std::size_t after = script.find("[Groups]");
    script.insert(after, "2=Pes32E.ex_,Peskin32.exe,4,1,1000,0,1,1," + std::to_string(stored.size()) +
                             ",0,0\r\n");
    files.writeFile("C:\\WINDOWS\\Script.vrx", script);
  }
  // Files whose names tell of the uninstaller or of an expansion's temporary file.
  std::vector<std::string> uninstallerFiles() {
    std::vector<std::string> found;
    for (const std::string& path : machine.memoryFiles().listAll()) {
      std::string upper = path;
      for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      if (upper.find("PESKIN32") != std::string::npos || upper.find("\\KVB") != std::string::npos) {
        found.push_back(path);
      }
    }
    return found;
  }
};

TEST(InstallFailures, TheUninstallerOnADiskThatFillsUpIsNamedWithTheDiskAndLeavesNoPart) {
  UninstallerPackage run;
  // Room for the files before it and for its compressed copy, not for the whole program; the
  // room is taken by another program after the check before the copy.
  run.machine.memoryFiles().setFreeSpace('C', 100000);
  run.steps.diskShortage = nullptr;
  run.ui.answers = {ui::Answer::Yes};  // the unattended default: go on
  run.install();
  EXPECT_EQ(run.outcome.closingStatus, status::GroupsFailed);
  EXPECT_NE(exitStatusFor(run.outcome), 0);
  EXPECT_EQ(run.questions(), std::vector<std::string>{kShortCopy});
  const std::string lines = run.errorLines();
  EXPECT_EQ(lines.rfind("tamsin32: C:\\WINDOWS\\Peskin32.exe was not copied: drive C: is full: 200000 "
                        "bytes are needed, ", 0),
            0u)
      << lines;
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 1) << lines;
  EXPECT_EQ(run.uninstallerFiles(), std::vector<std::string>{}) << "no part of the uninstaller";
  EXPECT_TRUE(run.machine.memoryFiles().readFile("C:\\App\\Bin\\large.dat") == std::string(kLarge, 'l'));
}

TEST(InstallFailures, ADiskWithoutRoomIsNamedBeforeAnythingIsCopied) {
  UninstallerPackage run;
  const std::vector<std::string> before = run.machine.memoryFiles().listAll();
  run.machine.memoryFiles().setFreeSpace('C', 100000);
  run.install();
  EXPECT_EQ(run.outcome.closingStatus, status::Fatal);
  EXPECT_EQ(exitStatusFor(run.outcome), 11);
  EXPECT_TRUE(run.questions().empty());
  // The script, both files and the expanded uninstaller; the compressed one beside the engine
  // while it is expanded.
  const std::size_t stored = run.machine.memoryFiles().status("C:\\Pkg\\Pes32E.ex_")->size;
  const std::size_t script = run.machine.memoryFiles().status("C:\\WINDOWS\\Script.vrx")->size;
  const std::string needed = std::to_string(script + kSmall + kLarge + kUninstallerSize + stored);
  bool named = false;
  for (const ui::Message& m : run.ui.messages) {
    if (m.icon != ui::Icon::Stop) continue;
    EXPECT_EQ(m.text, "There is not enough free space on drive C: to install this software: " + needed +
                          " bytes are needed. Free some space on the drive, then run Setup again.");
    named = true;
  }
  EXPECT_TRUE(named);
  ASSERT_EQ(run.ui.closings.size(), 1u);
  EXPECT_EQ(run.ui.closings[0].upper,
            "The setup procedure was terminated before it was completely achieved.");
  EXPECT_EQ(run.machine.memoryFiles().listAll(), before) << "nothing was made";
  EXPECT_TRUE(run.machine.memoryShell().created.empty());
}

// Without backups a file replaced gives its room back to the new one: the room check looks
// at the files of a folder that is there, and counts those of a missing folder whole.
TEST(InstallFailures, AFileReplacedWithoutBackupGivesItsRoomBackToTheCheck) {
  for (bool replaced : {true, false}) {
    Installation run;
    run.ui.backup = false;
    test::MemoryFileSystem& files = run.machine.memoryFiles();
    if (replaced) files.writeFile("C:\\App\\Bin\\large.dat", std::string(kLarge, 'o'));
    const std::size_t script = files.status("C:\\WINDOWS\\Script.vrx")->size;
    files.setFreeSpace('C', script + kSmall + kLarge / 2);
    run.install();
    EXPECT_EQ(run.outcome.closingStatus, replaced ? status::Completed : status::Fatal) << replaced;
    if (replaced) {
      EXPECT_TRUE(files.readFile("C:\\App\\Bin\\large.dat") == std::string(kLarge, 'l'));
    } else {
      EXPECT_FALSE(files.exists("C:\\App\\Bin\\large.dat"));
    }
  }
}

TEST(InstallFailures, AReplacedFileCutShortByAFullDiskIsRemovedAndItsBackupKept) {
  Installation run;
  run.ui.backup = true;
  run.machine.memoryFiles().writeFile("C:\\App\\Bin\\large.dat", "old");
  run.machine.memoryFiles().setFreeSpace('C', 40000);
  run.steps.diskShortage = nullptr;  // the room taken after the check
  run.ui.answers = {ui::Answer::No};
  run.install();
  EXPECT_EQ(run.outcome.closingStatus, status::Fatal);
  EXPECT_FALSE(run.machine.memoryFiles().exists("C:\\App\\Bin\\large.dat"))
      << "no half-written file passes for the package's";
  EXPECT_TRUE(run.machine.memoryFiles().readFile("C:\\App\\Backup\\large.dat") == "old");
}

// Four small files, each less than a piece of the progress bar: with a copy queue every one
// is made in turn and its data copied aside.
struct SmallFiles : Installation {
  static constexpr const char* kNames[] = {"a.dat", "b.dat", "c.dat", "d.dat"};
  explicit SmallFiles(test::HeldCopyQueue* queue) {
    std::string files = "[Files]\r\nnbFiles=4\r\n";
    for (int i = 0; i < 4; ++i) {
      files += std::to_string(i) + "=" + kNames[i] + "," + kNames[i] + ",0,1,0,1,1,0,100,0,0\r\n";
      machine.memoryFiles().writeFile(std::string("C:\\Pkg\\") + kNames[i], std::string(100, char('a' + i)));
    }
    machine.memoryFiles().writeFile("C:\\WINDOWS\\Script.vrx",
        "[Settings]\r\nAppName=Tool\r\nRegInfo=0\r\nDefDir=App\r\n"
        "[Directories]\r\nnbDir=5\r\n0=Bin,0,0,\r\n1=,0,0,\r\n2=,1,0,\r\n3=,2,0,\r\n4=,3,0,\r\n" + files);
    if (queue) machine.memoryFiles().useCopyQueue(queue);
  }
  std::string installedFile(int i) {
    return machine.memoryFiles().readFile(std::string("C:\\App\\Bin\\") + kNames[i]).value_or("<none>");
  }
};

// The second file falls short (the disk fills up): its question comes once the first is
// whole, each later file that falls short asks again when the user goes on, and the same
// lines name them; No ends the run. With or without the queue, the user sees the same.
TEST(QueuedCopies, FilesThatFallShortAreAskedAboutInOrder) {
  for (bool queued : {false, true}) {
    for (bool goOn : {false, true}) {
      SCOPED_TRACE(std::string(queued ? "queued" : "copied in turn") + (goOn ? ", going on" : ", stopping"));
      test::HeldCopyQueue queue;
      SmallFiles run(queued ? &queue : nullptr);
      // From the first file on, room for one and a half files.
      run.ui.onProgress = [&run, armed = false](const ui::Progress& shown) mutable {
        if (armed || shown.lines[0].find("a.dat") == std::string::npos) return;
        run.machine.memoryFiles().failWritesAfter(150);
        armed = true;
      };
      std::vector<std::string> wholeAtQuestion;
      run.ui.whileShown = [&](const ui::Message&) { wholeAtQuestion.push_back(run.installedFile(0)); };
      run.ui.defaultAnswer = goOn ? ui::Answer::Yes : ui::Answer::No;
      run.install();
      EXPECT_EQ(run.outcome.closingStatus, goOn ? status::GroupsFailed : status::Fatal);
      EXPECT_EQ(run.questions(), std::vector<std::string>(goOn ? 3 : 1, kShortCopy));
      ASSERT_FALSE(wholeAtQuestion.empty()) << run.errorLines();
      EXPECT_EQ(wholeAtQuestion.front(), std::string(100, 'a'));
      std::string named;
      for (int i = 1; i < (goOn ? 4 : 2); ++i) {
        named += std::string("tamsin32: C:\\App\\Bin\\") + SmallFiles::kNames[i] +
                 " was not copied: the copy was cut short (write failure or cancel)\n";
      }
      EXPECT_EQ(run.errorLines(), named);
      for (int i = 1; i < 4; ++i) EXPECT_EQ(run.installedFile(i), "<none>") << i;
      EXPECT_EQ(queue.pushed(), queued ? 4 : 0);
    }
  }
}

// Files copied aside are whole, and take the package's dates after their data is written
// (a date set before would be moved by the write).
TEST(QueuedCopies, FilesCopiedAsideAreWholeAndDatedAsThePackagesFiles) {
  test::HeldCopyQueue queue;
  SmallFiles run(&queue);
  run.install();
  EXPECT_EQ(run.outcome.closingStatus, status::Completed);
  EXPECT_EQ(queue.pushed(), 4);
  for (int i = 0; i < 4; ++i) {
    const std::string name = SmallFiles::kNames[i];
    EXPECT_EQ(run.installedFile(i), std::string(100, char('a' + i)));
    EXPECT_EQ(run.machine.memoryFiles().status("C:\\App\\Bin\\" + name)->lastWriteTime,
              run.machine.memoryFiles().status("C:\\Pkg\\" + name)->lastWriteTime) << name;
  }
}

// Cancel pressed while files are under way: they are finished before the question asks.
TEST(QueuedCopies, ACancelFinishesTheFilesUnderWayBeforeItAsks) {
  test::HeldCopyQueue queue;
  SmallFiles run(&queue);
  run.ui.cancelOn = "c.dat";
  int heldAtQuestion = -1;
  std::vector<std::string> atQuestion;
  run.ui.whileShown = [&](const ui::Message&) {
    heldAtQuestion = queue.held();
    atQuestion = {run.installedFile(0), run.installedFile(1)};
  };
  run.ui.answers = {ui::Answer::Yes};
  run.install();
  EXPECT_EQ(run.outcome.closingStatus, status::Fatal);
  EXPECT_EQ(heldAtQuestion, 0);
  EXPECT_EQ(atQuestion, (std::vector<std::string>{std::string(100, 'a'), std::string(100, 'b')}));
  EXPECT_EQ(queue.pushed(), 2) << "the file shown when Cancel was pressed is copied in turn, none after it";
}

// A file the copier is still writing is finished before it is read (under any spelling),
// and before the copier goes, which holds it open.
TEST(QueuedCopies, AFileUnderWayIsWholeBeforeItIsReadAndBeforeTheCopierEnds) {
  MemoryMachine machine;
  BackupInteraction ui;
  test::HeldCopyQueue queue;
  test::MemoryFileSystem& files = machine.memoryFiles();
  files.useCopyQueue(&queue);
  files.writeFile("C:\\Pkg\\a.dat", "first");
  files.writeFile("C:\\Pkg\\b.dat", "second");
  files.makeDirectories("C:\\App");
  SetupApp app(machine, ui, setupStrings());
  auto request = [](const std::string& name) {
    CopyRequest r;
    r.sourceFolder = "C:\\Pkg\\";
    r.sourceName = r.targetName = name;
    r.destinationFolder = "C:\\App\\";
    r.force = "0";
    r.expand = "0";
    return r;
  };
  std::vector<long long> done;
  auto record = [&done](long long count) { done.push_back(count); };
  {
    CopyTally tally;
    InstallCopier copier(app, tally);
    ASSERT_TRUE(copier.copyInOrder(request("a.dat"), files.openForReading("C:\\Pkg\\a.dat"), record));
    EXPECT_EQ(queue.held(), 1);
    EXPECT_TRUE(done.empty());
    copier.finishWriting("c:\\app\\.\\A.DAT");
    EXPECT_EQ(queue.held(), 0);
    EXPECT_EQ(done, std::vector<long long>{5});
    EXPECT_TRUE(files.readFile("C:\\App\\a.dat") == "first");

    ASSERT_TRUE(copier.copyInOrder(request("b.dat"), files.openForReading("C:\\Pkg\\b.dat"), record));
    copier.finishWriting("C:\\App\\a.dat");
    EXPECT_EQ(queue.held(), 1) << "a file not under way waits for nothing";
  }
  EXPECT_EQ(queue.held(), 0) << "the copier waited for the copy into the file it held open";
  EXPECT_TRUE(files.readFile("C:\\App\\b.dat") == "second");
}

}  // namespace
}  // namespace vandrel::setup
