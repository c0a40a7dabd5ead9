// The sheet frame itself: the pictures' names (a sheet's named after the page it shows), a box
// of one template with its own buttons driven by answers, and a sheet whose OK is always
// refused giving up on repeated answers instead of waiting for ever.
#include "builder/win32/sheet_dialog.h"

#include "builder/win32/sheet_ids.h"
#include "builder/win32/sheet_test_support.h"
#include "ui/scripted_interaction.h"
#include "ui/win32/win32_interaction.h"

namespace vandrel::builder::win32 {
namespace {

using namespace testing;

struct SheetFrame : DialogFixture {
  // A port whose watcher notes the name of each window shown (the picture's name).
  ui::win32::Win32Interaction port{ui::Program::Builder, nullptr};
  std::vector<std::string> shown;
  SheetFrame() {
    port.setWatcher([this](HWND window, const std::string& name) {
      shown.push_back(name);
      PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
  }
  DialogContext watched() {
    DialogContext c;
    c.ui = &port;
    return c;
  }
};

TEST_F(SheetFrame, PicturesAreNamedAsOnLinux) {
  pages::SettingsViewState view;
  runSettingsSheet(watched(), *tree, 2, view);
  runEndSheet(watched(), doc, 1);
  runBackgroundSheet(watched(), doc);
  EXPECT_EQ(shown, (std::vector<std::string>{"settings-uninstall", "end-sheet-web-favorites",
                                             "background"}));
}

// A box: one template, its own OK and Cancel, its fields bound as a sheet's.
struct Box : DialogFixture {
  bool kept = false;
  bool run(ui::ScriptedInteraction& answers) {
    DialogContext c = context();
    c.autopilot = &answers;
    SheetDialog box(c, "Directory Selector", "box", "box", SheetDialog::Frame::Box);
    box.addPage(IDD_DIRECTORY_SELECTOR);
    box.setButtons(IDOK, IDCANCEL);
    box.bind().check("Keep", "&Keep same directory for all dropped files", {0, IDC_SELECTOR_KEEP});
    box.onOk = [&] {
      kept = isChecked(box.page(0), IDC_SELECTOR_KEEP);
      return true;
    };
    return box.run();
  }
};

TEST_F(Box, AnswersFillItsFieldsAndPressItsOk) {
  ui::ScriptedInteraction answers(ui::Answers::fromText("[Wizard]\nKeep=1\n"));
  EXPECT_TRUE(run(answers));
  EXPECT_TRUE(kept);
}

TEST_F(Box, AnswersPressItsCancel) {
  ui::ScriptedInteraction answers(ui::Answers::fromText("[Wizard]\nKeep=1\nCancel=box\n"));
  EXPECT_FALSE(run(answers));
  EXPECT_FALSE(kept);
}

// Answers that are refused again and again end the sheet (as Cancel) rather than hang.
TEST_F(SheetFrame, RefusedAnswersGiveUp) {
  ui::ScriptedInteraction answers(ui::Answers::fromText("[Wizard]\nDescText=x\n"));
  DialogContext c = context();
  c.autopilot = &answers;
  SheetDialog sheet(c, "Description", "description", "page-description");
  sheet.addPage(IDD_PAGE_DESCRIPTION, "Description");
  sheet.bind().text("DescText", "&Description", {0, IDC_DESC_TEXT});
  int refused = 0;
  sheet.onOk = [&] {
    ++refused;
    sheet.refuse(pages::Check::beep());
    return false;
  };
  EXPECT_FALSE(sheet.run());
  EXPECT_GE(refused, 1);
  EXPECT_EQ(ui.beeps, refused);
}

}  // namespace
}  // namespace vandrel::builder::win32
