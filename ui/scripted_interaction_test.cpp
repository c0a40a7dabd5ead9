// Tests of the unattended backend: which dialogs use up answers, the wizard fields, the
// repeat guard, folder and choice answers, and the progress Cancel.
#include "ui/scripted_interaction.h"

#include <gtest/gtest.h>

#include "ui/ui_test_support.h"

namespace vandrel::ui {
namespace {

using testing::CapturedStream;
using testing::question;

ScriptedInteraction withAnswers(const std::string& text, std::FILE* err = stderr) {
  return ScriptedInteraction(Answers::fromText(text), err);
}

TEST(ScriptedMessages, OnlyQuestionsUseUpNumberedAnswers) {
  ScriptedInteraction ui = withAnswers("[Answers]\r\n1=No\r\n2=yes\r\n3=CANCEL\r\n");
  Message info;
  info.text = "Done.";
  EXPECT_EQ(ui.message(info), Answer::OK);  // one OK button: no entry used
  EXPECT_EQ(ui.message(question(Buttons::YesNo)), Answer::No);
  ui.page(testing::registrationPage());
  ui.folder(FolderPrompt{});
  ui.closing(Closing{});
  ui.diskMessage(DiskMessage{});
  ui.choose(Choice{"c", "t", {"a", "b"}, 0});
  EXPECT_EQ(ui.message(question(Buttons::YesNo)), Answer::Yes);
  EXPECT_EQ(ui.message(question(Buttons::YesNoCancel)), Answer::Cancel);
  // Beyond the list without Default=: the message's own default button.
  EXPECT_EQ(ui.message(question(Buttons::YesNo, 1)), Answer::No);
  EXPECT_EQ(ui.message(question(Buttons::YesNo, 0)), Answer::Yes);
}

TEST(ScriptedMessages, StopAndWarningMessagesGoToStandardErrorAsOneLine) {
  struct Case {
    Icon icon;
    Buttons buttons;
    const char* text;
    const char* printed;  // nullptr: nothing printed
  };
  const Case cases[] = {
      {Icon::Stop, Buttons::OK, "Cannot find C:\\SRC\\SCRIPT.VRX.", "tamsin32: Cannot find C:\\SRC\\SCRIPT.VRX.\n"},
      {Icon::Exclamation, Buttons::OK, "Line one\r\nLine two\n\nthree", "tamsin32: Line one Line two three\n"},
      {Icon::Stop, Buttons::OK, "R\xe9pertoire d\x92origine", "tamsin32: R\xc3\xa9pertoire d\xe2\x80\x99origine\n"},
      {Icon::Exclamation, Buttons::YesNo, "Replace it ?", "tamsin32: Replace it ?\n"},
      {Icon::Information, Buttons::OK, "Done.", nullptr},
      {Icon::Question, Buttons::YesNo, "Sure ?", nullptr},
      {Icon::None, Buttons::OK, "Plain.", nullptr},
  };
  for (const Case& c : cases) {
    CapturedStream err;
    ScriptedInteraction ui(Answers(), err.file(), "tamsin32");
    Message message;
    message.caption = "Setup";
    message.text = c.text;
    message.icon = c.icon;
    message.buttons = c.buttons;
    ui.message(message);
    EXPECT_EQ(err.text(), c.printed ? c.printed : "") << c.text;
  }
}

// The detail (file and reason) follows the text on the same line; a question that carries one
// is printed too, with the answer taken.
TEST(ScriptedMessages, DetailFollowsTheTextOnItsLine) {
  CapturedStream err;
  ScriptedInteraction ui(Answers::fromText("[Answers]\n1=No\n"), err.file(), "corvix");
  Message stop;
  stop.text = "An error occured.";
  stop.icon = Icon::Stop;
  stop.detail = "Z:\\src\\a.exe: not found\nZ:\\src\\b.exe: not found";
  ui.message(stop);
  Message ask = question(Buttons::YesNo, 0, "Proceed anyway ?");
  ask.detail = "Z:\\src\\a.exe: not found";
  EXPECT_EQ(ui.message(ask), Answer::No);
  Message done;
  done.text = "Done.";
  done.icon = Icon::Information;
  done.detail = "Z:\\pkg";
  ui.message(done);
  EXPECT_EQ(err.text(),
            "corvix: An error occured. (Z:\\src\\a.exe: not found; Z:\\src\\b.exe: not found)\n"
            "corvix: Proceed anyway ? (Z:\\src\\a.exe: not found) -> No\n"
            "corvix: Done. (Z:\\pkg)\n");
}

TEST(ScriptedMessages, DefaultAnswersQuestionsBeyondTheList) {
  ScriptedInteraction ui = withAnswers("[Answers]\n1=Yes\nDefault=No\n");
  EXPECT_EQ(ui.message(question(Buttons::YesNo, 1)), Answer::Yes);
  EXPECT_EQ(ui.message(question(Buttons::YesNo, 0)), Answer::No);
  EXPECT_EQ(ui.message(question(Buttons::YesYesToAllNo, 0)), Answer::No);
}

TEST(ScriptedMessages, AnswerThatIsNotAButtonGivesTheDefault) {
  struct Case {
    const char* given;
    Buttons buttons;
    int defaultButton;
    Answer expected;
  };
  const Case cases[] = {
      {"Cancel", Buttons::YesNo, 1, Answer::No},
      {"YesToAll", Buttons::YesNo, 0, Answer::Yes},
      {"YesToAll", Buttons::YesYesToAllNo, 2, Answer::YesToAll},
      {"yestoall", Buttons::YesYesToAllNo, 0, Answer::YesToAll},
      {"OK", Buttons::OKCancel, 1, Answer::OK},
      {"Yes", Buttons::OKCancel, 1, Answer::Cancel},
      {"Maybe", Buttons::YesNoCancel, 2, Answer::Cancel},
      {"", Buttons::YesNo, 1, Answer::No},
      {"Yes ; comment", Buttons::YesNo, 1, Answer::No},  // text after a value is the value
      {"No", Buttons::YesNo, 7, Answer::No},
      {"Nonsense", Buttons::YesNo, 7, Answer::Yes},  // out-of-range default: first button
  };
  for (const Case& c : cases) {
    ScriptedInteraction ui = withAnswers(std::string("[Answers]\n1=") + c.given + "\n");
    EXPECT_EQ(ui.message(question(c.buttons, c.defaultButton)), c.expected) << c.given;
  }
}

TEST(ScriptedMessages, NoAnswersFileTakesDefaults) {
  ScriptedInteraction ui;
  EXPECT_EQ(ui.message(question(Buttons::YesNoCancel, 2)), Answer::Cancel);
  EXPECT_EQ(ui.message(question(Buttons::YesNo, 1)), Answer::No);
}

TEST(ScriptedPages, RegistrationFieldsAndForwardButton) {
  ScriptedInteraction ui =
      withAnswers("[Wizard]\nUserName=Ann Smith\nCompany=Co & Sons\nSerial=X-1\n");
  PageResult result = ui.page(testing::registrationPage());
  EXPECT_EQ(result.action, PageResult::Action::Next);
  ASSERT_EQ(result.fields.size(), 3u);
  EXPECT_EQ(result.fields[0].value, "Ann Smith");
  EXPECT_EQ(result.fields[1].value, "Co & Sons");
  EXPECT_EQ(result.fields[2].value, "X-1");

  PageResult last = ui.page(testing::destinationPage());
  EXPECT_EQ(last.action, PageResult::Action::Finish);
}

TEST(ScriptedPages, ComponentsAllNoneAndList) {
  struct Case {
    const char* given;
    std::vector<bool> checked;
  };
  const Case cases[] = {
      {"all", {true, true, true}},     {"ALL", {true, true, true}},
      {"none", {false, false, false}}, {"4", {false, true, false}},
      {"0, 5", {true, false, true}},   {"5,4,0", {true, true, true}},
      {"9", {false, false, false}},    {"", {false, false, false}},
      {"00, 05", {true, false, true}}, {"4,,x", {false, true, false}},
  };
  for (const Case& c : cases) {
    ScriptedInteraction ui = withAnswers(std::string("[Wizard]\nComponents=") + c.given + "\n");
    PageResult result = ui.page(testing::componentsPage());
    EXPECT_EQ(result.fields[0].itemChecked, c.checked) << c.given;
  }
  ScriptedInteraction untouched;
  EXPECT_EQ(untouched.page(testing::componentsPage()).fields[0].itemChecked,
            (std::vector<bool>{true, true, true}));
}

TEST(ScriptedPages, SharingFolderAndBackup) {
  ScriptedInteraction ui = withAnswers("[Wizard]\nSharing=1\nFolder=D:\\Tools\\App\nBackup=1\n");
  EXPECT_EQ(ui.page(testing::sharingPage()).fields[0].selected, 1);
  PageResult destination = ui.page(testing::destinationPage());
  EXPECT_EQ(destination.fields[0].value, "D:\\Tools\\App");
  EXPECT_TRUE(destination.fields[1].checked);

  // An index the page does not offer leaves the choice alone.
  ScriptedInteraction odd = withAnswers("[Wizard]\nSharing=5\n");
  EXPECT_EQ(odd.page(testing::sharingPage()).fields[0].selected, 0);
}

TEST(ScriptedPages, AbsentOrEmptyFolderKeepsThePagesDefault) {
  for (const char* text : {"[Wizard]\nUserName=A\n", "[Wizard]\nFolder=\n"}) {
    ScriptedInteraction ui = withAnswers(text);
    PageResult result = ui.page(testing::destinationPage());
    EXPECT_EQ(result.fields[0].value, "C:\\Install") << text;
    EXPECT_FALSE(result.fields[1].checked) << text;
  }
}

TEST(ScriptedPages, CancelOnTheNamedPageOnly) {
  ScriptedInteraction ui = withAnswers("[Wizard]\nCancel=Components\n");
  EXPECT_EQ(ui.page(testing::registrationPage()).action, PageResult::Action::Next);
  EXPECT_EQ(ui.page(testing::componentsPage()).action, PageResult::Action::Cancel);
  EXPECT_EQ(ui.page(testing::destinationPage()).action, PageResult::Action::Finish);

  ScriptedInteraction finish = withAnswers("[Wizard]\nCancel=\n");
  EXPECT_EQ(finish.page(testing::destinationPage()).action, PageResult::Action::Finish);
}

TEST(ScriptedPages, RefusedPageIsCancelledTheThirdTimeInARow) {
  CapturedStream err;
  ScriptedInteraction ui = withAnswers("[Wizard]\nUserName=\n", err.file());
  Page page = testing::registrationPage();
  EXPECT_EQ(ui.page(page).action, PageResult::Action::Next);
  EXPECT_EQ(ui.page(page).action, PageResult::Action::Next);
  EXPECT_EQ(ui.page(page).action, PageResult::Action::Cancel);
  EXPECT_EQ(ui.page(page).action, PageResult::Action::Cancel);
  std::string said = err.text();
  EXPECT_NE(said.find("\"registration\""), std::string::npos);
  EXPECT_EQ(said.find("Cancel"), said.rfind("Cancel")) << "said more than once: " << said;

  // Other pages in between start the count again.
  ScriptedInteraction moving = withAnswers("", err.file());
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(moving.page(page).action, PageResult::Action::Next);
    EXPECT_EQ(moving.page(testing::sharingPage()).action, PageResult::Action::Next);
  }
}

TEST(ScriptedPagesDeathTest, PageThatSurvivesCancelStopsTheRun) {
  // The cancel confirmation answered No brings the page back each time.
  auto run = [] {
    ScriptedInteraction ui = withAnswers("[Wizard]\nCancel=notice\n[Answers]\nDefault=No\n");
    Page notice;
    notice.id = "notice";
    for (int i = 0; i < 100; ++i) {
      ui.page(notice);
      ui.message(question(Buttons::YesNo));
    }
  };
  EXPECT_EXIT(run(), ::testing::ExitedWithCode(1), "keeps coming back");
}

TEST(ScriptedFolders, AnswersInOrderThenCancel) {
  ScriptedInteraction ui =
      withAnswers("[Folders]\n1=Z:\\tmp\\pkg\\Disk2\\\n2=Z:\\tmp\\pkg\\Disk3\n3=\n4=C:\\\n");
  FolderPrompt prompt;
  EXPECT_EQ(ui.folder(prompt), "Z:\\tmp\\pkg\\Disk2\\Junk");
  prompt.dummyName = "dummy";
  EXPECT_EQ(ui.folder(prompt), "Z:\\tmp\\pkg\\Disk3\\dummy");
  EXPECT_EQ(ui.folder(prompt), std::nullopt);
  EXPECT_EQ(ui.folder(prompt), "C:\\dummy");
  EXPECT_EQ(ui.folder(prompt), std::nullopt);
}

TEST(ScriptedFolders, TheDestinationPickIsMadeWithChangeOnceBeforeTheNumberedPrompts) {
  ScriptedInteraction ui = withAnswers("[Folders]\nDestination=C:\\Program Files\\Tool\n1=Z:\\pkg\\Disk2\n");
  Page destination;
  destination.id = "destination";
  destination.actions = {"&Change"};
  destination.finish = "&Finish";
  PageResult first = ui.page(destination);
  EXPECT_EQ(first.action, PageResult::Action::PageButton);
  EXPECT_EQ(first.pageButton, 0);
  EXPECT_EQ(ui.folder(FolderPrompt{}), "C:\\Program Files\\Tool\\Junk");
  EXPECT_EQ(ui.page(destination).action, PageResult::Action::Finish);
  EXPECT_EQ(ui.folder(FolderPrompt{}), "Z:\\pkg\\Disk2\\Junk");

  // Without the key the page is left as before.
  ScriptedInteraction plain = withAnswers("[Folders]\n1=Z:\\pkg\\Disk2\n");
  EXPECT_EQ(plain.page(destination).action, PageResult::Action::Finish);
}

TEST(ScriptedChoices, TextNumberCancelAndInitial) {
  CapturedStream err;
  ScriptedInteraction ui =
      withAnswers("[Choices]\n1=Windows Dir\n2=#1\n3=\n4=#9\n5=windows dir\n6=Nowhere\n8=Nowhere\n",
                  err.file());
  Choice choice{"Directory", "Pick one", {"Install Dir", "System Dir", "Windows Dir"}, 1};
  EXPECT_EQ(ui.choose(choice), 2);
  EXPECT_EQ(ui.choose(choice), 0);
  EXPECT_EQ(ui.choose(choice), std::nullopt);
  EXPECT_EQ(ui.choose(choice), 1);  // no ninth item: the initial one
  EXPECT_EQ(ui.choose(choice), 2);
  EXPECT_EQ(ui.choose(choice), 1);  // names no item: the initial one, and says so
  EXPECT_NE(err.text().find("Nowhere"), std::string::npos);
  EXPECT_EQ(ui.choose(choice), 1);  // beyond the list
  // The program's texts reach the terminal in UTF-8 (0x92 the typographic apostrophe).
  EXPECT_EQ(ui.choose(Choice{"Dossier d\x92installation", "", {"R\xe9pertoire \x80"}, 0}), 0);
  EXPECT_NE(err.text().find(
                "\"Dossier d\xe2\x80\x99installation\"; taking \"R\xc3\xa9pertoire \xe2\x82\xac\""),
            std::string::npos)
      << err.text();
  EXPECT_EQ(ui.choose(Choice{"Empty", "", {}, 0}), std::nullopt);
}

TEST(ScriptedProgress, CancelOnPressesCancelOnceAtTheFirstMatch) {
  ScriptedInteraction ui = withAnswers("[Progress]\nCancelOn=Samples\n");
  Progress progress;
  progress.cancellable = true;
  progress.lines = {"Copying", "Program files", "to C:\\App"};
  ui.progress(progress);
  EXPECT_FALSE(ui.cancelPressed());
  progress.lines[1] = "Big Samples pack";
  ui.progress(progress);
  EXPECT_TRUE(ui.cancelPressed());
  EXPECT_FALSE(ui.cancelPressed());
  ui.progress(progress);
  EXPECT_FALSE(ui.cancelPressed());

  ScriptedInteraction never;
  never.progress(progress);
  EXPECT_FALSE(never.cancelPressed());
}

TEST(ScriptedAnswersFile, UnreadableFileIsReported) {
  std::string error;
  EXPECT_FALSE(Answers::fromFile("/nonexistent/answers.ini", &error));
  EXPECT_NE(error.find("/nonexistent/answers.ini"), std::string::npos);
}

}  // namespace
}  // namespace vandrel::ui
