// Tests of the preferences store: the file's place and groups, the values read for absent and
// odd keys, LoadOnOpen off, a write read back, and the main window's state.
#include "builder/prefs/preferences_store.h"
#include "builder/prefs/window_state.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <cstdlib>

#include "tests/support/temp_dir.h"

namespace vandrel::builder::prefs {
namespace {

struct Store : ::testing::Test {
  test::TempDir dir;
  std::string savedXdg;
  bool hadXdg = false;
  void SetUp() override {
    if (const char* x = std::getenv("XDG_CONFIG_HOME")) {
      hadXdg = true;
      savedXdg = x;
    }
    setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
  }
  void TearDown() override {
    if (hadXdg) {
      setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
    } else {
      unsetenv("XDG_CONFIG_HOME");
    }
  }
  std::filesystem::path file() const { return dir / "Orlwen" / "Corvix v3.0.conf"; }
};

TEST_F(Store, FirstRunReadsTheAbsentValues) {
  BuilderPreferences p = readPreferences();
  EXPECT_FALSE(std::filesystem::exists(file())) << "reading creates nothing";
  EXPECT_TRUE(p.loadOnOpen && p.saveOnExit && p.confirmErase && p.showProgress);
  EXPECT_TRUE(p.ensureVisible && p.dispProps && p.dropDirAdd && p.dropDirInc);
  EXPECT_FALSE(p.autoCheck || p.dropDirSub);
  EXPECT_EQ(p.iconSize, 16);
  EXPECT_EQ(p.dirMode, 0);
  EXPECT_EQ(p.defEdit, "Notepad.exe %1");
  EXPECT_FALSE(p.dispSummary) << "absent from the profile: off, unlike the built-in value";
}

TEST_F(Store, WrittenValuesComeBackFromTheNamedFile) {
  BuilderPreferences p;
  p.confirmErase = false;
  p.ensureVisible = false;
  p.iconSize = 32;
  p.defEdit = "vi %1 -R";
  p.dispProps = false;
  p.dirMode = 2;
  p.dropDirSub = true;
  p.dispSummary = true;
  ASSERT_TRUE(writePreferences(p));
  ASSERT_TRUE(std::filesystem::exists(file()));
  std::string text = test::readFile(file());
  EXPECT_NE(text.find("[Settings]"), std::string::npos) << text;
  EXPECT_NE(text.find("[FileDrop]"), std::string::npos) << text;
  EXPECT_NE(text.find("ConfirmErase=0"), std::string::npos) << text;
  EXPECT_NE(text.find("DirMode=2"), std::string::npos) << text;

  BuilderPreferences back = readPreferences();
  EXPECT_FALSE(back.confirmErase);
  EXPECT_FALSE(back.ensureVisible);
  EXPECT_EQ(back.iconSize, 32);
  EXPECT_EQ(back.defEdit, "vi %1 -R");
  EXPECT_FALSE(back.dispProps);
  EXPECT_EQ(back.dirMode, 2);
  EXPECT_TRUE(back.dropDirSub);
  EXPECT_TRUE(back.dispSummary);
}

TEST_F(Store, OddStoredValues) {
  std::filesystem::create_directories(file().parent_path());
  test::writeFile(file(), "[Settings]\nIconSize=24\nConfirmErase=yes\n[FileDrop]\nDirMode=7\nDropDirSub=1\n");
  BuilderPreferences p = readPreferences();
  EXPECT_EQ(p.iconSize, 16) << "only 16 and 32 exist";
  EXPECT_TRUE(p.confirmErase) << "not a number: as if absent";
  EXPECT_EQ(p.dirMode, 0);
  EXPECT_TRUE(p.dropDirSub);
}

TEST_F(Store, LoadOnOpenOffKeepsEveryBuiltInValue) {
  std::filesystem::create_directories(file().parent_path());
  test::writeFile(file(), "[Settings]\nLoadOnOpen=0\nConfirmErase=0\nIconSize=32\n"
                          "[FileDrop]\nDirMode=1\nDispSummary=0\n");
  BuilderPreferences p = readPreferences();
  EXPECT_FALSE(p.loadOnOpen);
  EXPECT_TRUE(p.confirmErase);
  EXPECT_EQ(p.iconSize, 16);
  EXPECT_EQ(p.dirMode, 0);
  EXPECT_TRUE(p.dispSummary) << "the built-in value";
}

TEST_F(Store, ClearingSaveOnExitIsWrittenAtOnce) {
  std::unique_ptr<QSettings> settings = openSettings();
  writeSaveOnExit(*settings, false);
  EXPECT_NE(test::readFile(file()).find("SaveOnExit=0"), std::string::npos);
  EXPECT_FALSE(readPreferences().saveOnExit);
}

TEST_F(Store, WindowStateFirstRunAndRoundTrip) {
  std::unique_ptr<QSettings> settings = openSettings();
  WindowState first = readWindowState(*settings);
  EXPECT_EQ(first.status, 4);
  EXPECT_FALSE(first.hasGeometry()) << "a first start shows the window maximised";
  EXPECT_EQ(first.kind, 64);
  EXPECT_EQ(first.firstColour, 160u * 65536u);
  EXPECT_EQ(first.secondColour, 255u * 65536u + 255u);
  EXPECT_EQ(first.gradDir, 1);

  WindowState w;
  w.top = 10;
  w.left = 20;
  w.width = 640;
  w.height = 480;
  w.status = 0;
  w.kind = 128 | 4;
  w.firstColour = 0x00804020;
  w.secondColour = 0x00c0c0c0;
  w.gradDir = 0;
  w.bitmap = "Z:\\pics\\back.bmp";
  writeWindowState(*settings, w);
  settings->sync();
  std::string text = test::readFile(file());
  EXPECT_NE(text.find("[BackMDI]"), std::string::npos) << text;
  EXPECT_NE(text.find("topH=128"), std::string::npos) << text;
  EXPECT_NE(text.find("topL=16416"), std::string::npos) << text;  // 0x4020

  std::unique_ptr<QSettings> again = openSettings();
  WindowState back = readWindowState(*again);
  EXPECT_TRUE(back.hasGeometry());
  EXPECT_EQ(back.width, 640);
  EXPECT_EQ(back.kind, 132);
  EXPECT_EQ(back.firstColour, 0x00804020u);
  EXPECT_EQ(back.secondColour, 0x00c0c0c0u);
  EXPECT_EQ(back.gradDir, 0);
  EXPECT_EQ(back.bitmap, "Z:\\pics\\back.bmp");
}

TEST_F(Store, WindowGeometryWithAnUnknownSide) {
  std::filesystem::create_directories(file().parent_path());
  test::writeFile(file(), "[BackMDI]\nStatus=0\ntop=1\nleft=2\nwidth=32767\nheight=5\ntopH=999\n");
  std::unique_ptr<QSettings> settings = openSettings();
  WindowState w = readWindowState(*settings);
  EXPECT_FALSE(w.hasGeometry());
  EXPECT_EQ(w.firstColour, 160u * 65536u) << "a half out of range keeps the default colour";
}

}  // namespace
}  // namespace vandrel::builder::prefs
