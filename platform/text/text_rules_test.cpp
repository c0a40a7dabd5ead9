// Tests of the shared text rules: case, trimming and numbered key names.
#include "platform/text/text_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vandrel::text {
namespace {

using namespace std::string_literals;

TEST(CaseRules, CompareAndMapAsciiLettersOnly) {
  struct Case {
    const char* a;
    const char* b;
    int order;  // sign of compareNoCase(a, b)
  };
  const Case cases[] = {
      {"Settings", "SETTINGS", 0},  {"", "", 0},          {"a", "", 1},
      {"abc", "ABD", -1},           {"ab", "AB c", -1},   {"Z", "a", 1},   // "z" after "a"
      {"[", "a", -1},               {"_", "A", -1},       // compared lowered: '_' < 'a'
      {"\xC9t\xE9", "\xE9T\xC9", -1},                    // accented letters keep their case
      {"1.02", "1.2", -1},
  };
  for (const Case& c : cases) {
    int order = compareNoCase(c.a, c.b);
    EXPECT_EQ((order > 0) - (order < 0), c.order) << c.a << " vs " << c.b;
    EXPECT_EQ(equalsNoCase(c.a, c.b), c.order == 0) << c.a << " vs " << c.b;
    EXPECT_EQ(lessNoCase(c.a, c.b), c.order < 0) << c.a << " vs " << c.b;
    EXPECT_EQ(lessNoCase(c.b, c.a), c.order > 0) << c.b << " vs " << c.a;
  }
  EXPECT_EQ(toUpper("Peskin32.exe \xe9"), "PESKIN32.EXE \xe9");
  EXPECT_EQ(toLower("C:\\Program Files\\A.TXT"), "c:\\program files\\a.txt");
}

TEST(TrimRules, DropOnlyTheGivenCharactersAtTheEnds) {
  struct Case {
    const char* text;
    std::string_view blanks;
    const char* both;
    const char* leading;
  };
  const Case cases[] = {
      {"  a b \t", kBlanks, "a b", "a b \t"},
      {"\t\r\n x \n", kWhiteSpace, "x", "x \n"},
      {"\r x \r", kBlanks, "\r x \r", "\r x \r"},  // a carriage return is no blank
      {"   ", kBlanks, "", ""},
      {"", kWhiteSpace, "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(trim(c.text, c.blanks), c.both) << '"' << c.text << '"';
    EXPECT_EQ(trimLeading(c.text, c.blanks), c.leading) << '"' << c.text << '"';
  }
}

TEST(EntryNumbers, KeepsPlainDecimalNamesBelowTheCount) {
  struct Case {
    std::string keys;
    long long count;
    std::vector<long long> expected;
  };
  const std::vector<Case> cases = {
      {"0\0001\0002\0"s, 3, {0, 1, 2}},
      {"2\0000\0001\0"s, 3, {0, 1, 2}},               // sorted
      {"0\0001\0002\0"s, 2, {0, 1}},                  // the count bounds them
      {"nb\0000\0AppName\0"s, 5, {0}},                 // named keys are no entries
      {"01\000-1\000+2\0003x\0 4\0005\0"s, 9, {5}},  // no sign, blank, zero or letter
      {"7\0007\0"s, 9, {7}},                          // once each
      {""s, 5, {}},
      {"0\0"s, 0, {}},
      {"99999999999999999999\0"s, 2000000000, {}},  // too long to be an entry
  };
  for (const Case& c : cases) {
    EXPECT_EQ(entryNumbers(c.keys, 0, c.count - 1), c.expected) << "count " << c.count;
  }
}

TEST(EntryNumbers, TakeARangeThatMayStartAboveZero) {
  EXPECT_EQ(entryNumbers("0\0003\0005\0009\0"s, 3, 5), (std::vector<long long>{3, 5}));
  EXPECT_TRUE(entryNumbers("0\0001\0"s, 1, 0).empty());
  EXPECT_EQ(entryNumber("17"), 17);
  EXPECT_EQ(entryNumber("999999999999999999"), 999999999999999999LL);  // 18 digits
  for (const char* name : {"", "-0", "+1", "017", " 1", "1 ", "1x", "0x1", "1234567890123456789"}) {
    EXPECT_FALSE(entryNumber(name).has_value()) << '"' << name << '"';
  }
}

}  // namespace
}  // namespace vandrel::text
