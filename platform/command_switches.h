// The switches the setup engine, the uninstaller and the package starter refuse: a request
// for help or a switch they do not take is answered with a short usage text and the usage
// status before the program opens its machine, so that nothing is changed.
#pragma once

#include <string>
#include <vector>

namespace vandrel::platform {

// The exit status of a refused command line.
inline constexpr int kUsageStatus = 2;

enum class CommandLineVerdict { Run, Help, UnknownSwitch };

struct CommandLineCheck {
  CommandLineVerdict verdict = CommandLineVerdict::Run;
  std::string word;  // the switch refused, or the help request
};

// Looks at the first word of a command line. "--help", "-h", "-?" and "/?" ask for help; any
// other word beginning with "/" or "-" is a switch, unknown unless it is one of known
// (compared without regard to case). Anything else runs: an empty line, a Windows path
// ("C:\Pkg\", "\\server\share\", a quoted path), which the program reads as it always has.
CommandLineCheck checkCommandLine(const std::string& commandLine,
                                  const std::vector<std::string>& known = {});

// Answers a command line that does not run: the usage text on standard output for a help
// request; "<program>: unknown switch <word>" and the usage text on standard error for an
// unknown switch. Returns kUsageStatus.
int refuseCommandLine(const std::string& program, const CommandLineCheck& check,
                      const std::string& usage);

}  // namespace vandrel::platform
