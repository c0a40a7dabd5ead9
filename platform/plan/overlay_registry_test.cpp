// The registry of a plan over an in-memory registry: values set and deleted are read back,
// keys deleted hide their subtree and come back empty, enumeration merges both in name order,
// names match without regard to case, and the machine's registry never changes.
#include "platform/plan/overlay_registry.h"

#include <gtest/gtest.h>

#include "tests/support/memory_registry.h"

namespace vandrel::platform {
namespace {

struct OverlayKeys : ::testing::TestWithParam<bool> {
  test::MemoryRegistry machine{GetParam()};
  OverlayRegistry plan{machine, GetParam()};
  std::vector<std::string> before;

  OverlayKeys() {
    HKey key = 0;
    machine.createKey(hkey::LocalMachine, "Software\\Co\\Tool", key);
    machine.setString(key, "Dir", "C:\\Tool");
    machine.setString(key, "Zed", "z");
    machine.closeKey(key);
    machine.createKey(hkey::LocalMachine, "Software\\Co\\Tool\\Parts", key);
    machine.closeKey(key);
    before = machine.listAll();
    changes = machine.changeCount();
  }
  void TearDown() override {
    EXPECT_EQ(machine.listAll(), before);
    EXPECT_EQ(machine.changeCount(), changes) << "nothing was asked of the machine's registry";
    EXPECT_TRUE(machine.hasKey(hkey::LocalMachine, "Software\\Co\\Tool\\Parts"));
  }
  int changes = 0;
  HKey open(const std::string& path) {
    HKey key = 0;
    EXPECT_EQ(plan.openKey(hkey::LocalMachine, path, key), error::Success) << path;
    return key;
  }
  std::vector<std::string> subkeys(HKey key) {
    std::vector<std::string> names;
    std::string name;
    for (std::uint32_t i = 0; plan.enumKey(key, i, name) == error::Success; ++i) names.push_back(name);
    return names;
  }
  std::vector<std::string> values(HKey key) {
    std::vector<std::string> names;
    std::string name;
    std::uint32_t type = 0;
    Bytes data;
    for (std::uint32_t i = 0; plan.enumValue(key, i, name, type, data) == error::Success; ++i)
      names.push_back(name);
    return names;
  }
};

TEST_P(OverlayKeys, ValuesSetAndDeletedAreReadBackInAnyCase) {
  HKey tool = open("SOFTWARE\\co\\TOOL");
  std::string text;
  EXPECT_EQ(plan.queryString(tool, "dir", text), error::Success);
  EXPECT_EQ(text, "C:\\Tool");
  EXPECT_EQ(plan.setString(tool, "DIR", "D:\\Tool"), error::Success);
  EXPECT_EQ(plan.setDword(tool, "Count", 3), error::Success);
  EXPECT_EQ(plan.queryString(tool, "Dir", text), error::Success);
  EXPECT_EQ(text, "D:\\Tool");
  std::uint32_t count = 0;
  EXPECT_EQ(plan.queryDword(tool, "COUNT", count), error::Success);
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(plan.deleteValue(tool, "zed"), error::Success);
  EXPECT_EQ(plan.deleteValue(tool, "Zed"), error::FileNotFound);
  EXPECT_EQ(plan.queryString(tool, "Zed", text), error::FileNotFound);
  // The machine's spelling of a value it has is kept.
  EXPECT_EQ(values(tool), (std::vector<std::string>{"Count", "Dir"}));
  EXPECT_EQ(plan.closeKey(tool), error::Success);
  EXPECT_EQ(plan.closeKey(tool), error::InvalidHandle);
}

TEST_P(OverlayKeys, KeysCreatedAndDeleted) {
  HKey made = 0;
  bool created = false;
  ASSERT_EQ(plan.createKey(hkey::LocalMachine, "Software\\Co\\New\\Deep", made, &created), error::Success);
  EXPECT_TRUE(created);
  ASSERT_EQ(plan.createKey(hkey::LocalMachine, "software\\co\\new\\DEEP", made, &created), error::Success);
  EXPECT_FALSE(created);
  HKey co = open("Software\\Co");
  EXPECT_EQ(subkeys(co), (std::vector<std::string>{"New", "Tool"}));

  // Windows 95/98 deletes a key with its subkeys; NT refuses while it has any.
  long rc = plan.deleteKey(hkey::LocalMachine, "Software\\Co\\Tool");
  if (GetParam()) {
    EXPECT_EQ(rc, error::AccessDenied);
    ASSERT_EQ(plan.deleteKey(hkey::LocalMachine, "Software\\Co\\Tool\\Parts"), error::Success);
    EXPECT_EQ(subkeys(open("Software\\Co\\Tool")), std::vector<std::string>{});
    ASSERT_EQ(plan.deleteKey(hkey::LocalMachine, "Software\\Co\\Tool"), error::Success);
  } else {
    EXPECT_EQ(rc, error::Success);
  }
  HKey gone = 0;
  EXPECT_EQ(plan.openKey(hkey::LocalMachine, "Software\\Co\\Tool\\Parts", gone), error::FileNotFound);
  EXPECT_EQ(plan.openKey(hkey::LocalMachine, "Software\\Co\\Tool", gone), error::FileNotFound);
  EXPECT_EQ(plan.deleteKey(hkey::LocalMachine, "Software\\Co\\Tool"), error::FileNotFound);
  EXPECT_EQ(subkeys(co), (std::vector<std::string>{"New"}));

  // Made anew, the key is empty: the machine's values and subkeys stay hidden.
  HKey again = 0;
  ASSERT_EQ(plan.createKey(hkey::LocalMachine, "Software\\Co\\Tool", again, &created), error::Success);
  EXPECT_TRUE(created);
  EXPECT_EQ(values(again), std::vector<std::string>{});
  EXPECT_EQ(subkeys(again), std::vector<std::string>{});
  std::string text;
  EXPECT_EQ(plan.queryString(again, "Dir", text), error::FileNotFound);
  EXPECT_EQ(plan.deleteKey(hkey::LocalMachine, "Software"), GetParam() ? error::AccessDenied : error::Success);
}

INSTANTIATE_TEST_SUITE_P(Systems, OverlayKeys, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "NT" : "Win98"; });

}  // namespace
}  // namespace vandrel::platform
