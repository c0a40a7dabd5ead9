// vandrel-state: prints the state a package can leave on the machine the program runs on
// (the emulated machine of VANDREL_MACHINE, or Windows itself), one sorted line each, with
// the layout's folders named, so that the states of two machines can be compared with diff.
#include <CLI/CLI.hpp>

#include <iostream>

#include "platform/program_start.h"
#include "tools/state/state_dump.h"

int main(int argc, char** argv) {
  using namespace vandrel;
  CLI::App app{"Prints the files, folders, shortcuts, win.ini keys and registry keys that a "
               "package can leave on this machine, one line each, sorted. The Windows, system, "
               "Start menu, desktop and favorites folders are always described; paths under "
               "them are named %WINDOWS%, %SYSTEM%, %PROGRAMS%, ...",
               "vandrel-state"};
  state::StateRequest request;
  std::vector<std::string> sameAs;
  app.add_option("--tree", request.trees, "a further folder (Windows path) to describe whole");
  app.add_option("--key", request.keys, "a registry key to describe whole (HKEY_...\\key)");
  app.add_option("--same-as", sameAs,
                 "LABEL=PATH: a file with the contents of PATH is shown as 'same as LABEL'");
  app.add_flag("--skip-blank-lines", request.skipBlankLines,
               "show text files without their empty lines, and number the others");
  CLI11_PARSE(app, argc, argv);
  for (const std::string& pair : sameAs) {
    std::size_t equals = pair.find('=');
    if (equals == std::string::npos || equals == 0) {
      std::cerr << "vandrel-state: --same-as takes LABEL=PATH, not \"" << pair << "\"\n";
      return 2;
    }
    request.sameAs.emplace_back(pair.substr(0, equals), pair.substr(equals + 1));
  }
  std::unique_ptr<platform::Machine> machine = platform::openProgramMachine("vandrel-state", argv[0]);
  if (!machine) return 1;
  std::vector<std::string> lines;
  try {
    lines = state::describeState(*machine, request, state::systemLinkReader(*machine));
  } catch (const std::runtime_error& error) {
    std::cerr << "vandrel-state: " << error.what() << '\n';
    return 1;
  }
  for (const std::string& line : lines) std::cout << line << '\n';
  std::cout.flush();
  return std::cout ? 0 : 1;
}
