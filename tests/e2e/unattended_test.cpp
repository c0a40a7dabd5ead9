// Unattended runs as an administrator meets them, with the real programs: a new machine is
// announced, a starter outside its package names what it lacks, the tools' help lists exit
// statuses and environment, a console install recorded on a pseudo-terminal replays
// unattended to the same transcript, and the action log names every file's decision.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <map>
#include <regex>
#include <set>
#include <thread>

#include "tests/support/machine_state.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace vandrel {
namespace {

using test::readFile;
using test::RunResult;
using test::runProgram;
using test::TempDir;
using test::machineState;

using test::windowsForm;

// The example package generated from a copy of examples/ in dir/example into dir/pkg, from
// the example's folder, which its relative source paths name.
void generateExample(const fs::path& dir, const std::map<std::string, std::string>& env) {
  RunResult generated = runProgram("/bin/sh", {"-c", "cd \"$1\" && \"$2\" generate tool.cvx --out \"$3\" --no-save",
                                               "sh", (dir / "example").string(), test::binPath("corvix").string(),
                                               (dir / "pkg").string()}, env);
  ASSERT_EQ(generated.exitStatus, 0) << generated.err;
}

TEST(unattended, AProgramThatMakesANewMachineSaysSo) {
  struct Case {
    const char* program;
    bool folderExists;  // an empty folder rather than none
  };
  for (const Case& c : {Case{"tamsin32", false}, Case{"peskin32", true}, Case{"Setup.exe", false}}) {
    TempDir dir;
    fs::path root = dir / "mistyped";
    if (c.folderExists) fs::create_directory(root);
    std::map<std::string, std::string> env{{"VANDREL_MACHINE", root.string()}, {"VANDREL_UI", "scripted"}};
    std::string name = std::string(c.program) == "Setup.exe" ? "Setup" : c.program;
    std::string notice = name + ": made a new machine (win98 preset) in " + root.string() +
                         ": VANDREL_MACHINE names a missing or empty folder\n";
    RunResult first = runProgram(c.program, {}, env);
    EXPECT_NE(first.err.find(notice), std::string::npos) << c.program << "\n" << first.err;
    EXPECT_TRUE(fs::exists(root / "machine.ini")) << c.program;
    RunResult second = runProgram(c.program, {}, env);
    EXPECT_EQ(second.err.find("made a new machine"), std::string::npos) << c.program << "\n" << second.err;
  }
}

TEST(unattended, SetupOutsideAPackageNamesTheMissingFile) {
  TempDir dir;
  fs::create_directory(dir / "nopkg");
  fs::copy_file(test::binPath("Setup.exe"), dir / "nopkg" / "Setup.exe");
  RunResult init = runProgram("vandrel-machine", {"init", (dir / "m").string()});
  ASSERT_EQ(init.exitStatus, 0) << init.err;
  RunResult run = runProgram((dir / "nopkg" / "Setup.exe").string(), {},
                             {{"VANDREL_MACHINE", (dir / "m").string()}, {"VANDREL_UI", "scripted"}});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.err, "Setup: no package here: " + windowsForm(dir / "nopkg") + "\\Tamsin32.ex_ is missing\n");
}

TEST(unattended, AnAnswersFileThatCannotBeReadStopsEachProgramWithOneLine) {
  TempDir dir;
  RunResult init = runProgram("vandrel-machine", {"init", (dir / "m").string()});
  ASSERT_EQ(init.exitStatus, 0) << init.err;
  fs::create_directory(dir / "folder");
  struct Case {
    std::string answers;
    std::string reason;
  };
  for (const Case& c : {Case{(dir / "folder").string(), "is a folder, not a file"},
                        Case{"/dev/zero", "is larger than 8 MiB"}}) {
    for (const char* program : {"tamsin32", "peskin32", "corvix"}) {
      std::vector<std::string> args;
      if (std::string(program) == "corvix") args = {"new", (dir / "new.cvx").string()};
      RunResult run = runProgram(program, args,
                                 {{"VANDREL_MACHINE", (dir / "m").string()}, {"VANDREL_UI", "scripted"},
                                  {"VANDREL_ANSWERS", c.answers}},
                                 30);
      EXPECT_EQ(run.exitStatus, 1) << program << " " << c.answers << "\n" << run.err;
      EXPECT_EQ(run.err, std::string(program) + ": the answers file " + c.answers + " " + c.reason + "\n")
          << program;
    }
  }
  EXPECT_FALSE(fs::exists(dir / "new.cvx"));
}

