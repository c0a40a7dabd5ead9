// Tests of the directory, description, group, Win.ini, registry, shortcut and message pages:
// what each refuses, what it writes back, and how its lists map back to entries.
#include "builder/pages/entry_pages.h"

#include <gtest/gtest.h>

#include "builder/pages/pages_fixture_test.h"

namespace vandrel::builder::pages {
namespace {

using Kind = Check::Kind;

TEST(DirectoryPage, NewDirectoryStartsFromTheProvisionalLabel) {
  CDirPropDlg page;
  page.fillNew("New Directory");
  EXPECT_EQ(page.name, "New Directory");
  EXPECT_EQ(page.description, "New Directory");
  EXPECT_EQ(page.parent, 0);
  EXPECT_TRUE(page.optional);
}

TEST(DirectoryPage, NameIsTrimmedAndRequired) {
  CDirPropDlg page;
  page.fill(DirectoryRecord{"Old", 1, 0, "d", 7});
  page.name = "   ";
  EXPECT_EQ(page.check().kind, Kind::Beep);
  page.name = "  Tools ";
  page.parent = 3;
  page.optional = true;
  ASSERT_TRUE(page.check().ok());
  DirectoryRecord dir{"Old", 1, 0, "d", 7};
  page.apply(dir);
  EXPECT_EQ(dir.name, "Tools ");  // leading blanks only
  EXPECT_EQ(dir.parent, 3);
  EXPECT_EQ(dir.optional, 1);
  EXPECT_EQ(dir.key, 7u);
}

TEST(TextPages, BlankTextsAreRefusedAndLeadingBlanksDropped) {
  CSetDescDlg desc;
  desc.text = " \t ";
  EXPECT_EQ(desc.check().kind, Kind::Beep);
  desc.text = "  Copying the help";
  ASSERT_TRUE(desc.check().ok());
  DescriptionRecord d;
  desc.apply(d);
  EXPECT_EQ(d.text, "Copying the help");

  CGrpPropDlg group;
  group.name = "";
  EXPECT_EQ(group.check().kind, Kind::Beep);
  group.name = " [startmenu]";  // run-time names and lengths are not checked
  ASSERT_TRUE(group.check().ok());
  GroupRecord g;
  group.apply(g);
  EXPECT_EQ(g.name, "[startmenu]");
}

TEST(WinIniPage, SectionAndEntryRequiredValueOptional) {
  struct Case {
    const char* section;
    const char* entry;
    const char* value;
    bool ok;
  };
  for (const Case& c : {Case{"Ext", "Key", "", true}, Case{" ", "Key", "v", false},
                        Case{"Ext", "  ", "v", false}, Case{" Ext", " Key", "  [0]\\a.exe", true}}) {
    CINIPropDlg page;
    page.section = c.section;
    page.entry = c.entry;
    page.value = c.value;
    EXPECT_EQ(page.check().ok(), c.ok) << c.section << "|" << c.entry;
  }
  CINIPropDlg page;
  page.section = " Ext";
  page.entry = " Key";
  page.value = "  [0]\\a.exe";
  IniRecord ini;
  page.apply(ini);
  EXPECT_EQ(ini.section, "Ext");
  EXPECT_EQ(ini.entry, "Key");
  EXPECT_EQ(ini.value, "[0]\\a.exe");
}

TEST(RegistryPage, MainKeyNamesComparedWithoutCase) {
  struct Case {
    const char* typed;
    int root;
  };
  for (const Case& c : {Case{"HKEY_CLASSES_ROOT", 0}, Case{"hkey_local_machine", 2},
                        Case{"  Hkey_Users", 3}, Case{"HKEY_LOCAL", -1}, Case{"HKLM", -1},
                        Case{"", -1}, Case{"HKEY_CURRENT_USERS", -1}}) {
    EXPECT_EQ(CRegPropDlg::rootOf(c.typed), c.root) << c.typed;
    CRegPropDlg page;
    page.mainKey = c.typed;
    page.subkey = "Software\\Co";
    page.value = "1";
    EXPECT_EQ(page.check().ok(), c.root >= 0) << c.typed;
  }
  EXPECT_EQ(CRegPropDlg::mainKeyChoices().size(), 4u);
}

TEST(RegistryPage, SubkeyAndValueRequiredEntryMayBeEmpty) {
  CRegPropDlg page;
  page.fill(RegistryRecord{});
  EXPECT_EQ(page.mainKey, "HKEY_CLASSES_ROOT");
  EXPECT_FALSE(page.eraseWholeKey);  // a new record stores 1: the box is cleared
  EXPECT_EQ(page.check().kind, Kind::Beep);
  page.subkey = "Software\\Co";
  EXPECT_EQ(page.check().kind, Kind::Beep);  // the value is still missing
  page.value = " 42";
  ASSERT_TRUE(page.check().ok());

  testing::DocFixture f;
  RegistryRecord reg;
  page.mainKey = "hkey_local_machine";
  page.eraseWholeKey = true;
  page.apply(reg);
  EXPECT_EQ(reg.root, 2);
  EXPECT_EQ(reg.removal, 0);
  EXPECT_EQ(reg.value, "42");
  EXPECT_EQ(f.doc.label(Entry(reg)),
            "[HKEY_LOCAL_MACHINE]\\Software\\Co subkey: add {Default}=42");

  CRegPropDlg back;
  back.fill(reg);
  EXPECT_TRUE(back.eraseWholeKey);
  back.eraseWholeKey = false;
  back.apply(reg);
  EXPECT_EQ(reg.removal, 1);
}

TEST(ShortcutPage, ListsFollowTheTreeAndMapBackThroughKeys) {
  testing::DocFixture f;
  // Appended in an order that differs from the label order of the tree.
  EntryKey zeta = f.addFile("zeta.exe");
  EntryKey alpha = f.addFile("alpha.exe");
  EntryKey tools = f.addGroup("Tools");
  EntryKey apps = f.addGroup("Apps");

  CAddGroupDlg page(*f.tree);
  ASSERT_EQ(page.files.size(), 2u);
  EXPECT_EQ(page.files[0].text, "[Install]\\alpha.exe");
  EXPECT_EQ(page.files[1].key, zeta);
  EXPECT_EQ(page.groups[0].key, apps);

  ShortcutRecord shortcut;
  shortcut.fileRef = zeta;
  shortcut.groupRef = tools;
  shortcut.name = "Zeta";
  page.fill(shortcut);
  EXPECT_EQ(page.file, 1);
  EXPECT_EQ(page.group, 1);

  page.file = 0;
  page.group = 0;
  page.commandLine = "[0]\\readme.txt";
  ASSERT_TRUE(page.check().ok());
  page.apply(shortcut);
  EXPECT_EQ(shortcut.fileRef, alpha);
  EXPECT_EQ(shortcut.groupRef, apps);
  EXPECT_EQ(shortcut.commandLine, "[0]\\readme.txt");
}

TEST(ShortcutPage, FileGroupAndNameRequired) {
  testing::DocFixture f;
  f.addFile("a.exe");
  f.addGroup("G");
  CAddGroupDlg page(*f.tree);
  page.fill(ShortcutRecord{});
  EXPECT_EQ(page.file, -1);
  page.name = "A";
  page.group = 0;
  EXPECT_EQ(page.check().kind, Kind::Beep);
  page.file = 0;
  page.group = -1;
  EXPECT_EQ(page.check().kind, Kind::Beep);
  page.group = 0;
  page.name = "";
  EXPECT_EQ(page.check().kind, Kind::Beep);
  page.name = "A";
  EXPECT_TRUE(page.check().ok());
  page.file = 5;  // beyond the list: no selection
  EXPECT_EQ(page.check().kind, Kind::Beep);
}

TEST(MessagePage, NewMessageTakesTheHighestFileDisk) {
  testing::DocFixture f;
  CMsgPropDlg page;
  page.fillNew(f.doc);
  EXPECT_EQ(page.disk, 0);
  f.addFile("a", 0, 1);
  f.addFile("b", 0, 3);
  f.addFile("c", 0, 2);
  page.fillNew(f.doc);
  EXPECT_EQ(page.disk, 3);
  EXPECT_TRUE(page.check().ok());

  page.browse("Z:\\src\\msgs\\disk2.txt");
  EXPECT_EQ(page.destName, "disk2.txt");
  EXPECT_EQ(page.filePath, "Z:\\src\\msgs\\disk2.txt");
  EXPECT_EQ(page.browseFolder(), "Z:\\src\\msgs");
  MessageRecord m;
  page.apply(m);
  EXPECT_EQ(m.disk, 3);
  EXPECT_EQ(m.destName, "disk2.txt");
}

}  // namespace
}  // namespace vandrel::builder::pages
