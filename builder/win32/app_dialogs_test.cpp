// The builder's own Win32 windows: the preferences written back on OK and kept in the
// registry where they must be written at once, Cancel changing nothing, the about box's
// lines, the tip of the day's start-up box kept in the registry, and the splash window.
#include <windows.h>

#include <commctrl.h>

#include <fstream>
#include <optional>

#include "builder/prefs/preference_rules.h"
#include "builder/prefs/registry_store.h"
#include "builder/strings/builder_strings.h"
#include "builder/win32/app_dialog_ids.h"
#include "builder/win32/sheet_test_support.h"
#include "builder/win32/sheet_ids.h"
#include "tests/support/memory_machine.h"
#include "tests/support/temp_dir.h"
#include "ui/answers.h"

namespace vandrel::builder::win32 {
namespace {

using namespace testing;

// The window as it stands now saved as VANDREL_SCREENSHOTS/corvix-<name>.bmp when pictures
// are asked for: a page turned to, which the window's picture at its opening does not show.
void savePicture(HWND window, const std::string& name) {
  if (const char* folder = std::getenv("VANDREL_SCREENSHOTS")) {
    ui::win32::saveWindowPicture(window, std::string(folder) + "\\corvix-" + name + ".bmp");
  }
}

struct AppDialogs : DialogFixture {
  test::MemoryMachine machine;
  BuilderPreferences preferences;
  prefs::WindowState window;
  // The background states shown, in order.
  std::vector<prefs::WindowState> shownBackgrounds;
  BackgroundTarget background{false, [this](const prefs::WindowState& state) {
                                shownBackgrounds.push_back(state);
                                return true;
                              }};

