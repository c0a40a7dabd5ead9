// Win.ini and registry entries, shared counts and the [SharedFiles] record, and their lines
// in the action log.
#include <gtest/gtest.h>

#include "setup/changes/ini_registry.h"
#include "setup/testing/copy_fixture.h"
#include "setup/common/copy_progress.h"
#include "tests/support/temp_dir.h"

namespace vandrel::setup {
namespace {

using testing::CopyFixture;

const char* kSharedDlls = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

class IniRegistryTest : public CopyFixture {
 protected:
  test::TempDir logDir;
  ui::ActionLog log{ui::Program::Setup, (logDir / "actions.jsonl").string()};
  std::string logText() { return test::readFile(logDir / "actions.jsonl"); }
  bool update(const std::string& script) {
    writeScript("[Directories]\r\nnbDir=5\r\n0=Data,0,0,\r\n1=,0,0,\r\n2=,1,0,\r\n3=,2,0,\r\n"
                "4=,3,0,\r\n" + script);
    SetupDialogs dialogs = app().dialogs();
    CopyProgress progress(dialogs);
    Changes changes{app().script(), app().state(), machine().profile(), machine().registry(),
                    app().strings(), progress, &log};
    return updateIniAndRegistry(changes, sharedFiles, changeFailed);
  }
  std::optional<std::string> regString(platform::HKey root, const std::string& subKey,
                                       const std::string& name) {
    platform::HKey key = 0;
    if (machine().registry().openKey(root, subKey, key) != platform::error::Success) return {};
    std::string value;
    long result = machine().registry().queryString(key, name, value);
    machine().registry().closeKey(key);
    if (result != platform::error::Success) return std::nullopt;
    return value;
  }
  std::optional<std::uint32_t> sharedCount(const std::string& path) {
    platform::HKey key = 0;
    if (machine().registry().openKey(platform::hkey::LocalMachine, kSharedDlls, key) !=
        platform::error::Success) {
      return std::nullopt;
    }
    std::uint32_t count = 0;
    long result = machine().registry().queryDword(key, path, count);
    machine().registry().closeKey(key);
    if (result != platform::error::Success) return std::nullopt;
    return count;
  }
  std::string win(const std::string& section, const std::string& key) {
    return machine().profile().getProfileString(section, key, "<none>", 260);
  }
  std::vector<std::string> sharedFiles;
  bool changeFailed = false;
};

TEST_F(IniRegistryTest, IniEntriesWithDefaultsAndPlaceholders) {
  EXPECT_TRUE(update("[AddINI]\r\nnbINI=4\r\n0=Tool,Folder,[0]\r\n1=Tool\r\n2=,Owner,[u] ([c])\r\n"
                     "3=Tool,Empty,\r\n"));
  EXPECT_EQ(win("Tool", "Folder"), "C:\\App\\Data");
  EXPECT_EQ(win("Tool", "1"), "NoValue") << "the entry number names the key";
  EXPECT_EQ(win("Vandrel Errors", "Owner"), "<none>")
      << "a present but empty section is the empty text, not the default";
  EXPECT_EQ(win("Tool", "Empty"), "") << "written with an empty value";
}

TEST_F(IniRegistryTest, EachEntryNamesItsOwnDirectories) {
  // Directory paths are looked up once per run and kept: each entry must still get the
  // folders its own numbers name, in Win.ini values and in registry names and data.
  EXPECT_TRUE(update("[AddINI]\r\nnbINI=4\r\n0=Dirs,a,[0]\r\n1=Dirs,b,[2]\\x\r\n"
                     "2=Dirs,c,[0];[1]\r\n3=Dirs,d,[4]\r\n"
                     "[Registry]\r\nnbReg=2\r\n0=2,Software\\Dirs,[3],[2]\r\n1=2,Software\\Dirs,n,[0][4]\r\n"));
  auto dir = [&](long n) { return directoryPath(app().script(), app().state(), n); };
  EXPECT_EQ(win("Dirs", "a"), dir(0));
  EXPECT_EQ(win("Dirs", "b"), dir(2) + "\\x");
  EXPECT_EQ(win("Dirs", "c"), dir(0) + ";" + dir(1));
  EXPECT_EQ(win("Dirs", "d"), dir(4));
  EXPECT_NE(dir(0), dir(2));
  EXPECT_EQ(regString(platform::hkey::LocalMachine, "Software\\Dirs", dir(3)), dir(2));
  EXPECT_EQ(regString(platform::hkey::LocalMachine, "Software\\Dirs", "n"), dir(0) + dir(4));
}

TEST_F(IniRegistryTest, IniLoopEndsAtTheFirstEmptyEntry) {
  EXPECT_TRUE(update("[AddINI]\r\nnbINI=2000000000\r\n0=A,k,1\r\n2=A,j,2\r\n"));
  EXPECT_EQ(win("A", "k"), "1");
  EXPECT_EQ(win("A", "j"), "<none>");
}

TEST_F(IniRegistryTest, RegistryRootCodes) {
  struct Case {
    int code;
    platform::HKey root;
  };
  std::string script = "[Registry]\r\nnbReg=6\r\n";
  const std::vector<Case> cases = {{0, platform::hkey::ClassesRoot},
                                   {1, platform::hkey::CurrentUser},
                                   {2, platform::hkey::LocalMachine},
                                   {3, platform::hkey::Users},
                                   {7, platform::hkey::CurrentUser},
                                   {-1, platform::hkey::CurrentUser}};
  for (std::size_t i = 0; i < cases.size(); ++i) {
    script += std::to_string(i) + "=" + std::to_string(cases[i].code) + ",Software\\Tool,Code" +
              std::to_string(i) + ",value " + std::to_string(i) + ",1\r\n";
  }
  EXPECT_TRUE(update(script));
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(regString(cases[i].root, "Software\\Tool", "Code" + std::to_string(i)),
              "value " + std::to_string(i))
        << "code " << cases[i].code;
  }
}

TEST_F(IniRegistryTest, RegistryDefaultsAndExpansion) {
  EXPECT_TRUE(update("[Registry]\r\nnbReg=3\r\n0=2,Software\\[u]\\Paths,Path,[0]\r\n1=\r\n"));
  // The subkey is never expanded; name and data are.
  EXPECT_EQ(regString(platform::hkey::LocalMachine, "Software\\[u]\\Paths", "Path"),
            "C:\\App\\Data");
  EXPECT_EQ(regString(platform::hkey::LocalMachine, "Software\\Ann\\Paths", "Path"), std::nullopt);
  update("[Registry]\r\nnbReg=1\r\n0=2\r\n");
  EXPECT_EQ(regString(platform::hkey::LocalMachine, "Vandrel Errors", "NoEntry"), "NoValue");
}

TEST_F(IniRegistryTest, PlusRaisesTheSharedCountOfAnyPath) {
  EXPECT_TRUE(update("[Registry]\r\nnbReg=3\r\n0=2,Ignored,[0]\\x.dll,[+]\r\n"
                     "1=2,Ignored,[0]\\x.dll,[+]\r\n2=2,Ignored,C:\\Other\\y.dll,[+]\r\n"));
  EXPECT_EQ(sharedCount("C:\\App\\Data\\x.dll"), 2u);
  EXPECT_EQ(sharedCount("C:\\Other\\y.dll"), 1u);
  EXPECT_EQ(regString(platform::hkey::LocalMachine, "Ignored", "C:\\App\\Data\\x.dll"),
            std::nullopt);
}

TEST_F(IniRegistryTest, SharedCountWithoutTheSharedKeyChangesNothing) {
  ASSERT_EQ(machine().registry().deleteKey(platform::hkey::LocalMachine, kSharedDlls),
            platform::error::Success);
  raiseSharedCount(machine().registry(), "C:\\App\\x.dll");
  platform::HKey key = 0;
  EXPECT_NE(machine().registry().openKey(platform::hkey::LocalMachine, kSharedDlls, key),
            platform::error::Success);
}

TEST_F(IniRegistryTest, SharedCountRisesFromWhatIsThereAndRestartsFromBadData) {
  platform::HKey key = 0;
  ASSERT_EQ(machine().registry().openKey(platform::hkey::LocalMachine, kSharedDlls, key),
            platform::error::Success);
  machine().registry().setDword(key, "C:\\a.dll", 41);
  machine().registry().setString(key, "C:\\b.dll", "7");
  machine().registry().setDword(key, "C:\\c.dll", 0xFFFFFFFFu);
  machine().registry().closeKey(key);
  for (const char* path : {"C:\\a.dll", "C:\\b.dll", "C:\\c.dll"}) {
    raiseSharedCount(machine().registry(), path);
  }
  EXPECT_EQ(sharedCount("C:\\a.dll"), 42u);
  EXPECT_EQ(sharedCount("C:\\b.dll"), 1u);
  EXPECT_EQ(sharedCount("C:\\c.dll"), 0xFFFFFFFFu);
}

TEST_F(IniRegistryTest, SharedFilesRecordedInTheScript) {
  sharedFiles = {"C:\\App\\one.dll", "C:\\App\\two.dll", "C:\\App\\one.dll"};
  EXPECT_TRUE(update(""));
  EXPECT_EQ(scriptValue("SharedFiles", "nb"), "3");
  EXPECT_EQ(scriptValue("SharedFiles", "0"), "C:\\App\\one.dll");
  EXPECT_EQ(scriptValue("SharedFiles", "2"), "C:\\App\\one.dll");
  EXPECT_EQ(sharedCount("C:\\App\\one.dll"), 2u);
  EXPECT_EQ(sharedCount("C:\\App\\two.dll"), 1u);
}

TEST_F(IniRegistryTest, WritesAndSharedCountsAreLoggedWithWhatTheyReplaced) {
  platform::HKey key = 0;
  ASSERT_EQ(machine().registry().openKey(platform::hkey::LocalMachine, kSharedDlls, key),
            platform::error::Success);
  machine().registry().setDword(key, "C:\\a.dll", 41);
  machine().registry().closeKey(key);
  machine().profile().writeProfileString("Tool", "Dir", "C:\\Old");
  sharedFiles = {"C:\\a.dll"};
  EXPECT_TRUE(update("[AddINI]\r\nnbINI=2\r\n0=Tool,Dir,[0]\r\n1=Tool,New,x\r\n"
                     "[Registry]\r\nnbReg=3\r\n0=1,Software\\Tool,Dir,[0]\r\n1=1,Software\\Tool,Dir,y\r\n"
                     "2=2,Ignored,C:\\b.dll,[+]\r\n"));
  const char* lines[] = {
      R"({"program":"setup","action":"ini","file":"WIN.INI","section":"Tool","key":"Dir","old":"C:\\Old","value":"C:\\App\\Data","written":"yes"})",
      R"({"program":"setup","action":"ini","file":"WIN.INI","section":"Tool","key":"New","old":null,"value":"x","written":"yes"})",
      R"({"program":"setup","action":"registry","key":"HKEY_CURRENT_USER\\Software\\Tool","name":"Dir","old":null,"value":"C:\\App\\Data","written":"yes"})",
      R"({"program":"setup","action":"registry","key":"HKEY_CURRENT_USER\\Software\\Tool","name":"Dir","old":"C:\\App\\Data","value":"y","written":"yes"})",
      R"({"program":"setup","action":"shared-count","file":"C:\\b.dll","old":null,"value":"1","written":"yes"})",
      R"({"program":"setup","action":"shared-count","file":"C:\\a.dll","old":"41","value":"42","written":"yes"})",
  };
  std::string expected;
  for (const char* line : lines) expected += std::string(line) + "\n";
  EXPECT_EQ(logText(), expected);
}

TEST_F(IniRegistryTest, NoSharedFilesWritesNoSection) {
  EXPECT_TRUE(update(""));
  EXPECT_EQ(scriptValue("SharedFiles", "nb"), "");
}

TEST_F(IniRegistryTest, CancelAfterAnEntryStopsTheRest) {
  ui_.cancelOn = "Registry";  // pressed when the registry text is shown, before entry 0
  ui_.answers = {ui::Answer::Yes};
  EXPECT_FALSE(update("[AddINI]\r\nnbINI=1\r\n0=Tool,Ini,done\r\n"
                      "[Registry]\r\nnbReg=2\r\n0=1,Software\\Tool,First,1\r\n"
                      "1=1,Software\\Tool,Second,2\r\n"));
  EXPECT_EQ(win("Tool", "Ini"), "done");
  EXPECT_EQ(regString(platform::hkey::CurrentUser, "Software\\Tool", "First"), "1");
  EXPECT_EQ(regString(platform::hkey::CurrentUser, "Software\\Tool", "Second"), std::nullopt);
}

}  // namespace
}  // namespace vandrel::setup
