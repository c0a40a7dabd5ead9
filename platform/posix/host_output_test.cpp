// Tests of the host files a run names, on POSIX: FIFOs and other files that are not regular
// are refused at once, never waited on, as outputs and as inputs; files are told apart by
// identity.
#include "platform/host_output.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/bounded_read.h"
#include "tests/support/temp_dir.h"

namespace vandrel::platform {
namespace {

TEST(HostOutput, OnlyRegularFilesAreOpenedAndNoneIsWaitedOn) {
  test::TempDir dir;
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
  std::filesystem::create_directory(dir / "folder");
  struct Case {
    std::filesystem::path path;
    const char* reason;  // nullptr: opened
  };
  for (const Case& c : {Case{dir / "new.jsonl", nullptr}, Case{dir / "fifo", "is a FIFO, not a regular file"},
                        Case{dir / "folder", "is a folder, not a file"},
                        Case{"/dev/null", "is a device, not a regular file"}}) {
    std::string reason;
    std::FILE* file = openHostOutput(c.path, false, &reason);
    EXPECT_EQ(file != nullptr, c.reason == nullptr) << c.path;
    if (file) std::fclose(file);
    EXPECT_EQ(reason, c.reason ? c.reason : "") << c.path;
    if (c.reason) EXPECT_EQ(notARegularFile(c.path), std::optional<std::string>(c.reason)) << c.path;
  }
  EXPECT_EQ(notARegularFile(dir / "new.jsonl"), std::nullopt);
  EXPECT_EQ(notARegularFile(dir / "missing"), std::nullopt);
  // A FIFO with a reader waiting opens at once too, and is refused all the same.
  int reader = ::open((dir / "fifo").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  std::string reason;
  EXPECT_EQ(openHostOutput(dir / "fifo", true, &reason), nullptr);
  EXPECT_EQ(reason, "is a FIFO, not a regular file");
  ::close(reader);
}

// Read whole as an input (an answers file), a FIFO without a writer would keep the reader
// waiting for ever.
TEST(HostOutput, AFifoIsNotReadAsAnInput) {
  test::TempDir dir;
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
  std::string reason;
  EXPECT_EQ(readHostFileBounded(dir / "fifo", 10, &reason), std::nullopt);
  EXPECT_EQ(reason, "is a FIFO, not a regular file");
}

TEST(HostOutput, AppendsOrEmptiesFirst) {
  test::TempDir dir;
  test::writeFile(dir / "log", "old\n");
  std::FILE* file = openHostOutput(dir / "log", false, nullptr);
  ASSERT_NE(file, nullptr);
  std::fputs("new\n", file);
  std::fclose(file);
  EXPECT_EQ(test::readFile(dir / "log"), "old\nnew\n");
  file = openHostOutput(dir / "log", true, nullptr);
  ASSERT_NE(file, nullptr);
  std::fputs("only\n", file);
  std::fclose(file);
  EXPECT_EQ(test::readFile(dir / "log"), "only\n");
}

TEST(HostOutput, SameFileByIdentityOrNormalisedPath) {
  test::TempDir dir;
  test::writeFile(dir / "a.ini", "");
  std::filesystem::create_symlink(dir / "a.ini", dir / "link.ini");
  std::filesystem::create_hard_link(dir / "a.ini", dir / "hard.ini");
  std::filesystem::create_directory(dir / "sub");
  EXPECT_TRUE(sameHostFile(dir / "a.ini", dir / "link.ini"));
  EXPECT_TRUE(sameHostFile(dir / "a.ini", dir / "hard.ini"));
  EXPECT_TRUE(sameHostFile(dir / "a.ini", dir / "sub/../a.ini"));
  EXPECT_TRUE(sameHostFile(dir / "new.jsonl", dir / "sub/../new.jsonl"));
  EXPECT_FALSE(sameHostFile(dir / "a.ini", dir / "new.jsonl"));
  EXPECT_FALSE(sameHostFile(dir / "one.jsonl", dir / "two.jsonl"));
}

}  // namespace
}  // namespace vandrel::platform
