// Tests of the comma-list item rule and the number and flag readings.
#include "script/list_item.h"

#include <climits>

#include <gtest/gtest.h>

namespace vandrel::script {
namespace {

struct ItemCase {
  const char* list;
  int k;
  const char* expected;
};

TEST(ListItem, FollowsTheCommaRule) {
  const ItemCase cases[] = {
      {"", 1, "DEF"},            // any item of the empty text is the default
      {"", 3, "DEF"},
      {"a", 1, "a"},
      {"a", 2, "DEF"},
      {"a,b", 2, "b"},
      {"a,b", 3, "DEF"},         // item 3 of a text with one comma
      {"a,", 2, ""},             // item after a final comma is empty, not the default
      {"a,", 3, "DEF"},
      {"a,,c", 2, ""},           // two adjacent commas
      {"a,,c", 3, "c"},
      {",", 1, ""},
      {",", 2, ""},
      {",1,0,", 1, ""},
      {",1,0,", 4, ""},
      {",1,0,", 5, "DEF"},
      {" a , b ", 2, " b "},     // items are not trimmed
      {"Settings,Background,Directories", 3, "Directories"},
      {"a,b", 0, "DEF"},         // there is no item 0
      {"a,b", -1, "DEF"},
  };
  for (const ItemCase& c : cases) {
    EXPECT_EQ(listItem(c.list, c.k, "DEF"), c.expected) << '"' << c.list << "\" item " << c.k;
    EXPECT_EQ(GetListItem(c.k, c.list, "DEF"), c.expected);
  }
}

TEST(ReadInt, ReadsLeadingDigits) {
  const struct {
    const char* text;
    long expected;
  } cases[] = {
      {"", 0},
      {"abc", 0},
      {"42", 42},
      {"  42", 42},
      {"\t7", 7},
      {"42abc", 42},
      {"3,0,1", 3},
      {"-5", -5},
      {"+5", 5},
      {"-", 0},
      {"- 5", 0},
      {"0x1F", 0},
      {"007", 7},
      {"1000", 1000},
      {"9223372036854775807", LONG_MAX},
      {"9223372036854775808", LONG_MAX},
      {"99999999999999999999999", LONG_MAX},
      {"-9223372036854775808", LONG_MIN},
      {"-99999999999999999999999", LONG_MIN},
  };
  for (const auto& c : cases) EXPECT_EQ(readInt(c.text), c.expected) << '"' << c.text << '"';
}

TEST(ReadFlag, OnlyFirstCharacterZeroOrOneCounts) {
  EXPECT_EQ(readFlag("1"), Flag::Set);
  EXPECT_EQ(readFlag("10"), Flag::Set);
  EXPECT_EQ(readFlag("0"), Flag::Clear);
  EXPECT_EQ(readFlag("01"), Flag::Clear);
  EXPECT_EQ(readFlag(""), Flag::Other);
  EXPECT_EQ(readFlag("2"), Flag::Other);
  EXPECT_EQ(readFlag(" 1"), Flag::Other);
  EXPECT_EQ(readFlag("yes"), Flag::Other);
}

}  // namespace
}  // namespace vandrel::script
