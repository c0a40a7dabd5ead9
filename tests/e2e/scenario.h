// The end-to-end scenario runner: a case is a folder holding a case.ini (tests/e2e/README.md).
// The real programs of build/bin run on a fresh machine root: the package is made (or generated
// by corvix), the setup engine or a program of the case runs with the scripted interaction and
// the case's answers, the machine is checked; then, as the case asks, the package is removed
// and the machine restarted, each followed by its own checks. scenario_test.cpp runs the cases
// below tests/e2e; tests/hostile runs its own corpus through the same steps.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <regex>
#include <sstream>
#include <thread>
#include <tuple>

#include <gtest/gtest.h>

#include "platform/emulated/machine_config.h"
#include "platform/emulated/machine_root.h"
#include "tests/e2e/case_file.h"
#include "tests/support/pe_builder.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace vandrel::test {

namespace fs = std::filesystem;


inline fs::path scenariosFolder() { return sourcePath() / "tests" / "e2e"; }
inline fs::path recorderProgram() { return binPath("tamsin32").parent_path().parent_path() / "tests" / "e2e_recorder"; }

inline std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

inline std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
  return parts;
}

inline fs::path relative(const fs::path& base, std::string path) {
  for (char& c : path) c = c == '\\' ? '/' : c;
  return base / path;
}

inline std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// The checks run after each step; a section name with the phase's suffix holds its checks.
inline const char* const kBeforeRun = "BeforeRun";
inline const char* const kAfterRun = "";
inline const char* const kAfterRemoval = "AfterRemoval";
inline const char* const kAfterBoot = "AfterBoot";

// The Windows folder of a preset, for %WINDIR% in case.ini.
inline std::string windowsFolder(const std::string& preset) { return preset == "nt4" || preset == "win2000" ? "WINNT" : "WINDOWS"; }

// A case: its folder, and the preset it runs on when [Case] Presets lists several.
struct CaseName {
  std::string folder;
  std::string preset;
};

inline void PrintTo(const CaseName& name, std::ostream* out) { *out << name.folder << (name.preset.empty() ? "" : " on " + name.preset); }

class Scenario : public ::testing::TestWithParam<CaseName> {
 protected:
  // The folder whose sub-folders are the cases.
  virtual fs::path corpus() const { return scenariosFolder(); }
  // Placeholders of a corpus of its own, filled in case.ini, the package's script, the answers
  // and the case files that [Put] and [Make] take.
  virtual std::string fill(std::string text) const { return text; }

  void SetUp() override {
    folder_ = corpus() / GetParam().folder;
    root_ = dir_ / "machine";
    pkg_ = dir_ / "pkg";
    pkgWindows_ = windowsForm(pkg_) + "\\";
    std::string text = fill(readFile(folder_ / "case.ini"));
    std::string preset = CaseFile::parse(text).value("Case", "Preset").value_or("win98");
    if (!GetParam().preset.empty()) preset = GetParam().preset;
    windows_ = windowsFolder(preset);
    text = replaceAll(text, "%WINDIR%", windows_);
    ini_ = CaseFile::parse(text);
    checkNames();
    RunResult made = runProgram("vandrel-machine", {"init", root_.string(), "--preset", preset});
    ASSERT_EQ(made.exitStatus, 0) << made.err;
    editIdentity();
    setFreeSpace();
    if (fs::exists(folder_ / "drive_c")) {
      fs::copy(folder_ / "drive_c", root_ / "drive_c", fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }
    if (setting("Program").empty() && !generated()) {
      makePackage();
      // %SIZEX:<package file>%: the file's size modulo 65536 in four hexadecimal digits.
      std::regex sizeHex("%SIZEX:([^%]+)%");
      for (std::smatch m; std::regex_search(text, m, sizeHex);) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%04X", unsigned(fs::file_size(relative(pkg_, m[1].str())) & 0xFFFF));
        text.replace(std::size_t(m.position(0)), std::size_t(m.length(0)), digits);
      }
      ini_ = CaseFile::parse(text);
    }
    std::string answers = fs::exists(folder_ / "answers.ini") ? readFile(folder_ / "answers.ini") : "";
    if (!answers.empty()) writeFile(dir_ / "answers.ini", fill(replaceAll(answers, "%PKG%", pkgWindows_)));
    placeFiles();
    if (!setting("RegImport").empty()) {
      writeFile(dir_ / "import.reg", fill(replaceAll(readFile(folder_ / setting("RegImport")), "%WINDIR%", windows_)));
      RunResult imported = runProgram("vandrel-machine", {"reg", "import", root_.string(), (dir_ / "import.reg").string()});
      ASSERT_EQ(imported.exitStatus, 0) << imported.err;
    }
    for (const char* phase : {kAfterRun, kAfterRemoval, kAfterBoot}) {
      if (ini_.has(std::string("AddedFiles") + phase)) filesBefore_ = listing();
      if (ini_.has(std::string("AddedRegistry") + phase)) registryBefore_ = registryLines();
    }
  }

