// The state lines: layout folders named, files shown by kind, shortcuts, win.ini, registry.
#include "tools/state/state_dump.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/memory_machine.h"

namespace vandrel::state {
namespace {

using ::testing::Contains;
using ::testing::IsSupersetOf;
using ::testing::Not;

class StateDumpTest : public ::testing::Test {
 protected:
  std::vector<std::string> describe(const StateRequest& request = {}) {
    return describeState(machine_, request, [this](const std::string& path) {
      return readLinkFile(machine_.files(), path);
    });
  }
  void setString(platform::HKey root, const std::string& key, const std::string& name,
                 const std::string& value) {
    platform::HKey handle = 0;
    ASSERT_EQ(machine_.registry().createKey(root, key, handle), platform::error::Success);
    machine_.registry().setString(handle, name, value);
    machine_.registry().closeKey(handle);
  }

  test::MemoryMachine machine_;
  test::MemoryFileSystem& files_ = machine_.memoryFiles();
};

TEST_F(StateDumpTest, NamesTheLayoutFoldersWithoutRegardToCaseLongestFirst) {
  files_.writeFile("C:\\windows\\Peskin32.EXE", std::string("MZ\0\1", 4));
  files_.writeFile("C:\\WINDOWS\\Start Menu\\Programs\\Tool\\readme.txt", "see c:\\windows\\x\r\n");
  setString(platform::hkey::LocalMachine, "Software\\T", "Path", "c:\\Windows\\Peskin32.EXE /x");
  std::vector<std::string> lines = describe({{}, {"HKLM\\Software\\T"}, {}});
  EXPECT_THAT(lines, IsSupersetOf(std::vector<std::string>{
      "file %WINDOWS%\\Peskin32.EXE: 4 bytes, digest " + std::string("978eabaefbee37a9"),
      "folder %PROGRAMS%\\Tool",
      "text %PROGRAMS%\\Tool\\readme.txt:1: see %WINDOWS%\\x",
      "file %PROGRAMS%\\Tool\\readme.txt: text, 1 lines, CR LF",
      "value HKEY_LOCAL_MACHINE\\Software\\T: Path REG_SZ \"%WINDOWS%\\Peskin32.EXE /x\"",
  }));
  EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end()));
}

TEST_F(StateDumpTest, DescribesTheWindowsFolderOnlyAtItsTopAndRequestedTreesWhole) {
  files_.writeFile("C:\\WINDOWS\\Deep\\inner.txt", "x");
  files_.writeFile("C:\\WINDOWS\\SYSTEM\\shared.dll", "MZ shared");
  files_.writeFile("C:\\Program Files\\Tool\\bin\\a.dat", std::string("\0\0", 2));
  files_.writeFile("C:\\Program Files\\Tool\\mixed.txt", "a\r\nb\nc");
  files_.writeFile("C:\\Program Files\\Other\\b.txt", "y");
  std::vector<std::string> lines = describe({{"C:\\Program Files\\Tool"}, {}, {}});
  EXPECT_THAT(lines, Contains("folder %WINDOWS%\\Deep"));
  EXPECT_THAT(lines, Contains("file %SYSTEM%\\shared.dll: 9 bytes"));
  EXPECT_THAT(lines, Not(Contains("text %WINDOWS%\\Deep\\inner.txt:1: x")));
  EXPECT_THAT(lines, Contains("folder C:\\Program Files\\Tool\\bin"));
  EXPECT_THAT(lines, Contains("file C:\\Program Files\\Tool\\bin\\a.dat: 2 bytes, digest "
                              "08328807b4eb6fed"));
  EXPECT_THAT(lines, IsSupersetOf(std::vector<std::string>{"text C:\\Program Files\\Tool\\mixed.txt:3: c",
                                   "file C:\\Program Files\\Tool\\mixed.txt: text, 3 lines, mixed"}));
  EXPECT_THAT(lines, Not(Contains("text C:\\Program Files\\Other\\b.txt:1: y")));
}

