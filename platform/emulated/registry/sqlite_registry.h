// The emulated machine's registry, kept in an SQLite file (registry.db of the machine root).
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/registry_update.h"

namespace vandrel::platform::emulated {

class SqliteDb;

// Four trees (HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS) of keys
// and typed values. Names are matched without regard to case and keep the spelling they were
// created with. Every call is one SQLite transaction (within a batch, a savepoint of the
// batch's transaction), so several processes may share the file and a crash at any moment
// leaves it consistent. Handles belong to this object (one process);
// the predefined roots are always valid. A handle whose key was deleted meanwhile gives
// error::KeyDeleted. Subkeys and values enumerate sorted by name without regard to case.
// A key more than 512 levels below its root is refused with error::InvalidParameter.
class SqliteRegistry : public Registry, public UpdatableRegistry {
 public:
  // Opens the registry file, creating an empty registry when the file is new or empty.
  // ntSemantics: RegDeleteKeyA refuses a key with subkeys (NT) instead of removing the whole
  // tree (Windows 95/98). Throws MachineError when the file is damaged, is not a registry, or
  // cannot be opened.
  static std::unique_ptr<SqliteRegistry> open(const std::filesystem::path& dbFile,
                                              bool ntSemantics);
  ~SqliteRegistry() override;

  long createKey(HKey parent, const std::string& subKey, HKey& result,
                 bool* created = nullptr) override;
  long openKey(HKey parent, const std::string& subKey, HKey& result) override;
  long queryValue(HKey key, const std::string& name, std::uint32_t& type, Bytes& data) override;
  long setValue(HKey key, const std::string& name, std::uint32_t type, const Bytes& data) override;
  long deleteValue(HKey key, const std::string& name) override;
  long deleteKey(HKey parent, const std::string& subKey) override;
  long closeKey(HKey key) override;
  long enumKey(HKey key, std::uint32_t index, std::string& name) override;
  long enumValue(HKey key, std::uint32_t index, std::string& name, std::uint32_t& type,
                 Bytes& data) override;
  // One write transaction, begun IMMEDIATE: it waits for another process's write and then
  // keeps every other writer out until it commits.
  long update(const std::function<long()>& body) override;

  void beginBatch() override;
  bool endBatch() override;

  // Open handles of this object (the predefined roots not counted); for leak checks.
  std::size_t openHandleCount() const;

 private:
  using KeyId = std::int64_t;
  SqliteRegistry(std::unique_ptr<SqliteDb> db, bool ntSemantics);

  // The stored key behind a handle: InvalidHandle for an unknown handle. Call inside a
  // transaction; existence is checked by keyAlive.
  long keyOf(HKey handle, KeyId& id) const;
  long liveKeyOf(HKey handle, KeyId& id);
  bool keyAlive(KeyId id);
  // Follows the names of subKey down from start; FileNotFound when one is missing.
  long walk(KeyId start, const std::vector<std::string>& names, KeyId& found);
  KeyId childOf(KeyId parent, const std::string& name);
  bool hasSubkeys(KeyId id);
  // Levels below the root: 0 for a root, 1 for its subkeys.
  std::size_t depthOf(KeyId id);
  void deleteTree(KeyId id);
  HKey newHandle(KeyId id);
  template <typename Body>
  long guarded(Body body);
  void continueBatch();
  void openBatch();
  bool commitBatch();

  std::unique_ptr<SqliteDb> db_;
  bool ntSemantics_;
  mutable std::recursive_mutex mutex_;  // an update's calls come back in
  std::map<HKey, KeyId> handles_;
  HKey nextHandle_ = 0x100;
  int callDepth_ = 0;      // calls under way, an update's own calls inside it
  int batchDepth_ = 0;     // beginBatch() calls not yet ended
  bool batchOpen_ = false;  // the batch's transaction is open
  int batchCalls_ = 0;      // calls in the batch's open transaction
  bool batchLost_ = false;  // changes of the batch were undone after their calls succeeded
};

}  // namespace vandrel::platform::emulated
