// Tests of the code page 1252 conversions.
#include "platform/code_page.h"

#include <gtest/gtest.h>

namespace vandrel::platform {
namespace {

TEST(CodePage, BytesToUtf8) {
  const struct {
    const char* text;
    const char* utf8;
  } cases[] = {
      {"plain", "plain"},
      {"\x80 5", "\xE2\x82\xAC 5"},                       // euro sign
      {"it\x92s", "it\xE2\x80\x99s"},                     // typographic apostrophe
      {"\x93quoted\x94", "\xE2\x80\x9Cquoted\xE2\x80\x9D"},
      {"\x85\x96\x97\x99\x9F", "\xE2\x80\xA6\xE2\x80\x93\xE2\x80\x94\xE2\x84\xA2\xC5\xB8"},
      {"\x8A\x9A\x8C\x9C\x8E\x9E\x83", "\xC5\xA0\xC5\xA1\xC5\x92\xC5\x93\xC5\xBD\xC5\xBE\xC6\x92"},
      {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},  // undefined
      {"Caf\xE9 \xA0\xFF", "Caf\xC3\xA9 \xC2\xA0\xC3\xBF"},  // 0xA0 up as Latin-1
  };
  for (const auto& c : cases) {
    EXPECT_EQ(cp1252ToUtf8(c.text), c.utf8) << c.text;
    EXPECT_EQ(utf8ToCp1252(c.utf8), c.text) << c.text;
    EXPECT_TRUE(isUtf8(c.utf8));
  }
  EXPECT_EQ(cp1252ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(CodePage, Utf8ToBytes) {
  const struct {
    const char* utf8;
    const char* text;
  } cases[] = {
      {"\xE2\x82\xAC", "\x80"},
      {"\xE4\xB8\xAD", "?"},             // a character the code page lacks
      {"\xF0\x9F\x98\x80", "?"},
      {"Caf\xE9", "Caf\xE9"},            // not UTF-8: already code page text
      {"\xC3", "\xC3"},                  // cut sequence
      {"\xC0\xAF", "\xC0\xAF"},          // overlong form
      {"\xED\xA0\x80", "\xED\xA0\x80"},  // surrogate
  };
  for (const auto& c : cases) EXPECT_EQ(utf8ToCp1252(c.utf8), c.text) << c.utf8;
  EXPECT_FALSE(isUtf8("Caf\xE9"));
  EXPECT_FALSE(isUtf8("\xC0\xAF"));
  EXPECT_TRUE(isUtf8(""));
  // Every byte survives the way to a terminal and back.
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);
  EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
}

}  // namespace
}  // namespace vandrel::platform
