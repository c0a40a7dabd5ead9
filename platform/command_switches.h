// The switches of the setup engine, the uninstaller and the package starter: read from the
// front of the command line, each set as the environment variable it stands for, before the
// program opens its machine; a help request or a switch they do not take is answered with
// the usage text and the usage status, so that nothing is changed.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vandrel::platform {

// The exit status of a refused command line (and of a refused answers file).
inline constexpr int kUsageStatus = 2;

// One switch, in its Windows spelling ("/ANSWERS") and its Linux spelling ("--answers"); a
// switch with a value is written NAME=VALUE in both.
struct CommandSwitch {
  const char* windowsName;
  const char* linuxName;
  const char* valueName;  // "FILE", "FOLDER"; null for a switch without a value
  const char* variable;   // the environment variable it sets
  const char* setting;    // the value it sets for a switch without a value ("scripted", "1")
  const char* help;       // one line for the usage text
};

// Every switch, in the order the usage texts list them.
const std::vector<CommandSwitch>& commandSwitches();

// The words that ask for help, whatever else the line holds.
const std::vector<std::string>& helpSwitches();

enum class CommandLineVerdict { Run, Help, UnknownSwitch, MissingValue };

struct CommandLineCheck {
  CommandLineVerdict verdict = CommandLineVerdict::Run;
  std::string word;  // the switch refused, or the help request
  // The switches given, in order: each with the value it sets its variable to.
  std::vector<std::pair<const CommandSwitch*, std::string>> given;
  // What the program reads as its own command line: the words after the switches, as typed
  // (the whole line when no switch was given).
  std::string rest;
};

// Reads the switches at the front of a command line. A word is a switch when it begins with
// "/" or "-": "--help", "-h", "-?" and "/?" ask for help; one of commandSwitches() (names
// compared without regard to case, a value after "=", a value in double quotes may hold
// blanks) is taken and the next word is looked at; one of the program's own switches (known,
// such as the uninstaller's "/DeleteTemp") ends the switches and is the program's to read;
// any other is an unknown switch. The first word that is not a switch ends them too: an empty
// line, a Windows path ("C:\Pkg\", "\\server\share\", a quoted path), which the program reads
// as it always has.
CommandLineCheck checkCommandLine(const std::string& commandLine,
                                  const std::vector<std::string>& known = {});

// Sets the environment variable of each switch given, so that this program and the programs
// it starts (the engine the starter expands) see them as if the variables had been set.
void applySwitches(const CommandLineCheck& check);

// The usage lines of the switches, one or two a switch: for the programs' usage texts.
std::string switchUsage();

// Answers a command line that does not run: the usage text on standard output for a help
// request; "<program>: unknown switch <word>" (or "<program>: the switch <word> needs a
// value") and the usage text on standard error otherwise. Returns kUsageStatus.
int refuseCommandLine(const std::string& program, const CommandLineCheck& check,
                      const std::string& usage);

}  // namespace vandrel::platform
