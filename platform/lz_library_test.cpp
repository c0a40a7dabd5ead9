// Tests of the LZ library and the file version reader over an in-memory file system.
#include "platform/lz_library.h"

#include <gtest/gtest.h>

#include "platform/file_version_info.h"
#include "platform/formats/szdd.h"
#include "platform/formats/version_resource.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/pe_builder.h"

namespace vandrel::platform {
namespace {

std::string sampleText() {
  std::string data;
  for (int i = 0; i < 20000; ++i) data.push_back(char("vandrel setup\r\n"[i % 15] + i / 997));
  return data;
}

std::string asText(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::string compressed(const std::string& text) {
  return asText(szdd::compress(Bytes(text.begin(), text.end()), 'E'));
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

  test::MemoryFileSystem fs;
  LzLibrary lz{fs};
};

TEST_F(LzLibraryTest, ExpandsCompressedFiles) {
  fs.writeFile("C:\\PKG\\APP.EX_", compressed(sampleText()));
  fs.makeDirectories("C:\\APP");
  ASSERT_EQ(lz.start(), 1);
  EXPECT_EQ(copyFile("C:\\PKG\\APP.EX_", "C:\\APP\\APP.EXE"), long(sampleText().size()));
  EXPECT_EQ(fs.readFile("C:\\APP\\APP.EXE"), sampleText());
  lz.done();
}

TEST_F(LzLibraryTest, CopiesOtherFilesUnchanged) {
  struct Case {
    const char* name;
    std::string data;
  };
  const Case cases[] = {
      {"empty", ""},
      {"shorter than a header", "SZD"},
      {"plain data", sampleText()},
  };
  for (const Case& c : cases) {
    fs.writeFile("C:\\IN", c.data);
    EXPECT_EQ(copyFile("C:\\IN", "C:\\OUT"), long(c.data.size())) << c.name;
    EXPECT_EQ(fs.readFile("C:\\OUT"), c.data) << c.name;
  }
}

TEST_F(LzLibraryTest, TruncatedSourceIsAReadErrorAndLeavesNoPartialFile) {
  std::string packed = compressed(sampleText());
  for (std::size_t keep : {std::size_t(9), std::size_t(14), packed.size() / 2, packed.size() - 1}) {
    fs.writeFile("C:\\A.EX_", packed.substr(0, keep));
    EXPECT_EQ(copyFile("C:\\A.EX_", "C:\\A.EXE"), lzerror::Read) << keep;
    EXPECT_EQ(fs.readFile("C:\\A.EXE"), "") << keep;
  }
}

TEST_F(LzLibraryTest, ErrorsForHandlesMethodsAndFullDisks) {
  EXPECT_EQ(lz.openFile("C:\\MISSING", false), lzerror::BadInHandle);
  EXPECT_EQ(lz.openFile("C:\\NO\\SUCH\\FOLDER\\OUT", true), lzerror::BadOutHandle);
  fs.writeFile("C:\\IN", sampleText());
  int in = lz.openFile("C:\\IN", false);
  int out = lz.openFile("C:\\OUT", true);
  EXPECT_EQ(lz.copy(out, in), lzerror::BadInHandle);  // directions swapped
  EXPECT_EQ(lz.copy(in, 999), lzerror::BadOutHandle);
  lz.close(in);
  EXPECT_EQ(lz.copy(in, out), lzerror::BadInHandle);  // closed
  lz.close(out);

  std::string other = compressed(sampleText());
  other[8] = 'C';
  fs.writeFile("C:\\C.EX_", other);
  EXPECT_EQ(copyFile("C:\\C.EX_", "C:\\C.EXE"), lzerror::UnknownAlg);

  fs.writeFile("C:\\BIG.EX_", compressed(sampleText()));
  fs.failWritesAfter(1000);  // the disk fills up
  EXPECT_EQ(copyFile("C:\\BIG.EX_", "C:\\BIG.EXE"), lzerror::Write);
  EXPECT_EQ(copyFile("C:\\IN", "C:\\COPY"), lzerror::Write);
}

TEST(FileVersionInfoTest, ReadsTheBlockThroughTheFileSystem) {
  test::MemoryFileSystem fs;
  fs.writeFile("C:\\APP.EXE", asText(test::buildPeWithVersion(
                                  {3, 1, 0, 7}, {3, 1, 0, 0}, 0x0409, 0x04B0,
                                  {{"FileVersion", "3.1.0.7"}}, true)));
  fs.writeFile("C:\\PLAIN.TXT", std::string(1000, 'x'));
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
