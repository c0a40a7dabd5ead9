// The staged disk folders over an in-memory machine: where they are made, how they are put in
// place over an existing folder, and that nothing stays behind when they are given up.
#include "builder/generate/staged_folders.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/memory_file_system.h"

namespace vandrel::builder {
namespace {

struct Staging : ::testing::Test {
  test::MemoryFileSystem files;
  std::vector<std::string> names(const std::string& folder) {
    std::vector<std::string> out;
    for (const platform::FindData& f : files.find(folder + "\\*"))
      if (f.name != "." && f.name != "..") out.push_back(f.name);
    std::sort(out.begin(), out.end());
    return out;
  }
};

TEST_F(Staging, BesideTheTargetOncePerTargetAndRenamedIntoPlace) {
  StagedFolders staged(files);
  std::optional<std::string> one = staged.stage("C:\\Out\\Pkg\\");
  ASSERT_TRUE(one);
  EXPECT_EQ(one->rfind("C:\\Out\\Pkg.partial-", 0), 0u) << *one;
  EXPECT_EQ(one->back(), '\\');
  EXPECT_EQ(staged.stage("c:\\out\\pkg"), one) << "the same folder, however it is written";
  files.writeFile(*one + "a.txt", "a");
  EXPECT_FALSE(files.exists("C:\\Out\\Pkg"));
  ASSERT_TRUE(staged.commit()) << staged.problem();
  EXPECT_EQ(*files.readFile("C:\\Out\\Pkg\\a.txt"), "a");
  EXPECT_EQ(names("C:\\Out"), std::vector<std::string>{"Pkg"});
}

TEST_F(Staging, AnExistingFolderKeepsItsOtherFilesAndGetsTheNewOnes) {
  files.writeFile("C:\\Pkg\\Script.vrx", "old");
  files.writeFile("C:\\Pkg\\notes.txt", "mine");
  files.writeFile("C:\\Pkg\\Sub\\x.txt", "x");
  StagedFolders staged(files);
  std::string into = *staged.stage("C:\\Pkg");
  files.writeFile(into + "Script.vrx", "new");
  files.writeFile(into + "Sub\\y.txt", "y");
  ASSERT_TRUE(staged.commit()) << staged.problem();
  EXPECT_EQ(*files.readFile("C:\\Pkg\\Script.vrx"), "new");
  EXPECT_EQ(*files.readFile("C:\\Pkg\\notes.txt"), "mine");
  EXPECT_EQ(names("C:\\Pkg\\Sub"), (std::vector<std::string>{"x.txt", "y.txt"}));
  EXPECT_EQ(names("C:"), (std::vector<std::string>{"Pkg"}));
}

TEST_F(Staging, DiscardRemovesTheStagedFilesAndTheParentsItMade) {
  files.writeFile("C:\\Keep\\k.txt", "k");
  {
    StagedFolders staged(files);
    files.writeFile(*staged.stage("C:\\New\\Deep\\Disk1") + "a.txt", "a");
    files.writeFile(*staged.stage("C:\\Keep") + "b.txt", "b");
    // Destroyed without a commit: given up.
  }
  EXPECT_EQ(names("C:"), (std::vector<std::string>{"Keep"}));
  EXPECT_EQ(names("C:\\Keep"), (std::vector<std::string>{"k.txt"}));
}

TEST_F(Staging, WhatStandsInTheWayIsNamed) {
  files.writeFile("C:\\Pkg", "a file");
  StagedFolders staged(files);
  EXPECT_FALSE(staged.stage("C:\\Pkg"));
  EXPECT_EQ(staged.problem(), "C:\\Pkg: a file of that name is in the way of the folder");

  files.writeFile("C:\\Out\\Setup.exe", "old");
  files.setAttributes("C:\\Out\\Setup.exe", platform::attr::ReadOnly);
  std::string into = *staged.stage("C:\\Out");
  files.writeFile(into + "Setup.exe", "new");
  EXPECT_FALSE(staged.commit());
  EXPECT_EQ(staged.problem(),
            "C:\\Out\\Setup.exe: the file there cannot be replaced (read-only or in use)");
  EXPECT_EQ(*files.readFile("C:\\Out\\Setup.exe"), "old");
  EXPECT_EQ(names("C:"), (std::vector<std::string>{"Out", "Pkg"})) << "nothing staged is left";
}

TEST_F(Staging, ADriveRootIsStagedInsideIt) {
  files.addDrive('A');
  files.writeFile("A:\\old.txt", "o");
  StagedFolders staged(files);
  std::string into = *staged.stage("A:\\");
  EXPECT_EQ(into.rfind("A:\\package.partial-", 0), 0u) << into;
  files.writeFile(into + "Script.vrx", "s");
  ASSERT_TRUE(staged.commit()) << staged.problem();
  EXPECT_EQ(names("A:"), (std::vector<std::string>{"Script.vrx", "old.txt"}));
}

// A folder whose parent takes no new folder (a mount point) is staged inside itself.
TEST(StagingInside, WhenNothingCanBeMadeBesideTheFolder) {
  struct ParentRefuses : test::MemoryFileSystem {
    bool createDirectory(const std::string& path) override {
      return path.rfind("C:\\Mount.", 0) != 0 && MemoryFileSystem::createDirectory(path);
    }
  } files;
  files.writeFile("C:\\Mount\\Setup.exe", "old");
  StagedFolders staged(files);
  std::string into = *staged.stage("C:\\Mount");
  EXPECT_EQ(into.rfind("C:\\Mount\\package.partial-", 0), 0u) << into;
  files.writeFile(into + "Setup.exe", "new");
  ASSERT_TRUE(staged.commit()) << staged.problem();
  EXPECT_EQ(*files.readFile("C:\\Mount\\Setup.exe"), "new");
  EXPECT_EQ(files.find("C:\\Mount\\*").size(), 3u) << "., .. and Setup.exe only";

  StagedFolders given(files);
  files.writeFile(*given.stage("C:\\Mount") + "a.txt", "a");
  given.discard();
  EXPECT_EQ(files.find("C:\\Mount\\*").size(), 3u) << "nothing left inside either";
}

}  // namespace
}  // namespace vandrel::builder
