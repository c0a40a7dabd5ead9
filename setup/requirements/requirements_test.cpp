// The requirements check against machine identities and script settings.
#include "setup/requirements/requirements.h"

#include <gtest/gtest.h>

#include "setup/setup_app.h"
#include "setup/strings/setup_strings.h"
#include "setup/testing/machine_fixture.h"
#include "tests/support/fake_interaction.h"

namespace vandrel::setup {
namespace {

using platform::emulated::Preset;
using test::FakeInteraction;
using testing::MachineFixture;

struct Case {
  const char* name;
  Preset preset;
  std::vector<std::pair<std::string, std::string>> identity;
  std::string settings;  // [Settings] lines
  std::vector<ui::Answer> answers;
  int status;
  std::vector<std::string> questions;  // texts asked, in order
  int platform;
};

const char* kNotIntel =
    "Warning : The software you are about to install may have been designed to run with an "
    "Intel processor. Do you still wish to procced ?";

std::vector<Case> cases() {
  using A = ui::Answer;
  return {
      {"plain win98", Preset::Win98, {}, "", {}, 0, {}, 3},
      {"plain nt4", Preset::NT4, {}, "", {}, 0, {}, 2},
      {"NT required on 98, No", Preset::Win98, {}, "minWin=NT\r\n", {A::No}, 3,
       {"The software you are about to install is designed to run under Windows NT. You may "
        "complete the setup but the software may not run correctly. Do you still wish to "
        "proceed ?"}, 3},
      {"NT required on 98, Yes", Preset::Win98, {}, "minWin=nt\r\n", {A::Yes}, 0, {"*"}, 3},
      {"95 on NT passes", Preset::NT4, {}, "minWin=95\r\n", {}, 0, {}, 2},
      {"NT4 is not enforced", Preset::Win95, {}, "minWin=NT4\r\n", {}, 0, {}, 3},
      {"486 on a 386, No", Preset::Win98, {{"ProcessorType", "386"}}, "minCpu=486\r\n", {A::No}, 7,
       {"The software you are about to install was designed to work with an Intel processor type "
        "486. Do you still wish to proceed ?"}, 3},
      {"586 on a 486, Yes", Preset::Win98, {{"ProcessorType", "486"}}, "minCpu=586\r\n", {A::Yes},
       0, {"*"}, 3},
      {"486 on a 486", Preset::Win98, {{"ProcessorType", "486"}}, "minCpu=486\r\n", {}, 0, {}, 3},
      {"non-Intel, No", Preset::Win98, {{"Architecture", "6"}}, "", {A::No}, 6, {kNotIntel}, 0},
      {"non-Intel, Yes, no processor check", Preset::Win98,
       {{"Architecture", "6"}, {"ProcessorType", "386"}}, "minCpu=586\r\n", {A::Yes}, 0,
       {kNotIntel}, 3},
      {"Win32s is fatal", Preset::Win95, {{"Platform", "0"}}, "", {}, 1,
       {"!This Vandrel setup assistant has been designed for full 32-bit systems (Windows "
        "95/98/NT and up). Please run setup on an other computer or upgrade your current system."},
       1},
      {"unknown platform is fatal", Preset::Win95, {{"platformId", "7"}}, "", {}, 1,
       {"!Fatal Error: Vandrel didn't succeed to determine which system your computer is running. "
        "Vandrel is designed to run on Intel based computers and will now exit."},
       0},
      {"older build, No", Preset::Win98, {{"Build", "2222"}}, "nCompil=1998\r\n", {A::No}, 3,
       {"The software you are about to install is designed to run under the current Windows "
        "version, but with a build number equal to 1998. Continue anyway ?"}, 3},
      {"older build, Yes", Preset::Win98, {{"Build", "2222"}}, "nCompil=1998\r\n", {A::Yes}, 0,
       {"*"}, 3},
      {"same build", Preset::Win98, {{"Build", "2222"}}, "nCompil=2222\r\n", {}, 0, {}, 3},
      {"newer build", Preset::Win98, {{"Build", "2222"}}, "nCompil=3000\r\n", {}, 0, {}, 3},
      {"build asked after a version Yes", Preset::Win98, {{"Build", "2222"}},
       "minWin=NT\r\nnCompil=100\r\n", {A::Yes, A::No}, 3, {"*", "*"}, 3},
      {"no build question while a refusal stands", Preset::Win98,
       {{"Build", "2222"}, {"ProcessorType", "386"}}, "minCpu=486\r\nnCompil=100\r\n", {A::No}, 7,
       {"*"}, 3},
  };
}

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class RequirementsTest : public ::testing::TestWithParam<Case> {};

TEST_P(RequirementsTest, StatusAndQuestions) {
  const Case& c = GetParam();
  MachineFixture machine(c.preset);
  for (const auto& [key, value] : c.identity) {
    // machine.ini holds only real platforms; another one is reported by the wrapper.
    if (key == "platformId") {
      machine.recordedSystem().platformId = static_cast<std::uint32_t>(std::stoul(value));
    } else {
      machine.setIdentity(key, value);
    }
  }
  std::string windows = machine.system().windowsDirectory();
  machine.put(windows + "\\Script.vrx",
              "[Settings]\r\nAppName=Tool\r\n" + c.settings + "[Directories]\r\nnbDir=4\r\n");
  FakeInteraction ui;
  ui.answers.assign(c.answers.begin(), c.answers.end());
  SetupApp app(machine, ui, setupStrings());
  app.script().setPath(windows + "\\Script.vrx");
  app.state().appName = "Tool";

  SetupDialogs dialogs = app.dialogs();
  EXPECT_EQ(checkRequirements(app.script(), machine.system(), dialogs, app.state()), c.status);
  EXPECT_EQ(app.state().platform, c.platform);
  ASSERT_EQ(ui.messages.size(), c.questions.size());
  for (std::size_t i = 0; i < c.questions.size(); ++i) {
    const ui::Message& m = ui.messages[i];
    std::string expected = c.questions[i];
    if (!expected.empty() && expected[0] == '!') {
      EXPECT_EQ(m.icon, ui::Icon::Stop);
      EXPECT_EQ(m.buttons, ui::Buttons::OK);
      expected = expected.substr(1);
    } else {
      EXPECT_EQ(m.icon, ui::Icon::Question);
      EXPECT_EQ(m.buttons, ui::Buttons::YesNo);
    }
    if (expected != "*") {
      EXPECT_EQ(m.text, expected);
    }
    EXPECT_EQ(m.caption, "Tool");
  }
}

INSTANTIATE_TEST_SUITE_P(Identities, RequirementsTest, ::testing::ValuesIn(cases()),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& ch : name) {
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           }
                           return name;
                         });

