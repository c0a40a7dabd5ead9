// Texts cut to what a window shows: ordinary texts untouched, long lines broken, endless
// texts cut with the note.
#include "ui/shown_text.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ui/page_lines.h"

namespace vandrel::ui {
namespace {

constexpr TextBounds kSmall{100, 5, 10};
const std::string kNote = "(shortened)";

std::size_t longestLine(const std::string& text) {
  std::size_t longest = 0;
  for (const std::string& line : splitLines(text)) longest = std::max(longest, line.size());
  return longest;
}

TEST(BoundedText, TextsWithinTheBoundsAreShownByteForByte) {
  for (const std::string text : {"", "\n", "one line", "a\r\nb\r\n", "0123456789\n1\n2\n3\n4"}) {
    EXPECT_EQ(boundedText(text, kSmall, kNote), text);
  }
  std::string licence;
  for (int i = 0; i < 700; ++i) licence += "Permission is granted to copy this file, line " + std::to_string(i) + ".\r\n";
  EXPECT_EQ(boundedText(licence, kScrollingText, kNote), licence);
}

TEST(BoundedText, LongLinesAreBrokenAfterABlankOrWhereTheyMust) {
  EXPECT_EQ(boundedText("aaaa bbbb cccc dd", kSmall, kNote), "aaaa bbbb \ncccc dd");
  EXPECT_EQ(boundedText("abcdefghijklmnopqrstuvwxy", kSmall, kNote), "abcdefghij\nklmnopqrst\nuvwxy");
}

TEST(BoundedText, TooManyLinesOrCharactersAreCutWithTheNote) {
  EXPECT_EQ(boundedText("1\n2\n3\n4\n5\n6\n7", kSmall, kNote), "1\n2\n3\n4\n5\n" + kNote);
  EXPECT_EQ(boundedText(std::string(30, 'x'), {25, 100, 10}, kNote),
            "xxxxxxxxxx\nxxxxxxxxxx\n" + kNote);
}

// The hostile licences: 8 MiB of line breaks, 1 MiB on one line.
TEST(BoundedText, EndlessTextsStayWithinTheBounds) {
  for (const std::string& text : {std::string(8 << 20, '\n'), std::string(1 << 20, 'w'),
                                  std::string(8 << 20, ' ')}) {
    std::string shown = boundedText(text, kScrollingText, kNote);
    std::vector<std::string> lines = splitLines(shown);
    EXPECT_LE(lines.size(), kScrollingText.lines + 1);
    EXPECT_LE(shown.size(), kScrollingText.characters + 1 + kNote.size());
    EXPECT_LE(longestLine(shown), kScrollingText.lineLength);
    EXPECT_EQ(lines.back(), kNote);
  }
}

}  // namespace
}  // namespace vandrel::ui
