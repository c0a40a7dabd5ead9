// Tests of the run's witness and the failure line: the question that ended a run is named when
// no one answered it, a cancelled page or folder prompt is the cause, and the line carries the
// exit status's words and what to do.
#include "ui/run_witness.h"

#include <gtest/gtest.h>

#include "platform/exit_statuses.h"
#include "ui/scripted_interaction.h"
#include "ui/ui_test_support.h"

namespace vandrel::ui {
namespace {

using testing::CapturedStream;
using testing::question;

RunWitness witnessWith(const std::string& answers, std::FILE* err) {
  return RunWitness(std::make_unique<ScriptedInteraction>(Answers::fromText(answers), err));
}

TEST(RunWitness, NamesAQuestionAnsweredByDefault) {
  CapturedStream err;
  RunWitness witness = witnessWith("", err.file());
  EXPECT_EQ(witness.message(question(Buttons::YesNo, 1, "Proceed\r\nanyway ?")), Answer::No);
  FailureFacts facts = witnessedFacts(witness);
  ASSERT_TRUE(facts.decidingQuestion);
  EXPECT_EQ(facts.decidingQuestion->text, "Proceed anyway ?");
  EXPECT_EQ(failureLine("tamsin32", "tamsin32", 13, facts),
            std::string("tamsin32: exit status 13: ") + platform::exitStatusOf("tamsin32", 13)->happened +
                " (the question \"Proceed anyway ?\" was answered No by default). To do: " +
                platform::exitStatusOf("tamsin32", 13)->toDo + ".");
}

TEST(RunWitness, AQuestionTheAnswersFileAnsweredIsNotNamed) {
  CapturedStream err;
  RunWitness witness = witnessWith("[Answers]\r\n1=No\r\n", err.file());
  EXPECT_EQ(witness.message(question(Buttons::YesNo, 0)), Answer::No);
  EXPECT_FALSE(witnessedFacts(witness).decidingQuestion);
  // A later question without an entry takes its default: that one is named.
  EXPECT_EQ(witness.message(question(Buttons::YesNo, 0, "Again ?")), Answer::Yes);
  ASSERT_TRUE(witnessedFacts(witness).decidingQuestion);
  EXPECT_EQ(witnessedFacts(witness).decidingQuestion->text, "Again ?");
}

TEST(RunWitness, AnAnswerOfTheAnswersFilesDefaultIsByDefault) {
  CapturedStream err;
  RunWitness witness = witnessWith("[Answers]\r\n1=Yes\r\nDefault=No\r\n", err.file());
  EXPECT_EQ(witness.message(question(Buttons::YesNo, 0)), Answer::Yes);
  EXPECT_FALSE(witnessedFacts(witness).decidingQuestion);
  EXPECT_EQ(witness.message(question(Buttons::YesNo, 0, "Go on ?")), Answer::No);
  ASSERT_TRUE(witnessedFacts(witness).decidingQuestion);
  EXPECT_EQ(witnessedFacts(witness).decidingQuestion->answer, Answer::No);
}

TEST(RunWitness, ACancelledPageIsTheCause) {
  CapturedStream err;
  RunWitness witness = witnessWith("[Wizard]\r\nCancel=registration\r\n", err.file());
  EXPECT_EQ(witness.page(testing::registrationPage()).action, PageResult::Action::Cancel);
  EXPECT_EQ(witnessedFacts(witness).cause, "Cancel was pressed on the wizard's page \"registration\"");
  // A cause the program knows wins over what the witness saw.
  EXPECT_EQ(witnessedFacts(witness, "the file X is missing").cause, "the file X is missing");
}

TEST(RunWitness, AnUnansweredFolderPromptIsTheCause) {
  CapturedStream err;
  RunWitness witness = witnessWith("", err.file());
  FolderPrompt prompt;
  prompt.text = "Please indicate the folder\nof disk 2";
  EXPECT_FALSE(witness.folder(prompt));
  EXPECT_EQ(witnessedFacts(witness).cause,
            "the folder prompt \"Please indicate the folder of disk 2\" was given no folder");
}

TEST(FailureLine, EveryStatusOfTheTablesHasWordsAndAStatusOutsideThemStillSaysOne) {
  FailureFacts none;
  EXPECT_EQ(failureLine("peskin32", "peskin32", 5, none),
            std::string("peskin32: exit status 5: ") + platform::exitStatusOf("peskin32", 5)->happened +
                ". To do: " + platform::exitStatusOf("peskin32", 5)->toDo + ".");
  EXPECT_EQ(failureLine("tamsin32", "tamsin32", 99, none), "tamsin32: exit status 99: the run failed.");
}

}  // namespace
}  // namespace vandrel::ui
