// The environment help of the command-line tools: on each kind of machine, only what applies there.
#include "platform/program_start.h"

#include <gtest/gtest.h>

namespace vandrel::platform {
namespace {

TEST(EnvironmentHelp, TheEmulatedMachinesNamesEveryVariable) {
  const std::string expected =
    "Environment:\n"
    "  VANDREL_MACHINE      machine root (default $XDG_DATA_HOME/vandrel/machine, made with the\n"
    "                       win98 preset on first use)\n"
    "  VANDREL_UI           gui, console or scripted (default gui with a display, else console)\n"
    "  VANDREL_ANSWERS      answers file of the scripted interface (default: every question\n"
    "                       takes its default button)\n"
    "  VANDREL_TRANSCRIPT   every dialog shown is appended to this file as one JSON line\n"
    "  VANDREL_LOG          action log: one JSON line per file the setup copies (its decision\n"
    "                       and the rule that made it) and per INI or registry write (with the\n"
    "                       old value), folder, group and shortcut made and [End] command\n"
    "                       started; of the uninstaller, one per thing removed or left (and\n"
    "                       why); of corvix generate, one per file put into the package; then\n"
    "                       a summary (default: beside the transcript when only that is set)\n"
    "  VANDREL_PLAN         1: tamsin32 and peskin32 (also through Setup.exe) run the whole\n"
    "                       install or removal and write the action log of what they would do\n"
    "                       (each line marked \"plan\":true), changing nothing on the machine;\n"
    "                       [End] commands are looked up, not started (default 0: a real run)\n"
    "  VANDREL_RECORD       answers file written from an interactive run, replayable scripted\n"
    "  VANDREL_DIR          tamsin32's destination folder, answering [Wizard] Folder (default:\n"
    "                       the answers file's, else the page's own)\n"
    "  VANDREL_ANSWERS_LENIENT\n"
    "                       1: unknown entries of the answers file are warned about, not\n"
    "                       refused (default 0)\n"
    "  VANDREL_SCREENSHOTS  folder where each window is saved as NNN-<program>-<window>.png\n"
    "Relative paths in these variables are made absolute when a program starts. Setup.exe,\n"
    "tamsin32 and peskin32 also take switches that set them (see their /?).\n";
  EXPECT_EQ(environmentHelp(MachineKind::Emulated), expected);
}

TEST(EnvironmentHelp, WindowsNamesOnlyWhatAppliesThere) {
  const std::string help = environmentHelp(MachineKind::Windows);
  for (const char* linuxOnly : {"VANDREL_MACHINE", "XDG_DATA_HOME", "win98 preset", "VANDREL_PLAN", "with a display",
                                ".png"}) {
    EXPECT_EQ(help.find(linuxOnly), std::string::npos) << linuxOnly << " in\n" << help;
  }
  for (const char* both : {"VANDREL_UI           gui, console or scripted (default gui)\n", "VANDREL_ANSWERS",
                           "VANDREL_TRANSCRIPT", "VANDREL_LOG", "VANDREL_RECORD", "VANDREL_DIR",
                           "VANDREL_ANSWERS_LENIENT", "NNN-<program>-<window>.bmp", "see their /?"}) {
    EXPECT_NE(help.find(both), std::string::npos) << both << " not in\n" << help;
  }
}

TEST(EnvironmentHelp, ThisBuildsHelpIsItsMachines) {
  EXPECT_EQ(environmentHelp(), environmentHelp(kBuildMachine));
}

}  // namespace
}  // namespace vandrel::platform
