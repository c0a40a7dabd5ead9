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
#include "tests/support/fake_interaction.h"
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
    SCOPED_TRACE(c.name);
    Installation run;
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

}  // namespace
}  // namespace vandrel::setup