// A FIFO named for a run's records would hold every program for ever, and a record written
// over the answers file or over another record loses one of them: each program stops at
// once with one line, before the machine's installation lock file is even made, and the
// files are left as they were.
TEST(unattended, RecordsIntoAFifoOrOverAnotherFileStopEachProgramWithOneLine) {
  TempDir dir;
  RunResult init = runProgram("vandrel-machine", {"init", (dir / "m").string()});
  ASSERT_EQ(init.exitStatus, 0) << init.err;
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
  test::writeFile(dir / "a.ini", "[Answers]\nDefault=OK\n");
  test::writeFile(dir / "t.jsonl", "{\"kept\":1}\n");
  fs::create_symlink(dir / "a.ini", dir / "link.ini");
  const std::string fifo = (dir / "fifo").string(), answers = (dir / "a.ini").string();
  const std::string transcript = (dir / "t.jsonl").string();
  struct Case {
    std::map<std::string, std::string> env;
    std::string message;  // after "<program>: "
  };
  const Case cases[] = {
      {{{"VANDREL_TRANSCRIPT", fifo}}, "the transcript " + fifo + " is a FIFO, not a regular file"},
      {{{"VANDREL_LOG", fifo}}, "the action log " + fifo + " is a FIFO, not a regular file"},
      {{{"VANDREL_RECORD", fifo}}, "the recorded answers file " + fifo + " is a FIFO, not a regular file"},
      {{{"VANDREL_ANSWERS", fifo}}, "the answers file " + fifo + " is a FIFO, not a regular file"},
      {{{"VANDREL_TRANSCRIPT", "/dev/null"}}, "the transcript /dev/null is a device, not a regular file"},
      {{{"VANDREL_ANSWERS", answers}, {"VANDREL_RECORD", (dir / "link.ini").string()}},
       "the answers file and the recorded answers file are one file, " + (dir / "link.ini").string() +
           ": each needs a file of its own"},
      {{{"VANDREL_TRANSCRIPT", transcript}, {"VANDREL_RECORD", (dir / "x" / ".." / "t.jsonl").string()}},
       "the transcript and the recorded answers file are one file, " + (dir / "x" / ".." / "t.jsonl").string() +
           ": each needs a file of its own"},
      {{{"VANDREL_TRANSCRIPT", transcript}, {"VANDREL_LOG", transcript}},
       "the transcript and the action log are one file, " + transcript + ": each needs a file of its own"},
      {{{"VANDREL_ANSWERS", answers}, {"VANDREL_LOG", answers}},
       "the answers file and the action log are one file, " + answers + ": each needs a file of its own"},
  };
  for (const Case& c : cases) {
    for (const char* program : {"tamsin32", "peskin32"}) {
      std::map<std::string, std::string> env{{"VANDREL_MACHINE", (dir / "m").string()}, {"VANDREL_UI", "scripted"},
                                             {"VANDREL_ANSWERS", ""}, {"VANDREL_TRANSCRIPT", ""},
                                             {"VANDREL_LOG", ""}, {"VANDREL_RECORD", ""}};
      for (const auto& [name, value] : c.env) env[name] = value;
      RunResult run = runProgram(program, {}, env, 30);
      EXPECT_EQ(run.exitStatus, 1) << program << " " << c.message << "\n" << run.err;
      EXPECT_EQ(run.err, std::string(program) + ": " + c.message + "\n") << program;
    }
  }
  EXPECT_EQ(readFile(dir / "a.ini"), "[Answers]\nDefault=OK\n");
  EXPECT_EQ(readFile(dir / "t.jsonl"), "{\"kept\":1}\n");
  EXPECT_FALSE(fs::exists(dir / "m" / "install.lock"));
}

