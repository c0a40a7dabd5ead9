// The switches of Setup.exe, tamsin32 and peskin32 with the real programs and no
// environment of their own: a silent install in either spelling, a silent removal, help and
// unknown switches changing nothing, and an answers file naming a component the package does
// not have refused by the engine and the starter before any change.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "tests/support/machine_state.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace vandrel {
namespace {

using test::machineState;
using test::readFile;
using test::RunResult;
using test::runProgram;
using test::TempDir;
using test::windowsForm;
using test::writeFile;

// An environment that asks for nothing: no interface, answers, logs or display named, so
// that whatever the run does comes from its switches. The machine is the one given.
std::map<std::string, std::string> bareEnvironment(const fs::path& machine) {
  return {{"VANDREL_MACHINE", machine.string()}, {"VANDREL_UI", ""}, {"VANDREL_ANSWERS", ""},
          {"VANDREL_LOG", ""}, {"VANDREL_TRANSCRIPT", ""}, {"VANDREL_RECORD", ""}, {"VANDREL_PLAN", ""},
          {"VANDREL_DIR", ""}, {"VANDREL_ANSWERS_LENIENT", ""}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""},
          {"QT_QPA_PLATFORM", ""}};
}

// The example package generated into dir/pkg, and a machine made in dir/<machine>.
class Switches : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy(test::sourcePath() / "examples", dir_ / "example", fs::copy_options::recursive);
    ASSERT_EQ(runProgram("vandrel-machine", {"init", (dir_ / "m").string()}).exitStatus, 0);
    std::map<std::string, std::string> env = bareEnvironment(dir_ / "m");
    env["VANDREL_UI"] = "scripted";
    RunResult generated = runProgram("/bin/sh", {"-c", "cd \"$1\" && \"$2\" generate tool.cvx --out \"$3\" --no-save",
                                                 "sh", (dir_ / "example").string(), test::binPath("corvix").string(),
                                                 (dir_ / "pkg").string()}, env);
    ASSERT_EQ(generated.exitStatus, 0) << generated.err;
    // The example's answers with a folder of their own, so that an install that followed
    // them is told from one that took the defaults.
    std::string answers = readFile(dir_ / "example" / "answers.ini");
    std::size_t folder = answers.find("Folder=");
    answers.replace(folder, answers.find('\n', folder) - folder, "Folder=C:\\Apps\\Tool\r");
    writeFile(dir_ / "answers.ini", answers);
  }

  fs::path machine(const std::string& name) {
    fs::path root = dir_ / name;
    if (!fs::exists(root)) {
      EXPECT_EQ(runProgram("vandrel-machine", {"init", root.string()}).exitStatus, 0);
    }
    return root;
  }

  bool installed(const fs::path& root, const std::string& windowsPath) {
    RunResult mapped = runProgram("vandrel-machine", {"path", root.string(), windowsPath});
    return fs::exists(mapped.out.substr(0, mapped.out.find('\n')));
  }

  std::string setup() const { return (dir_ / "pkg" / "Setup.exe").string(); }

  TempDir dir_;
};

// The machine as a run may leave it without changing it: its state without the lock files
// every program that opens the machine may make in its root.
std::map<std::string, std::string> unchangedState(const fs::path& root) {
  std::map<std::string, std::string> state = machineState(root);
  state.erase("install.lock");
  state.erase("machine.lock");
  return state;
}

// The last line of an action log: its summary.
std::string summary(const std::string& log) {
  return log.substr(log.rfind('\n', log.size() - 2) + 1);
}

TEST_F(Switches, SetupInstallsUnattendedWithTheWindowsSpelling) {
  fs::path root = machine("windows");
  RunResult run = runProgram(setup(), {"/S", "/ANSWERS=" + (dir_ / "answers.ini").string(),
                                       "/LOG=" + (dir_ / "install.jsonl").string()}, bareEnvironment(root));
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.out, "") << "a silent run shows nothing";
  EXPECT_TRUE(installed(root, "C:\\Apps\\Tool\\Bin\\tool.exe"));
  EXPECT_NE(summary(readFile(dir_ / "install.jsonl")).find("\"exit\":0"), std::string::npos);
}

TEST_F(Switches, SetupInstallsUnattendedWithTheLinuxSpellingAndTheSwitchesWinOverTheVariables) {
  fs::path root = machine("linux");
  std::map<std::string, std::string> env = bareEnvironment(dir_ / "not-this-machine");
  // Variables the switches override: an answers file that would be refused, another log.
  writeFile(dir_ / "refused.ini", "[Wizzard]\r\n");
  env["VANDREL_ANSWERS"] = (dir_ / "refused.ini").string();
  env["VANDREL_LOG"] = (dir_ / "not-this-log.jsonl").string();
  env["VANDREL_UI"] = "console";
  RunResult run = runProgram(setup(), {"--silent", "--answers=" + (dir_ / "answers.ini").string(),
                                       "--log=" + (dir_ / "install.jsonl").string(), "--machine=" + root.string()},
                             env);
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(installed(root, "C:\\Apps\\Tool\\Bin\\tool.exe"));
  EXPECT_NE(summary(readFile(dir_ / "install.jsonl")).find("\"exit\":0"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir_ / "not-this-machine"));
  EXPECT_FALSE(fs::exists(dir_ / "not-this-log.jsonl"));
}

