// Version information of executable files (GetFileVersionInfoSizeA / GetFileVersionInfoA).
// The value query (VerQueryValueA) works on the block and is in version_resource.h.
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace vandrel::platform {

class VersionInfo {
 public:
  virtual ~VersionInfo() = default;
  // Size of the VS_VERSIONINFO block, 0 when the file has none (or is not a PE file).
  virtual std::uint32_t infoSize(const std::string& path) = 0;
  // The VS_VERSIONINFO block; false when the file has none.
  virtual bool info(const std::string& path, Bytes& block) = 0;
};

}  // namespace vandrel::platform