  // A misspelt section or [Case] key would leave its checks out unnoticed: every name must be
  // known, and a phase's checks need the step that starts it.
  void checkNames() const {
    static const std::set<std::string> caseKeys = {"Preset", "Presets", "Exit", "Run", "Runs", "Program",
                                                   "CommandLine", "Disk", "Package", "Generate", "Author", "RegImport",
                                                   "Remove", "RemoveExit", "Boot", "BootExit", "Silent", "Confined"};
    static const std::set<std::string> preparing = {"Case",     "Machine",  "Make",    "Put",
                                                    "Age",      "ReadOnly", "Symlink", "HardLink",
                                                    "FreeSpace"};
    static const std::vector<std::string> checks = {
        "Transcript", "NotInTranscript", "Files", "Registry", "NotInRegistry", "RegistryCount", "RegistryLines",
        "RegistryValues", "Ini", "Links", "Recorded", "AddedFiles", "AddedRegistry", "Stderr"};
    std::set<std::string> known = preparing;
    for (const std::string& check : checks) {
      known.insert(check + kBeforeRun);
      known.insert(check + kAfterRun);
      if (!setting("Remove").empty()) known.insert(check + kAfterRemoval);
      if (setting("Boot") == "1") known.insert(check + kAfterBoot);
    }
    for (const std::string& section : ini_.sectionNames()) {
      if (section.empty()) continue;
      EXPECT_TRUE(known.count(section)) << "case.ini: unknown or unused section [" << section << "]";
    }
    for (const std::string& key : keys("Case")) EXPECT_TRUE(caseKeys.count(key)) << "case.ini: unknown key " << key;
  }

  std::string setting(const std::string& key, const std::string& def = "") const {
    return ini_.value("Case", key).value_or(def);
  }
  // The values of a section in key order, and its keys.
  std::vector<std::string> values(const std::string& section) const {
    std::vector<std::string> out;
    for (const std::string& key : ini_.keys(section)) out.push_back(ini_.value(section, key).value_or(""));
    return out;
  }
  std::vector<std::string> keys(const std::string& section) const { return ini_.keys(section); }
  std::string value(const std::string& section, const std::string& key) const {
    return ini_.value(section, key).value_or("");
  }

  // [Machine]: keys of machine.ini's identity changed before the run.
  void editIdentity() {
    if (keys("Machine").empty()) return;
    std::istringstream in(readFile(root_ / "machine.ini"));
    std::string line, out;
    while (std::getline(in, line)) {
      for (const std::string& key : keys("Machine")) {
        if (line.rfind(key + "=", 0) == 0) line = key + "=" + value("Machine", key);
      }
      out += line + "\n";
    }
    writeFile(root_ / "machine.ini", out);
  }

  // [FreeSpace]: the bytes free the machine reports for a drive (machine.ini [FreeSpace]).
  void setFreeSpace() {
    for (const std::string& drive : keys("FreeSpace")) {
      platform::emulated::writeMachineIniValue(root_, "FreeSpace", drive, value("FreeSpace", drive));
    }
  }

