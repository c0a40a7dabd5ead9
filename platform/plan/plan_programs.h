// The programs a plan may start: this system's own, which plan themselves, each run from a
// host copy with the plan's changes carried to it (plan_machine.h).
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/plan/plan_machine.h"

namespace vandrel::platform {

// Starts a host program file with one argument in folder as a plan of its own, with the
// plan's changes carried in the folder kPlanCarryVariable names; waits for it and gives its
// exit status (a PlanMachine::CarriedStart).
std::optional<int> startCarriedPlan(const std::filesystem::path& program, const std::optional<std::string>& argument,
                                    const std::filesystem::path& folder, const std::filesystem::path& carry);

// Whether a host file is one of this system's programs that plan themselves: byte for byte
// one of the setup engine, the uninstaller (and their translations) or the package starter
// beside the running program. A file that merely carries their name is not.
bool plansItself(const std::filesystem::path& host);

// A plan over base that starts this system's own programs as plans and nothing else.
std::unique_ptr<PlanMachine> makePlan(std::unique_ptr<Machine> base);

}  // namespace vandrel::platform
