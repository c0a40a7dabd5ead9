// End-to-end cases of the setup engine: each folder under cases/ holds a package (Script.vrx
// and its files), an answers file and case.ini with the machine to start from and what must
// be seen afterwards. The real Setup.exe runs on a fresh machine root for each case.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/ini/ini_document.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace vandrel::test {
namespace {

namespace fs = std::filesystem;
using platform::IniDocument;

fs::path casesFolder() { return sourcePath() / "tests" / "e2e" / "setup" / "cases"; }
fs::path recorderProgram() { return binPath("tamsin32").parent_path().parent_path() / "tests" / "e2e_recorder"; }

std::vector<std::string> listValues(const IniDocument& ini, const std::string& section) {
  std::vector<std::string> values;
  for (const std::string& key : ini.keyNames(section)) values.push_back(ini.value(section, key).value_or(""));
  return values;
}

std::string setting(const IniDocument& ini, const std::string& key, const std::string& def = "") {
  return ini.value("Case", key).value_or(def);
}

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

class SetupCase : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    folder = casesFolder() / GetParam();
    ini = IniDocument::parse(readFile(folder / "case.ini"));
    root = dir / "machine";
    RunResult made = runProgram("vandrel-machine",
                                {"init", root.string(), "--preset", setting(ini, "Preset", "win98")});
    ASSERT_EQ(made.exitStatus, 0) << made.err;
    editIdentity();
    makePackage();
    placeFiles();
  }

  void editIdentity() {
    std::istringstream in(readFile(root / "machine.ini"));
    std::string line, out;
    while (std::getline(in, line)) {
      for (const std::string& key : ini.keyNames("Machine")) {
        if (line.rfind(key + "=", 0) == 0) line = key + "=" + *ini.value("Machine", key);
      }
      out += line + "\n";
    }
    writeFile(root / "machine.ini", out);
  }

  void makePackage() {
    fs::create_directories(dir / "pkg");
    for (const auto& entry : fs::directory_iterator(folder)) {
      std::string name = entry.path().filename().string();
      if (name != "case.ini" && name != "answers.ini") fs::copy_file(entry.path(), dir / "pkg" / name);
    }
    fs::copy_file(binPath("Setup.exe"), dir / "pkg" / "Setup.exe");
    fs::path engine = fs::exists(binPath("Tam32E.ex_")) ? binPath("Tam32E.ex_") : binPath("tamsin32");
    fs::copy_file(engine, dir / "pkg" / "Tamsin32.ex_");
  }

  fs::path hostPath(const std::string& windowsPath) {
    RunResult mapped = runProgram("vandrel-machine", {"path", root.string(), windowsPath});
    EXPECT_EQ(mapped.exitStatus, 0) << mapped.err;
    std::string text = mapped.out;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
  }

  // [Put]: files placed into the machine before the run (@recorder, @engine or a case file).
  void placeFiles() {
    for (const std::string& target : ini.keyNames("Put")) {
      std::string source = *ini.value("Put", target);
      fs::path from = source == "@recorder" ? recorderProgram()
                      : source == "@engine" ? binPath("tamsin32")
                                            : folder / source;
      fs::path to = hostPath(target);
      fs::create_directories(to.parent_path());
      fs::copy_file(from, to, fs::copy_options::overwrite_existing);
      fs::permissions(to, fs::perms::owner_exec, fs::perm_options::add);
    }
  }

  RunResult runSetup() {
    std::map<std::string, std::string> env{
        {"VANDREL_MACHINE", root.string()},
        {"VANDREL_UI", "scripted"},
        {"VANDREL_TRANSCRIPT", (dir / "transcript.jsonl").string()},
        {"VANDREL_RECORDER_LOG", (dir / "recorded.log").string()},
        {"VANDREL_ANSWERS", fs::exists(folder / "answers.ini") ? (folder / "answers.ini").string() : ""}};
    std::string run = setting(ini, "Run");
    if (run.empty()) return runProgram((dir / "pkg" / "Setup.exe").string(), {}, env, 60);
    std::string pkg = "Z:" + (dir / "pkg").string() + "/";
    for (char& c : pkg) c = c == '/' ? '\\' : c;
    std::size_t at = run.find("%PKG%");
    if (at != std::string::npos) run.replace(at, 5, pkg);
    return runProgram("vandrel-machine", {"run", root.string(), run}, env, 60);
  }

  std::string registry() { return runProgram("vandrel-machine", {"reg", "export", root.string()}).out; }

  // The recorder runs unwaited: give it time to write its lines.
  std::string recorded(std::size_t lines) {
    std::string text;
    for (int i = 0; i < 150; ++i) {
      text = fs::exists(dir / "recorded.log") ? readFile(dir / "recorded.log") : "";
      if (occurrences(text, "\n") >= lines) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return text;
  }

  void checkTranscript() {
    std::string transcript = fs::exists(dir / "transcript.jsonl") ? readFile(dir / "transcript.jsonl") : "";
    std::vector<std::string> lines;
    std::istringstream in(transcript);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    std::size_t next = 0;
    for (const std::string& part : listValues(ini, "Transcript")) {
      while (next < lines.size() && lines[next].find(part) == std::string::npos) ++next;
      EXPECT_LT(next, lines.size()) << "not found in order: " << part << "\n" << transcript;
      // The next part may stand on the same line (a page's title and its text).
    }
    for (const std::string& part : listValues(ini, "NotInTranscript")) {
      EXPECT_EQ(transcript.find(part), std::string::npos) << part << "\n" << transcript;
    }
  }

  void checkFiles() {
    for (const std::string& path : ini.keyNames("Files")) {
      std::string expected = *ini.value("Files", path);
      fs::path host = hostPath(path);
      if (expected == "absent") {
        EXPECT_FALSE(fs::exists(host)) << path;
      } else if (expected == "exists") {
        EXPECT_TRUE(fs::exists(host)) << path;
      } else if (expected.rfind("contains:", 0) == 0) {
        ASSERT_TRUE(fs::exists(host)) << path;
        EXPECT_NE(readFile(host).find(expected.substr(9)), std::string::npos) << path << ": " << readFile(host);
      } else {
        ADD_FAILURE() << "case.ini: unknown file expectation " << expected;
      }
    }
  }

  void checkRegistry(const std::string& present, const std::string& absent) {
    std::string text = registry();
    for (const std::string& part : listValues(ini, present)) {
      EXPECT_NE(text.find(part), std::string::npos) << present << ": " << part;
    }
    for (const std::string& part : listValues(ini, absent)) {
      EXPECT_EQ(text.find(part), std::string::npos) << absent << ": " << part;
    }
    for (const std::string& part : ini.keyNames(present + "Count")) {
      EXPECT_EQ(occurrences(text, part), std::stoul(*ini.value(present + "Count", part))) << part;
    }
  }

  fs::path folder;
  IniDocument ini = IniDocument::parse("");
  TempDir dir;
  fs::path root;
};

