// The starter on an emulated machine: engine and script placed in the Windows folder, the
// engine's exit status passed on, and clear failures.
#include "tools/starter/starter.h"

#include <gtest/gtest.h>

#include <sstream>

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

}  // namespace
}  // namespace vandrel::starter
