// The installation driver end to end over an emulated machine, with the copy step replaced.
#include "setup/driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "setup/closing_dialog.h"
#include "setup/directory_pass.h"
#include "setup/end_actions.h"
#include "setup/strings/setup_strings.h"
#include "platform/plan/plan_machine.h"
#include "setup/testing/machine_fixture.h"
#include "tests/support/fake_interaction.h"
#include "tests/support/temp_dir.h"

namespace vandrel::setup {
namespace {

using platform::emulated::Preset;
using test::FakeInteraction;
using testing::MachineFixture;

const char* kScript = "C:\\WINDOWS\\Script.vrx";

class DriverTest : public ::testing::Test {
 protected:
  explicit DriverTest(Preset preset = Preset::Win98) : machine(preset) {
    machine.recordedProcess().timeline = &ui.events;
    steps.installFiles = [this](SetupApp&) {
      ui.events.push_back("install-files");
      return installStatus;
    };
  }
  void script(const std::string& text) { machine.put(kScript, text); }
  DriverOutcome run(const std::string& commandLine = "Z:\\pkg\\") {
    app = std::make_unique<SetupApp>(machine, ui, setupStrings(), log);
    return runInstallation(*app, commandLine, steps);
  }
  std::vector<std::string> runOnceValues() {
    std::vector<std::string> values;
    platform::HKey key = 0;
    if (machine.registry().openKey(platform::hkey::LocalMachine, kRunOnceKey, key) != 0) return values;
    std::string name;
    std::uint32_t type = 0;
    platform::Bytes data;
    for (std::uint32_t i = 0; machine.registry().enumValue(key, i, name, type, data) == 0; ++i) {
      values.push_back(name + "=" + std::string(data.begin(), data.end()).c_str());
    }
    machine.registry().closeKey(key);
    return values;
  }

