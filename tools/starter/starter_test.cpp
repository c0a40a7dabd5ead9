// The starter on an emulated machine: engine and script placed in the Windows folder, the
// engine's exit status passed on, and clear failures.
#include "tools/starter/starter.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <random>
#include <sstream>
#include <thread>

#include "platform/emulated/machine_root.h"
#include "platform/formats/szdd.h"
#include "tests/support/memory_machine.h"
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

// A package over the in-memory machine: an engine of 300,000 bytes stored compressed.
struct MemoryPackage {
  static constexpr std::size_t kEngineSize = 300000;
  test::MemoryMachine machine;
  std::ostringstream errors;
  MemoryPackage() {
    machine.memoryFiles().addDrive('D');
    platform::Bytes engine(kEngineSize);
    for (std::size_t i = 0; i < engine.size(); ++i) engine[i] = static_cast<std::uint8_t>(i * 7 % 253);
    platform::Bytes stored = platform::szdd::compress(engine);
    machine.memoryFiles().writeFile("D:\\Pkg\\Tamsin32.ex_", std::string(stored.begin(), stored.end()));
    machine.memoryFiles().writeFile("D:\\Pkg\\Script.vrx", "[Settings]\r\nAppName=Tool\r\n");
  }
  bool placed(const char* name) { return machine.memoryFiles().exists(std::string("C:\\WINDOWS\\") + name); }
};

TEST(StarterDiskTest, AWindowsDriveWithoutRoomIsNamedBeforeTheEngineIsExpanded) {
  MemoryPackage package;
  package.machine.memoryFiles().setFreeSpace('C', 100000);
  const std::vector<std::string> before = package.machine.memoryFiles().listAll();
  EXPECT_EQ(runStarter(package.machine, "D:\\Pkg\\", package.errors), 1);
  EXPECT_EQ(package.errors.str().rfind("Setup: cannot put the setup engine into C:\\WINDOWS: drive C: is full: " +
                                           std::to_string(MemoryPackage::kEngineSize + 26) +
                                           " bytes are needed, ",
                                       0),
            0u)
      << package.errors.str();
  EXPECT_EQ(package.machine.memoryFiles().listAll(), before) << "nothing written";
  EXPECT_TRUE(package.machine.memoryProcess().started.empty());
}

TEST(StarterDiskTest, AnExpansionCutShortLeavesNoPartOfTheEngine) {
  MemoryPackage package;
  package.machine.memoryFiles().failWritesAfter(100000);
  EXPECT_EQ(runStarter(package.machine, "D:\\Pkg\\", package.errors), 1);
  EXPECT_FALSE(package.placed("hobvane.exe")) << "no partial engine";
  EXPECT_FALSE(package.placed("script.vrx"));
  EXPECT_NE(package.errors.str().find("cannot expand D:\\Pkg\\Tamsin32.ex_ into C:\\WINDOWS\\hobvane.exe"),
            std::string::npos)
      << package.errors.str();
  EXPECT_TRUE(package.machine.memoryProcess().started.empty());
}

TEST(StarterDiskTest, TheRoomOfAnEarlierCopyCountsAndTheEngineStarts) {
  MemoryPackage package;
  package.machine.memoryFiles().writeFile("C:\\WINDOWS\\hobvane.exe", std::string(MemoryPackage::kEngineSize, 'o'));
  package.machine.memoryFiles().setFreeSpace('C', 64 * 1024);
  package.errors.str("");
  runStarter(package.machine, "D:\\Pkg\\", package.errors);
  // The memory machine starts no program: the starter got as far as asking for it.
  EXPECT_EQ(package.errors.str(), "Setup: cannot start C:\\WINDOWS\\hobvane.exe\n");
  EXPECT_EQ(package.machine.memoryProcess().started,
            std::vector<std::string>{"wait C:\\WINDOWS\\hobvane.exe D:\\Pkg\\"});
  EXPECT_EQ(package.machine.memoryFiles().status("C:\\WINDOWS\\hobvane.exe")->size, MemoryPackage::kEngineSize);
}

// What stopped the starter, for the message box of a run with windows: one kind per failure.
TEST(StarterDiskTest, EachFailureNamesWhatStoppedTheStarter) {
  struct Case {
    const char* what;
    std::function<void(MemoryPackage&)> arrange;
    const char* folder;
    StarterStop stop;
  };
  const Case cases[] = {
      {"no package", [](MemoryPackage&) {}, "D:\\Elsewhere\\", StarterStop::NoPackage},
      {"a full Windows drive", [](MemoryPackage& p) { p.machine.memoryFiles().setFreeSpace('C', 100000); },
       "D:\\Pkg\\", StarterStop::WindowsFolder},
      {"a write refused", [](MemoryPackage& p) { p.machine.memoryFiles().failWritesAfter(100000); }, "D:\\Pkg\\",
       StarterStop::WindowsFolder},
      {"an engine that does not start", [](MemoryPackage&) {}, "D:\\Pkg\\", StarterStop::EngineStart},
  };
  for (const Case& c : cases) {
    MemoryPackage package;
    c.arrange(package);
    StarterStop stop = StarterStop::None;
    EXPECT_EQ(runStarter(package.machine, c.folder, package.errors, &stop), 1) << c.what;
    EXPECT_EQ(stop, c.stop) << c.what << ": " << package.errors.str();
  }
}

}  // namespace
}  // namespace vandrel::starter
