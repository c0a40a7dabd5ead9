// System identity and restart of the emulated machine.
#include "platform/emulated/emulated_system.h"

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

}  // namespace vandrel::platform::emulated
