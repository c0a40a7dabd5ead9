// End-to-end tests: a package installed by Setup.exe on a fresh machine, then removed through
// vandrel-machine uninstall, and the machine compared with its state before the install.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace vandrel::uninstall {
namespace {

namespace fs = std::filesystem;
using vandrel::test::binPath;
using vandrel::test::readFile;
using vandrel::test::runProgram;
using vandrel::test::writeFile;

const fs::path kScenarios = VANDREL_SOURCE "/tests/e2e/uninstall";

// Every file and folder below drive C:, as paths relative to it.
std::set<std::string> listing(const fs::path& root) {
  std::set<std::string> paths;
  fs::path drive = root / "drive_c";
  for (const auto& entry : fs::recursive_directory_iterator(drive)) {
    paths.insert(fs::relative(entry.path(), drive).string());
  }
  return paths;
}

// The registry as lines "[key]" and "[key] value line", from reg export.
std::set<std::string> registry(const fs::path& root) {
  vandrel::test::RunResult exported = runProgram("vandrel-machine", {"reg", "export", root.string()});
  EXPECT_EQ(exported.exitStatus, 0) << exported.err;
  std::set<std::string> lines;
  std::istringstream in(exported.out);
  std::string line, key;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line == "REGEDIT4") continue;
    if (line.front() == '[') {
      key = line;
      lines.insert(key);
    } else {
      lines.insert(key + " " + line);
    }
  }
  return lines;
}

std::set<std::string> added(const std::set<std::string>& before, const std::set<std::string>& after) {
  std::set<std::string> result;
  for (const std::string& item : after) {
    if (!before.count(item)) result.insert(item);
  }
  return result;
}

// The Windows form of a host path, through drive Z:.
std::string onDriveZ(const fs::path& host) {
  std::string path = "Z:" + host.string();
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}

// A package folder: the scenario's files, the starter, the compressed engine and uninstaller,
// and Script.vrx made from its template with the real sizes and CR LF line ends.
fs::path makePackage(const fs::path& scenario, const fs::path& folder, int reboot = 0) {
  fs::create_directories(folder);
  for (const auto& entry : fs::directory_iterator(scenario / "package")) {
    if (entry.path().filename() != "Script.vrx.in") fs::copy_file(entry.path(), folder / entry.path().filename());
  }
  fs::copy_file(binPath("Setup.exe"), folder / "Setup.exe");
  fs::copy_file(binPath("Tam32E.ex_"), folder / "Tamsin32.ex_");
  fs::copy_file(binPath("Pes32E.ex_"), folder / "Peskin32.ex_");
  std::string text = readFile(scenario / "package" / "Script.vrx.in");
  std::regex size("@SIZE:([^@]+)@");
  std::string script, rest = text;
  std::smatch match;
  while (std::regex_search(rest, match, size)) {
    script += match.prefix().str() + std::to_string(fs::file_size(folder / match[1].str()));
    rest = match.suffix().str();
  }
  script += rest;
  script = std::regex_replace(script, std::regex("Reboot=0"), "Reboot=" + std::to_string(reboot));
  std::string crlf;
  for (char c : script) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  writeFile(folder / "Script.vrx", crlf);
  return folder;
}

struct Machine {
  std::string preset;
  std::string windows;  // the Windows folder, relative to drive C:
};

void PrintTo(const Machine& machine, std::ostream* out) { *out << machine.preset; }

class EndToEnd : public ::testing::TestWithParam<Machine> {
 protected:
  void SetUp() override {
    root_ = dir_ / "machine";
    ASSERT_EQ(runProgram("vandrel-machine", {"init", root_.string(), "--preset", GetParam().preset}).exitStatus, 0);
    env_ = {{"VANDREL_MACHINE", root_.string()},
            {"VANDREL_UI", "scripted"},
            {"VANDREL_ANSWERS", (kScenarios / "full_package" / "answers.ini").string()},
            {"VANDREL_TRANSCRIPT", (dir_ / "transcript.json").string()}};
  }
  std::string win(const std::string& name) const { return "C:\\" + GetParam().windows + "\\" + name; }
  fs::path host(const std::string& name) const { return root_ / "drive_c" / GetParam().windows / name; }

  vandrel::test::TempDir dir_;
  fs::path root_;
  std::map<std::string, std::string> env_;
};

