// Temporary folders of runs that were killed: the partial package folders of `corvix
// generate` and the carry folders of plans. A later run removes those whose owner has ended
// (its lock file is free) and no other; a generation stopped by SIGHUP leaves none.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <map>
#include <optional>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/owner_lock.h"
#include "tests/support/generated_package.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

extern char** environ;

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace vandrel {
namespace {

using test::RunResult;

// The names in folder that start with prefix, sorted.
std::set<std::string> namesStarting(const fs::path& folder, const std::string& prefix) {
  std::set<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    std::string name = entry.path().filename().string();
    if (name.starts_with(prefix)) names.insert(name);
  }
  return names;
}

// A left-over folder as a killed run leaves it: with its lock file (free), or without one.
void plantLeftover(const fs::path& folder, const std::optional<fs::path>& lock) {
  fs::create_directories(folder);
  test::writeFile(folder / "data.bin", std::string(1000, 'x'));
  if (lock) test::writeFile(*lock, "");
}

// A document of fileCount files of size bytes each, its files written into dir/files.
std::string bigDocument(const fs::path& dir, int fileCount, std::size_t size) {
  std::vector<test::PackageFile> files;
  for (int i = 0; i < fileCount; ++i) files.push_back({"big" + std::to_string(i) + ".bin", std::string(size, char('a' + i % 26))});
  fs::create_directories(dir / "files");
  for (const test::PackageFile& file : files) test::writeFile(dir / "files" / file.name, file.contents);
  return test::packageDocument("Big", files, 1, 1, false);
}

class GenerateLeftovers : public ::testing::Test {
 protected:
  void SetUp() override {
    test::writeFile(dir_ / "big.txt", bigDocument(dir_.path(), 24, 2 * 1024 * 1024));
  }
  // corvix generate into dir/pkg, from dir; killed (with all it started) after limit.
  RunResult generate(std::chrono::milliseconds limit) {
    return test::runProgramFor("/bin/sh",
                               {"-c", "cd \"$1\" && exec \"$2\" generate big.txt --out pkg --no-save", "sh",
                                dir_.path().string(), test::binPath("corvix").string()},
                               {}, limit);
  }
  test::TempDir dir_;
};

// Left-overs planted beside the package folder: only the one whose lock is free goes.
TEST_F(GenerateLeftovers, ALaterRunRemovesThePartialFoldersOfEndedRuns) {
  const fs::path dir = dir_.path();
  plantLeftover(dir / "pkg.partial-dead", dir / "pkg.partial-dead.lock");
  plantLeftover(dir / "pkg.partial-none", std::nullopt);
  plantLeftover(dir / "pkg.partial-live", std::nullopt);
  platform::OwnerLock live;
  ASSERT_TRUE(live.hold(dir / "pkg.partial-live.lock"));
  RunResult generated = generate(120000ms);
  ASSERT_EQ(generated.exitStatus, 0) << generated.err;
  EXPECT_EQ(namesStarting(dir, "pkg."),
            (std::set<std::string>{"pkg.partial-live", "pkg.partial-live.lock", "pkg.partial-none"}));
  EXPECT_TRUE(fs::exists(dir / "pkg" / "Setup.exe"));
}

// Generations killed (SIGKILL) at random moments, then one run to its end: nothing partial is
// left beside the package.
TEST_F(GenerateLeftovers, KilledGenerationsLeaveNothingForLong) {
  const fs::path dir = dir_.path();
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(generate(120000ms).exitStatus, 0);
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  std::mt19937 random(20261209);
  std::uniform_int_distribution<int> moment(0, int(took.count()));
  bool leftSome = false;
  for (int trial = 0; trial < 6; ++trial) {
    generate(std::chrono::milliseconds(moment(random)));
    leftSome = leftSome || !namesStarting(dir, "pkg.partial-").empty();
  }
  RunResult last = generate(120000ms);
  ASSERT_EQ(last.exitStatus, 0) << last.err;
  EXPECT_EQ(namesStarting(dir, "pkg.partial-"), std::set<std::string>{});
  std::cout << "kills left partial folders before the last run: " << (leftSome ? "yes" : "no") << "\n";
}

// SIGHUP (a closed terminal) while the files are copied: the run ends as Ctrl+C ends it, with
// its partial folder removed.
TEST_F(GenerateLeftovers, AHangUpRemovesThePartialFolder) {
  const fs::path dir = dir_.path();
  std::string corvix = test::binPath("corvix").string();
  std::vector<std::string> words{corvix, "generate", "big.txt", "--out", "pkg", "--no-save"};
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  // Once the copy is under way: a file in the partial folder.
  auto copying = [&] {
    for (const std::string& name : namesStarting(dir, "pkg.partial-")) {
      std::error_code ec;
      if (fs::is_directory(dir / name) && !fs::is_empty(dir / name, ec)) return true;
    }
    return false;
  };
  const auto until = std::chrono::steady_clock::now() + 60s;
  while (!copying() && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(5ms);
  ::kill(pid, SIGHUP);
  int status = 0;
  ::waitpid(pid, &status, 0);
  EXPECT_FALSE(WIFSIGNALED(status)) << "it ended by the signal " << WTERMSIG(status);
  EXPECT_EQ(namesStarting(dir, "pkg.partial-"), std::set<std::string>{});
}

// Plans of a setup, in a temporary folder of their own (TMPDIR).
class PlanLeftovers : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(temporary());
    std::vector<test::PackageFile> files;
    for (int i = 0; i < 40; ++i) files.push_back({"f" + std::to_string(i) + ".dat", std::string(20000, char('a' + i % 26))});
    pkg_ = test::generatePackage(dir_.path() / "tool", "tool", test::packageDocument("Tool", files, 2, 2, false), files);
    test::writeFile(dir_.path() / "answers.ini", test::kInstallAnswers);
    ASSERT_EQ(test::runProgram("vandrel-machine", {"init", (dir_.path() / "m").string()}).exitStatus, 0);
  }
  fs::path temporary() const { return dir_.path() / "tmp"; }
  RunResult plan(std::chrono::milliseconds limit) {
    std::map<std::string, std::string> env = test::unattendedEnvironment(dir_.path() / "m", dir_.path() / "answers.ini");
    env["VANDREL_PLAN"] = "1";
    env["TMPDIR"] = temporary().string();
    return test::runProgramFor((pkg_ / "Setup.exe").string(), {}, env, limit);
  }
  test::TempDir dir_;
  fs::path pkg_;
};

