// One Windows machine: every facility the programs use, reached through one object.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/library_loader.h"
#include "platform/lz.h"
#include "platform/process.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "platform/version_info.h"

namespace vandrel::platform {

class Machine {
 public:
  virtual ~Machine() = default;
  virtual FileSystem& files() = 0;
  virtual Profile& profile() = 0;
  virtual Registry& registry() = 0;
  virtual System& system() = 0;
  virtual Shell& shell() = 0;
  virtual Lz& lz() = 0;
  virtual VersionInfo& versionInfo() = 0;
  virtual Process& process() = 0;
  virtual Clock& clock() = 0;
  virtual LibraryLoader& libraries() = 0;
};

// A machine that cannot be opened (damaged machine.ini or registry.db, missing root).
class MachineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct MachineOptions {
  // The builder writes packages to the host: it may write through Z:.
  bool hostDriveWritable = false;
  // Host path of the running executable (argv[0] resolved), for moduleFileName().
  std::filesystem::path executable;
  // Called with the machine root when opening it first made a new machine there (the folder
  // was missing or empty), so that the program can say so.
  std::function<void(const std::filesystem::path&)> madeNewMachine;
};

// The machine the programs run on: on Windows the real one; elsewhere the emulated machine
// of VANDREL_MACHINE (the default machine root, made on first use, otherwise).
// Throws MachineError with a clear message when it cannot be opened.
std::unique_ptr<Machine> openHostMachine(const MachineOptions& options);

}  // namespace vandrel::platform
