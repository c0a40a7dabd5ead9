// Tests of the gui module's loading: where it is looked for, the console when it cannot be
// loaded, and the Qt interaction and install window when it can.
#include "ui/gui_module_loader.h"

#include <gtest/gtest.h>

#include "tests/support/memory_file_system.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/temp_dir.h"
#include "ui/console_interaction.h"
#include "ui/folder_picker_model.h"
#include "ui/gui_module.h"
#include "ui/interaction.h"
#include "ui/window_backend.h"

namespace vandrel::ui {
namespace {

using Environment = test::ScopedEnvironment;

const std::string kBuildModule = std::string(VANDREL_BIN) + "/" VANDREL_GUI_MODULE_FILE;

// A gui asked for by name on the offscreen platform, the module as the environment names it.
struct GuiRun {
  explicit GuiRun(const std::string& module) {
    env.set("VANDREL_GUI_MODULE", module);
    env.set("QT_QPA_PLATFORM", "offscreen");
    env.set("VANDREL_UI", "gui");
    registerWindowBackend(argc, argv, files);
  }
  std::unique_ptr<Interaction> make() {
    return makeInteraction(Program::Setup, InteractionSettings::fromEnvironment());
  }
  Environment env;
  int argc = 1;
  char name[9] = "tamsin32";
  char* argv[2] = {name, nullptr};
  test::MemoryFileSystem files;
};

bool isConsole(Interaction* interaction) { return dynamic_cast<ConsoleInteraction*>(interaction) != nullptr; }

TEST(GuiModuleCandidates, TheNamedModuleAlone) {
  Environment env;
  env.set("VANDREL_GUI_MODULE", "/opt/other/gui.so");
  EXPECT_EQ(guiModuleCandidates(), std::vector<std::string>{"/opt/other/gui.so"});
}

TEST(GuiModuleCandidates, BesideTheProgramThenTheBuildsBinFolder) {
  Environment env;
  env.set("VANDREL_GUI_MODULE", "");
  std::vector<std::string> candidates = guiModuleCandidates();
  ASSERT_EQ(candidates.size(), 2u);
  // This test program lies in the build's tests folder, beside no module.
  EXPECT_NE(candidates[0].find("/tests/" VANDREL_GUI_MODULE_FILE), std::string::npos) << candidates[0];
  EXPECT_EQ(candidates[1], kBuildModule);
}

TEST(GuiModuleLoading, AMissingModuleIsNamedAndTheConsoleServes) {
  test::TempDir dir;
  GuiRun run((dir / VANDREL_GUI_MODULE_FILE).string());
  ::testing::internal::CaptureStderr();
  std::unique_ptr<Interaction> interaction = run.make();
  std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(isConsole(interaction.get()));
  EXPECT_EQ(err, "tamsin32: cannot load the graphical interface: no " VANDREL_GUI_MODULE_FILE " in " +
                     dir.path().string() + "; using the console.\n");
  EXPECT_FALSE(windowBackendActive());
  EXPECT_EQ(guiModuleEntry(kGuiMakeInstallWindowEntry), nullptr);
}

TEST(GuiModuleLoading, AFileThatIsNoModuleGivesTheLoadersReasonAndTheConsoleServes) {
  test::TempDir dir;
  test::writeFile(dir / VANDREL_GUI_MODULE_FILE, "not a library");
  GuiRun run((dir / VANDREL_GUI_MODULE_FILE).string());
  ::testing::internal::CaptureStderr();
  std::unique_ptr<Interaction> interaction = run.make();
  std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(isConsole(interaction.get()));
  EXPECT_EQ(err.rfind("tamsin32: cannot load the graphical interface: ", 0), 0u) << err;
  EXPECT_NE(err.find(VANDREL_GUI_MODULE_FILE), std::string::npos) << err;
  EXPECT_FALSE(windowBackendActive());
}

TEST(GuiModuleLoading, WithoutADisplayTheModuleIsNotLoaded) {
  GuiRun run(kBuildModule);
  run.env.set("QT_QPA_PLATFORM", "");
  run.env.set("DISPLAY", "");
  run.env.set("WAYLAND_DISPLAY", "");
  ::testing::internal::CaptureStderr();
  std::unique_ptr<Interaction> interaction = run.make();
  std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(isConsole(interaction.get()));
  EXPECT_EQ(err, "tamsin32: no display (DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM); using the console.\n");
  EXPECT_EQ(guiModuleEntry(kGuiStampEntry), nullptr);
}

TEST(GuiModuleLoading, TheBuildsModuleGivesTheWindowsAndTheInstallWindow) {
  GuiRun run(kBuildModule);
  std::unique_ptr<Interaction> interaction = run.make();
  ASSERT_NE(interaction, nullptr);
  EXPECT_FALSE(isConsole(interaction.get()));
  EXPECT_TRUE(windowBackendActive());
  EXPECT_NE(guiModuleEntry(kGuiMakeInstallWindowEntry), nullptr);

  // The module's pickers keep their own list of the folders they made (it carries its own copy
  // of the library); the program counts those folders as its own pickers' ones.
  auto made = reinterpret_cast<VandrelGuiFoldersMadeFn>(guiModuleEntry(kGuiFoldersMadeEntry));
  ASSERT_NE(made, nullptr);
  ASSERT_NE(made(), &foldersMadeByPickers());
  EXPECT_FALSE(madeByPicker("C:\\Made In The Module"));
  const_cast<std::vector<std::string>*>(made())->push_back("C:\\Made In The Module");
  EXPECT_TRUE(madeByPicker("c:\\made in the module"));
}

}  // namespace
}  // namespace vandrel::ui
