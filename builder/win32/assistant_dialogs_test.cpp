// The assistants' Win32 windows driven to the end through their controls, and by answers:
// the same cases as the Qt windows', the same entries.
#include "builder/assistants/assistants.h"
#include "builder/strings/builder_strings.h"
#include "builder/win32/app_dialog_ids.h"
#include "builder/win32/sheet_test_support.h"
#include "ui/answers.h"

namespace vandrel::builder::win32 {
namespace {

using namespace testing;

struct AssistantDialogs : DialogFixture {
  BuilderPreferences prefs;
  std::vector<const RegistryRecord*> registry() const {
    std::vector<const RegistryRecord*> out;
    for (const RegistryRecord& r : doc.registryEntries) out.push_back(&r);
    return out;
  }
};

TEST_F(AssistantDialogs, ExtensionWithRegistryAndNewDocument) {
  whenShown([](HWND w) {
    EXPECT_EQ(caption(w), "Extension making assistant");
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDC_EXT_EXTENSION) << "the extension has the focus";
    type(w, IDC_EXT_EXTENSION, "txt");
    type(w, IDC_EXT_TYPE, "txtfile");
    tick(w, IDC_EXT_REGISTRY, true);
    type(w, IDC_EXT_PATH, "[0]\\edit.exe");
    tick(w, IDC_EXT_NEW_DOCUMENT, true);
    type(w, IDC_EXT_ICON, "1");
    press(w, IDOK);
  });
  ASSERT_TRUE(runAssistant(context(), 1, *tree, prefs));
  auto reg = registry();
  ASSERT_EQ(reg.size(), 4u);
  EXPECT_EQ(reg[0]->subkey, ".txt");
  EXPECT_EQ(reg[2]->value, "[0]\\edit.exe,1");
  EXPECT_EQ(reg[3]->subkey, ".txt\\ShellNew");
  EXPECT_EQ(reg[3]->entry, "NullFile");
  EXPECT_TRUE(doc.isModified());
}

TEST_F(AssistantDialogs, ExtensionRefusedStaysOpenAndCancelAddsNothing) {
  whenShown([this](HWND w) {
    type(w, IDC_EXT_EXTENSION, "txt");
    press(w, IDOK);
    EXPECT_TRUE(IsWindowVisible(w));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, str(sid::AssistantExtensionMissing));
    press(w, IDCANCEL);
  });
  EXPECT_FALSE(runAssistant(context(), 1, *tree, prefs));
  EXPECT_EQ(doc.registryEntries.count(), 0);
  EXPECT_FALSE(doc.isModified());
}

TEST_F(AssistantDialogs, TheIconIndexTakesDigitsOnly) {
  whenShown([](HWND w) {
    EXPECT_TRUE(GetWindowLongA(find(w, IDC_EXT_ICON), GWL_STYLE) & ES_NUMBER);
    EXPECT_EQ(SendMessageA(find(w, IDC_EXT_ICON), EM_GETLIMITTEXT, 0, 0), 9);
    press(w, IDCANCEL);
  });
  EXPECT_FALSE(runAssistant(context(), 1, *tree, prefs));
}

TEST_F(AssistantDialogs, AutostartTypedProgramCannotHaveAShortcut) {
  whenShown([this](HWND w) {
    EXPECT_TRUE(checked(w, IDC_AUTO_EACH)) << "EACH time at first";
    EXPECT_EQ(text(w, IDC_AUTO_TITLE), "Application Name");
    type(w, IDC_AUTO_PROGRAM, "C:\\tool.exe");
    tick(w, IDC_AUTO_SHORTCUT, true);
    press(w, IDOK);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, str(sid::AssistantFileFirst));
    tick(w, IDC_AUTO_SHORTCUT, false);
    tick(w, IDC_AUTO_NEXT, true);
    type(w, IDC_AUTO_TITLE, "Tool");
    press(w, IDOK);
  });
  ASSERT_TRUE(runAssistant(context(), 2, *tree, prefs));
  auto reg = registry();
  ASSERT_EQ(reg.size(), 1u);
  EXPECT_EQ(reg[0]->subkey, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce");
  EXPECT_EQ(reg[0]->entry, "Tool");
  EXPECT_EQ(reg[0]->value, "C:\\tool.exe");
}

TEST_F(AssistantDialogs, AutostartChosenFileWithAShortcut) {
  addFile("tool.exe", 0, 1, 0);
  whenShown([](HWND w) {
    HWND program = find(w, IDC_AUTO_PROGRAM);
    ASSERT_EQ(SendMessageA(program, CB_GETCOUNT, 0, 0), 1);
    SendMessageA(program, CB_SETCURSEL, 0, 0);
    tick(w, IDC_AUTO_SHORTCUT, true);
    press(w, IDOK);
  });
  ASSERT_TRUE(runAssistant(context(), 2, *tree, prefs));
  ASSERT_EQ(doc.registryEntries.count(), 1);
  EXPECT_EQ(doc.registryEntries.at(0).value, "[0]\\tool.exe");
  ASSERT_EQ(doc.shortcuts.count(), 1);
  EXPECT_EQ(doc.shortcuts.at(0).name, "Application Name");
}

