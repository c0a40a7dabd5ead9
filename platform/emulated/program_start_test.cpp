// Tests of the shared start-up: relative file names in the environment made absolute, so the
// programs a program starts in other folders still find the same files.
#include "platform/program_start.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

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

}  // namespace
}  // namespace vandrel::platform
