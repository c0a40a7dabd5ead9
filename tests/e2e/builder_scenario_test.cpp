// The whole road of a package, one scenario folder of tests/e2e/builder at a time: corvix
// generates the document's package, Setup.exe installs it on a fresh machine, the machine is
// checked, the uninstaller removes it and the machine is checked again.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "platform/emulated/machine_root.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace vandrel::builder {
namespace {

namespace fs = std::filesystem;

std::string windowsForm(const fs::path& host) {
  std::string path = "Z:" + host.string();
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::vector<std::string> split(const std::string& text, char sep) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  for (std::string part; std::getline(in, part, sep);) parts.push_back(part);
  return parts;
}

// The scenario's document with its source folder and file sizes filled in.
std::string scenarioDocument(const fs::path& scenario) {
  std::string text = test::readFile(scenario / "document.txt");
  std::string source = windowsForm(scenario / "files");
  for (std::size_t at; (at = text.find("@SRC@")) != std::string::npos;) text.replace(at, 5, source);
  std::regex size("@SIZE:([^@]+)@");
  std::smatch m;
  while (std::regex_search(text, m, size)) {
    std::string bytes = std::to_string(fs::file_size(scenario / "files" / m[1].str()));
    text.replace(std::size_t(m.position(0)), std::size_t(m.length(0)), bytes);
  }
  return text;
}

platform::HKey rootKey(const std::string& code) {
  static const platform::HKey roots[] = {platform::hkey::ClassesRoot, platform::hkey::CurrentUser,
                                         platform::hkey::LocalMachine, platform::hkey::Users};
  return roots[std::stoi(code)];
}

std::optional<std::string> registryValue(platform::Machine& m, const std::vector<std::string>& f) {
  platform::HKey key = 0;
  if (m.registry().openKey(rootKey(f[0]), f[1], key) != 0) return std::nullopt;
  std::string value;
  long status = m.registry().queryString(key, f[2], value);
  m.registry().closeKey(key);
  if (status != 0) return std::nullopt;
  return value;
}

struct Scenario : ::testing::TestWithParam<std::string> {
  test::TempDir dir;
  fs::path root = dir / "machine";
  fs::path scenario = test::sourcePath() / "tests/e2e/builder" / GetParam();

  test::RunResult run(const std::string& program, const std::vector<std::string>& args) {
    return test::runProgram(program, args,
                            {{"VANDREL_UI", "scripted"},
                             {"VANDREL_MACHINE", root.string()},
                             {"VANDREL_ANSWERS", (scenario / "answers.ini").string()},
                             {"VANDREL_TRANSCRIPT", (dir / "transcript.jsonl").string()}},
                            120);
  }

  // Checks each line of expected.txt: installed true after the setup, false after removal.
  void checkMachine(bool installed, bool fresh = false) {
    platform::MachineOptions options;
    std::unique_ptr<platform::Machine> m = platform::emulated::openMachine(root, options);
    std::stringstream lines(test::readFile(scenario / "expected.txt"));
    for (std::string line; std::getline(lines, line);) {
      if (line.empty() || line[0] == ';') continue;
      std::size_t blank = line.find(' ');
      std::string kind = line.substr(0, blank), what = line.substr(blank + 1);
      SCOPED_TRACE(line);
      std::vector<std::string> f = split(what, '|');
      if (fresh && kind == "kept") {
        EXPECT_FALSE(m->files().status(what).has_value());
      } else if (kind == "file") {
        EXPECT_EQ(m->files().status(what).has_value(), installed);
      } else if (kind == "kept") {
        // Left by the removal too: nothing records it for the uninstaller.
        EXPECT_TRUE(m->files().status(what).has_value()) << (installed ? "installed" : "removed");
      } else if (kind == "absent") {
        EXPECT_FALSE(m->files().status(what).has_value());
      } else if (kind == "ini") {
        std::string value = m->profile().getProfileString(f[0], f[1], "", 260);
        EXPECT_EQ(value, installed ? f[2] : "");
      } else if (kind == "reg") {
        std::optional<std::string> value = registryValue(*m, f);
        EXPECT_EQ(value, installed ? std::optional(f[3]) : std::nullopt);
      } else if (kind == "noreg") {
        EXPECT_EQ(registryValue(*m, f), std::nullopt);
      } else {
        ADD_FAILURE() << "unknown line kind " << kind;
      }
    }
  }
};

TEST_P(Scenario, GenerateInstallRemove) {
  std::string document = scenarioDocument(scenario);
  bool builtInUninstaller = document.find("\nOwnUnInstall=0\n") != std::string::npos;
  if (builtInUninstaller && !fs::exists(test::binPath("Pes32E.ex_"))) {
    GTEST_SKIP() << "Pes32E.ex_ is not built: a package with the built-in uninstaller cannot "
                    "be installed completely";
  }
  test::writeFile(dir / "tool.txt", document);
  ASSERT_EQ(run("vandrel-machine", {"init", root.string(), "--preset", "win98"}).exitStatus, 0);
  checkMachine(false, /*fresh=*/true);

  test::RunResult generated = run("corvix", {"generate", (dir / "tool.txt").string(), "--out",
                                             (dir / "pkg").string()});
  ASSERT_EQ(generated.exitStatus, 0) << generated.err;
  fs::path first = fs::exists(dir / "pkg/Disk1") ? dir / "pkg/Disk1" : dir / "pkg";
  ASSERT_TRUE(fs::exists(first / "Script.vrx"));
  EXPECT_NE(test::readFile(dir / "tool.txt").find("LastGenPath=" + windowsForm(first) + "\\\n"),
            std::string::npos)
      << "the document remembers its package";

  test::RunResult setup = run("vandrel-machine", {"run", root.string(), windowsForm(first / "Setup.exe")});
  ASSERT_EQ(setup.exitStatus, 0) << setup.err << test::readFile(dir / "transcript.jsonl");
  checkMachine(true);

  if (!builtInUninstaller) return;
  test::RunResult removed = run("vandrel-machine", {"uninstall", root.string(), "Tool 1.0"});
  ASSERT_EQ(removed.exitStatus, 0) << removed.err;
  checkMachine(false);
}

INSTANTIATE_TEST_SUITE_P(Builder, Scenario, ::testing::Values("basic", "own-uninstaller"),
                         [](const auto& info) {
                           std::string name = info.param;
                           for (char& c : name)
                             if (c == '-') c = '_';
                           return name;
                         });

}  // namespace
}  // namespace vandrel::builder

