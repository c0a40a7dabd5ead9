// The example package installed and removed through the windows (offscreen platform), driven
// by its answers file: the transcripts are those of the scripted runs, and every window of
// the run is saved as a picture.
#include <gtest/gtest.h>

#include <sys/file.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <map>
#include <regex>
#include <set>

#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace vandrel {
namespace {

using test::readFile;
using test::RunResult;
using test::runProgram;
using test::TempDir;

using test::windowsForm;

// The host's free space shown on the destination page moves between two runs.
std::string steady(const std::string& transcript) {
  return std::regex_replace(transcript, std::regex(R"(Disk space available: [0-9.]+ [KMG]?o)"),
                            "Disk space available: *");
}

// The host folder of a machine's drive C:.
fs::path driveC(const fs::path& machine) { return machine / "drive_c"; }

struct Transcripts {
  std::string install, removal;  // the transcripts
};

class GuiRun : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy(test::sourcePath() / "examples", dir_ / "example", fs::copy_options::recursive);
    RunResult generated = runProgram(
        "/bin/sh", {"-c", "cd \"$1\" && \"$2\" generate tool.cvx --out \"$3\" --no-save", "sh",
                    (dir_ / "example").string(), test::binPath("corvix").string(), (dir_ / "pkg").string()},
        {{"VANDREL_UI", "scripted"}, {"VANDREL_MACHINE", (dir_ / "unused").string()}});
    ASSERT_EQ(generated.exitStatus, 0) << generated.err;
  }

  // Installs and removes the example on a new machine with the given interface.
  // With answers other than the example's when given; the setup's standard error is kept, and
  // installedCheck (when given) looks at the machine's root between the installation and the removal.
  Transcripts installAndRemove(const std::string& name, const std::map<std::string, std::string>& extra,
                               const fs::path& answers = {}, std::string* installErr = nullptr,
                               const std::function<void(const fs::path&)>& installedCheck = {}) {
    fs::path root = dir_ / name;
    EXPECT_EQ(runProgram("vandrel-machine", {"init", root.string()}).exitStatus, 0);
    fs::path answersFile = answers.empty() ? dir_ / "example" / "answers.ini" : answers;
    std::map<std::string, std::string> env{{"VANDREL_MACHINE", root.string()},
                                           {"VANDREL_ANSWERS", answersFile.string()},
                                           {"VANDREL_RECORD", ""}, {"VANDREL_LOG", ""}, {"VANDREL_SCREENSHOTS", ""},
                                           {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}};
    for (const auto& [key, value] : extra) env[key] = value;
    Transcripts run;
    env["VANDREL_TRANSCRIPT"] = (dir_ / (name + "-install.jsonl")).string();
    RunResult installed = runProgram("vandrel-machine", {"run", root.string(), windowsForm(dir_ / "pkg" / "Setup.exe")}, env);
    EXPECT_EQ(installed.exitStatus, 0) << name << "\n" << installed.err;
    if (installErr) *installErr = installed.err;
    if (installedCheck) installedCheck(root);
    run.install = readFile(dir_ / (name + "-install.jsonl"));
    env["VANDREL_TRANSCRIPT"] = (dir_ / (name + "-removal.jsonl")).string();
    RunResult removed = runProgram("vandrel-machine", {"uninstall", root.string(), "Tool 1.0"}, env);
    EXPECT_EQ(removed.exitStatus, 0) << name << "\n" << removed.err;
    run.removal = readFile(dir_ / (name + "-removal.jsonl"));
    return run;
  }

  TempDir dir_;
};

