// Reading the version resource of a file through the FileSystem, a few structures at a time.
#include "platform/file_version_info.h"

#include "platform/formats/pe_version.h"

namespace vandrel::platform {

std::optional<Bytes> FileVersionInfo::read(const std::string& path) {
  std::unique_ptr<File> file = files_.open(path, OpenMode::Read);
  if (!file) return std::nullopt;
  ReadAt readAt = [&file](std::uint64_t offset, void* out, std::size_t count) {
    if (!file->seek(offset)) return false;
    auto* to = static_cast<std::uint8_t*>(out);
    while (count > 0) {
      std::int64_t n = file->read(to, count);
      if (n <= 0) return false;
      to += n;
      count -= std::size_t(n);
    }
    return true;
  };
  return readVersionResource(readAt, file->size());
}

std::uint32_t FileVersionInfo::infoSize(const std::string& path) {
  auto block = read(path);
  return block ? std::uint32_t(block->size()) : 0;
}

bool FileVersionInfo::info(const std::string& path, Bytes& block) {
  auto found = read(path);
  if (!found) return false;
  block = std::move(*found);
  return true;
}

}  // namespace vandrel::platform
