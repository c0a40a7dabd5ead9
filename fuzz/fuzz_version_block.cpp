// Fuzz target: queries on a version block taken as it comes (32-bit and 16-bit layouts).
#include "fuzz/fuzz_target.h"
#include "fuzz/version_queries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > vandrel::fuzz::kMaxInput) return 0;
  vandrel::fuzz::queryVersionBlock(vandrel::platform::Bytes(data, data + size));
  return 0;
}