TEST_F(StateDumpTest, LeavesEmptyLinesOutOnlyWhenAsked) {
  files_.writeFile("C:\\Program Files\\Tool\\a.ini", "[A]\r\n\r\nx=1\r\n");
  StateRequest request{{"C:\\Program Files\\Tool"}, {}, {}};
  EXPECT_THAT(describe(request), IsSupersetOf(std::vector<std::string>{
      "text C:\\Program Files\\Tool\\a.ini:2: ", "text C:\\Program Files\\Tool\\a.ini:3: x=1",
      "file C:\\Program Files\\Tool\\a.ini: text, 3 lines, CR LF"}));
  request.skipBlankLines = true;
  EXPECT_THAT(describe(request), IsSupersetOf(std::vector<std::string>{
      "text C:\\Program Files\\Tool\\a.ini:2: x=1",
      "file C:\\Program Files\\Tool\\a.ini: text, 2 lines, CR LF"}));
}

TEST_F(StateDumpTest, NamesFilesEqualToAGivenOneByItsLabel) {
  std::string program("MZ program\0", 11);
  files_.writeFile("C:\\build\\peskin32.exe", program);
  files_.writeFile("C:\\WINDOWS\\Peskin32.EXE", program);
  files_.writeFile("C:\\WINDOWS\\Other.EXE", program + "!");
  std::vector<std::string> lines = describe({{}, {}, {{"peskin32", "C:\\build\\peskin32.exe"}}});
  EXPECT_THAT(lines, Contains("file %WINDOWS%\\Peskin32.EXE: same as peskin32"));
  EXPECT_THAT(lines, Not(Contains("file %WINDOWS%\\Other.EXE: same as peskin32")));
}

TEST_F(StateDumpTest, ReadsShortcutsRatherThanTheirBytes) {
  platform::ShellLink link;
  link.target = "C:\\Program Files\\Tool\\tool.exe";
  link.workingDirectory = "C:\\Program Files\\Tool";
  link.arguments = "/a";
  link.description = "Tool";
  ASSERT_TRUE(machine_.shell().createShortcut("C:\\WINDOWS\\Desktop\\Tool.lnk", link));
  files_.writeFile("C:\\WINDOWS\\Desktop\\Broken.lnk", "not a link");
  EXPECT_THAT(describe(), IsSupersetOf(std::vector<std::string>{
      "link %DESKTOP%\\Tool.lnk: target C:\\Program Files\\Tool\\tool.exe | arguments /a | folder "
      "C:\\Program Files\\Tool | icon ,0 | description Tool | show 1",
      "link %DESKTOP%\\Broken.lnk: unreadable",
  }));
}

TEST_F(StateDumpTest, ListsWinIniKeysAndRegistryTreesWithTheirTypes) {
  machine_.profile().writeProfileString("Tool", "InstallDir", "C:\\Program Files\\Tool");
  setString(platform::hkey::CurrentUser, "Software\\Orlwen\\Tool", "", "default");
  platform::HKey key = 0;
  machine_.registry().createKey(platform::hkey::CurrentUser, "Software\\Orlwen\\Tool\\Sub", key);
  machine_.registry().setDword(key, "Count", 7);
  machine_.registry().setValue(key, "Raw", platform::regtype::Binary, {0x01, 0xab});
  machine_.registry().closeKey(key);
  std::vector<std::string> lines =
      describe({{}, {"HKEY_CURRENT_USER\\Software\\Orlwen", "HKCU\\Software\\Missing"}, {}});
  for (const std::string& line : lines) EXPECT_EQ(line.find("WIN.INI"), std::string::npos) << line;
  EXPECT_THAT(lines, IsSupersetOf(std::vector<std::string>{
      "ini [Tool] InstallDir=C:\\Program Files\\Tool",
      "key HKEY_CURRENT_USER\\Software\\Orlwen",
      "key HKEY_CURRENT_USER\\Software\\Orlwen\\Tool",
      "value HKEY_CURRENT_USER\\Software\\Orlwen\\Tool: @ REG_SZ \"default\"",
      "value HKEY_CURRENT_USER\\Software\\Orlwen\\Tool\\Sub: Count REG_DWORD 7",
      "value HKEY_CURRENT_USER\\Software\\Orlwen\\Tool\\Sub: Raw type 3 hex:01,ab",
  }));
  for (const std::string& line : lines) EXPECT_EQ(line.find("Missing"), std::string::npos) << line;
}

}  // namespace
}  // namespace vandrel::state