TEST(unattended, ASecondSetupOnOneMachineWaitsForTheFirstThenStops) {
  TempDir dir;
  RunResult init = runProgram("vandrel-machine", {"init", (dir / "m").string()});
  ASSERT_EQ(init.exitStatus, 0) << init.err;
  std::map<std::string, std::string> env{{"VANDREL_MACHINE", (dir / "m").string()}, {"VANDREL_UI", "scripted"}};
  // The test stands for a running installation: it holds the machine's installation lock.
  int held = ::open((dir / "m" / "install.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  const std::string busy =
      ": another installation is running on this machine; start this one again when it has finished\n";
  // The engine, the uninstaller and the package starter all wait for it, then stop.
  auto started = std::chrono::steady_clock::now();
  auto blockedRun = [&env](const char* program) {
    return std::async(std::launch::async, [&env, program] { return runProgram(program, {}, env, 120); });
  };
  auto engine = blockedRun("tamsin32"), removal = blockedRun("peskin32"), starter = blockedRun("Setup.exe");
  for (auto [program, run] : {std::pair{"tamsin32", &engine}, std::pair{"peskin32", &removal}, std::pair{"Setup", &starter}}) {
    RunResult blocked = run->get();
    EXPECT_EQ(blocked.exitStatus, 1) << program;
    EXPECT_EQ(blocked.err, program + busy);
  }
  EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::seconds(25));
  // Let go while the second one waits: it goes on to its own work.
  std::thread release([held] {
    std::this_thread::sleep_for(std::chrono::seconds(2));
    ::flock(held, LOCK_UN);
  });
  RunResult waited = runProgram("tamsin32", {}, env, 120);
  release.join();
  ::close(held);
  EXPECT_EQ(waited.err.find("another installation"), std::string::npos) << waited.err;
  // A plan changes nothing and never waits.
  ASSERT_EQ(::flock(held = ::open((dir / "m" / "install.lock").c_str(), O_RDWR | O_CLOEXEC), LOCK_EX), 0);
  env["VANDREL_PLAN"] = "1";
  RunResult planned = runProgram("tamsin32", {}, env, 120);
  EXPECT_EQ(planned.err.find("another installation"), std::string::npos) << planned.err;
  ::close(held);
}

TEST(unattended, HelpListsExitStatusesAndEnvironment) {
  for (const char* tool : {"corvix", "vandrel-machine"}) {
    RunResult help = runProgram(tool, {"--help"});
    EXPECT_EQ(help.exitStatus, 0) << tool;
    for (const char* part : {"Exit status:\n  0   the command did what it was asked",
                             "\n  1   the command failed", "\n  2   the command line was refused",
                             "VANDREL_MACHINE", "VANDREL_UI",
                             "VANDREL_ANSWERS", "VANDREL_TRANSCRIPT", "VANDREL_LOG", "VANDREL_PLAN", "VANDREL_RECORD",
                             "made absolute when a program starts"}) {
      EXPECT_NE(help.out.find(part), std::string::npos) << tool << ": " << part << "\n" << help.out;
    }
  }
  RunResult help = runProgram("vandrel-machine", {"--help"});
  EXPECT_NE(help.out.find("Exit status of tamsin32"), std::string::npos);
  EXPECT_NE(help.out.find("Exit status of peskin32"), std::string::npos);
}

// The programs that run a package list their exit statuses in words, each with what to do,
// and never by the numbers of the strings their dialogs show.
TEST(unattended, ProgramsHelpSaysTheExitStatusesInWords) {
  const std::map<std::string, std::vector<std::string>> parts{
      {"tamsin32", {"\n  0   the installation completed", "\n  10  the installation was cancelled",
                    "\n  15  the installation ended with errors", "To do: "}},
      {"Setup.exe", {"\n  1   the starter could not put the setup engine", "Passed on from the engine:",
                     "\n  11  the installation was terminated"}},
      {"peskin32", {"\n  0   the removal completed", "\n  3   the removal completed, but some",
                    "\n  4   the removal was stopped", "\n  5   the removal was declined", "To do: "}},
  };
  for (const auto& [program, expected] : parts) {
    RunResult help = runProgram(program, {"--help"});
    EXPECT_EQ(help.exitStatus, 2) << program;
    EXPECT_NE(help.out.find("Exit status:\n"), std::string::npos) << program << "\n" << help.out;
    for (const std::string& part : expected) {
      EXPECT_NE(help.out.find(part), std::string::npos) << program << ": " << part << "\n" << help.out;
    }
    EXPECT_EQ(help.out.find("after string"), std::string::npos) << program << "\n" << help.out;
  }
}

// A program run on a pseudo-terminal in folder cwd, answering each prompt as answer() says.
struct TerminalRun {
  int exitStatus = -1;
  std::string screen;
};

TerminalRun runOnTerminal(const std::vector<std::string>& arguments, const fs::path& cwd,
                          const std::map<std::string, std::string>& env,
                          const std::function<std::string(const std::string& screen)>& answer) {
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  int master = -1;
  pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
  if (pid < 0) throw std::runtime_error("forkpty failed");
  if (pid == 0) {
    if (chdir(cwd.c_str()) != 0) _exit(126);
    for (const auto& [name, value] : env) {
      if (value.empty()) unsetenv(name.c_str());
      else setenv(name.c_str(), value.c_str(), 1);
    }
    execv(argv[0], argv.data());
    _exit(127);
  }
  TerminalRun run;
  std::size_t answeredAt = 0;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd fd{master, POLLIN, 0};
    int ready = poll(&fd, 1, 200);
    if (ready > 0) {
      char buffer[4096];
      ssize_t got = read(master, buffer, sizeof buffer);
      if (got <= 0) break;  // the program and everything it started have closed the terminal
      run.screen.append(buffer, static_cast<std::size_t>(got));
      continue;
    }
    // Quiet: a prompt waiting at the end of the screen gets its answer.
    bool prompt = run.screen.size() > answeredAt + 2 && run.screen.compare(run.screen.size() - 2, 2, "> ") == 0;
    if (!prompt) continue;
    std::string typed = answer(run.screen) + "\n";
    if (write(master, typed.data(), typed.size()) != static_cast<ssize_t>(typed.size())) break;
    answeredAt = run.screen.size();
  }
  close(master);
  int status = 0;
  if (std::chrono::steady_clock::now() >= deadline) kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return run;
}

