// Tests of the shared start-up: relative file names in the environment made absolute, so the
// programs a program starts in other folders still find the same files, and the command line
// made of the program's arguments.
#include "platform/program_start.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace vandrel::platform {
namespace {

TEST(ProgramStart, RelativeEnvironmentPathsBecomeAbsolute) {
  struct Case {
    const char* name;
    const char* value;     // nullptr: unset
    const char* expected;  // relative to the current folder when it does not start with '/'
  };
  const Case cases[] = {
      {"VANDREL_ANSWERS", "answers.ini", "answers.ini"},
      {"VANDREL_TRANSCRIPT", "./logs/../run.jsonl", "run.jsonl"},
      {"VANDREL_LOG", "/var/tmp/actions.jsonl", "/var/tmp/actions.jsonl"},
      {"VANDREL_RECORD", "rec/answers.ini", "rec/answers.ini"},
      {"VANDREL_MACHINE", "machines/m", "machines/m"},
      {"VANDREL_SCREENSHOTS", "", ""},
      {"VANDREL_UI", "scripted", "scripted"},  // not a path: left alone
  };
  for (const Case& c : cases) ::setenv(c.name, c.value, 1);
  makeEnvironmentPathsAbsolute();
  const std::filesystem::path here = std::filesystem::current_path();
  for (const Case& c : cases) {
    std::string expected = c.expected;
    bool path = std::string(c.name) != "VANDREL_UI" && !expected.empty() && expected[0] != '/';
    if (path) expected = (here / expected).string();
    EXPECT_EQ(std::getenv(c.name), expected) << c.name;
    ::unsetenv(c.name);
  }
}

// The command line made of a program's arguments.
std::string lineOf(std::vector<std::string> arguments) {
  std::vector<char*> argv{const_cast<char*>("program")};
  for (std::string& argument : arguments) argv.push_back(argument.data());
  return commandLineFrom(static_cast<int>(argv.size()), argv.data());
}

TEST(ProgramStart, TheShellsWordsMakeTheWindowsCommandLine) {
  // A path's blanks stay as they were: the programs read the rest of the line as one path.
  EXPECT_EQ(lineOf({"C:\\Program", "Files\\Demo"}), "C:\\Program Files\\Demo");
  EXPECT_EQ(lineOf({"/S", "C:\\Program Files\\Demo"}), "/S C:\\Program Files\\Demo");
  // One word of the shell that is a switch with blanks in its value stays one switch.
  EXPECT_EQ(lineOf({"--answers=/tmp/my answers.ini", "--silent"}), "--answers=\"/tmp/my answers.ini\" --silent");
  EXPECT_EQ(lineOf({"/DIR=C:\\Program Files\\App"}), "/DIR=\"C:\\Program Files\\App\"");
  // A whole Windows command line as one argument (a program started inside the machine) is
  // taken as it is.
  for (const char* line : {"/S /LOG=C:\\install.jsonl /?", "/LOG=C:\\install.jsonl /?",
                           "/LOG=C:\\l.jsonl C:\\Pkg\\", "/ANSWERS=\"C:\\My Files\\a.ini\" /S",
                           "--log=l.jsonl \\\\server\\share\\"}) {
    EXPECT_EQ(lineOf({line}), line);
  }
}

}  // namespace
}  // namespace vandrel::platform
