// Removals over an in-memory machine where one item of one step cannot be removed: the run
// goes on to its end and reports the leftovers, never a complete removal.
#include <gtest/gtest.h>

#include <functional>

#include "tests/support/memory_machine.h"
#include "uninstall/driver.h"
#include "uninstall/removal_steps.h"
#include "uninstall/strings/uninstall_strings.h"
#include "tests/support/fake_interaction.h"

namespace vandrel::uninstall {
namespace {

using test::MemoryMachine;
const platform::HKey kLocalMachine = platform::hkey::LocalMachine;

const char* kLeftovers =
    "UnInstall is now completed, but some components couldn't be removed. You will have to "
    "erase manually all added files...";
const char* kCompleted = "Uninstall completed successfully.";
const std::string kLink = "C:\\WINDOWS\\Start Menu\\Programs\\Tool\\Tool.lnk";
const std::string kShared = "C:\\WINDOWS\\SYSTEM\\shared.dll";

// What an installation of Tool left: the uninstaller's own entry, a file in the installation
// folder and one in the Windows folder, a shared file, a shortcut in its group, a Win.ini
// key and a registry value with its key.
const char* kInstalledScript =
    "[Settings]\r\nAppName=Tool\r\n"
    "[Directories]\r\nnbDir=6\r\n0=Bin,0,0,\r\n1=Tool,3,0,\r\n2=,0,0,\r\n3=,1,0,\r\n"
    "4=,2,0,\r\n5=,3,0,\r\n"
    "[Files]\r\nnbFiles=3\r\n0=Peskin32.EXE,Peskin32.EXE,5,1,0,0,1,0,10,0,0\r\n"
    "1=a.dat,a.dat,0,1,0,1,1,0,3,0,0\r\n2=tool.ini,tool.ini,1,1,0,1,1,0,3,0,0\r\n"
    "[AddINI]\r\nnbINI=1\r\n0=Tool,Folder,[0]\r\n"
    "[Registry]\r\nnbReg=2\r\n0=2,Software\\Orlwen\\Tool,Path,[0],1\r\n"
    "1=2,Software\\Orlwen\\Tool,,,0\r\n"
    "[SharedFiles]\r\nnb=1\r\n0=C:\\WINDOWS\\SYSTEM\\shared.dll\r\n"
    "[AddedLinks]\r\nnb=1\r\n0=C:\\WINDOWS\\Start Menu\\Programs\\Tool\\Tool.lnk\r\n"
    "[AddedFolders]\r\nnb=1\r\n0=C:\\WINDOWS\\Start Menu\\Programs\\Tool\r\n";

struct Uninstallation {
  MemoryMachine machine;
  test::FakeInteraction ui;
  std::unique_ptr<UninstallApp> app;
  Ending ending = Ending::NoScript;

