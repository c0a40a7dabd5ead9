// Whole-file reads with a size limit.
#include "platform/bounded_read.h"

#include <algorithm>
#include <vector>

namespace vandrel::platform {

namespace {

constexpr std::size_t kBlock = 1 << 16;

}  // namespace

std::string tooLarge(std::uint64_t limit) { return "is larger than " + describeLimit(limit); }

std::string describeLimit(std::uint64_t limit) {
  if (limit >= (1ull << 20) && limit % (1ull << 20) == 0) return std::to_string(limit >> 20) + " MiB";
  if (limit >= (1ull << 10) && limit % (1ull << 10) == 0) return std::to_string(limit >> 10) + " KiB";
  return std::to_string(limit) + " bytes";
}

std::optional<std::string> readBounded(File& file, std::uint64_t limit, std::string* reason) {
  std::string text;
  std::vector<char> block(kBlock);
  for (;;) {
    // One byte past the limit tells a file of exactly the limit from a larger one.
    std::uint64_t room = limit + 1 - text.size();
    std::int64_t n = file.read(block.data(), std::size_t(std::min<std::uint64_t>(kBlock, room)));
    if (n < 0) {
      if (reason) *reason = "cannot be read";
      return std::nullopt;
    }
    if (n == 0) return text;
    text.append(block.data(), std::size_t(n));
    if (text.size() > limit) {
      if (reason) *reason = tooLarge(limit);
      return std::nullopt;
    }
  }
}

}  // namespace vandrel::platform