TEST_P(SetupCase, Run) {
  int runs = std::stoi(setting(ini, "Runs", "1"));
  RunResult result;
  for (int i = 0; i < runs; ++i) result = runSetup();
  EXPECT_EQ(result.exitStatus, std::stoi(setting(ini, "Exit", "0"))) << result.err;
  checkTranscript();
  checkFiles();
  checkRegistry("Registry", "NotInRegistry");
  std::vector<std::string> expected = listValues(ini, "Recorded");
  std::string log = recorded(expected.size());
  for (const std::string& part : expected) EXPECT_NE(log.find(part), std::string::npos) << part << "\n" << log;
  if (setting(ini, "Boot") == "1") {
    std::size_t before = occurrences(log, "\n");
    RunResult boot = runProgram("vandrel-machine", {"boot", root.string()}, {{"VANDREL_RECORDER_LOG", (dir / "recorded.log").string()}});
    EXPECT_EQ(boot.exitStatus, 0) << boot.err;
    std::string after = recorded(before + 1);
    for (const std::string& part : listValues(ini, "RecordedAtBoot")) {
      EXPECT_NE(after.find(part, log.size()), std::string::npos) << part << "\n" << after;
    }
    checkRegistry("RegistryAfterBoot", "NotInRegistryAfterBoot");
  }
}

std::vector<std::string> caseNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(casesFolder())) {
    if (fs::exists(entry.path() / "case.ini")) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

INSTANTIATE_TEST_SUITE_P(Cases, SetupCase, ::testing::ValuesIn(caseNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace vandrel::test
