// vandrel-machine stopped while a program it started runs: a stopped removal takes its
// uninstaller with it, and a restart killed while its RunOnce clean-up runs starts that
// clean-up again at the next restart.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/plan/carry_folder.h"
#include "platform/stop_point.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"
#include "tools/machine/run_once.h"
#include "uninstall/removal_record.h"

extern char** environ;

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace vandrel {
namespace {

using test::readFile;
using test::RunResult;
using test::writeFile;

RunResult tool(const std::vector<std::string>& args) { return test::runProgram("vandrel-machine", args); }

// A file's contents; empty while it does not exist.
std::string contentsOf(const fs::path& path) {
  std::error_code ec;
  return fs::exists(path, ec) ? readFile(path) : std::string();
}

// vandrel-machine started in a process group of its own, as a shell starts a command: a
// Ctrl+C reaches that whole group.
pid_t startTool(const std::vector<std::string>& args) {
  std::vector<std::string> words{test::binPath("vandrel-machine").string()};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], nullptr, &attributes, argv.data(), environ) != 0) pid = -1;
  posix_spawnattr_destroy(&attributes);
  return pid;
}

// Whether a process runs (a zombie no longer does).
bool running(pid_t pid) {
  std::string stat;
  try {
    stat = contentsOf("/proc/" + std::to_string(pid) + "/stat");
  } catch (const std::exception&) {
    return false;  // it ended while it was read
  }
  if (stat.empty()) return false;
  std::size_t end = stat.rfind(')');
  return end != std::string::npos && end + 2 < stat.size() && stat[end + 2] != 'Z';
}

// The process, as this test sees it, of a program that named itself reportedId. A confined
// program has a process table of its own, where its id is another than here: the process is
// the one running program whose innermost id (the last of its NSpid line) is reportedId.
std::optional<pid_t> hostProcessOf(pid_t reportedId, const fs::path& program) {
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator("/proc", ec)) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    if (fs::read_symlink(entry.path() / "exe", ec) != program) continue;
    std::string status;
    try {
      status = contentsOf(entry.path() / "status");
    } catch (const std::exception&) {
      continue;  // it ended while it was read
    }
    std::size_t at = status.find("NSpid:");
    if (at == std::string::npos) continue;
    std::string line = status.substr(at, status.find('\n', at) - at);
    std::size_t last = line.find_last_of(" \t");
    if (last != std::string::npos && std::stol(line.substr(last + 1)) == reportedId) return pid_t(std::stol(name));
  }
  return std::nullopt;
}

