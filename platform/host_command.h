// Running a program of the host system (not of the machine the programs work on) and
// collecting what it prints; for the builder's tools, such as the code signer.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vandrel::platform {

struct HostCommandResult {
  int exitStatus = -1;
  std::string output;  // standard output and error, as the program wrote them
};

// Starts arguments[0], found on the PATH, with the other arguments as they are (no shell),
// and waits for it. nullopt when it could not be started (not installed, say).
std::optional<HostCommandResult> runHostCommand(const std::vector<std::string>& arguments);

}  // namespace vandrel::platform
