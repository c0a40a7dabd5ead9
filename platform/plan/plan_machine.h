// A plan (VANDREL_PLAN=1): a machine that runs every step of a program for real against a
// copy-on-write view of another machine. Reads see the machine plus this run's changes;
// files, folders, registry keys and values, INI files, shortcuts and restart requests stay in
// memory and are dropped at the end. Programs are not started: a command is only looked up.
// The exceptions are programs waited for that plan themselves: one this run wrote (the
// starter's setup engine), and one of this system's own programs the machine holds (its
// uninstaller, a package's starter). Each runs as a plan from a host copy of its file, with
// this run's file changes carried to it; the machine's file is not touched (not even made
// executable).
#pragma once

#include <cstdint>
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
// The most a carried folder may hold, its files together: what a starter writes before it
// starts the engine (the engine, the script, a few companions) stays far below it, and a
// folder beyond it is refused rather than read into memory.
inline constexpr std::uint64_t kPlanCarryLimit = 256ull << 20;  // 256 MiB

class PlanMachine : public Machine {
 public:
  // Runs a host program file (a copy of a program this run wrote) with one argument in a host
  // folder, with kPlanCarryVariable naming carry; waits and gives its exit status, or nothing
  // when it could not be started.
  using CarriedStart = std::function<std::optional<int>(
      const std::filesystem::path& program, const std::optional<std::string>& argument,
      const std::filesystem::path& folder, const std::filesystem::path& carry)>;

  // Whether a host program file is one that plans itself when started with VANDREL_PLAN=1
  // (this system's own programs); any other is never started by a plan.
  using PlansItself = std::function<bool(const std::filesystem::path& host)>;

  explicit PlanMachine(Machine& base, CarriedStart start = {}, PlansItself plansItself = {});
  PlanMachine(std::unique_ptr<Machine> owned, CarriedStart start = {}, PlansItself plansItself = {});
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
  // What the run asked for and did not get: a restart, programs started (command lines, also
  // those waited for).
  bool restartPlanned() const;
  const std::vector<std::string>& commandsPlanned() const;

  // Takes over the file changes a plan carried to this program (the folder kPlanCarryVariable
  // names), and the program's own Windows path. False, with the reason in *reason, when the
  // folder cannot be read or holds more than kPlanCarryLimit.
  bool loadCarry(const std::filesystem::path& folder, std::string* reason = nullptr);

  struct Parts;

 private:
  std::unique_ptr<Machine> owned_;
  std::unique_ptr<Parts> parts_;
};

}  // namespace vandrel::platform