  MachineFixture machine;
  FakeInteraction ui;
  DriverSteps steps;
  int installStatus = 0;
  std::unique_ptr<SetupApp> app;
  ui::ActionLog* log = nullptr;  // the action log of run(); none: not logged
};

// A script with no author directory; extra [Settings] lines may be added.
std::string minimal(const std::string& settings = "") {
  return "[Settings]\r\nAppName=Tool\r\nRegInfo=0\r\n" + settings +
         "[Directories]\r\nnbDir=4\r\n0=,0,0,\r\n1=,1,0,\r\n2=,2,0,\r\n3=,3,0,\r\n";
}
const std::string kMinimal = minimal();

TEST_F(DriverTest, MissingScriptStopsWithoutChangingTheMachine) {
  DriverOutcome outcome = run();
  EXPECT_EQ(exitStatusFor(outcome), 1);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            "Vandrel can not find the Install script file and will now exit... Please run setup "
            "again using the setup.exe program provided with your package.");
  EXPECT_EQ(ui.messages[0].icon, ui::Icon::Stop);
  EXPECT_TRUE(ui.closings.empty());
  // No clean-up is registered for an uninstaller that is not there.
  EXPECT_TRUE(runOnceValues().empty());
}

TEST_F(DriverTest, CleanUpValueIsWrittenOnceOverTwoStarts) {
  script(kMinimal);
  run();
  run();
  EXPECT_EQ(runOnceValues(),
            std::vector<std::string>{"Vandrel file Clean-up=C:\\WINDOWS\\Peskin32.EXE /DeleteTemp"});
}

TEST_F(DriverTest, ARunHoldingTheInstallationLockClearsWhatAKilledExpansionLeft) {
  script(kMinimal);
  // Another program's file of an expansion name, there before the killed run began copying.
  machine.put("C:\\WINDOWS\\KVB0555.TMP", "someone else's");
  // What the killed run left: its record, and the temporary files it made.
  machine.put("C:\\WINDOWS\\KVB.LST", "KVB0555.TMP\r\n");
  const std::vector<std::string> leftovers = {"C:\\WINDOWS\\KVB0123.TMP", "C:\\WINDOWS\\kvbabcd.tmp"};
  const std::vector<std::string> others = {"C:\\WINDOWS\\KVB0555.TMP", "C:\\WINDOWS\\KVB12.TMP",
                                           "C:\\WINDOWS\\KVBXYZW.TMP", "C:\\WINDOWS\\KVB0001.TXT",
                                           "C:\\WINDOWS\\AKVB0001.TMP", "C:\\WINDOWS\\Sub\\KVB0002.TMP",
                                           "C:\\KVB0003.TMP"};
  for (const std::string& path : leftovers) machine.put(path, "compressed");
  for (const std::string& path : others) machine.put(path, "someone else's");
  ASSERT_TRUE(machine.files().createDirectory("C:\\WINDOWS\\KVB0004.TMP"));

  // Without the lock another installation may be expanding into them.
  run();
  for (const std::string& path : leftovers) EXPECT_TRUE(machine.exists(path)) << path;
  EXPECT_TRUE(machine.exists("C:\\WINDOWS\\KVB.LST"));

  steps.holdsInstallationLock = true;
  EXPECT_EQ(exitStatusFor(run()), 0);
  for (const std::string& path : leftovers) EXPECT_FALSE(machine.exists(path)) << path;
  for (const std::string& path : others) EXPECT_EQ(machine.read(path), "someone else's") << path;
  EXPECT_TRUE(machine.exists("C:\\WINDOWS\\KVB0004.TMP"));
  EXPECT_FALSE(machine.exists("C:\\WINDOWS\\KVB.LST"));

  // Without a record no copy phase was cut short: an expansion name is another program's.
  machine.put("C:\\WINDOWS\\KVB0777.TMP", "someone else's");
  EXPECT_EQ(exitStatusFor(run()), 0);
  EXPECT_EQ(machine.read("C:\\WINDOWS\\KVB0777.TMP"), "someone else's");
}

TEST_F(DriverTest, SuccessfulRunOrderAndState) {
  script(kMinimal + "[Web]\r\nStartURL=http://tool.example/\r\n0=Docs,http://docs.example/\r\n"
         "[End]\r\n0=viewer.exe [0]\\read me.txt\r\n");
  platform::HKey key = 0;
  machine.registry().createKey(platform::hkey::ClassesRoot, "http\\shell\\open\\command", key);
  machine.registry().setString(key, "", "C:\\Web\\browse.exe %1");
  machine.registry().closeKey(key);
  ui.answers = {ui::Answer::No, ui::Answer::No};

  DriverOutcome outcome = run();
  EXPECT_EQ(exitStatusFor(outcome), 0);
  EXPECT_EQ(ui.events,
            (std::vector<std::string>{
                "page:first", "page:notice", "page:sharing", "page:destination", "install-files",
                "closing:4", "message:" + setupStrings().get(312), "message:" + setupStrings().get(313),
                "exec:viewer.exe \"C:\\Install\\read me.txt\""}));
  EXPECT_EQ(ui.closings[0].upper, "Tool Setup completed !");
  EXPECT_EQ(ui.closings[0].caption, "Tool");
  EXPECT_EQ(machine.recordedProcess().started[0].substr(0, 2), "5 ");
  EXPECT_EQ(machine.recordedProcess().currentFolders[0], "C:\\Install");
  EXPECT_EQ(machine.read("C:\\WINDOWS\\Favorites\\Docs.url"),
            "[InternetShortcut]\r\nURL=http://docs.example/\r\n");
  EXPECT_FALSE(machine.exists("C:\\WINDOWS\\Favorites\\Tool Web Site.url"));
  const SetupState& state = app->state();
  EXPECT_EQ(state.engineFolder, "C:\\WINDOWS\\");
  EXPECT_EQ(state.sourceFolder, "Z:\\pkg\\");
  EXPECT_EQ(state.installDate, "2001/02/03");
  EXPECT_EQ(state.platform, 3);
  EXPECT_TRUE(machine.exists("C:\\Install"));
  EXPECT_EQ(app->value("UnInstall", "0", ""), "C:\\Install");
}

TEST_F(DriverTest, StartUrlAnswers) {
  script(kMinimal + "[Web]\r\nStartURL=http://tool.example/\r\n");
  platform::HKey key = 0;
  machine.registry().createKey(platform::hkey::ClassesRoot, "htmlfile\\shell\\open\\command", key);
  machine.registry().setString(key, "", "C:\\Web\\browse.exe");
  machine.registry().closeKey(key);

  ui.answers = {ui::Answer::Yes};
  run();
  EXPECT_EQ(machine.recordedProcess().started,
            std::vector<std::string>{"3 C:\\Web\\browse.exehttp://tool.example/"});

  ui.answers = {ui::Answer::No, ui::Answer::Yes};
  run();
  EXPECT_EQ(machine.read("C:\\WINDOWS\\Favorites\\Tool Web Site.url"),
            "[InternetShortcut]\r\nURL=http://tool.example/\r\n");
}

TEST_F(DriverTest, NoBrowserNoStartUrlQuestionButFavoritesStillWritten) {
  script(kMinimal + "[Web]\r\nStartURL=http://tool.example/\r\n0=A,http://a.example/\r\n"
         "1=NoAddress\r\n3=D,http://d.example/\r\n");
  EXPECT_EQ(exitStatusFor(run()), 0);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(machine.exists("C:\\WINDOWS\\Favorites\\A.url"));
  EXPECT_FALSE(machine.exists("C:\\WINDOWS\\Favorites\\NoAddress.url"));
  EXPECT_FALSE(machine.exists("C:\\WINDOWS\\Favorites\\D.url"));  // after the gap at 2
}

TEST_F(DriverTest, RegistrationOffLeavesUserPlaceholdersEmpty) {
  script(kMinimal + "[End]\r\n0=tool.exe [u]|[c]|[s]|[d]\r\n");
  run();
  EXPECT_EQ(machine.recordedProcess().started,
            std::vector<std::string>{"5 tool.exe |||2001/02/03"});
}

TEST_F(DriverTest, EndCommandsStartedAreLogged) {
  script(kMinimal + "[End]\r\n0=tool.exe [u]|[c]|[s]|[d]\r\n1=second.exe\r\n");
  vandrel::test::TempDir dir;
  ui::ActionLog actions(ui::Program::Setup, (dir / "actions.jsonl").string());
  log = &actions;
  run();
  std::string logged = vandrel::test::readFile(dir / "actions.jsonl");
  for (const char* command : {"tool.exe |||2001/02/03", "second.exe"}) {
    std::string line = "{\"program\":\"setup\",\"action\":\"command\",\"command\":\"" +
                       std::string(command) + "\",\"started\":\"yes\"}\n";
    EXPECT_NE(logged.find(line), std::string::npos) << line << logged;
  }
}

TEST_F(DriverTest, InAPlanEndCommandsAndTheRestartArePlannedNotDone) {
  script(kMinimal + "[End]\r\nReboot=1\r\n0=tool.exe /q\r\n1=missing.exe\r\n");
  machine.put("C:\\WINDOWS\\tool.exe", "program");
  vandrel::test::TempDir dir;
  ui::ActionLog actions(ui::Program::Setup, (dir / "actions.jsonl").string());
  actions.setPlan(true);
  platform::PlanMachine plan(machine);
  ui.answers = {ui::Answer::Yes};  // restart now
  app = std::make_unique<SetupApp>(plan, ui, setupStrings(), &actions);
  EXPECT_EQ(exitStatusFor(runInstallation(*app, "Z:\\pkg\\", steps)), 0);
  EXPECT_TRUE(machine.recordedProcess().started.empty());
  EXPECT_TRUE(machine.recordedSystem().exits.empty());
  EXPECT_TRUE(plan.restartPlanned());
  EXPECT_TRUE(runOnceValues().empty()) << "the clean-up registration stays in the plan";
  std::string logged = vandrel::test::readFile(dir / "actions.jsonl");
  for (const char* line :
       {R"({"program":"setup","plan":true,"action":"command","command":"tool.exe /q","started":"planned"})",
        R"({"program":"setup","plan":true,"action":"command","command":"missing.exe","started":"no"})"}) {
    EXPECT_NE(logged.find(std::string(line) + "\n"), std::string::npos) << line << "\n" << logged;
  }
}

TEST_F(DriverTest, RebootQuestion) {
  struct Row {
    std::string reboot;
    ui::Answer answer;
    std::size_t questions;
    std::size_t restarts;
  };
  const Row rows[] = {{"1", ui::Answer::Yes, 1, 1}, {"2", ui::Answer::No, 1, 0},
                      {"0", ui::Answer::Yes, 0, 0}, {"3", ui::Answer::Yes, 0, 0}};
  for (const Row& row : rows) {
    ui.messages.clear();
    machine.recordedSystem().exits.clear();
    script(kMinimal + "[End]\r\nReboot=" + row.reboot + "\r\n");
    ui.answers = {row.answer};
    run();
    ASSERT_EQ(ui.messages.size(), row.questions) << row.reboot;
    if (row.questions) {
      EXPECT_EQ(ui.messages[0].icon, ui::Icon::Exclamation);
      EXPECT_EQ(ui.messages[0].text, setupStrings().get(row.reboot == "1" ? 1140 : 1141));
    }
    EXPECT_EQ(machine.recordedSystem().exits.size(), row.restarts) << row.reboot;
    if (row.restarts) {
      EXPECT_EQ(machine.recordedSystem().exits[0], platform::exit_flags::Reboot);
    }
  }
}

TEST_F(DriverTest, WizardCancelShowsStatusZeroAndCreatesNothing) {
  script(kMinimal);
  ui.pageActions = {test::pressOn(ui::PageResult::Action::Cancel)};
  ui.answers = {ui::Answer::Yes};
  DriverOutcome outcome = run();
  EXPECT_EQ(exitStatusFor(outcome), 10);
  EXPECT_EQ(ui.closings.at(0).code, 0);
  EXPECT_FALSE(machine.exists("C:\\Install"));
  EXPECT_EQ(std::count(ui.events.begin(), ui.events.end(), "install-files"), 0);
}

TEST_F(DriverTest, CopyStatusGoesToTheClosingDialog) {
  script(kMinimal + "[End]\r\n0=never.exe\r\n");
  installStatus = status::GroupsFailed;
  EXPECT_EQ(exitStatusFor(run()), 15);
  EXPECT_EQ(ui.closings.at(0).lower, setupStrings().get(253));
  EXPECT_TRUE(machine.recordedProcess().started.empty());
}

TEST_F(DriverTest, LicenceFromTheSourceFolderOrTheMissingText) {
  script(minimal("ShowLicence=1\r\n"));
  const char licence[] = "Line one\r\nLine two\0hidden";  // a zero byte inside the text
  machine.put("C:\\Pkg\\License.txt", std::string(licence, sizeof licence - 1));
  run("C:\\Pkg\\");
  EXPECT_NE(ui.pages.at(2).text.find("Line one\r\nLine two"), std::string::npos);
  EXPECT_EQ(ui.pages.at(2).text.find("hidden"), std::string::npos);

  ui.pages.clear();
  run("C:\\Elsewhere\\");
  EXPECT_EQ(ui.pages.at(2).id, "licence");
  EXPECT_NE(ui.pages.at(2).text.find(setupStrings().get(241)), std::string::npos);
  EXPECT_EQ(ui.closings.back().code, 4);  // the licence can still be accepted
}

TEST_F(DriverTest, BadScriptsEndWithTheirClosingDialog) {
  struct Row {
    std::string text;
    int exit;
  };
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 131 + 7) % 256);
  const Row rows[] = {
      {"", 12},
      {garbage, 12},
      {"[Settings]\r\nRegInfo=0\r\n[Directories]\r\nnbDir=-5\r\n", 0},
      {"[Settings]\r\nRegInfo=0\r\n[Directories]\r\nnbDir=2000000000\r\n0=a,0,1,A\r\n1999999990=b,0,1,B\r\n", 0},
      {"[Settings]\r\nRegInfo=0\r\nAppName=" + std::string(100000, 'x') + "\r\nDefDir=" +
           std::string(100000, 'd') + "\r\n[Directories]\r\nnbDir=4\r\n", 0},
  };
  for (const Row& row : rows) {
    script(row.text);
    auto start = std::chrono::steady_clock::now();
    DriverOutcome outcome = run();
    auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(exitStatusFor(outcome), row.exit) << row.text.substr(0, 40);
    EXPECT_LT(seconds, 30.0) << row.text.substr(0, 40);
  }
}

