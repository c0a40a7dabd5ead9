#include "builder/cli/command_line.h"

#include <CLI/CLI.hpp>

namespace vandrel::builder::cli {

void CommandLine::argument(const char* name, std::string& value, const char* help) {
  app_.add_option(name, value, help)->required();
}

void CommandLine::argument(const char* name, std::vector<std::string>& values, const char* help) {
  app_.add_option(name, values, help)->required();
}

void CommandLine::option(const char* name, std::string& value, const char* help) {
  app_.add_option(name, value, help);
}

void CommandLine::option(const char* name, std::optional<std::string>& value, const char* help) {
  app_.add_option(name, value, help);
}

void CommandLine::option(const char* name, std::optional<int>& value, const char* help, int low,
                         int high) {
  app_.add_option(name, value, help)->check(CLI::Range(low, high));
}

void CommandLine::option(const char* name, std::vector<std::string>& values, const char* help) {
  app_.add_option(name, values, help)->allow_extra_args(false);
}

void CommandLine::requiredOption(const char* name, std::string& value, const char* help) {
  app_.add_option(name, value, help)->required();
}

void CommandLine::flag(const char* name, bool& value, const char* help) {
  app_.add_flag(name, value, help);
}

}  // namespace vandrel::builder::cli
