// Tests of the drive jail on its own: resolving, the one-call opens and creates, links.
#include "platform/emulated/drive_jail.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/openat2.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace vandrel::platform::emulated {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

// Whether this host answers openat2 (a sandbox's filter may refuse it): the one-call opens
// and creates then always leave the answer to the walk.
bool hostHasOpenat2() {
  open_how how{};
  how.flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
  how.resolve = RESOLVE_BENEATH;
  int fd = int(::syscall(SYS_openat2, AT_FDCWD, ".", &how, sizeof how));
  if (fd >= 0) ::close(fd);
  return fd >= 0;
}

class DriveJailTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(c("Sub/one/two"));
    writeFile(c("Sub/ReadMe.TXT"), "hello");
    writeFile(c("Sub/one/two/Deep.txt"), "deep");
    writeFile(temp_ / "outside.txt", "outside");
    fs::create_directory_symlink(temp_.path(), c("escape"));
    fs::create_directory_symlink(c("Sub"), c("alias"));
    jail_ = std::make_unique<DriveJail>(drives_, names_);
  }
  fs::path c(const std::string& name) const { return temp_ / "drive_c" / name; }
  std::optional<DriveJail::Resolved> resolve(const std::string& path) {
    std::optional<text::WinPath> win = text::resolveWindowsPath(path, text::WinPath{});
    return win ? jail_->resolve(*win) : std::nullopt;
  }
  text::WinPath win(const std::string& path) {
    return *text::resolveWindowsPath(path, text::WinPath{});
  }

  TempDir temp_;
  std::vector<DriveMapping> drives_{{'C', temp_ / "drive_c", false}};
  FolderNames names_;
  std::unique_ptr<DriveJail> jail_;
};

TEST_F(DriveJailTest, ResolvesNamesWithoutRegardToCase) {
  auto r = resolve("C:\\SUB\\readme.txt");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->host, c("Sub/ReadMe.TXT").string());
  EXPECT_TRUE(r->exists);
  EXPECT_FALSE(r->linked);
  ASSERT_TRUE(r->entry);
  EXPECT_EQ(r->entry->size, 5u);
  // Once a name is missing, the names below it are taken as given.
  auto missing = resolve("C:\\sub\\New\\File.txt");
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->host, c("Sub/New/File.txt").string());
  EXPECT_FALSE(missing->exists);
  EXPECT_FALSE(resolve("Q:\\x"));  // unmapped drive
}

TEST_F(DriveJailTest, DeepPathsResolveAsTheNameByNameWalkDoes) {
  for (const char* path : {"C:\\Sub\\one\\two\\Deep.txt", "C:\\Sub\\one\\two\\DEEP.TXT",
                           "C:\\sub\\ONE\\two\\deep.txt", "C:\\alias\\one\\two\\Deep.txt"}) {
    auto r = resolve(path);
    ASSERT_TRUE(r) << path;
    EXPECT_TRUE(r->exists) << path;
    EXPECT_EQ(readFile(r->host), "deep") << path;
  }
  EXPECT_FALSE(resolve("C:\\escape\\a\\b\\c\\x.txt"));
}

TEST_F(DriveJailTest, LinksAreFollowedOnlyInsideTheDrive) {
  EXPECT_FALSE(resolve("C:\\escape\\outside.txt"));
  EXPECT_FALSE(resolve("C:\\ESCAPE\\outside.txt"));
  auto r = resolve("C:\\alias\\ReadMe.TXT");
  ASSERT_TRUE(r);
  EXPECT_TRUE(r->linked);
  EXPECT_TRUE(jail_->insideDrive(r->host, drives_[0]));
  EXPECT_FALSE(jail_->insideDrive(c("escape/outside.txt"), drives_[0]));
}

TEST_F(DriveJailTest, OneCallOpensTakeOnlyExactPlainFilesInsideTheDrive) {
  if (!hostHasOpenat2()) GTEST_SKIP() << "no openat2 on this host";
  std::string host;
  std::optional<HostStat> st;
  int fd = jail_->openExact(win("C:\\Sub\\ReadMe.TXT"), &host, &st);
  ASSERT_GE(fd, 0);
  ::close(fd);
  EXPECT_EQ(host, c("Sub/ReadMe.TXT").string());
  ASSERT_TRUE(st);
  EXPECT_EQ(st->size, 5u);
  // Another spelling, a link on the way, a folder: left to the walk.
  EXPECT_EQ(jail_->openExact(win("C:\\Sub\\README.TXT"), &host, &st), -1);
  EXPECT_EQ(jail_->openExact(win("C:\\alias\\ReadMe.TXT"), &host, &st), -1);
  EXPECT_EQ(jail_->openExact(win("C:\\escape\\outside.txt"), &host, &st), -1);
  EXPECT_EQ(jail_->openExact(win("C:\\Sub"), &host, &st), -1);
}

TEST_F(DriveJailTest, OneCallCreatesMakeOnlyNamesNoSpellingHas) {
  if (!hostHasOpenat2()) GTEST_SKIP() << "no openat2 on this host";
  std::string host;
  int fd = jail_->createExact(win("C:\\Sub\\New.txt"), drives_[0], &host);
  ASSERT_GE(fd, 0);
  ::close(fd);
  EXPECT_EQ(host, c("Sub/New.txt").string());
  EXPECT_TRUE(fs::is_regular_file(c("Sub/New.txt")));
  EXPECT_EQ(jail_->createExact(win("C:\\Sub\\readme.txt"), drives_[0], &host), -1);
  EXPECT_EQ(jail_->createExact(win("C:\\escape\\new.txt"), drives_[0], &host), -1);
  EXPECT_FALSE(fs::exists(temp_ / "new.txt"));
}

TEST_F(DriveJailTest, RemovesFilesBelowTheDrive) {
  auto r = resolve("C:\\sub\\readme.txt");
  ASSERT_TRUE(r);
  EXPECT_TRUE(jail_->unlinkBelow(*r));
  EXPECT_FALSE(fs::exists(c("Sub/ReadMe.TXT")));
  EXPECT_EQ(readFile(temp_ / "outside.txt"), "outside");
}

}  // namespace
}  // namespace vandrel::platform::emulated