TEST_F(PlanLeftovers, ALaterPlanRemovesTheCarryFoldersOfEndedPlans) {
  const fs::path tmp = temporary();
  plantLeftover(tmp / "vandrel-plan-dead01", tmp / "vandrel-plan-dead01.lock");
  test::writeFile(tmp / "vandrel-plan-dead02.lock.making-1", "");
  plantLeftover(tmp / "vandrel-plan-none01", std::nullopt);
  plantLeftover(tmp / "vandrel-plan-live01", std::nullopt);
  platform::OwnerLock live;
  ASSERT_TRUE(live.hold(tmp / "vandrel-plan-live01.lock"));
  RunResult planned = plan(120000ms);
  ASSERT_EQ(planned.exitStatus, 0) << planned.err;
  EXPECT_EQ(namesStarting(tmp, "vandrel-plan-"),
            (std::set<std::string>{"vandrel-plan-live01", "vandrel-plan-live01.lock", "vandrel-plan-none01"}));
}

TEST_F(PlanLeftovers, KilledPlansLeaveNothingForLong) {
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(plan(120000ms).exitStatus, 0);
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  std::mt19937 random(20261210);
  std::uniform_int_distribution<int> moment(0, int(took.count()));
  for (int trial = 0; trial < 6; ++trial) plan(std::chrono::milliseconds(moment(random)));
  RunResult last = plan(120000ms);
  ASSERT_EQ(last.exitStatus, 0) << last.err;
  EXPECT_EQ(namesStarting(temporary(), "vandrel-plan-"), std::set<std::string>{});
}

}  // namespace
}  // namespace vandrel
