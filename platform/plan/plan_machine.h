// A plan (VANDREL_PLAN=1): a machine that runs every step of a program for real against a
// copy-on-write view of another machine. Reads see the machine plus this run's changes;
// files, folders, registry keys and values, INI files, shortcuts and restart requests stay in
// memory and are dropped at the end. Programs are not started: a command is only looked up.
// The one exception is a program this run wrote and then waits for (the starter's setup
// engine): it runs as a plan itself, with this run's file changes carried to it.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/machine.h"
#include "platform/plan/overlay_file_system.h"
#include "platform/plan/overlay_registry.h"

namespace vandrel::platform {

// The environment variable that names the folder of the changes a plan carries to the program
// it starts.
inline constexpr const char* kPlanCarryVariable = "VANDREL_PLAN_CARRY";

class PlanMachine : public Machine {
 public:
  // Runs a host program file (a copy of a program this run wrote) with one argument in a host
  // folder, with kPlanCarryVariable naming carry; waits and gives its exit status, or nothing
  // when it could not be started.
  using CarriedStart = std::function<std::optional<int>(
      const std::filesystem::path& program, const std::optional<std::string>& argument,
      const std::filesystem::path& folder, const std::filesystem::path& carry)>;

  explicit PlanMachine(Machine& base, CarriedStart start = {});
  PlanMachine(std::unique_ptr<Machine> owned, CarriedStart start = {});
  ~PlanMachine() override;

  FileSystem& files() override;
  Profile& profile() override;
  Registry& registry() override;
  System& system() override;
  Shell& shell() override;
  Lz& lz() override;
  VersionInfo& versionInfo() override;
  Process& process() override;
  Clock& clock() override;
  LibraryLoader& libraries() override;

  OverlayFileSystem& overlayFiles();
  OverlayRegistry& overlayRegistry();
  // What the run asked for and did not get: a restart, programs started (command lines).
  bool restartPlanned() const;
  const std::vector<std::string>& commandsPlanned() const;

  // Takes over the file changes a plan carried to this program (the folder kPlanCarryVariable
  // names), and the program's own Windows path. False when the folder cannot be read.
  bool loadCarry(const std::filesystem::path& folder);

  struct Parts;

 private:
  std::unique_ptr<Machine> owned_;
  std::unique_ptr<Parts> parts_;
};

}  // namespace vandrel::platform
