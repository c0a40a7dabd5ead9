// The registry of a machine seen through the changes of one run kept in memory: keys and values
// this run created, set and deleted hide or add to the machine's own; nothing reaches the
// machine's registry. The registry of a plan.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace vandrel::platform {

class OverlayRegistry : public Registry {
 public:
  // base is only read. ntSemantics: deleting a key with subkeys is refused, as on NT.
  OverlayRegistry(Registry& base, bool ntSemantics);

  long createKey(HKey parent, const std::string& subKey, HKey& result, bool* created = nullptr) override;
  long openKey(HKey parent, const std::string& subKey, HKey& result) override;
  long queryValue(HKey key, const std::string& name, std::uint32_t& type, Bytes& data) override;
  long setValue(HKey key, const std::string& name, std::uint32_t type, const Bytes& data) override;
  long deleteValue(HKey key, const std::string& name) override;
  long deleteKey(HKey parent, const std::string& subKey) override;
  long closeKey(HKey key) override;
  long enumKey(HKey key, std::uint32_t index, std::string& name) override;
  long enumValue(HKey key, std::uint32_t index, std::string& name, std::uint32_t& type,
                 Bytes& data) override;

  // How many keys and values this run changed (created, set or deleted).
  std::size_t changeCount() const;

 private:
  struct Value {
    std::string name;
    std::uint32_t type = 0;
    Bytes data;
  };
  // A key this run touched, by its path "<root>\NAME\NAME" in upper case.
  struct Key {
    std::string name;        // its own name as spelled
    bool present = true;     // false: deleted
    bool hidesBase = false;  // made anew after a delete: the machine's values and subkeys are gone
    std::map<std::string, std::optional<Value>> values;  // upper-case name; empty: deleted
  };
  struct Path {
    HKey root = 0;
    std::vector<std::string> names;  // as spelled
    std::string key() const;         // upper case, for keys_
    std::string sub() const;         // "A\B", for the machine's registry
  };

  std::optional<Path> pathOf(HKey handle) const;
  Path below(const Path& parent, const std::string& subKey) const;
  // Whether the machine's own key at path shows through this run's changes.
  bool baseVisible(const Path& path) const;
  bool baseHas(const Path& path);
  bool exists(const Path& path);
  HKey newHandle(const Path& path);
  // The subkey names and the values of a key, the machine's and this run's merged, by upper-case name.
  std::map<std::string, std::string> subkeys(const Path& path);
  std::map<std::string, Value> values(const Path& path);

  Registry& base_;
  bool nt_;
  std::map<std::string, Key> keys_;
  std::map<HKey, Path> handles_;
  HKey nextHandle_ = 0x1000;
};

}  // namespace vandrel::platform
