// The emulated machine's own implementations against the system's: the same cases through
// both must give the same results. On Windows (or Wine, standing for it) the profile rules of
// IniProfile, the SZDD expansion of LzLibrary, the version reader of FileVersionInfo and the
// shortcut writer and reader run over real files beside GetPrivateProfileStringA, LZCopy,
// GetFileVersionInfoA and the shell's link object.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/file_version_info.h"
#include "platform/formats/shell_link.h"
#include "platform/formats/szdd.h"
#include "platform/formats/version_resource.h"
#include "platform/ini/ini_profile.h"
#include "platform/lz_library.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_lz.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_version_info.h"
#include "tests/support/pe_builder.h"
#include "tests/support/temp_dir.h"

namespace vandrel::platform::win32 {
namespace {

using std::nullopt;
using namespace std::string_literals;

class DifferentialTest : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const {
    std::string folder = dir_.path().string();
    std::replace(folder.begin(), folder.end(), '/', '\\');
    return folder + "\\" + name;
  }
  void write(const std::string& name, const std::string& content) { test::writeFile(dir_ / name, content); }
  std::string read(const std::string& name) const { return test::readFile(dir_ / name); }

  Win32FileSystem files_;

 private:
  test::TempDir dir_;
};

// --- Profile rules ----------------------------------------------------------------------

class ProfileDifferentialTest : public DifferentialTest {
 protected:
  // Both profiles over their own copy of the same text.
  void start(const std::string& text) {
    write("ours.ini", text);
    write("system.ini", text);
  }
  std::string ours() const { return path("ours.ini"); }
  std::string system() const { return path("system.ini"); }

  IniProfile emulated_{files_, [] { return std::string("C:\\windows"); }};
  Win32Profile real_;
};

const char* const kProfileText =
    "; a comment\r\n"
    "[Settings]\r\n"
    "AppName = \"Demo\" \r\n"
    "Quoted=\"inner\" tail\r\n"
    "Empty=\r\n"
    "Long=abcdefghij\r\n"
    "  Spaced Key  =  spaced value  \r\n"
    "Type=2\r\n"
    "Dup=first\r\n"
    "dup=second\r\n"
    "NoEquals\r\n"
    "[Numbers]\r\n"
    "plain=12\r\n"
    "trailing=12abc\r\n"
    "negative=-5\r\n"
    "blank= 7\r\n"
    "hex=0x10\r\n"
    "empty=\r\n"
    "[ Blank Section ]\r\n"
    "k=v\r\n"
    "[settings]\r\n"
    "Later=in the second Settings\r\n";

TEST_F(ProfileDifferentialTest, ReadsGiveTheSameText) {
  start(kProfileText);
  struct Case {
    std::optional<std::string> section, key;
    std::string def;
    std::size_t size;
  };
  const Case cases[] = {
      {"Settings"s, "AppName"s, "x", 260},    {"SETTINGS"s, "appname"s, "x", 260},
      {"Settings"s, "Quoted"s, "x", 260},     {"Settings"s, "Empty"s, "def", 260},
      {"Settings"s, "Missing"s, "def  ", 260}, {"Settings"s, "Missing"s, "\"quoted def\"", 260},
      {"Settings"s, "Long"s, "", 5},          {"Settings"s, "Long"s, "", 1},
      {"Settings"s, "Spaced Key"s, "", 260},  {"Settings"s, "Dup"s, "", 260},
      {"Settings"s, "NoEquals"s, "def", 260}, {"Settings"s, "Later"s, "def", 260},
      {"Blank Section"s, "k"s, "def", 260},   {"Missing"s, "k"s, "def", 260},
      {nullopt, nullopt, "", 260},            {nullopt, nullopt, "", 12},
      {"Settings"s, nullopt, "", 260},        {"Settings"s, nullopt, "", 20},
      {"Numbers"s, nullopt, "", 3},           {"Nothing"s, nullopt, "def", 260},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.section.value_or("<none>") + " / " + c.key.value_or("<none>") + " / " + c.def +
                 " / " + std::to_string(c.size));
    EXPECT_EQ(emulated_.getString(ours(), c.section, c.key, c.def, c.size),
              real_.getString(system(), c.section, c.key, c.def, c.size));
  }
}

TEST_F(ProfileDifferentialTest, IntegersAreReadAlike) {
  start(kProfileText);
  for (const char* key : {"plain", "trailing", "negative", "blank", "hex", "empty", "missing"}) {
    SCOPED_TRACE(key);
    EXPECT_EQ(emulated_.getInt(ours(), "Numbers", key, 99), real_.getInt(system(), "Numbers", key, 99));
  }
}

