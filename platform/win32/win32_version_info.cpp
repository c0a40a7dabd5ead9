// Version information through version.dll.
#include "platform/win32/win32_version_info.h"

#include <windows.h>

namespace vandrel::platform::win32 {

std::uint32_t Win32VersionInfo::infoSize(const std::string& path) {
  DWORD ignored = 0;
  return GetFileVersionInfoSizeA(path.c_str(), &ignored);
}

bool Win32VersionInfo::info(const std::string& path, Bytes& block) {
  DWORD size = infoSize(path);
  if (size == 0) return false;
  block.assign(size, 0);
  return GetFileVersionInfoA(path.c_str(), 0, size, block.data()) != 0;
}

}  // namespace vandrel::platform::win32
