// The wizard's pages: order, buttons, validation, and what Finish leaves in the state.
#include "setup/wizard/wizard.h"

#include <gtest/gtest.h>

#include "setup/setup_app.h"
#include "setup/strings/setup_strings.h"
#include "setup/wizard/folder_picker.h"
#include "tests/support/fake_interaction.h"
#include "tests/support/memory_machine.h"
#include "ui/answers_check.h"
#include "ui/page_layout.h"

namespace vandrel::setup {
namespace {

using Action = ui::PageResult::Action;
using test::FakeInteraction;
using test::fill;
using test::pressOn;

std::vector<std::string> ids(const std::vector<WizardPage>& order) {
  std::vector<std::string> out;
  for (WizardPage page : order) out.push_back(wizardPageId(page));
  return out;
}

// [Wizard] Cancel= of an answers file is checked against the names of the wizard's pages.
TEST(WizardOrder, TheAnswersFileCheckKnowsEveryPageByItsName) {
  EXPECT_EQ(ui::answersPageNames(), ids(wizardPageOrder(true, true, true)));
}

TEST(WizardOrder, OptionalPagesOnlyUnderTheirCondition) {
  struct Row {
    bool licence, reg, optional;
    std::vector<std::string> pages;
  };
  const Row rows[] = {
      {false, false, false, {"first", "notice", "sharing", "destination"}},
      {true, false, false, {"first", "notice", "licence", "sharing", "destination"}},
      {false, true, false, {"first", "notice", "registration", "sharing", "destination"}},
      {false, false, true, {"first", "notice", "components", "sharing", "destination"}},
      {true, true, true,
       {"first", "notice", "licence", "registration", "components", "sharing", "destination"}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ids(wizardPageOrder(row.licence, row.reg, row.optional)), row.pages);
  }
}

TEST(FolderPick, DestinationReadingOfThePickerResult) {
  EXPECT_EQ(installFolderFromPick("C:\\Tools\\App\\Junk"), std::optional<std::string>("C:\\Tools\\App"));
  EXPECT_EQ(installFolderFromPick("D:\\Junk"), std::nullopt);  // a drive root is refused
  EXPECT_EQ(installFolderFromPick("Junk"), std::nullopt);
  EXPECT_EQ(installFolderFromPick(""), std::nullopt);
}

class WizardTest : public ::testing::Test {
 protected:
  WizardTest() : app(machine, ui, setupStrings()) {
    app.state().appName = "Tool";
    app.state().windowsFolder = "C:\\WINDOWS";
    settings.caption = "Tool Setup";
    settings.notice = "NOTICE TEXT";
    settings.defaultFolder = "C:\\Install";
    settings.regInfo = false;
  }
  void optional(std::vector<long> numbers) {
    app.state().optionalDirectories = numbers;
    app.state().selectedDirectories = numbers;
    for (long n : numbers) app.state().directoryLabels.push_back("Part " + std::to_string(n));
  }
  bool run(long long copyTotal = 0) {
    SetupDialogs dialogs = app.dialogs();
    Wizard wizard(dialogs, app.state(), machine.files(), settings,
                  [copyTotal](const SetupState&) { return copyTotal; });
    return wizard.run();
  }

  test::MemoryMachine machine;
  FakeInteraction ui;
  SetupApp app;
  WizardSettings settings;
};

TEST_F(WizardTest, SmallestWizardHasFourPagesAndFinishStoresTheDefaults) {
  ASSERT_TRUE(run());
  EXPECT_EQ(ui.events, (std::vector<std::string>{"page:first", "page:notice", "page:sharing",
                                                 "page:destination"}));
  EXPECT_EQ(app.state().installFolder, "C:\\Install");
  EXPECT_FALSE(app.state().backup);
  EXPECT_EQ(app.state().shortcutScope, 0);
  EXPECT_EQ(app.state().userName, "");
  EXPECT_EQ(app.state().company, "");
  EXPECT_EQ(app.state().serial, "");
}

TEST_F(WizardTest, ButtonsTextsAndCaptions) {
  settings.showLicence = true;
  settings.licenceText = "LICENCE BODY";
  settings.regInfo = true;
  optional({2});
  ui.pageActions = {pressOn(Action::Next), pressOn(Action::Next), pressOn(Action::Next),
                    fill({{"UserName", "Ann"}}), pressOn(Action::Next), pressOn(Action::Next)};
  ASSERT_TRUE(run());
  ASSERT_EQ(ui.pages.size(), 7u);
  for (const ui::Page& page : ui.pages) EXPECT_EQ(page.caption, "Tool Setup");
  EXPECT_FALSE(ui.pages[0].back);
  for (std::size_t i = 1; i < 7; ++i) EXPECT_TRUE(ui.pages[i].back) << ui.pages[i].id;
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_FALSE(ui.pages[i].next.empty()) << ui.pages[i].id;
    EXPECT_TRUE(ui.pages[i].finish.empty()) << ui.pages[i].id;
  }
  EXPECT_TRUE(ui.pages[6].next.empty());
  EXPECT_EQ(ui.pages[6].finish, "&Finish");
  EXPECT_EQ(ui.pages[6].actions, std::vector<std::string>{"&Change"});

