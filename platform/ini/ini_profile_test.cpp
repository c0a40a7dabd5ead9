// Tests of the profile functions over an in-memory file system.
#include "platform/ini/ini_profile.h"

#include <climits>

#include <gtest/gtest.h>

#include "platform/bounded_read.h"
#include "tests/support/memory_file_system.h"

namespace vandrel::platform {
namespace {

using std::nullopt;
using namespace std::string_literals;

constexpr const char* kScript = "C:\\App\\Script.vrx";

class IniProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs.makeDirectories("C:\\WINDOWS"));
    ASSERT_TRUE(fs.writeFile(kScript,
                             "[Settings]\r\n"
                             "AppName = \"Demo\" \r\n"
                             "Empty=\r\n"
                             "Long=abcdefghij\r\n"
                             "Type=2\r\n"
                             "\r\n"
                             "[Files]\r\n"
                             "nbFiles=1\r\n"
                             "0=a.exe,b.exe\r\n"));
  }
  std::string text(const std::string& path) { return fs.readFile(path).value_or("<missing>"); }

  test::MemoryFileSystem fs;
  IniProfile profile{fs, [] { return std::string("C:\\WINDOWS"); }};
};

TEST_F(IniProfileTest, ValuesDefaultsAndSizeLimit) {
  const struct {
    const char* section;
    const char* key;
    const char* def;
    std::size_t size;
    const char* expected;
  } cases[] = {
      {"Settings", "AppName", "x", 260, "Demo"},
      {"settings", "APPNAME", "x", 260, "Demo"},
      {"Settings", "Empty", "def", 260, ""},         // present but empty: not the default
      {"Settings", "Missing", "def  ", 260, "def"},  // trailing blanks of the default go
      {"Settings", "Missing", "  def", 260, "  def"},
      {"Nope", "AppName", "def", 260, "def"},
      {"Settings", "Long", "", 5, "abcd"},  // at most size-1 characters
      {"Settings", "Long", "", 11, "abcdefghij"},
      {"Settings", "Long", "", 10, "abcdefghi"},
      {"Settings", "AppName", "", 3, "De"},  // quotes removed before the cut
      {"Settings", "Long", "", 1, ""},
      {"Settings", "Long", "", 0, ""},
      {"Settings", "Missing", "default", 4, "def"},  // the default is cut too
  };
  for (const auto& c : cases) {
    EXPECT_EQ(profile.getString(kScript, std::string(c.section), std::string(c.key), c.def, c.size),
              c.expected)
        << c.section << "/" << c.key << " size " << c.size;
  }
}

TEST_F(IniProfileTest, SectionAndKeyLists) {
  EXPECT_EQ(profile.getString(kScript, nullopt, nullopt, "d", 260), "Settings\0Files\0"s);
  EXPECT_EQ(profile.getString(kScript, nullopt, "AppName"s, "d", 260), "Settings\0Files\0"s);
  EXPECT_EQ(profile.getString(kScript, "files"s, nullopt, "d", 260), "nbFiles\0" "0\0"s);
  // Too small: size-2 characters, then the terminators (the cut name keeps its "\0").
  EXPECT_EQ(profile.getString(kScript, nullopt, nullopt, "d", 8), "Settin\0"s);
  EXPECT_EQ(profile.getString(kScript, nullopt, nullopt, "d", 16), "Settings\0Files\0"s);
  EXPECT_EQ(profile.getString(kScript, nullopt, nullopt, "d", 15), "Settings\0File\0"s);
  EXPECT_EQ(profile.getString(kScript, nullopt, nullopt, "d", 2), "\0"s);  // "\0\0" fills it
  EXPECT_EQ(profile.getString(kScript, "Missing"s, nullopt, "d ", 260), "d ");  // kept here
  EXPECT_EQ(profile.getString("C:\\App\\none.ini", nullopt, nullopt, "d", 260), "");
  EXPECT_EQ(profile.getString("C:\\App\\none.ini", "S"s, "K"s, "d", 260), "d");
}

