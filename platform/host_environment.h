// The process's environment, changed the way the host system wants it changed.
#pragma once

#include <string>

namespace vandrel::platform {

// Sets an environment variable for this process and the programs it starts.
void setHostEnvironment(const std::string& name, const std::string& value);
// Removes an environment variable from this process and the programs it starts.
void unsetHostEnvironment(const std::string& name);

}  // namespace vandrel::platform