TEST_F(DriverTest, AbsurdDirectoryCountCollectsOnlyTheEntriesPresent) {
  script("[Directories]\r\nnbDir=2000000000\r\n0=a,0,1,A\r\n7=,0,0\r\n1999999996=b,0,1,B\r\n"
         "1999999997=c,0,1,C\r\n");
  app = std::make_unique<SetupApp>(machine, ui, setupStrings());
  app->script().setPath(kScript);
  collectDirectories(app->script(), app->state());
  EXPECT_EQ(app->state().optionalDirectories, (std::vector<long>{0, 1999999996}));
  EXPECT_EQ(app->state().directoryLabels, (std::vector<std::string>{"A", "B"}));
}

TEST_F(DriverTest, DirectoryPassesCollectAndCreate) {
  script("[Settings]\r\nRegInfo=0\r\n[Directories]\r\nnbDir=7\r\n0=bin,0,0,Programs\r\n"
         "1=docs,0,1,Documentation\r\n2=,0,0,\r\n3=,0,1\r\n4=,1,0,\r\n5=,2,0,\r\n6=,3,0,\r\n"
         "03=leading,0,1,Zero\r\n");
  app = std::make_unique<SetupApp>(machine, ui, setupStrings());
  app->script().setPath(kScript);
  app->state().windowsFolder = "C:\\WINDOWS";
  collectDirectories(app->script(), app->state());
  EXPECT_EQ(app->state().optionalDirectories, (std::vector<long>{1, 3}));
  EXPECT_EQ(app->state().directoryLabels, (std::vector<std::string>{"Documentation", "?"}));
  EXPECT_EQ(app->state().selectedDirectories, app->state().optionalDirectories);

  app->state().installFolder = "C:\\Tools\\App";
  app->state().backup = true;
  vandrel::test::TempDir dir;
  ui::ActionLog log(ui::Program::Setup, (dir / "actions.jsonl").string());
  createDirectories(app->script(), app->state(), machine.files(), &log);
  // Each folder made is logged once, the levels above the install folder first.
  std::string logged = vandrel::test::readFile(dir / "actions.jsonl");
  std::string expected;
  for (const char* folder : {"C:\\\\Tools", "C:\\\\Tools\\\\App", "C:\\\\Tools\\\\App\\\\Backup",
                             "C:\\\\Tools\\\\App\\\\bin", "C:\\\\Tools\\\\App\\\\docs"}) {
    expected += "{\"program\":\"setup\",\"action\":\"folder\",\"target\":\"" + std::string(folder) +
                "\",\"created\":\"yes\"}\n";
  }
  EXPECT_EQ(logged, expected);
  EXPECT_TRUE(machine.exists("C:\\Tools\\App\\bin"));
  EXPECT_TRUE(machine.exists("C:\\Tools\\App\\docs"));
  EXPECT_TRUE(machine.exists("C:\\Tools\\App\\Backup"));
  EXPECT_EQ(app->value("UnInstall", "0", "-"), "C:\\Tools\\App");
  EXPECT_EQ(app->value("UnInstall", "1", "-"), "C:\\Tools\\App\\bin");
  EXPECT_EQ(app->value("UnInstall", "2", "-"), "C:\\Tools\\App\\docs");
  EXPECT_EQ(app->value("UnInstall", "3", "-"), "C:\\Tools\\App");
  EXPECT_EQ(app->value("UnInstall", "4", "-"), "C:\\Tools\\App\\Backup");  // key nbDir-3
  EXPECT_EQ(app->value("UnInstall", "5", "-"), "-");
}

