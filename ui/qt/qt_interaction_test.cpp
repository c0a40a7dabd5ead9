// The gui backend on the offscreen platform, driven by answers through its widgets: what each
// window returns is what the scripted backend returns for the same answers, and each window
// is saved when shown.
#include "ui/qt/qt_interaction.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/support/temp_dir.h"
#include "ui/dialog_text.h"
#include "ui/qt/gui_services.h"
#include "ui/qt/percent_bar_widget.h"
#include "ui/qt/testing/offscreen_application.h"

namespace fs = std::filesystem;

namespace vandrel::ui::qt {
namespace {

Answers answersFrom(const fs::path& file, const std::string& text) {
  std::ofstream(file) << text;
  std::string error;
  std::optional<Answers> answers = Answers::fromFile(file.string(), &error);
  EXPECT_TRUE(answers) << error;
  return answers ? std::move(*answers) : Answers();
}

// The wizard's kinds of field on one page, as the destination and registration pages use them.
Page everyKindOfField() {
  Page page;
  page.id = "registration";
  page.caption = "Tool Setup";
  page.text = "Please enter your name.\nName:\nPick what to install:\nSamples\nDocs\nShare?\nYes\nNo";
  auto field = [](Field::Kind kind, const char* name, const char* label) {
    Field f;
    f.kind = kind;
    f.name = name;
    f.label = label;
    return f;
  };
  Field name = field(Field::Kind::Text, "UserName", "Name");
  name.value = "old";
  Field backup = field(Field::Kind::Check, "Backup", "Back up replaced files");
  Field list = field(Field::Kind::CheckList, "Components", "Pick what to install:");
  list.items = {"Samples", "Docs"};
  list.itemKeys = {"3", "4"};
  list.itemChecked = {true, true};
  Field sharing = field(Field::Kind::Radio, "Sharing", "Share?");
  sharing.items = {"Yes", "No"};
  page.fields = {name, backup, list, sharing};
  return page;
}

class QtInteractionTest : public ::testing::Test {
 protected:
  void SetUp() override { offscreenApplication(); }

  // The gui driven by the answers, and the scripted backend given the same answers.
  struct Pair {
    std::unique_ptr<QtInteraction> gui;
    std::unique_ptr<ScriptedInteraction> scripted;
  };
  Pair both(const std::string& answers, Program program = Program::Setup) {
    Answers given = answersFrom(dir_ / "answers.ini", answers);
    return {std::make_unique<QtInteraction>(program, std::make_unique<ScriptedInteraction>(given, nullFile())),
            std::make_unique<ScriptedInteraction>(given, nullFile())};
  }
  std::FILE* nullFile() {
    if (!null_) null_ = std::fopen("/dev/null", "w");
    return null_;
  }
  void TearDown() override {
    if (null_) std::fclose(null_);
    processScreenshots() = Screenshots();
  }

