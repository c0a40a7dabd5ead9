// Tests of placeholder expansion.
#include "script/placeholders.h"

#include <vector>

#include <gtest/gtest.h>

namespace vandrel::script {
namespace {

PlaceholderContext context(std::vector<long>* asked = nullptr) {
  PlaceholderContext ctx{"Ann", "Co", "X-1", "2024/01/31", nullptr};
  ctx.directoryPath = [asked](long number) -> std::string {
    if (asked) asked->push_back(number);
    if (number == 3) return "C:\\App\\Tools";
    if (number == 12) return "C:\\App";
    return "C:\\WINDOWS\\";  // no entry: the engine folder
  };
  return ctx;
}

TEST(ExpandPlaceholders, Table) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"", ""},
      {"plain text", "plain text"},
      {"[u] ([c])", "Ann (Co)"},
      {"[U] ([C])", "Ann (Co)"},
      {"[s]/[S]", "X-1/X-1"},
      {"on [d]", "on 2024/01/31"},
      {"[x]", ""},                 // unknown names vanish
      {"a[uu]b", "ab"},
      {"a[", "a"},                 // a "[" at the end vanishes
      {"[]", "[]"},                // "[]" stays
      {"a[]b[u]", "a[]bAnn"},
      {"[[u]]", "]"},              // the name is "[u": unknown, then "]" is copied
      {"[u", "Ann"},               // unclosed: treated as closed
      {"x]y", "x]y"},
      {"[3]\\bin", "C:\\App\\Tools\\bin"},
      {"[3", "C:\\App\\Tools"},    // unclosed directory placeholder at the end
      {"[99]x", "C:\\WINDOWS\\x"}, // no entry: engine folder with its backslash
      {"[12] [u]", "C:\\App Ann"},
      {"[3abc]", "C:\\App\\Tools"},  // leading digits give the number
  };
  for (const auto& c : cases) EXPECT_EQ(expandPlaceholders(c.text, context()), c.expected) << c.text;
}

TEST(ExpandPlaceholders, DirectoryNumbersAskedOnlyForDigitNames) {
  std::vector<long> asked;
  expandPlaceholders("[u][0][1000][-1][ 5]", context(&asked));
  EXPECT_EQ(asked, (std::vector<long>{0, 1000}));
}

TEST(ExpandPlaceholders, ReplacementTextIsNotExpandedAgain) {
  PlaceholderContext ctx = context();
  ctx.userName = "[c]";
  EXPECT_EQ(expandPlaceholders("[u]", ctx), "[c]");
}

TEST(ExpandPlaceholders, MissingDirectoryResolverGivesNothing) {
  PlaceholderContext ctx = context();
  ctx.directoryPath = nullptr;
  EXPECT_EQ(expandPlaceholders("a[3]b", ctx), "ab");
}

}  // namespace
}  // namespace vandrel::script
