// End-to-end cases of the copy steps. Each folder under tests/e2e/setup_copy/ is one case:
// case.ini says which machine to start from, which package files to make (plain, random,
// compressed with mscompress, PE files with a version resource, damaged ones), which files
// to place in the machine first, and what must be seen afterwards; Script.vrx is the
// package's script, with %SIZE:file% standing for the size of a made file and %PKG% for the
// package's folder as the machine sees it. The real Setup.exe installs the package on a
// fresh machine root, with the scripted interaction and the case's answers.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <random>
#include <sstream>

#include "platform/formats/szdd.h"
#include "platform/ini/ini_document.h"
#include "tests/support/pe_builder.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace vandrel::test {
namespace {

namespace fs = std::filesystem;
using platform::IniDocument;

fs::path casesFolder() { return sourcePath() / "tests" / "e2e" / "setup_copy"; }

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

fs::path relative(const fs::path& base, std::string path) {
  for (char& c : path) c = c == '\\' ? '/' : c;
  return base / path;
}

class CopyCase : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    folder_ = casesFolder() / GetParam();
    ini_ = IniDocument::parse(readFile(folder_ / "case.ini"));
    root_ = dir_ / "machine";
    pkg_ = dir_ / "pkg";
    RunResult made = runProgram("vandrel-machine",
                                {"init", root_.string(), "--preset", setting("Preset", "win98")});
    ASSERT_EQ(made.exitStatus, 0) << made.err;
    pkgWindows_ = "Z:" + pkg_.string() + "/";
    for (char& c : pkgWindows_) c = c == '/' ? '\\' : c;
    makePackage();
    placeFiles();
  }

  std::string setting(const std::string& key, const std::string& def = "") {
    return ini_.value("Case", key).value_or(def);
  }

  // The bytes a make recipe stands for.
  std::string make(const std::string& name, const std::string& recipe) {
    std::size_t colon = recipe.find(':');
    std::string kind = recipe.substr(0, colon), arg = colon == std::string::npos ? "" : recipe.substr(colon + 1);
    if (kind == "text") return arg;
    if (kind == "random") {
      std::mt19937 gen(static_cast<unsigned>(std::hash<std::string>{}(name)));
      std::string bytes(std::stoul(arg), '\0');
      for (char& c : bytes) c = static_cast<char>(gen() % 7 == 0 ? gen() : 'a' + gen() % 4);
      return bytes;
    }
    if (kind == "pe") {
      std::vector<std::string> f;
      std::stringstream in(arg);
      for (std::string part; std::getline(in, part, ',');) f.push_back(part);
      auto bytes = buildPeWithVersion({1, 0, 0, 0}, {1, 0, 0, 0},
                                      static_cast<std::uint16_t>(std::stoul(f.at(2), nullptr, 16)),
                                      0x04b0, {{"FileVersion", f.at(0)}, {"ProductVersion", f.at(1)},
                                               {"Comments", f.size() > 3 ? f[3] : ""}}, false);
      return std::string(bytes.begin(), bytes.end());
    }
    if (kind == "damagedpe") {
      auto bytes = buildPeWithResource(platform::Bytes(64, 0xee), 0x0409, false);
      return std::string(bytes.begin(), bytes.end());
    }
    if (kind == "mscompress") {
      fs::path work = dir_ / "compress";
      fs::create_directories(work);
      fs::copy_file(relative(pkg_, arg), work / "file", fs::copy_options::overwrite_existing);
      RunResult packed = runProgram("/usr/bin/mscompress", {(work / "file").string()});
      EXPECT_EQ(packed.exitStatus, 0) << packed.err;
      std::string bytes = readFile(work / "file_");
      fs::remove(work / "file_");
      return bytes;
    }
    if (kind == "truncate") {
      std::size_t comma = arg.find(',');
      return readFile(relative(pkg_, arg.substr(0, comma))).substr(0, std::stoul(arg.substr(comma + 1)));
    }
    if (kind == "pkg") return readFile(relative(pkg_, arg));
    ADD_FAILURE() << "case.ini: unknown make recipe " << recipe;
    return {};
  }

  void makePackage() {
    fs::create_directories(pkg_ / "Disk1");
    std::string script = readFile(folder_ / "Script.vrx");
    for (const std::string& name : ini_.keyNames("Make")) {
      fs::path path = relative(pkg_, name);
      fs::create_directories(path.parent_path());
      writeFile(path, make(name, *ini_.value("Make", name)));
      script = replaceAll(script, "%SIZE:" + name + "%", std::to_string(fs::file_size(path)));
    }
    writeFile(pkg_ / "Disk1" / "Script.vrx", replaceAll(script, "%PKG%", pkgWindows_));
    fs::copy_file(binPath("Setup.exe"), pkg_ / "Disk1" / "Setup.exe");
    fs::path engine = fs::exists(binPath("Tam32E.ex_")) ? binPath("Tam32E.ex_") : binPath("tamsin32");
    fs::copy_file(engine, pkg_ / "Disk1" / "Tamsin32.ex_");
    if (fs::exists(folder_ / "answers.ini")) {
      writeFile(dir_ / "answers.ini", replaceAll(readFile(folder_ / "answers.ini"), "%PKG%", pkgWindows_));
    }
  }

  fs::path hostPath(const std::string& windowsPath) {
    RunResult mapped = runProgram("vandrel-machine", {"path", root_.string(), windowsPath});
    EXPECT_EQ(mapped.exitStatus, 0) << mapped.err;
    std::string text = mapped.out;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
  }

  // [Put] files placed into the machine, [Age] days taken off modification times (machine
  // or package paths), [ReadOnly] machine files made read-only.
  void placeFiles() {
    for (const std::string& target : ini_.keyNames("Put")) {
      fs::path to = hostPath(target);
      fs::create_directories(to.parent_path());
      writeFile(to, make(target, *ini_.value("Put", target)));
    }
    for (const std::string& path : ini_.keyNames("Age")) {
      fs::path host = path.size() > 1 && path[1] == ':' ? hostPath(path) : relative(pkg_, path);
      fs::last_write_time(host, fs::last_write_time(host) -
                                    std::chrono::hours(24 * std::stoi(*ini_.value("Age", path))));
    }
    for (const std::string& path : ini_.keyNames("ReadOnly")) {
      fs::permissions(hostPath(path), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                      fs::perm_options::remove);
    }
  }

  RunResult runSetup() {
    std::map<std::string, std::string> env{
        {"VANDREL_MACHINE", root_.string()},
        {"VANDREL_UI", "scripted"},
        {"VANDREL_TRANSCRIPT", (dir_ / "transcript.jsonl").string()},
        {"VANDREL_ANSWERS", fs::exists(dir_ / "answers.ini") ? (dir_ / "answers.ini").string() : ""}};
    return runProgram((pkg_ / "Disk1" / "Setup.exe").string(), {}, env, 120);
  }

  void checkTranscript() {
    std::string transcript = fs::exists(dir_ / "transcript.jsonl") ? readFile(dir_ / "transcript.jsonl") : "";
    std::size_t at = 0;
    for (const std::string& key : ini_.keyNames("Transcript")) {
      std::string part = *ini_.value("Transcript", key);
      std::size_t found = transcript.find(part, at);
      EXPECT_NE(found, std::string::npos) << "not found in order: " << part << "\n" << transcript;
      if (found != std::string::npos) at = found + part.size();
    }
    for (const std::string& key : ini_.keyNames("NotInTranscript")) {
      std::string part = *ini_.value("NotInTranscript", key);
      EXPECT_EQ(transcript.find(part), std::string::npos) << part << "\n" << transcript;
    }
  }

  void checkFiles() {
    for (const std::string& path : ini_.keyNames("Files")) {
      std::string expected = *ini_.value("Files", path);
      fs::path host = hostPath(path);
      if (expected == "absent") {
        EXPECT_FALSE(fs::exists(host)) << path;
        continue;
      }
      ASSERT_TRUE(fs::exists(host)) << path;
      if (expected.rfind("same:", 0) == 0) {
        EXPECT_TRUE(readFile(host) == readFile(relative(pkg_, expected.substr(5)))) << path << " differs from " << expected;
      } else if (expected.rfind("text:", 0) == 0) {
        EXPECT_EQ(readFile(host), expected.substr(5)) << path;
      } else if (expected == "readonly") {
        EXPECT_EQ(fs::status(host).permissions() & fs::perms::owner_write, fs::perms::none) << path;
      } else if (expected != "exists") {
        ADD_FAILURE() << "case.ini: unknown file expectation " << expected;
      }
    }
  }

  // [Script] "Section|Key" = value of the installed script ([Case] Installed); "<none>" for
  // a key that must be absent.
  void checkScript() {
    std::string installed = setting("Installed", "C:\\Install\\Script.vrx");
    for (const std::string& name : ini_.keyNames("Script")) {
      std::size_t bar = name.find('|');
      RunResult got = runProgram("vandrel-machine", {"ini", "get", root_.string(), installed,
                                                     name.substr(0, bar), name.substr(bar + 1), "<none>"});
      EXPECT_EQ(got.out, replaceAll(*ini_.value("Script", name), "%PKG%", pkgWindows_) + "\n") << name;
    }
  }

  void checkRegistry() {
    std::string text = runProgram("vandrel-machine", {"reg", "export", root_.string()}).out;
    for (const std::string& key : ini_.keyNames("Registry")) {
      std::string part = *ini_.value("Registry", key);
      EXPECT_NE(text.find(part), std::string::npos) << part;
    }
  }

  // [Links] link path = target|arguments|working folder|description, as lnkinfo reads them.
  void checkLinks() {
    for (const std::string& link : ini_.keyNames("Links")) {
      RunResult info = runProgram("/usr/bin/lnkinfo", {hostPath(link).string()});
      EXPECT_EQ(info.exitStatus, 0) << link << "\n" << info.err;
      std::stringstream fields(*ini_.value("Links", link));
      std::vector<std::string> labels = {"Local path", "Command line arguments", "Working directory",
                                         "Description"};
      std::string value;
      for (std::size_t i = 0; i < labels.size() && std::getline(fields, value, '|'); ++i) {
        if (value.empty()) continue;
        std::size_t at = info.out.find(labels[i]);
        ASSERT_NE(at, std::string::npos) << labels[i] << " missing for " << link << "\n" << info.out;
        std::string line = info.out.substr(at, info.out.find('\n', at) - at);
        EXPECT_EQ(line.substr(line.find(':') + 2), value) << link << "\n" << info.out;
      }
    }
  }

  fs::path folder_, root_, pkg_;
  std::string pkgWindows_;
  IniDocument ini_ = IniDocument::parse("");
  TempDir dir_;
};

TEST_P(CopyCase, Run) {
  RunResult result = runSetup();
  EXPECT_EQ(result.exitStatus, std::stoi(setting("Exit", "0"))) << result.err;
  checkTranscript();
  checkFiles();
  checkScript();
  checkRegistry();
  checkLinks();
}

std::vector<std::string> caseNames() {
  std::vector<std::string> names;
  if (!fs::exists(casesFolder())) return names;
  for (const auto& entry : fs::directory_iterator(casesFolder())) {
    if (fs::exists(entry.path() / "case.ini")) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

INSTANTIATE_TEST_SUITE_P(Cases, CopyCase, ::testing::ValuesIn(caseNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace vandrel::test
