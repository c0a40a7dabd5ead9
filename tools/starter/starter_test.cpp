// The starter on an emulated machine: engine and script placed in the Windows folder, the
// engine's exit status passed on, and clear failures.
#include "tools/starter/starter.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <sstream>
#include <thread>

#include "platform/emulated/machine_root.h"
#include "tests/support/temp_dir.h"

namespace vandrel::starter {
namespace {

class StarterTest : public ::testing::Test {
 protected:
  StarterTest() {
    platform::emulated::initMachineRoot(dir.path() / "m", platform::emulated::Preset::Win98, "user");
    machine = platform::emulated::openMachine(dir.path() / "m", {});
  }
  void put(const std::string& windowsPath, const std::string& content) {
    std::filesystem::path host = *machine->files().hostPath(windowsPath);
    std::filesystem::create_directories(host.parent_path());
    test::writeFile(host, content);
  }

  test::TempDir dir;
  std::unique_ptr<platform::Machine> machine;
  std::ostringstream errors;
};

TEST_F(StarterTest, PlacesEngineAndScriptAndPassesOnTheExitStatus) {
  for (const auto& [program, status] : {std::pair<const char*, int>{"/bin/true", 0}, {"/bin/false", 1}}) {
    put("C:\\Pkg\\Tamsin32.ex_", test::readFile(program));
    put("C:\\Pkg\\Script.vrx", "[Settings]\r\nAppName=Tool\r\n");
    EXPECT_EQ(runStarter(*machine, "C:\\Pkg\\", errors), status) << errors.str();
    EXPECT_EQ(test::readFile(*machine->files().hostPath("C:\\WINDOWS\\hobvane.exe")),
              test::readFile(program));
    EXPECT_EQ(test::readFile(*machine->files().hostPath("C:\\WINDOWS\\script.vrx")),
              "[Settings]\r\nAppName=Tool\r\n");
  }
}

TEST_F(StarterTest, MissingEngineOrScriptFailsWithALine) {
  EXPECT_EQ(runStarter(*machine, "C:\\Empty\\", errors), 1);
  EXPECT_EQ(errors.str(), "Setup: no package here: C:\\Empty\\Tamsin32.ex_ is missing\n");
  errors.str("");
  put("C:\\Half\\Tamsin32.ex_", test::readFile("/bin/true"));
  EXPECT_EQ(runStarter(*machine, "C:\\Half\\", errors), 1);
  EXPECT_EQ(errors.str(), "Setup: no package here: C:\\Half\\Script.vrx is missing\n");
  EXPECT_FALSE(machine->files().status("C:\\WINDOWS\\hobvane.exe"));  // nothing placed
  errors.str("");
  put("C:\\Bad\\Tamsin32.ex_", "SZDD\x88\xf0\x27\x33truncated");
  put("C:\\Bad\\Script.vrx", "[Settings]\r\n");
  EXPECT_EQ(runStarter(*machine, "C:\\Bad\\", errors), 1);
  EXPECT_NE(errors.str().find("cannot expand C:\\Bad\\Tamsin32.ex_"), std::string::npos)
      << errors.str();
}

TEST_F(StarterTest, AStarterKilledWhileCopyingTheScriptLeavesAWholeCopy) {
  // Two packages with large scripts; a child starts them in turn until it is killed.
  const std::string first = "[Settings]\r\nAppName=First\r\n" + std::string(4 << 20, 'a');
  const std::string second = "[Settings]\r\nAppName=Second\r\n" + std::string(4 << 20, 'b');
  for (const char* package : {"C:\\First\\", "C:\\Second\\"}) put(std::string(package) + "Tamsin32.ex_", test::readFile("/bin/true"));
  put("C:\\First\\Script.vrx", first);
  put("C:\\Second\\Script.vrx", second);
  ASSERT_EQ(runStarter(*machine, "C:\\First\\", errors), 0) << errors.str();
  const std::filesystem::path copy = *machine->files().hostPath("C:\\WINDOWS\\script.vrx");
  std::mt19937 random(11);
  for (int round = 0; round < 12; ++round) {
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      std::unique_ptr<platform::Machine> own = platform::emulated::openMachine(dir.path() / "m", {});
      std::ostringstream ignored;
      for (int i = 0;; ++i) runStarter(*own, i % 2 ? "C:\\First\\" : "C:\\Second\\", ignored);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5 + random() % 60));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    const std::string text = test::readFile(copy);
    EXPECT_TRUE(text == first || text == second) << "round " << round << ": " << text.size() << " bytes";
  }
}

}  // namespace
}  // namespace vandrel::starter
