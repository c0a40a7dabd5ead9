// Tests of what the builder's own windows keep in the registry: the tip's place read back as
// written, absent values, and a cleared "Save the configuration on exit" read back by the
// preference rules.
#include "builder/prefs/registry_app_values.h"

#include <gtest/gtest.h>

#include "builder/prefs/preference_rules.h"
#include "tests/support/memory_registry.h"

namespace vandrel::builder::prefs {
namespace {

TEST(RegistryAppValues, TipPlaceReadBackAsWritten) {
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

TEST(RegistryAppValues, SaveOnExitClearedIsReadBack) {
  test::MemoryRegistry registry;
  ASSERT_TRUE(readRegistryPreferences(registry).saveOnExit);
  ASSERT_TRUE(writeRegistrySaveOnExit(registry, false));
  EXPECT_FALSE(readRegistryPreferences(registry).saveOnExit);
  EXPECT_EQ(registry.openHandles(), 0u);
}

}  // namespace
}  // namespace vandrel::builder::prefs