  test::TempDir dir_;
  std::FILE* null_ = nullptr;
};

TEST_F(QtInteractionTest, APageDrivenByAnswersReturnsWhatTheScriptedBackendReturns) {
  auto [guiPtr, scriptedPtr] = both(
      "[Wizard]\nUserName=Ann Lee\nBackup=1\nComponents=4\nSharing=1\n");
  QtInteraction& gui = *guiPtr;
  ScriptedInteraction& scripted = *scriptedPtr;
  Page page = everyKindOfField();
  PageResult shown = gui.page(page);
  PageResult expected = scripted.page(page);
  EXPECT_EQ(shown.action, PageResult::Action::Next);
  ASSERT_EQ(shown.fields.size(), expected.fields.size());
  for (std::size_t i = 0; i < shown.fields.size(); ++i) {
    EXPECT_EQ(fieldAnswer(shown.fields[i]), fieldAnswer(expected.fields[i])) << shown.fields[i].name;
  }
  EXPECT_EQ(fieldAnswer(shown.fields[0]), "Ann Lee");
  EXPECT_EQ(fieldAnswer(shown.fields[2]), "4");

  // Cancel asked for on this page presses the page's Cancel; the last page finishes.
  auto cancelling = both("[Wizard]\nCancel=registration\n").gui;
  EXPECT_EQ(cancelling->page(page).action, PageResult::Action::Cancel);
  page.next.clear();
  page.finish = "&Finish";
  EXPECT_EQ(gui.page(page).action, PageResult::Action::Finish);
}

TEST_F(QtInteractionTest, QuestionsFoldersAndChoicesTakeTheirAnswersInOrder) {
  auto guiPtr = both(
      "[Answers]\n1=No\n2=YesToAll\n3=Cancel\n[Folders]\n1=Z:\\tmp\\Disk2\\\n2=\n"
      "[Choices]\n1=#2\n2=\n").gui;
  QtInteraction& gui = *guiPtr;
  Message yesNo{"Tool", "Replace the file?", Buttons::YesNo, Icon::Question};
  Message fourButtons{"Tool", "Replace?", Buttons::YesYesToAllNo, Icon::Question};
  // Cancel is no button of a Yes/No question: its default is taken.
  Message yesNoAgain{"Tool", "Again?", Buttons::YesNo, Icon::Question, 1};
  Message notice{"Tool", "Done.", Buttons::OK, Icon::Information};
  EXPECT_EQ(gui.message(yesNo), Answer::No);
  EXPECT_EQ(gui.message(fourButtons), Answer::YesToAll);
  EXPECT_EQ(gui.message(yesNoAgain), Answer::No);
  EXPECT_EQ(gui.message(notice), Answer::OK);

  FolderPrompt prompt{"Disk", "Where is disk 2?", "Junk", "Z:\\"};
  EXPECT_EQ(gui.folder(prompt), std::optional<std::string>("Z:\\tmp\\Disk2\\Junk"));
  EXPECT_EQ(gui.folder(prompt), std::nullopt);

  Choice choice{"Folder", "Which?", {"Windows Dir", "System Dir"}, 0};
  EXPECT_EQ(gui.choose(choice), std::optional<int>(1));
  EXPECT_EQ(gui.choose(choice), std::nullopt);
}

TEST_F(QtInteractionTest, ProgressCancelIsPressedOnTheAskedLineAndReportedOnce) {
  auto guiPtr = both("[Progress]\nCancelOn=b.dll\n").gui;
  QtInteraction& gui = *guiPtr;
  Progress copying{"Copying", {"Copying: a.exe", "", ""}, 10, {}, {}, true};
  gui.progress(copying);
  EXPECT_FALSE(gui.cancelPressed());
  copying.lines[0] = "Copying: b.dll";
  copying.percent = 50;
  gui.progress(copying);
  EXPECT_TRUE(gui.cancelPressed());
  EXPECT_FALSE(gui.cancelPressed());
  gui.endProgress();
  EXPECT_FALSE(gui.cancelPressed()) << "no window, no press";
}

// The copy window shows "Copying" and "to" beside their lines, only while those have text,
// and the percentage on its bar.
TEST_F(QtInteractionTest, CopyProgressShowsItsLabelsApartAndThePercentage) {
  QtInteraction gui(Program::Setup, nullptr);
  Progress copying{"File copy in progress...", {"Copying a.exe", "", "to C:\\Tool"}, 42, {}, {}, true};
  gui.progress(copying);
  QDialog* window = nullptr;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget->windowTitle() == "File copy in progress...") window = qobject_cast<QDialog*>(widget);
  }
  ASSERT_NE(window, nullptr);
  auto shown = [window](const char* text) {
    for (QLabel* label : window->findChildren<QLabel*>()) {
      if (label->text() == text) return true;
    }
    return false;
  };
  EXPECT_TRUE(shown("Copying"));
  EXPECT_TRUE(shown("a.exe"));
  EXPECT_TRUE(shown("to"));
  EXPECT_TRUE(shown("C:\\Tool"));
  PercentBarWidget* bar = nullptr;
  for (QWidget* child : window->findChildren<QWidget*>()) {
    if (auto* found = dynamic_cast<PercentBarWidget*>(child)) bar = found;
  }
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->position(), 42);
  copying.lines = {"", "Expanding", ""};
  copying.percent = 100;
  gui.progress(copying);
  EXPECT_FALSE(shown("Copying"));
  EXPECT_FALSE(shown("to"));
  EXPECT_TRUE(shown("Expanding"));
  EXPECT_EQ(bar->position(), 100);
  gui.endProgress();
}

TEST_F(QtInteractionTest, EachWindowIsSavedWhenShownContinuingTheFoldersNumbers) {
  fs::path shots = dir_ / "shots";
  fs::create_directories(shots);
  std::ofstream(shots / "007-setup-closing.png") << "an earlier run";
  processScreenshots() = Screenshots(shots.string(), Program::Uninstall);
  auto guiPtr = both("[Answers]\nDefault=Yes\n", Program::Uninstall).gui;
  QtInteraction& gui = *guiPtr;
  EXPECT_EQ(gui.message(Message{"Tool", "Remove?", Buttons::YesNo, Icon::Question}), Answer::Yes);
  Progress removal{"Removal", {"Removing Tool"}, 0, {"a", "b", "c", "d", "e"}, {true, false, false, false, false}};
  gui.progress(removal);
  gui.closing(Closing{"Removal", "Tool was removed.", std::nullopt, "", "", {true, true, true, true, true}});
  gui.endProgress();
  for (const char* name : {"008-uninstall-question.png", "009-uninstall-progress.png",
                           "010-uninstall-progress-done.png"}) {
    ASSERT_TRUE(fs::exists(shots / name)) << name;
    std::ifstream file(shots / name, std::ios::binary);
    char magic[4] = {};
    file.read(magic, 4);
    EXPECT_EQ(std::string(magic + 1, 3), "PNG") << name;
  }
}

// Without answers the user answers; closing a window (Escape, the close box) is Cancel where
// there is one, No for the three-button question, Cancel for a wizard page.
TEST_F(QtInteractionTest, AWindowClosedWithoutAButtonAnswersCancelOrNo) {
  QtInteraction gui(Program::Uninstall, nullptr);
  auto closeWhenShown = [] {
    QTimer::singleShot(0, [] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
    });
  };
  closeWhenShown();
  EXPECT_EQ(gui.message(Message{"Tool", "Remove the shared file?", Buttons::YesYesToAllNo, Icon::Question}),
            Answer::No);
  closeWhenShown();
  EXPECT_EQ(gui.message(Message{"Tool", "Go on?", Buttons::YesNoCancel, Icon::Question}), Answer::Cancel);
  closeWhenShown();
  EXPECT_EQ(gui.page(everyKindOfField()).action, PageResult::Action::Cancel);
  closeWhenShown();
  EXPECT_EQ(gui.folder(FolderPrompt{"Disk", "Where?", "Junk", "C:\\"}), std::nullopt);
}

}  // namespace
}  // namespace vandrel::ui::qt