  Uninstallation() {
    test::MemoryFileSystem& files = machine.memoryFiles();
    files.writeFile("C:\\App\\Script.vrx", kInstalledScript);
    files.writeFile("C:\\App\\Bin\\a.dat", "abc");
    files.writeFile("C:\\WINDOWS\\Tool\\tool.ini", "abc");
    files.writeFile("C:\\WINDOWS\\Peskin32.EXE", "peskin");
    files.writeFile(kShared, "dll");
    files.writeFile(kLink, "link");
    machine.profile().writeProfileString("Tool", "Folder", std::string("C:\\App\\Bin"));
    platform::HKey key = 0;
    machine.registry().createKey(kLocalMachine, "Software\\Orlwen\\Tool", key);
    machine.registry().setString(key, "Path", "C:\\App\\Bin");
    machine.registry().closeKey(key);
  }
  void remove() {
    app = std::make_unique<UninstallApp>(machine, ui, uninstallStrings());
    ending = runUninstaller(*app, "C:\\App");
  }
};

TEST(RemovalFailures, AWholeRemovalOverTheMemoryMachineCompletes) {
  Uninstallation run;
  run.remove();
  ASSERT_EQ(run.ending, Ending::Completed);
  EXPECT_EQ(run.app->progress()->resultLine(), kCompleted);
  test::MemoryFileSystem& files = run.machine.memoryFiles();
  for (const std::string& path : {std::string("C:\\App"), std::string("C:\\WINDOWS\\Tool"), kShared, kLink,
                                  std::string("C:\\WINDOWS\\Start Menu\\Programs\\Tool")}) {
    EXPECT_FALSE(files.exists(path)) << path;
  }
  EXPECT_TRUE(files.exists("C:\\WINDOWS\\Peskin32.EXE")) << "the uninstaller's own file stays";
  EXPECT_FALSE(run.machine.memoryRegistry().hasKey(kLocalMachine, "Software\\Orlwen\\Tool"));
  EXPECT_EQ(run.machine.profile().getProfileString(std::string("Tool"), std::string("Folder"), "", 260), "");
}

TEST(RemovalFailures, AnItemThatCannotBeRemovedEndsWithTheLeftoversMessage) {
  struct Case {
    const char* step;
    std::function<void(Uninstallation&)> arm;
    std::function<bool(Uninstallation&)> stillThere;
  };
  auto denied = [](std::string path) {
    return [path](Uninstallation& r) { r.machine.memoryFiles().denyAccess(path); };
  };
  auto present = [](std::string path) {
    return [path](Uninstallation& r) { return r.machine.memoryFiles().exists(path); };
  };
  const Case cases[] = {
      {"shared files: a shared file in use", denied(kShared), present(kShared)},
      {"standard files: a file of the installation folder", denied("C:\\App\\Bin\\a.dat"),
       present("C:\\App\\Bin\\a.dat")},
      {"standard files: a file of the Windows folder", denied("C:\\WINDOWS\\Tool\\tool.ini"),
       present("C:\\WINDOWS\\Tool\\tool.ini")},
      {"standard files: a backup",
       [](Uninstallation& r) {
         r.machine.memoryFiles().writeFile("C:\\App\\Backup\\a.dat", "old");
         r.machine.memoryFiles().denyAccess("C:\\App\\Backup\\a.dat");
       },
       present("C:\\App\\Backup\\a.dat")},
      {"links and groups: a shortcut", denied(kLink), present(kLink)},
      {"application folders: a file of the user's in the installation folder",
       [](Uninstallation& r) { r.machine.memoryFiles().writeFile("C:\\App\\Bin\\notes.txt", "mine"); },
       present("C:\\App\\Bin\\notes.txt")},
      {"INI entries: Win.ini locked", denied("C:\\WINDOWS\\WIN.INI"),
       [](Uninstallation& r) {
         r.machine.memoryFiles().clearFailures();
         return !r.machine.profile()
                     .getProfileString(std::string("Tool"), std::string("Folder"), "", 260)
                     .empty();
       }},
      {"registry entries: a value and its key refused",
       [](Uninstallation& r) {
         r.machine.memoryRegistry().denyChanges(kLocalMachine, "Software\\Orlwen\\Tool");
       },
       [](Uninstallation& r) {
         return r.machine.memoryRegistry().hasValue(kLocalMachine, "Software\\Orlwen\\Tool", "Path");
       }},
      {"registry entries: the key alone refused",
       [](Uninstallation& r) {
         // The removal first notes its folder as being removed (its key made, its value set:
         // two changes); deleting the value is the next registry change, the key the one after.
         r.machine.memoryRegistry().failChange(4);
       },
       [](Uninstallation& r) { return r.machine.memoryRegistry().hasKey(kLocalMachine, "Software\\Orlwen\\Tool"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    Uninstallation run;
    c.arm(run);
    run.remove();
    EXPECT_EQ(run.ending, Ending::Leftovers);
    ASSERT_NE(run.app->progress(), nullptr);
    EXPECT_EQ(run.app->progress()->resultLine(), kLeftovers);
    EXPECT_TRUE(c.stillThere(run));
    EXPECT_FALSE(run.machine.memoryFiles().exists("C:\\App\\Script.vrx")) << "the script goes";
    EXPECT_TRUE(run.ui.questions().size() == 1) << "only the confirmation is asked";
  }
}

// The registry step on its own, over the machine's parts: a key entry whose key holds a
// subkey goes with it on Windows 98; Windows NT refuses it, and the tally notes the key that
// stayed.
TEST(RemovalFailures, TheRegistryStepNotesAKeyThatWindowsNtKeeps) {
  for (MemoryMachine::Kind kind : {MemoryMachine::Kind::Win98, MemoryMachine::Kind::NT}) {
    const bool nt = kind == MemoryMachine::Kind::NT;
    SCOPED_TRACE(nt ? "NT" : "Windows 98");
    MemoryMachine machine(kind);
    machine.memoryFiles().writeFile("C:\\App\\Script.vrx",
                                    "[Registry]\r\nnbReg=1\r\n0=2,Software\\Orlwen\\Tool,,,0\r\n");
    platform::HKey key = 0;
    machine.registry().createKey(kLocalMachine, "Software\\Orlwen\\Tool\\Settings", key);
    machine.registry().closeKey(key);
    script::ScriptReader script(machine.profile(), "C:\\App\\Script.vrx");
    UninstallFolders folders{"C:\\WINDOWS\\", "C:\\App", "C:\\App\\Script.vrx"};
    test::FakeInteraction ui;
    RemovalTally tally;
    Removal removal(script, folders, machine.files(), machine.profile(), machine.registry(), ui,
                    uninstallStrings(), tally, nullptr);
    EXPECT_TRUE(RemoveRegistryEntries(removal));
    EXPECT_EQ(machine.memoryRegistry().hasKey(kLocalMachine, "Software\\Orlwen\\Tool"), nt);
    EXPECT_EQ(tally.leftovers, nt);
    EXPECT_EQ(tally.done, 1);
    EXPECT_TRUE(ui.messages.empty());
  }
}

}  // namespace
}  // namespace vandrel::uninstall
