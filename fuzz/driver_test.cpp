// Tests of the fuzz driver, run as a program over a probe target: seeds and mutations are
// run, a failing input is kept and shown, hangs are cut short, runs repeat exactly.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace vandrel::fuzz {
namespace {

namespace fs = std::filesystem;
using test::RunResult;

class FuzzDriver : public ::testing::Test {
 protected:
  RunResult run(std::vector<std::string> arguments) {
    arguments.push_back("-artifact_prefix=" + (dir_ / "artifacts").string() + "/");
    fs::create_directories(dir_ / "artifacts");
    return test::runProgram(FUZZ_PROBE, arguments, {}, 60);
  }
  fs::path seed(const std::string& name, const std::string& content) {
    fs::create_directories(dir_ / "seeds");
    test::writeFile(dir_ / "seeds" / name, content);
    return dir_ / "seeds";
  }
  std::vector<std::string> artifacts() {
    std::vector<std::string> contents;
    for (const auto& entry : fs::directory_iterator(dir_ / "artifacts")) {
      EXPECT_EQ(entry.path().filename().string().rfind("crash-", 0), 0u);
      contents.push_back(test::readFile(entry.path()));
    }
    return contents;
  }

  test::TempDir dir_;
};

TEST_F(FuzzDriver, HarmlessSeedsPass) {
  // A folder of seeds, each run once, plus the empty input.
  seed("a", "hello");
  RunResult result = run({"-runs=0", seed("b", "world").string()});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_NE(result.out.find("3 seed inputs, 0 mutated inputs"), std::string::npos) << result.out;
  EXPECT_TRUE(artifacts().empty());
}

TEST_F(FuzzDriver, FailingSeedIsKeptAndShown) {
  RunResult result = run({"-runs=0", seed("bad", "boom and more").string()});
  EXPECT_NE(result.exitStatus, 0);
  EXPECT_NE(result.err.find("property does not hold"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("62 6f 6f 6d"), std::string::npos) << "hex of the input: " << result.err;
  EXPECT_EQ(artifacts(), std::vector<std::string>{"boom and more"});
}

TEST_F(FuzzDriver, MutationsReachAFailureAndKeepTheInput) {
  RunResult result = run({"-runs=100000", "-seed=5", seed("a", "hello").string()});
  EXPECT_NE(result.exitStatus, 0) << result.out;
  std::vector<std::string> kept = artifacts();
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_NE(kept[0].find('!'), std::string::npos) << kept[0];
}

TEST_F(FuzzDriver, HangIsCutShortAndKept) {
  RunResult result = run({"-runs=0", "-timeout=1", seed("slow", "hang").string()});
  EXPECT_NE(result.exitStatus, 0);
  EXPECT_NE(result.err.find("timeout"), std::string::npos) << result.err;
  EXPECT_EQ(artifacts(), std::vector<std::string>{"hang"});
}

TEST_F(FuzzDriver, InputsOverTheSizeCapAreSkipped) {
  RunResult result = run({"-runs=0", "-max_len=8", seed("big", "boom, but too long").string()});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_NE(result.out.find("1 seed inputs"), std::string::npos) << "only the empty input";
}

TEST_F(FuzzDriver, SameSeedFindsTheSameFailingInput) {
  fs::path seeds = seed("a", "hello");
  RunResult first = run({"-runs=100000", "-seed=9", seeds.string()});
  std::vector<std::string> firstKept = artifacts();
  fs::remove_all(dir_ / "artifacts");
  RunResult second = run({"-runs=100000", "-seed=9", seeds.string()});
  EXPECT_NE(first.exitStatus, 0);
  EXPECT_EQ(artifacts(), firstKept);
}

}  // namespace
}  // namespace vandrel::fuzz
