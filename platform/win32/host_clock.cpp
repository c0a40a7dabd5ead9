// The computer's clock and time zone, through the Windows time functions.
#include <windows.h>

#include "platform/clock.h"
#include "platform/win32/win32_time.h"

namespace vandrel::platform {
namespace {

using win32::fromFileTime;
using win32::toFileTime;

// Days of the year before a month (from 0), for std::tm's day of the year.
int dayOfYear(int year, int month, int day) {
  static const int kBefore[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return kBefore[month] + day - 1 + (leap && month > 1 ? 1 : 0);
}

class HostClock : public Clock {
 public:
  FileTime now() override {
    FILETIME time;
    GetSystemTimeAsFileTime(&time);
    return fromFileTime(time);
  }
  // FileTimeToLocalFileTime + FileTimeToSystemTime, as the programs of this system do it.
  std::tm localTime(FileTime time) override {
    FILETIME utc = toFileTime(time), local;
    SYSTEMTIME fields{};
    std::tm parts{};
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &fields)) return parts;
    parts.tm_year = fields.wYear - 1900;
    parts.tm_mon = fields.wMonth - 1;
    parts.tm_mday = fields.wDay;
    parts.tm_hour = fields.wHour;
    parts.tm_min = fields.wMinute;
    parts.tm_sec = fields.wSecond;
    parts.tm_wday = fields.wDayOfWeek;
    parts.tm_yday = dayOfYear(fields.wYear, parts.tm_mon, fields.wDay);
    parts.tm_isdst = -1;
    return parts;
  }
};

}  // namespace

Clock& hostClock() {
  static HostClock clock;
  return clock;
}

}  // namespace vandrel::platform