TEST_F(DriverTest, AnInstallFolderThatWasThereBeforeIsNamedForTheRemovalToKeep) {
  script("[Settings]\r\nRegInfo=0\r\n[Directories]\r\nnbDir=4\r\n0=,1,0,\r\n1=,2,0,\r\n2=,3,0,\r\n");
  app = std::make_unique<SetupApp>(machine, ui, setupStrings());
  app->script().setPath(kScript);
  app->state().windowsFolder = "C:\\WINDOWS";
  machine.files().createDirectory("C:\\Program Files");
  app->state().installFolder = "C:\\Program Files";
  createDirectories(app->script(), app->state(), machine.files());
  EXPECT_EQ(app->value("KeptFolders", "nb", "-"), "1");
  EXPECT_EQ(app->value("KeptFolders", "0", "-"), "C:\\Program Files");

  // A folder the setup makes, with the folders above it, is not named.
  app->script().profile().writeString(kScript, "KeptFolders", std::nullopt, std::nullopt);
  app->state().installFolder = "C:\\Program Files\\Tool\\Bin";
  createDirectories(app->script(), app->state(), machine.files());
  EXPECT_EQ(app->value("KeptFolders", "nb", "-"), "-");

  // Nor one that holds an earlier installation's script that did not name it: that
  // installation made it.
  machine.files().createDirectory("C:\\Old");
  machine.profile().writeString("C:\\Old\\Script.vrx", "UnInstall", "0", "C:\\Old");
  app->state().installFolder = "C:\\Old";
  createDirectories(app->script(), app->state(), machine.files());
  EXPECT_EQ(app->value("KeptFolders", "nb", "-"), "-");
}

