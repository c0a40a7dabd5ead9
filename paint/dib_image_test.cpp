// Reading .bmp files: every refusal code, the pixel formats shown, and the programs' own
// pictures.
#include "paint/dib_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "paint/bitmap_resources.h"
#include "tests/support/bmp_file.h"
#include "tests/support/memory_file_system.h"

namespace vandrel::paint {
namespace {

using test::bmp_field::BitCount;
using test::bmp_field::BitsOffset;
using test::bmp_field::ClrUsed;
using test::bmp_field::Compression;
using test::bmp_field::FileSize;
using test::bmp_field::Height;
using test::bmp_field::SizeImage;
using test::bmp_field::Width;

std::string picture24(int width = 5, int height = 3) {
  test::BmpSpec spec;
  spec.width = width;
  spec.height = height;
  spec.pixel = [](int x, int y) { return rgb(10 * x, 20 * y, 7); };
  return test::makeBmp(spec);
}

std::string picture8() {
  test::BmpSpec spec;
  spec.width = 3;
  spec.height = 2;
  spec.bitCount = 8;
  for (int i = 0; i < 256; ++i) spec.palette.push_back(rgb(i, 255 - i, 1));
  spec.pixel = [](int x, int y) { return std::uint32_t(x + 3 * y); };
  return test::makeBmp(spec);
}

// Keeps the file header's size true after a change of length.
std::string resized(std::string bytes) {
  test::putU32(bytes, FileSize, std::uint32_t(bytes.size()));
  return bytes;
}

struct LoadCase {
  const char* name;
  std::function<std::string()> file;  // the file's bytes; empty function: no file
  const char* path;
  int code;
};

TEST(DibImage, RefusalCodes) {
  const LoadCase cases[] = {
      {"no path", nullptr, "", dib_error::NoPath},
      {"missing file", nullptr, "C:\\none.bmp", dib_error::CannotOpen},
      {"empty file", [] { return std::string(); }, "C:\\p.bmp", dib_error::Short},
      {"information header cut", [] { return picture24().substr(0, 40); }, "C:\\p.bmp",
       dib_error::Short},
      {"run-length compressed", [] {
         std::string b = picture8();
         test::putU32(b, Compression, 1);
         return b;
       }, "C:\\p.bmp", dib_error::Compressed},
      {"size field one too large", [] {
         std::string b = picture24();
         test::putU32(b, FileSize, std::uint32_t(b.size() + 1));
         return b;
       }, "C:\\p.bmp", dib_error::WrongSize},
      {"last row cut off", [] {
         std::string b = picture24();
         return resized(b.substr(0, b.size() - 4));
       }, "C:\\p.bmp", dib_error::Short},
      {"colour table cut", [] { return resized(picture8().substr(0, 54 + 100)); }, "C:\\p.bmp",
       dib_error::Short},
      {"image size beyond the file", [] {
         std::string b = picture24();
         test::putU32(b, SizeImage, 0x7FFFFFF0);
         return b;
       }, "C:\\p.bmp", dib_error::Short},
      {"bits offset beyond the file", [] {
         std::string b = picture24();
         test::putU32(b, BitsOffset, 0xFFFFFFF0);
         return b;
       }, "C:\\p.bmp", dib_error::Short},
      {"rows larger than the bits", [] {
         std::string b = picture24();
         test::putU32(b, Height, 100000);
         return b;
       }, "C:\\p.bmp", dib_error::Short},
      {"no width", [] {
         std::string b = picture24();
         test::putU32(b, Width, 0);
         return b;
       }, "C:\\p.bmp", dib_error::Short},
      {"16 bits", [] {
         std::string b = picture24();
         test::putU16(b, BitCount, 16);
         return b;
       }, "C:\\p.bmp", dib_error::Compressed},
      {"32 bits", [] {
         std::string b = picture24();
         test::putU16(b, BitCount, 32);
         return b;
       }, "C:\\p.bmp", dib_error::Compressed},
      {"colour table over 256 entries", [] {
         std::string b = picture8();
         test::putU32(b, ClrUsed, 257);
         return b;
       }, "C:\\p.bmp", dib_error::Compressed},
      {"more pixels than the limit", [] {
         test::BmpSpec spec;  // one row of 64 Ki pixels at 1 bit, then 1024 rows more
         spec.width = 65536;
         spec.bitCount = 1;
         spec.palette = {0, 0xFFFFFF};
         std::string b = test::makeBmp(spec);
         b.append(std::size_t(1024) * 65536 / 8, '\0');
         test::putU32(b, Height, 1025);
         test::putU32(b, SizeImage, 0);
         return resized(b);
       }, "C:\\p.bmp", dib_error::OutOfMemory},
      {"file larger than the limit", [] {
         std::string b = picture24();
         b.resize(std::size_t(kMaxBitmapBytes) + 1);
         return resized(b);
       }, "C:\\p.bmp", dib_error::OutOfMemory},
      {"24 bits", [] { return picture24(); }, "C:\\p.bmp", 0},
      {"8 bits", [] { return picture8(); }, "C:\\p.bmp", 0},
  };
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::MemoryFileSystem files;
    if (c.file) files.writeFile("C:\\p.bmp", c.file());
    DibImage image;
    EXPECT_EQ(image.load(files, c.path), c.code);
    EXPECT_EQ(image.loaded(), c.code == 0);
    if (c.code != 0) {
      EXPECT_EQ(image.width(), 0);
      EXPECT_EQ(image.height(), 0);
    }
  }
}

TEST(DibImage, TwentyFourBitsHaveNoPalette) {
  std::string bytes = picture24(5, 3);
  DibImage image;
  ASSERT_EQ(image.read(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
  EXPECT_EQ(image.width(), 5);
  EXPECT_EQ(image.height(), 3);
  EXPECT_TRUE(image.palette().empty());
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(image.pixel(x, y), rgb(10 * x, 20 * y, 7));
  }
}

struct FormatCase {
  int bitCount;
  int paletteSize;
  bool topDown;
};

// Indexed formats up to 256 colours, stored bottom-up or top-down, decode to the palette's
// colours; an index beyond a short colour table gives black.
TEST(DibImage, IndexedFormats) {
  const FormatCase cases[] = {{1, 2, false}, {4, 16, false}, {4, 5, true}, {8, 256, false},
                              {8, 7, true}};
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bitCount << " bits, " << c.paletteSize << " colours");
    test::BmpSpec spec;
    spec.width = 13;
    spec.height = 4;
    spec.bitCount = c.bitCount;
    spec.topDown = c.topDown;
    for (int i = 0; i < c.paletteSize; ++i) spec.palette.push_back(rgb(i, 2 * i, 3 * i + 1));
    const std::uint32_t maxIndex = (1u << c.bitCount) - 1;
    spec.pixel = [&](int x, int y) { return std::uint32_t(x * 3 + y) & maxIndex; };
    std::string bytes = test::makeBmp(spec);
    DibImage image;
    ASSERT_EQ(image.read(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
    EXPECT_EQ(int(image.palette().size()), c.paletteSize);
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 13; ++x) {
        const int index = int(spec.pixel(x, y));
        const Colour expected = index < c.paletteSize ? rgb(index, 2 * index, 3 * index + 1) : 0;
        ASSERT_EQ(image.pixel(x, y), expected) << x << "," << y;
      }
    }
  }
}

