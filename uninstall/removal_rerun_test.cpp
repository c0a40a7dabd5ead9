// Removals killed midway and run again, over the in-memory machine: every shared file's usage
// count is lowered once for the installation, however often its removal starts.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>

#include "tests/support/fake_interaction.h"
#include "tests/support/memory_machine.h"
#include "uninstall/driver.h"
#include "uninstall/removal_record.h"
#include "uninstall/strings/uninstall_strings.h"

namespace vandrel::uninstall {
namespace {

using test::MemoryMachine;
const platform::HKey kLocalMachine = platform::hkey::LocalMachine;
const char* kSharedDlls = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
// Used by this installation only (count 1), and by this one and another (count 2).
const std::string kOwn = "C:\\WINDOWS\\SYSTEM\\own.dll";
const std::string kCommon = "C:\\WINDOWS\\SYSTEM\\common.dll";

// Tool's script: two shared files, walked from the last entry down, so common.dll's count is
// lowered before own.dll's question is asked.
const char* kInstalledScript =
    "[Settings]\r\nAppName=Tool\r\n"
    "[Directories]\r\nnbDir=5\r\n0=Bin,0,0,\r\n1=,0,0,\r\n2=,1,0,\r\n3=,2,0,\r\n4=,3,0,\r\n"
    "[Files]\r\nnbFiles=2\r\n0=Peskin32.EXE,Peskin32.EXE,4,1,0,0,1,0,10,0,0\r\n1=a.dat,a.dat,0,1,0,1,1,0,3,0,0\r\n"
    "[SharedFiles]\r\nnb=2\r\n0=C:\\WINDOWS\\SYSTEM\\own.dll\r\n1=C:\\WINDOWS\\SYSTEM\\common.dll\r\n";

// What ends a run the way a kill does: nothing after it runs.
struct Killed : std::runtime_error {
  Killed() : std::runtime_error("killed") {}
};

struct Machine {
  MemoryMachine machine;

  // Tool as installed: its script and files, own.dll counted once and common.dll twice.
  void install() {
    test::MemoryFileSystem& files = machine.memoryFiles();
    files.writeFile("C:\\App\\Script.vrx", kInstalledScript);
    files.writeFile("C:\\App\\Bin\\a.dat", "abc");
    files.writeFile("C:\\WINDOWS\\Peskin32.EXE", "peskin");
    files.writeFile(kOwn, "own");
    files.writeFile(kCommon, "common");
    setCount(kOwn, 1);
    setCount(kCommon, 2);
  }
  void setCount(const std::string& path, std::uint32_t count) {
    platform::HKey key = 0;
    machine.registry().createKey(kLocalMachine, kSharedDlls, key);
    machine.registry().setDword(key, path, count);
    machine.registry().closeKey(key);
  }
  std::optional<std::uint32_t> count(const std::string& path) {
    platform::HKey key = 0;
    if (machine.registry().openKey(kLocalMachine, kSharedDlls, key) != 0) return {};
    std::uint32_t value = 0;
    long rc = machine.registry().queryDword(key, path, value);
    machine.registry().closeKey(key);
    if (rc != 0) return {};
    return value;
  }
  // A removal killed while it asks whether own.dll may go: common.dll's count is lowered by then.
  void killedRemoval() {
    test::FakeInteraction ui;
    ui.whileShown = [](const ui::Message& message) {
      if (message.text.find("own.dll") != std::string::npos) throw Killed();
    };
    UninstallApp app(machine, ui, uninstallStrings());
    EXPECT_THROW(runUninstaller(app, "C:\\App"), Killed);
  }
  Ending removal() {
    test::FakeInteraction ui;
    UninstallApp app(machine, ui, uninstallStrings());
    return runUninstaller(app, "C:\\App");
  }
};

TEST(RemovalRerun, ACountLoweredBeforeAKillIsNotLoweredAgain) {
  Machine m;
  m.install();
  m.killedRemoval();
  ASSERT_EQ(m.count(kCommon), 1u) << "the killed removal had released common.dll";
  ASSERT_EQ(m.count(kOwn), 1u);

  EXPECT_EQ(m.removal(), Ending::Completed);
  EXPECT_EQ(m.count(kCommon), 1u) << "the other installation's use of common.dll stays counted";
  EXPECT_TRUE(m.machine.memoryFiles().exists(kCommon));
  EXPECT_FALSE(m.count(kOwn).has_value());
  EXPECT_FALSE(m.machine.memoryFiles().exists(kOwn));
  EXPECT_FALSE(m.machine.memoryFiles().exists("C:\\App"));
  EXPECT_FALSE(m.machine.memoryRegistry().hasKey(kLocalMachine, kRemovalMarksKey)) << "the marks are gone";
}

TEST(RemovalRerun, AKilledRemovalsMarksDoNotSpeakForALaterInstallation) {
  Machine m;
  m.install();
  m.killedRemoval();
  // Tool installed again into the same folder: a new script, common.dll counted for it again.
  m.install();
  EXPECT_EQ(m.removal(), Ending::Completed);
  EXPECT_EQ(m.count(kCommon), 1u) << "lowered once for the new installation";
  EXPECT_TRUE(m.machine.memoryFiles().exists(kCommon));
  EXPECT_FALSE(m.machine.memoryFiles().exists(kOwn));
  EXPECT_FALSE(m.machine.memoryRegistry().hasKey(kLocalMachine, kRemovalMarksKey));
}

TEST(RemovalRerun, AWholeRemovalLeavesNoMarks) {
  Machine m;
  m.install();
  EXPECT_EQ(m.removal(), Ending::Completed);
  EXPECT_EQ(m.count(kCommon), 1u);
  EXPECT_FALSE(m.count(kOwn).has_value());
  EXPECT_FALSE(m.machine.memoryRegistry().hasKey(kLocalMachine, kRemovalMarksKey));
}

}  // namespace
}  // namespace vandrel::uninstall
