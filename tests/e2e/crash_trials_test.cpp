// Crash trials, with the real programs: the setup (Setup.exe and the engine it starts) and
// the uninstaller are killed (SIGKILL, with every program they started) at moments drawn
// from a fixed seed while they install or remove a package of 300 files with win.ini and
// registry entries. After each kill both SQLite stores of the machine pass their integrity
// check, every INI file of the machine reads whole, and `vandrel-machine reg export` and
// `programs` work; then an install and a removal complete and leave the machine as a clean
// install and removal leave it.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <map>
#include <random>

#include "platform/ini/ini_document.h"
#include "platform/text/text_rules.h"
#include "tests/support/generated_package.h"
#include "tests/support/machine_state.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

namespace vandrel {
namespace {

using test::RunResult;
using test::runProgram;
using test::TempDir;

constexpr int kFiles = 300;
constexpr unsigned kSeed = 20261207;
// Trials run in parts of 25, each part its own test with its own seed, so that ctest runs
// them side by side and each stays well within its time limit.
constexpr int kTrialsPerPart = 25;

milliseconds since(Clock::time_point start) {
  return std::chrono::duration_cast<milliseconds>(Clock::now() - start);
}

// The result of PRAGMA integrity_check on an SQLite file: "ok" when sound.
std::string integrityOf(const fs::path& file) {
  sqlite3* db = nullptr;
  std::string verdict = "cannot open";
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
    sqlite3_stmt* check = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr) == SQLITE_OK) {
      verdict = sqlite3_step(check) == SQLITE_ROW ? reinterpret_cast<const char*>(sqlite3_column_text(check, 0))
                                                  : sqlite3_errmsg(db);
    }
    sqlite3_finalize(check);
  }
  sqlite3_close(db);
  return verdict;
}

// Every INI file of the machine's drive (.ini, and the scripts, .vrx) reads as a whole
// document: WIN.INI with the keys the machine was made with, every other one with its
// sections; each finding is one line.
std::string iniFindings(const fs::path& root) {
  std::string findings;
  for (const auto& entry : fs::recursive_directory_iterator(root / "drive_c")) {
    const std::string extension = text::toLower(entry.path().extension().string());
    if (!entry.is_regular_file() || (extension != ".ini" && extension != ".vrx")) continue;
    platform::IniDocument document = platform::IniDocument::parse(test::readFile(entry.path()));
    const std::string name = text::toLower(entry.path().filename().string());
    bool whole = !document.sectionNames().empty();
    if (name == "win.ini") whole = document.value("windows", "load") && document.value("windows", "run");
    if (name == "script.vrx") whole = document.value("Settings", "AppName").value_or("") == "Crash";
    if (!whole) findings += entry.path().string() + " is not whole\n";
  }
  if (platform::IniDocument::parse(test::readFile(root / "machine.ini")).sectionNames().empty())
    findings += "machine.ini is not whole\n";
  return findings;
}

// A machine's state without what changes by itself: the lock files, and the stores whose
// bytes differ with every write (the registry is compared through its export).
std::map<std::string, std::string> comparableState(const fs::path& root) {
  std::map<std::string, std::string> state = test::machineState(root);
  for (const char* housekeeping : {"machine.lock", "install.lock", "registry.db", "filemeta.db"}) state.erase(housekeeping);
  return state;
}

// The names that differ between two states, for the failure message.
std::string differences(const std::map<std::string, std::string>& want, const std::map<std::string, std::string>& got) {
  std::string names;
  for (const auto& [name, contents] : want) {
    auto found = got.find(name);
    if (found == got.end()) names += "  missing: " + name + "\n";
    else if (found->second != contents) names += "  changed: " + name + "\n";
  }
  for (const auto& [name, contents] : got)
    if (!want.count(name)) names += "  added: " + name + "\n";
  return names;
}

