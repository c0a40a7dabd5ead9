// Writing .bmp files for tests.
#include "tests/support/bmp_file.h"

namespace vandrel::test {
namespace {

void appendU32(std::string& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(char((value >> (8 * i)) & 0xFF));
}
void appendU16(std::string& out, std::uint16_t value) {
  out.push_back(char(value & 0xFF));
  out.push_back(char(value >> 8));
}

}  // namespace

void putU32(std::string& bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + std::size_t(i)] = char((value >> (8 * i)) & 0xFF);
}

void putU16(std::string& bytes, std::size_t offset, std::uint16_t value) {
  bytes[offset] = char(value & 0xFF);
  bytes[offset + 1] = char(value >> 8);
}

std::string makeBmp(const BmpSpec& spec) {
  const std::size_t stride = ((std::size_t(spec.width) * spec.bitCount + 31) / 32) * 4;
  std::string bits;
  for (int row = 0; row < spec.height; ++row) {
    const int y = spec.topDown ? row : spec.height - 1 - row;
    std::string line(stride, '\0');
    for (int x = 0; x < spec.width; ++x) {
      const std::uint32_t value = spec.pixel(x, y);
      if (spec.bitCount == 24) {
        line[std::size_t(x) * 3] = char((value >> 16) & 0xFF);  // blue, green, red
        line[std::size_t(x) * 3 + 1] = char((value >> 8) & 0xFF);
        line[std::size_t(x) * 3 + 2] = char(value & 0xFF);
      } else {
        const std::size_t bit = std::size_t(x) * spec.bitCount;
        const int shift = 8 - spec.bitCount - int(bit % 8);
        line[bit / 8] = char(std::uint8_t(line[bit / 8]) | ((value << shift) & 0xFF));
      }
    }
    bits += line;
  }
  std::string table;
  if (spec.bitCount != 24) {
    for (std::uint32_t colour : spec.palette) {
      table.push_back(char((colour >> 16) & 0xFF));
      table.push_back(char((colour >> 8) & 0xFF));
      table.push_back(char(colour & 0xFF));
      table.push_back('\0');
    }
  }
  const std::uint32_t offset = 14 + 40 + std::uint32_t(table.size());
  std::string out = "BM";
  appendU32(out, offset + std::uint32_t(bits.size()));
  appendU32(out, 0);
  appendU32(out, offset);
  appendU32(out, 40);
  appendU32(out, std::uint32_t(spec.width));
  appendU32(out, std::uint32_t(spec.topDown ? -spec.height : spec.height));
  appendU16(out, 1);
  appendU16(out, std::uint16_t(spec.bitCount));
  appendU32(out, 0);  // no compression
  appendU32(out, std::uint32_t(bits.size()));
  appendU32(out, 2835);
  appendU32(out, 2835);
  appendU32(out, spec.bitCount == 24 ? 0 : std::uint32_t(spec.palette.size()));
  appendU32(out, 0);
  return out + table + bits;
}

}  // namespace vandrel::test
