// PE headers, section table and the three-level resource directory, down to the version
// resource; every read is checked against the file and its section.
#include "platform/formats/pe_version.h"

#include "platform/formats/elf_version.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vandrel::platform {
namespace {

constexpr std::uint32_t ResourceTypeVersion = 16;
constexpr std::uint32_t VersionInfoId = 1;  // VS_VERSION_INFO
constexpr std::uint16_t MagicPe32 = 0x10B;
constexpr std::uint16_t MagicPe64 = 0x20B;
constexpr std::uint32_t ResourceDirectoryIndex = 2;
constexpr std::uint16_t MaxSections = 96;  // the most the Windows loader accepts
constexpr std::uint32_t MaxEntries = 4096;
constexpr std::uint32_t MaxResourceSize = 1u << 20;
constexpr std::uint32_t HighBit = 0x80000000u;

struct Section {
  std::uint32_t virtualAddress = 0;
  std::uint32_t virtualSize = 0;
  std::uint32_t rawSize = 0;
  std::uint32_t rawOffset = 0;
};

struct DirectoryEntry {
  std::uint32_t name = 0;    // an id, or (high bit) a name offset
  std::uint32_t target = 0;  // a data entry, or (high bit) a subdirectory
};

class PeImage {
 public:
  PeImage(const ReadAt& read, std::uint64_t size) : read_(read), size_(size) {}

  bool loadHeaders();
  std::optional<Bytes> versionResource();

 private:
  std::optional<std::uint16_t> u16(std::uint64_t offset) {
    std::uint8_t b[2];
    if (offset > size_ || size_ - offset < 2 || !read_(offset, b, 2)) return std::nullopt;
    return std::uint16_t(b[0] | b[1] << 8);
  }
  std::optional<std::uint32_t> u32(std::uint64_t offset) {
    std::uint8_t b[4];
    if (offset > size_ || size_ - offset < 4 || !read_(offset, b, 4)) return std::nullopt;
    return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
           std::uint32_t(b[3]) << 24;
  }
  std::optional<std::uint64_t> fileOffset(std::uint64_t rva, std::uint64_t count) const;
  std::optional<std::vector<DirectoryEntry>> directory(std::uint32_t relative);