// The trial package, a machine with a clean install and removal behind it (the state every
// trial must come back to) and a copy of that machine to start again from after a failure.
class CrashTrials : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<test::PackageFile> files;
    for (int i = 0; i < kFiles; ++i)
      files.push_back({"file" + std::to_string(i) + ".dat", std::string(64 + i % 200, char('A' + i % 26))});
    pkg_ = test::generatePackage(dir_ / "crash", "crash", test::packageDocument("Crash", files, 20, 20, false), files);
    test::writeFile(dir_ / "answers.ini", test::kInstallAnswers);
    ASSERT_EQ(runProgram("vandrel-machine", {"init", root().string()}).exitStatus, 0);
    Clock::time_point start = Clock::now();
    RunResult installed = install(milliseconds(120000));
    installTime_ = since(start);
    ASSERT_EQ(installed.exitStatus, 0) << installed.err;
    start = Clock::now();
    RunResult removed = remove(milliseconds(120000));
    removeTime_ = since(start);
    ASSERT_EQ(removed.exitStatus, 0) << removed.err;
    baseline_ = comparableState(root());
    fs::copy(root(), dir_ / "pristine", fs::copy_options::recursive);
  }

  fs::path root() const { return dir_ / "m"; }

  std::map<std::string, std::string> environment() const {
    return test::unattendedEnvironment(root(), dir_ / "answers.ini");
  }
  RunResult install(milliseconds limit) { return test::runProgramFor((pkg_ / "Setup.exe").string(), {}, environment(), limit); }
  RunResult remove(milliseconds limit) {
    return test::runProgramFor("vandrel-machine", {"uninstall", root().string(), "Crash 1.0"}, environment(), limit);
  }

  // Everything that must hold after a kill, then a new install and removal; empty when all
  // did, else one line per fault.
  std::string afterKill() {
    std::string faults;
    for (const char* store : {"registry.db", "filemeta.db"}) {
      std::string verdict = integrityOf(root() / store);
      if (verdict != "ok") faults += std::string(store) + ": " + verdict + "\n";
    }
    faults += iniFindings(root());
    RunResult exported = runProgram("vandrel-machine", {"reg", "export", root().string()});
    if (exported.exitStatus != 0 || !exported.out.starts_with("REGEDIT4")) faults += "reg export: " + exported.err + "\n";
    RunResult programs = runProgram("vandrel-machine", {"programs", root().string()});
    if (programs.exitStatus != 0) faults += "programs: " + programs.err + "\n";
    RunResult installed = install(milliseconds(120000));
    if (installed.exitStatus != 0) faults += "the new install: exit " + std::to_string(installed.exitStatus) + " " + installed.err + "\n";
    RunResult removed = remove(milliseconds(120000));
    if (removed.exitStatus != 0) faults += "its removal: exit " + std::to_string(removed.exitStatus) + " " + removed.err + "\n";
    if (faults.empty()) {
      std::string changed = differences(baseline_, comparableState(root()));
      if (!changed.empty()) faults += "the machine is not as before:\n" + changed;
    }
    return faults;
  }

  // Counts a trial; a failed one is reported and the machine starts again from its copy.
  void judge(const std::string& what, const std::string& faults) {
    ++trials_;
    if (faults.empty()) return;
    ++failed_;
    ADD_FAILURE() << what << ":\n" << faults;
    fs::remove_all(root());
    fs::copy(dir_ / "pristine", root(), fs::copy_options::recursive);
  }

  void report(const char* kind, Clock::time_point start) {
    std::cout << kind << ": " << trials_ << " trials, " << failed_ << " failed, in " << since(start).count()
              << " ms (a clean install " << installTime_.count() << " ms, a removal " << removeTime_.count()
              << " ms)\n";
  }

  TempDir dir_;
  fs::path pkg_;
  milliseconds installTime_{0}, removeTime_{0};
  std::map<std::string, std::string> baseline_;
  int trials_ = 0, failed_ = 0;
};

// 200 install trials in eight parts.
class InstallKilled : public CrashTrials, public ::testing::WithParamInterface<int> {};

TEST_P(InstallKilled, EveryKillLeavesAMachineThatInstallsAndRemovesAgain) {
  const Clock::time_point start = Clock::now();
  std::mt19937 random(kSeed + unsigned(GetParam()));
  std::uniform_int_distribution<int> moment(0, int(installTime_.count()));
  for (int trial = 0; trial < kTrialsPerPart; ++trial) {
    const milliseconds at(moment(random));
    RunResult killed = install(at);
    judge("install trial " + std::to_string(trial) + " of part " + std::to_string(GetParam()) + ", killed after " +
              std::to_string(at.count()) + " ms (exit " + std::to_string(killed.exitStatus) + ")",
          afterKill());
  }
  report("install", start);
}

INSTANTIATE_TEST_SUITE_P(Parts, InstallKilled, ::testing::Range(0, 8));

// 50 removal trials in two parts.
class RemovalKilled : public CrashTrials, public ::testing::WithParamInterface<int> {};

TEST_P(RemovalKilled, EveryKillLeavesAMachineThatInstallsAndRemovesAgain) {
  const Clock::time_point start = Clock::now();
  std::mt19937 random(kSeed + 100 + unsigned(GetParam()));
  std::uniform_int_distribution<int> moment(0, int(removeTime_.count()));
  for (int trial = 0; trial < kTrialsPerPart; ++trial) {
    RunResult installed = install(milliseconds(120000));
    ASSERT_EQ(installed.exitStatus, 0) << installed.err;
    const milliseconds at(moment(random));
    RunResult killed = remove(at);
    judge("removal trial " + std::to_string(trial) + " of part " + std::to_string(GetParam()) + ", killed after " +
              std::to_string(at.count()) + " ms (exit " + std::to_string(killed.exitStatus) + ")",
          afterKill());
  }
  report("removal", start);
}

INSTANTIATE_TEST_SUITE_P(Parts, RemovalKilled, ::testing::Range(0, 2));

}  // namespace
}  // namespace vandrel
