// Fuzz target: the summary-information property set stored in .cvx files.
#include <string_view>

#include "builder/codec/summary_stream.h"
#include "fuzz/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > vandrel::fuzz::kMaxInput) return 0;
  std::optional<vandrel::builder::SummaryInfo> info = vandrel::builder::decodeSummaryInfo(
      std::string_view(reinterpret_cast<const char*>(data), size));
  if (!info) return 0;
  // What was read is written again and reads back the same.
  std::string encoded = vandrel::builder::encodeSummaryInfo(*info);
  std::optional<vandrel::builder::SummaryInfo> again = vandrel::builder::decodeSummaryInfo(encoded);
  FUZZ_CHECK(again.has_value());
  FUZZ_CHECK(*again == *info);
  return 0;
}
