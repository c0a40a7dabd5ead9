// One installation per application, with the real programs: version 1.0 then 1.1 of one
// application into the same folder (an upgrade), the same version twice (a repair), and 1.0
// and 1.1 in two folders (two installations); then the removals. Each run installs
// unattended with Setup.exe; each removal goes through the uninstall registration.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <sstream>

#include "platform/emulated/machine_root.h"
#include "tests/support/generated_package.h"
#include "tests/support/machine_state.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace vandrel {
namespace {

using test::RunResult;
using test::runProgram;
using test::TempDir;

const char* const kShared = "common.dll";

std::string replaced(std::string text, const std::string& what, const std::string& by) {
  std::size_t at = text.find(what);
  if (at != std::string::npos) text.replace(at, what.size(), by);
  return text;
}

// Quill 1.0 and 1.1. 1.1 changes f0, ships a new f4 and no longer f3, writes two win.ini
// keys and two registry values where 1.0 wrote three; both ship the shared file.
struct Packages {
  TempDir dir;
  std::map<std::string, fs::path> setup;  // version -> its Setup.exe
  Packages() {
    std::vector<test::PackageFile> old{{"f0.dat", "version 1.0"}, {"f1.dat", "one"}, {"f2.dat", "two"},
                                       {"f3.dat", "only in 1.0"}, {kShared, "shared library"}};
    std::vector<test::PackageFile> next{{"f0.dat", "version 1.1!"}, {"f1.dat", "one"}, {"f2.dat", "two"},
                                        {"f4.dat", "new in 1.1"}, {kShared, "shared library"}};
    setup["1.0"] = test::generatePackage(dir / "v10", "Quill", test::packageDocument("Quill", old, 3, 3, true),
                                         old) / "Setup.exe";
    std::string doc = test::packageDocument("Quill", next, 2, 2, true);
    doc = replaced(replaced(doc, "Ver=1.0", "Ver=1.1"), "Title=Quill 1.0 Setup", "Title=Quill 1.1 Setup");
    setup["1.1"] = test::generatePackage(dir / "v11", "Quill", doc, next) / "Setup.exe";
    test::writeFile(dir / "answers.ini", test::kInstallAnswers);
    test::writeFile(dir / "other.ini", "[Wizard]\nComponents=all\nSharing=0\nBackup=0\nCancel=\n"
                                       "Folder=C:\\Other\\Quill\n[Answers]\nDefault=Yes\n");
    test::writeFile(dir / "own.ini", "[Wizard]\nComponents=all\nSharing=0\nBackup=0\nCancel=\n"
                                     "Folder=C:\\Quill\n[Answers]\nDefault=Yes\n");
  }
};

const Packages& packages() {
  static Packages made;
  return made;
}

RunResult install(const fs::path& root, const std::string& version, const std::string& answers = "answers.ini",
                  const fs::path& log = {}, const fs::path& transcript = {}) {
  auto env = test::unattendedEnvironment(root, packages().dir / answers);
  env["VANDREL_LOG"] = log.string();
  env["VANDREL_TRANSCRIPT"] = transcript.string();
  return runProgram(packages().setup.at(version).string(), {}, env);
}

RunResult remove(const fs::path& root, const std::string& program) {
  return runProgram("vandrel-machine", {"uninstall", root.string(), program},
                    test::unattendedEnvironment(root, packages().dir / "answers.ini"));
}

std::string programs(const fs::path& root) { return runProgram("vandrel-machine", {"programs", root.string()}).out; }

// What drive C: holds, file by file, and the registry: what a package can leave.
std::map<std::string, std::string> driveAndRegistry(const fs::path& root) {
  std::map<std::string, std::string> state;
  for (const auto& [name, contents] : test::machineState(root)) {
    if (name.starts_with("drive_c") || name == "<registry export>") state[name] = contents;
  }
  return state;
}

std::optional<std::uint32_t> sharedCount(const fs::path& root) {
  auto machine = platform::emulated::openMachine(root, {});
  platform::HKey key = 0;
  if (machine->registry().openKey(platform::hkey::LocalMachine,
                                  "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", key) != 0)
    return std::nullopt;
  std::uint32_t count = 0;
  long result = machine->registry().queryDword(key, machine->system().systemDirectory() + "\\" + kShared, count);
  machine->registry().closeKey(key);
  if (result != 0) return std::nullopt;
  return count;
}

std::string winIni(const fs::path& root) { return test::readFile(root / "drive_c" / "WINDOWS" / "WIN.INI"); }

fs::path newMachine(const TempDir& dir) {
  fs::path root = dir / "m";
  EXPECT_EQ(runProgram("vandrel-machine", {"init", root.string()}).exitStatus, 0);
  return root;
}

// The machine after the one version installed and removed: what removal leaves by design
// (the uninstaller in the Windows folder, the clean-up value, emptied keys and sections).
std::map<std::string, std::string> afterPlainInstallAndRemoval(const std::string& version) {
  TempDir dir;
  fs::path root = newMachine(dir);
  EXPECT_EQ(install(root, version).exitStatus, 0);
  EXPECT_EQ(remove(root, "Quill " + version).exitStatus, 0);
  return driveAndRegistry(root);
}

TEST(OneInstallation, AnUpgradeLeavesOneProgramAndOneRemovalTakesEverything) {
  TempDir dir;
  fs::path root = newMachine(dir);
  RunResult first = install(root, "1.0", "answers.ini", dir / "first.jsonl", dir / "first-transcript.jsonl");
  ASSERT_EQ(first.exitStatus, 0) << first.err;
  EXPECT_EQ(first.err.find("earlier installation"), std::string::npos) << first.err;
  EXPECT_EQ(test::readFile(dir / "first.jsonl").find("earlier-installation"), std::string::npos);
  EXPECT_EQ(test::readFile(dir / "first-transcript.jsonl").find("\"facts\""), std::string::npos);
  const fs::path log = dir / "actions.jsonl";
  RunResult upgrade = install(root, "1.1", "answers.ini", log, dir / "transcript.jsonl");
  ASSERT_EQ(upgrade.exitStatus, 0) << upgrade.err;
  EXPECT_NE(upgrade.err.find("earlier installation of Quill found: \"Quill 1.0\" (version 1.0) in C:\\Quill"),
            std::string::npos)
      << upgrade.err;
  EXPECT_NE(upgrade.err.find("upgrades version 1.0 to 1.1"), std::string::npos) << upgrade.err;
  std::string actions = test::readFile(log);
  EXPECT_NE(actions.find("\"action\":\"earlier-installation\",\"application\":\"Quill\","
                         "\"registration\":\"Quill 1.0\",\"version\":\"1.0\",\"folder\":\"C:\\\\Quill\""),
            std::string::npos)
      << actions;
  std::string transcript = test::readFile(dir / "transcript.jsonl");
  EXPECT_NE(transcript.find("\"page\":\"destination\""), std::string::npos) << transcript;
  EXPECT_NE(transcript.find("\"facts\":{\"earlier-installation\":\"Quill 1.0\",\"earlier-version\":\"1.0\","
                            "\"earlier-folder\":\"C:\\\\Quill\"}"),
            std::string::npos)
      << transcript;
  EXPECT_EQ(programs(root), "Quill 1.1\n");
  EXPECT_EQ(test::readFile(root / "drive_c" / "Quill" / "Bin" / "f0.dat"), "version 1.1!");
  // The file 1.1 no longer ships stays until the removal.
  EXPECT_TRUE(fs::exists(root / "drive_c" / "Quill" / "Bin" / "f3.dat"));
  EXPECT_EQ(sharedCount(root), std::optional<std::uint32_t>(1));

  RunResult removed = remove(root, "Quill 1.1");
  ASSERT_EQ(removed.exitStatus, 0) << removed.err;
  EXPECT_EQ(programs(root), "");
  EXPECT_FALSE(fs::exists(root / "drive_c" / "Quill" / "Bin" / "f3.dat"));
  EXPECT_EQ(winIni(root).find("Key2"), std::string::npos) << winIni(root);
  EXPECT_EQ(sharedCount(root), std::nullopt);
  // Everything of both versions went: the machine is the one 1.1 alone leaves after removal.
  EXPECT_EQ(driveAndRegistry(root), afterPlainInstallAndRemoval("1.1"));
}

TEST(OneInstallation, TheSameVersionTwiceCountsTheSharedFileOnce) {
  TempDir dir;
  fs::path root = newMachine(dir);
  ASSERT_EQ(install(root, "1.0").exitStatus, 0);
  EXPECT_EQ(sharedCount(root), std::optional<std::uint32_t>(1));
  RunResult repair = install(root, "1.0");
  ASSERT_EQ(repair.exitStatus, 0) << repair.err;
  EXPECT_NE(repair.err.find("repairs version 1.0"), std::string::npos) << repair.err;
  EXPECT_EQ(programs(root), "Quill 1.0\n");
  EXPECT_EQ(sharedCount(root), std::optional<std::uint32_t>(1));
  ASSERT_EQ(remove(root, "Quill 1.0").exitStatus, 0);
  EXPECT_EQ(sharedCount(root), std::nullopt);
  EXPECT_FALSE(fs::exists(root / "drive_c" / "WINDOWS" / "SYSTEM" / kShared));
  EXPECT_EQ(driveAndRegistry(root), afterPlainInstallAndRemoval("1.0"));
}

TEST(OneInstallation, TheSameVersionTwiceKeepsTheCountOfAnotherInstallation) {
  TempDir dir;
  fs::path root = newMachine(dir);
  ASSERT_EQ(install(root, "1.0", "other.ini").exitStatus, 0);  // another installation uses the file
  ASSERT_EQ(install(root, "1.1", "own.ini").exitStatus, 0);
  ASSERT_EQ(install(root, "1.1", "own.ini").exitStatus, 0);  // the 1.1 installation repaired
  EXPECT_EQ(sharedCount(root), std::optional<std::uint32_t>(2));
  ASSERT_EQ(remove(root, "Quill 1.1").exitStatus, 0);
  EXPECT_EQ(sharedCount(root), std::optional<std::uint32_t>(1));
  EXPECT_TRUE(fs::exists(root / "drive_c" / "WINDOWS" / "SYSTEM" / kShared));
}

TEST(OneInstallation, TwoFoldersAreTwoInstallationsRemovedEachAlone) {
  TempDir dir;
  fs::path root = newMachine(dir);
  ASSERT_EQ(install(root, "1.0", "other.ini").exitStatus, 0);
  // The destination page proposed the earlier installation's folder; the answers choose
  // C:\Quill instead, the package's own folder.
  RunResult second = install(root, "1.1", "own.ini");
  ASSERT_EQ(second.exitStatus, 0) << second.err;
  EXPECT_EQ(second.err.find("upgrades"), std::string::npos) << second.err;
  EXPECT_EQ(programs(root), "Quill 1.0\nQuill 1.1\n");
  EXPECT_EQ(sharedCount(root), std::optional<std::uint32_t>(2));
  const fs::path other = root / "drive_c" / "Other" / "Quill" / "Bin";
  const fs::path own = root / "drive_c" / "Quill" / "Bin";
  ASSERT_EQ(remove(root, "Quill 1.0").exitStatus, 0);
  EXPECT_EQ(programs(root), "Quill 1.1\n");
  EXPECT_FALSE(fs::exists(other / "f3.dat"));
  EXPECT_EQ(test::readFile(own / "f0.dat"), "version 1.1!");
  EXPECT_TRUE(fs::exists(own / "f4.dat"));
  // (The win.ini keys and registry values both write are the same keys: the removal of
  // either takes them, as the package says.)
  EXPECT_TRUE(fs::exists(root / "drive_c" / "Quill" / "Script.vrx"));
  EXPECT_EQ(sharedCount(root), std::optional<std::uint32_t>(1));
  ASSERT_EQ(remove(root, "Quill 1.1").exitStatus, 0);
  EXPECT_EQ(programs(root), "");
  EXPECT_FALSE(fs::exists(own / "f0.dat"));
  EXPECT_EQ(sharedCount(root), std::nullopt);
}

TEST(OneInstallation, TheDestinationProposesTheEarlierFolder) {
  TempDir dir;
  fs::path root = newMachine(dir);
  ASSERT_EQ(install(root, "1.0", "other.ini").exitStatus, 0);
  // Answers that name no folder take the proposed one: the earlier installation's.
  RunResult upgrade = install(root, "1.1");
  ASSERT_EQ(upgrade.exitStatus, 0) << upgrade.err;
  EXPECT_EQ(programs(root), "Quill 1.1\n");
  EXPECT_TRUE(fs::exists(root / "drive_c" / "Other" / "Quill" / "Bin" / "f4.dat"));
  EXPECT_FALSE(fs::exists(root / "drive_c" / "Quill"));
}

}  // namespace
}  // namespace vandrel
