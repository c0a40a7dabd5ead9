// Little-endian reading with bounds checks, and appending, for the binary file formats.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/types.h"

namespace vandrel::platform::formats {

// A read-only view of bytes; every read says whether the bytes were there.
class ByteView {
 public:
  ByteView(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  explicit ByteView(const Bytes& bytes) : data_(bytes.data()), size_(bytes.size()) {}

  std::size_t size() const { return size_; }
  const std::uint8_t* data() const { return data_; }
  bool has(std::size_t offset, std::size_t count) const {
    return offset <= size_ && count <= size_ - offset;
  }
  std::optional<std::uint16_t> u16(std::size_t offset) const {
    if (!has(offset, 2)) return std::nullopt;
    return std::uint16_t(data_[offset] | data_[offset + 1] << 8);
  }
  std::optional<std::uint32_t> u32(std::size_t offset) const {
    if (!has(offset, 4)) return std::nullopt;
    return std::uint32_t(data_[offset]) | std::uint32_t(data_[offset + 1]) << 8 |
           std::uint32_t(data_[offset + 2]) << 16 | std::uint32_t(data_[offset + 3]) << 24;
  }
  // A NUL-terminated 8-bit string starting at offset, ending before limit; nullopt when no
  // NUL comes first. end receives the offset just past the NUL.
  std::optional<std::string> cString(std::size_t offset, std::size_t limit,
                                     std::size_t* end = nullptr) const;

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

// Appends little-endian values.
class ByteWriter {
 public:
  Bytes& bytes() { return out_; }
  std::size_t size() const { return out_.size(); }
  void u8(std::uint8_t v) { out_.push_back(v); }
  void u16(std::uint16_t v) { u8(std::uint8_t(v)), u8(std::uint8_t(v >> 8)); }
  void u32(std::uint32_t v) { u16(std::uint16_t(v)), u16(std::uint16_t(v >> 16)); }
  void u64(std::uint64_t v) { u32(std::uint32_t(v)), u32(std::uint32_t(v >> 32)); }
  void append(const void* data, std::size_t count) {
    auto p = static_cast<const std::uint8_t*>(data);
    out_.insert(out_.end(), p, p + count);
  }
  void zeros(std::size_t count) { out_.insert(out_.end(), count, 0); }
  void alignTo(std::size_t alignment) {
    while (out_.size() % alignment) out_.push_back(0);
  }
  void put32At(std::size_t offset, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out_[offset + i] = std::uint8_t(v >> (8 * i));
  }
  void put16At(std::size_t offset, std::uint16_t v) {
    out_[offset] = std::uint8_t(v);
    out_[offset + 1] = std::uint8_t(v >> 8);
  }

 private:
  Bytes out_;
};

// UTF-16LE text to UTF-8 (unpaired surrogates become U+FFFD), and back.
std::string utf16ToUtf8(const std::u16string& text);
std::u16string utf8ToUtf16(const std::string& text);

}  // namespace vandrel::platform::formats
