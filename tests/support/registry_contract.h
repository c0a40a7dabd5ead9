// The registry's rules as Windows NT keeps them, checked on every registry backend: each
// backend's test program instantiates RegistryContract with a way to open its registry.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/registry.h"

namespace vandrel::test {

// One registry to check, and a key of it that the cases may fill and empty (on the real
// registry a scratch key, removed afterwards by the backend's test).
struct RegistryUnderTest {
  std::shared_ptr<platform::Registry> registry;
  platform::HKey scratch = 0;
};

struct RegistryBackend {
  std::string name;
  std::function<RegistryUnderTest()> open;
};

class RegistryContract : public ::testing::TestWithParam<RegistryBackend> {
 protected:
  void SetUp() override {
    tested_ = GetParam().open();
    ASSERT_TRUE(tested_.registry);
  }
  platform::Registry& registry() { return *tested_.registry; }
  platform::HKey scratch() const { return tested_.scratch; }

 private:
  RegistryUnderTest tested_;
};

}  // namespace vandrel::test
