// Tests of the terminal backend: without a terminal it takes every default and never reads;
// with typed lines a person can go through a small installation; the progress bar.
#include "ui/console_interaction.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/support/host_pipe.h"
#include "ui/ui_test_support.h"

namespace vandrel::ui {
namespace {

using testing::CapturedStream;
using testing::question;

// Standard input replaced by a pipe holding `typed`, for the lifetime of the object.
class PipedStdin {
 public:
  explicit PipedStdin(const std::string& typed) {
    int fds[2];
    if (!test::makeHostPipe(fds)) throw std::runtime_error("pipe");
    if (write(fds[1], typed.data(), typed.size()) != static_cast<ssize_t>(typed.size())) {
      throw std::runtime_error("write");
    }
    close(fds[1]);
    saved_ = dup(0);
    dup2(fds[0], 0);
    close(fds[0]);
  }
  ~PipedStdin() {
    dup2(saved_, 0);
    close(saved_);
    clearerr(stdin);
  }
  // What is still unread in the pipe.
  std::string unread() const {
    std::string rest;
    char buffer[256];
    ssize_t got;
    while ((got = read(0, buffer, sizeof buffer)) > 0) rest.append(buffer, static_cast<size_t>(got));
    return rest;
  }

 private:
  int saved_ = -1;
};

TEST(ConsoleWithoutTerminal, TakesDefaultsAndNeverReadsTheInput) {
  PipedStdin input("y\nn\n1\nAnn\nc\n");
  std::unique_ptr<ConsoleInteraction> ui = ConsoleInteraction::onTerminal();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(ui->message(question(Buttons::YesNo, 1)), Answer::No);
  EXPECT_EQ(ui->message(question(Buttons::YesNoCancel, 2)), Answer::Cancel);
  EXPECT_EQ(ui->message(question(Buttons::YesYesToAllNo, 0)), Answer::Yes);
  Message detailed = question(Buttons::YesNo, 0, "Proceed ?");
  detailed.detail = "Z:\\a.exe: not found\nZ:\\b.exe: not found";
  EXPECT_EQ(ui->message(detailed), Answer::Yes);
  PageResult registration = ui->page(testing::registrationPage());
  EXPECT_EQ(registration.action, PageResult::Action::Next);
  EXPECT_EQ(registration.fields[0].value, "");
  PageResult destination = ui->page(testing::destinationPage());
  EXPECT_EQ(destination.action, PageResult::Action::Finish);
  EXPECT_EQ(destination.fields[0].value, "C:\\Install");
  EXPECT_EQ(ui->folder(FolderPrompt{"Folder", "Disk 2", "Junk", "Z:\\pkg"}), std::nullopt);
  EXPECT_EQ(ui->choose(Choice{"Dir", "Pick", {"a", "b", "c"}, 2}), 2);
  ui->closing(Closing{"App", "Setup completed", 4, "", "", {}});
  Progress progress;
  progress.cancellable = true;
  progress.percent = 50;
  ui->progress(progress);
  EXPECT_FALSE(ui->cancelPressed());
  ui->endProgress();
  std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("Sure ? -> No"), std::string::npos) << said;
  EXPECT_NE(said.find("Proceed ? (Z:\\a.exe: not found; Z:\\b.exe: not found) -> Yes"),
            std::string::npos)
      << said;
  EXPECT_NE(said.find("Setup completed"), std::string::npos) << said;
  EXPECT_EQ(input.unread(), "y\nn\n1\nAnn\nc\n");
}

TEST(ConsoleWithoutTerminal, RefusedPageIsCancelledInsteadOfLooping) {
  CapturedStream in, out, err;
  ConsoleInteraction ui(in.file(), out.file(), err.file(), false, false);
  Page page = testing::registrationPage();
  EXPECT_EQ(ui.page(page).action, PageResult::Action::Next);
  EXPECT_EQ(ui.page(page).action, PageResult::Action::Next);
  EXPECT_EQ(ui.page(page).action, PageResult::Action::Cancel);
}

// A person at the terminal: the typed lines come from a file.
class ConsoleTyped : public ::testing::Test {
 protected:
  void type(const std::string& lines) {
    std::fputs(lines.c_str(), in_.file());
    std::rewind(in_.file());
  }
  ConsoleInteraction ui() { return ConsoleInteraction(in_.file(), out_.file(), err_.file(), true, false); }
  CapturedStream in_, out_, err_;
};

TEST_F(ConsoleTyped, SmallInstallationAtTheTerminal) {
  type(
      "1\nAnn Smith\n"      // registration: change the user name
      "x\n"                 // an unknown command is said and the page stays
      "n\n"
      "1\n1,3\n\n"          // components: clear the first and the last line, then Enter = Next
      "1\n2\nn\n"           // sharing: the second option, Do not share
      "change\n"            // destination: the Change button
      "2\nf\n"              // tick Backup and Finish
      "maybe\ny\n"          // question: a wrong word, then Yes
      "D:\\Apps\n"          // folder
      "3\n"                 // choice
      "\n");                // closing
  ConsoleInteraction console = ui();
  PageResult registration = console.page(testing::registrationPage());
  EXPECT_EQ(registration.action, PageResult::Action::Next);
  EXPECT_EQ(registration.fields[0].value, "Ann Smith");
  PageResult components = console.page(testing::componentsPage());
  EXPECT_EQ(components.action, PageResult::Action::Next);
  EXPECT_EQ(components.fields[0].itemChecked, (std::vector<bool>{false, true, false}));
  PageResult sharing = console.page(testing::sharingPage());
  EXPECT_EQ(sharing.fields[0].selected, 1);
  EXPECT_EQ(sharing.action, PageResult::Action::Next);
  PageResult change = console.page(testing::destinationPage());
  EXPECT_EQ(change.action, PageResult::Action::PageButton);
  EXPECT_EQ(change.pageButton, 0);
  PageResult finish = console.page(testing::destinationPage());
  EXPECT_EQ(finish.action, PageResult::Action::Finish);
  EXPECT_TRUE(finish.fields[1].checked);
  EXPECT_EQ(console.message(question(Buttons::YesNo, 1)), Answer::Yes);
  EXPECT_EQ(console.folder(FolderPrompt{"Folder", "Where ?", "Junk", ""}), "D:\\Apps\\Junk");
  EXPECT_EQ(console.choose(Choice{"Dir", "Pick", {"a", "b", "c"}, 0}), 2);
  console.closing(Closing{"App", "All done", 4, "", "", {}});

  std::string shown = out_.text();
  EXPECT_NE(shown.find("Unknown command: x"), std::string::npos);
  EXPECT_NE(shown.find("User Name: Ann Smith"), std::string::npos);
  EXPECT_NE(shown.find("[ ] Program files"), std::string::npos);
  EXPECT_NE(shown.find("(o) Do not share"), std::string::npos);
  EXPECT_NE(shown.find("[Y]es  [N]o (Enter: No)"), std::string::npos);
  EXPECT_NE(shown.find("Please type one of"), std::string::npos);
  EXPECT_NE(shown.find("All done"), std::string::npos);
}

TEST_F(ConsoleTyped, EnterTakesDefaultsAndEndOfInputStopsAsking) {
  type("\n\n");
  ConsoleInteraction console = ui();
  Message detailed = question(Buttons::YesNoCancel, 2, "Proceed anyway ?");
  detailed.detail = "Z:\\src\\a.exe: not found";
  EXPECT_EQ(console.message(detailed), Answer::Cancel);
  EXPECT_NE(out_.text().find("Proceed anyway ?\nZ:\\src\\a.exe: not found\n"), std::string::npos)
      << "the detail below the text: " << out_.text();
  EXPECT_EQ(console.folder(FolderPrompt{"F", "", "Junk", "C:\\Old\\"}), "C:\\Old\\Junk");
  // The input is used up: the rest goes as without a terminal.
  EXPECT_EQ(console.message(question(Buttons::YesNo, 1)), Answer::No);
  EXPECT_EQ(console.page(testing::destinationPage()).action, PageResult::Action::Finish);
  EXPECT_EQ(console.folder(FolderPrompt{"F", "", "Junk", "C:\\Old"}), std::nullopt);
  EXPECT_EQ(console.choose(Choice{"Dir", "", {"a", "b"}, 1}), 1);
}

TEST_F(ConsoleTyped, CodePageTextMeetsAUtf8Terminal) {
  // A euro sign typed in UTF-8 is byte 0x80 of the code page; 0x92 is shown as the
  // typographic apostrophe, not as a control character.
  type("1\nJos\xc3\xa9 \xe2\x82\xac\nn\n");
  ConsoleInteraction console = ui();
  Page page = testing::registrationPage();
  page.caption = "S\xe9lection d\x92un dossier";
  PageResult result = console.page(page);
  EXPECT_EQ(result.fields[0].value, "Jos\xe9 \x80");
  EXPECT_NE(out_.text().find("=== S\xc3\xa9lection d\xe2\x80\x99un dossier ==="), std::string::npos)
      << out_.text();
}

TEST_F(ConsoleTyped, DashCancelsFolderAndChoice) {
  type("-\n-\n");
  ConsoleInteraction console = ui();
  EXPECT_EQ(console.folder(FolderPrompt{"F", "", "Junk", "C:\\Old"}), std::nullopt);
  EXPECT_EQ(console.choose(Choice{"Dir", "", {"a", "b"}, 1}), std::nullopt);
}

TEST(ConsoleTypedProgress, CancelIsTypedWhileTheBarRuns) {
  int fds[2];
  ASSERT_TRUE(test::makeHostPipe(fds));
  std::FILE* in = fdopen(fds[0], "r");
  CapturedStream out, err;
  ConsoleInteraction ui(in, out.file(), err.file(), true, false);
  Progress progress;
  progress.caption = "File copy in progress...";
  progress.cancellable = true;
  progress.percent = 10;
  ui.progress(progress);
  EXPECT_FALSE(ui.cancelPressed());  // nothing typed: no waiting, no cancel
  ASSERT_EQ(write(fds[1], "x\n", 2), 2);
  EXPECT_FALSE(ui.cancelPressed());
  ASSERT_EQ(write(fds[1], "C\n", 2), 2);
  EXPECT_TRUE(ui.cancelPressed());
  EXPECT_FALSE(ui.cancelPressed());
  EXPECT_NE(err.text().find("type c and Enter to cancel"), std::string::npos);
  // A window without Cancel does not read the input.
  progress.cancellable = false;
  ui.progress(progress);
  ASSERT_EQ(write(fds[1], "c\n", 2), 2);
  EXPECT_FALSE(ui.cancelPressed());
  ui.endProgress();
  close(fds[1]);
  std::fclose(in);
}

TEST(ConsoleProgressBar, BarLineAndRedrawOnChangeOnly) {
  Progress progress;
  progress.lines = {"Copying", "", "App.exe"};
  EXPECT_EQ(ConsoleProgress::barLine(progress, 50, 79),
            "[###############...............]  50%  Copying  App.exe");
  EXPECT_EQ(ConsoleProgress::barLine(progress, -1, 79), "Copying  App.exe");
  EXPECT_EQ(ConsoleProgress::barLine(progress, 100, 10).size(), 10u);

  CapturedStream err;
  ConsoleProgress bar(err.file(), false);
  progress.caption = "File copy in progress...";
  progress.boxLabels = {"Shared program files...", "Standard program files..."};
  for (int percent : {0, 1, 2, 9, 10, 10, 55}) {
    progress.percent = percent;
    progress.boxes = {percent >= 10, false};
    bar.show(progress, "");
  }
  bar.end();
  std::string said = err.text();
  EXPECT_EQ(said,
            "File copy in progress...\n"
            "[..............................]   0%  Copying  App.exe\n"
            "  [x] Shared program files...\n"
            "[###...........................]  10%  Copying  App.exe\n"
            "[###############...............]  50%  Copying  App.exe\n");
}

}  // namespace
}  // namespace vandrel::ui