TEST_F(GuiRun, TheWindowsDrivenByAnswersGiveTheScriptedTranscriptsAndASavedPictureOfEachWindow) {
  Transcripts scripted = installAndRemove("scripted", {{"VANDREL_UI", "scripted"}});
  fs::path shots = dir_ / "shots";
  Transcripts gui = installAndRemove("gui", {{"VANDREL_UI", "gui"}, {"QT_QPA_PLATFORM", "offscreen"},
                                     {"VANDREL_SCREENSHOTS", shots.string()}});
  ASSERT_NE(scripted.install.find("\"page\":\"destination\""), std::string::npos) << scripted.install;
  EXPECT_EQ(steady(gui.install), steady(scripted.install));
  EXPECT_EQ(gui.removal, scripted.removal);

  // One picture per window, numbered in the order shown across both programs.
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(shots)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  std::vector<std::string> windows;
  for (std::size_t i = 0; i < names.size(); ++i) {
    char number[32];
    std::snprintf(number, sizeof number, "%03zu-", i + 1);
    EXPECT_EQ(names[i].rfind(number, 0), 0u) << names[i];
    windows.push_back(names[i].substr(4));
  }
  for (const char* window : {"setup-install-window.png", "setup-page-first.png", "setup-page-notice.png",
                             "setup-page-licence.png", "setup-page-registration.png",
                             "setup-page-destination.png", "setup-copy-progress.png", "setup-closing.png",
                             "uninstall-question.png", "uninstall-progress.png", "uninstall-progress-done.png"}) {
    EXPECT_NE(std::find(windows.begin(), windows.end(), window), windows.end()) << window;
  }
  EXPECT_EQ(windows.front(), "setup-install-window.png");
  EXPECT_EQ(windows.back(), "uninstall-progress-done.png");
}

// The example's answers with the destination chosen in the folder picker (Change pressed on
// the destination page) instead of typed on the page.
fs::path pickerAnswers(const fs::path& folder, const std::string& name, const std::string& destination) {
  fs::path file = folder / name;
  std::ofstream(file, std::ios::binary) << "[Wizard]\nUserName=Example User\nCompany=Example Company\n"
                                           "Serial=EX-0001\nComponents=all\nSharing=0\nBackup=0\n"
                                           "[Folders]\nDestination=" << destination << "\n[Answers]\nDefault=Yes\n";
  return file;
}

TEST_F(GuiRun, TheDestinationTypedInTheMachinesFolderPickerIsInstalledIntoAndTheFolderAboveItStays) {
  fs::path answers = pickerAnswers(dir_.path(), "picked.ini", "C:\\Program Files\\Tool");
  Transcripts scripted = installAndRemove("picked-scripted", {{"VANDREL_UI", "scripted"}}, answers);
  Transcripts gui = installAndRemove("picked-gui", {{"VANDREL_UI", "gui"}, {"QT_QPA_PLATFORM", "offscreen"}}, answers,
                                     nullptr, [](const fs::path& root) {
    EXPECT_TRUE(fs::exists(driveC(root) / "Program Files" / "Tool" / "Bin" / "tool.exe"));
    EXPECT_TRUE(fs::exists(driveC(root) / "Program Files" / "Tool" / "Script.vrx"));
  });
  EXPECT_NE(gui.install.find("\"answer\":\"C:\\\\Program Files\\\\Tool\\\\Junk\""), std::string::npos) << gui.install;
  EXPECT_EQ(steady(gui.install), steady(scripted.install));
  EXPECT_EQ(gui.removal, scripted.removal);
  // Removed again, the installation leaves the folder above it that was there before.
  EXPECT_FALSE(fs::exists(driveC(dir_ / "picked-gui") / "Program Files" / "Tool"));
  EXPECT_TRUE(fs::is_directory(driveC(dir_ / "picked-gui") / "Program Files"));
}

