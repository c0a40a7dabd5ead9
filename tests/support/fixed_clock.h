// A clock that stands still at a chosen time, read in UTC, for tests that need a known date.
#pragma once

#include <ctime>

#include "platform/clock.h"

namespace vandrel::test {

class FixedClock : public platform::Clock {
 public:
  // 2001-02-03 12:00 UTC unless set otherwise.
  explicit FixedClock(platform::FileTime time = platform::fileTimeFromUnix(981201600))
      : time_(time) {}
  void set(platform::FileTime time) { time_ = time; }
  platform::FileTime now() override { return time_; }
  std::tm localTime(platform::FileTime time) override {
    std::time_t seconds = std::time_t(platform::unixFromFileTime(time));
    // std::gmtime's shared result is copied at once: the tests read the clock from one thread.
    const std::tm* parts = std::gmtime(&seconds);
    return parts ? *parts : std::tm{};
  }

 private:
  platform::FileTime time_;
};

}  // namespace vandrel::test
