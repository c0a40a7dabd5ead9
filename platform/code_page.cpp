// Code page 1252 to and from UTF-8.
#include "platform/code_page.h"

#include <array>

namespace vandrel::platform {
namespace {

// The characters of bytes 0x80 to 0x9F; the undefined ones keep their own number.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The code page byte of a character; nothing when the page lacks it.
int cp1252Byte(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == c) return static_cast<int>(0x80 + i);
  }
  return -1;
}

// The length of the well-formed UTF-8 sequence at text[at] (0 when there is none) and the
// character it encodes.
std::size_t decodeUtf8(std::string_view text, std::size_t at, char32_t& c) {
  auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char lead = byte(at);
  std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                       : lead >= 0xE0 && lead <= 0xEF ? 3
                       : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                      : 0;
  if (length == 0 || at + length > text.size()) return 0;
  c = lead & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(at + k) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (byte(at + k) & 0x3F);
  }
  // Overlong forms, surrogates and numbers beyond Unicode are not UTF-8.
  if ((length == 3 && c < 0x800) || (length == 4 && (c < 0x10000 || c > 0x10FFFF)) ||
      (c >= 0xD800 && c <= 0xDFFF)) {
    return 0;
  }
  return length;
}

}  // namespace

char32_t cp1252Char(unsigned char byte) {
  return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : byte;
}

std::string cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) appendUtf8(out, cp1252Char(static_cast<unsigned char>(c)));
  return out;
}

std::string utf8ToCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    char32_t c = 0;
    std::size_t length = static_cast<unsigned char>(text[i]) < 0x80 ? 0 : decodeUtf8(text, i, c);
    if (length == 0) {
      out += text[i++];
      continue;
    }
    int byte = cp1252Byte(c);
    out += byte < 0 ? '?' : static_cast<char>(byte);
    i += length;
  }
  return out;
}

bool isUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    char32_t c = 0;
    std::size_t length = decodeUtf8(text, i, c);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

}  // namespace vandrel::platform