  const ui::Page& notice = ui.pages[1];
  EXPECT_NE(notice.text.find("Welcome to Tool"), std::string::npos);
  EXPECT_NE(notice.text.find("NOTICE TEXT"), std::string::npos);
  const ui::Page& licence = ui.pages[2];
  EXPECT_EQ(licence.next, "I &Agree");
  EXPECT_EQ(licence.cancel, "I &Dont Agree");
  EXPECT_NE(licence.text.find("LICENCE BODY"), std::string::npos);
  EXPECT_EQ(ui.pages[3].next, "&Next >");  // the saved labels are back after the licence
  EXPECT_EQ(ui.pages[3].cancel, "Cancel");
}

// The windows lay each page out from its parts: every page must carry the parts its layout
// places, and the parts must be the texts the page shows (the transcript's text) in order.
TEST_F(WizardTest, EveryPageCarriesItsLayoutAndItsTextsPartByPart) {
  settings.showLicence = true;
  settings.licenceText = "LICENCE BODY\nSECOND LINE";
  settings.regInfo = true;
  optional({2, 3});
  ui.pageActions = {pressOn(Action::Next), pressOn(Action::Next), pressOn(Action::Next),
                    fill({{"UserName", "Ann"}}), pressOn(Action::Next), pressOn(Action::Next)};
  ASSERT_TRUE(run(1536));
  ASSERT_EQ(ui.pages.size(), 7u);
  using L = ui::PageLayout;
  const L layouts[] = {L::First, L::Notice, L::Licence, L::Registration, L::Components, L::Sharing,
                       L::Destination};
  for (std::size_t i = 0; i < 7; ++i) {
    const ui::Page& page = ui.pages[i];
    EXPECT_EQ(ui::pageLayout(page), layouts[i]) << page.id;
    std::vector<std::string> parts;
    if (!page.heading.empty()) parts.push_back(page.heading);
    parts.insert(parts.end(), page.paragraphs.begin(), page.paragraphs.end());
    if (!page.longText.empty()) parts.push_back(page.longText);
    for (const ui::LabelValue& row : page.rows) parts.push_back(row.label + " " + row.value);
    if (!page.footer.empty()) parts.push_back(page.footer);
    std::size_t at = 0;
    for (const std::string& part : parts) {
      std::size_t found = page.text.find(part, at);
      ASSERT_NE(found, std::string::npos) << page.id << ": \"" << part << "\" not in order in\n" << page.text;
      at = found + part.size();
    }
    EXPECT_EQ(page.text.rfind(page.heading.empty() ? parts.front() : page.heading, 0), 0u) << page.id;
  }
  EXPECT_EQ(ui.pages[0].paragraphs.size(), 3u);  // the three lines about the wizard
  EXPECT_EQ(ui.pages[1].paragraphs[1], "NOTICE TEXT");
  EXPECT_EQ(ui.pages[2].longText, "LICENCE BODY\nSECOND LINE");
  const ui::Page& destination = ui.pages[6];
  ASSERT_EQ(destination.rows.size(), 2u);
  EXPECT_EQ(destination.rows[0].label, "Disk space required:");
  EXPECT_EQ(destination.rows[0].value, "1.50 Ko");
  EXPECT_EQ(destination.rows[1].label, "Disk space available:");
}

TEST_F(WizardTest, RegistrationNeedsAUserNameInBothDirections) {
  settings.regInfo = true;
  ui.pageActions = {pressOn(Action::Next), pressOn(Action::Next),
                    fill({{"Company", "Co"}}),                     // empty name: beep, stay
                    fill({{"Company", "Co"}}, Action::Back),       // Back is refused as well
                    fill({{"UserName", "   "}, {"Serial", ""}}),   // blanks count as a name
                    pressOn(Action::Back),                         // to registration again
                    pressOn(Action::Next)};
  ASSERT_TRUE(run());
  EXPECT_EQ(ui.beeps, 2);
  EXPECT_EQ(ui.events, (std::vector<std::string>{
                           "page:first", "page:notice", "page:registration", "beep",
                           "page:registration", "beep", "page:registration", "page:sharing",
                           "page:registration", "page:sharing", "page:destination"}));
  // The page kept its texts across Back and Next.
  const ui::Page& again = ui.pages[6];
  EXPECT_EQ(again.fields[0].value, "   ");
  EXPECT_EQ(again.fields[1].value, "Co");
  EXPECT_EQ(app.state().userName, "   ");
  EXPECT_EQ(app.state().company, "Co");
  EXPECT_EQ(app.state().serial, "");
}

TEST_F(WizardTest, UncheckedComponentsLeaveOnlyFixedDirectoriesSelected) {
  optional({0, 3});
  long long seenTotalSelection = -1;
  ui.pageActions = {pressOn(Action::Next), pressOn(Action::Next), [](const ui::Page& page) {
                      ui::PageResult result = FakeInteraction::press(page, Action::Next);
                      EXPECT_EQ(page.fields[0].items, (std::vector<std::string>{"Part 0", "Part 3"}));
                      EXPECT_EQ(page.fields[0].itemKeys, (std::vector<std::string>{"0", "3"}));
                      EXPECT_EQ(page.fields[0].itemChecked, (std::vector<bool>{true, true}));
                      result.fields[0].itemChecked = {false, false};
                      return result;
                    }};
  SetupDialogs dialogs = app.dialogs();
  Wizard wizard(dialogs, app.state(), machine.files(), settings, [&](const SetupState& s) {
    seenTotalSelection = static_cast<long long>(s.selectedDirectories.size());
    return 0;
  });
  ASSERT_TRUE(wizard.run());
  EXPECT_EQ(seenTotalSelection, 0);  // the destination page counted with the new selection
  EXPECT_FALSE(app.isDirectorySelected(0));
  EXPECT_FALSE(app.isDirectorySelected(3));
  EXPECT_TRUE(app.isDirectorySelected(1));
  EXPECT_TRUE(app.isDirectorySelected(5));
}

TEST_F(WizardTest, SharingChoiceBecomesTheShortcutScope) {
  ui.pageActions = {pressOn(Action::Next), pressOn(Action::Next), [](const ui::Page& page) {
                      ui::PageResult result = FakeInteraction::press(page, Action::Next);
                      EXPECT_EQ(page.fields[0].selected, 0);
                      result.fields[0].selected = 1;
                      return result;
                    }};
  ASSERT_TRUE(run());
  EXPECT_EQ(app.state().shortcutScope, 1);
}

TEST_F(WizardTest, DestinationShowsSpacesAndChangeUsesThePicker) {
  ui.pageActions = {pressOn(Action::Next), pressOn(Action::Next), pressOn(Action::Next),
                    pressOn(Action::PageButton, 0),  // picker cancelled
                    pressOn(Action::PageButton, 0),  // a drive root: refused
                    pressOn(Action::PageButton, 0),  // a real folder
                    [](const ui::Page& page) {
                      ui::PageResult result = FakeInteraction::press(page, Action::Finish);
                      result.fields[1].checked = true;
                      return result;
                    }};
  ui.folders = {std::nullopt, std::string("D:\\Junk"), std::string("C:\\Tools\\App\\Junk")};
  ASSERT_TRUE(run(1536));
  ASSERT_EQ(ui.folderPrompts.size(), 3u);
  EXPECT_EQ(ui.folderPrompts[0].text, "Please select a folder where to install your new software.");
  EXPECT_EQ(ui.folderPrompts[0].caption, "S\351lection de r\351pertoire");
  EXPECT_EQ(ui.folderPrompts[0].dummyName, "Junk");
  EXPECT_EQ(ui.beeps, 1);
  const ui::Page& first = ui.pages[3];
  EXPECT_EQ(first.fields[0].value, "C:\\Install");
  EXPECT_NE(first.text.find("Disk space required: 1.50 Ko"), std::string::npos) << first.text;
  EXPECT_NE(first.text.find("Disk space available: "), std::string::npos);
  EXPECT_EQ(first.text.find("Disk space available: 0K"), std::string::npos) << first.text;
  EXPECT_EQ(ui.pages[5].fields[0].value, "C:\\Install");  // kept after the refused root
  EXPECT_EQ(ui.pages[6].fields[0].value, "C:\\Tools\\App");
  EXPECT_EQ(app.state().installFolder, "C:\\Tools\\App");
  EXPECT_TRUE(app.state().backup);
}

TEST_F(WizardTest, TypedFolderIsCheckedLikeAPickedOne) {
  ui.pageActions = {pressOn(Action::Next), pressOn(Action::Next), pressOn(Action::Next),
                    fill({{"Folder", "C:\\"}}, Action::Finish),
                    fill({{"Folder", "relative\\path"}}, Action::Finish),
                    fill({{"Folder", "E:\\Apps\\Tool\\"}}, Action::Finish)};
  ASSERT_TRUE(run());
  EXPECT_EQ(ui.beeps, 2);
  EXPECT_EQ(app.state().installFolder, "E:\\Apps\\Tool");
}

TEST_F(WizardTest, CancelOnEveryPageAsksAndNoKeepsThePage) {
  settings.showLicence = true;
  settings.regInfo = true;
  optional({1});
  const std::vector<std::string> pages{"first",      "notice",  "licence",    "registration",
                                       "components", "sharing", "destination"};
  for (std::size_t target = 0; target < pages.size(); ++target) {
    FakeInteraction local;
    SetupApp localApp(machine, local, setupStrings());
    localApp.state() = app.state();
    for (std::size_t i = 0; i < target; ++i) {
      local.pageActions.push_back(i == 3 ? fill({{"UserName", "Ann"}}) : pressOn(Action::Next));
    }
    local.pageActions.push_back(pressOn(Action::Cancel));
    local.pageActions.push_back(pressOn(Action::Cancel));
    local.answers = {ui::Answer::No, ui::Answer::Yes};
    SetupDialogs localDialogs = localApp.dialogs();
    Wizard wizard(localDialogs, localApp.state(), machine.files(), settings, nullptr);
    EXPECT_FALSE(wizard.run()) << pages[target];
    ASSERT_EQ(local.messages.size(), 2u) << pages[target];
    EXPECT_EQ(local.messages[0].text,
              "The Setup procedure is not complete. However, your system has not been updated "
              "yet. Are you sure you want to quit now ?");
    EXPECT_EQ(local.messages[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(local.messages[0].icon, ui::Icon::Question);
    // Both Cancel presses happened on the same page.
    ASSERT_GE(local.pages.size(), 2u);
    EXPECT_EQ(local.pages[local.pages.size() - 1].id, pages[target]);
    EXPECT_EQ(local.pages[local.pages.size() - 2].id, pages[target]);
    EXPECT_TRUE(localApp.state().installFolder.empty());
  }
}

// No to the cancel question shows the page again as the user left it, typed entries and all,
// and a folder line that is not a folder yet is still checked on Finish.
TEST_F(WizardTest, NoToTheCancelQuestionKeepsWhatWasTyped) {
  settings.regInfo = true;
  ui.pageActions = {pressOn(Action::Next), pressOn(Action::Next),
                    fill({{"UserName", "Bob"}, {"Company", "Acme"}}, Action::Cancel),
                    pressOn(Action::Next), pressOn(Action::Next),
                    fill({{"Folder", "D:\\Tools"}}, Action::Cancel),
                    fill({{"Folder", "Tools"}}, Action::Cancel),
                    pressOn(Action::Finish),
                    fill({{"Folder", "E:\\Tool"}}, Action::Finish)};
  ui.answers = {ui::Answer::No, ui::Answer::No, ui::Answer::No};
  ASSERT_TRUE(run());
  ASSERT_EQ(ui.pages.size(), 9u);
  EXPECT_EQ(ui.pages[3].id, "registration");
  EXPECT_EQ(ui.pages[3].fields[0].value, "Bob");
  EXPECT_EQ(ui.pages[3].fields[1].value, "Acme");
  EXPECT_EQ(ui.pages[6].fields[0].value, "D:\\Tools");
  EXPECT_EQ(ui.pages[7].fields[0].value, "Tools");
  EXPECT_EQ(ui.beeps, 1);  // Finish with "Tools" on the line
  EXPECT_EQ(ui.pages[8].fields[0].value, "Tools");
  EXPECT_EQ(app.state().userName, "Bob");
  EXPECT_EQ(app.state().installFolder, "E:\\Tool");
}

TEST_F(WizardTest, APageThatCanNeverBeLeftEndsTheWizard) {
  settings.regInfo = true;
  // An unattended backend without a user name presses Next for ever.
  for (int i = 0; i < 1000; ++i) ui.pageActions.push_back(pressOn(Action::Next));
  EXPECT_FALSE(run());
  EXPECT_LT(ui.pages.size(), 200u);
  EXPECT_EQ(ui.pages.back().id, "registration");
}

}  // namespace
}  // namespace vandrel::setup
