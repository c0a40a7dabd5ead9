// Tests of the shared dialog texts: mnemonics, answer names, default buttons and the
// conversions between the programs' Latin-1 text and the terminal's UTF-8.
#include "ui/dialog_text.h"
#include "platform/text/text_rules.h"

#include <gtest/gtest.h>

namespace vandrel::ui {
namespace {

TEST(DialogText, Mnemonics) {
  const std::pair<const char*, const char*> cases[] = {
      {"&Next >", "Next >"}, {"B&ackup replaced files", "Backup replaced files"},
      {"Tom && Jerry", "Tom & Jerry"}, {"End&", "End&"}, {"I &Dont Agree", "I Dont Agree"},
  };
  for (const auto& [label, shown] : cases) EXPECT_EQ(stripMnemonic(label), shown) << label;
}

TEST(DialogText, AnswerNamesReadBackInAnyCase) {
  for (Answer answer : {Answer::OK, Answer::Cancel, Answer::Yes, Answer::No, Answer::YesToAll}) {
    EXPECT_EQ(parseAnswer(answerName(answer)), answer);
    EXPECT_EQ(parseAnswer(" " + text::toLower(answerName(answer)) + "\t"), answer);
  }
  EXPECT_EQ(parseAnswer("Yes to all"), std::nullopt);
  EXPECT_EQ(parseAnswer(""), std::nullopt);
}

TEST(DialogText, PageActionsAndForwardButton) {
  Page page;
  page.actions = {"&Change"};
  PageResult result;
  result.action = PageResult::Action::PageButton;
  result.pageButton = 0;
  EXPECT_EQ(pageActionName(page, result), "Change");
  EXPECT_EQ(forwardAction(page), PageResult::Action::Next);
  page.finish = "&Finish";
  EXPECT_EQ(forwardAction(page), PageResult::Action::Finish);
  page.finish.clear();
  page.next.clear();
  EXPECT_EQ(forwardAction(page), PageResult::Action::Cancel);
}

}  // namespace
}  // namespace vandrel::ui
