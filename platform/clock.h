// The time of day: the current time as Windows keeps it and its local calendar form.
#pragma once

#include <ctime>
#include <string>

#include "platform/types.h"

namespace vandrel::platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // GetSystemTimeAsFileTime: now, in 100-nanosecond ticks since 1601-01-01 UTC.
  virtual FileTime now() = 0;
  // FileTimeToLocalFileTime + FileTimeToSystemTime: the calendar fields of a time in the
  // user's time zone (std::tm conventions: years since 1900, months from 0).
  virtual std::tm localTime(FileTime time) = 0;
};

// The computer's own clock and time zone.
Clock& hostClock();

// A time in the user's time zone written with a strftime format ("%Y/%m/%d").
std::string formatLocalTime(Clock& clock, FileTime time, const char* format);

// FileTime of a count of seconds since 1970-01-01 UTC, and back (times before 1970 give 0).
FileTime fileTimeFromUnix(std::int64_t seconds);
std::int64_t unixFromFileTime(FileTime time);

}  // namespace vandrel::platform