// The integer, default, empty-name, first-section, line-end, comment and null-byte cases
// below were probed against a Win32 implementation of the profile functions
// (GetPrivateProfileIntA and GetPrivateProfileStringA called by a small test program); the
// expected results are what it returned.
TEST_F(IniProfileTest, IntegerReading) {
  const struct {
    const char* value;
    int expected;
  } cases[] = {
      {"42", 42}, {"-5", -5}, {"+7", 7}, {" 12abc", 12}, {"abc", 0}, {"12 34", 12},
      {"\t9", 9}, {"- 7", 0}, {"--7", 0}, {"1e3", 1}, {"010", 10},  // decimal, not octal
      // Beyond 32 bits the number wraps around: 4294967295 and -1 are the same.
      {"4294967295", -1}, {"4294967296", 0}, {"4294967297", 1}, {"2147483648", INT_MIN},
      {"-2147483649", INT_MAX}, {"-4294967295", 1}, {"99999999999", 1215752191},
      {"-99999999999", -1215752191},
      // Base prefixes, in lower case only.
      {"0x10", 16}, {"0xAB", 171}, {"0x10abc", 68284}, {"0xfg", 15}, {"0x7fffffff", INT_MAX},
      {"0xffffffff", -1}, {"0xFFFFFFFE", -2}, {"0x80000000", INT_MIN}, {"0x1ffffffff", -1},
      {"0x100000010", 16}, {"0xffffffff0", -16}, {"-0x10", -16}, {"+0x10", 16}, {"0x", 0},
      {"0xZ", 0}, {"0x-5", 0}, {"0x 5", 0}, {"00x10", 0}, {"x10", 0}, {"0X1f", 0},
      {"0o17", 15}, {"0O17", 0}, {"0b101", 5}, {"0B11", 0},
      // Quotes go as for any value; an empty value (quoted or blank) gives the default.
      {"\"8\"", 8}, {"\"0x10\"", 16}, {"'12'", 12}, {"\"-3\"", -3}, {"\"  7\"", 7},
      {"", 77}, {"\"\"", 77}, {"  ", 77},
      // Only the first 29 characters are read.
      {"00000000000000000000000000042", 42}, {"000000000000000000000000000042", 4},
      {"0000000000000000000000000000042", 0},
  };
  std::string text = "[N]\r\n";
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    text += "k" + std::to_string(i) + "=" + cases[i].value + "\r\n";
  }
  ASSERT_TRUE(fs.writeFile("C:\\n.ini", text));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(profile.getInt("C:\\n.ini", "N", "k" + std::to_string(i), 77), cases[i].expected)
        << "[" << cases[i].value << "]";
  }
  EXPECT_EQ(profile.getInt("C:\\n.ini", "N", "missing", 77), 77);
  EXPECT_EQ(profile.getInt("C:\\missing.ini", "N", "a", -3), -3);
}

