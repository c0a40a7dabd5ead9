// Crash trials, with the real programs: the setup (Setup.exe and the engine it starts) and
// the uninstaller are killed (SIGKILL, with every program they started) at moments drawn
// from a fixed seed while they install or remove a package of 300 files with win.ini and
// registry entries. After each kill both SQLite stores of the machine pass their integrity
// check, every INI file of the machine reads whole, and `vandrel-machine reg export` and
// `programs` work; then an install and a removal complete and leave the machine as a clean
// install and removal leave it.
// Besides: removals of a package whose shared files another installed package uses too,
// killed at random moments or stopped after each of their steps in turn (VANDREL_STOP_AFTER),
// and run again, which must leave that other installation's files and usage counts exact,
// also once the package is installed into its folder again and removed; and restarts (`vandrel-machine boot`) killed while they run the setup's clean-up,
// after which the next restart leaves the machine as one clean restart does.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <map>
#include <random>
#include <sstream>

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

// A removal stopped right after it deleted the installed script, before it took the folder:
// the next installation into that folder is the same installation's, so its removal takes
// the folder, as a clean removal does, although the package shares no file.
using RemovalStopped = CrashTrials;

TEST_F(RemovalStopped, AfterItsScriptTheFolderStillGoesWithTheNextInstallationsRemoval) {
  const fs::path log = dir_ / "steps.jsonl";
  ASSERT_EQ(install(milliseconds(120000)).exitStatus, 0);
  RunResult logged = test::runProgramFor("vandrel-machine", {"uninstall", root().string(), "Crash 1.0"},
                                         [&] {
                                           auto env = environment();
                                           env["VANDREL_LOG"] = log.string();
                                           return env;
                                         }(),
                                         milliseconds(120000));
  ASSERT_EQ(logged.exitStatus, 0) << logged.err;
  int step = 0, scriptStep = 0;
  std::istringstream lines(test::readFile(log));
  for (std::string line; std::getline(lines, line);) {
    if (line.find("\"action\":\"summary\"") != std::string::npos) continue;
    ++step;
    if (line.find("Script.vrx") != std::string::npos) scriptStep = step;
  }
  ASSERT_GT(scriptStep, 0) << "the removal deletes the installed script";

  ASSERT_EQ(install(milliseconds(120000)).exitStatus, 0);
  auto stopping = environment();
  stopping["VANDREL_STOP_AFTER"] = std::to_string(scriptStep);
  RunResult stopped = test::runProgramFor("vandrel-machine", {"uninstall", root().string(), "Crash 1.0"}, stopping,
                                          milliseconds(120000));
  EXPECT_NE(stopped.exitStatus, 0) << "the removal was not stopped";
  EXPECT_EQ(afterKill(), "");
}

constexpr int kSharedFiles = 12;

// The files of a package: own ones named after it, then the shared files both packages hold,
// each with the same contents in both.
std::vector<test::PackageFile> filesOf(const std::string& app, int own) {
  std::vector<test::PackageFile> files;
  for (int i = 0; i < own; ++i) files.push_back({app + std::to_string(i) + ".dat", std::string(100 + i, char('a' + i % 26))});
  for (int i = 0; i < kSharedFiles; ++i) files.push_back({"common" + std::to_string(i) + ".dll", std::string(300 + i, 'S')});
  return files;
}

// The block of a registry export that holds the shared files' usage counts.
std::string sharedCounts(const std::string& exported) {
  const std::string head = "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs]";
  std::size_t at = exported.find(head);
  if (at == std::string::npos) return "";
  return exported.substr(at, exported.find("\n\n", at) - at);
}

// Crash and Keeper (5 files of its own) share 12 files of the System folder. Keeper stays
// installed throughout; every trial installs Crash and stops its removal.
class SharedRemovals {
 protected:
  // Makes both packages (Crash with crashOwn files of its own), installs Keeper, then Crash,
  // and removes Crash once whole.
  void prepare(int crashOwn) {
    test::writeFile(dir_ / "answers.ini", test::kInstallAnswers);
    for (const auto& [app, own] : {std::pair<std::string, int>{"Crash", crashOwn}, {"Keeper", 5}}) {
      std::vector<test::PackageFile> files = filesOf(app, own);
      packages_[app] = test::generatePackage(dir_ / app, app, test::packageDocument(app, files, 5, 5, kSharedFiles), files);
    }
    ASSERT_EQ(runProgram("vandrel-machine", {"init", root().string()}).exitStatus, 0);
    ASSERT_EQ(install("Keeper").exitStatus, 0);
    keeperOnly_ = comparableState(root());
    ASSERT_NE(sharedCounts(keeperOnly_["<registry export>"]), "");
    ASSERT_EQ(install("Crash").exitStatus, 0);
    const Clock::time_point start = Clock::now();
    RunResult removed = remove(milliseconds(120000));
    removeTime_ = since(start);
    ASSERT_EQ(removed.exitStatus, 0) << removed.err;
    ASSERT_EQ(keeperFindings(), "") << "a clean removal leaves Keeper alone";
    // The state every trial must come back to (Crash's install leaves the setup's temporary
    // files and Win.ini's layout as they are after it).
    baseline_ = comparableState(root());
  }