TEST_P(EndToEnd, RemovalLeavesOnlyWhatItKeeps) {
  // Another program already uses common.dll three times.
  writeFile(host("common.dll"), "common library v1\r\n");
  std::string escaped = std::regex_replace(win("common.dll"), std::regex("\\\\"), "\\\\");
  writeFile(dir_ / "before.reg",
            "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\"
            "SharedDLLs]\r\n\"" + escaped + "\"=dword:00000003\r\n");
  ASSERT_EQ(runProgram("vandrel-machine", {"reg", "import", root_.string(), (dir_ / "before.reg").string()}).exitStatus, 0);
  std::set<std::string> filesBefore = listing(root_);
  std::set<std::string> registryBefore = registry(root_);

  fs::path package = makePackage(kScenarios / "full_package", dir_ / "pkg");
  vandrel::test::RunResult setup =
      runProgram("vandrel-machine", {"run", root_.string(), onDriveZ(package / "Setup.exe")}, env_);
  ASSERT_EQ(setup.exitStatus, 0) << setup.err;
  ASSERT_TRUE(fs::exists(root_ / "drive_c" / "Program Files" / "Demo" / "Data" / "Logs" / "log.txt"));
  ASSERT_TRUE(fs::exists(host("fresh.dll")));
  fs::remove(dir_ / "transcript.json");

  vandrel::test::RunResult removal =
      runProgram("vandrel-machine", {"uninstall", root_.string(), "Demo 1.0"}, env_);
  EXPECT_EQ(removal.exitStatus, 0) << removal.err;

  // Kept: the uninstaller, the setup's temporary files until the next start, and fresh.dll
  // which the user chose to keep; common.dll is back at its count of 3.
  const std::string w = GetParam().windows + "/";
  EXPECT_EQ(added(filesBefore, listing(root_)),
            (std::set<std::string>{w + "Peskin32.exe", w + "fresh.dll", w + "hobvane.exe", w + "script.vrx"}));
  EXPECT_TRUE(added(listing(root_), filesBefore).empty());
  std::string escapedFresh = std::regex_replace(win("fresh.dll"), std::regex("\\\\"), "\\\\");
  const std::string machineKey = "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion";
  std::set<std::string> expectedRegistry = {
      "[HKEY_CURRENT_USER\\Software\\Demo]",  // only its value was the package's
      machineKey + "\\RunOnce] \"Vandrel file Clean-up\"=\"" +
          std::regex_replace(win("Peskin32.EXE"), std::regex("\\\\"), "\\\\") + " /DeleteTemp\"",
      machineKey + "\\SharedDLLs] \"" + escapedFresh + "\"=dword:00000000",
  };
  std::set<std::string> registryAfter = registry(root_);
  EXPECT_EQ(added(registryBefore, registryAfter), expectedRegistry);
  EXPECT_TRUE(added(registryAfter, registryBefore).empty());
  vandrel::test::RunResult ini = runProgram(
      "vandrel-machine", {"ini", "get", root_.string(), win("WIN.INI"), "Demo", "Path", "(none)"});
  EXPECT_EQ(ini.out, "(none)\n");

  std::string transcript = readFile(dir_ / "transcript.json");
  EXPECT_NE(transcript.find("\"kind\":\"closing\",\"caption\":\"Dallow v3.0\",\"text\":\"Uninstall "
                            "completed successfully.\""),
            std::string::npos) << transcript;
  EXPECT_NE(transcript.find("\"boxes\":[true,true,true,true,true]"), std::string::npos);
  EXPECT_NE(transcript.find("\"buttons\":\"YesYesToAllNo\""), std::string::npos);
  EXPECT_EQ(transcript.find("common.dll has a zero"), std::string::npos);  // lowered, not asked

  // The next start runs the clean-up once.
  EXPECT_EQ(runProgram("vandrel-machine", {"boot", root_.string()}, env_).exitStatus, 0);
  EXPECT_EQ(added(filesBefore, listing(root_)), (std::set<std::string>{w + "Peskin32.exe", w + "fresh.dll"}));
  registryAfter = registry(root_);
  EXPECT_EQ(added(registryBefore, registryAfter).size(), 2u);
}

TEST_P(EndToEnd, TemporaryFilesGoAtTheRestartTheSetupAskedFor) {
  env_["VANDREL_ANSWERS"] = (kScenarios / "reboot" / "answers.ini").string();
  fs::path package = makePackage(kScenarios / "full_package", dir_ / "pkg", 1);
  ASSERT_EQ(runProgram("vandrel-machine", {"run", root_.string(), onDriveZ(package / "Setup.exe")}, env_).exitStatus, 0);
  std::string transcript = readFile(dir_ / "transcript.json");
  EXPECT_NE(transcript.find("This computer must be restarted before you can use your new software."),
            std::string::npos);
  ASSERT_TRUE(fs::exists(host("hobvane.exe")));
  ASSERT_TRUE(fs::exists(host("script.vrx")));

  EXPECT_EQ(runProgram("vandrel-machine", {"boot", root_.string()}, env_).exitStatus, 0);
  EXPECT_FALSE(fs::exists(host("hobvane.exe")));
  EXPECT_FALSE(fs::exists(host("script.vrx")));
  EXPECT_TRUE(fs::exists(host("Peskin32.exe")));
  EXPECT_TRUE(fs::exists(root_ / "drive_c" / "Program Files" / "Demo" / "Script.vrx"));
  std::set<std::string> lines = registry(root_);
  for (const std::string& line : lines) EXPECT_EQ(line.find("Vandrel file Clean-up"), std::string::npos);
  // The clean-up left no transcript line: it shows nothing.
  EXPECT_EQ(readFile(dir_ / "transcript.json").find("\"program\":\"uninstall\""), std::string::npos);
}

