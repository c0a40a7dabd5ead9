// Tests of the choice of backend from the settings and the environment.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/scoped_environment.h"
#include "tests/support/temp_dir.h"
#include "ui/console_interaction.h"
#include "ui/gui_reach.h"
#include "ui/interaction.h"
#include "ui/scripted_interaction.h"
#include "ui/transcript_recorder.h"
#include "ui/ui_test_support.h"

namespace vandrel::ui {
namespace {

using Environment = test::ScopedEnvironment;

class MarkerBackend : public ScriptedInteraction {};

TEST(InteractionSettings, ReadFromTheEnvironment) {
  Environment env;
  env.set("VANDREL_UI", "Scripted");
  env.set("VANDREL_ANSWERS", "/tmp/a.ini");
  env.set("VANDREL_TRANSCRIPT", "/tmp/t.jsonl");
  InteractionSettings settings = InteractionSettings::fromEnvironment();
  EXPECT_EQ(settings.backend, "scripted");
  EXPECT_EQ(settings.answersFile, "/tmp/a.ini");
  EXPECT_EQ(settings.transcriptFile, "/tmp/t.jsonl");

  env.set("VANDREL_UI", "");
  env.set("DISPLAY", "");
  env.set("WAYLAND_DISPLAY", "");
  env.set("QT_QPA_PLATFORM", "");
  EXPECT_EQ(InteractionSettings::fromEnvironment().backend, "console");
  EXPECT_FALSE(InteractionSettings::fromEnvironment().backendNamed);
  env.set("QT_QPA_PLATFORM", "offscreen");
  EXPECT_EQ(InteractionSettings::fromEnvironment().backend, "gui");
  env.set("QT_QPA_PLATFORM", "");
  env.set("WAYLAND_DISPLAY", "wayland-0");
  EXPECT_EQ(InteractionSettings::fromEnvironment().backend, "gui");

  env.set("VANDREL_UI", "fancy");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(InteractionSettings::fromEnvironment().backend, "gui");
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("fancy"), std::string::npos);
}

TEST(MakeInteraction, ScriptedWithAnswersAndTranscript) {
  test::TempDir dir;
  test::writeFile(dir / "answers.ini", "[Answers]\r\n1=No\r\n");
  InteractionSettings settings{"scripted", (dir / "answers.ini").string(),
                               (dir / "t.jsonl").string(), ""};
  std::unique_ptr<Interaction> ui = makeInteraction(Program::Builder, settings);
  EXPECT_NE(dynamic_cast<TranscriptRecorder*>(ui.get()), nullptr);
  EXPECT_EQ(ui->message(testing::question(Buttons::YesNo)), Answer::No);
  std::string transcript = test::readFile(dir / "t.jsonl");
  EXPECT_NE(transcript.find("\"program\":\"builder\""), std::string::npos) << transcript;
  EXPECT_NE(transcript.find("\"answer\":\"No\""), std::string::npos) << transcript;
}

TEST(MakeInteraction, UnreadableAnswersFileGivesDefaults) {
  InteractionSettings settings{"scripted", "/nonexistent/answers.ini", "", ""};
  ::testing::internal::CaptureStderr();
  std::unique_ptr<Interaction> ui = makeInteraction(Program::Setup, settings);
  std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("/nonexistent/answers.ini"), std::string::npos);
  EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line: " << said;
  ASSERT_NE(dynamic_cast<ScriptedInteraction*>(ui.get()), nullptr);
  EXPECT_EQ(ui->message(testing::question(Buttons::YesNo, 1)), Answer::No);
}

TEST(AnswersFileProblem, AFileThatCannotServeAsAnswersIsNamedWithTheReason) {
  test::TempDir dir;
  test::writeFile(dir / "answers.ini", "[Answers]\n1=No\n");
  std::filesystem::create_directory(dir / "folder");
  struct Case {
    std::string backend;
    std::string file;
    std::optional<std::string> problem;
  };
  const std::string folder = (dir / "folder").string();
  for (const Case& c : {
           Case{"scripted", (dir / "answers.ini").string(), std::nullopt},
           Case{"scripted", "", std::nullopt},
           Case{"console", folder, std::nullopt},  // only the scripted mode reads it
           Case{"scripted", folder, "tamsin32: the answers file " + folder + " is a folder, not a file"},
           Case{"scripted", "/nonexistent/a.ini", "tamsin32: the answers file /nonexistent/a.ini does not exist"},
           Case{"scripted", "/dev/zero", "tamsin32: the answers file /dev/zero is larger than 8 MiB"},
       }) {
    InteractionSettings settings{c.backend, c.file, "", ""};
    EXPECT_EQ(answersFileProblem(Program::Setup, settings), c.problem) << c.backend << " " << c.file;
  }
}

TEST(MakeInteraction, GuiFallsBackToConsoleUntilABackendIsRegistered) {
  registerGuiBackend(nullptr);
  InteractionSettings settings{"gui", "", "", ""};
  EXPECT_NE(dynamic_cast<ConsoleInteraction*>(makeInteraction(Program::Setup, settings).get()),
            nullptr);
  // Named in VANDREL_UI, the missing gui is reported; chosen for a display, silently replaced.
  settings.backendNamed = true;
  ::testing::internal::CaptureStderr();
  EXPECT_NE(dynamic_cast<ConsoleInteraction*>(makeInteraction(Program::Setup, settings).get()),
            nullptr);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "tamsin32: this build has no graphical interface; using the console.\n");
  Program seen = Program::Setup;
  registerGuiBackend([&seen](Program program, const InteractionSettings&) -> std::unique_ptr<Interaction> {
    seen = program;
    return std::make_unique<MarkerBackend>();
  });
  EXPECT_NE(dynamic_cast<MarkerBackend*>(makeInteraction(Program::Uninstall, settings).get()),
            nullptr);
  EXPECT_EQ(seen, Program::Uninstall);
  settings.backend = "console";
  EXPECT_NE(dynamic_cast<ConsoleInteraction*>(makeInteraction(Program::Setup, settings).get()),
            nullptr);
  registerGuiBackend(nullptr);
}

// A backend whose window system is always there (the Windows desktop) is the default without
// any display variable; one that needs a display is not, and neither is any once removed.
TEST(MakeInteraction, ABackendAlwaysReachableIsTheDefault) {
  Environment env;
  for (const char* name : {"VANDREL_UI", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.set(name, "");
  auto marker = [](Program, const InteractionSettings&) -> std::unique_ptr<Interaction> {
    return std::make_unique<MarkerBackend>();
  };
  registerGuiBackend(marker, GuiReach::DisplayVariables);
  EXPECT_FALSE(displayAvailable());
  EXPECT_EQ(InteractionSettings::fromEnvironment().backend, "console");
  registerGuiBackend(marker, GuiReach::Always);
  EXPECT_TRUE(displayAvailable());
  InteractionSettings settings = InteractionSettings::fromEnvironment();
  EXPECT_EQ(settings.backend, "gui");
  EXPECT_NE(dynamic_cast<MarkerBackend*>(makeInteraction(Program::Setup, settings).get()), nullptr);
  // Asked for by name, scripted stays scripted.
  env.set("VANDREL_UI", "scripted");
  EXPECT_EQ(InteractionSettings::fromEnvironment().backend, "scripted");
  registerGuiBackend(nullptr);
  env.set("VANDREL_UI", "");
  EXPECT_FALSE(displayAvailable());
  EXPECT_EQ(InteractionSettings::fromEnvironment().backend, "console");
}

}  // namespace
}  // namespace vandrel::ui