  // The bytes a recipe stands for ([Make] and [Put]).
  std::string make(const std::string& name, const std::string& recipe) {
    std::size_t colon = recipe.find(':');
    std::string kind = recipe.substr(0, colon), arg = colon == std::string::npos ? "" : recipe.substr(colon + 1);
    if (kind == "text") return arg;
    if (kind == "file") return fill(readFile(relative(folder_, arg)));
    if (kind == "pkg") return readFile(relative(pkg_, arg));
    if (kind == "recorder") return readFile(recorderProgram());
    if (kind == "engine") return readFile(binPath("tamsin32"));
    if (kind == "uninstaller") return readFile(binPath("Pes32E.ex_"));
    if (kind == "replace") {
      std::vector<std::string> f = split(arg, '|');
      return replaceAll(readFile(relative(pkg_, f.at(0))), f.at(1), f.at(2));
    }
    if (kind == "random") {
      std::mt19937 gen(static_cast<unsigned>(std::hash<std::string>{}(name)));
      std::string bytes(std::stoul(arg), '\0');
      for (char& c : bytes) c = static_cast<char>(gen() % 7 == 0 ? gen() : 'a' + gen() % 4);
      return bytes;
    }
    if (kind == "pe") {
      std::vector<std::string> f = split(arg, ',');
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
    ADD_FAILURE() << "case.ini: unknown recipe " << recipe;
    return {};
  }

  // The package: the case's own files (or those of [Case] Package, a folder relative to the
  // case's), [Make] files, and Setup.exe with the engine beside the script in pkg/<Disk>;
  // %SIZE:file% and %PKG% in the script filled in.
  void makePackage() {
    fs::path disk = pkg_ / setting("Disk");
    fs::create_directories(disk);
    fs::path source = setting("Package").empty() ? folder_ : folder_ / setting("Package");
    for (const auto& entry : fs::directory_iterator(source)) {
      std::string name = entry.path().filename().string();
      if (entry.is_regular_file() && name != "case.ini" && name != "answers.ini") fs::copy_file(entry.path(), disk / name);
    }
    for (const std::string& name : keys("Make")) {
      fs::path path = relative(pkg_, name);
      fs::create_directories(path.parent_path());
      writeFile(path, make(name, value("Make", name)));
    }
    std::string script = fs::exists(disk / "Script.vrx") ? readFile(disk / "Script.vrx") : "";
    std::string filled = fill(script);
    std::regex size("%SIZE:([^%]+)%");
    for (std::smatch m; std::regex_search(filled, m, size);) {
      std::string bytes = std::to_string(fs::file_size(relative(pkg_, m[1].str())));
      filled.replace(std::size_t(m.position(0)), std::size_t(m.length(0)), bytes);
    }
    filled = replaceAll(filled, "%PKG%", pkgWindows_);
    if (filled != script) writeFile(disk / "Script.vrx", filled);
    fs::copy_file(binPath("Setup.exe"), disk / "Setup.exe");
    fs::copy_file(binPath("Tam32E.ex_"), disk / "Tamsin32.ex_");
  }

  // [Put] files placed into the machine (made executable), [Symlink] and [HardLink] links to a
  // host path planted in the machine or the package, [Age] days taken off modification times (machine or
  // package paths), [ReadOnly] machine files made read-only.
  void placeFiles() {
    for (const std::string& target : keys("Put")) {
      fs::path to = hostPath(target);
      fs::create_directories(to.parent_path());
      writeFile(to, make(target, value("Put", target)));
      fs::permissions(to, fs::perms::owner_exec, fs::perm_options::add);
    }
    for (const std::string& link : keys("Symlink")) {
      fs::path at = machineOrPackagePath(link);
      fs::create_directories(at.parent_path());
      fs::remove_all(at);  // a link planted over a file or folder of the machine replaces it
      fs::create_symlink(value("Symlink", link), at);
    }
    for (const std::string& link : keys("HardLink")) {
      fs::path at = machineOrPackagePath(link);
      fs::create_directories(at.parent_path());
      fs::remove(at);
      fs::create_hard_link(value("HardLink", link), at);
    }
    for (const std::string& path : keys("Age")) {
      fs::path host = machineOrPackagePath(path);
      fs::last_write_time(host, fs::last_write_time(host) - std::chrono::hours(24 * std::stoi(value("Age", path))));
    }
    for (const std::string& path : keys("ReadOnly")) {
      fs::permissions(hostPath(path), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                      fs::perm_options::remove);
    }
  }

  // Every file and folder below drive C:, as Windows paths.
  std::set<std::string> listing() const {
    std::set<std::string> paths;
    fs::path drive = root_ / "drive_c";
    for (const auto& entry : fs::recursive_directory_iterator(drive)) {
      std::string path = "C:\\" + fs::relative(entry.path(), drive).string();
      for (char& c : path) c = c == '/' ? '\\' : c;
      paths.insert(path);
    }
    return paths;
  }

  // The registry as lines "[key]" and "[key] value line", from reg export.
  std::set<std::string> registryLines() const {
    RunResult exported = runProgram("vandrel-machine", {"reg", "export", root_.string()});
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

  // A Windows path of the machine ("C:\\...") or a path inside the package.
  // A Windows path of the machine, "@<name>" an entry of the machine root itself, else a
  // path of the package.
  fs::path machineOrPackagePath(const std::string& path) {
    if (!path.empty() && path[0] == '@') return root_ / path.substr(1);
    return path.size() > 1 && path[1] == ':' ? hostPath(path) : relative(pkg_, path);
  }

  fs::path hostPath(const std::string& windowsPath) {
    RunResult mapped = runProgram("vandrel-machine", {"path", root_.string(), windowsPath});
    EXPECT_EQ(mapped.exitStatus, 0) << mapped.err;
    std::string text = mapped.out;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
  }

  std::map<std::string, std::string> environment() const {
    return {{"VANDREL_MACHINE", root_.string()},
            {"VANDREL_UI", "scripted"},
            {"VANDREL_TRANSCRIPT", (dir_ / "transcript.jsonl").string()},
            {"VANDREL_RECORDER_LOG", (root_ / "recorded.log").string()},
            {"VANDREL_ANSWERS", fs::exists(dir_ / "answers.ini") ? (dir_ / "answers.ini").string() : ""}};
  }
  // Runs a step; its standard error is kept for [Stderr].
  virtual RunResult run(const std::string& program, const std::vector<std::string>& arguments) {
    RunResult result = runProgram(program, arguments, environment(), 120);
    stepErr_ = result.err;
    return result;
  }

  // [Case] Generate: corvix generates the package of the case's document, whose @SRC@ stands
  // for the case's files/ folder and @SIZE:file@ for a file's size.
  void generate() {
    std::string text = readFile(folder_ / setting("Generate"));
    text = withScenarioFiles(text, folder_ / "files");
    writeFile(dir_ / "document.txt", text);
    RunResult generated = run("corvix", {"generate", (dir_ / "document.txt").string(), "--out", pkg_.string(),
                                          "--save"});
    ASSERT_EQ(generated.exitStatus, 0) << generated.err;
    fs::path first = fs::exists(pkg_ / "Disk1") ? pkg_ / "Disk1" : pkg_;
    ASSERT_TRUE(fs::exists(first / "Script.vrx"));
    EXPECT_NE(readFile(dir_ / "document.txt").find("LastGenPath=" + windowsForm(first) + "\\\n"), std::string::npos)
        << "the document remembers its package";
  }

  // Words split at blanks, double quotes grouping (and dropped).
  static std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> out;
    std::string word;
    bool quoted = false, any = false;
    for (char c : line) {
      if (c == '"') {
        quoted = !quoted;
        any = true;
      } else if (c == ' ' && !quoted) {
        if (any) out.push_back(word);
        word.clear();
        any = false;
      } else {
        word += c;
        any = true;
      }
    }
    if (any) out.push_back(word);
    return out;
  }

  // [Case] Author: the package is authored as an author would, one corvix command per line of
  // the named file, run in a copy of the case's files/ folder (the project folder) with the
  // interaction's defaults and the builder preferences of the case's corvix.conf (none: the
  // defaults); @PKG@ stands for the package folder. Every command must succeed.
  void author() {
    fs::path project = dir_ / "project";
    fs::create_directories(project);
    if (fs::exists(folder_ / "files")) fs::copy(folder_ / "files", project, fs::copy_options::recursive);
    fs::create_directories(dir_ / "config" / "Orlwen");
    if (fs::exists(folder_ / "corvix.conf")) {
      fs::copy_file(folder_ / "corvix.conf", dir_ / "config" / "Orlwen" / "Corvix v3.0.conf");
    }
    std::map<std::string, std::string> env = environment();
    env["VANDREL_ANSWERS"] = "";
    env["VANDREL_TRANSCRIPT"] = (dir_ / "author.jsonl").string();
    env["XDG_CONFIG_HOME"] = (dir_ / "config").string();
    std::istringstream steps(readFile(folder_ / setting("Author")));
    for (std::string line; std::getline(steps, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.empty() || line[0] == ';') continue;
      std::vector<std::string> args{"-c", "cd \"$1\" && shift && exec \"$@\"", "sh", project.string(),
                                    binPath("corvix").string()};
      for (const std::string& word : words(replaceAll(line, "@PKG@", pkg_.string()))) args.push_back(word);
      RunResult step = runProgram("/bin/sh", args, env, 120);
      ASSERT_EQ(step.exitStatus, 0) << "corvix " << line << "\n" << step.out << step.err;
    }
    ASSERT_TRUE(fs::exists(pkg_ / "Script.vrx") || fs::exists(pkg_ / "Disk1" / "Script.vrx"));
  }

  // Whether corvix makes the package ([Case] Generate or Author).
  bool generated() const { return !setting("Generate").empty() || !setting("Author").empty(); }

  // The run: a program of build/bin ([Case] Program, CommandLine split at blanks), a command
  // line started in the machine ([Case] Run), or the package's Setup.exe.
  RunResult runOnce() {
    if (!setting("Program").empty()) {
      std::istringstream words(setting("CommandLine"));
      std::vector<std::string> arguments;
      for (std::string word; words >> word;) arguments.push_back(word);
      return run(setting("Program"), arguments);
    }
    if (!setting("Run").empty()) {
      return run("vandrel-machine", {"run", root_.string(), replaceAll(setting("Run"), "%PKG%", pkgWindows_)});
    }
    fs::path disk = generated() && fs::exists(pkg_ / "Disk1") ? pkg_ / "Disk1" : pkg_ / setting("Disk");
    if (generated()) return run("vandrel-machine", {"run", root_.string(), windowsForm(disk / "Setup.exe")});
    return run((disk / "Setup.exe").string(), {});
  }

  std::string transcript() const {
    return fs::exists(dir_ / "transcript.jsonl") ? readFile(dir_ / "transcript.jsonl") : "";
  }

  // The recorder runs unwaited: give it time to write its lines.
  std::string recorded(std::size_t lines) {
    std::string text;
    for (int i = 0; i < 150; ++i) {
      text = fs::exists(root_ / "recorded.log") ? readFile(root_ / "recorded.log") : "";
      if (occurrences(text, "\n") >= lines) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return text;
  }

  // [Transcript]: parts found in this order; [NotInTranscript]: parts never shown.
  void checkTranscript(const std::string& phase) {
    std::string text = transcript();
    std::size_t at = 0;
    for (const std::string& part : values("Transcript" + phase)) {
      std::size_t found = text.find(part, at);
      EXPECT_NE(found, std::string::npos) << "not found in order: " << part << "\n" << text;
      if (found != std::string::npos) at = found + part.size();
    }
    for (const std::string& part : values("NotInTranscript" + phase)) {
      EXPECT_EQ(text.find(part), std::string::npos) << part << "\n" << text;
    }
  }

  void checkFiles(const std::string& phase) {
    for (const std::string& path : keys("Files" + phase)) {
      std::string expected = value("Files" + phase, path);
      fs::path host = hostPath(path);
      if (expected == "absent") {
        EXPECT_FALSE(fs::exists(host)) << path;
        continue;
      }
      ASSERT_TRUE(fs::exists(host)) << path;
      if (expected.rfind("same:", 0) == 0) {
        EXPECT_TRUE(readFile(host) == readFile(relative(pkg_, expected.substr(5)))) << path << " differs from " << expected;
      } else if (expected.rfind("file:", 0) == 0) {
        EXPECT_TRUE(readFile(host) == readFile(relative(folder_, expected.substr(5)))) << path << " differs from " << expected;
      } else if (expected.rfind("text:", 0) == 0) {
        EXPECT_EQ(readFile(host), expected.substr(5)) << path;
      } else if (expected.rfind("contains:", 0) == 0) {
        EXPECT_NE(readFile(host).find(expected.substr(9)), std::string::npos) << path << ": " << readFile(host);
      } else if (expected == "readonly") {
        EXPECT_EQ(fs::status(host).permissions() & fs::perms::owner_write, fs::perms::none) << path;
      } else if (expected != "exists") {
        ADD_FAILURE() << "case.ini: unknown file expectation " << expected;
      }
    }
  }

  // [Registry]/[NotInRegistry]: parts of the exported registry; [RegistryCount]: how often.
  void checkRegistryText(const std::string& phase) {
    if (keys("Registry" + phase).empty() && keys("NotInRegistry" + phase).empty() && keys("RegistryCount" + phase).empty()) return;
    std::string text = runProgram("vandrel-machine", {"reg", "export", root_.string()}).out;
    for (const std::string& part : values("Registry" + phase)) EXPECT_NE(text.find(part), std::string::npos) << part;
    for (const std::string& part : values("NotInRegistry" + phase)) EXPECT_EQ(text.find(part), std::string::npos) << part;
    for (const std::string& part : keys("RegistryCount" + phase)) {
      EXPECT_EQ(occurrences(text, part), std::stoul(value("RegistryCount" + phase, part))) << part;
    }
  }

  // [RegistryValues]: ROOT|SUBKEY|NAME = the string value, or <none>.
  void checkRegistryValues(const std::string& phase) {
    if (keys("RegistryValues" + phase).empty()) return;
    std::unique_ptr<platform::Machine> machine = platform::emulated::openMachine(root_, {});
    static const std::map<std::string, platform::HKey> roots = {
        {"HKEY_CLASSES_ROOT", platform::hkey::ClassesRoot}, {"HKEY_CURRENT_USER", platform::hkey::CurrentUser},
        {"HKEY_LOCAL_MACHINE", platform::hkey::LocalMachine}, {"HKEY_USERS", platform::hkey::Users}};
    for (const std::string& name : keys("RegistryValues" + phase)) {
      std::vector<std::string> f = split(name, '|');
      ASSERT_EQ(f.size(), 3u) << "case.ini: " << name;
      std::string got = "<none>";
      platform::HKey key = 0;
      if (machine->registry().openKey(roots.at(f[0]), f[1], key) == 0) {
        std::string text;
        if (machine->registry().queryString(key, f[2], text) == 0) got = text;
        machine->registry().closeKey(key);
      }
      EXPECT_EQ(got, value("RegistryValues" + phase, name)) << name;
    }
  }

  // [Ini]: FILE|SECTION|KEY = the value in that profile, or <none>.
  void checkIni(const std::string& phase) {
    for (const std::string& name : keys("Ini" + phase)) {
      std::vector<std::string> f = split(name, '|');
      ASSERT_EQ(f.size(), 3u) << "case.ini: " << name;
      RunResult got = runProgram("vandrel-machine", {"ini", "get", root_.string(), f[0], f[1], f[2], "<none>"});
      EXPECT_EQ(got.out, replaceAll(value("Ini" + phase, name), "%PKG%", pkgWindows_) + "\n") << name;
    }
  }

  // [Links]: link path = target|arguments|working folder|description, as lnkinfo reads them.
  void checkLinks(const std::string& phase) {
    const std::vector<std::string> labels = {"Local path", "Command line arguments", "Working directory", "Description"};
    for (const std::string& link : keys("Links" + phase)) {
      RunResult info = runProgram("/usr/bin/lnkinfo", {hostPath(link).string()});
      EXPECT_EQ(info.exitStatus, 0) << link << "\n" << info.err;
      std::vector<std::string> fields = split(value("Links" + phase, link), '|');
      for (std::size_t i = 0; i < labels.size() && i < fields.size(); ++i) {
        if (fields[i].empty()) continue;
        std::size_t at = info.out.find(labels[i]);
        ASSERT_NE(at, std::string::npos) << labels[i] << " missing for " << link << "\n" << info.out;
        std::string line = info.out.substr(at, info.out.find('\n', at) - at);
        EXPECT_EQ(line.substr(line.find(':') + 2), fields[i]) << link << "\n" << info.out;
      }
    }
  }

  // [Recorded]: parts of the lines the recorder wrote during the step.
  void checkRecorded(const std::string& phase, std::size_t logBefore) {
    std::vector<std::string> expected = values("Recorded" + phase);
    if (expected.empty()) return;
    std::string log = recorded(occurrences(recorded(0).substr(0, logBefore), "\n") + expected.size());
    for (const std::string& part : expected) {
      EXPECT_NE(log.find(part, logBefore), std::string::npos) << part << "\n" << log;
    }
  }

  // [AddedFiles]/[AddedRegistry]: exactly these files (Windows paths) / registry lines were
  // added since before the run, and nothing was taken away.
  void checkAdded(const std::string& section, const std::set<std::string>& before,
                  const std::set<std::string>& now) {
    if (!ini_.has(section)) return;
    std::vector<std::string> listed = values(section);
    std::set<std::string> expected(listed.begin(), listed.end()), added, gone;
    for (const std::string& item : now) {
      if (!before.count(item)) added.insert(item);
    }
    for (const std::string& item : before) {
      if (!now.count(item)) gone.insert(item);
    }
    EXPECT_EQ(added, expected) << section;
    EXPECT_EQ(gone, std::set<std::string>{}) << section << ": taken away";
  }

  // [Stderr]: parts of the step's standard error, in this order.
  void checkStderr(const std::string& phase) {
    std::size_t at = 0;
    for (const std::string& part : values("Stderr" + phase)) {
      std::size_t found = stepErr_.find(part, at);
      EXPECT_NE(found, std::string::npos) << "not found in order on standard error: " << part << "\n" << stepErr_;
      if (found != std::string::npos) at = found + part.size();
    }
  }

  void checkPhase(const std::string& phase, std::size_t logBefore = 0) {
    SCOPED_TRACE(phase.empty() ? "after the run" : phase);
    checkTranscript(phase);
    checkStderr(phase);
    checkFiles(phase);
    checkRegistryText(phase);
    checkRegistryValues(phase);
    checkIni(phase);
    checkLinks(phase);
    checkRecorded(phase, logBefore);
    if (!keys("RegistryLines" + phase).empty()) {
      std::set<std::string> lines = registryLines();
      for (const std::string& line : values("RegistryLines" + phase)) EXPECT_EQ(lines.count(line), 1u) << line;
    }
    checkAdded("AddedFiles" + phase, filesBefore_, listing());
    if (ini_.has("AddedRegistry" + phase)) checkAdded("AddedRegistry" + phase, registryBefore_, registryLines());
  }

  // Clears the transcript before a later step and returns the size of the recorder's log.
  std::size_t nextStep() {
    fs::remove(dir_ / "transcript.jsonl");
    return fs::exists(root_ / "recorded.log") ? readFile(root_ / "recorded.log").size() : 0;
  }

  // A step that ends with a non-zero exit status explains itself: at least one line on its
  // standard error that says more than that the installation was taken back. A help request
  // answers on standard output with the usage text. Every case with a failing step is held to
  // it, so a new case is covered without saying so.
  void expectExplained(const RunResult& result, const std::string& step) const {
    if (result.exitStatus == 0) return;
    if (result.exitStatus == 2 && result.out.rfind("Usage:", 0) == 0) return;
    std::istringstream lines(result.err);
    bool said = false;
    for (std::string line; std::getline(lines, line);) {
      bool blank = line.find_first_not_of(" \t\r") == std::string::npos;
      bool onlyTakenBack = line.find("the changes made by this installation were undone") != std::string::npos;
      if (!blank && !onlyTakenBack) said = true;
    }
    EXPECT_TRUE(said) << step << " ended with exit status " << result.exitStatus
                      << " and did not say why on standard error\n"
                      << result.err << result.out << transcript();
  }

  // The whole case: the run, then the removal and the restart when the case asks for them,
  // each followed by its checks.
  void runCase() {
    checkPhase(kBeforeRun);
    if (!setting("Generate").empty()) {
      ASSERT_NO_FATAL_FAILURE(generate());
    }
    if (!setting("Author").empty()) {
      ASSERT_NO_FATAL_FAILURE(author());
    }
    int runs = std::stoi(setting("Runs", "1"));
    RunResult result;
    for (int i = 0; i < runs; ++i) result = runOnce();
    EXPECT_EQ(result.exitStatus, std::stoi(setting("Exit", "0"))) << result.err << transcript();
    expectExplained(result, "the run");
    if (setting("Silent") == "1") {
      EXPECT_EQ(transcript(), "") << "the run shows nothing";
    }
    checkPhase(kAfterRun);
    if (!setting("Remove").empty()) {
      std::size_t log = nextStep();
      RunResult removed = run("vandrel-machine", {"uninstall", root_.string(), setting("Remove")});
      ASSERT_EQ(removed.exitStatus, std::stoi(setting("RemoveExit", "0"))) << removed.err << transcript();
      expectExplained(removed, "the removal");
      checkPhase(kAfterRemoval, log);
    }
    if (setting("Boot") == "1") {
      std::size_t log = nextStep();
      RunResult boot = run("vandrel-machine", {"boot", root_.string()});
      EXPECT_EQ(boot.exitStatus, std::stoi(setting("BootExit", "0"))) << boot.err;
      expectExplained(boot, "the restart");
      checkPhase(kAfterBoot, log);
    }
  }

  fs::path folder_, root_, pkg_;
  std::string pkgWindows_, windows_;
  std::set<std::string> filesBefore_, registryBefore_;
  std::string stepErr_;
  CaseFile ini_;
  TempDir dir_;
};

// Every folder below corpus with a case.ini, once for each of its [Case] Presets if it lists
// several.
inline std::vector<CaseName> caseNames(const fs::path& corpus) {
  std::vector<CaseName> names;
  for (const auto& entry : fs::recursive_directory_iterator(corpus)) {
    if (entry.path().filename() != "case.ini") continue;
    std::string folder = fs::relative(entry.path().parent_path(), corpus).generic_string();
    std::string presets = CaseFile::parse(readFile(entry.path())).value("Case", "Presets").value_or("");
    if (presets.empty()) names.push_back({folder, ""});
    for (const std::string& preset : split(presets, ',')) names.push_back({folder, preset});
  }
  std::sort(names.begin(), names.end(), [](const CaseName& a, const CaseName& b) {
    return std::tie(a.folder, a.preset) < std::tie(b.folder, b.preset);
  });
  return names;
}

// A case's test name: its folder path with "_" for "/" and "-", and its preset when it runs
// on several.
inline std::string caseTestName(const ::testing::TestParamInfo<CaseName>& info) {
  std::string name = info.param.folder + (info.param.preset.empty() ? "" : "_" + info.param.preset);
  for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

}  // namespace vandrel::test
