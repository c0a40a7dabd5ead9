// Whole-file text reading in fixed blocks.
#include "setup/text_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/bounded_read.h"

namespace vandrel::setup {

std::optional<std::string> readTextFile(platform::FileSystem& files, const std::string& path) {
  std::unique_ptr<platform::File> file = files.open(path, platform::OpenMode::Read);
  if (!file) return std::nullopt;
  std::string reason;
  std::optional<std::string> text = platform::readBounded(*file, platform::kTextFileLimit, &reason);
  if (!text) {
    std::fprintf(stderr, "vandrel: the file %s %s; it is not read.\n", path.c_str(), reason.c_str());
    return std::nullopt;
  }
  // Each block of 9999 bytes is taken as a C string: a zero byte ends its text.
  constexpr std::size_t kBlock = 9999;
  std::string shown;
  for (std::size_t at = 0; at < text->size(); at += kBlock) {
    std::size_t size = std::min(kBlock, text->size() - at);
    const void* zero = std::memchr(text->data() + at, '\0', size);
    shown.append(text->data() + at, zero ? static_cast<const char*>(zero) - (text->data() + at) : size);
  }
  return shown;
}

}  // namespace vandrel::setup