TEST(RequirementsScript, MissingOrZeroDirectoryCountIsIncompleteBeforeAnyQuestion) {
  for (std::string directories : {"", "[Directories]\r\nnbDir=0\r\n", "[Directories]\r\nnbDir=x\r\n"}) {
    MachineFixture machine;
    machine.setIdentity("Architecture", "5");  // would ask a question if the check went on
    machine.put("C:\\WINDOWS\\Script.vrx", "[Settings]\r\nminWin=NT\r\n" + directories);
    FakeInteraction ui;
    SetupApp app(machine, ui, setupStrings());
    app.script().setPath("C:\\WINDOWS\\Script.vrx");
    SetupDialogs dialogs = app.dialogs();
    EXPECT_EQ(checkRequirements(app.script(), machine.system(), dialogs, app.state()),
              status::Incomplete)
        << directories;
    EXPECT_TRUE(ui.messages.empty()) << directories;
  }
}

TEST(RequirementsScript, VersionIndexTakesTheLastMatchWithoutRegardToCase) {
  EXPECT_EQ(requiredVersionIndex("3.1,3.11,Win32s,95,NT", "win32S"), 3);
  EXPECT_EQ(requiredVersionIndex("3.1,3.11,Win32s,95,NT", "NT4"), 0);
  EXPECT_EQ(requiredVersionIndex("3.1,3.11,Win32s,95,NT", ""), 0);
  EXPECT_EQ(requiredVersionIndex("NT,3.11,Win32s,95,nt", "NT"), 5);
}

}  // namespace
}  // namespace vandrel::setup