  AppContext app() {
    AppContext a;
    a.dialogs = context();
    a.machine = &machine;
    a.preferences = &preferences;
    a.window = &window;
    return a;
  }
  std::optional<std::uint32_t> stored(const char* group, const char* key) {
    platform::HKey handle = 0;
    std::string path = std::string("Software\\Orlwen\\Corvix v3.0\\") + group;
    if (machine.registry().openKey(platform::hkey::CurrentUser, path, handle) != 0) return std::nullopt;
    std::uint32_t value = 0;
    long status = machine.registry().queryDword(handle, key, value);
    machine.registry().closeKey(handle);
    return status == 0 ? std::optional<std::uint32_t>(value) : std::nullopt;
  }
};

TEST_F(AppDialogs, PreferencesOkWritesEveryPageBack) {
  AppContext a = app();
  whenShown([](HWND w) {
    EXPECT_EQ(caption(w), "Preferences");
    EXPECT_TRUE(checked(w, IDC_PREFS_PROGRESS));
    EXPECT_TRUE(checked(w, IDC_PREFS_ICON16));
    tick(w, IDC_PREFS_PROGRESS, false);
    type(w, IDC_PREFS_DEFEDIT, "Editor.exe");
    tick(w, IDC_PREFS_ICON32, true);
    tick(w, IDC_PREFS_DROP_MODE2, true);
    tick(w, IDC_PREFS_DROP_DIR_SUB, true);
    tick(w, IDC_PREFS_BACK_PLAIN, true);
    type(w, IDC_PREFS_BACK_X, "12");
    for (int page : {1, 2}) {
      TabCtrl_SetCurFocus(find(w, IDC_SHEET_TABS), page);
      savePicture(w, page == 1 ? "preferences-background" : "preferences-file-drop");
    }
    press(w, IDOK);
  });
  ASSERT_TRUE(runPreferences(a, background));
  EXPECT_FALSE(preferences.showProgress);
  EXPECT_EQ(preferences.defEdit, "Editor.exe %1") << "a command line without %1 gets it";
  EXPECT_EQ(preferences.iconSize, 32);
  EXPECT_EQ(preferences.dirMode, 2);
  EXPECT_TRUE(preferences.dropDirSub);
  EXPECT_EQ(window.kind & 128, 128) << window.kind;
  EXPECT_EQ(window.posX, 12);
  ASSERT_EQ(shownBackgrounds.size(), 1u) << "the changed background is shown again";
  EXPECT_EQ(shownBackgrounds[0].kind, window.kind);
  EXPECT_FALSE(stored("Settings", "SaveOnExit")) << "nothing is written before the exit";
}

TEST_F(AppDialogs, PreferencesCancelChangesNothingAndTheLastPageOpensAgain) {
  AppContext a = app();
  BuilderPreferences before = preferences;
  prefs::WindowState windowBefore = window;
  whenShown([](HWND w) {
    tick(w, IDC_PREFS_CONFIRM, false);
    tick(w, IDC_PREFS_SAVE, false);
    tick(w, IDC_PREFS_BACK_PLAIN, true);
    // The third page turned to: the sheet opens on it next time.
    TabCtrl_SetCurFocus(find(w, IDC_SHEET_TABS), 2);
    press(w, IDCANCEL);
  });
  EXPECT_FALSE(runPreferences(a, background));
  EXPECT_EQ(preferences.confirmErase, before.confirmErase);
  EXPECT_EQ(preferences.saveOnExit, before.saveOnExit);
  EXPECT_EQ(window.kind, windowBefore.kind);
  EXPECT_TRUE(shownBackgrounds.empty());
  EXPECT_FALSE(stored("Settings", "SaveOnExit"));
  EXPECT_EQ(a.preferencesPage, 2);

  int shownPage = -1;
  whenShown([&](HWND w) {
    shownPage = TabCtrl_GetCurSel(find(w, IDC_SHEET_TABS));
    press(w, IDCANCEL);
  });
  runPreferences(a, background);
  EXPECT_EQ(shownPage, 2);
}

TEST_F(AppDialogs, ClearingSaveOnExitReachesTheRegistryAtOnce) {
  AppContext a = app();
  whenShown([](HWND w) {
    tick(w, IDC_PREFS_SAVE, false);
    press(w, IDOK);
  });
  ASSERT_TRUE(runPreferences(a, background));
  EXPECT_FALSE(preferences.saveOnExit);
  EXPECT_EQ(stored("Settings", "SaveOnExit"), 0u);
  EXPECT_FALSE(prefs::readRegistryPreferences(machine.registry()).saveOnExit);
}

TEST_F(AppDialogs, AnswersDriveThePreferences) {
  ui::ScriptedInteraction answers(ui::Answers::fromText(
      "[Wizard]\nConfirmErase=0\nDefEdit=Editor.exe\nIconSize=1\nFill=1\nposX=12\nFirstColor=255\n"
      "DirMode=2\nDropDirSub=1\n"));
  AppContext a = app();
  a.dialogs.autopilot = &answers;
  ASSERT_TRUE(runPreferences(a, background));
  EXPECT_FALSE(preferences.confirmErase);
  EXPECT_EQ(preferences.defEdit, "Editor.exe %1");
  EXPECT_EQ(preferences.iconSize, 32);
  EXPECT_EQ(preferences.dirMode, 2);
  EXPECT_TRUE(preferences.dropDirSub);
  EXPECT_TRUE(preferences.saveOnExit);
  EXPECT_EQ(window.kind & 128, 128) << window.kind;
  EXPECT_EQ(window.posX, 12);
  EXPECT_EQ(window.firstColour, 255u);
}

TEST_F(AppDialogs, AboutBoxShowsTheMemoryAndTheFreeSpace) {
  machine.memorySystem().memory = 64ull << 20;
  whenShown([](HWND w) {
    EXPECT_EQ(caption(w), "About Corvix...");
    EXPECT_EQ(text(w, IDC_ABOUT_TITLE), str(128));
    EXPECT_EQ(text(w, IDC_ABOUT_MEMORY), "Physical memory: 64.00 Mb");
    EXPECT_EQ(text(w, IDC_ABOUT_DISK).rfind("Free disk space: ", 0), 0u);
    EXPECT_FALSE(IsWindowEnabled(find(w, IDC_ABOUT_CONNECT))) << "no browser on this machine";
    press(w, IDOK);
  });
  runAbout(app());
}

TEST_F(AppDialogs, TipOfTheDayWithoutItsFileSaysSoAndKeepsTheStartUpBox) {
  AppContext a = app();
  whenShown([](HWND w) {
    EXPECT_EQ(caption(w), "Tip of the Day");
    EXPECT_EQ(text(w, IDC_TIP_TEXT), str(124));
    EXPECT_TRUE(checked(w, IDC_TIP_STARTUP));
    tick(w, IDC_TIP_STARTUP, false);
    press(w, IDOK);
  });
  runTipOfTheDay(a, false);
  EXPECT_EQ(stored("Tip", "StartUp"), 1u) << "kept inverted";
  EXPECT_FALSE(prefs::readRegistryTipPlace(machine.registry()).showAtStartUp);

  // At start-up it is no longer due: no window opens (one would be left open and fail).
  runTipOfTheDay(a, true);
  // Asked for from the menu it still opens; Escape keeps the box as it was left.
  whenShown([](HWND w) {
    EXPECT_FALSE(checked(w, IDC_TIP_STARTUP));
    tick(w, IDC_TIP_STARTUP, true);
    SendMessageA(w, WM_COMMAND, IDCANCEL, 0);
  });
  runTipOfTheDay(a, false);
  EXPECT_EQ(stored("Tip", "StartUp"), 0u);
}

// A machine whose builder folder (the program's, C:\WINDOWS) holds a tips file on the host.
struct TipsMachine : test::MemoryMachine {
  struct Files : test::MemoryFileSystem {
    std::filesystem::path tips;
    std::optional<std::filesystem::path> hostPath(const std::string& path) override {
      if (path == "C:\\WINDOWS\\tips.txt") return tips;
      return std::nullopt;
    }
  } tipsFiles;
  platform::FileSystem& files() override { return tipsFiles; }
};

TEST_F(AppDialogs, NextTipFollowsTheFileAndThePlaceIsKeptForTheNextTime) {
  test::TempDir dir;
  TipsMachine tipsMachine;
  tipsMachine.tipsFiles.tips = dir / "tips.txt";
  std::ofstream(dir / "tips.txt", std::ios::binary) << "First tip.\r\n\r\nSecond tip.\r\nThird tip.\r\n";
  AppContext a = app();
  a.machine = &tipsMachine;
  whenShown([](HWND w) {
    EXPECT_EQ(text(w, IDC_TIP_TEXT), "First tip.");
    press(w, IDC_TIP_NEXT);
    EXPECT_EQ(text(w, IDC_TIP_TEXT), "Second tip.") << "the empty line is passed over";
    press(w, IDOK);
  });
  runTipOfTheDay(a, true);
  EXPECT_GT(prefs::readRegistryTipPlace(tipsMachine.registry()).position, 0);
  whenShown([](HWND w) {
    EXPECT_EQ(text(w, IDC_TIP_TEXT), "Third tip.") << "the next start goes on where the last stopped";
    press(w, IDC_TIP_NEXT);
    EXPECT_EQ(text(w, IDC_TIP_TEXT), "First tip.") << "from the top after the last one";
    press(w, IDOK);
  });
  runTipOfTheDay(a, false);
}

TEST_F(AppDialogs, AnswersUntickTheTipsAtStartUp) {
  ui::ScriptedInteraction answers(ui::Answers::fromText("[Wizard]\nStartUp=0\n"));
  AppContext a = app();
  a.dialogs.autopilot = &answers;
  runTipOfTheDay(a, true);
  EXPECT_EQ(stored("Tip", "StartUp"), 1u);
}

// Lets the thread's messages through until done says so or a second has passed.
void pumpUntil(const std::function<bool()>& done) {
  for (int i = 0; i < 100 && !done(); ++i) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(10);
  }
}

TEST_F(AppDialogs, SplashIsOnTopAndClosesAtAKeyThenSaysSo) {
  AppContext a = app();
  int closed = 0;
  HWND splash = showSplash(a, [&] { closed++; });
  ASSERT_NE(splash, nullptr);
  EXPECT_TRUE(IsWindowVisible(splash));
  EXPECT_TRUE(GetWindowLongA(splash, GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT r{};
  GetWindowRect(splash, &r);
  EXPECT_EQ(r.right - r.left, 420);
  EXPECT_EQ(r.bottom - r.top, 240);
  if (std::getenv("VANDREL_SCREENSHOTS")) {
    pumpUntil([] { return false; });
    savePicture(splash, "splash");
  }
  EXPECT_EQ(showSplash(a, [] {}), nullptr) << "one splash at a time";
  // A key pressed anywhere in the program closes it.
  PostMessageA(splash, WM_KEYDOWN, VK_SPACE, 0);
  pumpUntil([&] { return closed > 0; });
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(IsWindow(splash));
}

TEST_F(AppDialogs, NoSplashInUnattendedRuns) {
  AppContext a = app();
  a.unattended = true;
  bool closed = false;
  EXPECT_EQ(showSplash(a, [&] { closed = true; }), nullptr);
  EXPECT_FALSE(closed);
}

}  // namespace
}  // namespace vandrel::builder::win32
