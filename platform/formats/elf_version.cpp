// ELF header, section headers and their name table, down to the version block's section;
// every read is checked against the file.
#include "platform/formats/elf_version.h"

#include <cstring>
#include <string>

namespace vandrel::platform {
namespace {

constexpr std::uint32_t MaxBlockSize = 1u << 20;
constexpr std::uint16_t MaxSections = 4096;

class ElfImage {
 public:
  ElfImage(const ReadAt& read, std::uint64_t size) : read_(read), size_(size) {}

  std::optional<Bytes> section(const char* wanted);

 private:
  std::optional<std::uint64_t> value(std::uint64_t offset, std::size_t width) {
    std::uint8_t b[8];
    if (offset > size_ || size_ - offset < width || !read_(offset, b, width)) return std::nullopt;
    std::uint64_t v = 0;
    for (std::size_t i = width; i-- > 0;) v = v << 8 | b[i];
    return v;
  }
  // A word of the file's class: 4 bytes in ELF32, 8 in ELF64.
  std::optional<std::uint64_t> word(std::uint64_t offset) { return value(offset, wide_ ? 8 : 4); }
  bool nameIs(std::uint64_t offset, const char* wanted);

  const ReadAt& read_;
  std::uint64_t size_;
  bool wide_ = false;
};

bool ElfImage::nameIs(std::uint64_t offset, const char* wanted) {
  std::size_t length = std::strlen(wanted) + 1;  // with its NUL
  if (offset > size_ || size_ - offset < length) return false;
  std::string name(length, '\0');
  return read_(offset, name.data(), length) && std::memcmp(name.data(), wanted, length) == 0;
}

std::optional<Bytes> ElfImage::section(const char* wanted) {
  std::uint8_t ident[6];
  if (size_ < 64 || !read_(0, ident, sizeof ident)) return std::nullopt;
  if (std::memcmp(ident, "\x7F" "ELF", 4) != 0 || ident[5] != 1) return std::nullopt;  // LE only
  if (ident[4] != 1 && ident[4] != 2) return std::nullopt;
  wide_ = ident[4] == 2;
  // Offsets of e_shoff, e_shentsize, e_shnum and e_shstrndx in each class's header.
  auto tableAt = word(wide_ ? 0x28 : 0x20);
  auto entrySize = value(wide_ ? 0x3A : 0x2E, 2);
  auto count = value(wide_ ? 0x3C : 0x30, 2);
  auto namesIndex = value(wide_ ? 0x3E : 0x32, 2);
  if (!tableAt || !entrySize || !count || !namesIndex) return std::nullopt;
  if (*count > MaxSections || *namesIndex >= *count || *entrySize < (wide_ ? 64u : 40u)) {
    return std::nullopt;
  }
  // sh_name at 0; sh_offset and sh_size after sh_type, sh_flags and sh_addr.
  const std::uint64_t offsetField = wide_ ? 0x18 : 0x10, sizeField = wide_ ? 0x20 : 0x14;
  auto header = [&](std::uint64_t index) { return *tableAt + index * *entrySize; };
  auto names = word(header(*namesIndex) + offsetField);
  if (!names) return std::nullopt;
  for (std::uint64_t i = 0; i < *count; ++i) {
    auto nameAt = value(header(i), 4);
    if (!nameAt || !nameIs(*names + *nameAt, wanted)) continue;
    auto at = word(header(i) + offsetField), length = word(header(i) + sizeField);
    if (!at || !length || *length == 0 || *length > MaxBlockSize) return std::nullopt;
    if (*at > size_ || size_ - *at < *length) return std::nullopt;
    Bytes block(*length);
    if (!read_(*at, block.data(), block.size())) return std::nullopt;
    return block;
  }
  return std::nullopt;
}

}  // namespace

std::optional<Bytes> readElfVersionSection(const ReadAt& read, std::uint64_t fileSize) {
  ElfImage image(read, fileSize);
  return image.section(ElfVersionSection);
}

}  // namespace vandrel::platform
