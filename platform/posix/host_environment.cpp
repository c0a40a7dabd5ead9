// The process's environment on POSIX systems.
#include <cstdlib>

#include "platform/host_environment.h"

namespace vandrel::platform {

void setHostEnvironment(const std::string& name, const std::string& value) {
  ::setenv(name.c_str(), value.c_str(), 1);
}

void unsetHostEnvironment(const std::string& name) { ::unsetenv(name.c_str()); }

}  // namespace vandrel::platform