class NtDriverTest : public DriverTest {
 protected:
  NtDriverTest() : DriverTest(Preset::NT4) {}
};

TEST_F(NtDriverTest, ShellFoldersByScope) {
  script(kMinimal);
  run();
  EXPECT_EQ(app->state().programsFolder, "C:\\WINNT\\Profiles\\All Users\\Start Menu\\Programs");
  EXPECT_EQ(app->state().desktopFolder, "C:\\WINNT\\Profiles\\All Users\\Desktop");

  app->state().shortcutScope = 1;
  fillShellFolders(machine.shell(), app->state());
  EXPECT_EQ(app->state().programsFolder, "C:\\WINNT\\Profiles\\user\\Start Menu\\Programs");
  EXPECT_EQ(app->state().startupFolder, "C:\\WINNT\\Profiles\\user\\Start Menu\\Programs\\StartUp");
}

TEST_F(DriverTest, ShellFoldersOnWindows98FallBackToTheUserFolders) {
  script(kMinimal);
  run();
  EXPECT_EQ(app->state().programsFolder, "C:\\WINDOWS\\Start Menu\\Programs");
  EXPECT_EQ(app->state().startMenuFolder, "C:\\WINDOWS\\Start Menu");
  EXPECT_EQ(app->state().desktopFolder, "C:\\WINDOWS\\Desktop");
}

