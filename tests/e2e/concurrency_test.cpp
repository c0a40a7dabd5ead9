// Two programs at once on one machine, with the real programs: two packages installed at
// the same moment (on a machine neither has made yet), the same package twice, an install
// while a removal runs, each twenty times in a row. Each run completes or stops saying that
// another installation is running; win.ini and the registry then hold every value of each
// run that completed, and the shared file's usage count is exact (an installation repaired
// by a second run counts it once).
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <optional>

#include "platform/emulated/machine_root.h"
#include "tests/support/generated_package.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace vandrel {
namespace {

using test::RunResult;
using test::runProgram;
using test::TempDir;

constexpr int kRepetitions = 20;
const char* const kShared = "common.dll";

// The packages Alpha and Beta, generated once for the test program; both carry the shared
// file.
struct Packages {
  TempDir dir;
  std::map<std::string, fs::path> setup;  // app -> its Setup.exe
  Packages() {
    for (const char* app : {"Alpha", "Beta"}) {
      std::vector<test::PackageFile> files;
      for (int i = 0; i < 6; ++i)
        files.push_back({"f" + std::to_string(i) + ".dat", std::string(200 + i, char('a' + i))});
      files.push_back({kShared, "shared library, the same in both"});
      fs::path pkg = test::generatePackage(dir / app, app, test::packageDocument(app, files, 3, 3, true), files);
      setup[app] = pkg / "Setup.exe";
    }
    test::writeFile(dir / "answers.ini", test::kInstallAnswers);
  }
};

const Packages& packages() {
  static Packages made;
  return made;
}

std::map<std::string, std::string> environment(const fs::path& root) {
  return test::unattendedEnvironment(root, packages().dir / "answers.ini");
}

RunResult install(const fs::path& root, const std::string& app) {
  return runProgram(packages().setup.at(app).string(), {}, environment(root));
}

RunResult remove(const fs::path& root, const std::string& app) {
  return runProgram("vandrel-machine", {"uninstall", root.string(), app + " 1.0"}, environment(root));
}

// Whether the run completed; one that did not must have stopped saying why.
bool completed(const RunResult& run, const std::string& what) {
  if (run.exitStatus == 0) return true;
  EXPECT_EQ(run.exitStatus, 1) << what << "\n" << run.err;
  EXPECT_NE(run.err.find("another installation is running on this machine"), std::string::npos)
      << what << "\n" << run.err;
  return false;
}

// Runs both at the same moment.
std::pair<RunResult, RunResult> together(const std::function<RunResult()>& first,
                                         const std::function<RunResult()>& second) {
  auto other = std::async(std::launch::async, second);
  RunResult mine = first();
  return {mine, other.get()};
}

// What the machine holds of one package, read through its own facilities.
struct Holding {
  int iniKeys = 0;        // of the app's own section and its key of [Shared]
  int registryValues = 0;  // likewise
};

Holding holdingOf(platform::Machine& machine, const std::string& app) {
  Holding h;
  platform::Profile& profile = machine.profile();
  const std::string folder = "C:\\" + app;
  for (int k = 0; k < 3; ++k) h.iniKeys += profile.getProfileString(app, "Key" + std::to_string(k), "", 260) == folder;
  h.iniKeys += profile.getProfileString("Shared", app, "", 260) == "installed";
  platform::Registry& registry = machine.registry();
  auto valueIs = [&](const std::string& key, const std::string& name, const std::string& wanted) {
    platform::HKey handle = 0;
    if (registry.openKey(platform::hkey::CurrentUser, "Software\\Vandrel Tests\\" + key, handle) != 0) return 0;
    std::string value;
    bool found = registry.queryString(handle, name, value) == 0 && value == wanted;
    registry.closeKey(handle);
    return found ? 1 : 0;
  };
  for (int v = 0; v < 3; ++v) h.registryValues += valueIs(app, "Value" + std::to_string(v), folder);
  h.registryValues += valueIs("Shared", app, "installed");
  return h;
}

// The usage count of the shared file; nothing when it has none.
std::optional<std::uint32_t> sharedCount(platform::Machine& machine) {
  platform::HKey key = 0;
  if (machine.registry().openKey(platform::hkey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
                                 key) != 0)
    return std::nullopt;
  std::uint32_t count = 0;
  long result = machine.registry().queryDword(key, machine.system().systemDirectory() + "\\" + kShared, count);
  machine.registry().closeKey(key);
  if (result != 0) return std::nullopt;
  return count;
}

void expectInstalled(platform::Machine& machine, const std::string& app, bool installed) {
  Holding h = holdingOf(machine, app);
  EXPECT_EQ(h.iniKeys, installed ? 4 : 0) << app;
  EXPECT_EQ(h.registryValues, installed ? 4 : 0) << app;
}

std::unique_ptr<platform::Machine> open(const fs::path& root) {
  return platform::emulated::openMachine(root, {});
}

TEST(TwoAtOnce, TwoPackagesInstalledAtTheSameMomentOnAMachineNotYetMade) {
  for (int round = 0; round < kRepetitions; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    TempDir dir;
    const fs::path root = dir / "m";
    auto [alpha, beta] = together([&] { return install(root, "Alpha"); }, [&] { return install(root, "Beta"); });
    int made = (alpha.err.find("made a new machine") != std::string::npos) +
               (beta.err.find("made a new machine") != std::string::npos);
    EXPECT_EQ(made, 1) << alpha.err << beta.err;
    bool alphaDone = completed(alpha, "Alpha"), betaDone = completed(beta, "Beta");
    auto machine = open(root);
    expectInstalled(*machine, "Alpha", alphaDone);
    expectInstalled(*machine, "Beta", betaDone);
    EXPECT_EQ(sharedCount(*machine).value_or(0), std::uint32_t(alphaDone + betaDone));
    EXPECT_TRUE(fs::exists(root / "drive_c" / "Alpha" / "Bin" / "f5.dat") || !alphaDone);
    EXPECT_TRUE(fs::exists(root / "drive_c" / "Beta" / "Bin" / "f5.dat") || !betaDone);
  }
}

TEST(TwoAtOnce, OnePackageInstalledTwiceAtTheSameMoment) {
  for (int round = 0; round < kRepetitions; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    TempDir dir;
    const fs::path root = dir / "m";
    ASSERT_EQ(runProgram("vandrel-machine", {"init", root.string()}).exitStatus, 0);
    auto [first, second] = together([&] { return install(root, "Alpha"); }, [&] { return install(root, "Alpha"); });
    int done = completed(first, "first") + completed(second, "second");
    ASSERT_GE(done, 1);
    auto machine = open(root);
    expectInstalled(*machine, "Alpha", true);
    // The second run to complete repaired the first one's installation (the same folder):
    // one installation, counting its use of the shared file once.
    EXPECT_EQ(sharedCount(*machine).value_or(0), 1u);
    EXPECT_EQ(runProgram("vandrel-machine", {"programs", root.string()}).out, "Alpha 1.0\n");
    for (int i = 0; i < 6; ++i) {
      fs::path file = root / "drive_c" / "Alpha" / "Bin" / ("f" + std::to_string(i) + ".dat");
      EXPECT_EQ(fs::exists(file) ? fs::file_size(file) : 0u, 200u + i) << file;
    }
  }
}

TEST(TwoAtOnce, AnInstallWhileARemovalRuns) {
  for (int round = 0; round < kRepetitions; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    TempDir dir;
    const fs::path root = dir / "m";
    ASSERT_EQ(runProgram("vandrel-machine", {"init", root.string()}).exitStatus, 0);
    RunResult first = install(root, "Alpha");
    ASSERT_EQ(first.exitStatus, 0) << first.err;
    // Alternate which of the two starts a moment first.
    auto removal = [&] { return remove(root, "Alpha"); };
    auto installation = [&] { return install(root, "Beta"); };
    auto [a, b] = round % 2 ? together(removal, installation) : together(installation, removal);
    const RunResult& removed = round % 2 ? a : b;
    const RunResult& installed = round % 2 ? b : a;
    bool removalDone = completed(removed, "removal"), betaDone = completed(installed, "Beta");
    auto machine = open(root);
    expectInstalled(*machine, "Alpha", !removalDone);
    expectInstalled(*machine, "Beta", betaDone);
    std::uint32_t uses = std::uint32_t(!removalDone) + std::uint32_t(betaDone);
    EXPECT_EQ(sharedCount(*machine).value_or(0), uses);
    EXPECT_EQ(fs::exists(root / "drive_c" / "WINDOWS" / "SYSTEM" / kShared), uses > 0);
  }
}

}  // namespace
}  // namespace vandrel
