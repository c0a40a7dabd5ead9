// Tests of the assistants: each one's checks and messages, and the entries it adds in order.
#include "builder/assistants/assistants.h"

#include <gtest/gtest.h>

#include "builder/pages/pages_fixture_test.h"
#include "builder/strings/string_ids.h"

namespace vandrel::builder::assistants {
namespace {

// A registry entry as a comparable tuple: root, removal, subkey, entry, value.
using Reg = std::tuple<int, int, std::string, std::string, std::string>;

struct Assistants : ::testing::Test, testing::DocFixture {
  BuilderPreferences prefs;
  test::FakeInteraction ui;
  std::vector<Reg> registry() const {
    std::vector<Reg> out;
    for (const RegistryRecord& r : doc.registryEntries) {
      out.emplace_back(r.root, r.removal, r.subkey, r.entry, r.value);
    }
    return out;
  }
};

TEST_F(Assistants, RunTimeReferencesNumberDirectoriesAsTheScriptDoes) {
  EntryKey zeta = addDir("Zeta");
  EntryKey alpha = addDir("Alpha");  // list order Zeta, Alpha; tree order Alpha, Zeta
  FileRecord inZeta;
  inZeta.destName = "z.exe";
  inZeta.directoryRef = zeta;
  EXPECT_EQ(runtimeReference(*tree, inZeta), "[1]\\z.exe");
  inZeta.directoryRef = alpha;
  EXPECT_EQ(runtimeReference(*tree, inZeta), "[0]\\z.exe");
  FileRecord system;
  system.destName = "s.dll";
  system.predefinedDir = 2;
  EXPECT_EQ(runtimeReference(*tree, system), "[4]\\s.dll") << "two entries, then predefined 2";
  system.directoryRef = 999;  // a reference that no longer resolves
  system.predefinedDir = 0;
  EXPECT_EQ(runtimeDirectory(*tree, system), "[2]");
}

TEST_F(Assistants, AddRegistryEntryInsertsItemAndRecord) {
  EntryKey key = AddRegistryEntry(*tree, 2, 0, "Software\\Co", "", "x");
  ASSERT_EQ(doc.registryEntries.count(), 1);
  EXPECT_EQ(doc.registryEntries.at(0).key, key);
  EXPECT_EQ(labels(category::Registry),
            (std::vector<std::string>{"[HKEY_LOCAL_MACHINE]\\Software\\Co subkey: add {Default}=x"}));
  EXPECT_EQ(assistantTitle(3), "Path registration assistant");
}

TEST_F(Assistants, ExtensionChecks) {
  struct Case {
    const char* ext;
    const char* type;
    bool reg, ini;
    const char* path;
    unsigned message;  // 0: accepted
  };
  const Case cases[] = {
      {"", "T", true, false, "p.exe", sid::AssistantExtensionMissing},
      {"txt", "T", false, false, "p.exe", sid::AssistantExtensionMissing},
      {"txt", "T", true, false, "", sid::AssistantExtensionMissing},
      {"t t", "T", true, false, "p.exe", sid::AssistantNoBlanks},
      {"txt", "My Type", true, false, "p.exe", sid::AssistantNoBlanks},
      {"txt", "", true, false, "p.exe", sid::AssistantNoBlanks},
      {"txt", "My Type", false, true, "p.exe", 0},
      {"txt", "", false, true, "p.exe", 0},
      {"txt", "TxtFile", true, true, "p.exe", 0},
  };
  for (const Case& c : cases) {
    ExtensionAssistant a;
    a.extension = c.ext;
    a.fileType = c.type;
    a.useRegistry = c.reg;
    a.useIni = c.ini;
    a.programPath = c.path;
    Check check = a.check();
    EXPECT_EQ(check.ok() ? 0u : check.message, c.message) << c.ext << "|" << c.type;
  }
}

TEST_F(Assistants, ExtensionInRegistryWithNewDocument) {
  ExtensionAssistant a;
  a.extension = "abc";
  a.fileType = "AbcFile";
  a.useRegistry = true;
  a.programPath = "[0]\\abc.exe";
  a.newDocument = true;
  a.iconIndex = 1;
  ASSERT_TRUE(a.check().ok());
  std::vector<EntryKey> added = a.ok(*tree, prefs);
  EXPECT_EQ(added.size(), 4u);
  EXPECT_EQ(registry(), (std::vector<Reg>{{0, 0, ".abc", "", "AbcFile"},
                                          {0, 0, "AbcFile", "", "AbcFile"},
                                          {0, 1, "AbcFile\\DefaultIcon", "", "[0]\\abc.exe,1"},
                                          {0, 1, ".abc\\ShellNew", "NullFile", ""}}));
  EXPECT_EQ(doc.iniEntries.count(), 0);
  EXPECT_TRUE(doc.isModified());
}

TEST_F(Assistants, ExtensionInWinIniOnly) {
  ExtensionAssistant a;
  a.extension = "abc";
  a.fileType = "Not Checked Here";
  a.useIni = true;
  a.programPath = "C:\\app\\abc.exe";
  ASSERT_TRUE(a.check().ok());
  a.ok(*tree, prefs);
  EXPECT_EQ(doc.registryEntries.count(), 0);
  ASSERT_EQ(doc.iniEntries.count(), 1);
  const IniRecord& ini = doc.iniEntries.at(0);
  EXPECT_EQ(ini.section, "extensions");
  EXPECT_EQ(ini.entry, "ABC");
  EXPECT_EQ(ini.value, "C:\\app\\abc.exe ^.ABC");
  EXPECT_EQ(labels(category::WinIni).size(), 1u);
}

TEST_F(Assistants, AutostartChecksAndEntries) {
  EntryKey dir = addDir("App");
  EntryKey tool = addFile("tool.exe", dir);
  AutostartAssistant typed(*tree);
  typed.program.text = "C:\\x\\run.exe";
  typed.addShortcut = true;
  EXPECT_EQ(typed.check().message, sid::AssistantFileFirst);
  typed.addShortcut = false;
  typed.title = "";
  EXPECT_EQ(typed.check().kind, Check::Kind::Silent);
  typed.title = "Runner";
  ASSERT_TRUE(typed.check().ok());
  typed.eachTime = false;
  typed.ok(*tree, prefs);

  AutostartAssistant chosen(*tree);
  ASSERT_EQ(chosen.files.size(), 1u);
  EXPECT_EQ(chosen.files[0].text, "[Install]\\App\\tool.exe");
  chosen.program.file = 0;
  chosen.addShortcut = true;
  EXPECT_EQ(chosen.title, "Application Name");
  ASSERT_TRUE(chosen.check().ok());
  chosen.ok(*tree, prefs);

  EXPECT_EQ(registry(),
            (std::vector<Reg>{
                {2, 1, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", "Runner", "C:\\x\\run.exe"},
                {2, 1, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Application Name", "[0]\\tool.exe"}}));
  ASSERT_EQ(doc.shortcuts.count(), 1);
  EXPECT_EQ(doc.shortcuts.at(0).fileRef, tool);
  EXPECT_EQ(doc.shortcuts.at(0).groupRef, 0u);
  EXPECT_EQ(labels(category::ProgramAdds),
            (std::vector<std::string>{"Declare [Install]\\App\\tool.exe in group [None] as Application Name"}));
}

TEST_F(Assistants, PathRegistrationAddsAtEachPress) {
  addFile("tool.exe", 0, 1, 3);
  PathAssistant a(*tree);
  EXPECT_FALSE(a.addNow(ui));
  EXPECT_EQ(ui.beeps, 1);
  a.selected = 0;
  EXPECT_TRUE(a.addNow(ui));
  EXPECT_TRUE(a.addNow(ui));
  std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\tool.exe";
  Reg value{2, 0, key, "", "[3]\\tool.exe"};
  Reg path{2, 1, key, "Path", "[3]"};
  EXPECT_EQ(registry(), (std::vector<Reg>{value, path, value, path}));
  EXPECT_TRUE(doc.isModified());
  a.close(prefs);  // Cancel as well as OK: the entries stay
  EXPECT_EQ(doc.registryEntries.count(), 4);
}

TEST_F(Assistants, ProductRegistrationChecks) {
  struct Case {
    const char* company;
    bool lm, cu, user, serial;
    Check::Kind kind;
    unsigned message;
  };
  for (const Case& c :
       {Case{"", true, false, false, false, Check::Kind::Beep, 0},
        Case{"Co", false, false, false, false, Check::Kind::Message, sid::AssistantPickRoot},
        Case{"Co", false, true, true, false, Check::Kind::Message, sid::AssistantLocalMachine},
        Case{"Co", false, true, false, true, Check::Kind::Message, sid::AssistantLocalMachine},
        Case{"Co", false, true, false, false, Check::Kind::Ok, 0}}) {
    doc.settings.appName = "App";
    ProductAssistant a(doc);
    a.company = c.company;
    a.localMachine = c.lm;
    a.currentUser = c.cu;
    a.userInfo = c.user;
    a.serial = c.serial;
    EXPECT_EQ(a.check().kind, c.kind) << c.company << c.lm << c.cu << c.user << c.serial;
    EXPECT_EQ(a.check().message, c.message);
  }
  ProductAssistant noName(doc);
  noName.company = "Co";
  noName.product = "";
  EXPECT_EQ(noName.check().kind, Check::Kind::Beep);
}

TEST_F(Assistants, ProductRegistrationEntries) {
  doc.settings.appName = "Tool";
  doc.settings.ver = "2.0";
  ProductAssistant a(doc);
  EXPECT_EQ(a.product, "Tool");
  EXPECT_EQ(a.version, "2.0");
  a.company = "Co";
  a.currentUser = true;
  a.serial = true;
  ASSERT_TRUE(a.check().ok());
  a.ok(*tree, prefs);
  std::string v = "Software\\Co\\Tool\\2.0";
  EXPECT_EQ(registry(), (std::vector<Reg>{{2, 0, "Software\\Co", "", ""},
                                          {2, 1, "Software\\Co\\Tool", "", ""},
                                          {2, 1, v, "", ""},
                                          {2, 1, v, "RegistredUser", "[u]"},
                                          {2, 1, v, "Company", "[c]"},
                                          {2, 1, v, "LicenseKey", "[s]"},
                                          {1, 0, "Software\\Co", "", ""},
                                          {1, 1, "Software\\Co\\Tool", "", ""},
                                          {1, 1, v, "", ""}}));
}

TEST_F(Assistants, ProductRegistrationWithoutVersion) {
  ProductAssistant a(doc);
  a.company = "Co";
  a.product = "Tool";
  ASSERT_TRUE(a.check().ok());
  a.ok(*tree, prefs);
  EXPECT_EQ(registry(), (std::vector<Reg>{{2, 0, "Software\\Co", "", ""},
                                          {2, 1, "Software\\Co\\Tool", "", ""},
                                          {2, 1, "Software\\Co\\Tool\\", "RegistredUser", "[u]"},
                                          {2, 1, "Software\\Co\\Tool\\", "Company", "[c]"}}));
}

TEST_F(Assistants, DesktopEntriesInOrder) {
  DesktopAssistant empty(*tree);
  empty.ok(*tree, prefs);
  EXPECT_EQ(doc.registryEntries.count(), 0) << "everything empty and cleared adds nothing";

  addFile("saver.scr", 0, 1, 2);
  DesktopAssistant a(*tree);
  a.wallpaper.text = "[3]\\back.bmp";
  a.screenSaver.file = 0;
  a.delay = 300;
  a.activate = a.secure = a.dragFullWindows = a.tile = true;
  a.ok(*tree, prefs);
  std::string d = "Control Panel\\Desktop";
  EXPECT_EQ(registry(), (std::vector<Reg>{{1, 1, d, "Wallpaper", "[3]\\back.bmp"},
                                          {1, 1, d, "TileWallpaper", "1"},
                                          {1, 1, d, "ScreenSaveActive", "1"},
                                          {1, 1, d, "ScreenSaverIsSecure", "1"},
                                          {1, 1, d, "ScreenSaveTimeOut", "300"},
                                          {1, 1, d, "SCRNSAVE.EXE", "[2]\\saver.scr"},
                                          {1, 1, d, "DragFullWindows", "1"}}));
}

// Records the items scrolled into view.
struct ScrollRecorder : TreeObserver {
  std::vector<ItemHandle> scrolled;
  void itemInserted(ItemHandle) override {}
  void itemRemoved(ItemHandle) override {}
  void itemChanged(ItemHandle) override {}
  void childrenReordered(ItemHandle) override {}
  void scrollIntoView(ItemHandle item) override { scrolled.push_back(item); }
};

TEST_F(Assistants, SortsAndScrollsToTheFirstAddedItem) {
  AddRegistryEntry(*tree, 3, 1, "S", "", "v");  // an item that sorts after the new ones
  ScrollRecorder recorder;
  tree->setObserver(&recorder);
  ExtensionAssistant a;
  a.extension = "zz";
  a.fileType = "ZFile";
  a.useRegistry = true;
  a.programPath = "p";
  std::vector<EntryKey> added = a.ok(*tree, prefs);
  EXPECT_EQ(recorder.scrolled, (std::vector<ItemHandle>{added.front()}));
  std::vector<std::string> shown = labels(category::Registry);
  EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end(), labelLess));
  EXPECT_EQ(shown.back(), "[HKEY_USERS]\\S subkey: add {Default}=v");

  prefs.ensureVisible = false;
  a.ok(*tree, prefs);
  EXPECT_EQ(recorder.scrolled.size(), 1u);
  tree->setObserver(nullptr);
}

}  // namespace
}  // namespace vandrel::builder::assistants
