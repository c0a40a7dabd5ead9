#include "tests/support/scoped_environment.h"

#include <cstdlib>

#include "platform/host_environment.h"

namespace vandrel::test {

namespace {

void put(const std::string& name, const std::optional<std::string>& value) {
  if (value && !value->empty()) {
    platform::setHostEnvironment(name, *value);
  } else {
    platform::unsetHostEnvironment(name);
  }
}

}  // namespace

void ScopedEnvironment::set(const std::string& name, const std::string& value) {
  if (!saved_.count(name)) {
    const char* old = std::getenv(name.c_str());
    saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
  }
  put(name, value);
}

ScopedEnvironment::~ScopedEnvironment() {
  for (const auto& [name, value] : saved_) put(name, value);
}

}  // namespace vandrel::test