TEST_F(GuiRun, AnInstallationStraightIntoAFolderThatWasThereLeavesThatFolderWhenRemoved) {
  fs::path answers = pickerAnswers(dir_.path(), "straight.ini", "C:\\Program Files");
  fs::path root = dir_ / "straight";
  ASSERT_EQ(runProgram("vandrel-machine", {"init", root.string()}).exitStatus, 0);
  std::map<std::string, std::string> env{{"VANDREL_MACHINE", root.string()}, {"VANDREL_ANSWERS", answers.string()},
                                         {"VANDREL_UI", "gui"}, {"QT_QPA_PLATFORM", "offscreen"},
                                         {"VANDREL_RECORD", ""}, {"VANDREL_LOG", ""}, {"VANDREL_SCREENSHOTS", ""}};
  RunResult installed = runProgram("vandrel-machine", {"run", root.string(), windowsForm(dir_ / "pkg" / "Setup.exe")}, env);
  ASSERT_EQ(installed.exitStatus, 0) << installed.err;
  EXPECT_TRUE(fs::exists(driveC(root) / "Program Files" / "Script.vrx"));
  RunResult removed = runProgram("vandrel-machine", {"uninstall", root.string(), "Tool 1.0"}, env);
  EXPECT_EQ(removed.exitStatus, 0) << removed.err;
  EXPECT_FALSE(fs::exists(driveC(root) / "Program Files" / "Script.vrx"));
  EXPECT_TRUE(fs::is_directory(driveC(root) / "Program Files"));
}

TEST_F(GuiRun, AFolderOnTheReadOnlyHostDriveIsRefusedByThePickerWithItsReason) {
  fs::path answers = pickerAnswers(dir_.path(), "host.ini", windowsForm(dir_.path()));
  std::string err;
  installAndRemove("host", {{"VANDREL_UI", "gui"}, {"QT_QPA_PLATFORM", "offscreen"}}, answers, &err);
  EXPECT_NE(err.find("Drive Z: is read-only: nothing can be written there. Please choose a folder on another drive."),
            std::string::npos) << err;
  // The page kept its own folder, and the installation there completed (status 0, checked above).
}

TEST_F(GuiRun, AskedForWithoutADisplayTheWindowsGiveWayToTheConsole) {
  TempDir root;
  ASSERT_EQ(runProgram("vandrel-machine", {"init", (root / "m").string()}).exitStatus, 0);
  std::map<std::string, std::string> env{{"VANDREL_MACHINE", (root / "m").string()}, {"VANDREL_UI", "gui"},
                                         {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""},
                                         {"VANDREL_ANSWERS", ""}, {"VANDREL_TRANSCRIPT", ""}};
  // The uninstaller without an installation folder: its stop message, on the console.
  RunResult run = runProgram("peskin32", {}, env);
  EXPECT_NE(run.err.find("peskin32: no display (DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM); using the console."),
            std::string::npos) << run.err;
  EXPECT_NE(run.exitStatus, 0);
}

// What stops the setup before its windows: a run with windows shows it in a message box (the
// transcript records it, a picture is saved), standard error keeps its line; a scripted run
// shows none.
class GuiStop : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(dir_ / "nopkg");
    fs::copy_file(test::binPath("Setup.exe"), dir_ / "nopkg" / "Setup.exe");
    ASSERT_EQ(runProgram("vandrel-machine", {"init", (dir_ / "m").string()}).exitStatus, 0);
    test::writeFile(dir_ / "answers.ini", "[Answers]\nDefault=Yes\n");
  }
  std::map<std::string, std::string> env(const std::string& run, const std::string& ui) {
    return {{"VANDREL_MACHINE", (dir_ / "m").string()}, {"VANDREL_UI", ui},
            {"VANDREL_ANSWERS", (dir_ / "answers.ini").string()},
            {"VANDREL_TRANSCRIPT", (dir_ / (run + ".jsonl")).string()},
            {"VANDREL_SCREENSHOTS", (dir_ / (run + "-shots")).string()}, {"VANDREL_LOG", ""},
            {"VANDREL_RECORD", ""}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""},
            {"QT_QPA_PLATFORM", ui == "gui" ? "offscreen" : ""}};
  }
  std::string transcript(const std::string& run) {
    return fs::exists(dir_ / (run + ".jsonl")) ? readFile(dir_ / (run + ".jsonl")) : "";
  }
  std::vector<std::string> pictures(const std::string& run) {
    std::vector<std::string> names;
    if (!fs::exists(dir_ / (run + "-shots"))) return names;
    for (const auto& entry : fs::directory_iterator(dir_ / (run + "-shots"))) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }
  // The message line's start: the setup's title and its own text.
  static std::string messageLine(const std::string& text) {
    return "{\"program\":\"setup\",\"kind\":\"message\",\"caption\":\"Vandrel Setup v3.0\",\"text\":\"" + text +
           "\",\"buttons\":\"OK\",\"icon\":\"stop\",\"answer\":\"OK\",\"detail\":\"";
  }
  TempDir dir_;
};

