// Which command lines the engine, the uninstaller and the starter refuse.
#include "platform/command_switches.h"

#include <gtest/gtest.h>

namespace vandrel::platform {
namespace {

TEST(CommandSwitches, HelpRequestsAndUnknownSwitchesAreRefused) {
  for (const char* help : {"--help", "-h", "/?", "-?", "  --HELP  ", "/? C:\\Pkg\\"}) {
    EXPECT_EQ(checkCommandLine(help).verdict, CommandLineVerdict::Help) << help;
  }
  for (const char* unknown : {"/S", "--silent", "-x", "/LOG=C:\\log.txt", "/DeleteTemp"}) {
    CommandLineCheck check = checkCommandLine(unknown);
    EXPECT_EQ(check.verdict, CommandLineVerdict::UnknownSwitch) << unknown;
    EXPECT_EQ(check.word, unknown);
  }
}

TEST(CommandSwitches, ThePathsAndOwnSwitchesOfTheProgramsStillRun) {
  for (const char* line : {"", "   ", "C:\\Pkg\\", "Z:\\tmp\\pkg\\", "C:\\Program Files\\Demo",
                           "\\\\server\\share\\", "\"C:\\Program Files\\Demo\\\"", "C:\\a -b"}) {
    EXPECT_EQ(checkCommandLine(line).verdict, CommandLineVerdict::Run) << line;
  }
  // The uninstaller's clean-up switch in any case; followed by more it still goes to the
  // program, which takes the whole line as a folder.
  for (const char* line : {"/DeleteTemp", "/deletetemp", "/DELETETEMP", "/DeleteTemp x"}) {
    EXPECT_EQ(checkCommandLine(line, {"/DeleteTemp"}).verdict, CommandLineVerdict::Run) << line;
  }
}

}  // namespace
}  // namespace vandrel::platform
