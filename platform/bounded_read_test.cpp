// Tests of whole-file reads with a size limit: files at and past the limit, folders, missing
// files and a device without an end.
#include "platform/bounded_read.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/temp_dir.h"

namespace vandrel::platform {
namespace {

TEST(BoundedRead, HostFilesWithinAndPastTheLimit) {
  test::TempDir dir;
  test::writeFile(dir / "ten", std::string(10, 'x'));
  std::filesystem::create_directory(dir / "folder");
  struct Case {
    std::filesystem::path path;
    std::uint64_t limit;
    std::optional<std::string> text;
    std::string reason;
  };
  for (const Case& c : {
           Case{dir / "ten", 10, std::string(10, 'x'), ""},
           Case{dir / "ten", 9, std::nullopt, "is larger than 9 bytes"},
           Case{dir / "folder", 10, std::nullopt, "is a folder, not a file"},
           Case{dir / "none", 10, std::nullopt, "does not exist"},
           Case{"/dev/zero", 1 << 20, std::nullopt, "is larger than 1 MiB"},
           Case{"/dev/null", 10, std::string(), ""},
       }) {
    std::string reason;
    EXPECT_EQ(readHostFileBounded(c.path, c.limit, &reason), c.text) << c.path;
    EXPECT_EQ(reason, c.reason) << c.path;
  }
}

// A file whose reads never end, as a device inside a machine would be.
class EndlessFile : public File {
 public:
  std::int64_t read(void* buffer, std::size_t count) override {
    std::memset(buffer, 'z', count);
    return std::int64_t(count);
  }
  std::int64_t write(const void*, std::size_t) override { return -1; }
  bool seek(std::uint64_t) override { return false; }
  std::uint64_t size() override { return 0; }
};

TEST(BoundedRead, AnOpenFileStopsAtTheLimit) {
  EndlessFile endless;
  std::string reason;
  EXPECT_EQ(readBounded(endless, kTextFileLimit, &reason), std::nullopt);
  EXPECT_EQ(reason, "is larger than 8 MiB");
}

}  // namespace
}  // namespace vandrel::platform
