// Tests of the builder's store in a registry: what is written at exit reads back the same, the
// recent files keep four and drop the empty ones, absent values give the defaults, the tip's
// place and a cleared "Save the configuration on exit" read back as kept.
#include "builder/prefs/registry_store.h"

#include <gtest/gtest.h>

#include "builder/prefs/preference_rules.h"
#include "tests/support/memory_registry.h"

namespace vandrel::builder::prefs {
namespace {

constexpr const char* kRoot = "Software\\Orlwen\\Corvix v3.0\\";

TEST(RegistryStore, PreferencesWrittenAtExitAreReadBack) {
  test::MemoryRegistry registry;
  BuilderPreferences p;
  p.confirmErase = false;
  p.iconSize = 32;
  p.defEdit = "Editor.exe %1";
  p.dirMode = 2;
  p.dropDirSub = true;
  ASSERT_TRUE(writeRegistryPreferences(registry, p));
  EXPECT_EQ(registry.dwordValue(platform::hkey::CurrentUser, std::string(kRoot) + "Settings", "IconSize"), 32u);
  EXPECT_EQ(registry.stringValue(platform::hkey::CurrentUser, std::string(kRoot) + "Settings", "DefEdit"),
            "Editor.exe %1");
  EXPECT_EQ(registry.dwordValue(platform::hkey::CurrentUser, std::string(kRoot) + "FileDrop", "DirMode"), 2u);
  BuilderPreferences back = readRegistryPreferences(registry);
  EXPECT_FALSE(back.confirmErase);
  EXPECT_EQ(back.iconSize, 32);
  EXPECT_EQ(back.defEdit, "Editor.exe %1");
  EXPECT_EQ(back.dirMode, 2);
  EXPECT_TRUE(back.dropDirSub);
  EXPECT_EQ(registry.openHandles(), 0u);
}

TEST(RegistryStore, WindowStateReadsBackWithItsColoursAndANegativePlace) {
  test::MemoryRegistry registry;
  EXPECT_EQ(readRegistryWindowState(registry).status, 4) << "never stored";
  WindowState w;
  w.left = -8;
  w.top = 20;
  w.width = 800;
  w.height = 600;
  w.status = 0;
  w.kind = 128;
  w.firstColour = 0x808000;
  w.secondColour = 0xC0C0C0;
  w.gradDir = 0;
  w.bitmap = "/home/a/back.bmp";
  w.barState = "Toolbar=1 StatusBar=0";
  ASSERT_TRUE(writeRegistryWindowState(registry, w));
  EXPECT_EQ(registry.dwordValue(platform::hkey::CurrentUser, std::string(kRoot) + "BackMDI", "topH"), 0x80u);
  WindowState back = readRegistryWindowState(registry);
  EXPECT_EQ(back.left, -8);
  EXPECT_EQ(back.top, 20);
  EXPECT_EQ(back.width, 800);
  EXPECT_EQ(back.height, 600);
  EXPECT_TRUE(back.hasGeometry());
  EXPECT_EQ(back.kind, 128);
  EXPECT_EQ(back.firstColour, 0x808000u);
  EXPECT_EQ(back.secondColour, 0xC0C0C0u);
  EXPECT_EQ(back.gradDir, 0);
  EXPECT_EQ(back.bitmap, "/home/a/back.bmp");
  EXPECT_EQ(back.barState, "Toolbar=1 StatusBar=0");
}

TEST(RegistryStore, RecentFilesKeepFourAndForgetTheRest) {
  test::MemoryRegistry registry;
  ASSERT_TRUE(writeRegistryRecentFiles(registry, {"C:\\a.cvx", "C:\\b.cvx", "C:\\c.cvx"}));
  EXPECT_EQ(readRegistryRecentFiles(registry), (std::vector<std::string>{"C:\\a.cvx", "C:\\b.cvx", "C:\\c.cvx"}));
  ASSERT_TRUE(writeRegistryRecentFiles(registry, {"C:\\d.cvx"}));
  EXPECT_EQ(readRegistryRecentFiles(registry), (std::vector<std::string>{"C:\\d.cvx"}));
  EXPECT_FALSE(registry.hasValue(platform::hkey::CurrentUser, std::string(kRoot) + "Recent File List", "File2"));
}

TEST(RegistryStore, AKeyThatCannotBeWrittenIsReported) {
  test::MemoryRegistry registry;
  registry.failChange(1);
  EXPECT_FALSE(writeRegistryPreferences(registry, BuilderPreferences()));
}

TEST(RegistryStore, TipPlaceReadBackAsWritten) {
  test::MemoryRegistry registry;
  TipPlace absent = readRegistryTipPlace(registry);
  EXPECT_EQ(absent.position, 0);
  EXPECT_EQ(absent.stamp, "");
  EXPECT_TRUE(absent.showAtStartUp);

  ASSERT_TRUE(writeRegistryTipPlace(registry, {1234, "99887766", false}));
  TipPlace back = readRegistryTipPlace(registry);
  EXPECT_EQ(back.position, 1234);
  EXPECT_EQ(back.stamp, "99887766");
  EXPECT_FALSE(back.showAtStartUp);

  platform::HKey tip = 0;
  ASSERT_EQ(registry.openKey(platform::hkey::CurrentUser, "Software\\Orlwen\\Corvix v3.0\\Tip", tip), 0);
  std::uint32_t startUp = 0;
  ASSERT_EQ(registry.queryDword(tip, "StartUp", startUp), 0);
  EXPECT_EQ(startUp, 1u) << "kept inverted: 1 hides the tips at start-up";
  registry.closeKey(tip);
  EXPECT_EQ(registry.openHandles(), 0u);
}

TEST(RegistryStore, SaveOnExitClearedIsReadBack) {
  test::MemoryRegistry registry;
  ASSERT_TRUE(readRegistryPreferences(registry).saveOnExit);
  ASSERT_TRUE(writeRegistrySaveOnExit(registry, false));
  EXPECT_FALSE(readRegistryPreferences(registry).saveOnExit);
  EXPECT_EQ(registry.openHandles(), 0u);
}

}  // namespace
}  // namespace vandrel::builder::prefs
