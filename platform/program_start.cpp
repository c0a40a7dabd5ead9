// What a starting program does on every backend: the help texts, the environment's paths made
// absolute, the plan setting.
#include "platform/program_start.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/exit_statuses.h"
#include "platform/host_environment.h"

namespace vandrel::platform {

namespace {

// One variable of the help: its name, its text on each kind of machine (empty: it does not
// apply there), lines after the first indented under the text's column.
struct EnvironmentRow {
  const char* name;
  const char* emulated;
  const char* windows;
};

constexpr EnvironmentRow kEnvironmentRows[] = {
    {"VANDREL_MACHINE",
     "machine root (default $XDG_DATA_HOME/vandrel/machine, made with the\n"
     "win98 preset on first use)",
     ""},
    {"VANDREL_UI", "gui, console or scripted (default gui with a display, else console)",
     "gui, console or scripted (default gui)"},
    {"VANDREL_ANSWERS",
     "answers file of the scripted interface (default: every question\n"
     "takes its default button)",
     nullptr},
    {"VANDREL_TRANSCRIPT", "every dialog shown is appended to this file as one JSON line", nullptr},
    {"VANDREL_LOG",
     "action log: one JSON line per file the setup copies (its decision\n"
     "and the rule that made it) and per INI or registry write (with the\n"
     "old value), folder, group and shortcut made and [End] command\n"
     "started; of the uninstaller, one per thing removed or left (and\n"
     "why); of corvix generate, one per file put into the package; then\n"
     "a summary (default: beside the transcript when only that is set)",
     nullptr},
    {"VANDREL_PLAN",
     "1: tamsin32 and peskin32 (also through Setup.exe) run the whole\n"
     "install or removal and write the action log of what they would do\n"
     "(each line marked \"plan\":true), changing nothing on the machine;\n"
     "[End] commands are looked up, not started (default 0: a real run)",
     ""},
    {"VANDREL_RECORD", "answers file written from an interactive run, replayable scripted", nullptr},
    {"VANDREL_DIR",
     "tamsin32's destination folder, answering [Wizard] Folder (default:\n"
     "the answers file's, else the page's own)",
     nullptr},
    {"VANDREL_ANSWERS_LENIENT",
     "1: unknown entries of the answers file are warned about, not\n"
     "refused (default 0)",
     nullptr},
    {"VANDREL_SCREENSHOTS", "folder where each window is saved as NNN-<program>-<window>.png",
     "folder where each window is saved as NNN-<program>-<window>.bmp"},
};

// The text's lines, the first after the name (or on a line of its own under a long name),
// the others under it.
std::string environmentLine(const char* name, const std::string& text) {
  constexpr std::size_t kColumn = 23;
  std::string out = "  " + std::string(name);
  out += out.size() < kColumn ? std::string(kColumn - out.size(), ' ') : "\n" + std::string(kColumn, ' ');
  for (char c : text) {
    out += c;
    if (c == '\n') out += std::string(kColumn, ' ');
  }
  return out + "\n";
}

}  // namespace

std::string environmentHelp(MachineKind machine) {
  std::string help = "Environment:\n";
  for (const EnvironmentRow& row : kEnvironmentRows) {
    // nullptr: the same text on both kinds of machine.
    const char* text = machine == MachineKind::Windows && row.windows ? row.windows : row.emulated;
    if (*text) help += environmentLine(row.name, text);
  }
  return help +
         "Relative paths in these variables are made absolute when a program starts. Setup.exe,\n"
         "tamsin32 and peskin32 also take switches that set them (see their /?).\n";
}

std::string engineExitHelp() {
  return exitStatusHelp("tamsin32", "Exit status of tamsin32 (and of Setup.exe, which passes it on):") +
         exitStatusHelp("peskin32", "Exit status of peskin32:");
}

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
    if (!error) setHostEnvironment(name, absolute.lexically_normal().string());
  }
}

PlanSetting planSetting() {
  const char* value = std::getenv("VANDREL_PLAN");
  if (!value || !*value || std::strcmp(value, "0") == 0) return PlanSetting::Off;
  return std::strcmp(value, "1") == 0 ? PlanSetting::On : PlanSetting::Invalid;
}

}  // namespace vandrel::platform
