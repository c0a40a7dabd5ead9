// The settings, background and end-of-install sheets filled through their controls, and
// driven by answers.
#include "builder/strings/builder_strings.h"
#include "builder/win32/sheet_dialog.h"
#include "builder/win32/sheet_ids.h"
#include "builder/win32/sheet_test_support.h"
#include "ui/scripted_interaction.h"

namespace vandrel::builder::win32 {
namespace {

using namespace testing;

struct SettingsDialogs : DialogFixture {
  pages::SettingsViewState view;
  bool shown(unsigned id) const {
    for (const ui::Message& m : ui.messages) {
      if (m.text == str(id)) return true;
    }
    return false;
  }
};

TEST_F(SettingsDialogs, GeneralAndSystemWrittenOnOkWithTheTitleAndTheWarning) {
  EntryKey tools = addGroup("Tools");
  whenShown([](HWND w) {
    type(w, IDC_GEN_APPNAME, "Tool");
    type(w, IDC_GEN_VER, "2.0");
    tick(w, IDC_SYS_CPU2, true);
    tick(w, IDC_SYS_PLATFORM2, true);
    type(w, IDC_SYS_BUILD, "12");
    choose(w, IDC_UN_GROUP, 0);
    press(w, IDOK);
  });
  ASSERT_TRUE(runSettingsSheet(context(), *tree, 0, view));
  EXPECT_EQ(doc.settings.appName, "Tool");
  EXPECT_EQ(doc.settings.minCpu, 2);
  EXPECT_EQ(doc.settings.nSyst, 2);
  EXPECT_EQ(doc.settings.nCompil, 12);
  EXPECT_EQ(doc.uninstall.groupKey, tools);
  EXPECT_EQ(doc.uninstall.unDesc, "UnInstall Tool");
  EXPECT_EQ(doc.title(), "Tool 2.0 Install script");
  EXPECT_TRUE(shown(sid::SixteenBitWarning));
}

TEST_F(SettingsDialogs, ArchiveSizeOutOfRangeKeepsTheSheetOpen) {
  whenShown([this](HWND w) {
    EXPECT_FALSE(enabled(w, IDC_GEN_ARCHIVESIZE));
    tick(w, IDC_GEN_ARCHIVE, true);
    EXPECT_TRUE(enabled(w, IDC_GEN_ARCHIVESIZE));
    type(w, IDC_GEN_ARCHIVESIZE, "16000001");
    press(w, IDOK);
    EXPECT_TRUE(IsWindowVisible(w));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("16000000"), std::string::npos);
    type(w, IDC_GEN_ARCHIVESIZE, "1440");
    press(w, IDOK);
  });
  ASSERT_TRUE(runSettingsSheet(context(), *tree, 0, view));
  EXPECT_EQ(doc.settings.archiveSize, 1440);
}

TEST_F(SettingsDialogs, WelcomeGroupFollowsTheLicenceBoxAtOpeningAndCancelWritesNothing) {
  doc.settings.showLicence = 0;
  whenShown([](HWND w) {
    EXPECT_FALSE(enabled(w, IDC_GEN_TYPE0));
    EXPECT_FALSE(enabled(w, IDC_GEN_OWNMSG));
    type(w, IDC_GEN_APPNAME, "Changed");
    press(w, IDCANCEL);
  });
  EXPECT_FALSE(runSettingsSheet(context(), *tree, 1, view));
  EXPECT_NE(doc.settings.appName, "Changed");
  EXPECT_FALSE(doc.isModified());
}

// The sheet opens on the page asked for, with the focus on that page's first field rather
// than on the tabs; a page turned by its tab gets the focus on its first field too.
TEST_F(SettingsDialogs, OpensOnTheAskedPageWithTheFocusOnItsFirstField) {
  std::vector<int> focused;
  whenShown([&focused](HWND w) {
    focused.push_back(GetDlgCtrlID(GetFocus()));
    HWND tabs = GetDlgItem(w, IDC_SHEET_TABS);
    SendMessageA(tabs, TCM_SETCURSEL, 0, 0);
    NMHDR change{tabs, IDC_SHEET_TABS, UINT(TCN_SELCHANGE)};
    SendMessageA(w, WM_NOTIFY, IDC_SHEET_TABS, reinterpret_cast<LPARAM>(&change));
    focused.push_back(GetDlgCtrlID(GetFocus()));
    press(w, IDCANCEL);
  });
  runSettingsSheet(context(), *tree, 2, view);
  EXPECT_EQ(focused, (std::vector<int>{IDC_UN_DALLOW, IDC_GEN_APPNAME}));
}

// Ctrl+Tab and Ctrl+Shift+Tab turn the pages, each again on its first field.
TEST_F(SettingsDialogs, CtrlTabTurnsThePages) {
  std::vector<int> focused;
  whenShown([&focused](HWND w) {
    auto key = [&](bool shift) {
      BYTE keys[256] = {};
      GetKeyboardState(keys);
      keys[VK_CONTROL] = 0x80;
      keys[VK_SHIFT] = shift ? 0x80 : 0;
      SetKeyboardState(keys);
      MSG message{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
      EXPECT_TRUE(CallMsgFilterA(&message, MSGF_DIALOGBOX));
      keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
      SetKeyboardState(keys);
      focused.push_back(GetDlgCtrlID(GetFocus()));
    };
    key(false);
    key(false);
    key(true);
    key(true);
    press(w, IDCANCEL);
  });
  runSettingsSheet(context(), *tree, 0, view);
  EXPECT_EQ(focused,
            (std::vector<int>{IDC_SYS_CPU1, IDC_UN_DALLOW, IDC_SYS_CPU1, IDC_GEN_APPNAME}));
}

TEST_F(SettingsDialogs, AnswersFillTheSettingsAndPressOk) {
  ui::ScriptedInteraction answers(ui::Answers::fromText(
      "[Wizard]\nAppName=Driven\nVer=3\nnSyst=1\nLanguage=1\nArchive=1\nArchiveSize=720\n"));
  DialogContext c = context();
  c.autopilot = &answers;
  ASSERT_TRUE(runSettingsSheet(c, *tree, 0, view));
  EXPECT_EQ(doc.settings.appName, "Driven");
  EXPECT_EQ(doc.settings.language, 1);
  EXPECT_EQ(doc.settings.archiveSize, 720);
  EXPECT_EQ(doc.title(), "Driven 3 Install script");
  EXPECT_FALSE(shown(sid::SixteenBitWarning));
}

TEST_F(SettingsDialogs, AnswersCancelTheSettingsByTheirId) {
  ui::ScriptedInteraction answers(
      ui::Answers::fromText("[Wizard]\nAppName=Driven\nCancel=settings\n"));
  DialogContext c = context();
  c.autopilot = &answers;
  EXPECT_FALSE(runSettingsSheet(c, *tree, 0, view));
  EXPECT_NE(doc.settings.appName, "Driven");
  EXPECT_FALSE(doc.isModified());
}

TEST_F(SettingsDialogs, BackgroundEnablingSwatchesAndWriteBack) {
  DialogContext c = context();
  c.chooseColour = [](std::uint32_t) -> std::optional<std::uint32_t> { return 0x00336699u; };
  whenShown([](HWND w) {
    tick(w, IDC_BACK_ONECOLOR, true);
    EXPECT_FALSE(enabled(w, IDC_BACK_DIRECTION));
    EXPECT_FALSE(enabled(w, IDC_BACK_SECOND_LABEL));
    tick(w, IDC_BACK_GRADIENT, true);
    EXPECT_TRUE(enabled(w, IDC_BACK_DIRECTION));
    EXPECT_FALSE(enabled(w, IDC_BACK_BMPNAME));
    tick(w, IDC_BACK_BITMAP, true);
    EXPECT_TRUE(enabled(w, IDC_BACK_BMPNAME));
    type(w, IDC_BACK_BMPNAME, "back.bmp");
    tick(w, IDC_BACK_MODE2, true);
    // A double-click inside the second swatch asks for its colour.
    command(find(w, IDC_BACK_BOTTOM), STN_DBLCLK);
    press(w, IDOK);
  });
  ASSERT_TRUE(runBackgroundSheet(c, doc));
  EXPECT_EQ(doc.background.gradient, 1);
  EXPECT_EQ(doc.background.bottom, 0x00336699u);
  EXPECT_EQ(doc.background.bitmap, 1);
  EXPECT_EQ(doc.background.bmpName, "back.bmp");
  EXPECT_EQ(doc.background.bmpMode, 2);
  EXPECT_TRUE(doc.isModified());
}

TEST_F(SettingsDialogs, BackgroundColoursByAnswers) {
  ui::ScriptedInteraction answers(ui::Answers::fromText("[Wizard]\nTop=0x0000ff\nGradient=0\n"));
  DialogContext c = context();
  c.autopilot = &answers;
  ASSERT_TRUE(runBackgroundSheet(c, doc));
  EXPECT_EQ(doc.background.top, 0x0000ffu);
  EXPECT_EQ(doc.background.gradient, 0);
}

int listCount(HWND w, int id) { return int(SendMessageA(find(w, id), LB_GETCOUNT, 0, 0)); }
int rowCount(HWND w, int id) { return int(SendMessageA(find(w, id), LVM_GETITEMCOUNT, 0, 0)); }

std::string rowText(HWND w, int id, int row) {
  char buffer[256] = {};
  LVITEMA item{};
  item.pszText = buffer;
  item.cchTextMax = sizeof buffer;
  SendMessageA(find(w, id), LVM_GETITEMTEXTA, WPARAM(row), reinterpret_cast<LPARAM>(&item));
  return buffer;
}

TEST_F(SettingsDialogs, EndOfInstallListsAndFavourites) {
  doc.endOfInstall.launch = {"old.exe"};
  doc.web.favoriteNames = {"Home"};
  doc.web.favoriteUrls = {"http://old/"};
  whenShown([this](HWND w) {
    tick(w, IDC_END_REBOOT2, true);
    type(w, IDC_END_COMMAND, "  setup2.exe /s");
    press(w, IDC_END_ADD);
    ASSERT_EQ(listCount(w, IDC_END_LAUNCH), 2);
    char line[64] = {};
    SendMessageA(find(w, IDC_END_LAUNCH), LB_GETTEXT, 1, reinterpret_cast<LPARAM>(line));
    EXPECT_STREQ(line, "setup2.exe /s");
    choose(w, IDC_END_LAUNCH, 0);
    press(w, IDC_END_DELETE);
    EXPECT_EQ(listCount(w, IDC_END_LAUNCH), 1);
    // The favourites page: a name already listed gets the new URL.
    type(w, IDC_WEB_NAME, "home");
    press(w, IDC_WEB_ADD);
    EXPECT_EQ(ui.beeps, 1) << "both edits are needed";
    type(w, IDC_WEB_URL, "http://new/");
    press(w, IDC_WEB_ADD);
    EXPECT_EQ(rowCount(w, IDC_WEB_ROWS), 1);
    type(w, IDC_WEB_NAME, "Docs");
    type(w, IDC_WEB_URL, "http://docs/");
    press(w, IDC_WEB_ADD);
    EXPECT_EQ(rowText(w, IDC_WEB_ROWS, 0), "Docs");
    press(w, IDOK);
  });
  ASSERT_TRUE(runEndSheet(context(), doc));
  EXPECT_EQ(doc.endOfInstall.reboot, 2);
  EXPECT_EQ(doc.endOfInstall.launch, (std::vector<std::string>{"setup2.exe /s"}));
  EXPECT_EQ(doc.web.favoriteNames, (std::vector<std::string>{"Docs", "Home"}));
  EXPECT_EQ(doc.web.favoriteUrls, (std::vector<std::string>{"http://docs/", "http://new/"}));
}

// An answer that types a command line or a favourite stands for pressing its "&Add".
TEST_F(SettingsDialogs, AnswersAddACommandAndAFavourite) {
  ui::ScriptedInteraction answers(ui::Answers::fromText(
      "[Wizard]\nReboot=1\nNewCommand=readme.exe\nFavoriteName=Site\nFavoriteURL=http://site/\n"));
  DialogContext c = context();
  c.autopilot = &answers;
  ASSERT_TRUE(runEndSheet(c, doc, 1));
  EXPECT_EQ(doc.endOfInstall.reboot, 1);
  EXPECT_EQ(doc.endOfInstall.launch, (std::vector<std::string>{"readme.exe"}));
  EXPECT_EQ(doc.web.favoriteNames, (std::vector<std::string>{"Site"}));
}

TEST_F(SettingsDialogs, CancelLeavesTheEndOfInstallAsItWas) {
  doc.endOfInstall.launch = {"old.exe"};
  whenShown([](HWND w) {
    type(w, IDC_END_COMMAND, "new.exe");
    press(w, IDC_END_ADD);
    press(w, IDCANCEL);
  });
  EXPECT_FALSE(runEndSheet(context(), doc));
  EXPECT_EQ(doc.endOfInstall.launch, (std::vector<std::string>{"old.exe"}));
  EXPECT_FALSE(doc.isModified());
}

}  // namespace
}  // namespace vandrel::builder::win32
