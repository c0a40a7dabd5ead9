// The wizard's licence and notice pages in their Qt window on the offscreen platform, with
// hostile texts: what the page hands the window is bounded, so the window is made in a
// moment and small memory, while the transcript's text stays whole.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>

#include "setup/setup_app.h"
#include "setup/strings/string_ids.h"
#include "setup/strings/setup_strings.h"
#include "setup/wizard/wizard.h"
#include "tests/support/fake_interaction.h"
#include "tests/support/memory_machine.h"
#include "ui/qt/page_pane.h"
#include "ui/qt/testing/offscreen_application.h"
#include "ui/shown_text.h"

namespace vandrel::setup {
namespace {

using Action = ui::PageResult::Action;

class HostileTexts : public ::testing::Test {
 protected:
  HostileTexts() : app(machine, ui, setupStrings()) {
    ui::qt::offscreenApplication();
    app.state().appName = "Tool";
    app.state().windowsFolder = "C:\\WINDOWS";
    settings.caption = "Tool Setup";
    settings.notice = "NOTICE TEXT";
    settings.defaultFolder = "C:\\Install";
    settings.regInfo = false;
    settings.showLicence = true;
  }
  // The pages the wizard hands its windows, up to the licence page (left with Cancel).
  const ui::Page& page(const std::string& id) {
    ui.pageActions = {test::pressOn(Action::Next), test::pressOn(Action::Next),
                      test::pressOn(Action::Cancel)};
    ui.answers = {ui::Answer::Yes};  // yes, leave the installation
    SetupDialogs dialogs = app.dialogs();
    Wizard wizard(dialogs, app.state(), machine.files(), settings,
                  [](const SetupState&) { return 0LL; });
    wizard.run();
    for (const ui::Page& shown : ui.pages)
      if (shown.id == id) return shown;
    throw std::runtime_error("no page " + id);
  }
  // The licence box of the page's window: its lines (blocks) and its longest line.
  struct Box {
    int lines = 0;
    int longest = 0;
    QString last;
  };
  Box licenceBox(const ui::Page& shown) {
    ui::qt::PagePane window(shown);
    auto* box = window.findChild<QPlainTextEdit*>();
    EXPECT_NE(box, nullptr);
    Box seen;
    if (!box) return seen;
    seen.lines = box->document()->blockCount();
    for (QTextBlock b = box->document()->begin(); b.isValid(); b = b.next()) {
      seen.longest = std::max(seen.longest, b.length() - 1);
      seen.last = b.text();
    }
    return seen;
  }
  const std::string note = setupStrings().get(sid::TextShortened);

  test::MemoryMachine machine;
  test::FakeInteraction ui;
  SetupApp app;
  WizardSettings settings;
};

TEST_F(HostileTexts, ALicenceOfEightMegabytesOfLineBreaks) {
  settings.licenceText = std::string(8 << 20, '\n');
  const ui::Page& shown = page("licence");
  EXPECT_EQ(shown.text.size(), shown.heading.size() + 1 + (8u << 20)) << "the transcript's text is whole";
  Box box = licenceBox(shown);
  EXPECT_LE(box.lines, int(ui::kScrollingText.lines) + 1);
  EXPECT_EQ(box.last.toStdString(), note);
}

TEST_F(HostileTexts, ALicenceOfOneLineOfOneMegabyte) {
  settings.licenceText = std::string(1 << 20, 'w');
  const ui::Page& shown = page("licence");
  EXPECT_EQ(shown.text.size(), shown.heading.size() + 1 + (1u << 20));
  Box box = licenceBox(shown);
  EXPECT_LE(box.longest, int(ui::kScrollingText.lineLength));
  EXPECT_LE(std::size_t(box.lines) * ui::kScrollingText.lineLength,
            ui::kScrollingText.characters + ui::kScrollingText.lineLength);
  EXPECT_EQ(box.last.toStdString(), note);
}

TEST_F(HostileTexts, AnOrdinaryLicenceIsShownAsItIs) {
  std::string licence;
  for (int i = 0; i < 400; ++i) licence += "You may copy this program, clause " + std::to_string(i) + ".\n";
  settings.licenceText = licence;
  const ui::Page& shown = page("licence");
  EXPECT_EQ(shown.longText, licence);
  Box box = licenceBox(shown);
  EXPECT_EQ(box.lines, 401);
  EXPECT_EQ(box.last, QString());
}

TEST_F(HostileTexts, AnOwnNoticeOfOneMegabyteInItsLabel) {
  settings.notice = std::string(1 << 20, 'n');
  const ui::Page& shown = page("notice");
  EXPECT_NE(shown.text.find(settings.notice), std::string::npos) << "the transcript's text is whole";
  ASSERT_EQ(shown.paragraphs.size(), 2u);
  EXPECT_LE(shown.paragraphs[1].size(), ui::kLabelText.characters + 1 + note.size());
  ui::qt::PagePane window(shown);
  int longest = 0;
  for (QLabel* label : window.findChildren<QLabel*>()) longest = std::max(longest, int(label->text().size()));
  EXPECT_LE(longest, int(ui::kLabelText.characters + 1 + note.size()));
}

}  // namespace
}  // namespace vandrel::setup