TEST_F(Switches, TheDestinationSwitchWinsOverTheAnswersFilesFolder) {
  fs::path root = machine("dir");
  RunResult run = runProgram(setup(), {"/S", "/ANSWERS=" + (dir_ / "answers.ini").string(),
                                       "/DIR=C:\\Elsewhere\\Tool"}, bareEnvironment(root));
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_TRUE(installed(root, "C:\\Elsewhere\\Tool\\Bin\\tool.exe"));
  EXPECT_FALSE(installed(root, "C:\\Apps\\Tool"));
}

TEST_F(Switches, PeskinRemovesUnattended) {
  fs::path root = machine("removal");
  std::map<std::string, std::string> env = bareEnvironment(root);
  ASSERT_EQ(runProgram(setup(), {"/S", "/ANSWERS=" + (dir_ / "answers.ini").string()}, env).exitStatus, 0);
  ASSERT_TRUE(installed(root, "C:\\Apps\\Tool\\Bin\\tool.exe"));
  RunResult removal = runProgram("peskin32", {"/S", "/LOG=" + (dir_ / "removal.jsonl").string(), "C:\\Apps\\Tool"},
                                 env);
  EXPECT_EQ(removal.exitStatus, 0) << removal.err;
  EXPECT_EQ(removal.out, "");
  EXPECT_FALSE(installed(root, "C:\\Apps\\Tool\\Bin\\tool.exe"));
  EXPECT_NE(readFile(dir_ / "removal.jsonl").find("\"action\":\"removed\""), std::string::npos);
}

TEST_F(Switches, HelpAndUnknownSwitchesChangeNothing) {
  fs::path root = machine("untouched");
  std::map<std::string, std::string> before = machineState(root);
  std::map<std::string, std::string> env = bareEnvironment(root);
  env["VANDREL_UI"] = "scripted";
  const std::string log = (dir_ / "help.jsonl").string();
  for (const std::string& program : {setup(), std::string("tamsin32"), std::string("peskin32")}) {
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{"/?"}, {"--help"}, {"/S", "/LOG=" + log, "/?"}}) {
      RunResult help = runProgram(program, words, env);
      EXPECT_EQ(help.exitStatus, 2) << program << " " << words.back();
      EXPECT_EQ(help.err, "") << program;
      for (const char* name : {"/S", "--silent", "/ANSWERS=FILE", "--answers=FILE", "/LOG=FILE", "--log=FILE",
                               "/RECORD=FILE", "--record=FILE", "/TRANSCRIPT=FILE", "--transcript=FILE", "/PLAN",
                               "--plan", "/DIR=FOLDER", "--dir=FOLDER", "--machine=FOLDER", "--lenient", "/?, --help"}) {
        EXPECT_NE(help.out.find(name), std::string::npos) << program << ": " << name << "\n" << help.out;
      }
    }
    for (const char* unknown : {"/Q", "--quiet"}) {
      RunResult refused = runProgram(program, {"/S", unknown}, env);
      EXPECT_EQ(refused.exitStatus, 2) << program;
      EXPECT_EQ(refused.out, "");
      std::string name = program == setup() ? "Setup" : program;
      EXPECT_EQ(refused.err.rfind(name + ": unknown switch " + unknown + "\nUsage: ", 0), 0u) << refused.err;
    }
  }
  EXPECT_FALSE(fs::exists(log));
  EXPECT_EQ(machineState(root), before);
}

TEST_F(Switches, TheEngineRefusesAComponentThePackageDoesNotHaveBeforeAnyChange) {
  // The engine started in the package folder, beside its script, as the starter would start it.
  fs::copy_file(test::binPath("tamsin32"), dir_ / "pkg" / "tamsin32");
  fs::path root = machine("components");
  std::map<std::string, std::string> before = unchangedState(root);
  writeFile(dir_ / "components.ini",
            "[Wizard]\r\nUserName=Ann\r\nCompany=Co\r\nFolder=C:\\Apps\\Tool\r\nComponents=1,7\r\n");
  RunResult run = runProgram((dir_ / "pkg" / "tamsin32").string(),
                             {"/S", "/ANSWERS=" + (dir_ / "components.ini").string()}, bareEnvironment(root));
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_EQ(run.err, "tamsin32: " + (dir_ / "components.ini").string() +
                         "(5): component 7 is not an optional component of this package; expected all, none or a "
                         "comma list of 1\n");
  EXPECT_EQ(unchangedState(root), before);
  // The same through the starter, which refuses it before it expands the engine.
  run = runProgram(setup(), {"/S", "/ANSWERS=" + (dir_ / "components.ini").string()}, bareEnvironment(root));
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_EQ(run.err.rfind("Setup: ", 0), 0u) << run.err;
  EXPECT_EQ(unchangedState(root), before);
  // Accepted leniently, the unknown component is named once, by the engine, and left out.
  run = runProgram(setup(), {"/S", "--lenient", "/ANSWERS=" + (dir_ / "components.ini").string()},
                   bareEnvironment(root));
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.err.find("Setup: "), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("tamsin32: " + (dir_ / "components.ini").string() +
                         "(5): warning: component 7 is not an optional component of this package; expected all, "
                         "none or a comma list of 1; ignored\n"),
            std::string::npos)
      << run.err;
  EXPECT_TRUE(installed(root, "C:\\Apps\\Tool\\Bin\\tool.exe"));
}

}  // namespace
}  // namespace vandrel