  fs::path root() const { return dir_ / "m"; }
  RunResult install(const std::string& app) {
    return test::runProgramFor((packages_[app] / "Setup.exe").string(), {},
                               test::unattendedEnvironment(root(), dir_ / "answers.ini"), milliseconds(120000));
  }
  RunResult remove(milliseconds limit, const std::map<std::string, std::string>& more = {}) {
    std::map<std::string, std::string> env = test::unattendedEnvironment(root(), dir_ / "answers.ini");
    for (const auto& [name, value] : more) env[name] = value;
    return test::runProgramFor("vandrel-machine", {"uninstall", root().string(), "Crash 1.0"}, env, limit);
  }

  // After a stopped removal of Crash: the removal run again while Crash is still listed, then
  // Keeper's part checked, then Crash installed again and removed; one line per fault.
  std::string afterStoppedRemoval() {
    std::string faults;
    RunResult listed = runProgram("vandrel-machine", {"programs", root().string()});
    if (listed.out.find("Crash 1.0") != std::string::npos) {
      RunResult again = remove(milliseconds(120000));
      if (again.exitStatus != 0) faults += "the removal run again: exit " + std::to_string(again.exitStatus) + " " + again.err + "\n";
    }
    faults += keeperFindings();
    if (install("Crash").exitStatus != 0) faults += "the new install failed\n";
    RunResult last = remove(milliseconds(120000));
    if (last.exitStatus != 0) faults += "its removal: exit " + std::to_string(last.exitStatus) + " " + last.err + "\n";
    faults += differences(baseline_, comparableState(root()));
    return faults;
  }

  // Keeper's files, the shared files and their usage counts, each as with Keeper alone; one
  // line per fault.
  std::string keeperFindings() {
    std::map<std::string, std::string> now = comparableState(root());
    std::string faults;
    if (sharedCounts(now["<registry export>"]) != sharedCounts(keeperOnly_["<registry export>"]))
      faults += "the usage counts are\n" + sharedCounts(now["<registry export>"]) + "\n";
    for (const auto& [name, contents] : keeperOnly_) {
      const std::string lower = text::toLower(name);
      if (lower.find("keeper") == std::string::npos && lower.find("common") == std::string::npos) continue;
      auto found = now.find(name);
      if (found == now.end()) faults += "missing: " + name + "\n";
      else if (found->second != contents) faults += "changed: " + name + "\n";
    }
    return faults;
  }

  TempDir dir_;
  std::map<std::string, fs::path> packages_;
  std::map<std::string, std::string> keeperOnly_, baseline_;
  milliseconds removeTime_{0};
};

// Crash with 60 files of its own, its removal killed at random moments.
class SharedRemovalTrials : public SharedRemovals, public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override { prepare(60); }
};

// 30 trials in two parts: the removal killed, then run again while Crash is still listed;
// Keeper's part must be exact after that, and after one more install and removal of Crash the
// whole machine must be as after a clean install and removal of Crash.
TEST_P(SharedRemovalTrials, ARemovalKilledAndRunAgainLeavesTheOtherInstallationExact) {
  const Clock::time_point start = Clock::now();
  std::mt19937 random(kSeed + 200 + unsigned(GetParam()));
  std::uniform_int_distribution<int> moment(0, int(removeTime_.count()));
  int failed = 0;
  for (int trial = 0; trial < 15; ++trial) {
    ASSERT_EQ(install("Crash").exitStatus, 0);
    const milliseconds at(moment(random));
    RunResult killed = remove(at);
    std::string faults = afterStoppedRemoval();
    if (!faults.empty()) {
      ++failed;
      ADD_FAILURE() << "shared removal trial " << trial << " of part " << GetParam() << ", killed after " << at.count()
                    << " ms (exit " << killed.exitStatus << "):\n" << faults;
      break;  // the machine is no longer as the next trial needs it
    }
  }
  std::cout << "shared removal: 15 trials, " << failed << " failed, in " << since(start).count()
            << " ms (a removal " << removeTime_.count() << " ms)\n";
}

INSTANTIATE_TEST_SUITE_P(Parts, SharedRemovalTrials, ::testing::Range(0, 2));