// The person at the terminal: fills every field of every page once (the registration in
// full, the first component ticked off, the other sharing option, another folder, the
// backup box flipped), says Yes to questions and presses Enter for everything else.
class Typist {
 public:
  std::string operator()(const std::string& screen) {
    std::string last = screen.substr(screen.rfind('\n') + 1);
    if (last.find("(Enter keeps it) > ") != std::string::npos) {
      if (last.find("User") != std::string::npos) return "Rec User";
      if (last.find("Organi") != std::string::npos || last.find("Company") != std::string::npos) return "Rec Co";
      if (last.find("Serial") != std::string::npos) return "R-42";
      return "C:\\Rec\\Tool";
    }
    if (last.find("Numbers of the lines") != std::string::npos) return "1";
    if (last.find("Number of the option") != std::string::npos) return "2";
    if (last.find("[Y]es") != std::string::npos) return "y";
    if (last != "> ") return "";
    // A page: the first field not yet filled in, else forward.
    std::size_t page = screen.rfind("\n=== ");
    std::regex fieldLine(R"(\n  (\d+)\) ([^\n]*))");
    std::string shown = screen.substr(page == std::string::npos ? 0 : page);
    for (std::sregex_iterator m(shown.begin(), shown.end(), fieldLine), end; m != end; ++m) {
      std::string label = std::regex_replace((*m)[2].str(), std::regex(R"(^\[.\] )"), "");
      if (filled_.insert(label).second) return (*m)[1].str();
    }
    return "";
  }

 private:
  std::set<std::string> filled_;
};

