// Every wizard page, with its frame's buttons, gives each Alt+letter to one control only, in the
// language of the strings the test is linked with (setup_test: English, setup_fr_test: French).
#include <gtest/gtest.h>

#include "setup/setup_app.h"
#include "setup/strings/setup_strings.h"
#include "setup/wizard/wizard.h"
#include "tests/support/fake_interaction.h"
#include "tests/support/memory_machine.h"
#include "ui/accelerators.h"

namespace vandrel::setup {
namespace {

using Action = ui::PageResult::Action;
using test::fill;
using test::pressOn;

std::string joined(const std::vector<std::string>& labels) {
  std::string out;
  for (const std::string& label : labels) out += " [" + label + "]";
  return out;
}

TEST(WizardAccelerators, NoTwoControlsOfAPageAndItsFrameShareAnAccelerator) {
  test::MemoryMachine machine;
  test::FakeInteraction ui;
  SetupApp app(machine, ui, setupStrings());
  app.state().appName = "Tool";
  app.state().windowsFolder = "C:\\WINDOWS";
  app.state().optionalDirectories = {2};
  app.state().selectedDirectories = {2};
  app.state().directoryLabels = {"Samples"};
  WizardSettings settings;
  settings.caption = "Tool Setup";
  settings.defaultFolder = "C:\\Install";
  settings.showLicence = true;
  settings.licenceText = "LICENCE";
  settings.regInfo = true;
  ui.pageActions = {pressOn(Action::Next), pressOn(Action::Next), pressOn(Action::Next),
                    fill({{"UserName", "Ann"}}), pressOn(Action::Next), pressOn(Action::Next)};
  SetupDialogs dialogs = app.dialogs();
  Wizard wizard(dialogs, app.state(), machine.files(), settings, [](const SetupState&) { return 0LL; });
  ASSERT_TRUE(wizard.run());
  ASSERT_EQ(ui.pages.size(), 7u);
  for (const ui::Page& page : ui.pages) {
    std::vector<std::string> labels = ui::shownLabels(page);
    EXPECT_TRUE(ui::sharedAccelerators(labels).empty()) << page.id << ":" << joined(labels);
  }
  // The frame gives way only where it must: Next keeps its letter on the other pages.
  EXPECT_TRUE(ui::acceleratorOf(ui.pages[0].next).has_value()) << ui.pages[0].next;
}

}  // namespace
}  // namespace vandrel::setup
