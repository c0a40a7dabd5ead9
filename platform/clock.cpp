// Times as text, and the conversions between Windows and Unix time; the computer's own clock
// is in the backend (posix/host_clock.cpp, win32/host_clock.cpp).
#include "platform/clock.h"

namespace vandrel::platform {
namespace {

constexpr FileTime kEpochAsFileTime = 116444736000000000ull;  // 1970-01-01 in 1601 ticks
constexpr FileTime kTicksPerSecond = 10000000ull;

}  // namespace

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
