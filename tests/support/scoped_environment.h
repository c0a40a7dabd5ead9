// Environment variables set for one test, their old values put back when it ends.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace vandrel::test {

class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  ~ScopedEnvironment();

  // Sets name to value; an empty value removes the variable.
  void set(const std::string& name, const std::string& value);

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace vandrel::test
