// Writing .bmp files for tests: uncompressed images of any bit count, with fields that tests
// can then damage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vandrel::test {

struct BmpSpec {
  int width = 1;
  int height = 1;
  int bitCount = 24;
  bool topDown = false;  // a negative height in the header
  // Colour table entries as 0x00BBGGRR; written for bit counts other than 24.
  std::vector<std::uint32_t> palette;
  // The pixel at (x, y), y = 0 the top row: a colour 0x00BBGGRR for 24 bits, else an index.
  std::function<std::uint32_t(int x, int y)> pixel = [](int, int) { return 0u; };
};

// Offsets of header fields, for tests that damage them.
namespace bmp_field {
constexpr std::size_t FileSize = 2;
constexpr std::size_t BitsOffset = 10;
constexpr std::size_t Width = 18;
constexpr std::size_t Height = 22;
constexpr std::size_t BitCount = 28;
constexpr std::size_t Compression = 30;
constexpr std::size_t SizeImage = 34;
constexpr std::size_t ClrUsed = 46;
}  // namespace bmp_field

// The whole file: file header, 40-byte information header, colour table, rows padded to
// four bytes. The header's image size is the bits' size.
std::string makeBmp(const BmpSpec& spec);

void putU32(std::string& bytes, std::size_t offset, std::uint32_t value);
void putU16(std::string& bytes, std::size_t offset, std::uint16_t value);

}  // namespace vandrel::test