class RefusingWindow : public InstallWindow {
 public:
  InstallWindowSettings seen;
  bool create(const InstallWindowSettings& settings) override {
    seen = settings;
    return false;
  }
};

TEST_F(DriverTest, FailedInstallWindowEndsSilently) {
  script(minimal("Title=Big Title\r\n") + "[Background]\r\nTop=0x00ff8040\r\n"
         "Gradient=1\r\nVert=1\r\nBottom=0x00000080\r\nBmpName=back.bmp\r\nBmpMode=3\r\n");
  RefusingWindow window;
  steps.window = &window;
  EXPECT_EQ(exitStatusFor(run("C:\\Pkg")), 1);
  EXPECT_TRUE(ui.events.empty());
  EXPECT_EQ(window.seen.title, "Big Title");
  EXPECT_TRUE(window.seen.setCaption);
  EXPECT_EQ(window.seen.topColour, std::optional<std::uint32_t>(0x00ff8040));
  EXPECT_EQ(window.seen.mode, paint::flag::Gradient);
  EXPECT_TRUE(window.seen.vertical);
  EXPECT_EQ(window.seen.secondColour, 0x80u);
  EXPECT_EQ(window.seen.bitmapPath, "C:\\Pkg\\back.bmp");
  EXPECT_EQ(modeWithBitmap(window.seen.mode, window.seen.bitmapMode), paint::flag::TiledCentred);
}

