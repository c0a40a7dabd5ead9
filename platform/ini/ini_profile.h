// The profile functions over any file system: reads served from a parsed-file cache,
// writes replacing the file atomically.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/profile.h"

namespace vandrel::platform {

class IniProfile : public Profile {
 public:
  // windowsFolder gives the folder of WIN.INI and of files named without a folder.
  IniProfile(FileSystem& files, std::function<std::string()> windowsFolder);
  ~IniProfile() override;

  std::string getString(const std::string& file, const std::optional<std::string>& section,
                        const std::optional<std::string>& key, const std::string& def,
                        std::size_t size) override;
  int getInt(const std::string& file, const std::string& section, const std::string& key,
             int def) override;
  bool writeString(const std::string& file, const std::string& section,
                   const std::optional<std::string>& key,
                   const std::optional<std::string>& value) override;
  std::string getProfileString(const std::optional<std::string>& section,
                               const std::optional<std::string>& key, const std::string& def,
                               std::size_t size) override;
  bool writeProfileString(const std::string& section, const std::optional<std::string>& key,
                          const std::optional<std::string>& value) override;

 private:
  struct Cache;
  FileSystem& files_;
  std::function<std::string()> windowsFolder_;
  std::unique_ptr<Cache> cache_;
};

}  // namespace vandrel::platform
