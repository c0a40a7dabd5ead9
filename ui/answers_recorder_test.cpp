// Tests of record mode: what a run answered, written as an answers file, makes the scripted
// backend answer the same dialogs the same way.
#include "ui/answers_recorder.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"
#include "ui/dialog_text.h"
#include "ui/scripted_interaction.h"
#include "ui/ui_test_support.h"

namespace vandrel::ui {
namespace {

using testing::CapturedStream;
using testing::question;

// What one pass through a fixed run of dialogs gave back, one line per dialog.
std::vector<std::string> goThrough(Interaction& ui) {
  std::vector<std::string> seen;
  auto fields = [](const PageResult& result) {
    std::string text = std::to_string(static_cast<int>(result.action));
    for (const Field& field : result.fields) text += "|" + field.name + "=" + fieldAnswer(field);
    return text;
  };
  seen.push_back(fields(ui.page(testing::registrationPage())));
  seen.push_back(answerName(ui.message(question(Buttons::YesNo, 0))));
  seen.push_back(fields(ui.page(testing::componentsPage())));
  seen.push_back(fields(ui.page(testing::sharingPage())));
  seen.push_back(answerName(ui.message(question(Buttons::YesYesToAllNo, 0))));
  seen.push_back(fields(ui.page(testing::destinationPage())));
  FolderPrompt prompt;
  prompt.dummyName = "Junk";
  seen.push_back(ui.folder(prompt).value_or("<cancelled>"));
  seen.push_back(ui.folder(prompt).value_or("<cancelled>"));
  Choice choice{"Directory", "Pick one", {"Windows Dir", "#1", "windows dir", "App Dir"}, 3};
  for (int i = 0; i < 4; ++i) {
    std::optional<int> chosen = ui.choose(choice);
    seen.push_back(chosen ? std::to_string(*chosen) : "<cancelled>");
  }
  seen.push_back(answerName(ui.message(question(Buttons::YesNoCancel, 2))));
  Progress progress;
  progress.cancellable = true;
  for (const char* file : {"a.dll", "b.dll", "c.dll"}) {
    progress.lines = {"Copying", std::string("C:\\App\\") + file};
    ui.progress(progress);
    seen.push_back(ui.cancelPressed() ? "cancel" : "go on");
  }
  return seen;
}

// The "interactive" run: a scripted backend with its own answers stands for the user.
const char* const kUserAnswers[] = {
    "",  // every default
    "[Wizard]\nUserName=Ann Smith\nCompany=Co & Sons\nSerial=X-1\nComponents=0,5\nSharing=1\n"
    "Folder=C:\\Tools\\App\nBackup=1\n[Answers]\n1=No\n2=YesToAll\n3=Yes\n"
    "[Folders]\n1=Z:\\pkg\\Disk2\\\n2=\n[Choices]\n1=App Dir\n2=#2\n3=#3\n4=\n"
    "[Progress]\nCancelOn=b.dll\n",
    "[Wizard]\nComponents=none\nCancel=destination\n[Answers]\nDefault=No\n",
};

TEST(AnswersRecorder, ARecordedRunReplaysTheSameAnswers) {
  for (const char* answers : kUserAnswers) {
    test::TempDir dir;
    std::string path = (dir / "recorded.ini").string();
    AnswersRecorder recorder(std::make_unique<ScriptedInteraction>(Answers::fromText(answers)),
                             Program::Setup, path);
    std::vector<std::string> recorded = goThrough(recorder);

    std::string error;
    std::optional<Answers> file = Answers::fromFile(path, &error);
    ASSERT_TRUE(file) << error;
    EXPECT_EQ(test::readFile(path), recorder.text());
    ScriptedInteraction replay(std::move(*file));
    EXPECT_EQ(goThrough(replay), recorded) << answers << "\nrecorded:\n" << recorder.text();
  }
}

TEST(AnswersRecorder, WritesTheAnswersFileFormat) {
  test::TempDir dir;
  AnswersRecorder recorder(std::make_unique<ScriptedInteraction>(Answers::fromText(kUserAnswers[1])),
                           Program::Setup, (dir / "recorded.ini").string());
  goThrough(recorder);
  EXPECT_EQ(recorder.text(),
            "; Answers recorded from an interactive run of tamsin32; replay with VANDREL_UI=scripted.\r\n"
            "[Wizard]\r\nUserName=Ann Smith\r\nCompany=Co & Sons\r\nSerial=X-1\r\nComponents=0,5\r\n"
            "Sharing=1\r\nFolder=C:\\Tools\\App\r\nBackup=1\r\n"
            "[Answers]\r\n1=No\r\n2=YesToAll\r\n3=Yes\r\n"
            "[Folders]\r\n1=Z:\\pkg\\Disk2\\\r\n2=\r\n"
            "[Choices]\r\n1=App Dir\r\n2=#2\r\n3=#3\r\n4=\r\n"
            "[Progress]\r\nCancelOn=C:\\App\\b.dll\r\n");
}

TEST(AnswersRecorder, AnUnwritableFileIsReportedOnce) {
  CapturedStream err;
  AnswersRecorder recorder(std::make_unique<ScriptedInteraction>(), Program::Uninstall,
                           "/nonexistent/folder/recorded.ini", err.file());
  recorder.message(question(Buttons::YesNo));
  recorder.message(question(Buttons::YesNo));
  EXPECT_EQ(err.text(), "peskin32: cannot write the answers file /nonexistent/folder/recorded.ini\n");
}

}  // namespace
}  // namespace vandrel::ui
