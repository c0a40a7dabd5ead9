// The registry's rules that programs rely on, the same for every backend (the cases of
// RegistryContract; each backend's test program instantiates them).
#include "tests/support/registry_contract.h"

#include <vector>

namespace vandrel::test {
namespace {

using platform::Bytes;
using platform::HKey;
namespace error = platform::error;
namespace regtype = platform::regtype;


HKey create(platform::Registry& registry, HKey parent, const std::string& path) {
  HKey key = 0;
  EXPECT_EQ(registry.createKey(parent, path, key), error::Success) << path;
  return key;
}

std::vector<std::string> subkeys(platform::Registry& registry, HKey key) {
  std::vector<std::string> names;
  std::string name;
  for (std::uint32_t i = 0; registry.enumKey(key, i, name) == error::Success; ++i) names.push_back(name);
  return names;
}

TEST_P(RegistryContract, NamesMatchWithoutCaseAndKeepTheirFirstSpelling) {
  bool created = false;
  HKey key = 0, again = 0, opened = 0;
  ASSERT_EQ(registry().createKey(scratch(), "MyApp\\Settings", key, &created), error::Success);
  EXPECT_TRUE(created);
  ASSERT_EQ(registry().createKey(scratch(), "MYAPP\\settings", again, &created), error::Success);
  EXPECT_FALSE(created);
  ASSERT_EQ(registry().openKey(scratch(), "myapp\\SETTINGS", opened), error::Success);
  EXPECT_EQ(subkeys(registry(), scratch()), std::vector<std::string>{"MyApp"});

  ASSERT_EQ(registry().setString(key, "InstallPath", "C:\\APP"), error::Success);
  ASSERT_EQ(registry().setString(opened, "INSTALLPATH", "D:\\APP"), error::Success);
  std::string name, value;
  std::uint32_t type = 0;
  Bytes data;
  ASSERT_EQ(registry().enumValue(again, 0, name, type, data), error::Success);
  EXPECT_EQ(name, "InstallPath");
  EXPECT_EQ(registry().queryString(key, "installpath", value), error::Success);
  EXPECT_EQ(value, "D:\\APP");
  EXPECT_EQ(registry().enumValue(again, 1, name, type, data), error::NoMoreItems);
  for (HKey handle : {key, again, opened}) EXPECT_EQ(registry().closeKey(handle), error::Success);
}

TEST_P(RegistryContract, DefaultValueIsTheEmptyName) {
  HKey key = create(registry(), scratch(), "htmlfile\\shell\\open\\command");
  std::string value;
  EXPECT_EQ(registry().queryString(key, "", value), error::FileNotFound);
  ASSERT_EQ(registry().setString(key, "", "viewer \"%1\""), error::Success);
  EXPECT_EQ(registry().queryString(key, "", value), error::Success);
  EXPECT_EQ(value, "viewer \"%1\"");
  EXPECT_EQ(registry().deleteValue(key, ""), error::Success);
  EXPECT_EQ(registry().queryString(key, "", value), error::FileNotFound);
  registry().closeKey(key);
}

TEST_P(RegistryContract, TypedValuesComeBackAsWritten) {
  HKey key = create(registry(), scratch(), "Types");
  for (const TypedValue& c : typedValues())
    ASSERT_EQ(registry().setValue(key, c.name, c.type, c.data), 0) << c.name;
  registry().closeKey(key);
  ASSERT_EQ(registry().openKey(scratch(), "types", key), error::Success);
  for (const TypedValue& c : typedValues()) {
    std::uint32_t type = 99;
    Bytes data{0xee};
    ASSERT_EQ(registry().queryValue(key, c.name, type, data), error::Success) << c.name;
    EXPECT_EQ(type, c.type) << c.name;
    EXPECT_EQ(data, c.data) << c.name;
  }
  std::uint32_t number = 0;
  EXPECT_EQ(registry().queryDword(key, "dword", number), error::Success);
  EXPECT_EQ(number, 10u);
  registry().closeKey(key);
}

TEST_P(RegistryContract, MissingKeysAndValuesAreFileNotFound) {
  HKey key = create(registry(), scratch(), "A");
  HKey none = 0;
  std::uint32_t type = 0;
  Bytes data;
  EXPECT_EQ(registry().openKey(scratch(), "A\\B\\C", none), error::FileNotFound);
  EXPECT_EQ(registry().queryValue(key, "nothing", type, data), error::FileNotFound);
  EXPECT_EQ(registry().deleteValue(key, "nothing"), error::FileNotFound);
  EXPECT_EQ(registry().deleteKey(scratch(), "A\\B"), error::FileNotFound);
  registry().closeKey(key);
}

TEST_P(RegistryContract, NtRefusesToDeleteAKeyWithSubkeys) {
  HKey leaf = create(registry(), scratch(), "App\\Sub\\Leaf");
  ASSERT_EQ(registry().setString(leaf, "v", "1"), error::Success);
  registry().closeKey(leaf);
  EXPECT_EQ(registry().deleteKey(scratch(), "app"), error::AccessDenied);
  HKey probe = 0;
  ASSERT_EQ(registry().openKey(scratch(), "App\\Sub\\Leaf", probe), error::Success);
  registry().closeKey(probe);
  // Leaf first, then upwards.
  EXPECT_EQ(registry().deleteKey(scratch(), "App\\Sub\\Leaf"), error::Success);
  EXPECT_EQ(registry().deleteKey(scratch(), "App\\Sub"), error::Success);
  EXPECT_EQ(registry().deleteKey(scratch(), "App"), error::Success);
  EXPECT_EQ(registry().openKey(scratch(), "App", probe), error::FileNotFound);
  // A key made again under the same name starts empty.
  HKey remade = create(registry(), scratch(), "App\\Sub\\Leaf");
  std::string value;
  EXPECT_EQ(registry().queryString(remade, "v", value), error::FileNotFound);
  registry().closeKey(remade);
}

TEST_P(RegistryContract, HandleOfADeletedKeyReportsKeyDeleted) {
  HKey key = create(registry(), scratch(), "Gone");
  ASSERT_EQ(registry().deleteKey(scratch(), "Gone"), error::Success);
  // Even a new key of the same name, with a value of the name asked for, is another key for
  // the old handle.
  HKey remade = create(registry(), scratch(), "Gone");
  ASSERT_EQ(registry().setString(remade, "v", "new"), error::Success);
  registry().closeKey(remade);
  std::string name;
  std::string value;
  HKey child = 0;
  EXPECT_EQ(registry().queryString(key, "v", value), error::KeyDeleted);
  EXPECT_EQ(registry().queryString(key, "missing", value), error::KeyDeleted);
  EXPECT_EQ(registry().setString(key, "v", "x"), error::KeyDeleted);
  EXPECT_EQ(registry().enumKey(key, 0, name), error::KeyDeleted);
  EXPECT_EQ(registry().createKey(key, "Child", child), error::KeyDeleted);
  EXPECT_EQ(registry().closeKey(key), error::Success);
}

TEST_P(RegistryContract, SubkeysAreListedInOrderWithoutRegardToCase) {
  HKey key = create(registry(), scratch(), "E");
  for (const char* name : {"delta", "Alpha", "charlie", "Bravo"}) registry().closeKey(create(registry(), key, name));
  EXPECT_EQ(subkeys(registry(), key), (std::vector<std::string>{"Alpha", "Bravo", "charlie", "delta"}));
  std::string name;
  EXPECT_EQ(registry().enumKey(key, 4, name), error::NoMoreItems);
  registry().closeKey(key);
}

TEST_P(RegistryContract, ATrailingBackslashNamesTheSameKey) {
  HKey key = create(registry(), scratch(), "Uninstall\\App 1.0\\");
  ASSERT_EQ(registry().setString(key, "DisplayName", "App 1.0"), error::Success);
  HKey opened = 0;
  ASSERT_EQ(registry().openKey(scratch(), "Uninstall\\App 1.0", opened), error::Success);
  std::string value;
  EXPECT_EQ(registry().queryString(opened, "DisplayName", value), error::Success);
  EXPECT_EQ(value, "App 1.0");
  registry().closeKey(key);
  registry().closeKey(opened);
}

}  // namespace
}  // namespace vandrel::test
