// System identity and restart of the emulated machine.
#include "platform/emulated/emulated_system.h"

#include <cstdio>

#include "platform/machine.h"

namespace vandrel::platform::emulated {

namespace {
std::string withoutTrailingBackslash(std::string folder) {
  while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}
}  // namespace

OsVersion EmulatedSystem::version() {
  return OsVersion{config_.major, config_.minor, config_.build, config_.platform};
}

ProcessorInfo EmulatedSystem::processor() { return ProcessorInfo{config_.architecture, config_.processorType}; }

std::optional<std::string> EmulatedSystem::userName() { return config_.userName; }

std::uint16_t EmulatedSystem::userDefaultLangId() { return config_.languageId; }

std::uint64_t EmulatedSystem::totalPhysicalMemory() { return config_.totalMemory; }

std::string EmulatedSystem::windowsDirectory() { return withoutTrailingBackslash(config_.windowsDir); }

std::string EmulatedSystem::systemDirectory() { return withoutTrailingBackslash(config_.systemDir); }

bool EmulatedSystem::exitWindows(std::uint32_t flags) {
  if (!(flags & exit_flags::Reboot)) return true;
  try {
    writeMachineIniValue(config_.root, kStateSection, kRestartPendingKey, "1");
  } catch (const MachineError&) {
    return false;
  }
  config_.restartPending = true;
  return true;
}

std::uint32_t EmulatedSystem::desktopColour() {
  if (registry_) {
    HKey key = 0;
    if (registry_->openKey(hkey::CurrentUser, "Control Panel\\Colors", key) == error::Success) {
      std::uint32_t type = 0;
      Bytes data;
      long status = registry_->queryValue(key, "Background", type, data);
      registry_->closeKey(key);
      unsigned r = 0, g = 0, b = 0;
      std::string text(data.begin(), data.end());
      if (status == error::Success && type == regtype::Sz &&
          std::sscanf(text.c_str(), "%u %u %u", &r, &g, &b) == 3 && r < 256 && g < 256 && b < 256) {
        return r | g << 8 | b << 16;
      }
    }
  }
  // Windows 2000's standard scheme has a blue desktop; the earlier systems' is teal.
  bool windows2000 = config_.platform == platform_id::NT && config_.major >= 5;
  return windows2000 ? 0x00A56E3Au : 0x00808000u;
}

}  // namespace vandrel::platform::emulated
