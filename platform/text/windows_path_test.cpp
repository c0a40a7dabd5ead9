// Tests of the Windows path rules: resolution, device names and wildcard matching.
#include "platform/text/windows_path.h"

#include <gtest/gtest.h>

namespace vandrel::text {
namespace {

WinPath currentFolder() { return *resolveWindowsPath("C:\\Work\\Sub", WinPath{}); }

struct ResolveCase {
  const char* path;
  const char* expected;  // nullptr: cannot be mapped
};

TEST(WindowsPath, ResolvesAgainstTheCurrentFolder) {
  const ResolveCase cases[] = {
      {"C:\\A\\B", "C:\\A\\B"},
      {"c:/a/b/", "C:\\a\\b"},
      {"file.txt", "C:\\Work\\Sub\\file.txt"},
      {".\\file.txt", "C:\\Work\\Sub\\file.txt"},
      {"..\\x", "C:\\Work\\x"},
      {"\\Root", "C:\\Root"},
      {"C:rel", "C:\\Work\\Sub\\rel"},
      {"D:rel", "D:\\rel"},
      {"C:\\a\\.\\b\\..\\c", "C:\\a\\c"},
      {"C:\\..\\..\\..\\etc\\passwd", "C:\\etc\\passwd"},
      {"..\\..\\..\\..", "C:\\"},
      {"C:\\dir.\\name. ", "C:\\dir\\name"},
      {"C:\\a\\\\b", "C:\\a\\b"},
      {"C:\\", "C:\\"},
  };
  for (const auto& c : cases) {
    auto result = resolveWindowsPath(c.path, currentFolder());
    ASSERT_TRUE(result) << c.path;
    EXPECT_EQ(result->text(), c.expected) << c.path;
  }
}

TEST(WindowsPath, RefusesWhatNoDriveHolds) {
  const char* cases[] = {"\\\\server\\share\\f.txt", "//server/share", "\\\\?\\C:\\x",
                         "C:\\a\\CON",  "C:\\nul.txt",           "com1",
                         "C:\\LPT9\\x", "C:\\a<b",                "C:\\a|b",
                         "C:\\what?",   "1:\\x",                  ""};
  for (const char* path : cases) EXPECT_FALSE(resolveWindowsPath(path, currentFolder())) << path;
}

TEST(WindowsPath, DeviceNames) {
  EXPECT_TRUE(isDeviceName("aux"));
  EXPECT_TRUE(isDeviceName("Prn.log"));
  EXPECT_TRUE(isDeviceName("COM3"));
  EXPECT_FALSE(isDeviceName("COM0"));
  EXPECT_FALSE(isDeviceName("CONSOLE"));
  EXPECT_FALSE(isDeviceName("LPT10"));
  EXPECT_FALSE(isDeviceName("nulls.txt"));
  EXPECT_TRUE(isDeviceName("nul  .txt")) << "blanks before the dot do not count";
  EXPECT_TRUE(isDeviceName("lPt1"));
  EXPECT_FALSE(isDeviceName("CO"));
  EXPECT_FALSE(isDeviceName(""));
  EXPECT_FALSE(isDeviceName(".con"));
  EXPECT_FALSE(isDeviceName("COMA"));
}

struct WildcardCase {
  const char* pattern;
  const char* name;
  bool matches;
};

TEST(WindowsPath, WildcardsMatchTheWindowsWay) {
  const WildcardCase cases[] = {
      {"*.*", "readme.txt", true},   {"*.*", "README", true},       {"*.*", "a.b.c", true},
      {"*", "anything.at.all", true}, {"*.txt", "A.TXT", true},      {"*.txt", "a.txt.bak", false},
      {"*.txt", "atxt", false},      {"*.", "noext", true},         {"*.", "has.ext", false},
      {"a?c", "abc", true},          {"a?c", "ac", false},          {"ab?", "ab", true},
      {"???.txt", "ab.txt", true},   {"a?.txt", "a.txt", true},     {"a?b", "a.b", false},
      {"KVB*.TMP", "kvb1a2b.tmp", true}, {"KVB*.TMP", "kv1a2b.tmp", false},
      {"file.txt", "FILE.TXT", true}, {"file.txt", "file.txt2", false}, {"*.*", ".", true},
      {"*.txt", ".", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(matchesWildcard(c.pattern, c.name), c.matches) << c.pattern << " vs " << c.name;
}

}  // namespace
}  // namespace vandrel::text
