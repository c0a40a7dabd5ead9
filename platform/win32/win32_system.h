// System identity and control of the Windows machine the program runs on.
#pragma once

#include "platform/system.h"

namespace vandrel::platform::win32 {

class Win32System : public System {
 public:
  OsVersion version() override;             // GetVersionExA
  // GetSystemInfo. A 64-bit build reports what the 32-bit program sees on the same machine
  // (an Intel 586), so that both builds judge a package's processor requirement alike.
  ProcessorInfo processor() override;
  std::optional<std::string> userName() override;
  std::uint16_t userDefaultLangId() override;
  std::uint64_t totalPhysicalMemory() override;
  std::string windowsDirectory() override;
  std::string systemDirectory() override;
  // ExitWindowsEx, after taking the shutdown privilege that NT systems ask for.
  bool exitWindows(std::uint32_t flags) override;
  std::uint32_t desktopColour() override;
};

}  // namespace vandrel::platform::win32