  const ReadAt& read_;
  std::uint64_t size_;
  std::vector<Section> sections_;
  std::uint32_t resourceRva_ = 0;
};

bool PeImage::loadHeaders() {
  if (u16(0) != 0x5A4D) return false;  // "MZ"
  auto peOffset = u32(0x3C);
  if (!peOffset || u32(*peOffset) != 0x00004550) return false;  // "PE\0\0"
  std::uint64_t coff = std::uint64_t(*peOffset) + 4;
  auto sectionCount = u16(coff + 2);
  auto optionalSize = u16(coff + 16);
  std::uint64_t optional = coff + 20;
  auto magic = u16(optional);
  if (!sectionCount || !optionalSize || !magic || *sectionCount > MaxSections) return false;
  std::uint64_t countField, directories;
  if (*magic == MagicPe32) {
    countField = optional + 92;
    directories = optional + 96;
  } else if (*magic == MagicPe64) {
    countField = optional + 108;
    directories = optional + 112;
  } else {
    return false;
  }
  auto directoryCount = u32(countField);
  std::uint64_t resourceEntry = directories + ResourceDirectoryIndex * 8;
  if (!directoryCount || *directoryCount <= ResourceDirectoryIndex ||
      resourceEntry + 8 > optional + *optionalSize) {
    return false;
  }
  auto resourceRva = u32(resourceEntry);
  if (!resourceRva || *resourceRva == 0) return false;
  resourceRva_ = *resourceRva;

  std::uint64_t table = optional + *optionalSize;
  for (std::uint16_t i = 0; i < *sectionCount; ++i) {
    std::uint64_t at = table + std::uint64_t(i) * 40;
    auto virtualSize = u32(at + 8), virtualAddress = u32(at + 12);
    auto rawSize = u32(at + 16), rawOffset = u32(at + 20);
    if (!virtualSize || !virtualAddress || !rawSize || !rawOffset) return false;
    sections_.push_back(Section{*virtualAddress, *virtualSize, *rawSize, *rawOffset});
  }
  return true;
}

// The file offset of count bytes at rva; they must lie in one section's data in the file.
std::optional<std::uint64_t> PeImage::fileOffset(std::uint64_t rva, std::uint64_t count) const {
  for (const Section& s : sections_) {
    std::uint64_t span = std::max(s.virtualSize, s.rawSize);
    if (rva < s.virtualAddress || rva - s.virtualAddress >= span) continue;
    std::uint64_t inSection = rva - s.virtualAddress;
    if (inSection + count > s.rawSize) return std::nullopt;
    std::uint64_t offset = std::uint64_t(s.rawOffset) + inSection;
    if (offset > size_ || size_ - offset < count) return std::nullopt;
    return offset;
  }
  return std::nullopt;
}

// The entries of the resource directory at an offset from the resource section's start.
std::optional<std::vector<DirectoryEntry>> PeImage::directory(std::uint32_t relative) {
  auto header = fileOffset(std::uint64_t(resourceRva_) + relative, 16);
  if (!header) return std::nullopt;
  auto named = u16(*header + 12), ids = u16(*header + 14);
  if (!named || !ids) return std::nullopt;
  std::uint32_t count = std::uint32_t(*named) + *ids;
  if (count > MaxEntries) return std::nullopt;
  auto table = fileOffset(std::uint64_t(resourceRva_) + relative + 16, std::uint64_t(count) * 8);
  if (!table) return std::nullopt;
  std::vector<DirectoryEntry> entries(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    auto name = u32(*table + i * 8ull), target = u32(*table + i * 8ull + 4);
    if (!name || !target) return std::nullopt;
    entries[i] = DirectoryEntry{*name, *target};
  }
  return entries;
}

std::optional<Bytes> PeImage::versionResource() {
  // Level 1: the resource type; level 2: the resource (VS_VERSION_INFO, else the first);
  // level 3: the language (the first). Exactly three levels: no loops are possible.
  auto types = directory(0);
  if (!types) return std::nullopt;
  auto type = std::find_if(types->begin(), types->end(),
                           [](const DirectoryEntry& e) { return e.name == ResourceTypeVersion; });
  if (type == types->end() || !(type->target & HighBit)) return std::nullopt;

  auto names = directory(type->target & ~HighBit);
  if (!names || names->empty()) return std::nullopt;
  auto name = std::find_if(names->begin(), names->end(),
                           [](const DirectoryEntry& e) { return e.name == VersionInfoId; });
  if (name == names->end()) name = names->begin();
  if (!(name->target & HighBit)) return std::nullopt;

  auto languages = directory(name->target & ~HighBit);
  if (!languages || languages->empty() || (languages->front().target & HighBit)) {
    return std::nullopt;
  }
  auto entry = fileOffset(std::uint64_t(resourceRva_) + languages->front().target, 16);
  if (!entry) return std::nullopt;
  auto dataRva = u32(*entry), dataSize = u32(*entry + 4);
  if (!dataRva || !dataSize || *dataSize == 0 || *dataSize > MaxResourceSize) return std::nullopt;
  auto data = fileOffset(*dataRva, *dataSize);
  if (!data) return std::nullopt;
  Bytes block(*dataSize);
  if (!read_(*data, block.data(), block.size())) return std::nullopt;
  return block;
}

}  // namespace

std::optional<Bytes> readVersionResource(const ReadAt& read, std::uint64_t fileSize) {
  PeImage image(read, fileSize);
  // The Linux builds of the programs carry their version block in an ELF section.
  if (!image.loadHeaders()) return readElfVersionSection(read, fileSize);
  return image.versionResource();
}

std::optional<Bytes> readVersionResource(const Bytes& image) {
  ReadAt read = [&image](std::uint64_t offset, void* out, std::size_t count) {
    if (offset > image.size() || image.size() - offset < count) return false;
    std::memcpy(out, image.data() + offset, count);
    return true;
  };
  return readVersionResource(read, image.size());
}

}  // namespace vandrel::platform
