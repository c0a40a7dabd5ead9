// An in-memory Windows registry for unit tests, able to refuse changes on demand.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace vandrel::test {

// Keys and value names are matched without regard to case and kept in the case first given.
// On an NT registry deleteKey refuses a key that has subkeys; otherwise it removes the tree.
// A change is the creation of a key, the setting or deletion of a value, or the deletion of
// a key; changes can be refused by number or below a key, as a locked key refuses them.
class MemoryRegistry : public platform::Registry {
 public:
  explicit MemoryRegistry(bool nt = false);
  ~MemoryRegistry() override;

  // --- Inspection for tests ---
  bool hasKey(platform::HKey root, const std::string& subKey) const;
  bool hasValue(platform::HKey root, const std::string& subKey, const std::string& name) const;
  std::optional<std::string> stringValue(platform::HKey root, const std::string& subKey,
                                         const std::string& name) const;
  std::optional<std::uint32_t> dwordValue(platform::HKey root, const std::string& subKey,
                                          const std::string& name) const;
  // Every value as "ROOT\key\path|name=data" (strings as text, DWORDs in decimal), sorted.
  std::vector<std::string> listAll() const;
  // Changes made so far (refused ones included), and handles still open.
  int changeCount() const { return changes_; }
  std::size_t openHandles() const { return handles_.size(); }

  // --- Failures on demand ---
  // The nth change from now (1: the next one) fails with code and changes nothing.
  void failChange(int nth, long code = platform::error::AccessDenied);
  // Every change of the key or below it fails as access denied; reading still works.
  void denyChanges(platform::HKey root, const std::string& subKey);
  void clearFailures();

  // --- platform::Registry ---
  long createKey(platform::HKey parent, const std::string& subKey, platform::HKey& result,
                 bool* created = nullptr) override;
  long openKey(platform::HKey parent, const std::string& subKey, platform::HKey& result) override;
  long queryValue(platform::HKey key, const std::string& name, std::uint32_t& type,
                  platform::Bytes& data) override;
  long setValue(platform::HKey key, const std::string& name, std::uint32_t type,
                const platform::Bytes& data) override;
  long deleteValue(platform::HKey key, const std::string& name) override;
  long deleteKey(platform::HKey parent, const std::string& subKey) override;
  long closeKey(platform::HKey key) override;
  long enumKey(platform::HKey key, std::uint32_t index, std::string& name) override;
  long enumValue(platform::HKey key, std::uint32_t index, std::string& name, std::uint32_t& type,
                 platform::Bytes& data) override;

  struct Key;

 private:
  // The key behind a handle or a predefined root; null for an unknown handle.
  std::shared_ptr<Key> keyOf(platform::HKey handle) const;
  std::shared_ptr<Key> find(const std::shared_ptr<Key>& from, const std::string& subKey) const;
  const Key* findConst(platform::HKey root, const std::string& subKey) const;
  // The result of the next change on key: Success, or the code of a failure set up above.
  long change(const Key& key);
  platform::HKey newHandle(std::shared_ptr<Key> key);

  bool nt_;
  std::map<platform::HKey, std::shared_ptr<Key>> roots_;
  std::map<platform::HKey, std::shared_ptr<Key>> handles_;
  platform::HKey nextHandle_ = 0x100;
  int changes_ = 0;
  std::map<int, long> failAt_;        // change number -> error code
  std::vector<std::string> denied_;   // upper-case full key paths
};

}  // namespace vandrel::test