TEST(DibImage, ColourCountZeroMeansEveryIndex) {
  std::string bytes = picture8();
  test::putU32(bytes, ClrUsed, 0);
  DibImage image;
  ASSERT_EQ(image.read(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
  EXPECT_EQ(image.palette().size(), 256u);
  EXPECT_EQ(image.palette()[4], (PaletteEntry{4, 251, 1}));
}

TEST(DibImage, ImageSizeFieldFilledWhenZero) {
  std::string bytes = picture24(5, 3);  // rows of 16 bytes
  test::putU32(bytes, SizeImage, 0);
  DibImage image;
  ASSERT_EQ(image.read(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
  EXPECT_EQ(image.info().sizeImage, 48u);
  EXPECT_EQ(image.bits().size(), 48u);
}

TEST(DibImage, NotLoadedDrawsNothing) {
  DibImage image;
  struct NoCanvas : Canvas {
    Size clientSize() const override { return {}; }
    Rect clipBox() const override { return {}; }
    void fillRect(const Rect&, Colour) override { ADD_FAILURE(); }
    void drawImage(const DibImage&, Point, const Rect&) override { ADD_FAILURE(); }
    void stretchImage(const DibImage&, const Rect&) override { ADD_FAILURE(); }
    void drawText(Point, const std::string&, const Font&, Colour, const Rect*) override {}
    Size textSize(const std::string&, const Font&) override { return {}; }
  } canvas;
  EXPECT_EQ(image.draw(canvas, {0, 0}), dib_error::NotLoaded);
  EXPECT_EQ(image.stretch(canvas, {0, 0, 10, 10}), dib_error::NotLoaded);
}

TEST(BitmapResources, OwnPictures) {
  DibImage picture = LoadBitmapResource();
  ASSERT_TRUE(picture.loaded());
  EXPECT_EQ(picture.width(), 120);
  EXPECT_EQ(picture.height(), 260);
  EXPECT_EQ(picture.info().bitCount, 8);
  EXPECT_EQ(picture.palette().size(), 256u);

  std::span<const std::uint8_t> side = bitmapResource(bitmap_id::SidePicture);
  DibImage sidePicture;
  ASSERT_EQ(sidePicture.read(side.data(), side.size()), 0);
  EXPECT_EQ(sidePicture.width(), 120);
  EXPECT_EQ(sidePicture.height(), 260);
  EXPECT_EQ(sidePicture.palette().size(), 16u);

  EXPECT_TRUE(bitmapResource(131).empty());
}

// The icons are 32 x 32 with a transparent corner (colour 0) and something drawn inside.
TEST(BitmapResources, OwnIcons) {
  for (int id : {icon_id::Setup, icon_id::RemovalQuestion}) {
    std::span<const std::uint8_t> bytes = iconResource(id);
    DibImage icon;
    ASSERT_EQ(icon.read(bytes.data(), bytes.size()), 0) << id;
    EXPECT_EQ(icon.width(), 32) << id;
    EXPECT_EQ(icon.height(), 32) << id;
    const std::vector<std::uint8_t>& bits = icon.bits();
    ASSERT_EQ(bits.size(), 32u * 32u) << id;
    EXPECT_EQ(bits.front(), 0) << id;
    EXPECT_GT(std::count_if(bits.begin(), bits.end(), [](std::uint8_t c) { return c != 0; }), 300) << id;
  }
  EXPECT_TRUE(iconResource(bitmap_id::Picture).empty()) << "icons and bitmaps are numbered apart";
}

}  // namespace
}  // namespace vandrel::paint
