// Confinement of the programs a package starts (its [End] commands, Run and RunOnce values, an
// UninstallString): the machine jails the installer's own writes, but a program it starts is
// any host program that Z: reaches. Such a program runs under bubblewrap (bwrap): the host
// read-only, the machine folder the only writable tree, no network.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vandrel::platform::emulated {

// Set inside a confinement, so that a program started from within (a setup an [End] command
// runs) is not confined a second time: it is already inside.
inline constexpr const char* kConfinedVariable = "VANDREL_CONFINED";

// The words that run a program confined to the machine in root, in folder: the bwrap command
// and its options, ending in "--"; the program and its arguments follow. Besides root, the
// files the user named for the run's records (VANDREL_TRANSCRIPT, VANDREL_LOG, VANDREL_RECORD,
// the action log beside the transcript, the VANDREL_SCREENSHOTS folder) stay writable; the
// files are made (empty) when missing, so that they can be bound. Empty inside a confinement.
// Nullopt when programs cannot be confined here, with the reason in why (bwrap missing, or not
// permitted by this host).
std::optional<std::vector<std::string>> confinementCommand(const std::filesystem::path& root,
                                                           const std::filesystem::path& folder,
                                                           std::string& why);

// Whether programs can be confined here; the reason in why when not.
bool canConfine(std::string& why);

// The line a program prints when it starts a program unconfined for that reason.
std::string unconfinedNotice(const std::string& program, const std::string& why);

}  // namespace vandrel::platform::emulated