TEST(unattended, AConsoleInstallRecordedOnATerminalReplaysToTheSameTranscript) {
  TempDir dir;
  fs::copy(test::sourcePath() / "examples", dir / "example", fs::copy_options::recursive);
  std::map<std::string, std::string> scripted{{"VANDREL_MACHINE", (dir / "recorded").string()},
                                              {"VANDREL_UI", "scripted"}, {"VANDREL_ANSWERS", ""},
                                              {"VANDREL_TRANSCRIPT", ""}, {"VANDREL_RECORD", ""}};
  for (const char* machine : {"recorded", "replayed"}) {
    RunResult init = runProgram("vandrel-machine", {"init", (dir / machine).string()});
    ASSERT_EQ(init.exitStatus, 0) << init.err;
  }
  ASSERT_NO_FATAL_FAILURE(generateExample(dir.path(), scripted));
  std::string setup = windowsForm(dir / "pkg" / "Setup.exe");

  // Relative names: the engine runs in another folder and must still find them.
  Typist typist;
  TerminalRun recorded = runOnTerminal(
      {test::binPath("vandrel-machine").string(), "run", (dir / "recorded").string(), setup}, dir.path(),
      {{"VANDREL_MACHINE", (dir / "recorded").string()}, {"VANDREL_UI", "console"},
       {"VANDREL_RECORD", "answers.ini"}, {"VANDREL_TRANSCRIPT", "recorded.jsonl"}, {"VANDREL_ANSWERS", ""}},
      std::ref(typist));
  ASSERT_EQ(recorded.exitStatus, 0) << recorded.screen;
  ASSERT_TRUE(fs::exists(dir / "answers.ini")) << recorded.screen;
  std::string answers = readFile(dir / "answers.ini");
  for (const char* part : {"UserName=Rec User", "Company=Rec Co", "Serial=R-42", "Folder=C:\\Rec\\Tool"}) {
    EXPECT_NE(answers.find(part), std::string::npos) << part << "\n" << answers << recorded.screen;
  }

  scripted["VANDREL_MACHINE"] = (dir / "replayed").string();
  scripted["VANDREL_ANSWERS"] = (dir / "answers.ini").string();
  scripted["VANDREL_TRANSCRIPT"] = (dir / "replayed.jsonl").string();
  RunResult replayed = runProgram("vandrel-machine", {"run", (dir / "replayed").string(), setup}, scripted);
  EXPECT_EQ(replayed.exitStatus, 0) << replayed.err;
  // The host's free space shown on the destination page moves between the two runs.
  auto steady = [](const std::string& text) {
    return std::regex_replace(text, std::regex(R"(Disk space available: [0-9.]+ [KMG]?o)"), "Disk space available: *");
  };
  std::string transcript = steady(readFile(dir / "recorded.jsonl"));
  for (const char* part : {"Rec User", "\"Backup\":\"1\"", "\"Components\":\"\"", "\"Sharing\":\"1\""}) {
    EXPECT_NE(transcript.find(part), std::string::npos) << part << "\n" << transcript;
  }
  EXPECT_EQ(steady(readFile(dir / "replayed.jsonl")), transcript);
}


