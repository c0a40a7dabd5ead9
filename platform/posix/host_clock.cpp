// The computer's clock and time zone, through the C library.
#include <chrono>

#include "platform/clock.h"

namespace vandrel::platform {
namespace {

constexpr FileTime kEpochAsFileTime = 116444736000000000ull;  // 1970-01-01 in 1601 ticks

class HostClock : public Clock {
 public:
  FileTime now() override {
    using namespace std::chrono;
    auto ticks = duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count() / 100;
    return kEpochAsFileTime + FileTime(ticks);
  }
  std::tm localTime(FileTime time) override {
    std::time_t seconds = std::time_t(unixFromFileTime(time));
    std::tm parts{};
    localtime_r(&seconds, &parts);
    return parts;
  }
};

}  // namespace

Clock& hostClock() {
  static HostClock clock;
  return clock;
}

}  // namespace vandrel::platform
