// FILETIME and the platform's FileTime: the same 100-nanosecond ticks since 1601.
#pragma once

#include <windows.h>

#include "platform/types.h"

namespace vandrel::platform::win32 {

inline FileTime fromFileTime(const FILETIME& time) {
  return (FileTime(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

inline FILETIME toFileTime(FileTime time) {
  FILETIME out;
  out.dwLowDateTime = DWORD(time);
  out.dwHighDateTime = DWORD(time >> 32);
  return out;
}

}  // namespace vandrel::platform::win32
