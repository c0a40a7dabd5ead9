// The emulated machine: every facility over one machine root.
#include "platform/emulated/emulated_machine.h"

#include "platform/emulated/registry/sqlite_registry.h"
#include "platform/file_version_info.h"
#include "platform/ini/ini_profile.h"
#include "platform/lz_library.h"

namespace vandrel::platform::emulated {

EmulatedMachine::EmulatedMachine(const MachineConfig& config, const MachineOptions& options)
    : config_(config) {
  files_ = std::make_unique<EmulatedFileSystem>(config_, options.hostDriveWritable);
  registry_ = SqliteRegistry::open(config_.root / "registry.db", config_.platform == platform_id::NT);
  system_ = std::make_unique<EmulatedSystem>(config_, registry_.get());
  changeLock_ = std::make_unique<MachineLock>(config_.root / kMachineLockName);
  profile_ = std::make_unique<IniProfile>(
      *files_, [system = system_.get()] { return system->windowsDirectory(); }, changeLock_.get());
  shell_ = std::make_unique<EmulatedShell>(*registry_, *files_);
  lz_ = std::make_unique<LzLibrary>(*files_);
  versionInfo_ = std::make_unique<FileVersionInfo>(*files_);
  process_ = std::make_unique<EmulatedProcess>(config_, *files_, options.executable);
  libraries_ = std::make_unique<HostLibraryLoader>(*files_);
}

EmulatedMachine::~EmulatedMachine() = default;

}  // namespace vandrel::platform::emulated