// A shared file for the package's "Windows System" directory goes into the Windows folder's
// System folder, also on NT where the system folder is System32; its removal takes exactly
// that file, releases its count, and leaves a file of the same name in System32 alone.
using SystemFolder = EndToEnd;

TEST_P(SystemFolder, RemovalTakesTheFileFromWhereTheSetupPutIt) {
  env_["VANDREL_ANSWERS"] = (kScenarios / "system_folder" / "answers.ini").string();
  const std::string file = win("System\\sys16.dll");
  // The file's name with its backslashes doubled, as the registry export and the transcript
  // write it.
  const std::string escaped = std::regex_replace(file, std::regex("\\\\"), "\\\\");
  fs::create_directories(host("System32"));
  writeFile(host("System32") / "sys16.dll", "another program's library\r\n");
  std::set<std::string> registryBefore = registry(root_);

  fs::path package = makePackage(kScenarios / "system_folder", dir_ / "pkg");
  // Another program's file has the temporary name that the expansion of the uninstaller
  // (stored compressed) would first take in the engine folder.
  char temporary[16];
  std::snprintf(temporary, sizeof temporary, "KVB%04X.TMP",
                unsigned(fs::file_size(package / "Peskin32.ex_")) & 0xFFFF);
  writeFile(host(temporary), "another program's temporary file\r\n");
  vandrel::test::RunResult setup =
      runProgram("vandrel-machine", {"run", root_.string(), onDriveZ(package / "Setup.exe")}, env_);
  ASSERT_EQ(setup.exitStatus, 0) << setup.err;
  EXPECT_EQ(readFile(host(temporary)), "another program's temporary file\r\n");
  EXPECT_TRUE(fs::exists(host("Peskin32.exe")));
  EXPECT_EQ(readFile(dir_ / "transcript.json").find("\"kind\":\"question\""), std::string::npos)
      << "the setup asked nothing (no short copy)";
  vandrel::test::RunResult where = runProgram("vandrel-machine", {"path", root_.string(), file});
  ASSERT_EQ(where.exitStatus, 0) << where.err;
  const fs::path installed = where.out.substr(0, where.out.find('\n'));
  EXPECT_EQ(readFile(installed), "system library of the package\r\n");
  const std::string count = "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                            "SharedDLLs] \"" + escaped + "\"=dword:00000001";
  EXPECT_EQ(registry(root_).count(count), 1u) << count;
  fs::remove(dir_ / "transcript.json");

  vandrel::test::RunResult removal =
      runProgram("vandrel-machine", {"uninstall", root_.string(), "Sys 1.0"}, env_);
  EXPECT_EQ(removal.exitStatus, 0) << removal.err;
  std::string transcript = readFile(dir_ / "transcript.json");
  EXPECT_NE(transcript.find("The shared file " + escaped + " has a zero usage-count"),
            std::string::npos)
      << transcript;
  EXPECT_FALSE(fs::exists(installed));
  EXPECT_EQ(readFile(host("System32") / "sys16.dll"), "another program's library\r\n");
  // Nothing of the package is left in the registry but the clean-up of the next start.
  std::set<std::string> left = added(registryBefore, registry(root_));
  ASSERT_EQ(left.size(), 1u);
  EXPECT_NE(left.begin()->find("Vandrel file Clean-up"), std::string::npos) << *left.begin();
}

INSTANTIATE_TEST_SUITE_P(Presets, SystemFolder,
                         ::testing::Values(Machine{"win98", "WINDOWS"}, Machine{"nt4", "WINNT"},
                                           Machine{"win2000", "WINNT"}),
                         [](const auto& info) { return info.param.preset; });

INSTANTIATE_TEST_SUITE_P(Presets, EndToEnd,
                         ::testing::Values(Machine{"win98", "WINDOWS"}, Machine{"nt4", "WINNT"}),
                         [](const auto& info) { return info.param.preset; });

}  // namespace
}  // namespace vandrel::uninstall