TEST(DriverRules, SourceFolderFromTheCommandLine) {
  const std::pair<std::string, std::string> rows[] = {
      {"", "C:\\WINDOWS\\"},          {"   ", "C:\\WINDOWS\\"},
      {"Z:\\pkg\\", "Z:\\pkg\\"},     {"Z:\\pkg", "Z:\\pkg\\"},
      {"\"Z:\\my pkg\\\"", "Z:\\my pkg\\"}, {" E:\\Disk1\\ ", "E:\\Disk1\\"},
  };
  for (const auto& [line, folder] : rows) EXPECT_EQ(sourceFolderFrom(line, "C:\\WINDOWS\\"), folder) << line;
}

TEST(DriverRules, EndCommandQuoting) {
  const std::pair<std::string, std::string> rows[] = {
      {"notepad.exe", "notepad.exe"},
      {"notepad.exe readme.txt", "notepad.exe readme.txt"},
      {"notepad.exe read me.txt", "notepad.exe \"read me.txt\""},
      {"prog.exe  two", "prog.exe \" two\""},
      {"prog.exe ", "prog.exe "},
  };
  for (const auto& [command, started] : rows) EXPECT_EQ(quoteEndCommand(command), started) << command;
}

TEST(DriverRules, ClosingTextsAndExitStatus) {
  const script::StringTable& s = setupStrings();
  const std::string upper = "The setup procedure was terminated before it was completely achieved.";
  const std::string lower = "You may run the Setup program at a later time to complete the installation.";
  const std::tuple<int, std::string, std::string, int> rows[] = {
      {0, upper, lower, 10},
      {1, upper, lower, 11},
      {2, upper, s.get(250), 12},
      {3, upper, s.get(251), 13},
      {4, "App Setup completed !", s.get(252), 0},
      {5, upper, s.get(253), 15},
      {6, upper, "Try to re-install on an Intel processor based computer.", 16},
      {7, upper, s.get(255), 17},
      {9, upper, lower, 19},
  };
  for (const auto& [code, up, low, exit] : rows) {
    ui::Closing closing = closingDialog(code, "App", s);
    EXPECT_EQ(closing.upper, up) << code;
    EXPECT_EQ(closing.lower, low) << code;
    EXPECT_EQ(closing.code, code);
    EXPECT_EQ(closing.caption, "App");
    EXPECT_EQ(exitStatusFor(DriverOutcome{code}), exit) << code;
  }
  EXPECT_EQ(exitStatusFor(DriverOutcome{}), 1);
}

TEST(DriverRules, ColourTexts) {
  EXPECT_EQ(parseColour("0x00ff8040"), 0x00ff8040u);
  EXPECT_EQ(parseColour("0x12345678"), 0x12345678u);
  EXPECT_EQ(parseColour("0x"), 0u);
  EXPECT_EQ(parseColour("zz"), 0u);
  EXPECT_EQ(parseColour("0x0000zz"), 0u);
}

}  // namespace
}  // namespace vandrel::setup