TEST(unattended, TheActionLogOfTheExamplePackageListsEveryFileWithItsDecision) {
  TempDir dir;
  fs::copy(test::sourcePath() / "examples", dir / "example", fs::copy_options::recursive);
  // No VANDREL_LOG: the log goes beside the transcript.
  std::map<std::string, std::string> env{{"VANDREL_MACHINE", (dir / "m").string()}, {"VANDREL_UI", "scripted"},
                                         {"VANDREL_ANSWERS", (dir / "example" / "answers.ini").string()},
                                         {"VANDREL_TRANSCRIPT", (dir / "run.jsonl").string()},
                                         {"VANDREL_LOG", ""}, {"VANDREL_RECORD", ""}};
  RunResult init = runProgram("vandrel-machine", {"init", (dir / "m").string()});
  ASSERT_EQ(init.exitStatus, 0) << init.err;
  ASSERT_NO_FATAL_FAILURE(generateExample(dir.path(), env));
  RunResult run = runProgram("vandrel-machine", {"run", (dir / "m").string(), windowsForm(dir / "pkg" / "Setup.exe")}, env);
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  ASSERT_TRUE(fs::exists(dir / "run.actions.jsonl"));
  std::string log = readFile(dir / "run.actions.jsonl");

  RunResult mapped = runProgram("vandrel-machine", {"path", (dir / "m").string(), "C:\\Program Files\\Tool"});
  fs::path installed = mapped.out.substr(0, mapped.out.find('\n'));
  std::vector<std::string> targets;  // JSON spelling
  for (const auto& entry : fs::recursive_directory_iterator(installed)) {
    if (!entry.is_regular_file()) continue;
    std::string target = "C:\\\\Program Files\\\\Tool";
    for (const auto& part : fs::relative(entry.path(), installed)) target += "\\\\" + part.string();
    targets.push_back(target);
    std::regex line("\\{[^\\n]*\"target\":\"" + std::regex_replace(target, std::regex(R"([\\.])"), R"(\$&)") +
                    "\",\"decision\":\"copied\",\"rule\":\"new file\"[^\\n]*\\}\\n", std::regex::icase);
    EXPECT_TRUE(std::regex_search(log, line)) << target << "\n" << log;
  }
  EXPECT_GE(targets.size(), 3u);
  std::string last = log.substr(log.rfind('\n', log.size() - 2) + 1);
  EXPECT_NE(last.find("\"action\":\"summary\""), std::string::npos) << last;
  EXPECT_NE(last.find("\"exit\":0,\"meaning\":\"the installation completed\""), std::string::npos) << last;
  // The example writes win.ini [Tool] InstallDir: there was none before.
  EXPECT_NE(log.find("\"action\":\"ini\",\"file\":\"WIN.INI\",\"section\":\"Tool\",\"key\":\"InstallDir\","
                     "\"old\":null,\"value\":\"C:\\\\Program Files\\\\Tool\",\"written\":\"yes\"}"),
            std::string::npos) << log;
  EXPECT_NE(log.find("\"action\":\"registry\",\"key\":\"HKEY_CURRENT_USER\\\\Software\\\\Orlwen\\\\Tool"),
            std::string::npos) << log;

  // Again over the installed files: the example's answers say Yes to every question.
  fs::remove(dir / "run.actions.jsonl");
  run = runProgram("vandrel-machine", {"run", (dir / "m").string(), windowsForm(dir / "pkg" / "Setup.exe")}, env);
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  log = readFile(dir / "run.actions.jsonl");
  EXPECT_EQ(log.find("\"decision\":\"copied\""), std::string::npos) << log;
  EXPECT_NE(log.find("\"decision\":\"replaced\""), std::string::npos) << log;
  EXPECT_NE(log.find("\"key\":\"InstallDir\",\"old\":\"C:\\\\Program Files\\\\Tool\""), std::string::npos) << log;

  // The removal logs each file it removes, then its summary.
  fs::remove(dir / "run.actions.jsonl");
  RunResult removed = runProgram("vandrel-machine", {"uninstall", (dir / "m").string(), "Tool 1.0"}, env);
  ASSERT_EQ(removed.exitStatus, 0) << removed.err;
  log = readFile(dir / "run.actions.jsonl");
  for (const std::string& target : targets) {
    std::string line = "{\"program\":\"uninstall\",\"action\":\"removed\",\"kind\":\"file\",\"target\":\"" +
                       target + "\"}\n";
    std::string lower = log, wanted = line;
    for (std::string* text : {&lower, &wanted}) {
      for (char& c : *text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    EXPECT_NE(lower.find(wanted), std::string::npos) << line << log;
  }
  last = log.substr(log.rfind('\n', log.size() - 2) + 1);
  EXPECT_NE(last.find("\"exit\":0,\"meaning\":\"the removal completed\""), std::string::npos) << last;
}

// The action lines of a plan's log as the real run would write them: the marker taken out.
std::string withoutPlanMarker(const std::string& log) {
  return std::regex_replace(std::regex_replace(log, std::regex(R"(,"plan":true)"), ""),
                            std::regex(R"( \(plan, nothing changed\))"), "");
}

void expectEveryLineMarked(const std::string& log) {
  std::size_t lines = 0, marked = 0;
  for (std::size_t at = 0; (at = log.find('\n', at)) != std::string::npos; ++at) ++lines;
  for (std::size_t at = 0; (at = log.find(",\"plan\":true,", at)) != std::string::npos; ++at) ++marked;
  EXPECT_GT(lines, 5u) << log;
  EXPECT_EQ(marked, lines) << log;
  EXPECT_NE(log.find("(plan, nothing changed)"), std::string::npos) << log;
}

TEST(unattended, APlanOfTheExampleChangesNothingAndNamesWhatTheRealRunDoes) {
  TempDir dir;
  fs::copy(test::sourcePath() / "examples", dir / "example", fs::copy_options::recursive);
  const fs::path root = dir / "m";
  std::map<std::string, std::string> env{{"VANDREL_MACHINE", root.string()}, {"VANDREL_UI", "scripted"},
                                         {"VANDREL_ANSWERS", (dir / "example" / "answers.ini").string()},
                                         {"VANDREL_TRANSCRIPT", ""}, {"VANDREL_RECORD", ""}, {"VANDREL_PLAN", ""}};
  ASSERT_EQ(runProgram("vandrel-machine", {"init", root.string()}).exitStatus, 0);
  ASSERT_NO_FATAL_FAILURE(generateExample(dir.path(), env));
  const std::string setup = windowsForm(dir / "pkg" / "Setup.exe");
  auto run = [&](const std::vector<std::string>& arguments, const char* log, bool plan) {
    std::map<std::string, std::string> with = env;
    with["VANDREL_LOG"] = (dir / log).string();
    with["VANDREL_PLAN"] = plan ? "1" : "";
    RunResult result = runProgram("vandrel-machine", arguments, with);
    EXPECT_EQ(result.exitStatus, 0) << log << "\n" << result.err;
    return readFile(dir / log);
  };

  // The install: the plan goes through the starter, the engine and every step of it.
  std::map<std::string, std::string> fresh = machineState(root);
  std::string planned = run({"run", root.string(), setup}, "plan-install.jsonl", true);
  EXPECT_EQ(machineState(root), fresh) << "a plan changes nothing";
  expectEveryLineMarked(planned);
  std::string done = run({"run", root.string(), setup}, "install.jsonl", false);
  EXPECT_NE(machineState(root), fresh);
  EXPECT_EQ(withoutPlanMarker(planned), done);
  // The real log names the group and each shortcut with its target and working folder.
  for (const char* part : {R"("action":"group","name":"Tool","folder":"C:\\WINDOWS\\Start Menu\\Programs\\Tool","created":"yes")",
                           R"("link":"C:\\WINDOWS\\Start Menu\\Programs\\Tool\\Tool.lnk","target":"C:\\Program Files\\Tool\\Bin\\tool.exe","arguments":"","working-folder":"C:\\Program Files\\Tool\\Bin")"}) {
    EXPECT_NE(done.find(part), std::string::npos) << part << "\n" << done;
  }

  // The removal, planned on the installed machine, then done.
  std::map<std::string, std::string> installed = machineState(root);
  planned = run({"uninstall", root.string(), "Tool 1.0"}, "plan-removal.jsonl", true);
  EXPECT_EQ(machineState(root), installed) << "a plan changes nothing";
  expectEveryLineMarked(planned);
  done = run({"uninstall", root.string(), "Tool 1.0"}, "removal.jsonl", false);
  EXPECT_EQ(withoutPlanMarker(planned), done);
  EXPECT_NE(done.find("\"action\":\"removed\",\"kind\":\"file\""), std::string::npos) << done;
  EXPECT_NE(machineState(root), installed);
}

TEST(unattended, APlanNeverMakesAMachineAndAnUnknownPlanValueIsRefused) {
  TempDir dir;
  fs::path missing = dir / "none";
  RunResult run = runProgram("tamsin32", {}, {{"VANDREL_MACHINE", missing.string()}, {"VANDREL_UI", "scripted"},
                                              {"VANDREL_PLAN", "1"}, {"VANDREL_LOG", ""}, {"VANDREL_TRANSCRIPT", ""}});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.err, "tamsin32: VANDREL_PLAN: there is no machine in " + missing.string() +
                         " to plan on (a plan makes none)\n");
  EXPECT_FALSE(fs::exists(missing));

  // A value that is not 1 or 0 might be meant as a plan: nothing runs.
  fs::path root = dir / "m";
  ASSERT_EQ(runProgram("vandrel-machine", {"init", root.string()}).exitStatus, 0);
  std::map<std::string, std::string> before = machineState(root);
  for (const char* program : {"tamsin32", "peskin32", "Setup.exe"}) {
    run = runProgram(program, {}, {{"VANDREL_MACHINE", root.string()}, {"VANDREL_UI", "scripted"},
                                   {"VANDREL_PLAN", "yes"}, {"VANDREL_LOG", ""}, {"VANDREL_TRANSCRIPT", ""}});
    EXPECT_EQ(run.exitStatus, 1) << program;
    EXPECT_NE(run.err.find("VANDREL_PLAN must be 1 (a plan: nothing is changed) or 0, not \"yes\""),
              std::string::npos) << program << ": " << run.err;
  }
  EXPECT_EQ(machineState(root), before);
}

}  // namespace
}  // namespace vandrel
