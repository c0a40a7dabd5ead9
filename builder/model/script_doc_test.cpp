// Tests of the document model: defaults, titles, lists, erase rules, labels, summary stamps.
#include "builder/model/script_doc.h"

#include <gtest/gtest.h>

namespace vandrel::builder {
namespace {

CScriptDoc newDoc(std::optional<std::string> user = "ann") {
  CScriptDoc doc([] { return std::uint64_t(1000); });
  doc.onNewDocument(user);
  return doc;
}

EntryKey addDirectory(CScriptDoc& doc, std::string name, int parent = 0) {
  DirectoryRecord d{std::move(name), parent};
  d.key = doc.newKey();
  doc.appendEntry(d);
  return d.key;
}

EntryKey addFile(CScriptDoc& doc, std::string name, EntryKey dir = 0, int disk = 1) {
  FileRecord f;
  f.sourceName = f.destName = std::move(name);
  f.directoryRef = dir;
  f.disk = disk;
  f.key = doc.newKey();
  doc.appendEntry(f);
  return f.key;
}

EntryKey addGroup(CScriptDoc& doc, std::string name) {
  GroupRecord g{std::move(name)};
  g.key = doc.newKey();
  doc.appendEntry(g);
  return g.key;
}

EntryKey addShortcut(CScriptDoc& doc, EntryKey file, EntryKey group, std::string name) {
  ShortcutRecord s{file, group, std::move(name)};
  s.key = doc.newKey();
  doc.appendEntry(s);
  return s.key;
}

TEST(ScriptDoc, NewDocumentHasTheDefaults) {
  CScriptDoc doc = newDoc();
  EXPECT_EQ(doc.settings.regInfo, 1);
  EXPECT_EQ(doc.settings.showLicence, 1);
  EXPECT_EQ(doc.settings.minCpu, 1);
  EXPECT_EQ(doc.settings.minWin, 3);
  EXPECT_EQ(doc.settings.nSyst, 1);
  EXPECT_EQ(doc.settings.ownUnInstall, 0);
  EXPECT_EQ(doc.background.gradient, 1);
  EXPECT_EQ(doc.background.vert, 1);
  EXPECT_EQ(doc.background.top, 0u);
  EXPECT_EQ(doc.background.bottom, 0xff0000u);
  EXPECT_EQ(doc.uninstall.unGroup, -1);
  EXPECT_EQ(doc.uninstall.groupKey, 0u);
  EXPECT_EQ(doc.endOfInstall.reboot, 0);
  for (const EntryKind& kind : kEntryKinds) EXPECT_EQ(doc.count(kind.category), 0) << kind.category;
  EXPECT_EQ(doc.title(), "Untitled Install script");
  EXPECT_EQ(doc.properties.author, "ann");
  EXPECT_EQ(doc.summary.appName, "Corvix v3.0");
  EXPECT_EQ(doc.summary.pageCount, 1);
  EXPECT_EQ(doc.summary.created, 1000u);
  EXPECT_EQ(doc.summary.revision, "0");
}

TEST(ScriptDoc, AuthorIsUnknowWhenTheUserNameCannotBeRead) {
  EXPECT_EQ(newDoc(std::nullopt).properties.author, "Unknow");
  // The name does not fit the 260-character buffer: the call fails.
  EXPECT_EQ(newDoc(std::string(260, 'a')).properties.author, "Unknow");
  EXPECT_EQ(newDoc(std::string(259, 'a')).properties.author, std::string(259, 'a'));
}

TEST(ScriptDoc, TitleFollowsAppNameAndVersion) {
  struct Case { const char* app; const char* ver; const char* title; };
  for (const Case& c : {Case{"", "2.0", "Untitled Install script"},
                        Case{"Tool", "", "Tool Install script"},
                        Case{"Tool", "2.0", "Tool 2.0 Install script"}}) {
    CScriptDoc doc = newDoc();
    doc.settings.appName = c.app;
    doc.settings.ver = c.ver;
    doc.setPathName("/tmp/x.cvx");
    EXPECT_EQ(doc.title(), c.title);
  }
}

TEST(ScriptDoc, FindEraseAndCountWorkByCategory) {
  CScriptDoc doc = newDoc();
  EntryKey a = addDirectory(doc, "a");
  EntryKey b = addDirectory(doc, "b");
  EntryKey c = addDirectory(doc, "c");
  EXPECT_EQ(doc.count(category::Directories), 3);
  EXPECT_EQ(doc.findEntry(category::Directories, b), 1);
  EXPECT_EQ(doc.findEntry(category::Groups, b), -1);
  EXPECT_EQ(doc.findEntry(category::Directories, 0), -1);
  EXPECT_EQ(doc.findEntry(99, a), -1);

  EXPECT_TRUE(doc.eraseEntry(category::Directories, b));
  EXPECT_FALSE(doc.eraseEntry(category::Directories, b));
  EXPECT_EQ(doc.findEntry(category::Directories, c), 1) << "the gap is closed";
  auto ref = doc.entryAt(category::Directories, 1);
  ASSERT_TRUE(ref);
  EXPECT_EQ(std::get<DirectoryRecord*>(*ref)->name, "c");
  EXPECT_FALSE(doc.entryAt(category::Directories, 2));

  doc.eraseEntryAt(category::Directories, 0);
  EXPECT_EQ(doc.findEntry(category::Directories, c), 0);
  doc.setModifiedFlag(false);
  doc.eraseCategory(category::Directories);
  EXPECT_EQ(doc.count(category::Directories), 0);
  EXPECT_TRUE(doc.isModified());
  doc.setModifiedFlag(false);
  doc.eraseCategory(1);  // outside the entry categories: only marks modified
  EXPECT_TRUE(doc.isModified());
}

TEST(ScriptDoc, FindReturnsTheLastOfEqualKeys) {
  CScriptDoc doc = newDoc();
  for (int i = 0; i < 3; ++i) {
    GroupRecord g{"g" + std::to_string(i)};
    g.key = 77;
    doc.appendEntry(g);
  }
  EXPECT_EQ(doc.findEntry(category::Groups, 77), 2);
  doc.eraseEntryAt(category::Groups, 2);
  EXPECT_EQ(doc.findEntry(category::Groups, 77), 1);
}

TEST(ScriptDoc, ErasingADirectoryMovesItsFilesToTheInstallPath) {
  CScriptDoc doc = newDoc();
  EntryKey dir = addDirectory(doc, "Sub", 3);
  EntryKey f1 = addFile(doc, "a.exe", dir);
  EntryKey f2 = addFile(doc, "b.dll", dir);
  EntryKey other = addFile(doc, "c.txt");
  doc.files.findEntry(f1)->predefinedDir = 2;
  EntryKey group = addGroup(doc, "G");
  EntryKey sc = addShortcut(doc, f1, group, "A");

  std::vector<EntryKey> changed = doc.detachReferencesTo(category::Directories, dir);
  EXPECT_EQ(changed, (std::vector<EntryKey>{f1, f2, sc}));
  for (EntryKey f : {f1, f2}) {
    EXPECT_EQ(doc.files.findEntry(f)->directoryRef, 0u);
    EXPECT_EQ(doc.files.findEntry(f)->predefinedDir, 0);
  }
  EXPECT_EQ(doc.label(category::Files, f1), "Disk 1:a.exe copied to [Install]\\a.exe");
  EXPECT_EQ(doc.findEntry(category::Files, other), 2);
}

TEST(ScriptDoc, ErasingAFileOrGroupClearsTheShortcutReference) {
  CScriptDoc doc = newDoc();
  EntryKey file = addFile(doc, "a.exe");
  EntryKey group = addGroup(doc, "Tools");
  EntryKey sc = addShortcut(doc, file, group, "App");
  EXPECT_EQ(doc.label(category::ProgramAdds, sc), "Declare [Install]\\a.exe in group Tools as App");

  EXPECT_EQ(doc.detachReferencesTo(category::Files, file), std::vector<EntryKey>{sc});
  EXPECT_TRUE(doc.eraseEntry(category::Files, file));
  EXPECT_EQ(doc.count(category::ProgramAdds), 1) << "the shortcut stays";
  EXPECT_EQ(doc.shortcuts.at(0).fileRef, 0u);
  EXPECT_EQ(doc.label(category::ProgramAdds, sc), "Declare [File Not Found] in group Tools as App");

  doc.detachReferencesTo(category::Groups, group);
  EXPECT_EQ(doc.label(category::ProgramAdds, sc), "Declare [File Not Found] in group [None] as App");
  // Descriptions are not detached.
  EXPECT_TRUE(doc.detachReferencesTo(category::Descriptions, 5).empty());
}

TEST(ScriptDoc, UninstallSectionRule) {
  CScriptDoc doc = newDoc();
  doc.settings.appName = "Tool  ";
  addGroup(doc, "A");
  EntryKey g = addGroup(doc, "B");
  doc.uninstall.groupKey = g;
  doc.prepareUninstallSection();
  EXPECT_EQ(doc.uninstall.unGroup, 1);
  EXPECT_EQ(doc.uninstall.unDesc, "UnInstall Tool") << "trailing blanks stripped";

  doc.uninstall.unDesc = "Remove";
  doc.eraseEntry(category::Groups, g);
  doc.prepareUninstallSection();
  EXPECT_EQ(doc.uninstall.unGroup, -1) << "the group is gone";
  EXPECT_EQ(doc.uninstall.unDesc, "Remove");
  doc.uninstall.groupKey = 0;
  doc.prepareUninstallSection();
  EXPECT_EQ(doc.uninstall.unGroup, -1);
}

TEST(ScriptDoc, UninstallerGroupSettledForAGeneratedScript) {
  struct Case {
    const char* name;
    int ownUnInstall;
    int groups;         // "A" then "B"
    int chosen;         // 0 none, 1 "A", 2 "B", -1 a group since erased
    int expected;       // the group stored afterwards, as chosen is counted
    bool modified;
  };
  const Case cases[] = {
      {"nothing chosen: the first group", 0, 2, 0, 1, true},
      {"a choice stands", 0, 2, 2, 2, false},
      {"an erased choice: the first group", 0, 2, -1, 1, true},
      {"no group at all", 0, 0, 0, 0, false},
      {"no group left: the stale choice stays", 0, 0, -1, -1, false},
      {"an own uninstaller takes no group", 1, 2, 0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CScriptDoc doc = newDoc();
    doc.settings.appName = "Tool";
    doc.settings.ownUnInstall = c.ownUnInstall;
    std::vector<EntryKey> keys;
    for (int i = 0; i < c.groups; ++i) keys.push_back(addGroup(doc, i == 0 ? "A" : "B"));
    EntryKey erased = addGroup(doc, "Gone");
    doc.eraseEntry(category::Groups, erased);
    auto key = [&](int n) { return n == -1 ? erased : n == 0 ? EntryKey(0) : keys[std::size_t(n - 1)]; };
    doc.uninstall.groupKey = key(c.chosen);
    doc.setModifiedFlag(false);
    if (c.ownUnInstall == 0) {
      EntryKey used = doc.uninstallerGroup();
      EXPECT_EQ(used, c.groups == 0 ? 0 : key(c.expected)) << "what the script uses";
    }
    doc.settleUninstaller();
    EXPECT_EQ(doc.uninstall.groupKey, key(c.expected));
    EXPECT_EQ(doc.isModified(), c.modified);
    EXPECT_EQ(doc.uninstall.unDesc, c.ownUnInstall == 0 ? "UnInstall Tool" : "");
  }
}

TEST(ScriptDoc, NewFileTakesTheHighestDiskInUse) {
  CScriptDoc doc = newDoc();
  EXPECT_EQ(std::get<FileRecord>(doc.newEntry(category::Files)).disk, 1);
  addFile(doc, "a", 0, 1);
  addFile(doc, "b", 0, 3);
  addFile(doc, "c", 0, 2);
  EXPECT_EQ(std::get<FileRecord>(doc.newEntry(category::Files)).disk, 3);
  RegistryRecord reg = std::get<RegistryRecord>(doc.newEntry(category::Registry));
  EXPECT_EQ(reg.root, 0);
  EXPECT_EQ(reg.removal, 1);
}

TEST(ScriptDoc, Labels) {
  CScriptDoc doc = newDoc();
  EntryKey dir = addDirectory(doc, "App", 2);
  FileRecord packed;
  packed.sourceName = "TOOL.EX_";
  packed.destName = "tool.exe";
  packed.disk = 2;
  packed.decompress = 1;
  packed.directoryRef = dir;
  FileRecord windows;
  windows.sourceName = windows.destName = "w.ini";
  windows.predefinedDir = 3;
  struct Case { Entry entry; const char* label; };
  const Case cases[] = {
      {DirectoryRecord{"App", 1}, "Create [Root]\\App"},
      {DescriptionRecord{"Copying, please wait"}, "Copying, please wait"},
      {GroupRecord{"Tools"}, "Create group Tools"},
      {IniRecord{"Ext", "txt", ""}, "Ext section: add txt=NULL"},
      {IniRecord{"Ext", "txt", "[0]\\a.exe"}, "Ext section: add txt=[0]\\a.exe"},
      {RegistryRecord{2, "Software\\Co", "", "x"}, "[HKEY_LOCAL_MACHINE]\\Software\\Co subkey: add {Default}=x"},
      {RegistryRecord{1, "K", "Name", ""}, "[HKEY_CURRENT_USER]\\K subkey: add Name="},
      {packed, "Disk 2:TOOL.EX_ decompressed to [System]\\App\\tool.exe"},
      {windows, "Disk 1:w.ini copied to [Windows]\\w.ini"},
      {ShortcutRecord{0, 0, "Go"}, "Declare [File Not Found] in group [None] as Go"},
      {MessageRecord{"disk2.txt", 2}, "Disk 2 message is file disk2.txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(doc.label(c.entry), c.label);
}

TEST(ScriptDoc, SaveStampUpdatesTheSummaryRecord) {
  std::uint64_t now = 5000;
  CScriptDoc doc([&now] { return now; });
  doc.onNewDocument("ann");
  now = 8000;
  doc.stampSave();
  EXPECT_EQ(doc.summary.revision, "1");
  EXPECT_EQ(doc.summary.title, "Untitled Install script");
  EXPECT_EQ(doc.summary.lastAuthor, "ann");
  EXPECT_EQ(doc.summary.editingTime, 3000u);
  doc.settings.appName = "App";
  doc.settings.ver = "1.2";
  now = 8500;
  doc.stampSave();
  EXPECT_EQ(doc.summary.revision, "2");
  EXPECT_EQ(doc.summary.title, "App 1.2");
  EXPECT_EQ(doc.summary.editingTime, 3500u) << "the clock restarted at the first save";
}

}  // namespace
}  // namespace vandrel::builder