// Crash with 3 files of its own, its removal stopped after each of its steps in turn: the odd
// steps in one part, the even ones in the other, so that ctest runs them side by side.
class SharedRemovalStops : public SharedRemovals, public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    prepare(3);
    if (!HasFatalFailure()) fs::copy(root(), dir_ / "prepared", fs::copy_options::recursive);
  }

  // The steps of a whole removal of Crash: the lines of its action log but the summary.
  int removalSteps() {
    const fs::path log = dir_ / "steps.jsonl";
    EXPECT_EQ(install("Crash").exitStatus, 0);
    RunResult removed = remove(milliseconds(120000), {{"VANDREL_LOG", log.string()}});
    EXPECT_EQ(removed.exitStatus, 0) << removed.err;
    int steps = 0;
    std::istringstream lines(test::readFile(log));
    for (std::string line; std::getline(lines, line);)
      if (line.find("\"action\":\"summary\"") == std::string::npos) ++steps;
    return steps;
  }
};

// Every step boundary of the removal: stopped there as by a kill, then run again while Crash is
// still listed, Keeper's files and counts must be exact; Crash installed again into the same
// folder and removed must leave the machine as a clean install and removal of it does.
TEST_P(SharedRemovalStops, ARemovalStoppedAfterAnyStepLeavesTheOtherInstallationExact) {
  const int steps = removalSteps();
  ASSERT_GT(steps, kSharedFiles) << "every shared file's count is one step at least";
  int failed = 0;
  for (int step = 1 + GetParam(); step <= steps; step += 2) {
    ASSERT_EQ(install("Crash").exitStatus, 0);
    RunResult stopped = remove(milliseconds(120000), {{"VANDREL_STOP_AFTER", std::to_string(step)}});
    std::string faults = stopped.exitStatus == 0 ? "the removal was not stopped\n" : "";
    faults += afterStoppedRemoval();
    if (faults.empty()) continue;
    ++failed;
    ADD_FAILURE() << "the removal stopped after step " << step << " of " << steps << " (exit " << stopped.exitStatus
                  << "):\n" << faults;
    fs::remove_all(root());
    fs::copy(dir_ / "prepared", root(), fs::copy_options::recursive);
  }
  std::cout << "shared removal stops, part " << GetParam() << ": every other of " << steps << " steps, " << failed
            << " failed\n";
}

INSTANTIATE_TEST_SUITE_P(Parts, SharedRemovalStops, ::testing::Range(0, 2));

// A machine just after Crash was installed, with the setup's clean-up waiting for the restart,
// and the machine as one clean restart leaves it.
class BootTrials : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<test::PackageFile> files = filesOf("Crash", 20);
    fs::path pkg = test::generatePackage(dir_ / "crash", "Crash", test::packageDocument("Crash", files, 5, 5, 2), files);
    test::writeFile(dir_ / "answers.ini", test::kInstallAnswers);
    ASSERT_EQ(runProgram("vandrel-machine", {"init", root().string()}).exitStatus, 0);
    RunResult installed = test::runProgramFor((pkg / "Setup.exe").string(), {},
                                              test::unattendedEnvironment(root(), dir_ / "answers.ini"), milliseconds(120000));
    ASSERT_EQ(installed.exitStatus, 0) << installed.err;
    fs::copy(root(), dir_ / "installed", fs::copy_options::recursive);
    const Clock::time_point start = Clock::now();
    RunResult booted = boot(milliseconds(120000));
    bootTime_ = since(start);
    ASSERT_EQ(booted.exitStatus, 0) << booted.err;
    booted_ = comparableState(root());
    ASSERT_NE(booted_, comparableState(dir_ / "installed")) << "the restart had a clean-up to run";
  }
  fs::path root() const { return dir_ / "m"; }
  RunResult boot(milliseconds limit) {
    return test::runProgramFor("vandrel-machine", {"boot", root().string()},
                               test::unattendedEnvironment(root(), dir_ / "answers.ini"), limit);
  }
  TempDir dir_;
  milliseconds bootTime_{0};
  std::map<std::string, std::string> booted_;
};

// 25 restarts killed at random moments, each followed by one run to its end.
TEST_F(BootTrials, ARestartKilledAndRunAgainCleansUpAsOneCleanRestart) {
  const Clock::time_point start = Clock::now();
  std::mt19937 random(kSeed + 300);
  std::uniform_int_distribution<int> moment(0, int(bootTime_.count()));
  int failed = 0;
  for (int trial = 0; trial < 25; ++trial) {
    fs::remove_all(root());
    fs::copy(dir_ / "installed", root(), fs::copy_options::recursive);
    const milliseconds at(moment(random));
    RunResult killed = boot(at);
    RunResult again = boot(milliseconds(120000));
    std::string faults = again.exitStatus == 0 ? "" : "the next restart: exit " + std::to_string(again.exitStatus) + " " + again.err + "\n";
    faults += differences(booted_, comparableState(root()));
    if (!faults.empty()) {
      ++failed;
      ADD_FAILURE() << "restart trial " << trial << ", killed after " << at.count() << " ms (exit " << killed.exitStatus
                    << "):\n" << faults;
    }
  }
  std::cout << "restart: 25 trials, " << failed << " failed, in " << since(start).count() << " ms (a restart "
            << bootTime_.count() << " ms)\n";
}

}  // namespace
}  // namespace vandrel
