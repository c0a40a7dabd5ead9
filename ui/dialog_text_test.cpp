// Tests of the shared dialog texts: mnemonics, answer names, default buttons and the
// conversions between the programs' Latin-1 text and the terminal's UTF-8.
#include "ui/dialog_text.h"

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
    EXPECT_EQ(parseAnswer(" " + toLower(answerName(answer)) + "\t"), answer);
  }
  EXPECT_EQ(parseAnswer("Yes to all"), std::nullopt);
  EXPECT_EQ(parseAnswer(""), std::nullopt);
}

TEST(DialogText, Latin1AndUtf8) {
  EXPECT_EQ(latin1ToUtf8("S\xe9lection \xff!"), "S\xc3\xa9lection \xc3\xbf!");
  struct Case {
    const char* typed;
    const char* meant;
  };
  const Case cases[] = {
      {"Jos\xc3\xa9", "Jos\xe9"},         // UTF-8 within Latin-1
      {"\xe2\x82\xac 5", "? 5"},          // the euro sign is beyond Latin-1
      {"\xf0\x9f\x98\x80!", "?!"},        // four-byte character
      {"Jos\xe9", "Jos\xe9"},             // already Latin-1: kept
      {"a\xc3", "a\xc3"},                 // cut-off sequence: kept
      {"\xc0\xaf", "\xc0\xaf"},           // overlong form: not UTF-8, kept
  };
  for (const Case& c : cases) EXPECT_EQ(utf8ToLatin1(c.typed), c.meant) << c.typed;
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);
  EXPECT_EQ(utf8ToLatin1(latin1ToUtf8(all)), all);
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
