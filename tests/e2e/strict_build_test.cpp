// corvix generate --strict and --quiet over the builder scenario "basic": the checks before the
// build, the package folders of a two-disk package, and what a log that is no terminal gets.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>

#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace vandrel::builder {
namespace {

namespace fs = std::filesystem;

// The scenario's document with its source folder and file sizes filled in.
std::string basicDocument() {
  fs::path scenario = test::sourcePath() / "tests/e2e/builder/basic";
  std::string text = test::withScenarioFiles(test::readFile(scenario / "document.txt"), scenario / "files");
  return text;
}

// The scenario's document with a message for disk 1 too: the integrity check finds nothing.
std::string cleanDocument() {
  std::string text = basicDocument();
  std::size_t at = text.find("[Messages]\n0=disk2.txt,2,");
  std::size_t end = text.find('\n', at + 11);
  std::string line = text.substr(at + 11, end - (at + 11));
  std::string disk1 = "1=disk2.txt,1," + line.substr(std::string("0=disk2.txt,2,").size());
  text.insert(end + 1, disk1 + "\n");
  return text;
}

struct StrictBuild : ::testing::Test {
  test::TempDir dir;
  std::string doc = (dir / "tool.txt").string();
  test::RunResult corvix(const std::vector<std::string>& args, const std::string& ui = "scripted") {
    return test::runProgram("corvix", args,
                            {{"VANDREL_UI", ui},
                             {"VANDREL_MACHINE", (dir / "machine").string()},
                             {"VANDREL_ANSWERS", ""},
                             {"VANDREL_TRANSCRIPT", ""}},
                            120);
  }
};

TEST_F(StrictBuild, AnIntegrityFindingBuildsNothing) {
  std::string text = basicDocument();
  // The message names disk 3, which holds no file: three findings of the integrity check.
  text.replace(text.find("[Messages]\n0=disk2.txt,2,"), 26, "[Messages]\n0=disk2.txt,3,");
  test::writeFile(doc, text);
  test::RunResult strict = corvix({"generate", doc, "--out", (dir / "pkg").string(), "--strict"});
  EXPECT_EQ(strict.exitStatus, 1) << strict.err;
  EXPECT_NE(strict.out.find("Messages, disk 1: files are copied from this disk but it has no message\n"),
            std::string::npos) << strict.out;
  EXPECT_NE(strict.err.find("corvix: the strict build found 3 finding(s), listed above; nothing "
                            "was generated\n"),
            std::string::npos) << strict.err;
  EXPECT_FALSE(fs::exists(dir / "pkg"));
  EXPECT_EQ(test::readFile(doc), text);
}

TEST_F(StrictBuild, AFileFindingBuildsNothing) {
  std::string text = std::regex_replace(cleanDocument(), std::regex("\n3=more.dat,more.dat,2,1,0,0,[0-9]+,"),
                                        "\n3=more.dat,more.dat,2,1,0,0,7,");
  test::writeFile(doc, text);
  test::RunResult strict = corvix({"generate", doc, "--out", (dir / "pkg").string(), "--strict"});
  EXPECT_EQ(strict.exitStatus, 1) << strict.err;
  // Both checks name the wrong size: the integrity check's log and the file check's table.
  EXPECT_NE(strict.out.find("Files to Copy, entry 3 (more.dat): the script records 7 bytes"),
            std::string::npos) << strict.out;
  EXPECT_NE(strict.out.find("Files corrected: 1\n"), std::string::npos) << strict.out;
  EXPECT_NE(strict.out.find("\nmore.dat\t2\t"), std::string::npos) << strict.out;
  EXPECT_NE(strict.err.find("corvix: the strict build found 2 finding(s)"), std::string::npos)
      << strict.err;
  EXPECT_FALSE(fs::exists(dir / "pkg"));
  EXPECT_EQ(test::readFile(doc), text);
}

TEST_F(StrictBuild, ACleanDocumentIsBuiltIntoOneFolderPerDisk) {
  test::writeFile(doc, cleanDocument());
  test::RunResult strict =
      corvix({"generate", doc, "--out", (dir / "pkg").string(), "--strict", "--quiet"});
  ASSERT_EQ(strict.exitStatus, 0) << strict.err;
  // Each disk of the package has its folder below --out.
  EXPECT_TRUE(fs::exists(dir / "pkg/Disk1/Script.vrx"));
  EXPECT_TRUE(fs::is_directory(dir / "pkg/Disk2"));
}

TEST_F(StrictBuild, NoProgressBarInALogAndNoneAtAllWhenQuiet) {
  test::writeFile(doc, basicDocument());
  test::RunResult logged = corvix({"generate", doc, "--out", (dir / "a").string()}, "console");
  ASSERT_EQ(logged.exitStatus, 0) << logged.err;
  EXPECT_EQ(logged.err.find('\r'), std::string::npos) << logged.err;
  EXPECT_EQ(logged.err.find('\x1b'), std::string::npos) << logged.err;
  EXPECT_EQ(logged.err.find("[#"), std::string::npos) << logged.err;
  EXPECT_EQ(logged.err.find("[."), std::string::npos) << logged.err;

  test::RunResult quiet = corvix({"generate", doc, "--out", (dir / "b").string(), "--quiet"}, "console");
  ASSERT_EQ(quiet.exitStatus, 0) << quiet.err;
  EXPECT_EQ(quiet.err, "");
  // The summary line alone.
  EXPECT_EQ(std::count(quiet.out.begin(), quiet.out.end(), '\n'), 1) << quiet.out;
  EXPECT_NE(quiet.out.find("the package was generated"), std::string::npos) << quiet.out;
}

}  // namespace
}  // namespace vandrel::builder
