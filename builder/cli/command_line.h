// The options and arguments a corvix subcommand declares. The command-line parser is seen only
// by command_line.cpp and main.cpp: its header defines much inline code, and compiling it in
// every subcommand's file made most of their build time.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace vandrel::builder::cli {

class CommandLine {
 public:
  explicit CommandLine(CLI::App& app) : app_(app) {}

  // A positional argument that must be given.
  void argument(const char* name, std::string& value, const char* help);
  // Positional arguments taking the remaining words; at least one must be given.
  void argument(const char* name, std::vector<std::string>& values, const char* help);

  // --name VALUE.
  void option(const char* name, std::string& value, const char* help);
  void option(const char* name, std::optional<std::string>& value, const char* help);
  // --name VALUE, a whole number from low to high.
  void option(const char* name, std::optional<int>& value, const char* help, int low, int high);
  // --name VALUE, repeatable: one value each time it is given.
  void option(const char* name, std::vector<std::string>& values, const char* help);
  // --name VALUE that must be given.
  void requiredOption(const char* name, std::string& value, const char* help);

  // --name, set when given.
  void flag(const char* name, bool& value, const char* help);

 private:
  CLI::App& app_;
};

}  // namespace vandrel::builder::cli
