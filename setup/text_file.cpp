// Whole-file text reading in fixed blocks.
#include "setup/text_file.h"

#include <cstring>
#include <vector>

namespace vandrel::setup {

std::optional<std::string> readTextFile(platform::FileSystem& files, const std::string& path) {
  std::unique_ptr<platform::File> file = files.open(path, platform::OpenMode::Read);
  if (!file) return std::nullopt;
  constexpr std::size_t kBlock = 9999;
  std::vector<char> block(kBlock);
  std::string text;
  while (true) {
    std::int64_t count = file->read(block.data(), kBlock);
    if (count <= 0) break;
    std::size_t size = static_cast<std::size_t>(count);
    const void* zero = std::memchr(block.data(), '\0', size);
    text.append(block.data(), zero ? static_cast<const char*>(zero) - block.data() : size);
  }
  return text;
}

}  // namespace vandrel::setup
