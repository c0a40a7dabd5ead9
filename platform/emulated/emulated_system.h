// System identity and restart of the emulated machine, from its machine.ini.
#pragma once

#include "platform/emulated/machine_config.h"
#include "platform/system.h"

namespace vandrel::platform::emulated {

class EmulatedSystem : public System {
 public:
  explicit EmulatedSystem(const MachineConfig& config) : config_(config) {}

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

 private:
  MachineConfig config_;
};

}  // namespace vandrel::platform::emulated
