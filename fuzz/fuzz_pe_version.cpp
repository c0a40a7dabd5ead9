// Fuzz target: finding the version resource in a PE image, then querying it.
#include <cstring>

#include "fuzz/fuzz_target.h"
#include "fuzz/version_queries.h"
#include "platform/formats/pe_version.h"

using vandrel::platform::Bytes;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > vandrel::fuzz::kMaxInput) return 0;
  Bytes image(data, data + size);
  std::optional<Bytes> block = vandrel::platform::readVersionResource(image);

  // Reading through a callback must find the same block as reading from memory.
  vandrel::platform::ReadAt read = [&](std::uint64_t offset, void* out, std::size_t count) {
    if (offset > size || count > size - offset) return false;
    if (count) std::memcpy(out, data + offset, count);
    return true;
  };
  std::optional<Bytes> viaRead = vandrel::platform::readVersionResource(read, size);
  FUZZ_CHECK(viaRead == block);

  if (block) vandrel::fuzz::queryVersionBlock(*block);
  return 0;
}
