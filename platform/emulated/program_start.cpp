// The command line and the machine of a starting program, on the emulated backend.
#include "platform/program_start.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

namespace vandrel::platform {

std::string commandLineFrom(int argc, char** argv) {
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine += ' ';
    commandLine += argv[i];
  }
  return commandLine;
}

const char* const kEnvironmentHelp =
    "Environment:\n"
    "  VANDREL_MACHINE      machine root (default $XDG_DATA_HOME/vandrel/machine, made with the\n"
    "                       win98 preset on first use)\n"
    "  VANDREL_UI           gui, console or scripted (default gui with a display, else console)\n"
    "  VANDREL_ANSWERS      answers file of the scripted interface (default: every question\n"
    "                       takes its default button)\n"
    "  VANDREL_TRANSCRIPT   every dialog shown is appended to this file as one JSON line\n"
    "  VANDREL_LOG          action log: one JSON line per file the setup copies (its decision\n"
    "                       and the rule that made it) and per INI or registry write (with the\n"
    "                       old value), folder created and [End] command started; of the\n"
    "                       uninstaller, one per thing removed or left\n"
    "                       (and why); then a summary (default: beside the transcript when\n"
    "                       only that is set)\n"
    "  VANDREL_RECORD       answers file written from an interactive run, replayable scripted\n"
    "  VANDREL_SCREENSHOTS  folder where each window is saved as NNN-<program>-<window>.png\n"
    "Relative paths in these variables are made absolute when a program starts.\n";

const char* const kEngineExitHelp =
    "Exit status of tamsin32 (and of Setup.exe, which passes it on): 0 when the closing\n"
    "dialog reported success (status 4); 10 + the status code for every other status; 1 when\n"
    "it ended before any closing dialog.\n"
    "Exit status of peskin32: 0 after string 215 and in clean-up mode; 3 after string 224;\n"
    "4 after string 206; 5 when the user declined the removal; 1 after a stop message.\n";

void makeEnvironmentPathsAbsolute() {
  static const char* const kNames[] = {"VANDREL_MACHINE", "VANDREL_ANSWERS",
                                       "VANDREL_TRANSCRIPT", "VANDREL_LOG",
                                       "VANDREL_RECORD", "VANDREL_SCREENSHOTS"};
  for (const char* name : kNames) {
    const char* value = std::getenv(name);
    if (!value || !*value) continue;
    std::filesystem::path path(value);
    if (path.is_absolute()) continue;
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (!error) ::setenv(name, absolute.lexically_normal().c_str(), 1);
  }
}

std::string newMachineNotice(const std::string& program, const std::filesystem::path& root) {
  const char* named = std::getenv("VANDREL_MACHINE");
  std::string why = named && *named ? "VANDREL_MACHINE names a missing or empty folder"
                                    : "there was no default machine yet";
  return program + ": made a new machine (win98 preset) in " + root.string() + ": " + why;
}

std::unique_ptr<Machine> openProgramMachine(const std::string& program, const char* argv0,
                                            bool hostDriveWritable) {
  makeEnvironmentPathsAbsolute();
  MachineOptions options;
  options.madeNewMachine = [&program](const std::filesystem::path& root) {
    std::cerr << newMachineNotice(program, root) << '\n';
  };
  options.hostDriveWritable = hostDriveWritable;
  std::error_code error;
  options.executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) options.executable = std::filesystem::absolute(argv0, error);
  try {
    return openHostMachine(options);
  } catch (const MachineError& failure) {
    std::cerr << program << ": " << failure.what() << '\n';
    return nullptr;
  }
}

}  // namespace vandrel::platform
