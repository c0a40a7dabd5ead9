// The profile (INI) functions of the Windows machine the program runs on:
// GetPrivateProfileStringA, GetPrivateProfileIntA, WritePrivateProfileStringA, and the same
// on WIN.INI.
#pragma once

#include "platform/profile.h"

namespace vandrel::platform::win32 {

class Win32Profile : public Profile {
 public:
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
};

}  // namespace vandrel::platform::win32