namespace vandrel::builder {
namespace {

// The other document commands on the command line, over the scenario "basic".
TEST(CorvixCommands, ScriptCheckSummaryVersions) {
  test::TempDir dir;
  fs::path scenario = test::sourcePath() / "tests/e2e/builder/basic";
  std::string document = scenarioDocument(scenario);
  document.replace(document.find("[Messages]\n0=disk2.txt,2,"), 26, "[Messages]\n0=disk2.txt,3,");
  test::writeFile(dir / "tool.txt", document);
  std::map<std::string, std::string> env{{"VANDREL_UI", "scripted"},
                                         {"VANDREL_MACHINE", (dir / "machine").string()},
                                         {"VANDREL_ANSWERS", ""},
                                         {"VANDREL_TRANSCRIPT", ""}};
  auto corvix = [&](const std::vector<std::string>& args) {
    return test::runProgram("corvix", args, env, 120);
  };
  std::string doc = (dir / "tool.txt").string();

  // Never generated: nowhere to write the script.
  EXPECT_EQ(corvix({"script", doc}).exitStatus, 1);

  // The message now names disk 3, which holds no file: the check says so for disk 1 and 2.
  test::RunResult checked = corvix({"check", doc, "--log", (dir / "log.txt").string()});
  ASSERT_EQ(checked.exitStatus, 0) << checked.err;
  EXPECT_NE(checked.out.find("Messages, disk 1: files are copied from this disk but it has no message\n"),
            std::string::npos) << checked.out;
  EXPECT_EQ(test::readFile(dir / "log.txt"), checked.out);

  test::RunResult summary = corvix({"summary", doc, "--subject", "Tools"});
  ASSERT_EQ(summary.exitStatus, 0) << summary.err;
  EXPECT_EQ(summary.out.rfind("This installation will require at least a 486 computer running "
                              "Windows 95/98. ", 0), 0u);
  EXPECT_NE(summary.out.find("\nNumber of files copied: 4\n"), std::string::npos);
  EXPECT_NE(summary.out.find("\nDisk/Archive\tSize (in MB)\nDisk 1\t"), std::string::npos);
  EXPECT_NE(test::readFile(dir / "tool.txt").find("\nSubject=Tools\n"), std::string::npos);

  test::RunResult versions = corvix({"versions"});
  ASSERT_EQ(versions.exitStatus, 0);
  EXPECT_EQ(split(versions.out, '\n').size(), 9u);
  EXPECT_NE(versions.out.find("\nTam32E.ex_\t32 Bits Installer (US)\t"), std::string::npos);
  EXPECT_NE(versions.out.find("\nTam16E.ex_\t16 Bits Installer (US)\t[File Not Found]\t\n"),
            std::string::npos);

  ASSERT_EQ(corvix({"generate", doc, "--out", (dir / "pkg").string()}).exitStatus, 0);
  fs::remove(dir / "pkg/Disk1/Script.vrx");
  EXPECT_EQ(corvix({"script", doc}).exitStatus, 0);
  EXPECT_TRUE(fs::exists(dir / "pkg/Disk1/Script.vrx"));

  test::RunResult files = corvix({"check-files", doc});
  ASSERT_EQ(files.exitStatus, 0) << files.err;
  EXPECT_EQ(files.out.rfind("Files scanned: 4\nFiles corrected: 0\nFiles missing: 0\n", 0), 0u);
}

}  // namespace
}  // namespace vandrel::builder
