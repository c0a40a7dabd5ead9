// Tests of the string table lookup and the %1/%2 formatting.
#include "script/string_table.h"

#include <gtest/gtest.h>

namespace vandrel::script {
namespace {

TEST(FormatMessage, Table) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"", ""},
      {"no args", "no args"},
      {"%1 Setup completed !", "App Setup completed !"},
      {"%1=%2", "App=v2"},
      {"%2 before %1", "v2 before App"},
      {"%1%1", "AppApp"},
      {"100%", "100%"},
      {"50% done", "50% done"},
      {"%%1", "%App"},
      {"%3 and %9", "? and ?"},   // arguments not given
      {"%A", "?"},
      {"%0", "?"},
      {"%a", "%a"},               // lower case is not a reference
      {"end %", "end %"},
  };
  for (const auto& c : cases) EXPECT_EQ(formatMessage(c.text, "App", "v2"), c.expected) << c.text;
}

TEST(FormatMessage, ArgumentsAreNotFormattedAgain) {
  EXPECT_EQ(formatMessage("[%1]", "%2", "x"), "[%2]");
}

TEST(StringTable, LookupItemsAndFormat) {
  StringTable table{{216, "Removing %1..."},
                    {101, "Settings,Background,,Groups"},
                    {7, "first"},
                    {7, "second"},
                    {8, nullptr}};
  EXPECT_TRUE(table.has(216));
  EXPECT_FALSE(table.has(999));
  EXPECT_EQ(table.get(999), "");
  EXPECT_EQ(table.get(7), "first");
  EXPECT_TRUE(table.has(8));
  EXPECT_EQ(table.get(8), "");
  EXPECT_EQ(table.item(101, 2), "Background");
  EXPECT_EQ(table.item(101, 3, "d"), "");
  EXPECT_EQ(table.item(101, 5, "d"), "d");
  EXPECT_EQ(table.item(999, 1, "d"), "d");
  EXPECT_EQ(table.format(216, "App"), "Removing App...");
  EXPECT_EQ(table.format(999, "App"), "");
}

}  // namespace
}  // namespace vandrel::script
