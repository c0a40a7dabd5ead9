// Tests of the kept folder listings: matching without regard to case, reuse while the folder
// is unchanged, and following changes made by us and by others.
#include "platform/emulated/folder_names.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace vandrel::platform::emulated {
namespace {

using test::TempDir;
using test::writeFile;

// Folder times move in clock ticks: waiting past one makes a change visible in them.
void waitForNextTick() { std::this_thread::sleep_for(std::chrono::milliseconds(30)); }

TEST(FolderNamesTest, FindsTheSmallestSpellingWithoutRegardToCase) {
  TempDir temp;
  writeFile(temp / "ReadMe.TXT", "1");
  writeFile(temp / "readme.txt", "2");
  writeFile(temp / "Other.dll", "3");
  FolderNames names;
  struct Case {
    const char* asked;
    std::optional<std::string> found;
  } cases[] = {{"README.TXT", "ReadMe.TXT"}, {"readme.TXT", "ReadMe.TXT"}, {"OTHER.DLL", "Other.dll"},
               {"other.dl", std::nullopt},   {"missing", std::nullopt}};
  for (const Case& c : cases) EXPECT_EQ(names.find(temp.path(), c.asked), c.found) << c.asked;
  EXPECT_FALSE(names.find(temp / "Other.dll", "x"));  // not a folder
  EXPECT_FALSE(names.find(temp / "nowhere", "x"));
}

TEST(FolderNamesTest, ManyLookupsInOneFolderListItOnce) {
  TempDir temp;
  for (int i = 0; i < 500; ++i) writeFile(temp / ("File" + std::to_string(i) + ".dat"), "");
  FolderNames names;
  for (int i = 0; i < 500; ++i)
    ASSERT_EQ(names.find(temp.path(), "FILE" + std::to_string(i) + ".DAT"), "File" + std::to_string(i) + ".dat");
  EXPECT_FALSE(names.find(temp.path(), "file500.dat"));
  EXPECT_EQ(names.listings(), 1u);
}

TEST(FolderNamesTest, ChangesMadeByOthersAreSeen) {
  TempDir temp;
  writeFile(temp / "a.txt", "");
  FolderNames names;
  ASSERT_FALSE(names.find(temp.path(), "B.TXT"));
  waitForNextTick();
  writeFile(temp / "b.txt", "");
  EXPECT_EQ(names.find(temp.path(), "B.TXT"), "b.txt");
  waitForNextTick();
  fs::remove(temp / "a.txt");
  EXPECT_FALSE(names.find(temp.path(), "A.TXT"));
  EXPECT_EQ(names.listings(), 3u);
}

// Folders below a held folder are checked from it: changes others make there are seen as
// before, in the held folder itself (named with or without its final "/") and below it.
TEST(FolderNamesTest, ChangesBelowAHeldFolderAreSeen) {
  TempDir temp;
  fs::create_directories(temp / "drive" / "sub");
  int held = ::open((temp / "drive").c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(held, 0);
  FolderNames names;
  names.lookFrom((temp / "drive").native() + "/", held);
  const std::string top = (temp / "drive").native(), sub = top + "/sub/";
  ASSERT_FALSE(names.find(sub, "B.TXT"));
  ASSERT_FALSE(names.find(top, "C.TXT"));
  ASSERT_FALSE(names.find(top + "/", "C.TXT"));
  waitForNextTick();
  writeFile(temp / "drive" / "sub" / "b.txt", "");
  writeFile(temp / "drive" / "c.txt", "");
  EXPECT_EQ(names.find(sub, "B.TXT"), "b.txt");
  EXPECT_EQ(names.find(top, "C.TXT"), "c.txt");
  EXPECT_EQ(names.find(top + "/", "C.TXT"), "c.txt");
  fs::remove_all(temp / "drive" / "sub");
  writeFile(temp / "drive" / "sub", "a file now");
  EXPECT_FALSE(names.find(sub, "B.TXT"));
  ::close(held);
}

TEST(FolderNamesTest, OurOwnChangesKeepTheListing) {
  TempDir temp;
  writeFile(temp / "A.TXT", "");
  FolderNames names;
  ASSERT_EQ(names.find(temp.path(), "a.txt"), "A.TXT");
  // A folder named with a trailing separator is the same folder.
  writeFile(temp / "first.txt", "");
  names.added(temp.path() / "", "first.txt");
  ASSERT_EQ(names.find(temp.path(), "FIRST.TXT"), "first.txt");
  for (int i = 0; i < 50; ++i) {
    std::string name = "new" + std::to_string(i) + ".txt";
    writeFile(temp / name, "");
    names.added(temp.path(), name);
    ASSERT_EQ(names.find(temp.path(), "NEW" + std::to_string(i) + ".TXT"), name);
  }
  // A second spelling appears when the smaller one goes.
  writeFile(temp / "a.txt", "");
  names.added(temp.path(), "a.txt");
  EXPECT_EQ(names.find(temp.path(), "A.txt"), "A.TXT");
  fs::remove(temp / "A.TXT");
  names.removed(temp.path(), "A.TXT");
  EXPECT_EQ(names.find(temp.path(), "A.txt"), "a.txt");
  fs::remove(temp / "a.txt");
  names.removed(temp.path(), "a.txt");
  EXPECT_FALSE(names.find(temp.path(), "A.txt"));
  EXPECT_EQ(names.listings(), 1u);
}

TEST(FolderNamesTest, DroppingATreeLeavesItsNeighbours) {
  TempDir temp;
  for (const char* folder : {"app", "app/sub", "apple"}) {
    fs::create_directories(temp / folder);
    writeFile(temp / folder / "X.TXT", "");
  }
  FolderNames names;
  for (const char* folder : {"app", "app/sub", "apple"}) ASSERT_TRUE(names.find(temp / folder, "x.txt"));
  ASSERT_EQ(names.listings(), 3u);
  names.dropTree(temp / "app");
  for (const char* folder : {"app", "app/sub", "apple"}) ASSERT_TRUE(names.find(temp / folder, "x.txt"));
  EXPECT_EQ(names.listings(), 5u);  // app and app/sub listed again, apple kept
}

}  // namespace
}  // namespace vandrel::platform::emulated
