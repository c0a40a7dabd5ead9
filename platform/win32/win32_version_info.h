// Version information through version.dll (GetFileVersionInfoSizeA, GetFileVersionInfoA).
#pragma once

#include "platform/version_info.h"

namespace vandrel::platform::win32 {

class Win32VersionInfo : public VersionInfo {
 public:
  std::uint32_t infoSize(const std::string& path) override;
  bool info(const std::string& path, Bytes& block) override;
};

}  // namespace vandrel::platform::win32
