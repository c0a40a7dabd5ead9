// Version information of files reached through a FileSystem (the PE version resource).
#pragma once

#include <optional>

#include "platform/file_system.h"
#include "platform/version_info.h"

namespace vandrel::platform {

class FileVersionInfo : public VersionInfo {
 public:
  explicit FileVersionInfo(FileSystem& files) : files_(files) {}

  std::uint32_t infoSize(const std::string& path) override;
  bool info(const std::string& path, Bytes& block) override;

 private:
  std::optional<Bytes> read(const std::string& path);

  FileSystem& files_;
};

}  // namespace vandrel::platform
