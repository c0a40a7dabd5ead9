// Program groups and shortcuts: macros, group folders, component and platform tests, real
// shortcut files, the records in the installed script and cancel between groups.
#include <gtest/gtest.h>

#include "setup/testing/copy_fixture.h"
#include "setup/common/copy_progress.h"
#include "setup/shortcuts/program_groups.h"
#include "tests/support/temp_dir.h"

namespace vandrel::platform::emulated {
// Shown by the tests as its name, not as bytes.
void PrintTo(Preset preset, std::ostream* out) { *out << (preset == Preset::NT4 ? "NT4" : "Win98"); }
}  // namespace vandrel::platform::emulated

namespace vandrel::setup {
namespace {

using platform::emulated::Preset;
using testing::CopyFixture;

const char* kDirectories =
    "[Directories]\r\nnbDir=6\r\n0=Bin,0,1,Binaries\r\n1=Docs,0,0,\r\n2=,0,0,\r\n3=,1,0,\r\n"
    "4=,2,0,\r\n5=,3,0,\r\n";

class GroupsTest : public CopyFixture {
 protected:
  explicit GroupsTest(Preset preset = Preset::Win98) : CopyFixture(preset) {}
  void SetUp() override {
    app().state().optionalDirectories = {0};
    app().state().selectedDirectories = {0};
  }
  int run(const std::string& groups, const std::string& shortcuts) {
    writeScript(std::string(kDirectories) + groups + shortcuts);
    SetupDialogs dialogs = app().dialogs();
    CopyProgress progress(dialogs);
    return createProgramGroups(app().script(), app().state(), machine().files(),
                               machine().shell(), app().strings(), progress, changeFailed, &log);
  }
  std::vector<std::string> recorded(const std::string& section) {
    std::vector<std::string> paths;
    for (int i = 0;; ++i) {
      std::string value = scriptValue(section, std::to_string(i));
      if (value.empty()) return paths;
      paths.push_back(value);
    }
  }
  std::string programs() { return app().state().programsFolder; }
  std::string logText() { return test::readFile(logDir / "actions.jsonl"); }
  bool changeFailed = false;
  test::TempDir logDir;
  ui::ActionLog log{ui::Program::Setup, (logDir / "actions.jsonl").string()};
};

TEST_F(GroupsTest, GroupsAndShortcutsAreMadeAndRecorded) {
  EXPECT_EQ(run("[Groups]\r\nnbGrp=2\r\n0=Tool\r\n1=[desktop]\r\n",
                "[Shortcuts]\r\nnbAdd=3\r\n0=tool.exe,1,0,Tool,-o [u],0\r\n"
                "1=readme.txt,2,0,Read me\r\n2=tool.exe,1,1,Tool on desktop\r\n"),
            1);
  const std::string group = programs() + "\\Tool";
  EXPECT_TRUE(files().status(group)->isDirectory());
  EXPECT_EQ(recorded("AddedFolders"), std::vector<std::string>{group});
  EXPECT_EQ(scriptValue("AddedFolders", "nb"), "1");
  const std::vector<std::string> links = {group + "\\Tool.lnk", group + "\\Read me.lnk",
                                          app().state().desktopFolder + "\\Tool on desktop.lnk"};
  EXPECT_EQ(recorded("AddedLinks"), links);
  EXPECT_EQ(scriptValue("AddedLinks", "nb"), "3");
  for (const std::string& link : links) EXPECT_TRUE(exists(link)) << link;
  // The shortcut file holds the target, arguments, working folder and description.
  std::string bytes = get(links[0]).value_or("");
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x4c\0\0\0", 4));
  EXPECT_NE(bytes.find("C:\\App\\Docs\\tool.exe"), std::string::npos);

  // The log names the group made and each shortcut as the shell received it, in order.
  const std::string json = "C:\\\\WINDOWS\\\\Start Menu\\\\Programs\\\\Tool";
  EXPECT_EQ(logText(),
            "{\"program\":\"setup\",\"action\":\"group\",\"name\":\"Tool\",\"folder\":\"" + json +
                "\",\"created\":\"yes\"}\n"
                "{\"program\":\"setup\",\"action\":\"shortcut\",\"link\":\"" + json +
                "\\\\Tool.lnk\",\"target\":\"C:\\\\App\\\\Docs\\\\tool.exe\",\"arguments\":\"-o Ann\","
                "\"working-folder\":\"C:\\\\App\\\\Docs\",\"icon\":\"\",\"description\":\"Tool\","
                "\"written\":\"yes\"}\n"
                "{\"program\":\"setup\",\"action\":\"shortcut\",\"link\":\"" + json +
                "\\\\Read me.lnk\",\"target\":\"C:\\\\App\\\\readme.txt\",\"arguments\":\"\","
                "\"working-folder\":\"C:\\\\App\",\"icon\":\"\",\"description\":\"Read me\","
                "\"written\":\"yes\"}\n"
                "{\"program\":\"setup\",\"action\":\"shortcut\",\"link\":\"C:\\\\WINDOWS\\\\Desktop"
                "\\\\Tool on desktop.lnk\",\"target\":\"C:\\\\App\\\\Docs\\\\tool.exe\",\"arguments\":\"\","
                "\"working-folder\":\"C:\\\\App\\\\Docs\",\"icon\":\"\",\"description\":\"Tool on desktop\","
                "\"written\":\"yes\"}\n");
}

TEST_F(GroupsTest, MacrosMatchWholeNamesOnly) {
  struct Case {
    std::string name;
    std::string folder;  // empty: a folder made under Programs
  };
  SetupState& s = app().state();
  const std::vector<Case> cases = {{"[PROGRAM]", s.programsFolder},
                                   {"[StartUp]", s.startupFolder},
                                   {"[startmenu]", s.startMenuFolder},
                                   {"[DeskTop]", s.desktopFolder},
                                   {"[DESKTOP]\\Sub", ""},
                                   {"[DESKTOP", ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeScript("");  // a fresh script for every case
    EXPECT_EQ(run("[Groups]\r\nnbGrp=1\r\n0=" + c.name + "\r\n",
                  "[Shortcuts]\r\nnbAdd=1\r\n0=a.exe,2,0,A\r\n"),
              1);
    std::string folder = c.folder.empty() ? programs() + "\\" + c.name : c.folder;
    EXPECT_EQ(recorded("AddedFolders"),
              c.folder.empty() ? std::vector<std::string>{folder} : std::vector<std::string>{});
    EXPECT_EQ(recorded("AddedLinks"), std::vector<std::string>{folder + "\\A.lnk"});
  }
}

TEST_F(GroupsTest, MacroWithoutItsFolderBecomesAGroupUnderPrograms) {
  app().state().startupFolder.clear();
  run("[Groups]\r\nnbGrp=1\r\n0=[STARTUP]\r\n", "[Shortcuts]\r\nnbAdd=1\r\n0=a.exe,2,0,A\r\n");
  EXPECT_EQ(recorded("AddedFolders"), std::vector<std::string>{programs() + "\\[STARTUP]"});
}

TEST_F(GroupsTest, NothingWithoutShortcuts) {
  EXPECT_EQ(run("[Groups]\r\nnbGrp=2\r\n0=One\r\n1=Two\r\n", "[Shortcuts]\r\nnbAdd=0\r\n"), 1);
  EXPECT_FALSE(exists(programs() + "\\One"));
  EXPECT_TRUE(recorded("AddedFolders").empty());
  EXPECT_EQ(scriptValue("AddedFolders", "nb"), "");
}

TEST_F(GroupsTest, DeselectedComponentsAndMissingEntries) {
  app().state().selectedDirectories = {};
  EXPECT_EQ(run("[Groups]\r\nnbGrp=2\r\n0=Tool\r\n",
                "[Shortcuts]\r\nnbAdd=4\r\n0=bin.exe,0,0,Bin\r\n1=doc.txt,1,1,Doc\r\n"
                "3=x.exe,2,0,X\r\n"),
            1);
  // Group 1 has no entry: it is named after its number.
  EXPECT_EQ(recorded("AddedFolders"),
            (std::vector<std::string>{programs() + "\\Tool", programs() + "\\Group 1"}));
  EXPECT_EQ(recorded("AddedLinks"), (std::vector<std::string>{programs() + "\\Tool\\X.lnk",
                                                              programs() + "\\Group 1\\Doc.lnk"}));
}

TEST_F(GroupsTest, SameTitleTwiceIsRecordedTwice) {
  run("[Groups]\r\nnbGrp=1\r\n0=G\r\n",
      "[Shortcuts]\r\nnbAdd=2\r\n0=a.exe,2,0,Same\r\n1=b.exe,2,0,Same\r\n");
  const std::string link = programs() + "\\G\\Same.lnk";
  EXPECT_EQ(recorded("AddedLinks"), (std::vector<std::string>{link, link}));
  EXPECT_NE(get(link)->find("b.exe"), std::string::npos) << "the second overwrote the first";
}

TEST_F(GroupsTest, CancelDuringTheSecondOfThreeGroups) {
  // Cancel is pressed while the second group is shown; it takes effect after that group.
  ui_.cancelOn = "\\Two";
  ui_.answers = {ui::Answer::Yes};
  EXPECT_EQ(run("[Groups]\r\nnbGrp=3\r\n0=One\r\n1=Two\r\n2=Three\r\n",
                "[Shortcuts]\r\nnbAdd=3\r\n0=a.exe,2,0,A\r\n1=b.exe,2,1,B\r\n2=c.exe,2,2,C\r\n"),
            0);
  EXPECT_EQ(recorded("AddedFolders"),
            (std::vector<std::string>{programs() + "\\One", programs() + "\\Two"}));
  EXPECT_EQ(recorded("AddedLinks"), (std::vector<std::string>{programs() + "\\One\\A.lnk",
                                                              programs() + "\\Two\\B.lnk"}));
  EXPECT_FALSE(exists(programs() + "\\Three"));
  EXPECT_EQ(scriptValue("AddedFolders", "nb"), "");
  EXPECT_EQ(scriptValue("AddedLinks", "nb"), "");
}

TEST_F(GroupsTest, UnsafeNamesMakeNothing) {
  run("[Groups]\r\nnbGrp=2\r\n0=..\\..\\Escape\r\n1=Fine\r\n",
      "[Shortcuts]\r\nnbAdd=3\r\n0=a.exe,2,0,A\r\n1=b.exe,2,1,..\\..\\..\\B\r\n2=c.exe,2,1,CON\r\n");
  EXPECT_EQ(recorded("AddedFolders"), std::vector<std::string>{programs() + "\\Fine"});
  EXPECT_TRUE(recorded("AddedLinks").empty());
}

TEST_F(GroupsTest, AbsurdCountsEndWithTheScript) {
  EXPECT_EQ(run("[Groups]\r\nnbGrp=2000000000\r\n0=G\r\n",
                "[Shortcuts]\r\nnbAdd=2000000000\r\n0=a.exe,2,0,A\r\n1=b.exe,2,4,B\r\n"),
            1);
  EXPECT_EQ(recorded("AddedFolders"),
            (std::vector<std::string>{programs() + "\\G", programs() + "\\Group 1",
                                      programs() + "\\Group 2", programs() + "\\Group 3",
                                      programs() + "\\Group 4"}));
  EXPECT_EQ(recorded("AddedLinks").size(), 2u);
}

class PlatformShortcutsTest : public GroupsTest, public ::testing::WithParamInterface<Preset> {
 protected:
  PlatformShortcutsTest() : GroupsTest(GetParam()) {}
};

TEST_P(PlatformShortcutsTest, NtOnlyShortcutOnlyOnNt) {
  const bool nt = GetParam() == Preset::NT4;
  EXPECT_EQ(app().state().platform, nt ? 2 : 3);
  run("[Groups]\r\nnbGrp=1\r\n0=G\r\n",
      "[Shortcuts]\r\nnbAdd=3\r\n0=all.exe,2,0,All,,0\r\n1=nt.exe,2,0,NT,,2\r\n"
      "2=w95.exe,2,0,W95,,3\r\n");
  const std::string group = programs() + "\\G\\";
  EXPECT_EQ(recorded("AddedLinks"),
            (std::vector<std::string>{group + "All.lnk", group + (nt ? "NT.lnk" : "W95.lnk")}));
  EXPECT_EQ(exists(group + "NT.lnk"), nt);
}

INSTANTIATE_TEST_SUITE_P(Presets, PlatformShortcutsTest, ::testing::Values(Preset::Win98, Preset::NT4),
                         [](const auto& info) { return ::testing::PrintToString(info.param); });

}  // namespace
}  // namespace vandrel::setup
