// System identity and restart of the emulated machine, from its machine.ini.
#pragma once

#include "platform/emulated/machine_config.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace vandrel::platform::emulated {

class EmulatedSystem : public System {
 public:
  // The registry, when given, holds the user's colour settings.
  explicit EmulatedSystem(const MachineConfig& config, Registry* registry = nullptr)
      : config_(config), registry_(registry) {}

  OsVersion version() override;
  ProcessorInfo processor() override;
  std::optional<std::string> userName() override;
  std::uint16_t userDefaultLangId() override;
  std::uint64_t totalPhysicalMemory() override;
  std::string windowsDirectory() override;
  std::string systemDirectory() override;
  // A restart is recorded in machine.ini, to be performed by "vandrel-machine boot"; logging
  // off and shutting down change nothing in the machine.
  bool exitWindows(std::uint32_t flags) override;
  // The "Background" value of HKEY_CURRENT_USER\Control Panel\Colors ("R G B"), where
  // Windows keeps it; without one the default of the system's standard colour scheme.
  std::uint32_t desktopColour() override;

 private:
  MachineConfig config_;
  Registry* registry_;
};

}  // namespace vandrel::platform::emulated
