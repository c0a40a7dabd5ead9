// Tests of the preferences read from a registry, as the Windows command line reads them: DWORD
// and text values, values of another type, and LoadOnOpen off.
#include "builder/prefs/preference_rules.h"

#include <gtest/gtest.h>

#include "tests/support/memory_registry.h"

namespace vandrel::builder::prefs {
namespace {

struct RegistryPreferences : ::testing::Test {
  test::MemoryRegistry registry;
  platform::HKey key(const char* group) {
    platform::HKey handle = 0;
    std::string path = std::string("Software\\Orlwen\\Corvix v3.0\\") + group;
    EXPECT_EQ(registry.createKey(platform::hkey::CurrentUser, path, handle), 0);
    return handle;
  }
};

TEST_F(RegistryPreferences, DwordAndTextValuesAreRead) {
  platform::HKey settings = key(kSettingsGroup);
  registry.setDword(settings, "IconSize", 32);
  registry.setString(settings, "ConfirmErase", " 0 ");  // text, as another store may keep it
  registry.setString(settings, "DefEdit", "edit.exe %1");
  platform::HKey drop = key(kFileDropGroup);
  registry.setDword(drop, "DirMode", 2);
  registry.setDword(drop, "DropDirSub", 1);
  // A value of another type is not a preference: the absent value is used.
  registry.setValue(drop, "DropDirAdd", platform::regtype::Binary, platform::Bytes{0, 0, 0, 0});
  BuilderPreferences p = readRegistryPreferences(registry);
  EXPECT_EQ(p.iconSize, 32);
  EXPECT_FALSE(p.confirmErase);
  EXPECT_EQ(p.defEdit, "edit.exe %1");
  EXPECT_EQ(p.dirMode, 2);
  EXPECT_TRUE(p.dropDirSub);
  EXPECT_TRUE(p.dropDirAdd);
  EXPECT_EQ(registry.openHandles(), 2u) << "only the test's own keys stay open";
}

TEST_F(RegistryPreferences, NoKeyAndLoadOnOpenOffGiveTheBuiltInValues) {
  BuilderPreferences absent = readRegistryPreferences(registry);
  EXPECT_TRUE(absent.loadOnOpen && absent.dropDirAdd);
  EXPECT_EQ(absent.dirMode, 0);
  EXPECT_EQ(absent.defEdit, "Notepad.exe %1");

  registry.setDword(key(kSettingsGroup), "LoadOnOpen", 0);
  registry.setDword(key(kFileDropGroup), "DirMode", 1);
  BuilderPreferences off = readRegistryPreferences(registry);
  EXPECT_FALSE(off.loadOnOpen);
  EXPECT_EQ(off.dirMode, BuilderPreferences().dirMode) << "the stored value is not read";
}

}  // namespace
}  // namespace vandrel::builder::prefs
