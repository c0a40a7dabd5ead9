// The plan's machine over an in-memory machine: INI files, registry, shortcuts and restarts
// land in the plan only; commands are looked up among the plan's files and never started;
// a program of the machine as it is runs as the machine would run it.
#include "platform/plan/plan_machine.h"

#include <gtest/gtest.h>

#include "tests/support/memory_machine.h"

namespace vandrel::platform {
namespace {

struct Plan : ::testing::Test {
  test::MemoryMachine machine;
  PlanMachine plan{machine};
  std::vector<std::string> filesBefore = machine.memoryFiles().listAll();
  std::vector<std::string> registryBefore = machine.memoryRegistry().listAll();

  void TearDown() override {
    EXPECT_EQ(machine.memoryFiles().listAll(), filesBefore);
    EXPECT_EQ(machine.memoryRegistry().listAll(), registryBefore);
    EXPECT_EQ(machine.memoryFiles().readFile("C:\\WINDOWS\\WIN.INI"), "[windows]\r\n");
    EXPECT_TRUE(machine.memorySystem().exits.empty());
  }
  void write(const std::string& path, const std::string& text) {
    std::unique_ptr<File> file = plan.files().create(path);
    ASSERT_TRUE(file) << path;
    ASSERT_EQ(file->write(text.data(), text.size()), std::int64_t(text.size()));
  }
};

TEST_F(Plan, ChangesStayInThePlan) {
  ASSERT_TRUE(plan.profile().writeProfileString("Tool", "Dir", "C:\\App"));
  EXPECT_EQ(plan.profile().getProfileString("tool", "DIR", "", 260), "C:\\App");

  HKey key = 0;
  ASSERT_EQ(plan.registry().createKey(hkey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", key),
            error::Success);
  ASSERT_EQ(plan.registry().setString(key, "Clean-up", "C:\\WINDOWS\\Peskin32.EXE /DeleteTemp"), error::Success);
  std::string value;
  EXPECT_EQ(plan.registry().queryString(key, "clean-up", value), error::Success);
  plan.registry().closeKey(key);

  ShellLink link;
  link.target = "C:\\App\\tool.exe";
  ASSERT_TRUE(plan.shell().createShortcut("C:\\WINDOWS\\Desktop\\Tool.lnk", link));
  EXPECT_GT(plan.files().status("C:\\WINDOWS\\Desktop\\Tool.lnk")->size, 0u);

  EXPECT_TRUE(plan.system().exitWindows(exit_flags::Reboot));
  EXPECT_TRUE(plan.restartPlanned());
  EXPECT_EQ(plan.system().windowsDirectory(), "C:\\WINDOWS");
}

TEST_F(Plan, CommandsAreLookedUpNotStarted) {
  ASSERT_TRUE(plan.files().createDirectory("C:\\App"));
  write("C:\\App\\tool.exe", "program");
  ASSERT_TRUE(plan.files().setCurrentDirectory("C:\\App"));
  EXPECT_GT(plan.process().winExec("tool -x readme.txt", show::Show), 31u);
  EXPECT_GT(plan.process().winExec("\"C:\\App\\tool.exe\" /s", show::Show), 31u);
  EXPECT_EQ(plan.process().winExec("missing.exe", show::Show), 2u);
  EXPECT_EQ(plan.commandsPlanned(), (std::vector<std::string>{"tool -x readme.txt", "\"C:\\App\\tool.exe\" /s"}));
  EXPECT_TRUE(machine.memoryProcess().started.empty());
  // A program this run wrote cannot be waited for without a way to carry the run's changes.
  EXPECT_EQ(plan.process().runAndWait("C:\\App\\tool.exe"), std::nullopt);
  EXPECT_TRUE(machine.memoryProcess().started.empty());
  EXPECT_EQ(plan.process().moduleFileName(), "C:\\WINDOWS\\hobvane.exe");
}

TEST_F(Plan, AProgramOfTheMachineAsItIsRunsAsTheMachineRunsIt) {
  machine.memoryFiles().writeFile("C:\\WINDOWS\\notepad.exe", "program");
  filesBefore = machine.memoryFiles().listAll();
  EXPECT_EQ(plan.process().runAndWait("notepad.exe readme.txt"), std::nullopt);
  EXPECT_EQ(machine.memoryProcess().started, std::vector<std::string>{"wait notepad.exe readme.txt"});
}

}  // namespace
}  // namespace vandrel::platform