TEST_F(IniProfileTest, DefaultsLoseTheirQuotesAsValuesDo) {
  const struct {
    const char* def;
    const char* expected;
  } cases[] = {
      {"\"abc\"", "abc"},
      {"'abc'", "abc"},
      {"\"abc", "\"abc"},
      {"abc\"", "abc\""},
      {"\"abc\"   ", "abc"},         // trailing blanks go first
      {"  \"abc\"  ", "  \"abc\""},  // a leading blank keeps the quotes
      {"\"\"", ""},
      {"\"a\"b\"", "a\"b"},
      {"'abc\"", "'abc\""},
      {"\"a b\" ", "a b"},
      {"\"", "\""},
      {"x\"abc\"", "x\"abc\""},
      {"\" abc \"", " abc "},
      // Only trailing spaces go, and never the first character.
      {"d \t ", "d \t"},
      {"abc\t", "abc\t"},
      {"  ", " "},
      {" ", " "},
      {"\t", "\t"},
      {" d ", " d"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(profile.getString(kScript, "Settings"s, "Missing"s, c.def, 260), c.expected)
        << "[" << c.def << "]";
  }
  // The default of a key list keeps its blanks; a trailing blank then keeps the quotes too.
  const struct {
    const char* def;
    const char* expected;
  } listCases[] = {{"\"listdef\"", "listdef"},
                   {"'listdef'", "listdef"},
                   {"  ", "  "},
                   {"d  ", "d  "},
                   {" d ", " d "},
                   {"\"d\" ", "\"d\" "}};
  for (const auto& c : listCases) {
    EXPECT_EQ(profile.getString(kScript, "Nope"s, nullopt, c.def, 260), c.expected)
        << "[" << c.def << "]";
  }
}

TEST_F(IniProfileTest, EmptyKeyNamesAndEntriesBeforeTheFirstSection) {
  const std::string path = "C:\\e.ini";
  ASSERT_TRUE(fs.writeFile(path,
                           "top=1\r\nTop2 = two \r\n=emptykey\r\n"
                           "[E]\r\n=first\r\n  =second\r\nk=v\r\n"
                           "[L]\r\nk=v\r\n=x\r\nj=y\r\n"
                           "[]\r\nshadowed=1\r\n[ ]\r\nblank=1\r\n"));
  const struct {
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"E", "", "first"}, {"E", " ", "first"}, {"L", "", "x"}, {"A", "", "def"},
      {"", "top", "1"}, {" ", "top", "1"}, {"", "TOP2", "two"}, {"", "", "emptykey"},
      {"E", "top", "def"},
      // A "[]" or "[ ]" section has the empty name too: the first one, before any
      // section line, is the one read.
      {"", "shadowed", "def"}, {"", "blank", "def"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(profile.getString(path, std::string(c.section), std::string(c.key), "def", 260),
              c.expected)
        << "[" << c.section << "] " << c.key;
  }
  EXPECT_EQ(profile.getInt(path, "E", "", 5), 0);  // "first" holds no digits
  EXPECT_EQ(profile.getInt(path, "", "top", 9), 1);
  // Nameless sections are not listed; nameless keys are, and a list that would begin with
  // one gives the default.
  EXPECT_EQ(profile.getString(path, nullopt, nullopt, "def", 260), "E\0L\0"s);
  EXPECT_EQ(profile.getString(path, ""s, nullopt, "def", 260), "top\0Top2\0\0"s);
  EXPECT_EQ(profile.getString(path, "L"s, nullopt, "def", 260), "k\0\0j\0"s);
  EXPECT_EQ(profile.getString(path, "E"s, nullopt, "def", 260), "def");
  ASSERT_TRUE(fs.writeFile(path, "[A]\r\nk=v\r\n"));
  EXPECT_EQ(profile.getString(path, ""s, "k"s, "def", 260), "def");
  EXPECT_EQ(profile.getString(path, ""s, nullopt, "def", 260), "def");

  // Writes: an empty key is written as "=value"; an empty section name edits the entries
  // before the first section line.
  ASSERT_TRUE(fs.writeFile(path, "x=1\r\n[A]\r\nk=v\r\n"));
  EXPECT_TRUE(profile.writeString(path, "", "y"s, "2"s));
  EXPECT_TRUE(profile.writeString(path, "", "x"s, "3"s));
  EXPECT_TRUE(profile.writeString(path, "A", ""s, "e"s));
  EXPECT_EQ(text(path), "x=3\r\ny=2\r\n[A]\r\nk=v\r\n=e\r\n");
  EXPECT_EQ(profile.getString(path, "A"s, ""s, "def", 260), "e");
}

TEST_F(IniProfileTest, LineEndsCommentsAndNullBytes) {
  const std::string path = "C:\\l.ini";
  const struct {
    std::string text;
    const char* key;
    const char* expected;
  } cases[] = {
      {"[S]\rk=1\rj=2\r", "k", "1"},  // a carriage return alone ends a line
      {"[S]\rk=1\rj=2\r", "j", "2"},           {"[S]\nk=1\r\n\rj=2", "j", "2"},
      {"[S]\r\nk=a\0b\r\nj=2\r\n"s, "k", "a"},  // the value ends at a null byte
      {"[S]\r\nk=a\0b\r\nj=2\r\n"s, "j", "2"}, {"[S]\r\nk=\"a\0b\"\r\n"s, "k", "\"a"},
      {"[S]\r\n;c=1\r\n", ";c", "1"},  // a comment is found by its full key...
      {"[S]\r\n  ;c=1\r\n", ";c", "1"},        {"[S]\r\n;c=1\r\n", "c", "def"},
      {"[S]\r\n#h=1\r\n", "#h", "1"},  // "#" begins no comment
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(fs.writeFile(path, c.text));
    EXPECT_EQ(profile.getString(path, "S"s, std::string(c.key), "def", 260), c.expected)
        << c.key << " in " << c.text;
  }
  // ...but never listed.
  ASSERT_TRUE(fs.writeFile(path, "[S]\r\n;c=1\r\nk=v\r\n#h=1\r\n"));
  EXPECT_EQ(profile.getString(path, "S"s, nullopt, "def", 260), "k\0#h\0"s);
}

TEST_F(IniProfileTest, WritesFollowWindowsEdits) {
  const std::string path = "C:\\App\\new.ini";
  EXPECT_TRUE(profile.writeString(path, "Keep", "A"s, nullopt));  // deleting from nothing
  EXPECT_FALSE(fs.exists(path));
  EXPECT_TRUE(profile.writeString(path, "One", "A"s, "1"s));
  EXPECT_EQ(text(path), "[One]\r\nA=1\r\n");
  EXPECT_TRUE(profile.writeString(path, "Two", "B"s, "2"s));
  EXPECT_TRUE(profile.writeString(path, "one", "C"s, "3"s));
  EXPECT_TRUE(profile.writeString(path, "ONE", "a"s, "10"s));
  EXPECT_EQ(text(path), "[One]\r\nA=10\r\nC=3\r\n[Two]\r\nB=2\r\n");
  EXPECT_EQ(profile.getString(path, "One"s, "A"s, "", 260), "10");
  EXPECT_TRUE(profile.writeString(path, "One", "C"s, nullopt));
  EXPECT_TRUE(profile.writeString(path, "Two", nullopt, nullopt));
  EXPECT_EQ(text(path), "[One]\r\nA=10\r\n");
  EXPECT_EQ(profile.getString(path, "Two"s, "B"s, "gone", 260), "gone");
  EXPECT_TRUE(fs.find("C:\\App\\*.TMP").empty());  // no temporary or set-aside file left
}

TEST_F(IniProfileTest, ValuesAreWrittenWithoutSurroundingBlanks) {
  const std::string path = "C:\\App\\new.ini";
  EXPECT_TRUE(profile.writeString(path, " One ", " A "s, "  padded value \t"s));
  EXPECT_TRUE(profile.writeString(path, "One", "B"s, "   "s));
  EXPECT_EQ(text(path), "[One]\r\nA=padded value\r\nB=\r\n");
  EXPECT_TRUE(profile.writeString(path, "One", "A"s, " x "s));  // replaced in place, as well
  EXPECT_EQ(text(path), "[One]\r\nA=x\r\nB=\r\n");
}

TEST_F(IniProfileTest, BareNamesAndWinIni) {
  EXPECT_TRUE(profile.writeString("app.ini", "S", "K"s, "v"s));
  EXPECT_EQ(text("C:\\WINDOWS\\app.ini"), "[S]\r\nK=v\r\n");
  EXPECT_EQ(profile.getString("APP.INI", "S"s, "K"s, "", 260), "v");
  EXPECT_TRUE(profile.writeProfileString("Extensions", "txt"s, "notepad.exe ^.txt"s));
  EXPECT_EQ(text("C:\\WINDOWS\\WIN.INI"), "[Extensions]\r\ntxt=notepad.exe ^.txt\r\n");
  EXPECT_EQ(profile.getProfileString("extensions"s, "TXT"s, "", 260), "notepad.exe ^.txt");
  EXPECT_TRUE(profile.writeProfileString("Extensions", "txt"s, nullopt));
  EXPECT_EQ(profile.getProfileString("Extensions"s, "txt"s, "none", 260), "none");
  // A relative path with a folder is taken from the current folder.
  ASSERT_TRUE(fs.setCurrentDirectory("C:\\App"));
  EXPECT_EQ(profile.getString("..\\App\\Script.vrx", "Files"s, "nbFiles"s, "", 260), "1");
}

TEST_F(IniProfileTest, FailedWritesLeaveTheOldFile) {
  const std::string before = text(kScript);
  const std::size_t entries = fs.listAll().size();
  fs.failWritesAfter(20);  // the disk fills up in the middle of the new text
  EXPECT_FALSE(profile.writeString(kScript, "UnInstall", "0"s, "C:\\App"s));
  EXPECT_EQ(text(kScript), before);
  EXPECT_EQ(fs.listAll().size(), entries);  // no temporary file left behind
  EXPECT_EQ(profile.getString(kScript, "UnInstall"s, "0"s, "none", 260), "none");
  fs.clearFailures();

  fs.denyAccess("C:\\App");
  EXPECT_FALSE(profile.writeString(kScript, "UnInstall", "0"s, "x"s));
  fs.clearFailures();
  EXPECT_EQ(text(kScript), before);

  ASSERT_TRUE(fs.setAttributes(kScript, attr::ReadOnly));
  EXPECT_FALSE(profile.writeString(kScript, "Settings", "Type"s, "0"s));
  ASSERT_TRUE(fs.setAttributes(kScript, attr::Normal));
  EXPECT_EQ(text(kScript), before);

  EXPECT_FALSE(profile.writeString("C:\\NoFolder\\x.ini", "S", "K"s, "v"s));
  EXPECT_FALSE(profile.writeString("", "S", "K"s, "v"s));
  EXPECT_EQ(fs.listAll().size(), entries);
}

TEST_F(IniProfileTest, LineBreaksCannotInjectLines) {
  const std::string before = text(kScript);
  EXPECT_FALSE(profile.writeString(kScript, "Settings", "Title"s, "x\r\n[Files]\r\nnbFiles=99"s));
  EXPECT_FALSE(profile.writeString(kScript, "Settings", "a\nb"s, "1"s));
  EXPECT_FALSE(profile.writeString(kScript, "Set\ntings", "a"s, "1"s));
  EXPECT_EQ(text(kScript), before);
}

TEST_F(IniProfileTest, MoveThatReplacesIsUsedDirectly) {
  fs.refuseMoveOntoExisting(false);
  const std::size_t entries = fs.listAll().size();
  EXPECT_TRUE(profile.writeString(kScript, "Settings", "Type"s, "3"s));
  EXPECT_EQ(profile.getInt(kScript, "Settings", "Type", 0), 3);
  EXPECT_NE(text(kScript).find("Type=3\r\n"), std::string::npos);
  EXPECT_EQ(fs.listAll().size(), entries);
}

TEST_F(IniProfileTest, CacheServesReadsAndNoticesChanges) {
  for (int i = 0; i < 50; ++i) {
    EXPECT_EQ(profile.getString(kScript, "Files"s, "0"s, "", 260), "a.exe,b.exe");
    EXPECT_EQ(profile.getString("c:\\app\\SCRIPT.VRX", "Settings"s, "Type"s, "", 260), "2");
  }
  EXPECT_EQ(fs.openCount(), 1);
  // Our own write updates the cache without reading the file again.
  EXPECT_TRUE(profile.writeString(kScript, "Settings", "Type"s, "1"s));
  EXPECT_EQ(profile.getInt(kScript, "Settings", "Type", 0), 1);
  EXPECT_EQ(fs.openCount(), 1);
  // A change made by someone else (new size and write time) is seen.
  ASSERT_TRUE(fs.writeFile(kScript, "[Settings]\r\nType=3\r\n"));
  EXPECT_EQ(profile.getInt(kScript, "Settings", "Type", 0), 3);
  EXPECT_EQ(fs.openCount(), 2);
  // Same size, later write time.
  ASSERT_TRUE(fs.writeFile(kScript, "[Settings]\r\nType=4\r\n"));
  EXPECT_EQ(profile.getInt(kScript, "Settings", "Type", 0), 4);
  // A deleted file reads as empty.
  ASSERT_TRUE(fs.deleteFile(kScript));
  EXPECT_EQ(profile.getInt(kScript, "Settings", "Type", 9), 9);
}

// The reads of a look share one look at the file: another program's change is seen from the
// next look on, or after the look is settled (a wait on the user); this profile's own writes
// start from the file as it is and are seen at once; other files are looked at as ever.
TEST_F(IniProfileTest, ReadsInALookShareOneLookAtTheFile) {
  const char* other = "C:\\WINDOWS\\other.ini";
  ASSERT_TRUE(fs.writeFile(other, "[A]\r\nB=1\r\n"));
  auto type = [&] { return profile.getInt(kScript, "Settings", "Type", 0); };
  {
    ProfileLook look(profile, kScript);
    EXPECT_EQ(type(), 2);
    ASSERT_TRUE(fs.writeFile(kScript, "[Settings]\r\nType=3\r\n"));
    EXPECT_EQ(type(), 2);
    EXPECT_EQ(profile.getInt(other, "A", "B", 0), 1);
    ASSERT_TRUE(fs.writeFile(other, "[A]\r\nB=22\r\n"));
    EXPECT_EQ(profile.getInt(other, "A", "B", 0), 22);
    EXPECT_TRUE(profile.writeString(kScript, "Settings", "AppName"s, "Own"s));
    EXPECT_EQ(text(kScript), "[Settings]\r\nType=3\r\nAppName=Own\r\n");
    EXPECT_EQ(profile.getString(kScript, "Settings"s, "AppName"s, "", 260), "Own");
    EXPECT_EQ(type(), 3);
  }
  ASSERT_TRUE(fs.writeFile(kScript, "[Settings]\r\nType=4\r\n"));
  EXPECT_EQ(type(), 4);

  ProfileLook outer(profile, kScript);
  EXPECT_EQ(type(), 4);
  {
    ProfileLook inner(profile, "c:\\app\\SCRIPT.VRX");
    EXPECT_EQ(type(), 4);
  }
  ASSERT_TRUE(fs.writeFile(kScript, "[Settings]\r\nType=5\r\n"));
  EXPECT_EQ(type(), 4) << "the outer look goes on";
  profile.settleLooks();
  EXPECT_EQ(type(), 5);
  ASSERT_TRUE(fs.writeFile(kScript, "[Settings]\r\nType=6\r\n"));
  EXPECT_EQ(type(), 5) << "one look again after the settle";
}

// A walk over many entries looks once per block: another program's change is seen from the
// next block on, never later.
TEST_F(IniProfileTest, AWalkLooksAgainAtEveryBlock) {
  auto type = [&] { return profile.getInt(kScript, "Settings", "Type", 0); };
  LookPerBlock looks(profile, kScript, 2);
  std::vector<int> seen;
  for (int entry = 0; entry < 6; ++entry) {
    looks.next();
    seen.push_back(type());
    ASSERT_TRUE(fs.writeFile(kScript, "[Settings]\r\nType=" + std::to_string(10 + entry) + "\r\n"));
  }
  EXPECT_EQ(seen, (std::vector<int>{2, 2, 11, 11, 13, 13}));
}

TEST_F(IniProfileTest, AFileOverTheTextLimitIsRefusedOnceAndNeverOverwritten) {
  const std::string big = "[Settings]\r\nType=2\r\n" + std::string(kTextFileLimit, ';');
  ASSERT_TRUE(fs.writeFile(kScript, big));
  ::testing::internal::CaptureStderr();
  for (int i = 0; i < 5; ++i) EXPECT_EQ(profile.getInt(kScript, "Settings", "Type", 9), 9);
  EXPECT_FALSE(profile.writeString(kScript, "Settings", "Type"s, "3"s));
  std::string told = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(fs.openCount(), 1);
  EXPECT_NE(told.find("it is not read"), std::string::npos) << told;
  EXPECT_EQ(told.find("it is not read"), told.rfind("it is not read")) << told;
  EXPECT_EQ(text(kScript), big);
  // Once the file is smaller again it is read.
  ASSERT_TRUE(fs.writeFile(kScript, "[Settings]\r\nType=4\r\n"));
  EXPECT_EQ(profile.getInt(kScript, "Settings", "Type", 9), 4);
}

// A gathered run of writes: reads see each write at once, the file on disk always holds the
// writes up to some point in order (parsed alone it matches a prefix of the run), and flush
// leaves the same file as writing one at a time; a write the file would refuse fails at once.
TEST_F(IniProfileTest, GatheredWritesReachTheFileInOrder) {
  IniProfile single{fs, [] { return std::string("C:\\WINDOWS"); }};
  for (int i = 0; i < 300; ++i) {
    std::string n = std::to_string(i);
    ASSERT_TRUE(single.writeString("C:\\App\\one.ini", "S" + std::to_string(i % 3), "k" + n, "v" + n));
  }
  profile.gatherWrites();
  int lastOnDisk = -1;
  for (int i = 0; i < 300; ++i) {
    std::string n = std::to_string(i);
    std::string section = "S" + std::to_string(i % 3);
    ASSERT_TRUE(profile.writeString("C:\\App\\run.ini", section, "k" + n, "v" + n));
    EXPECT_EQ(profile.getString("C:\\App\\run.ini", section, "k" + n, "", 260), "v" + n);
    // On disk: every entry up to some point and none after it.
    IniProfile reader{fs, [] { return std::string("C:\\WINDOWS"); }};
    int onDisk = -1;
    for (int k = 0; k <= i; ++k) {
      std::string kn = std::to_string(k);
      bool there = reader.getString("C:\\App\\run.ini", "S" + std::to_string(k % 3), "k" + kn, "", 260) == "v" + kn;
      if (there) {
        ASSERT_EQ(onDisk, k - 1) << "entry " << k << " on disk after a missing one";
        onDisk = k;
      }
    }
    EXPECT_GE(onDisk, lastOnDisk);
    lastOnDisk = onDisk;
  }
  EXPECT_LT(lastOnDisk, 299);  // a large file is not replaced at every write
  ASSERT_TRUE(fs.setAttributes(kScript, attr::ReadOnly));
  EXPECT_FALSE(profile.writeString(kScript, "Settings", "Type"s, "0"s));
  ASSERT_TRUE(fs.setAttributes(kScript, attr::Normal));
  EXPECT_TRUE(profile.flush());
  EXPECT_EQ(text("C:\\App\\run.ini"), text("C:\\App\\one.ini"));
  // After the flush each write replaces the file again.
  EXPECT_TRUE(profile.writeString("C:\\App\\run.ini", "S0", "k0", "changed"));
  EXPECT_NE(text("C:\\App\\run.ini").find("k0=changed\r\n"), std::string::npos);
}

// Held writes reach the file only at the flush, however small it is, and then as one write;
// reads see them at once, and each write after the flush replaces the file again.
TEST_F(IniProfileTest, HeldWritesReachTheFileAtTheFlush) {
  ASSERT_TRUE(fs.writeFile("C:\\App\\held.ini", "[UnInstall]\r\n"));
  profile.holdWrites();
  for (int i = 0; i < 5; ++i) {
    std::string n = std::to_string(i);
    ASSERT_TRUE(profile.writeString("C:\\App\\held.ini", "UnInstall", n, "C:\\Dir" + n));
    EXPECT_EQ(profile.getString("C:\\App\\held.ini", "UnInstall", n, "", 260), "C:\\Dir" + n);
  }
  EXPECT_EQ(text("C:\\App\\held.ini"), "[UnInstall]\r\n");
  EXPECT_TRUE(profile.flush());
  EXPECT_EQ(text("C:\\App\\held.ini"),
            "[UnInstall]\r\n0=C:\\Dir0\r\n1=C:\\Dir1\r\n2=C:\\Dir2\r\n3=C:\\Dir3\r\n4=C:\\Dir4\r\n");
  EXPECT_TRUE(profile.writeString("C:\\App\\held.ini", "UnInstall", "5", "C:\\Dir5"));
  EXPECT_NE(text("C:\\App\\held.ini").find("5=C:\\Dir5\r\n"), std::string::npos);
}

}  // namespace
}  // namespace vandrel::platform
