// The plan's machine over an in-memory machine: INI files, registry, shortcuts and restarts
// land in the plan only; commands are looked up among the plan's files and never started;
// a program of the machine as it is runs as the machine would run it.
#include "platform/plan/plan_machine.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

#include "platform/bounded_read.h"
#include "tests/support/memory_machine.h"
#include "tests/support/temp_dir.h"

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

// A program of the machine as it is would change what it likes: a plan does not start it
// (only this system's own programs, which plan themselves, run: plan_programs.h), and names
// it among the commands it did not start.
TEST_F(Plan, AProgramOfTheMachineAsItIsIsNotStarted) {
  machine.memoryFiles().writeFile("C:\\WINDOWS\\notepad.exe", "program");
  filesBefore = machine.memoryFiles().listAll();
  EXPECT_EQ(plan.process().runAndWait("notepad.exe readme.txt"), std::nullopt);
  EXPECT_TRUE(machine.memoryProcess().started.empty());
  EXPECT_EQ(plan.commandsPlanned(), std::vector<std::string>{"notepad.exe readme.txt"});
}

// A carried folder is read no further than its limit: a file beyond it (sparse, so the test
// stays small) and files that only together pass it are refused with the reason, not read
// into memory whole.
TEST_F(Plan, CarriedChangesAreBounded) {
  struct Case {
    std::vector<std::uint64_t> sizes;
    const char* reason;  // nullptr: taken over
  };
  for (const Case& c : {Case{{12}, nullptr}, Case{{kPlanCarryLimit + 1}, "the changes are larger than 256 MiB"},
                        Case{{kPlanCarryLimit / 2 + 1, kPlanCarryLimit / 2}, "the changes are larger than 256 MiB"}}) {
    test::TempDir carry;
    std::ofstream list(carry / "changes.txt", std::ios::binary);
    for (std::size_t i = 0; i < c.sizes.size(); ++i) {
      const std::string name = std::to_string(i);
      list << "file\tC:\\big" << name << ".bin\t" << name << "\n";
      std::ofstream(carry / name).close();
      ASSERT_EQ(::truncate((carry / name).c_str(), off_t(c.sizes[i])), 0);
    }
    list.close();
    PlanMachine fresh{machine};
    std::string reason;
    EXPECT_EQ(fresh.loadCarry(carry.path(), &reason), c.reason == nullptr) << c.sizes.size();
    EXPECT_EQ(reason, c.reason ? c.reason : "");
  }
  // The user's page says what the limit is.
  const std::string page = test::readFile(std::filesystem::path(VANDREL_SOURCE) / "docs" / "plan-and-record.md");
  EXPECT_NE(page.find("the changes are larger than " + describeLimit(kPlanCarryLimit)), std::string::npos);
  std::string reason;
  test::TempDir empty;
  EXPECT_FALSE(plan.loadCarry(empty.path(), &reason));
  EXPECT_EQ(reason, "changes.txt does not exist");
}

}  // namespace
}  // namespace vandrel::platform