TEST_F(AssistantDialogs, PathAddNowActsAtOnceEvenBeforeCancel) {
  addFile("tool.exe");
  whenShown([this](HWND w) {
    EXPECT_EQ(GetWindowLongA(find(w, IDC_PATH_ADD), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLongA(find(w, IDOK), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    press(w, IDC_PATH_ADD);
    EXPECT_EQ(ui.beeps, 1) << "no file selected";
    SendMessageA(find(w, IDC_PATH_FILES), LB_SETCURSEL, 0, 0);
    press(w, IDC_PATH_ADD);
    // Enter presses "&Add now", the page's default button, not OK.
    SendMessageA(w, WM_COMMAND, MAKEWPARAM(LOWORD(SendMessageA(w, DM_GETDEFID, 0, 0)), BN_CLICKED), 0);
    EXPECT_TRUE(IsWindowVisible(w));
    press(w, IDCANCEL);
  });
  EXPECT_FALSE(runAssistant(context(), 3, *tree, prefs));
  EXPECT_EQ(doc.registryEntries.count(), 4);
}

TEST_F(AssistantDialogs, ProductUserInformationNeedsLocalMachine) {
  doc.settings.appName = "Tool";
  whenShown([this](HWND w) {
    EXPECT_EQ(text(w, IDC_PRODUCT_NAME), "Tool") << "the product starts as AppName";
    type(w, IDC_PRODUCT_COMPANY, "Co");
    type(w, IDC_PRODUCT_NAME, "");
    press(w, IDOK);
    EXPECT_EQ(ui.beeps, 1) << "the product name is required";
    type(w, IDC_PRODUCT_NAME, "Tool");
    tick(w, IDC_PRODUCT_LOCAL, false);
    tick(w, IDC_PRODUCT_USER, true);
    press(w, IDOK);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, str(sid::AssistantLocalMachine));
    tick(w, IDC_PRODUCT_INFO, false);
    press(w, IDOK);
  });
  ASSERT_TRUE(runAssistant(context(), 4, *tree, prefs));
  EXPECT_EQ(doc.registryEntries.count(), 2);
  EXPECT_EQ(doc.registryEntries.at(0).root, 1);
}

TEST_F(AssistantDialogs, DesktopLeftEmptyAddsNothing) {
  whenShown([](HWND w) { press(w, IDOK); });
  ASSERT_TRUE(runAssistant(context(), 5, *tree, prefs));
  EXPECT_EQ(doc.registryEntries.count(), 0);
}

TEST_F(AssistantDialogs, AnswersFillTheControlsAndPressOk) {
  ui::ScriptedInteraction answers(ui::Answers::fromText(
      "[Wizard]\nWallpaper=C:\\back.bmp\nTile=1\nDelay=60\nActivate=1\n"));
  DialogContext c = context();
  c.autopilot = &answers;
  ASSERT_TRUE(runAssistant(c, 5, *tree, prefs));
  auto reg = registry();
  ASSERT_EQ(reg.size(), 4u);
  EXPECT_EQ(reg[0]->entry, "Wallpaper");
  EXPECT_EQ(reg[0]->value, "C:\\back.bmp");
  EXPECT_EQ(reg[1]->entry, "TileWallpaper");
  EXPECT_EQ(reg[2]->entry, "ScreenSaveActive");
  EXPECT_EQ(reg[3]->entry, "ScreenSaveTimeOut");
  EXPECT_EQ(reg[3]->value, "60");
}

TEST_F(AssistantDialogs, AnswersChooseAFileByItsListText) {
  addFile("tool.exe");
  ui::ScriptedInteraction answers(ui::Answers::fromText("[Wizard]\nPathFile=0\nProgram=[Install]\\tool.exe\n"));
  DialogContext c = context();
  c.autopilot = &answers;
  // The path assistant: an answer that selects a file stands for one press of "&Add now".
  EXPECT_TRUE(runAssistant(c, 3, *tree, prefs));
  EXPECT_EQ(doc.registryEntries.count(), 2);
  // The autostart assistant: a typed text naming a listed file chooses that file.
  ASSERT_TRUE(runAssistant(c, 2, *tree, prefs));
  ASSERT_EQ(doc.registryEntries.count(), 3);
  EXPECT_EQ(doc.registryEntries.at(2).value, "[0]\\tool.exe");
}

TEST_F(AssistantDialogs, AnswersOpenTheSameWindowAgainAndAgain) {
  // Each opening is a new window, not the refused one coming back: none is cancelled.
  ui::ScriptedInteraction answers(ui::Answers::fromText("[Wizard]\nTile=1\n"));
  DialogContext c = context();
  c.autopilot = &answers;
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(runAssistant(c, 5, *tree, prefs)) << i;
  EXPECT_EQ(doc.registryEntries.count(), 4);
}

TEST_F(AssistantDialogs, AnswersRefusedAgainAreCancelled) {
  ui::ScriptedInteraction answers(ui::Answers::fromText("[Wizard]\nExtension=txt\n"));
  DialogContext c = context();
  c.autopilot = &answers;
  EXPECT_FALSE(runAssistant(c, 1, *tree, prefs));
  EXPECT_EQ(ui.messages.size(), 2u) << "refused twice, then cancelled";
}

TEST_F(AssistantDialogs, AnswersCancelByPageId) {
  ui::ScriptedInteraction answers(ui::Answers::fromText("[Wizard]\nCompany=Co\nCancel=assistant-product\n"));
  DialogContext c = context();
  c.autopilot = &answers;
  EXPECT_FALSE(runAssistant(c, 4, *tree, prefs));
  EXPECT_EQ(doc.registryEntries.count(), 0);
}

}  // namespace
}  // namespace vandrel::builder::win32
