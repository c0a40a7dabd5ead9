// Tests of the steps for shortcuts and groups, application folders, win.ini and registry.
#include <gtest/gtest.h>

#include "uninstall/removal_steps.h"
#include "uninstall/testing/uninstall_fixture.h"

namespace vandrel::uninstall {
namespace {

using platform::hkey::CurrentUser;
using platform::hkey::LocalMachine;
using testing::UninstallFixture;
using ui::Answer;

const char* kPrograms = "C:\\WINDOWS\\Start Menu\\Programs";

TEST(RemoveLinksAndGroups, DeletesLinksThenEmptyGroupFolders) {
  UninstallFixture f;
  std::string group = std::string(kPrograms) + "\\Demo";
  std::string busy = std::string(kPrograms) + "\\Shared Group";
  f.script("[AddedLinks]\nnb=3\n0=" + group + "\\Demo.lnk\n1=" + busy +
           "\\Tool.lnk\n2=C:\\WINDOWS\\Desktop\\Demo.lnk\n[AddedFolders]\nnb=2\n0=" + group +
           "\n1=" + busy + "\n");
  f.put(group + "\\Demo.lnk");
  f.put(busy + "\\Tool.lnk");
  f.put(busy + "\\Other program.lnk");
  f.put("C:\\WINDOWS\\Desktop\\Demo.lnk");
  Removal& app = f.prepared();

  EXPECT_TRUE(RemoveLinksAndGroups(app));
  EXPECT_FALSE(f.exists(group));
  EXPECT_FALSE(f.exists("C:\\WINDOWS\\Desktop\\Demo.lnk"));
  EXPECT_FALSE(f.exists(busy + "\\Tool.lnk"));
  EXPECT_TRUE(f.exists(busy + "\\Other program.lnk"));  // a folder still in use stays
  EXPECT_EQ(app.tally.done, 5);
}

TEST(RemoveLinksAndGroups, LinksGoAlsoWhenNoGroupFolderWasAdded) {
  UninstallFixture f;
  f.script("[AddedLinks]\nnb=1\n0=C:\\WINDOWS\\Desktop\\Demo.lnk\n");
  f.put("C:\\WINDOWS\\Desktop\\Demo.lnk");
  EXPECT_TRUE(RemoveLinksAndGroups(f.prepared()));
  EXPECT_FALSE(f.exists("C:\\WINDOWS\\Desktop\\Demo.lnk"));
  EXPECT_TRUE(f.exists("C:\\WINDOWS\\Desktop"));
}

TEST(RemoveAppFolders, FewerThanThreeEntriesAsk) {
  struct Case {
    int nbDir;
    std::optional<Answer> answer;
    bool result;
  };
  for (Case c : {Case{3, std::nullopt, true}, Case{2, Answer::Yes, true}, Case{2, Answer::No, false},
                 Case{0, Answer::No, false}}) {
    SCOPED_TRACE(c.nbDir);
    UninstallFixture f;
    f.script("[Directories]\nnbDir=" + std::to_string(c.nbDir) + "\n0=,0,0,\n1=,1,0,\n2=,2,0,\n");
    if (c.answer) f.ui.answers = {*c.answer};
    Removal& app = f.prepared();
    EXPECT_EQ(RemoveAppFolders(app), c.result);
    EXPECT_EQ(f.ui.questions().size(), c.answer ? 1u : 0u);
    EXPECT_TRUE(f.exists("C:\\App"));  // never removed here with three entries or fewer
    EXPECT_EQ(app.tally.done, 0);
  }
}

TEST(RemoveAppFolders, RemovesAuthorFoldersButNeverTheLastThree) {
  UninstallFixture f;
  // Entries 3 to 5 stand where the drive root, system and Windows folders are; here they
  // name empty folders, which must stay all the same.
  f.script(
      "[Directories]\nnbDir=6\n0=Data,0,0,\n1=Data\\Logs,0,0,\n2=,0,0,\n3=Keep1,0,0,\n"
      "4=Keep2,0,0,\n5=Keep3,0,0,\n");
  for (const char* folder : {"C:\\App\\Data\\Logs", "C:\\App\\Keep1", "C:\\App\\Keep2", "C:\\App\\Keep3"}) {
    f.folder(folder);
  }
  Removal& app = f.prepared();
  EXPECT_TRUE(RemoveAppFolders(app));
  EXPECT_FALSE(f.exists("C:\\App\\Data"));  // Logs (entry 1) went before Data (entry 0)
  EXPECT_TRUE(f.exists("C:\\App\\Keep1"));
  EXPECT_TRUE(f.exists("C:\\App\\Keep2"));
  EXPECT_TRUE(f.exists("C:\\App\\Keep3"));
  EXPECT_EQ(app.tally.done, 3);
}

TEST(RemoveAppFolders, WithoutAuthorFoldersOnlyTheFirstEntryIsTried) {
  UninstallFixture f;
  // Entry 0 stands where the installation folder's own entry is.
  f.script("[Directories]\nnbDir=4\n0=Own,0,0,\n1=K1,0,0,\n2=K2,0,0,\n3=K3,0,0,\n");
  for (const char* folder : {"C:\\App\\Own", "C:\\App\\K1", "C:\\App\\K2", "C:\\App\\K3"}) {
    f.folder(folder);
  }
  Removal& app = f.prepared();
  EXPECT_TRUE(RemoveAppFolders(app));
  EXPECT_FALSE(f.exists("C:\\App\\Own"));
  EXPECT_TRUE(f.exists("C:\\App\\K1"));
  EXPECT_EQ(app.tally.done, 1);
}

TEST(RemoveAppFolders, AnInstallationFolderThatWasThereBeforeStays) {
  UninstallFixture f;
  // The user installed straight into C:\App, which was there before: the setup kept its name.
  f.script("[Directories]\nnbDir=5\n0=Data,0,0,\n1=,0,0,\n2=,1,0,\n3=,2,0,\n4=,3,0,\n"
           "[KeptFolders]\nnb=1\n0=c:\\app\n");
  f.folder("C:\\App\\Data");
  Removal& app = f.prepared();
  EXPECT_TRUE(app.keptFolder("C:\\App"));
  EXPECT_FALSE(app.keptFolder("C:\\App\\Data"));
  EXPECT_TRUE(RemoveAppFolders(app));
  EXPECT_FALSE(f.exists("C:\\App\\Data"));
  EXPECT_TRUE(f.exists("C:\\App"));
  EXPECT_EQ(app.tally.done, 2);
}

TEST(RemoveIniEntries, DeletesTheNamedKeysOnly) {
  UninstallFixture f;
  platform::Profile& winIni = f.machine().profile();
  winIni.writeProfileString("Demo", "Path", "C:\\App");
  winIni.writeProfileString("Demo", "Other", "kept");
  winIni.writeProfileString("None", "None", "default names");
  f.script("[AddINI]\nnbINI=4\n0=Demo,Path,C:\\App\n1=\n2=Demo,,x\n3=\n");
  f.machine().profile().writeString("C:\\App\\Script.vrx", "AddINI", "3", "None");
  Removal& app = f.prepared();

  EXPECT_TRUE(RemoveIniEntries(app));
  EXPECT_EQ(winIni.getProfileString("Demo", "Path", "gone", 260), "gone");
  EXPECT_EQ(winIni.getProfileString("Demo", "Other", "gone", 260), "kept");
  // "None" alone: the key defaults to "None" as well.
  EXPECT_EQ(winIni.getProfileString("None", "None", "gone", 260), "gone");
  EXPECT_EQ(app.tally.done, 4);
}

TEST(RemoveRegistryEntries, ValuesThenKeysOfTheFourRootsOnly) {
  UninstallFixture f;
  f.setString(LocalMachine, "Software\\Demo", "Path", "C:\\App");
  f.setString(LocalMachine, "Software\\Demo", "Kept", "x");
  f.setString(CurrentUser, "Software\\Demo\\Settings", "Size", "1");
  f.setString(CurrentUser, "Software\\Other", "V", "1");
  f.setString(CurrentUser, "Software\\Dummy", "Dummy", "1");
  f.script(
      "[Registry]\nnbReg=5\n0=2,Software\\Demo,Path,[0],1\n1=1,Software\\Demo,,,0\n"
      "2=7,Software\\Other,V,,1\n3=\n4=1,Software\\Dummy\n");
  Removal& app = f.prepared();

  EXPECT_TRUE(RemoveRegistryEntries(app));
  EXPECT_FALSE(f.hasValue(LocalMachine, "Software\\Demo", "Path"));
  EXPECT_TRUE(f.hasValue(LocalMachine, "Software\\Demo", "Kept"));
  EXPECT_FALSE(f.hasKey(CurrentUser, "Software\\Demo"));       // with its subkey, on 98
  EXPECT_TRUE(f.hasValue(CurrentUser, "Software\\Other", "V"));  // root 7 is no root here
  EXPECT_FALSE(f.hasValue(CurrentUser, "Software\\Dummy", "Dummy"));
  EXPECT_EQ(app.tally.done, 5);  // the first pass counts every entry, the second none
}

TEST(RemoveRegistryEntries, KeyWithSubkeysGoesOnWindows98AndStaysOnNT) {
  struct Case {
    platform::emulated::Preset preset;
    bool parentGone;
  };
  for (Case c : {Case{platform::emulated::Preset::Win98, true},
                 Case{platform::emulated::Preset::NT4, false}}) {
    UninstallFixture f(c.preset);
    f.setString(LocalMachine, "Software\\Demo\\Inner", "V", "1");
    f.setString(LocalMachine, "Software\\Demo\\Extra", "W", "1");
    f.script("[Registry]\nnbReg=2\n0=2,Software\\Demo,,,0\n1=2,Software\\Demo\\Inner,,,0\n");
    EXPECT_TRUE(RemoveRegistryEntries(f.prepared()));
    EXPECT_EQ(!f.hasKey(LocalMachine, "Software\\Demo"), c.parentGone);
    EXPECT_FALSE(f.hasKey(LocalMachine, "Software\\Demo\\Inner"));
    EXPECT_EQ(!f.hasKey(LocalMachine, "Software\\Demo\\Extra"), c.parentGone);
  }
}

TEST(RemoveRegistryEntries, EmptySubkeyNeverTakesARootAway) {
  UninstallFixture f;
  f.setString(LocalMachine, "Software\\Demo", "V", "1");
  f.script("[Registry]\nnbReg=2\n0=2,,,,0\n1=2,\\,,,0\n");
  EXPECT_TRUE(RemoveRegistryEntries(f.prepared()));
  EXPECT_TRUE(f.hasValue(LocalMachine, "Software\\Demo", "V"));
}

TEST(EntrySteps, AbsurdCountsEndQuicklyAndCountEveryItem) {
  UninstallFixture f;
  f.machine().profile().writeProfileString("Demo", "Path", "x");
  f.script(
      "[AddINI]\nnbINI=2000000000\n0=Demo,Path\n[Registry]\nnbReg=2000000000\n"
      "[AddedLinks]\nnb=2000000000\n[AddedFolders]\nnb=2000000000\n"
      "[Directories]\nnbDir=2000000000\n");
  Removal& app = f.prepared();
  EXPECT_TRUE(RemoveIniEntries(app));
  EXPECT_TRUE(RemoveRegistryEntries(app));
  EXPECT_TRUE(RemoveLinksAndGroups(app));
  EXPECT_TRUE(RemoveAppFolders(app));
  EXPECT_EQ(f.machine().profile().getProfileString("Demo", "Path", "gone", 260), "gone");
  EXPECT_EQ(app.tally.done, 5 * 2000000000LL - 3);
}

}  // namespace
}  // namespace vandrel::uninstall