TEST_F(GuiStop, AStarterOutsideItsPackageSaysSoInAMessageBox) {
  const std::string line = "Setup: no package here: " + windowsForm(dir_ / "nopkg") + "\\Tamsin32.ex_ is missing\n";
  RunResult gui = runProgram((dir_ / "nopkg" / "Setup.exe").string(), {}, env("gui", "gui"), 60);
  EXPECT_EQ(gui.exitStatus, 1);
  // The line first; the answers that press OK then name the box, as in any run they drive.
  EXPECT_EQ(gui.err.rfind(line, 0), 0u) << gui.err;
  std::string detail = "no package here: " + windowsForm(dir_ / "nopkg") + "\\Tamsin32.ex_ is missing";
  detail = std::regex_replace(detail, std::regex(R"(\\)"), R"(\\)");
  EXPECT_EQ(transcript("gui"),
            messageLine("Vandrel can not find the Install script file and will now exit... Please run setup again "
                        "using the setup.exe program provided with your package.") +
                detail + "\"}\n");
  EXPECT_EQ(pictures("gui"), std::vector<std::string>{"001-setup-message.png"});

  RunResult scripted = runProgram((dir_ / "nopkg" / "Setup.exe").string(), {}, env("scripted", "scripted"), 60);
  EXPECT_EQ(scripted.exitStatus, 1);
  EXPECT_EQ(scripted.err, line);
  EXPECT_EQ(transcript("scripted"), "");
  EXPECT_TRUE(pictures("scripted").empty());
}

TEST_F(GuiStop, AnotherInstallationRunningIsShownAfterTheWaitByTheStarterTheEngineAndTheUninstaller) {
  // The test stands for a running installation: it holds the machine's installation lock.
  int held = ::open((dir_ / "m" / "install.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  auto blocked = [this](std::string program, std::string run) {
    return std::async(std::launch::async, [this, program, run] { return runProgram(program, {}, env(run, "gui"), 120); });
  };
  auto starter = blocked((dir_ / "nopkg" / "Setup.exe").string(), "starter");
  auto engine = blocked("tamsin32", "engine");
  auto removal = blocked("peskin32", "removal");
  for (auto [run, name, result] : {std::tuple{"starter", "Setup", &starter}, std::tuple{"engine", "tamsin32", &engine}}) {
    RunResult stopped = result->get();
    EXPECT_EQ(stopped.exitStatus, 1) << run;
    EXPECT_EQ(stopped.err.rfind(std::string(name) +
                                    ": another installation is running on this machine; start this one again "
                                    "when it has finished\n",
                                0),
              0u)
        << stopped.err;
    EXPECT_EQ(transcript(run),
              messageLine("Another installation is running on this computer. Please run setup again when it has "
                          "finished.") +
                  "another installation is running on this machine; start this one again when it has finished\"}\n")
        << run;
    EXPECT_EQ(pictures(run), std::vector<std::string>{"001-setup-message.png"}) << run;
  }
  RunResult stopped = removal.get();
  EXPECT_EQ(stopped.exitStatus, 1);
  EXPECT_EQ(transcript("removal"),
            "{\"program\":\"uninstall\",\"kind\":\"message\",\"caption\":\"Dallow v3.0\",\"text\":\"Another "
            "installation or removal is running on this computer. Please run the removal again when it has "
            "finished.\",\"buttons\":\"OK\",\"icon\":\"stop\",\"answer\":\"OK\",\"detail\":\"another installation "
            "is running on this machine; start this one again when it has finished\"}\n");
  EXPECT_EQ(pictures("removal"), std::vector<std::string>{"001-uninstall-message.png"});
  ::close(held);
}

}  // namespace
}  // namespace vandrel
