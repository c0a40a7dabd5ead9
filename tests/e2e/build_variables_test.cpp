// Build variables on the command line over the builder scenario "basic": $(NAME) filled into the
// script from generate --set and the settings, the document left as written, and a name that
// cannot be filled named with its line by generate and check.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace vandrel::builder {
namespace {

namespace fs = std::filesystem;

// The scenario's document, sources and sizes filled in, with a disk 1 message so that the
// integrity check finds nothing, and fields that use build variables: the registry value
// carries the version and a build number, a shortcut and a favourite the application's name,
// and the Win.ini value a plain "$(" written with the escape.
std::string documentWithVariables() {
  fs::path scenario = test::sourcePath() / "tests/e2e/builder/basic";
  std::string text = test::withScenarioFiles(test::readFile(scenario / "document.txt"), scenario / "files");
  const std::string source = test::windowsForm(scenario / "files");
  auto replace = [&text](const std::string& from, const std::string& to) {
    std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
  };
  replace("0=disk2.txt,2," + source + "\\disk2.txt\n",
          "0=disk2.txt,2," + source + "\\disk2.txt\n1=disk2.txt,1," + source + "\\disk2.txt\n");
  replace("0=1,Software\\Orlwen\\Tool,Path,[1],0\n",
          "0=1,Software\\Orlwen\\Tool,Path,[1],0\n1=2,Software\\Orlwen\\$(AppName),Version,"
          "$(Ver).$(Build),1\n");
  replace("[Shortcuts]\n0=Tool,,0,0\n", "[Shortcuts]\n0=$(AppName) $(Ver),/v $(Ver),0,0\n");
  replace("0=Tool,Home,[1]\n", "0=Tool,Home,[1]\n1=Tool,Cost,$$(5)\n");
  replace("0=Tool home,http://example.org/tool", "0=$(AppName) home,http://example.org/$(Ver)");
  return text;
}

struct BuildVariablesRun : ::testing::Test {
  test::TempDir dir;
  std::string doc = (dir / "tool.txt").string();
  test::RunResult corvix(const std::vector<std::string>& args) {
    return test::runProgram("corvix", args,
                            {{"VANDREL_UI", "scripted"},
                             {"VANDREL_MACHINE", (dir / "machine").string()},
                             {"VANDREL_ANSWERS", ""},
                             {"VANDREL_TRANSCRIPT", ""}},
                            120);
  }
  // The line of the document text that starts with start, counted from 1.
  int lineOf(const std::string& text, const std::string& start) {
    std::size_t at = text.find("\n" + start);
    return at == std::string::npos ? 0 : int(std::count(text.begin(), text.begin() + long(at) + 1, '\n')) + 1;
  }
};

TEST_F(BuildVariablesRun, GenerateFillsTheScriptAndLeavesTheDocument) {
  const std::string text = documentWithVariables();
  test::writeFile(doc, text);
  test::RunResult built = corvix({"generate", doc, "--out", (dir / "pkg").string(), "--strict",
                                  "--set", "Build=417", "--save"});
  ASSERT_EQ(built.exitStatus, 0) << built.out << built.err;
  EXPECT_EQ(built.err.find("warning"), std::string::npos) << built.err;
  std::string script = test::readFile(dir / "pkg/Disk1/Script.vrx");
  EXPECT_NE(script.find("\r\n1=2,Software\\Orlwen\\Tool,Version,1.0.417,1\r\n"), std::string::npos)
      << script;
  EXPECT_NE(script.find(",Tool 1.0,/v 1.0,0\r\n"), std::string::npos) << script;
  EXPECT_NE(script.find("=Tool,Cost,$(5)\r\n"), std::string::npos) << script;
  EXPECT_NE(script.find("\r\n0=Tool home,http://example.org/1.0\r\n"), std::string::npos) << script;
  // Saved with what the run changed (the package folder), the fields still as written.
  std::string kept = test::readFile(doc);
  EXPECT_NE(kept.find("\n1=2,Software\\Orlwen\\$(AppName),Version,$(Ver).$(Build),1\n"),
            std::string::npos) << kept;
  EXPECT_NE(kept.find("\n1=Tool,Cost,$$(5)\n"), std::string::npos) << kept;

  // A setting given for the build is what $(Ver) gives; a name no field uses is told.
  test::RunResult stamped = corvix({"generate", doc, "--out", (dir / "ci").string(), "--set",
                                    "Build=418", "--set", "Ver=2.0", "--set", "Bulid=1"});
  ASSERT_EQ(stamped.exitStatus, 0) << stamped.err;
  EXPECT_NE(stamped.err.find("corvix: warning: --set Bulid: no setting has this name and no "
                             "entry field uses $(Bulid)\n"),
            std::string::npos) << stamped.err;
  script = test::readFile(dir / "ci/Disk1/Script.vrx");
  EXPECT_NE(script.find("\r\n1=2,Software\\Orlwen\\Tool,Version,2.0.418,1\r\n"), std::string::npos)
      << script;
}

TEST_F(BuildVariablesRun, AnUnknownNameIsAFindingWithItsLine) {
  const std::string text = documentWithVariables();
  test::writeFile(doc, text);
  const int line = lineOf(text, "1=2,Software\\Orlwen\\$(AppName)");
  ASSERT_GT(line, 0);
  const std::string finding = "tool.txt:" + std::to_string(line) +
                              ": error: unknown build variable $(Build): give it with --set "
                              "Build=VALUE";
  test::RunResult refused = corvix({"generate", doc, "--out", (dir / "pkg").string()});
  EXPECT_EQ(refused.exitStatus, 1);
  EXPECT_NE(refused.err.find(finding + "\n"), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("loading it found 1 error(s)"), std::string::npos) << refused.err;
  EXPECT_FALSE(fs::exists(dir / "pkg"));
  EXPECT_EQ(test::readFile(doc), text);

  test::RunResult checked = corvix({"check", doc});
  EXPECT_EQ(checked.exitStatus, 1);
  EXPECT_NE(checked.out.find(finding + "\n"), std::string::npos) << checked.out;
  EXPECT_NE(checked.err.find("corvix: the check has 1 finding(s), 1 of them in loading the document"),
            std::string::npos) << checked.err;
  test::RunResult given = corvix({"check", doc, "--set", "Build=9"});
  EXPECT_EQ(given.exitStatus, 0) << given.out << given.err;

  // A .cvx has no lines of its own: the finding names the line `corvix dump` prints.
  std::string cvx = (dir / "tool.cvx").string();
  ASSERT_EQ(corvix({"convert", doc, cvx}).exitStatus, 0);
  std::string dumped = corvix({"dump", cvx}).out;
  test::RunResult fromCvx = corvix({"check", cvx});
  EXPECT_EQ(fromCvx.exitStatus, 1);
  EXPECT_NE(fromCvx.out.find("tool.cvx:" +
                             std::to_string(lineOf(dumped, "1=2,Software\\Orlwen\\$(AppName)")) +
                             ": error: unknown build variable $(Build)"),
            std::string::npos) << fromCvx.out;
}

}  // namespace
}  // namespace vandrel::builder
