// Tests of the uninstaller's driver: modes, script check, confirmation, progress window,
// step chain, result and exit status.
#include "uninstall/driver.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"
#include "uninstall/testing/uninstall_fixture.h"

namespace vandrel::uninstall {
namespace {

using testing::UninstallFixture;
using ui::Answer;

// A small installed package: one author folder, two files, a link in a group, a win.ini key
// and a registry value and key.
const char* kPackage =
    "[Settings]\nAppName=Demo 1.0\n"
    "[Directories]\nnbDir=5\n0=Bin,0,0,\n1=,0,0,\n2=,1,0,\n3=,2,0,\n4=,3,0,\n"
    "[Files]\nnbFiles=3\n0=Peskin32.ex_,Peskin32.exe,4,1,1000,0,1,1,10,0,0\n"
    "1=a.exe,a.exe,0,1,0,1,0,0,10,0,0\n2=read.me,read.me,1,1,0,1,0,0,10,0,0\n"
    "[AddINI]\nnbINI=1\n0=Demo,Path,[1]\n"
    "[Registry]\nnbReg=2\n0=2,Software\\Demo,Path,[1],1\n1=2,Software\\Demo,,,0\n"
    "[AddedLinks]\nnb=1\n0=C:\\WINDOWS\\Start Menu\\Programs\\Demo\\Demo.lnk\n"
    "[AddedFolders]\nnb=1\n0=C:\\WINDOWS\\Start Menu\\Programs\\Demo\n";

void installPackage(UninstallFixture& f, const std::string& script = kPackage) {
  f.script(script);
  f.put("C:\\WINDOWS\\Peskin32.exe");
  f.put("C:\\App\\Bin\\a.exe");
  f.put("C:\\App\\read.me");
  f.put("C:\\WINDOWS\\Start Menu\\Programs\\Demo\\Demo.lnk");
  f.machine().profile().writeProfileString("Demo", "Path", "C:\\App");
  f.setString(platform::hkey::LocalMachine, "Software\\Demo", "Path", "C:\\App");
}

TEST(Uninstaller, CleanUpModeIgnoresCaseOfTheWholeLine) {
  struct Case {
    const char* line;
    bool cleanUp;
  };
  for (Case c : {Case{"/DeleteTemp", true}, Case{"/deletetemp", true}, Case{"/DELETETEMP", true},
                 Case{"/DeleteTemp x", false}, Case{" /DeleteTemp", false}}) {
    SCOPED_TRACE(c.line);
    UninstallFixture f;
    f.put("C:\\WINDOWS\\hobvane.exe");
    f.put("C:\\WINDOWS\\script.vrx");
    Ending ending = runUninstaller(f.app(), c.line);
    EXPECT_EQ(ending == Ending::CleanedUp, c.cleanUp);
    EXPECT_EQ(f.exists("C:\\WINDOWS\\hobvane.exe"), !c.cleanUp);
    EXPECT_EQ(f.exists("C:\\WINDOWS\\script.vrx"), !c.cleanUp);
    if (c.cleanUp) {
      EXPECT_TRUE(f.ui.events.empty());  // silent
      EXPECT_EQ(exitStatusFor(ending), 0);
    } else {
      EXPECT_EQ(ending, Ending::NoScript);  // the line is taken as a folder
    }
  }
}

TEST(Uninstaller, CleanUpWithNothingToDeleteIsStillQuiet) {
  UninstallFixture f;
  EXPECT_EQ(runUninstaller(f.app(), "/DeleteTemp"), Ending::CleanedUp);
  EXPECT_TRUE(f.ui.events.empty());
}

TEST(Uninstaller, StopMessagesForNoCommandLineAndNoScript) {
  struct Case {
    const char* line;
    const char* script;  // nullptr: none
    Ending ending;
    const char* text;
  };
  const char* noScript =
      "Dallow can not find the install script file used for Setup in the current path and "
      "will now exit...";
  const Case cases[] = {
      {"", nullptr, Ending::NoCommandLine,
       "Please start the unInstall program by double-clicking on its associated icon. Thank you !"},
      {"C:\\App", nullptr, Ending::NoScript, noScript},
      {"C:\\Missing\\Folder", nullptr, Ending::NoScript, noScript},
      {"C:\\App", "[Settings]\nAppName=Demo\n", Ending::NoScript, noScript},
      // Only the three fixed folders: nothing to remove.
      {"C:\\App", "[Directories]\nnbDir=3\n", Ending::NoScript, noScript},
      {"C:\\App", "[Files]\nnbFiles=-5\n[Registry]\nnbReg=4\n", Ending::NoScript, noScript},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    UninstallFixture f;
    if (c.script) f.script(c.script);
    Ending ending = runUninstaller(f.app(), c.line);
    EXPECT_EQ(ending, c.ending);
    EXPECT_EQ(exitStatusFor(ending), 1);
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_EQ(f.ui.messages[0].text, c.text);
    EXPECT_EQ(f.ui.messages[0].icon, ui::Icon::Stop);
    EXPECT_EQ(f.ui.messages[0].caption, "Dallow v3.0");
    EXPECT_TRUE(f.ui.progresses.empty());
    if (c.script) {
      EXPECT_TRUE(f.exists("C:\\App\\Script.vrx"));
    }
  }
}

TEST(Uninstaller, DecliningChangesNothing) {
  UninstallFixture f;
  installPackage(f);
  f.ui.answers = {Answer::No};
  Ending ending = runUninstaller(f.app(), "C:\\App");
  EXPECT_EQ(ending, Ending::Declined);
  EXPECT_EQ(exitStatusFor(ending), 5);
  ASSERT_EQ(f.ui.messages.size(), 1u);
  EXPECT_EQ(f.ui.messages[0].text,
            "You are about to remove Demo 1.0 from your computer. Are you sure you want to "
            "proceed ?");
  EXPECT_EQ(f.ui.messages[0].buttons, ui::Buttons::YesNo);
  EXPECT_TRUE(f.ui.progresses.empty());
  EXPECT_TRUE(f.exists("C:\\App\\Script.vrx"));
  EXPECT_TRUE(f.exists("C:\\App\\Bin\\a.exe"));
  EXPECT_TRUE(f.hasValue(platform::hkey::LocalMachine, "Software\\Demo", "Path"));
}

TEST(Uninstaller, CompleteRemoval) {
  UninstallFixture f;
  installPackage(f);
  RemovalTally tally;
  Ending ending = runUninstaller(f.app(), "C:\\App\\", &tally);  // one trailing backslash dropped
  EXPECT_EQ(ending, Ending::Completed);
  EXPECT_EQ(exitStatusFor(ending), 0);

  EXPECT_FALSE(f.exists("C:\\App"));
  EXPECT_FALSE(f.exists("C:\\WINDOWS\\Start Menu\\Programs\\Demo"));
  EXPECT_TRUE(f.exists("C:\\WINDOWS\\Peskin32.exe"));
  EXPECT_FALSE(f.hasKey(platform::hkey::LocalMachine, "Software\\Demo"));
  EXPECT_EQ(f.machine().profile().getProfileString("Demo", "Path", "gone", 260), "gone");

  // Window: caption line, boxes ticked step by step, bar up to 100, then the result and OK.
  ASSERT_FALSE(f.ui.progresses.empty());
  const ui::Progress& first = f.ui.progresses.front();
  EXPECT_EQ(first.caption, "Dallow v3.0");
  EXPECT_EQ(first.lines.at(0),
            "Dallow is removing Demo 1.0 from your computer. Please wait while components are "
            "deleted...");
  EXPECT_EQ(first.percent, 0);
  EXPECT_EQ(first.boxes, std::vector<bool>(5, false));
  EXPECT_EQ(first.boxLabels.at(4), "Windows Registry entries...");
  int lastPercent = 0;
  size_t lastTicked = 0;
  for (const ui::Progress& p : f.ui.progresses) {
    EXPECT_GE(p.percent, lastPercent);
    lastPercent = p.percent;
    size_t ticked = 0;
    while (ticked < p.boxes.size() && p.boxes[ticked]) ++ticked;
    EXPECT_GE(ticked, lastTicked);  // boxes fill from the first on
    lastTicked = ticked;
  }
  EXPECT_EQ(lastPercent, 100);
  EXPECT_EQ(lastTicked, 5u);
  ASSERT_EQ(f.ui.closings.size(), 1u);
  EXPECT_EQ(f.ui.closings[0].text, "Uninstall completed successfully.");
  EXPECT_EQ(f.ui.closings[0].boxes, std::vector<bool>(5, true));
  EXPECT_EQ(f.ui.events.back(), "end");
  EXPECT_EQ(f.ui.events[f.ui.events.size() - 2], "closing");
  // nbDir + nbFiles + nbINI + nbReg + links + folders - 3 = 5 + 3 + 1 + 2 + 1 + 1 - 3.
  EXPECT_EQ(tally.total, 10);
  EXPECT_EQ(tally.done, 10);
}

TEST(Uninstaller, AnInstallationFolderThatWasThereBeforeStaysEmpty) {
  UninstallFixture f;
  installPackage(f);
  // The setup found C:\App in place (the user picked a folder that was there).
  f.machine().profile().writeString("C:\\App\\Script.vrx", "KeptFolders", "nb", "1");
  f.machine().profile().writeString("C:\\App\\Script.vrx", "KeptFolders", "0", "C:\\App");
  Ending ending = runUninstaller(f.app(), "C:\\App");
  EXPECT_EQ(ending, Ending::Completed);
  EXPECT_TRUE(f.exists("C:\\App"));
  EXPECT_FALSE(f.exists("C:\\App\\Bin"));
  EXPECT_FALSE(f.exists("C:\\App\\read.me"));
  EXPECT_FALSE(f.exists("C:\\App\\Script.vrx"));
}

TEST(Uninstaller, TheActionLogNamesEachRemovalAndEachThingLeftWithWhy) {
  UninstallFixture f;
  std::string script = kPackage;
  script += "[SharedFiles]\nnb=3\n0=C:\\App\\s1.dll\n1=C:\\App\\s2.dll\n2=C:\\App\\s3.dll\n";
  installPackage(f, script);
  for (const char* name : {"s1.dll", "s2.dll", "s3.dll"}) f.put(std::string("C:\\App\\") + name);
  f.setCount("C:\\App\\s1.dll", 2);  // still used by another package
  f.setCount("C:\\App\\s2.dll", 1);  // the user keeps it
  f.setCount("C:\\App\\s3.dll", 1);  // the user lets it go
  f.put("C:\\App\\Bin\\user data.txt");
  // Remove: yes; s3 (highest entry first): yes; s2: no.
  f.ui.answers = {Answer::Yes, Answer::Yes, Answer::No};
  vandrel::test::TempDir dir;
  ui::ActionLog log(ui::Program::Uninstall, (dir / "actions.jsonl").string());
  f.logTo(log);
  Ending ending = runUninstaller(f.app(), "C:\\App");
  ASSERT_EQ(ending, Ending::Leftovers);
  log.summary(exitStatusFor(ending), exitMeaning(ending));
  std::string text = vandrel::test::readFile(dir / "actions.jsonl");

  auto line = [](const char* action, const char* kind, const std::string& target) {
    std::string escaped;
    for (char c : target) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return "{\"program\":\"uninstall\",\"action\":\"" + std::string(action) + "\",\"kind\":\"" + kind +
           "\",\"target\":\"" + escaped + "\"";
  };
  struct Case {
    const char* action;
    const char* kind;
    std::string target;
    const char* why;  // nullptr: removed
  };
  const Case cases[] = {
      {"removed", "file", "C:\\App\\read.me", nullptr},
      {"removed", "file", "C:\\App\\Bin\\a.exe", nullptr},
      {"left", "shared-file", "C:\\App\\s1.dll", "shared and still used"},
      {"left", "shared-file", "C:\\App\\s2.dll", "kept by the user's answer"},
      {"removed", "shared-file", "C:\\App\\s3.dll", nullptr},
      {"removed", "shortcut", "C:\\WINDOWS\\Start Menu\\Programs\\Demo\\Demo.lnk", nullptr},
      {"removed", "group", "C:\\WINDOWS\\Start Menu\\Programs\\Demo", nullptr},
      {"left", "folder", "C:\\App\\Bin", "folder not empty"},
      {"left", "folder", "C:\\App", "folder not empty"},
      {"removed", "ini", "WIN.INI [Demo] Path", nullptr},
      {"removed", "registry-value", "HKEY_LOCAL_MACHINE\\Software\\Demo\\Path", nullptr},
      {"removed", "registry-key", "HKEY_LOCAL_MACHINE\\Software\\Demo", nullptr},
  };
  for (const Case& c : cases) {
    std::string expected = line(c.action, c.kind, c.target) +
                           (c.why ? ",\"why\":\"" + std::string(c.why) + "\"}\n" : std::string("}\n"));
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
  }
  // The shared counts before and after: lowered, kept at 0, deleted with the file.
  for (const char* count : {"\"file\":\"C:\\\\App\\\\s1.dll\",\"old\":\"2\",\"value\":\"1\",\"written\":\"yes\"",
                            "\"file\":\"C:\\\\App\\\\s2.dll\",\"old\":\"1\",\"value\":\"0\",\"written\":\"yes\"",
                            "\"file\":\"C:\\\\App\\\\s3.dll\",\"old\":\"1\",\"value\":\"\",\"written\":\"yes\""}) {
    EXPECT_NE(text.find(count), std::string::npos) << count << "\n" << text;
  }
  std::string last = text.substr(text.rfind('\n', text.size() - 2) + 1);
  EXPECT_NE(last.find("\"action\":\"summary\""), std::string::npos) << last;
  EXPECT_NE(last.find("\"removed-file\":3"), std::string::npos) << last;  // a.exe, read.me, Script.vrx
  EXPECT_NE(last.find("\"left\":4"), std::string::npos) << last;
  EXPECT_NE(last.find("\"exit\":3,\"meaning\":\"the removal completed, but some items were left\""),
            std::string::npos) << last;
  EXPECT_NE(last.find("peskin32: 9 items removed (3 files, 1 shared files, 1 INI keys, 2 registry "
                      "entries), 4 left; exit status 3"),
            std::string::npos) << last;
}

TEST(Uninstaller, EmptyApplicationNameKeepsTheWindowsOwnCaption) {
  UninstallFixture f;
  std::string script = kPackage;
  script.replace(script.find("AppName=Demo 1.0"), 16, "AppName=");
  installPackage(f, script);
  Ending ending = runUninstaller(f.app(), "C:\\App");
  EXPECT_EQ(ending, Ending::Completed);
  EXPECT_EQ(f.ui.messages.at(0).text,
            "You are about to remove  from your computer. Are you sure you want to proceed ?");
  EXPECT_EQ(f.ui.progresses.at(0).lines.at(0), "Caption");
}

TEST(Uninstaller, StoppedAtTheDamagedScriptQuestion) {
  UninstallFixture f;
  std::string script = kPackage;
  script.replace(script.find("2=read.me,read.me,1,1,0,1,0,0,10,0,0"), 36, "2=");
  installPackage(f, script);
  f.ui.answers = {Answer::Yes, Answer::No};  // remove: yes; proceed despite damage: no
  Ending ending = runUninstaller(f.app(), "C:\\App");
  EXPECT_EQ(ending, Ending::Stopped);
  EXPECT_EQ(exitStatusFor(ending), 4);
  ASSERT_EQ(f.ui.closings.size(), 1u);
  EXPECT_EQ(f.ui.closings[0].text,
            "The uninstall procedure couldn't be completed. It is possible that the software "
            "may not run correctly anymore.");
  EXPECT_EQ(f.ui.closings[0].boxes, (std::vector<bool>{true, false, false, false, false}));
  EXPECT_FALSE(f.exists("C:\\App\\Script.vrx"));   // deleted all the same
  EXPECT_TRUE(f.exists("C:\\App\\Bin\\a.exe"));     // later entries untouched
  EXPECT_TRUE(f.hasValue(platform::hkey::LocalMachine, "Software\\Demo", "Path"));
}

TEST(Uninstaller, LeftoverFileIsReported) {
  UninstallFixture f;
  installPackage(f);
  f.put("C:\\App\\user data.txt");
  Ending ending = runUninstaller(f.app(), "C:\\App");
  EXPECT_EQ(ending, Ending::Leftovers);
  EXPECT_EQ(exitStatusFor(ending), 3);
  EXPECT_EQ(f.ui.closings.at(0).text,
            "UnInstall is now completed, but some components couldn't be removed. You will have "
            "to erase manually all added files...");
  EXPECT_EQ(f.ui.closings.at(0).boxes, std::vector<bool>(5, true));
  EXPECT_FALSE(f.exists("C:\\App\\Script.vrx"));
  EXPECT_TRUE(f.exists("C:\\App\\user data.txt"));
}

TEST(Uninstaller, NoToTheFolderQuestionLeavesIniAndRegistry) {
  UninstallFixture f;
  std::string script = kPackage;
  script.replace(script.find("nbDir=5"), 7, "nbDir=2");
  installPackage(f, script);
  f.ui.answers = {Answer::Yes, Answer::No};
  Ending ending = runUninstaller(f.app(), "C:\\App");
  EXPECT_EQ(ending, Ending::Stopped);
  EXPECT_EQ(f.ui.closings.at(0).boxes, (std::vector<bool>{true, true, true, false, false}));
  EXPECT_EQ(f.machine().profile().getProfileString("Demo", "Path", "gone", 260), "C:\\App");
  EXPECT_TRUE(f.hasValue(platform::hkey::LocalMachine, "Software\\Demo", "Path"));
}

TEST(Uninstaller, AbsurdCountsEndWithTheUsualResult) {
  UninstallFixture f;
  std::string script = kPackage;
  script.replace(script.find("nbFiles=3"), 9, "nbFiles=2000000000");
  script.replace(script.find("nbReg=2"), 7, "nbReg=2000000000");
  installPackage(f, script);
  f.ui.answers = {Answer::Yes, Answer::Yes};
  Ending ending = runUninstaller(f.app(), "C:\\App");
  EXPECT_EQ(ending, Ending::Completed);
  EXPECT_EQ(f.ui.questions().size(), 2u);
  EXPECT_FALSE(f.exists("C:\\App"));
  EXPECT_EQ(f.ui.progresses.back().percent, 100);
}

TEST(Uninstaller, DamagedLinesAreSkipped) {
  UninstallFixture f;
  std::string script = kPackage;
  script.insert(script.find("[Files]"), "garbage without equals\n[Unclosed\n\x01\xff=\xfe\n=orphan\n");
  script += "[Registry\n\n=\n";
  installPackage(f, script);
  EXPECT_EQ(runUninstaller(f.app(), "C:\\App"), Ending::Completed);
  EXPECT_FALSE(f.exists("C:\\App"));
}

TEST(Uninstaller, ScriptThatIsAFolderIsNoScript) {
  UninstallFixture f;
  f.folder("C:\\App\\Script.vrx");
  EXPECT_EQ(runUninstaller(f.app(), "C:\\App"), Ending::NoScript);
  EXPECT_TRUE(f.exists("C:\\App\\Script.vrx"));
}

}  // namespace
}  // namespace vandrel::uninstall
