// Device-independent bitmaps read from .bmp files: the header, the colour table and palette,
// the pixel bits, and the rows decoded to colours for the canvases.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "paint/canvas.h"

namespace vandrel::paint {

// Results of the bitmap operations: 0 or one of these codes.
namespace dib_error {
constexpr int CannotOpen = 1;     // the file cannot be opened
constexpr int NoPath = 2;         // no path given
constexpr int Short = 4;          // the file is shorter than its headers or its bits
constexpr int Compressed = 8;     // compressed, or a pixel format without a colour table
                                  // of at most 256 colours and other than 24 bits
constexpr int OutOfMemory = 32;   // the bits cannot be allocated, or the image is larger
                                  // than kMaxBitmapBytes or kMaxBitmapPixels
constexpr int NotLoaded = 64;     // drawing or measuring an image that is not loaded
constexpr int WrongSize = 96;     // the file header's size is not the file's size
}  // namespace dib_error

// The largest bitmap loaded: a file of 64 MiB, 64 million pixels (8192 x 8192). A background
// is the size of a screen; a larger file is refused before its bits are read, so that a damaged
// or hostile one cannot take the memory or the time of a paint.
constexpr std::uint64_t kMaxBitmapBytes = std::uint64_t(64) << 20;
constexpr std::uint64_t kMaxBitmapPixels = std::uint64_t(8192) * 8192;

// The 40-byte information header, as read (sizeImage filled in when the file left it 0).
struct DibInfo {
  std::uint32_t size = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative: rows stored top-down
  std::uint16_t planes = 0;
  std::uint16_t bitCount = 0;
  std::uint32_t compression = 0;
  std::uint32_t sizeImage = 0;
  std::int32_t xPelsPerMeter = 0;
  std::int32_t yPelsPerMeter = 0;
  std::uint32_t clrUsed = 0;
  std::uint32_t clrImportant = 0;
};

struct PaletteEntry {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const PaletteEntry&) const = default;
};

class DibImage {
 public:
  // Reads a .bmp file through the machine's files: 0, or CannotOpen, NoPath, Short,
  // Compressed, OutOfMemory or WrongSize. A failed read leaves the image not loaded.
  int load(platform::FileSystem& files, const std::string& path);
  // The same from an open file (its size is the file's), and from bytes in memory.
  int read(platform::File& file);
  int read(const std::uint8_t* data, std::size_t size);

  bool loaded() const { return loaded_; }
  // The header's width and the number of rows; 0 when not loaded.
  int width() const { return loaded_ ? info_.width : 0; }
  int height() const;
  const DibInfo& info() const { return info_; }
  // One entry per colour of the colour table; empty for 24-bit images.
  const std::vector<PaletteEntry>& palette() const { return palette_; }
  const std::vector<std::uint8_t>& bits() const { return bits_; }

  // Row y (0 the top row) as colours, width() of them. Indices beyond the colour table
  // give black.
  std::vector<Colour> row(int y) const;
  Colour pixel(int x, int y) const;

  // Drawing on a canvas: 0, or NotLoaded (nothing drawn).
  int draw(Canvas& canvas, Point at, const Rect& source) const;
  int draw(Canvas& canvas, Point at) const;
  int stretch(Canvas& canvas, const Rect& target) const;

 private:
  std::size_t stride() const;
  std::size_t rowOffset(int y) const;

  DibInfo info_;
  std::vector<PaletteEntry> palette_;
  std::vector<std::uint8_t> bits_;
  bool loaded_ = false;
};

}  // namespace vandrel::paint
