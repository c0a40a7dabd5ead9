// The process's environment on Windows: the C runtime's copy and the system's both change,
// so getenv here and the programs started later see the same value.
#include <stdlib.h>

#include "platform/host_environment.h"

namespace vandrel::platform {

void setHostEnvironment(const std::string& name, const std::string& value) {
  _putenv_s(name.c_str(), value.c_str());
}

// An empty value removes the variable.
void unsetHostEnvironment(const std::string& name) { _putenv_s(name.c_str(), ""); }

}  // namespace vandrel::platform
