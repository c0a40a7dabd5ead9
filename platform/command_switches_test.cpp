// Which command lines the engine, the uninstaller and the starter refuse.
#include "platform/command_switches.h"

#include <gtest/gtest.h>

namespace vandrel::platform {
namespace {

TEST(CommandSwitches, HelpRequestsAndUnknownSwitchesAreRefused) {
  for (const char* help : {"--help", "-h", "/?", "-?", "  --HELP  ", "/? C:\\Pkg\\"}) {
    EXPECT_EQ(checkCommandLine(help).verdict, CommandLineVerdict::Help) << help;
  }
  // Each line with the word refused: the first switch the programs do not take.
  const std::pair<const char*, const char*> unknown[] = {
      {"/Q", "/Q"}, {"--quiet", "--quiet"}, {"-x", "-x"}, {"/LOGFILE=C:\\log.txt", "/LOGFILE=C:\\log.txt"},
      {"/DeleteTemp", "/DeleteTemp"}, {"/S=1", "/S=1"}, {"--plan=0", "--plan=0"},
      {"/S /X C:\\Pkg\\", "/X"}};
  for (const auto& [line, word] : unknown) {
    CommandLineCheck check = checkCommandLine(line);
    EXPECT_EQ(check.verdict, CommandLineVerdict::UnknownSwitch) << line;
    EXPECT_EQ(check.word, word);
    EXPECT_TRUE(check.given.empty()) << line;
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

namespace vandrel::platform {
namespace {

// The variable each switch given sets, and the value.
std::vector<std::string> settings(const CommandLineCheck& check) {
  std::vector<std::string> lines;
  for (const auto& [known, value] : check.given) lines.push_back(std::string(known->variable) + "=" + value);
  return lines;
}

TEST(CommandSwitches, BothSpellingsSetTheSameVariables) {
  CommandLineCheck windows = checkCommandLine("/S /ANSWERS=C:\\a.ini /LOG=C:\\l.jsonl /TRANSCRIPT=t /RECORD=r "
                                              "/PLAN /DIR=C:\\App /MACHINE=m /LENIENT");
  CommandLineCheck linux = checkCommandLine("--silent --answers=C:\\a.ini --log=C:\\l.jsonl --transcript=t "
                                            "--record=r --plan --dir=C:\\App --machine=m --lenient");
  std::vector<std::string> expected = {"VANDREL_UI=scripted", "VANDREL_ANSWERS=C:\\a.ini",
                                       "VANDREL_LOG=C:\\l.jsonl", "VANDREL_TRANSCRIPT=t",
                                       "VANDREL_RECORD=r", "VANDREL_PLAN=1", "VANDREL_DIR=C:\\App",
                                       "VANDREL_MACHINE=m", "VANDREL_ANSWERS_LENIENT=1"};
  EXPECT_EQ(windows.verdict, CommandLineVerdict::Run);
  EXPECT_EQ(settings(windows), expected);
  EXPECT_EQ(linux.verdict, CommandLineVerdict::Run);
  EXPECT_EQ(settings(linux), expected);
  EXPECT_EQ(windows.rest, "");
  // Names in any case; the values as typed.
  EXPECT_EQ(settings(checkCommandLine("/s /answers=A.ini --SILENT")),
            (std::vector<std::string>{"VANDREL_UI=scripted", "VANDREL_ANSWERS=A.ini", "VANDREL_UI=scripted"}));
}

TEST(CommandSwitches, AQuotedValueMayHoldBlanks) {
  CommandLineCheck check = checkCommandLine("/ANSWERS=\"C:\\My Files\\a.ini\" \"C:\\Pkg Dir\\\"");
  EXPECT_EQ(settings(check), (std::vector<std::string>{"VANDREL_ANSWERS=C:\\My Files\\a.ini"}));
  EXPECT_EQ(check.rest, "\"C:\\Pkg Dir\\\"");
  // A word that opens with a quote is a quoted path, never a switch: the value is quoted.
  CommandLineCheck quotedWord = checkCommandLine("\"/DIR=C:\\Program Files\\App\"");
  EXPECT_EQ(quotedWord.verdict, CommandLineVerdict::Run);
  EXPECT_TRUE(quotedWord.given.empty());
}

TEST(CommandSwitches, TheProgramsOwnCommandLineFollowsTheSwitches) {
  // The first word that is no switch, and all after it, is the program's: a source folder, an
  // installation folder (blanks and all), the uninstaller's clean-up switch.
  EXPECT_EQ(checkCommandLine("/S C:\\Pkg\\").rest, "C:\\Pkg\\");
  EXPECT_EQ(checkCommandLine("--silent   C:\\Program Files\\Demo -x").rest, "C:\\Program Files\\Demo -x");
  EXPECT_EQ(checkCommandLine("/S /DeleteTemp", {"/DeleteTemp"}).rest, "/DeleteTemp");
  EXPECT_EQ(checkCommandLine("/S \\\\server\\share\\").rest, "\\\\server\\share\\");
  // Without a switch the line is handed on exactly as it came.
  EXPECT_EQ(checkCommandLine("  C:\\Pkg\\ ").rest, "  C:\\Pkg\\ ");
  EXPECT_EQ(checkCommandLine("/DeleteTemp", {"/DeleteTemp"}).rest, "/DeleteTemp");
  EXPECT_EQ(checkCommandLine("").rest, "");
}

TEST(CommandSwitches, HelpAnywhereAmongTheSwitchesAndMissingValuesAreRefused) {
  EXPECT_EQ(checkCommandLine("/S /ANSWERS=a.ini /?").verdict, CommandLineVerdict::Help);
  EXPECT_EQ(checkCommandLine("--silent --help").verdict, CommandLineVerdict::Help);
  // After the program's own command line has begun, a help word is part of it.
  EXPECT_EQ(checkCommandLine("C:\\Pkg\\ /?").verdict, CommandLineVerdict::Run);
  for (const char* line : {"/ANSWERS", "--answers=", "/S /LOG", "--dir=\"\""}) {
    CommandLineCheck check = checkCommandLine(line);
    EXPECT_EQ(check.verdict, CommandLineVerdict::MissingValue) << line;
    EXPECT_TRUE(check.given.empty()) << line;
  }
}

TEST(CommandSwitches, TheUsageListsEverySwitchInBothSpellings) {
  std::string usage = switchUsage();
  for (const CommandSwitch& known : commandSwitches()) {
    EXPECT_NE(usage.find(known.windowsName), std::string::npos) << known.windowsName;
    EXPECT_NE(usage.find(known.linuxName), std::string::npos) << known.linuxName;
  }
  EXPECT_NE(usage.find("/?, --help"), std::string::npos);
}

}  // namespace
}  // namespace vandrel::platform
