// The peskin32 programs run on prepared machines, one case folder each (tests/e2e/uninstall/
// endings/<case>): the machine's drive C: files, an answers file, and case.ini with the
// command line, the exit status, transcript lines expected and paths gone or kept.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace vandrel::uninstall {
namespace {

namespace fs = std::filesystem;
using vandrel::test::readFile;
using vandrel::test::runProgram;

const fs::path kEndings = VANDREL_SOURCE "/tests/e2e/uninstall/endings";

std::vector<std::string> caseNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kEndings)) {
    if (fs::exists(entry.path() / "case.ini")) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The [Case] keys of case.ini: key=value, the value as written (quotes and commas kept).
std::map<std::string, std::string> readCase(const fs::path& file) {
  std::map<std::string, std::string> keys;
  std::istringstream in(readFile(file));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t equals = line.find('=');
    if (line.empty() || line[0] == ';' || line[0] == '[' || equals == std::string::npos) continue;
    keys[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return keys;
}

// Numbered keys Name1, Name2, ... in order.
std::vector<std::string> numbered(const std::map<std::string, std::string>& keys, const std::string& name) {
  std::vector<std::string> values;
  for (int i = 1; keys.count(name + std::to_string(i)); ++i) values.push_back(keys.at(name + std::to_string(i)));
  return values;
}

// The command line as a shell would pass it: words split at blanks.
std::vector<std::string> words(const std::string& line) {
  std::vector<std::string> result;
  std::istringstream in(line);
  std::string word;
  while (in >> word) result.push_back(word);
  return result;
}

class Endings : public ::testing::TestWithParam<std::string> {};

TEST_P(Endings, ExitStatusTranscriptAndFiles) {
  const fs::path folder = kEndings / GetParam();
  std::map<std::string, std::string> spec = readCase(folder / "case.ini");
  vandrel::test::TempDir dir;
  fs::path root = dir / "machine";
  ASSERT_EQ(runProgram("vandrel-machine", {"init", root.string()}).exitStatus, 0);
  if (fs::exists(folder / "drive_c")) {
    fs::copy(folder / "drive_c", root / "drive_c",
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  }
  std::map<std::string, std::string> env = {{"VANDREL_MACHINE", root.string()},
                                            {"VANDREL_UI", "scripted"},
                                            {"VANDREL_TRANSCRIPT", (dir / "t.json").string()},
                                            {"VANDREL_ANSWERS", ""}};
  if (fs::exists(folder / "answers.ini")) env["VANDREL_ANSWERS"] = (folder / "answers.ini").string();

  vandrel::test::RunResult run = runProgram(spec.at("Program"), words(spec["CommandLine"]), env);
  EXPECT_EQ(run.exitStatus, std::stoi(spec.at("Exit"))) << run.err;
  std::string transcript = fs::exists(dir / "t.json") ? readFile(dir / "t.json") : "";
  for (const std::string& expected : numbered(spec, "Expect")) {
    EXPECT_NE(transcript.find(expected), std::string::npos) << expected << "\nin\n" << transcript;
  }
  if (numbered(spec, "Expect").empty()) {
    EXPECT_EQ(transcript, "");  // nothing shown
  }
  for (const std::string& path : numbered(spec, "Gone")) {
    EXPECT_FALSE(fs::exists(root / "drive_c" / path)) << path;
  }
  for (const std::string& path : numbered(spec, "Kept")) {
    EXPECT_TRUE(fs::exists(root / "drive_c" / path)) << path;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, Endings, ::testing::ValuesIn(caseNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace vandrel::uninstall