TEST_F(ProfileDifferentialTest, WritesLeaveTheSameFile) {
  struct Write {
    std::string section;
    std::optional<std::string> key, value;
  };
  const std::vector<Write> writes = {
      {"Settings", "AppName"s, "New Name"s},    // replaced in place
      {"settings", "NEWKEY"s, "added"s},        // added at the end of the section
      {"Settings", "Empty"s, nullopt},          // key deleted
      {"Numbers", nullopt, nullopt},            // section deleted
      {"Fresh", "a"s, "1"s},                    // new section at the end
      {"Fresh", "b"s, " padded "s},             // values are written as given
      {"Settings", "Spaced Key"s, "tight"s},
      {"Missing", "gone"s, nullopt},            // nothing to delete
  };
  // Wine writes every section header back trimmed, where Windows leaves the lines it does not
  // edit as they were: the headers here are trimmed already.
  std::string trimmedHeaders = kProfileText;
  trimmedHeaders.replace(trimmedHeaders.find("[ Blank Section ]"), 17, "[Blank Section]");
  const std::vector<std::string> starts = {trimmedHeaders, "", "[Settings]\nAppName=x", "no section=1\r\n"};
  for (const std::string& text : starts) {
    SCOPED_TRACE(text);
    start(text);
    for (const Write& w : writes) {
      EXPECT_EQ(emulated_.writeString(ours(), w.section, w.key, w.value),
                real_.writeString(system(), w.section, w.key, w.value))
          << w.section << " " << w.key.value_or("<none>");
    }
    EXPECT_EQ(read("ours.ini"), read("system.ini"));
  }
}

TEST_F(ProfileDifferentialTest, AMissingFileIsMadeByTheFirstWrite) {
  EXPECT_EQ(emulated_.getString(ours(), "S"s, "k"s, "def", 260), real_.getString(system(), "S"s, "k"s, "def", 260));
  EXPECT_EQ(emulated_.writeString(ours(), "S", "k"s, "v"s), real_.writeString(system(), "S", "k"s, "v"s));
  EXPECT_EQ(read("ours.ini"), read("system.ini"));
}

// --- LZ expansion -----------------------------------------------------------------------

class LzDifferentialTest : public DifferentialTest {
 protected:
  // Copies a source file through an LZ library into out; the result of LZCopy.
  long copyThrough(Lz& lz, const std::string& source, const std::string& out) {
    lz.start();
    int in = lz.openFile(path(source), false);
    int to = lz.openFile(path(out), true);
    long result = in < 0 ? in : to < 0 ? to : lz.copy(in, to);
    if (in >= 0) lz.close(in);
    if (to >= 0) lz.close(to);
    lz.done();
    return result;
  }
};

std::string sampleText(int length) {
  std::string data;
  for (int i = 0; i < length; ++i) data.push_back(char("vandrel setup\r\n"[i % 15] + i / 997));
  return data;
}

TEST_F(LzDifferentialTest, CompressedAndPlainFilesComeOutAlike) {
  struct Case {
    const char* label;
    std::string content;
  };
  auto szdd = [](const std::string& text) {
    Bytes packed = szdd::compress(Bytes(text.begin(), text.end()), 'E');
    return std::string(packed.begin(), packed.end());
  };
  const Case cases[] = {
      {"compressed", szdd(sampleText(20000))},
      {"compressed empty", szdd("")},
      {"compressed repeats", szdd(std::string(5000, 'a'))},
      {"plain", sampleText(3000)},
      {"empty plain", ""},
  };
  LzLibrary ours(files_);
  Win32Lz real;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    write("in.ex_", c.content);
    long ourResult = copyThrough(ours, "in.ex_", "ours.exe");
    long realResult = copyThrough(real, "in.ex_", "real.exe");
    EXPECT_EQ(ourResult, realResult);
    if (ourResult >= 0 && realResult >= 0) EXPECT_EQ(read("ours.exe"), read("real.exe"));
  }
}

// A file that begins like a compressed one and ends before its header does: the system
// copies it unchanged, as if it were not compressed; the emulated machine refuses it as
// damaged, so that a broken package file is never installed as if it were whole.
TEST_F(LzDifferentialTest, ATruncatedHeaderIsRefusedWhereTheSystemCopiesIt) {
  const std::string magicOnly = "SZDD\x88\xf0\x27\x33"s;
  write("in.ex_", magicOnly);
  LzLibrary ours(files_);
  Win32Lz real;
  EXPECT_EQ(copyThrough(ours, "in.ex_", "ours.exe"), lzerror::Read);
  EXPECT_EQ(copyThrough(real, "in.ex_", "real.exe"), long(magicOnly.size()));
}

