// The current time as a file time: the default clock of a document.
#include "builder/model/summary_info.h"

#include <chrono>

namespace vandrel::builder {

std::uint64_t fileTimeNow() {
  using namespace std::chrono;
  constexpr std::uint64_t kEpochDifference = 11644473600ULL;  // 1601 to 1970, in seconds
  auto ticks = duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count() / 100;
  return kEpochDifference * 10000000ULL + std::uint64_t(ticks);
}

}  // namespace vandrel::builder
