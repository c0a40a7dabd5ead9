// Reading .bmp files into device-independent bitmaps, and decoding their rows.
#include "paint/dib_image.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/formats/byte_io.h"

namespace vandrel::paint {
namespace {

constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kInfoHeader = 40;
constexpr std::size_t kMaxColours = 256;

// Reads count bytes, going on after short reads; false when the file ends first.
bool readFull(platform::File& file, void* buffer, std::size_t count) {
  auto* out = static_cast<std::uint8_t*>(buffer);
  while (count > 0) {
    std::int64_t got = file.read(out, count);
    if (got <= 0) return false;
    out += got;
    count -= std::size_t(got);
  }
  return true;
}

// A read-only file over bytes in memory, for pictures kept inside the program.
class MemoryFile : public platform::File {
 public:
  MemoryFile(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::int64_t read(void* buffer, std::size_t count) override {
    std::size_t n = std::min(count, size_ - position_);
    if (n > 0) std::memcpy(buffer, data_ + position_, n);
    position_ += n;
    return std::int64_t(n);
  }
  std::int64_t write(const void*, std::size_t) override { return -1; }
  bool seek(std::uint64_t offset) override {
    if (offset > size_) return false;
    position_ = std::size_t(offset);
    return true;
  }
  std::uint64_t size() override { return size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

DibInfo parseInfo(const platform::formats::ByteView view) {
  auto s32 = [&](std::size_t at) { return std::int32_t(*view.u32(at)); };
  DibInfo info;
  info.size = *view.u32(0);
  info.width = s32(4);
  info.height = s32(8);
  info.planes = *view.u16(12);
  info.bitCount = *view.u16(14);
  info.compression = *view.u32(16);
  info.sizeImage = *view.u32(20);
  info.xPelsPerMeter = s32(24);
  info.yPelsPerMeter = s32(28);
  info.clrUsed = *view.u32(32);
  info.clrImportant = *view.u32(36);
  return info;
}

bool indexedFormat(std::uint16_t bitCount) {
  return bitCount == 1 || bitCount == 4 || bitCount == 8;
}

}  // namespace

int DibImage::load(platform::FileSystem& files, const std::string& path) {
  *this = DibImage();
  if (path.empty()) return dib_error::NoPath;
  std::unique_ptr<platform::File> file = files.open(path, platform::OpenMode::Read);
  if (!file) return dib_error::CannotOpen;
  return read(*file);
}

int DibImage::read(const std::uint8_t* data, std::size_t size) {
  MemoryFile file(data, size);
  return read(file);
}

int DibImage::read(platform::File& file) {
  *this = DibImage();
  const std::uint64_t fileSize = file.size();
  std::uint8_t headers[kFileHeader + kInfoHeader];
  if (!file.seek(0) || !readFull(file, headers, sizeof headers)) return dib_error::Short;
  platform::formats::ByteView view(headers, sizeof headers);
  const std::uint32_t declaredSize = *view.u32(2);
  const std::uint32_t bitsOffset = *view.u32(10);
  DibInfo info = parseInfo(platform::formats::ByteView(headers + kFileHeader, kInfoHeader));

  if (info.compression != 0) return dib_error::Compressed;
  if (declaredSize != fileSize) return dib_error::WrongSize;
  if (fileSize > kMaxBitmapBytes) return dib_error::OutOfMemory;

  // Only what a canvas can show: a colour table of at most 256 entries for 1, 4 and 8 bits,
  // or 24-bit pixels without one. A 16- or 32-bit image would ask for a table of 2^16 or
  // 2^32 entries.
  std::uint64_t colours = info.clrUsed;
  if (info.bitCount == 24) {
    colours = 0;
  } else {
    if (!indexedFormat(info.bitCount)) return dib_error::Compressed;
    if (colours == 0) colours = std::uint64_t(1) << info.bitCount;
    if (colours > kMaxColours) return dib_error::Compressed;
  }
  std::vector<std::uint8_t> table(std::size_t(colours) * 4);
  if (!readFull(file, table.data(), table.size())) return dib_error::Short;

  if (bitsOffset > fileSize || !file.seek(bitsOffset)) return dib_error::Short;
  std::uint64_t bitsSize = fileSize - bitsOffset;
  if (info.sizeImage == 0) {
    info.sizeImage = std::uint32_t(bitsSize);
  } else if (info.sizeImage != bitsSize) {
    bitsSize = info.sizeImage;
  }
  // The bits must hold every row the header describes, or drawing would read past them.
  const std::uint64_t rows = info.height < 0 ? -std::int64_t(info.height) : info.height;
  const std::uint64_t rowBytes = ((std::uint64_t(std::uint32_t(info.width)) * info.bitCount + 31) / 32) * 4;
  if (info.width <= 0 || rows == 0 || bitsSize < rowBytes * rows) return dib_error::Short;
  if (bitsSize > fileSize - bitsOffset) return dib_error::Short;
  if (std::uint64_t(std::uint32_t(info.width)) * rows > kMaxBitmapPixels) return dib_error::OutOfMemory;

  try {
    bits_.resize(std::size_t(bitsSize));
  } catch (const std::bad_alloc&) {
    bits_.clear();
    return dib_error::OutOfMemory;
  }
  if (!readFull(file, bits_.data(), bits_.size())) {
    bits_.clear();
    return dib_error::Short;
  }

  for (std::size_t i = 0; i < colours; ++i) {
    // Colour table entries are blue, green, red and a reserved byte.
    palette_.push_back({table[i * 4 + 2], table[i * 4 + 1], table[i * 4]});
  }
  info_ = info;
  loaded_ = true;
  return 0;
}

int DibImage::height() const {
  if (!loaded_) return 0;
  return info_.height < 0 ? -info_.height : info_.height;
}

std::size_t DibImage::stride() const {
  return ((std::size_t(info_.width) * info_.bitCount + 31) / 32) * 4;
}

std::size_t DibImage::rowOffset(int y) const {
  // Bottom-up rows unless the header's height is negative.
  std::size_t stored = info_.height < 0 ? std::size_t(y) : std::size_t(height() - 1 - y);
  return stored * stride();
}

std::vector<Colour> DibImage::row(int y) const {
  std::vector<Colour> out;
  if (!loaded_ || y < 0 || y >= height()) return out;
  out.resize(std::size_t(width()));
  const std::uint8_t* bytes = bits_.data() + rowOffset(y);
  if (info_.bitCount == 24) {
    for (std::size_t x = 0; x < out.size(); ++x) {
      out[x] = rgb(bytes[x * 3 + 2], bytes[x * 3 + 1], bytes[x * 3]);
    }
    return out;
  }
  const unsigned bitsPerPixel = info_.bitCount;
  const unsigned mask = (1u << bitsPerPixel) - 1;
  for (std::size_t x = 0; x < out.size(); ++x) {
    std::size_t bit = x * bitsPerPixel;
    // The leftmost pixel sits in the highest bits of its byte.
    unsigned index = (bytes[bit / 8] >> (8 - bitsPerPixel - bit % 8)) & mask;
    if (index < palette_.size()) {
      const PaletteEntry& e = palette_[index];
      out[x] = rgb(e.red, e.green, e.blue);
    } else {
      out[x] = 0;
    }
  }
  return out;
}

Colour DibImage::pixel(int x, int y) const {
  if (x < 0 || x >= width()) return 0;
  std::vector<Colour> colours = row(y);
  return colours.empty() ? 0 : colours[std::size_t(x)];
}

int DibImage::draw(Canvas& canvas, Point at, const Rect& source) const {
  if (!loaded_) return dib_error::NotLoaded;
  canvas.drawImage(*this, at, source);
  return 0;
}

int DibImage::draw(Canvas& canvas, Point at) const {
  return draw(canvas, at, Rect{0, 0, width(), height()});
}

int DibImage::stretch(Canvas& canvas, const Rect& target) const {
  if (!loaded_) return dib_error::NotLoaded;
  canvas.stretchImage(*this, target);
  return 0;
}

}  // namespace vandrel::paint