// Waits until condition holds, for up to limit; whether it held.
template <typename Condition>
bool within(std::chrono::milliseconds limit, Condition condition) {
  const auto until = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

class InterruptedCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    RunResult r = tool({"init", root(), "--preset", "win98"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    fs::copy_file(MACHINE_PROBE, host("WINDOWS/probe.exe"));
    ::chmod(host("WINDOWS/probe.exe").c_str(), 0644);
  }
  void TearDown() override {
    if (probe_ > 0 && running(probe_)) ::kill(probe_, SIGKILL);
  }
  std::string root() const { return (temp_.path() / "m").string(); }
  fs::path host(const std::string& relative) const { return temp_.path() / "m" / "drive_c" / relative; }
  std::string log() const { return contentsOf(host("WINDOWS/probe.log")); }
  void import(const std::string& text) {
    writeFile(temp_.path() / "values.reg", text);
    RunResult imported = tool({"reg", "import", root(), (temp_.path() / "values.reg").string()});
    ASSERT_EQ(imported.exitStatus, 0) << imported.err;
  }

  // Starts vandrel-machine, waits until the probe it started has written its process id
  // (the count-th start of the probe in the log) and is found among the running processes,
  // then stops it with signal: sent to
  // vandrel-machine alone, or with toGroup to its process group as Ctrl+C does. Gives the probe's
  // process id.
  std::optional<pid_t> stopWhileProbeRuns(const std::vector<std::string>& args, int signal, bool toGroup,
                                          int count = 1) {
    pid_t started = startTool(args);
    if (started <= 0) return std::nullopt;
    auto pidLine = [&]() -> std::optional<pid_t> {
      std::string text = log();
      std::size_t at = std::string::npos;
      for (int n = 0; n < count; ++n) {
        at = text.find("pid=", at == std::string::npos ? 0 : at + 1);
        if (at == std::string::npos) return std::nullopt;
      }
      std::size_t end = text.find('\n', at);
      if (end == std::string::npos) return std::nullopt;
      return pid_t(std::stol(text.substr(at + 4, end - at - 4)));
    };
    std::optional<pid_t> probe;
    within(10000ms, [&] {
      if (std::optional<pid_t> id = pidLine()) probe = hostProcessOf(*id, host("WINDOWS/probe.exe"));
      return probe.has_value();
    });
    ::kill(toGroup ? -started : started, signal);
    int status = 0;
    ::waitpid(started, &status, 0);
    if (!probe) return std::nullopt;
    probe_ = *probe;
    return probe_;
  }

  test::TempDir temp_;
  pid_t probe_ = -1;
};

// kill -9, SIGTERM and Ctrl+C of `vandrel-machine uninstall` end the uninstaller it started.
TEST_F(InterruptedCommands, AStoppedUninstallStopsItsUninstaller) {
  import("REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Slow]\n"
         "\"DisplayName\"=\"Slow\"\n\"UninstallString\"=\"probe.exe remove sleep=8000\"\n");
  struct Stop {
    const char* what;
    int signal;
    bool toGroup;
  };
  for (const Stop& stop : {Stop{"kill -9", SIGKILL, false}, Stop{"SIGTERM", SIGTERM, false},
                           Stop{"Ctrl+C", SIGINT, true}}) {
    fs::remove(host("WINDOWS/probe.log"));
    std::optional<pid_t> probe = stopWhileProbeRuns({"uninstall", root(), "Slow"}, stop.signal, stop.toGroup);
    ASSERT_TRUE(probe) << stop.what << ": the uninstaller never ran: " << log();
    EXPECT_TRUE(within(3000ms, [&] { return !running(*probe); }))
        << stop.what << ": the uninstaller goes on after its command was stopped";
    if (running(*probe)) ::kill(*probe, SIGKILL);
    EXPECT_EQ(log().find("woke"), std::string::npos) << stop.what;
  }
}

const char* kCleanUp =
    "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce]\n"
    "\"Clean\"=\"C:\\\\WINDOWS\\\\probe.exe clean sleep=1500\"\n";

// A restart killed while its RunOnce clean-up runs: the next restart runs it again, to its end,
// and then it is gone.
TEST_F(InterruptedCommands, ARestartKilledDuringItsCleanUpRunsItAgain) {
  import(kCleanUp);
  ASSERT_TRUE(stopWhileProbeRuns({"boot", root()}, SIGKILL, false)) << log();
  EXPECT_TRUE(within(3000ms, [&] { return !running(probe_); })) << "the clean-up goes on after its restart was killed";

  RunResult again = tool({"boot", root()});
  EXPECT_EQ(again.exitStatus, 0) << again.err;
  const std::string text = log();
  EXPECT_NE(text.find("arg=clean sleep=1500"), text.rfind("arg=clean sleep=1500")) << "started again: " << text;
  EXPECT_NE(text.find("woke"), std::string::npos) << "and run to its end: " << text;
  RunResult exported = tool({"reg", "export", root()});
  EXPECT_EQ(exported.out.find("Clean"), std::string::npos) << exported.out;
  EXPECT_EQ(exported.out.find("Vandrel Restart"), std::string::npos) << exported.out;

  // Run once, it stays gone.
  RunResult third = tool({"boot", root()});
  EXPECT_EQ(third.exitStatus, 0) << third.err;
  EXPECT_EQ(log(), text);
}

// A clean-up cut off by two restarts in a row is not started a third time: a program that
// hangs does not hold up every restart.
TEST_F(InterruptedCommands, ACleanUpCutOffTwiceIsDropped) {
  import(kCleanUp);
  ASSERT_TRUE(stopWhileProbeRuns({"boot", root()}, SIGKILL, false, 1)) << log();
  ASSERT_TRUE(within(3000ms, [&] { return !running(probe_); }));
  ASSERT_TRUE(stopWhileProbeRuns({"boot", root()}, SIGKILL, false, 2)) << log();
  ASSERT_TRUE(within(3000ms, [&] { return !running(probe_); }));
  const std::string text = log();
  RunResult third = tool({"boot", root()});
  EXPECT_EQ(third.exitStatus, 0) << third.err;
  EXPECT_EQ(log(), text) << "not started a third time";
  EXPECT_NE(third.err.find("vandrel-machine: the RunOnce command \"C:\\WINDOWS\\probe.exe clean sleep=1500\" was cut off "
                           "twice by a stopped restart; it is not started again"),
            std::string::npos)
      << third.err;
  RunResult exported = tool({"reg", "export", root()});
  EXPECT_EQ(exported.out.find("Vandrel Restart"), std::string::npos) << exported.out;
}

// docs/interruptions.md names the keys and files where the programs keep what they are doing,
// and the variable that stops a program after a step.
TEST(InterruptionsPage, NamesWhereTheProgramsKeepTheirWork) {
  const std::string page = readFile(test::sourcePath() / "docs/interruptions.md");
  for (const std::string& named :
       {std::string("HKEY_LOCAL_MACHINE\\") + uninstall::kRemovalMarksKey,
        "[" + std::string(uninstall::kRemovalSection) + "] " + uninstall::kRemovalRunKey + "=",
        std::string("HKEY_LOCAL_MACHINE\\") + tools::kStartedRunOnceKey, std::string("vandrel-plan-XXXXXX.lock"),
        std::string("NAME.partial-XXXX.lock"), std::string("vandrel-plan-XXXXXX"),
        std::string(platform::kStopAfterVariable) + "=N"}) {
    EXPECT_NE(page.find(named), std::string::npos) << named;
  }
}

}  // namespace
}  // namespace vandrel
