// The assistants' windows driven to the end through their controls, and by answers.
#include <QListWidget>

#include "builder/assistants/assistants.h"
#include "builder/qt/dialogs_test_support.h"
#include "builder/strings/builder_strings.h"

namespace vandrel::builder::qt {
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
  whenShown([](QWidget& w) {
    EXPECT_EQ(w.windowTitle(), "Extension making assistant");
    type(w, "Extension", "txt");
    type(w, "FileType", "txtfile");
    tick(w, "UseRegistry", true);
    type(w, "ProgramPath", "[0]\\edit.exe");
    tick(w, "NewDocument", true);
    type(w, "IconIndex", "1");
    press(w, "OK");
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
  whenShown([this](QWidget& w) {
    type(w, "Extension", "txt");
    press(w, "OK");
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, str(sid::AssistantExtensionMissing));
    press(w, "Cancel");
  });
  EXPECT_FALSE(runAssistant(context(), 1, *tree, prefs));
  EXPECT_EQ(doc.registryEntries.count(), 0);
  EXPECT_FALSE(doc.isModified());
}

TEST_F(AssistantDialogs, AutostartTypedProgramCannotHaveAShortcut) {
  whenShown([this](QWidget& w) {
    type(w, "Program", "C:\\tool.exe");
    tick(w, "AddShortcut", true);
    press(w, "OK");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, str(sid::AssistantFileFirst));
    tick(w, "AddShortcut", false);
    tick(w, "Launch0", true);
    type(w, "Title", "Tool");
    press(w, "OK");
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
  whenShown([](QWidget& w) {
    named<QComboBox>(w, "Program")->setCurrentIndex(0);
    tick(w, "AddShortcut", true);
    press(w, "OK");
  });
  ASSERT_TRUE(runAssistant(context(), 2, *tree, prefs));
  ASSERT_EQ(doc.registryEntries.count(), 1);
  EXPECT_EQ(doc.registryEntries.at(0).value, "[0]\\tool.exe");
  ASSERT_EQ(doc.shortcuts.count(), 1);
  EXPECT_EQ(doc.shortcuts.at(0).name, "Application Name");
}

TEST_F(AssistantDialogs, PathAddNowActsAtOnceEvenBeforeCancel) {
  addFile("tool.exe");
  whenShown([this](QWidget& w) {
    press(w, "&Add now");
    EXPECT_EQ(ui.beeps, 1) << "no file selected";
    named<QListWidget>(w, "PathFile")->setCurrentRow(0);
    press(w, "&Add now");
    press(w, "&Add now");
    press(w, "Cancel");
  });
  EXPECT_FALSE(runAssistant(context(), 3, *tree, prefs));
  EXPECT_EQ(doc.registryEntries.count(), 4);
}

TEST_F(AssistantDialogs, ProductUserInformationNeedsLocalMachine) {
  whenShown([this](QWidget& w) {
    type(w, "Company", "Co");
    type(w, "Product", "");
    press(w, "OK");
    EXPECT_EQ(ui.beeps, 1) << "the product name is required";
    type(w, "Product", "Tool");
    tick(w, "LocalMachine", false);
    tick(w, "CurrentUser", true);
    press(w, "OK");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, str(sid::AssistantLocalMachine));
    tick(w, "UserInfo", false);
    press(w, "OK");
  });
  ASSERT_TRUE(runAssistant(context(), 4, *tree, prefs));
  EXPECT_EQ(doc.registryEntries.count(), 2);
  EXPECT_EQ(doc.registryEntries.at(0).root, 1);
}

TEST_F(AssistantDialogs, DesktopLeftEmptyAddsNothing) {
  whenShown([](QWidget& w) { press(w, "OK"); });
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
}  // namespace vandrel::builder::qt
