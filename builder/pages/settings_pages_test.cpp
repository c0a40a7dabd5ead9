// Tests of the settings sheet (General, System, UnInstall) and the background page: checks,
// write-back, the title, messages 352 and 370 and the uninstaller shortcut name.
#include "builder/pages/settings_pages.h"

#include <gtest/gtest.h>

#include "builder/pages/pages_fixture_test.h"
#include "builder/strings/builder_strings.h"

namespace vandrel::builder::pages {
namespace {

struct Settings : ::testing::Test, testing::DocFixture {
  test::FakeInteraction ui;
  SettingsViewState view;
  bool shown(unsigned id) const {
    for (const ui::Message& m : ui.messages) {
      if (m.text == str(id)) return true;
    }
    return false;
  }
};

TEST_F(Settings, TitleIsRebuiltFromNameAndVersion) {
  struct Case {
    const char* name;
    const char* ver;
    const char* title;
  };
  for (const Case& c : {Case{"Tool", "2.0", "Tool 2.0 Install script"},
                        Case{"Tool", "", "Tool Install script"},
                        Case{"", "2.0", "Untitled Install script"}}) {
    SettingsSheet sheet(*tree);
    sheet.general.appName = c.name;
    sheet.general.ver = c.ver;
    ASSERT_TRUE(sheet.ok(ui, view));
    EXPECT_EQ(doc.title(), c.title);
    EXPECT_TRUE(doc.isModified());
  }
}

TEST_F(Settings, ArchiveSizeRangeAndBox) {
  SettingsSheet sheet(*tree);
  EXPECT_FALSE(sheet.general.archive);
  sheet.general.archive = true;
  for (const char* bad : {"16000001", "-1", "12k", ""}) {
    sheet.general.archiveSize = bad;
    auto [page, check] = sheet.check();
    EXPECT_EQ(page, 0) << bad;
    EXPECT_EQ(check.kind, Check::Kind::Message) << bad;
    EXPECT_FALSE(check.text.empty());
    EXPECT_FALSE(sheet.ok(ui, view));
  }
  EXPECT_FALSE(doc.isModified()) << "a refused sheet writes nothing";
  sheet.general.archiveSize = "16000000";
  ASSERT_TRUE(sheet.ok(ui, view));
  EXPECT_EQ(doc.settings.archiveSize, 16000000);

  SettingsSheet again(*tree);
  EXPECT_TRUE(again.general.archive);
  again.general.archive = false;
  again.general.archiveSize = "nonsense";  // the edit is disabled and not read
  ASSERT_TRUE(again.ok(ui, view));
  EXPECT_EQ(doc.settings.archiveSize, 0);
}

TEST_F(Settings, WelcomeGroupFollowsTheLicenceBoxAtOpening) {
  doc.settings.showLicence = 0;
  SettingsSheet sheet(*tree);
  EXPECT_FALSE(sheet.general.welcomeEnabled());
  sheet.general.showLicence = true;  // ticking it does not enable the group until reopened
  EXPECT_FALSE(sheet.general.welcomeEnabled());
}

TEST_F(Settings, SpecialBuildTakesDigitsOnly) {
  SettingsSheet sheet(*tree, 1);
  EXPECT_EQ(sheet.startPage(), 1);
  for (const char* bad : {"", "-3", "1a", "99999999999"}) {
    sheet.system.nCompil = bad;
    EXPECT_EQ(sheet.check().first, 1) << bad;
  }
  sheet.system.nCompil = "42";
  sheet.system.minCpu = 2;
  sheet.system.minWin = 5;
  sheet.system.language = 1;
  ASSERT_TRUE(sheet.ok(ui, view));
  EXPECT_EQ(doc.settings.nCompil, 42);
  EXPECT_EQ(doc.settings.minCpu, 2);
  EXPECT_EQ(doc.settings.minWin, 5);
  EXPECT_EQ(doc.settings.language, 1);
}

TEST_F(Settings, SixteenBitWarningUntilCancelled) {
  int warnings = 0;
  auto pickBoth = [&](ui::Answer answer) {
    SettingsSheet sheet(*tree);
    sheet.system.nSyst = 2;
    ui.messages.clear();
    ui.answers = {answer};
    ASSERT_TRUE(sheet.ok(ui, view));
    if (shown(sid::SixteenBitWarning)) ++warnings;
  };
  pickBoth(ui::Answer::OK);
  pickBoth(ui::Answer::OK);
  EXPECT_EQ(warnings, 2);
  pickBoth(ui::Answer::Cancel);
  EXPECT_EQ(warnings, 3);
  EXPECT_FALSE(view.warn16Bit);
  pickBoth(ui::Answer::OK);
  EXPECT_EQ(warnings, 3) << "Cancel turned the warning off for this view";

  SettingsViewState otherView;
  SettingsSheet sheet(*tree);
  ui.messages.clear();
  ASSERT_TRUE(sheet.ok(ui, otherView));
  EXPECT_TRUE(shown(sid::SixteenBitWarning)) << "each view starts with the warning on";
  SettingsSheet thirtyTwo(*tree);
  thirtyTwo.system.nSyst = 1;
  ui.messages.clear();
  ASSERT_TRUE(thirtyTwo.ok(ui, otherView));
  EXPECT_FALSE(shown(sid::SixteenBitWarning));
}

TEST_F(Settings, UninstallGroupAndShortcutName) {
  EntryKey tools = addGroup("Tools");
  EntryKey apps = addGroup("Apps");
  doc.settings.appName = "Tool  ";
  SettingsSheet sheet(*tree);
  EXPECT_EQ(sheet.uninstall.group, -1);
  ASSERT_TRUE(sheet.ok(ui, view));
  EXPECT_TRUE(shown(sid::UninstallGroupWarning)) << "no group with the built-in uninstaller";
  EXPECT_EQ(doc.uninstall.groupKey, 0u);
  EXPECT_EQ(doc.uninstall.unDesc, "UnInstall Tool") << "filled, without trailing blanks";

  SettingsSheet pick(*tree);
  ASSERT_EQ(pick.uninstall.groups.size(), 2u);
  EXPECT_EQ(pick.uninstall.groups[0].key, apps);
  pick.uninstall.group = 1;
  pick.uninstall.unDesc = "";
  ui.messages.clear();
  ASSERT_TRUE(pick.ok(ui, view));
  EXPECT_FALSE(shown(sid::UninstallGroupWarning));
  EXPECT_EQ(doc.uninstall.groupKey, tools);
  EXPECT_EQ(doc.uninstall.unDesc, "UnInstall Tool") << "an empty name is not stored";

  SettingsSheet own(*tree);
  EXPECT_EQ(own.uninstall.group, 1);
  own.uninstall.group = -1;
  own.uninstall.ownUnInstall = 1;
  own.uninstall.unDesc = "Remove";
  ui.messages.clear();
  ASSERT_TRUE(own.ok(ui, view));
  EXPECT_FALSE(shown(sid::UninstallGroupWarning)) << "the author's own uninstaller needs no group";
  EXPECT_EQ(doc.uninstall.groupKey, tools);
  EXPECT_EQ(doc.uninstall.unDesc, "Remove");
  EXPECT_EQ(doc.settings.ownUnInstall, 1);
}

TEST(BackgroundPage, FieldsEnablementAndWriteBack) {
  testing::DocFixture f;
  SetBackDlg page;
  page.fill(f.doc.background);
  EXPECT_TRUE(page.gradientControlsEnabled());
  EXPECT_FALSE(page.bitmapControlsEnabled());
  page.gradient = 0;
  EXPECT_FALSE(page.gradientControlsEnabled());
  page.bitmap = true;
  EXPECT_TRUE(page.bitmapControlsEnabled());
  page.bmpName = "back.bmp";
  page.bmpMode = 4;
  page.chooseColour(0, 0x00123456);
  page.chooseColour(1, 0xff00ff00);  // only the colour bytes are kept
  page.ok(f.doc);
  EXPECT_EQ(f.doc.background.gradient, 0);
  EXPECT_EQ(f.doc.background.bitmap, 1);
  EXPECT_EQ(f.doc.background.bmpName, "back.bmp");
  EXPECT_EQ(f.doc.background.bmpMode, 4);
  EXPECT_EQ(f.doc.background.top, 0x00123456u);
  EXPECT_EQ(f.doc.background.bottom, 0x0000ff00u);
  EXPECT_TRUE(f.doc.isModified());
}

}  // namespace
}  // namespace vandrel::builder::pages