TEST_F(LzDifferentialTest, MissingSourcesAreRefusedAlike) {
  LzLibrary ours(files_);
  Win32Lz real;
  EXPECT_EQ(ours.openFile(path("none.ex_"), false) < 0, real.openFile(path("none.ex_"), false) < 0);
}

// --- Version resources ------------------------------------------------------------------

TEST_F(DifferentialTest, VersionResourcesReadAlike) {
  FileVersionInfo ours(files_);
  Win32VersionInfo real;
  const std::map<std::string, std::string> strings = {
      {"FileVersion", "2.1.0.7"}, {"ProductVersion", "2.1"}, {"CompanyName", "Orlwen"}};
  for (bool pe64 : {false, true}) {
    SCOPED_TRACE(pe64 ? "PE32+" : "PE32");
    Bytes image = test::buildPeWithVersion({2, 1, 0, 7}, {2, 1, 0, 0}, 0x0409, 1200, strings, pe64);
    write("app.dll", std::string(image.begin(), image.end()));
    Bytes ourBlock, realBlock;
    ASSERT_TRUE(ours.info(path("app.dll"), ourBlock));
    ASSERT_TRUE(real.info(path("app.dll"), realBlock));
    auto ourFixed = queryFixedFileInfo(ourBlock);
    auto realFixed = queryFixedFileInfo(realBlock);
    ASSERT_TRUE(ourFixed && realFixed);
    EXPECT_EQ(ourFixed->fileVersion(), realFixed->fileVersion());
    EXPECT_EQ(ourFixed->productVersion(), realFixed->productVersion());
    auto ourTranslations = queryTranslations(ourBlock), realTranslations = queryTranslations(realBlock);
    ASSERT_EQ(ourTranslations.size(), realTranslations.size());
    EXPECT_EQ(ourTranslations[0].blockName(), realTranslations[0].blockName());
    for (const auto& [name, value] : strings) {
      std::string sub = "\\StringFileInfo\\040904b0\\" + name;
      EXPECT_EQ(queryString(ourBlock, sub), queryString(realBlock, sub)) << name;
    }
  }
  write("plain.txt", "no resources here");
  EXPECT_EQ(ours.infoSize(path("plain.txt")), real.infoSize(path("plain.txt")));
}

// --- Shortcut files ---------------------------------------------------------------------

ShellLink sampleLink() {
  ShellLink link;
  link.target = "C:\\Program Files\\Demo\\demo.exe";
  link.arguments = "/open \"read me.txt\"";
  link.workingDirectory = "C:\\Program Files\\Demo";
  link.description = "Demo application";
  link.iconLocation = "C:\\Program Files\\Demo\\demo.exe";
  link.iconIndex = 1;
  link.showCommand = 7;  // minimised
  return link;
}

// The fields both readers take from a shortcut file (the show command apart: see below).
void expectSameFields(const ShellLink& a, const ShellLink& b) {
  EXPECT_EQ(a.target, b.target);
  EXPECT_EQ(a.arguments, b.arguments);
  EXPECT_EQ(a.workingDirectory, b.workingDirectory);
  EXPECT_EQ(a.description, b.description);
  EXPECT_EQ(a.iconLocation, b.iconLocation);
  EXPECT_EQ(a.iconIndex, b.iconIndex);
}

TEST_F(DifferentialTest, OurShortcutsAreReadByTheShell) {
  const ShellLink link = sampleLink();
  Bytes bytes = encodeShellLink(link, path("Demo.lnk"));
  write("Demo.lnk", std::string(bytes.begin(), bytes.end()));
  auto read = readShortcut(path("Demo.lnk"));
  ASSERT_TRUE(read);
  expectSameFields(*read, link);
  // Wine's link object reads a normal window from our file, though the header holds the
  // same show command at the same place as in its own files (which both readers read).
}

TEST_F(DifferentialTest, TheShellsShortcutsAreReadByOurReader) {
  const ShellLink link = sampleLink();
  Win32Shell shell;
  ASSERT_TRUE(shell.createShortcut(path("Demo.lnk"), link));
  std::string text = read("Demo.lnk");
  auto decoded = decodeShellLink(Bytes(text.begin(), text.end()));
  ASSERT_TRUE(decoded);
  expectSameFields(*decoded, link);
  EXPECT_EQ(decoded->showCommand, link.showCommand);
}

}  // namespace
}  // namespace vandrel::platform::win32
