// System identity and control: version, processor, user, memory, folders, restart.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vandrel::platform {

namespace platform_id {
constexpr std::uint32_t Win32s = 0;
constexpr std::uint32_t Windows = 1;  // Windows 95/98
constexpr std::uint32_t NT = 2;
}  // namespace platform_id

struct OsVersion {  // GetVersionExA
  std::uint32_t majorVersion = 0;
  std::uint32_t minorVersion = 0;
  std::uint32_t buildNumber = 0;
  std::uint32_t platformId = 0;
};

struct ProcessorInfo {  // GetSystemInfo
  std::uint16_t architecture = 0;  // 0 Intel
  std::uint32_t processorType = 0;  // 386, 486, 586
};

namespace exit_flags {
constexpr std::uint32_t Logoff = 0;
constexpr std::uint32_t Shutdown = 1;
constexpr std::uint32_t Reboot = 2;
}  // namespace exit_flags

class System {
 public:
  virtual ~System() = default;
  virtual OsVersion version() = 0;
  virtual ProcessorInfo processor() = 0;
  virtual std::optional<std::string> userName() = 0;  // GetUserNameA
  virtual std::uint16_t userDefaultLangId() = 0;      // GetUserDefaultLangID
  virtual std::uint64_t totalPhysicalMemory() = 0;    // GlobalMemoryStatus
  virtual std::string windowsDirectory() = 0;         // without trailing backslash
  virtual std::string systemDirectory() = 0;          // without trailing backslash
  virtual bool exitWindows(std::uint32_t flags) = 0;  // ExitWindowsEx
  // GetSysColor(COLOR_BACKGROUND): the desktop's colour, 0x00BBGGRR.
  virtual std::uint32_t desktopColour() = 0;
};

}  // namespace vandrel::platform
