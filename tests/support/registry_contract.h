// The registry's rules as Windows NT keeps them, checked on every registry backend: each
// backend's test program instantiates RegistryContract with a way to open its registry.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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

// Values of every type a program may write, with data a careless store would change: string
// terminators, an empty binary, a list's double terminator, a type the registry does not know.
struct TypedValue {
  const char* name;
  std::uint32_t type;
  platform::Bytes data;
};

inline const std::vector<TypedValue>& typedValues() {
  using namespace std::string_literals;
  auto bytes = [](const std::string& text) { return platform::Bytes(text.begin(), text.end()); };
  static const std::vector<TypedValue> values = {
      {"sz", platform::regtype::Sz, bytes("text\0"s)},
      {"expand", platform::regtype::ExpandSz, bytes("%windir%\\x\0"s)},
      {"dword", platform::regtype::Dword, {0x0a, 0, 0, 0}},
      {"binary", platform::regtype::Binary, {0x00, 0xff, 0x10, 0x00}},
      {"empty binary", platform::regtype::Binary, {}},
      {"multi", platform::regtype::MultiSz, bytes("a\0bc\0\0"s)},
      {"odd type", 11, {1, 2, 3, 4, 5, 6, 7, 8}},
  };
  return values;
}

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
