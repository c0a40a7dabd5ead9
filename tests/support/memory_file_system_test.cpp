// Tests of the in-memory file system that other tests build on.
#include "tests/support/memory_file_system.h"

#include <gtest/gtest.h>

namespace vandrel::test {
namespace {

using platform::OpenMode;
namespace attr = platform::attr;

std::vector<std::string> names(const std::vector<platform::FindData>& found) {
  std::vector<std::string> out;
  for (const auto& f : found) out.push_back(f.name);
  return out;
}

TEST(MemoryFileSystem, FullPaths) {
  MemoryFileSystem fs;
  fs.addDrive('d');
  ASSERT_TRUE(fs.makeDirectories("C:\\Program Files\\App"));
  ASSERT_TRUE(fs.setCurrentDirectory("c:\\program files"));
  const struct {
    const char* path;
    const char* expected;
  } cases[] = {
      {"C:\\PROGRAM FILES\\app\\x.txt", "C:\\Program Files\\App\\x.txt"},  // stored case kept
      {"c:/program files/app", "C:\\Program Files\\App"},
      {"App\\.\\x", "C:\\Program Files\\App\\x"},
      {"..\\..\\..\\x", "C:\\x"},            // never above the root
      {"\\Windows", "C:\\Windows"},
      {"C:x", "C:\\Program Files\\x"},        // drive-relative
      {"D:x", "D:\\x"},
      {"d:\\", "D:\\"},
      {"E:\\x", ""},                          // no such drive
      {"\\\\server\\share\\x", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(fs.fullPath(c.path), c.expected) << c.path;
}

TEST(MemoryFileSystem, FilesFoldersAndReadOnly) {
  MemoryFileSystem fs;
  EXPECT_EQ(fs.create("C:\\NoFolder\\a.txt"), nullptr);
  EXPECT_EQ(fs.create("C:\\bad?.txt"), nullptr);
  ASSERT_TRUE(fs.createDirectory("C:\\App"));
  EXPECT_FALSE(fs.createDirectory("C:\\app"));  // already there, whatever the case
  {
    auto file = fs.create("C:\\App\\A.txt");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->write("hello", 5), 5);
  }
  EXPECT_EQ(fs.readFile("c:\\app\\a.TXT"), "hello");
  auto reader = fs.open("C:\\APP\\A.TXT", OpenMode::Read);
  ASSERT_NE(reader, nullptr);
  char buffer[8] = {};
  EXPECT_EQ(reader->read(buffer, sizeof buffer), 5);
  EXPECT_EQ(reader->read(buffer, sizeof buffer), 0);
  EXPECT_EQ(reader->write("x", 1), -1);
  EXPECT_EQ(fs.open("C:\\App", OpenMode::Read), nullptr);

  ASSERT_TRUE(fs.setAttributes("C:\\App\\a.txt", attr::ReadOnly));
  EXPECT_EQ(fs.open("C:\\App\\a.txt", OpenMode::Write), nullptr);
  EXPECT_EQ(fs.create("C:\\App\\a.txt"), nullptr);
  EXPECT_FALSE(fs.deleteFile("C:\\App\\a.txt"));
  EXPECT_NE(fs.open("C:\\App\\a.txt", OpenMode::Read), nullptr);
  EXPECT_FALSE(fs.removeDirectory("C:\\App"));  // not empty
  ASSERT_TRUE(fs.setAttributes("C:\\App\\a.txt", 0));
  EXPECT_EQ(fs.status("C:\\App\\a.txt")->attributes, attr::Normal);
  EXPECT_TRUE(fs.deleteFile("C:\\App\\a.txt"));
  EXPECT_TRUE(fs.removeDirectory("C:\\App"));
  EXPECT_FALSE(fs.removeDirectory("C:\\"));
}

TEST(MemoryFileSystem, TimesAdvanceWithEveryChange) {
  MemoryFileSystem fs;
  ASSERT_TRUE(fs.writeFile("C:\\a.txt", "1"));
  platform::FileTime first = fs.status("C:\\a.txt")->lastWriteTime;
  ASSERT_TRUE(fs.writeFile("C:\\a.txt", "2"));
  EXPECT_GT(fs.status("C:\\a.txt")->lastWriteTime, first);
  EXPECT_TRUE(fs.setFileTimes("C:\\a.txt", 5, std::nullopt, 7));
  auto st = fs.status("C:\\a.txt");
  EXPECT_EQ(st->creationTime, 5u);
  EXPECT_EQ(st->lastWriteTime, 7u);
  EXPECT_EQ(st->size, 1u);
}

TEST(MemoryFileSystem, FindWithWildcards) {
  MemoryFileSystem fs;
  for (const char* name : {"C:\\D\\a.txt", "C:\\D\\B.TXT", "C:\\D\\readme", "C:\\D\\ab.exe"}) {
    ASSERT_TRUE(fs.writeFile(name, "x"));
  }
  ASSERT_TRUE(fs.makeDirectories("C:\\D\\Sub"));
  EXPECT_EQ(names(fs.find("C:\\D\\*.*")),
            (std::vector<std::string>{".", "..", "a.txt", "ab.exe", "B.TXT", "readme", "Sub"}));
  EXPECT_EQ(names(fs.find("c:\\d\\*.txt")), (std::vector<std::string>{"a.txt", "B.TXT"}));
  EXPECT_EQ(names(fs.find("C:\\D\\?.*")), (std::vector<std::string>{"a.txt", "B.TXT"}));
  EXPECT_EQ(names(fs.find("C:\\D\\a*")), (std::vector<std::string>{"a.txt", "ab.exe"}));
  EXPECT_EQ(names(fs.find("C:\\D\\readme")), (std::vector<std::string>{"readme"}));
  EXPECT_EQ(names(fs.find("C:\\*")), (std::vector<std::string>{"D"}));  // no dots at a root
  EXPECT_TRUE(fs.find("C:\\Missing\\*").empty());
  EXPECT_TRUE(fs.find("C:\\D\\sub\\*.txt").empty());
  EXPECT_TRUE(fs.find("C:\\D\\Sub\\*")[0].status.isDirectory());
}

TEST(MemoryFileSystem, MovesRenameFoldersAndReplaceFiles) {
  MemoryFileSystem fs;
  ASSERT_TRUE(fs.writeFile("C:\\Old\\Inner\\f.txt", "f"));
  ASSERT_TRUE(fs.writeFile("C:\\t.txt", "old"));
  ASSERT_TRUE(fs.writeFile("C:\\s.txt", "new"));
  EXPECT_TRUE(fs.moveFile("C:\\Old", "C:\\New"));
  EXPECT_EQ(fs.readFile("C:\\new\\inner\\F.TXT"), "f");
  EXPECT_FALSE(fs.exists("C:\\Old\\Inner"));
  EXPECT_FALSE(fs.moveFile("C:\\New", "C:\\New\\Inner\\x"));  // into itself
  EXPECT_FALSE(fs.moveFile("C:\\s.txt", "C:\\t.txt"));  // MoveFileA: the target exists
  fs.refuseMoveOntoExisting(false);
  EXPECT_TRUE(fs.moveFile("C:\\s.txt", "C:\\t.txt"));
  EXPECT_EQ(fs.readFile("C:\\t.txt"), "new");
  EXPECT_TRUE(fs.moveFile("C:\\t.txt", "C:\\T.TXT"));          // a change of case
  EXPECT_EQ(fs.listAll().back(), "C:\\T.TXT");
  ASSERT_TRUE(fs.writeFile("C:\\u.txt", "u"));
  ASSERT_TRUE(fs.setAttributes("C:\\T.TXT", attr::ReadOnly));
  EXPECT_FALSE(fs.moveFile("C:\\u.txt", "C:\\T.TXT"));  // never over a read-only file
  EXPECT_FALSE(fs.moveFile("C:\\missing", "C:\\x"));
}

TEST(MemoryFileSystem, DiskFullAndDeniedAccess) {
  MemoryFileSystem fs;
  fs.setFreeSpace('C', 10);
  EXPECT_EQ(fs.diskFreeSpace("C:\\")->freeBytes(), 0u);  // less than one cluster
  auto file = fs.create("C:\\big.bin");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->write("0123456789abc", 13), 10);  // falls short
  EXPECT_EQ(file->write("x", 1), -1);
  file.reset();
  EXPECT_TRUE(fs.deleteFile("C:\\big.bin"));        // frees the space again
  fs.setFreeSpace('C', 1 << 20);
  EXPECT_EQ(fs.diskFreeSpace("C:\\")->freeBytes(), 1u << 20);

  fs.failWritesAfter(4);
  file = fs.create("C:\\a.bin");
  EXPECT_EQ(file->write("abcdef", 6), 4);
  EXPECT_EQ(file->write("g", 1), -1);
  file.reset();
  fs.clearFailures();

  ASSERT_TRUE(fs.writeFile("C:\\Locked\\f.txt", "x"));
  fs.denyAccess("c:\\locked");
  EXPECT_EQ(fs.open("C:\\Locked\\f.txt", OpenMode::Read), nullptr);
  EXPECT_EQ(fs.create("C:\\Locked\\g.txt"), nullptr);
  EXPECT_FALSE(fs.deleteFile("C:\\Locked\\f.txt"));
  EXPECT_FALSE(fs.moveFile("C:\\Locked\\f.txt", "C:\\f.txt"));
  EXPECT_TRUE(fs.status("C:\\Locked\\f.txt").has_value());
  ASSERT_TRUE(fs.writeFile("C:\\LockedNot.txt", "y"));  // a sibling with the same prefix
  EXPECT_NE(fs.open("C:\\LockedNot.txt", OpenMode::Read), nullptr);
  fs.clearFailures();
  EXPECT_NE(fs.open("C:\\Locked\\f.txt", OpenMode::Read), nullptr);
}

TEST(MemoryFileSystem, TempFileNames) {
  MemoryFileSystem fs;
  ASSERT_TRUE(fs.makeDirectories("C:\\Tmp"));
  std::string first;
  std::string second;
  unsigned n1 = fs.tempFileName("C:\\tmp", "KVBxyz", 0, first);
  unsigned n2 = fs.tempFileName("C:\\Tmp\\", "KVB", 0, second);
  EXPECT_NE(n1, 0u);
  EXPECT_NE(n1, n2);
  EXPECT_EQ(first, "C:\\Tmp\\KVB0001.TMP");
  EXPECT_TRUE(fs.exists(first));
  EXPECT_TRUE(fs.exists(second));
  std::string fixed;
  EXPECT_EQ(fs.tempFileName("C:\\Tmp", "ab", 0x1ABCD, fixed), 0x1ABCDu);
  EXPECT_EQ(fixed, "C:\\Tmp\\abABCD.TMP");
  EXPECT_FALSE(fs.exists(fixed));
  EXPECT_EQ(fs.tempFileName("C:\\Missing", "x", 0, fixed), 0u);
}

}  // namespace
}  // namespace vandrel::test
