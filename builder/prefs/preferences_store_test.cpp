// Tests of the preferences store: the file's place and groups, the values read for absent and
// odd keys, LoadOnOpen off, and a write read back.
#include "builder/prefs/preferences_store.h"

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

}  // namespace
}  // namespace vandrel::builder::prefs
