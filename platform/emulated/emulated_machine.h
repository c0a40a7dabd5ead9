// The emulated machine: every facility over one machine root.
#pragma once

#include <memory>

#include "platform/emulated/emulated_file_system.h"
#include "platform/emulated/emulated_process.h"
#include "platform/emulated/emulated_shell.h"
#include "platform/emulated/emulated_system.h"
#include "platform/emulated/host_library_loader.h"
#include "platform/emulated/machine_config.h"
#include "platform/emulated/machine_lock.h"
#include "platform/machine.h"

namespace vandrel::platform::emulated {

class EmulatedMachine : public Machine {
 public:
  // Throws MachineError when the registry cannot be opened.
  EmulatedMachine(const MachineConfig& config, const MachineOptions& options);
  ~EmulatedMachine() override;

  FileSystem& files() override { return *files_; }
  Profile& profile() override { return *profile_; }
  Registry& registry() override { return *registry_; }
  System& system() override { return *system_; }
  Shell& shell() override { return *shell_; }
  Lz& lz() override { return *lz_; }
  VersionInfo& versionInfo() override { return *versionInfo_; }
  Process& process() override { return *process_; }
  Clock& clock() override { return hostClock(); }
  LibraryLoader& libraries() override { return *libraries_; }

  EmulatedFileSystem& emulatedFiles() { return *files_; }
  const MachineConfig& config() const { return config_; }

 private:
  MachineConfig config_;
  std::unique_ptr<EmulatedFileSystem> files_;
  std::unique_ptr<Registry> registry_;
  std::unique_ptr<EmulatedSystem> system_;
  // Held by the profile around each change of an INI file; it outlives the profile, which
  // lets go of it when destroyed.
  std::unique_ptr<MachineLock> changeLock_;
  std::unique_ptr<Profile> profile_;
  std::unique_ptr<EmulatedShell> shell_;
  std::unique_ptr<Lz> lz_;
  std::unique_ptr<VersionInfo> versionInfo_;
  std::unique_ptr<EmulatedProcess> process_;
  std::unique_ptr<HostLibraryLoader> libraries_;
};

}  // namespace vandrel::platform::emulated
