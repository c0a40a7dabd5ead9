// Tests of the LZ library and the file version reader over an in-memory file system.
#include "platform/lz_library.h"

#include <gtest/gtest.h>

#include "platform/file_version_info.h"
#include "platform/formats/memory_file_system_fake.h"
#include "platform/formats/szdd.h"
#include "platform/formats/version_resource.h"
#include "tests/support/pe_builder.h"

namespace vandrel::platform {
namespace {

Bytes sampleData() {
  Bytes data;
  for (int i = 0; i < 20000; ++i) data.push_back(std::uint8_t("vandrel setup\r\n"[i % 15] + i / 997));
  return data;
}

class LzLibraryTest : public ::testing::Test {
 protected:
  // Opens src for reading and dst for creating, copies, closes both.
  long copyFile(const std::string& src, const std::string& dst) {
    int in = lz.openFile(src, false);
    int out = lz.openFile(dst, true);
    EXPECT_GE(in, 0);
    EXPECT_GE(out, 0);
    long result = lz.copy(in, out);
    lz.close(in);
    lz.close(out);
    return result;
  }

  fake::MemoryFileSystem fs;
  LzLibrary lz{fs};
};

TEST_F(LzLibraryTest, ExpandsCompressedFiles) {
  fs.files["C:\\PKG\\APP.EX_"] = szdd::compress(sampleData(), 'E');
  ASSERT_EQ(lz.start(), 1);
  EXPECT_EQ(copyFile("C:\\PKG\\APP.EX_", "C:\\APP\\APP.EXE"), long(sampleData().size()));
  EXPECT_EQ(fs.files["C:\\APP\\APP.EXE"], sampleData());
  lz.done();
}

TEST_F(LzLibraryTest, CopiesOtherFilesUnchanged) {
  struct Case {
    const char* name;
    Bytes data;
  };
  const Case cases[] = {
      {"empty", {}},
      {"shorter than a header", {'S', 'Z', 'D'}},
      {"plain data", sampleData()},
  };
  for (const Case& c : cases) {
    fs.files["C:\\IN"] = c.data;
    EXPECT_EQ(copyFile("C:\\IN", "C:\\OUT"), long(c.data.size())) << c.name;
    EXPECT_EQ(fs.files["C:\\OUT"], c.data) << c.name;
  }
}

TEST_F(LzLibraryTest, TruncatedSourceIsAReadErrorAndLeavesNoPartialFile) {
  Bytes packed = szdd::compress(sampleData());
  for (std::size_t keep : {std::size_t(9), std::size_t(14), packed.size() / 2, packed.size() - 1}) {
    fs.files["C:\\A.EX_"] = Bytes(packed.begin(), packed.begin() + std::ptrdiff_t(keep));
    EXPECT_EQ(copyFile("C:\\A.EX_", "C:\\A.EXE"), lzerror::Read) << keep;
    EXPECT_TRUE(fs.files["C:\\A.EXE"].empty()) << keep;
  }
}

TEST_F(LzLibraryTest, ErrorsForHandlesMethodsAndDevices) {
  EXPECT_EQ(lz.openFile("C:\\MISSING", false), lzerror::BadInHandle);
  fs.files["C:\\IN"] = sampleData();
  int in = lz.openFile("C:\\IN", false);
  int out = lz.openFile("C:\\OUT", true);
  EXPECT_EQ(lz.copy(out, in), lzerror::BadInHandle);  // directions swapped
  EXPECT_EQ(lz.copy(in, 999), lzerror::BadOutHandle);
  lz.close(in);
  EXPECT_EQ(lz.copy(in, out), lzerror::BadInHandle);  // closed

  Bytes other = szdd::compress(sampleData());
  other[8] = 'C';
  fs.files["C:\\C.EX_"] = other;
  EXPECT_EQ(copyFile("C:\\C.EX_", "C:\\C.EXE"), lzerror::UnknownAlg);

  fs.writeLimit = 1000;  // the disk fills up
  fs.files["C:\\BIG.EX_"] = szdd::compress(sampleData());
  EXPECT_EQ(copyFile("C:\\BIG.EX_", "C:\\BIG.EXE"), lzerror::Write);
  EXPECT_EQ(copyFile("C:\\IN", "C:\\COPY"), lzerror::Write);

  fs.writeLimit = SIZE_MAX;
  fs.failReads = true;
  EXPECT_EQ(copyFile("C:\\IN", "C:\\COPY"), lzerror::Read);
}

TEST(FileVersionInfoTest, ReadsTheBlockThroughTheFileSystem) {
  fake::MemoryFileSystem fs;
  fs.files["C:\\APP.EXE"] = test::buildPeWithVersion({3, 1, 0, 7}, {3, 1, 0, 0}, 0x0409, 0x04B0,
                                                     {{"FileVersion", "3.1.0.7"}}, true);
  fs.files["C:\\PLAIN.TXT"] = Bytes(1000, 'x');
  FileVersionInfo info(fs);
  std::uint32_t size = info.infoSize("C:\\APP.EXE");
  EXPECT_GT(size, 0u);
  Bytes block;
  ASSERT_TRUE(info.info("C:\\APP.EXE", block));
  EXPECT_EQ(block.size(), size);
  EXPECT_EQ(queryString(block, "\\StringFileInfo\\040904b0\\FileVersion"), "3.1.0.7");

  EXPECT_EQ(info.infoSize("C:\\PLAIN.TXT"), 0u);
  EXPECT_EQ(info.infoSize("C:\\MISSING.EXE"), 0u);
  EXPECT_FALSE(info.info("C:\\MISSING.EXE", block));
}

}  // namespace
}  // namespace vandrel::platform
