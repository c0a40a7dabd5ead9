// The computer's clock, and the conversions between Windows and Unix time.
#include "platform/clock.h"

#include <chrono>

namespace vandrel::platform {
namespace {

constexpr FileTime kEpochAsFileTime = 116444736000000000ull;  // 1970-01-01 in 1601 ticks
constexpr FileTime kTicksPerSecond = 10000000ull;

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

std::string formatLocalTime(Clock& clock, FileTime time, const char* format) {
  std::tm parts = clock.localTime(time);
  char text[128];
  std::size_t n = std::strftime(text, sizeof text, format, &parts);
  return std::string(text, n);
}

FileTime fileTimeFromUnix(std::int64_t seconds) {
  return seconds <= 0 ? kEpochAsFileTime : kEpochAsFileTime + FileTime(seconds) * kTicksPerSecond;
}

std::int64_t unixFromFileTime(FileTime time) {
  return time > kEpochAsFileTime ? std::int64_t((time - kEpochAsFileTime) / kTicksPerSecond) : 0;
}

}  // namespace vandrel::platform
