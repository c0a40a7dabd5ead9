// The in-memory registry of the tests: a tree of keys with typed values, handles, failures.
#include "tests/support/memory_registry.h"

#include <algorithm>

#include "platform/text/text_rules.h"

namespace vandrel::test {

using platform::Bytes;
using platform::HKey;
namespace error = platform::error;

struct MemoryRegistry::Key {
  std::string name;  // as first given
  std::string path;  // upper-case full path, "HKLM\SOFTWARE\..."
  std::weak_ptr<Key> parent;
  bool deleted = false;
  std::map<std::string, std::shared_ptr<Key>> subkeys;  // upper-case name -> key
  struct Value {
    std::string name;
    std::uint32_t type = 0;
    Bytes data;
  };
  std::map<std::string, Value> values;  // upper-case name -> value
};

namespace {

std::vector<std::string> parts(const std::string& subKey) {
  std::vector<std::string> result;
  std::size_t start = 0;
  while (start <= subKey.size()) {
    std::size_t end = subKey.find('\\', start);
    if (end == std::string::npos) end = subKey.size();
    if (end > start) result.push_back(subKey.substr(start, end - start));
    start = end + 1;
  }
  return result;
}

void markDeleted(MemoryRegistry::Key& key) {
  key.deleted = true;
  for (auto& [name, sub] : key.subkeys) markDeleted(*sub);
}

}  // namespace

MemoryRegistry::MemoryRegistry(bool nt) : nt_(nt) {
  const std::pair<HKey, const char*> roots[] = {{platform::hkey::ClassesRoot, "HKCR"},
                                                {platform::hkey::CurrentUser, "HKCU"},
                                                {platform::hkey::LocalMachine, "HKLM"},
                                                {platform::hkey::Users, "HKU"}};
  for (const auto& [handle, name] : roots) {
    auto key = std::make_shared<Key>();
    key->name = name;
    key->path = name;
    roots_[handle] = key;
  }
}

MemoryRegistry::~MemoryRegistry() = default;

std::shared_ptr<MemoryRegistry::Key> MemoryRegistry::keyOf(HKey handle) const {
  if (auto root = roots_.find(handle); root != roots_.end()) return root->second;
  if (auto open = handles_.find(handle); open != handles_.end()) return open->second;
  return nullptr;
}

std::shared_ptr<MemoryRegistry::Key> MemoryRegistry::find(const std::shared_ptr<Key>& from,
                                                          const std::string& subKey) const {
  std::shared_ptr<Key> key = from;
  for (const std::string& part : parts(subKey)) {
    auto sub = key->subkeys.find(text::toUpper(part));
    if (sub == key->subkeys.end()) return nullptr;
    key = sub->second;
  }
  return key;
}

const MemoryRegistry::Key* MemoryRegistry::findConst(HKey root, const std::string& subKey) const {
  std::shared_ptr<Key> from = keyOf(root);
  return from ? find(from, subKey).get() : nullptr;
}

long MemoryRegistry::change(const Key& key) {
  ++changes_;
  if (auto failure = failAt_.find(changes_); failure != failAt_.end()) return failure->second;
  for (const std::string& denied : denied_) {
    if (key.path == denied || key.path.rfind(denied + "\\", 0) == 0) return error::AccessDenied;
  }
  return error::Success;
}

HKey MemoryRegistry::newHandle(std::shared_ptr<Key> key) {
  HKey handle = nextHandle_++;
  handles_[handle] = std::move(key);
  return handle;
}

void MemoryRegistry::failChange(int nth, long code) { failAt_[changes_ + nth] = code; }

void MemoryRegistry::denyChanges(HKey root, const std::string& subKey) {
  std::shared_ptr<Key> from = keyOf(root);
  if (!from) return;
  std::string path = from->path;
  for (const std::string& part : parts(subKey)) path += "\\" + text::toUpper(part);
  denied_.push_back(path);
}

void MemoryRegistry::clearFailures() {
  failAt_.clear();
  denied_.clear();
}

bool MemoryRegistry::hasKey(HKey root, const std::string& subKey) const {
  return findConst(root, subKey) != nullptr;
}

bool MemoryRegistry::hasValue(HKey root, const std::string& subKey, const std::string& name) const {
  const Key* key = findConst(root, subKey);
  return key && key->values.count(text::toUpper(name)) > 0;
}

std::optional<std::string> MemoryRegistry::stringValue(HKey root, const std::string& subKey,
                                                       const std::string& name) const {
  const Key* key = findConst(root, subKey);
  if (!key) return std::nullopt;
  auto value = key->values.find(text::toUpper(name));
  if (value == key->values.end() || value->second.type != platform::regtype::Sz) return std::nullopt;
  std::string text(value->second.data.begin(), value->second.data.end());
  if (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

std::optional<std::uint32_t> MemoryRegistry::dwordValue(HKey root, const std::string& subKey,
                                                        const std::string& name) const {
  const Key* key = findConst(root, subKey);
  if (!key) return std::nullopt;
  auto value = key->values.find(text::toUpper(name));
  if (value == key->values.end() || value->second.type != platform::regtype::Dword ||
      value->second.data.size() != 4) {
    return std::nullopt;
  }
  std::uint32_t number = 0;
  for (int i = 0; i < 4; ++i) number |= std::uint32_t(value->second.data[i]) << (8 * i);
  return number;
}

std::vector<std::string> MemoryRegistry::listAll() const {
  std::vector<std::string> lines;
  auto visit = [&](auto& self, const Key& key, const std::string& path) -> void {
    for (const auto& [upperName, value] : key.values) {
      std::string data;
      if (value.type == platform::regtype::Dword && value.data.size() == 4) {
        std::uint32_t number = 0;
        for (int i = 0; i < 4; ++i) number |= std::uint32_t(value.data[i]) << (8 * i);
        data = std::to_string(number);
      } else {
        data.assign(value.data.begin(), value.data.end());
        if (!data.empty() && data.back() == '\0') data.pop_back();
      }
      lines.push_back(path + "|" + value.name + "=" + data);
    }
    for (const auto& [upperName, sub] : key.subkeys) self(self, *sub, path + "\\" + sub->name);
  };
  for (const auto& [handle, root] : roots_) visit(visit, *root, root->name);
  std::sort(lines.begin(), lines.end());
  return lines;
}

long MemoryRegistry::createKey(HKey parent, const std::string& subKey, HKey& result, bool* created) {
  std::shared_ptr<Key> key = keyOf(parent);
  if (!key) return error::InvalidHandle;
  if (key->deleted) return error::KeyDeleted;
  if (created) *created = false;
  for (const std::string& part : parts(subKey)) {
    auto sub = key->subkeys.find(text::toUpper(part));
    if (sub != key->subkeys.end()) {
      key = sub->second;
      continue;
    }
    if (long code = change(*key); code != error::Success) return code;
    auto made = std::make_shared<Key>();
    made->name = part;
    made->path = key->path + "\\" + text::toUpper(part);
    made->parent = key;
    key->subkeys[text::toUpper(part)] = made;
    key = made;
    if (created) *created = true;
  }
  result = newHandle(key);
  return error::Success;
}

long MemoryRegistry::openKey(HKey parent, const std::string& subKey, HKey& result) {
  std::shared_ptr<Key> from = keyOf(parent);
  if (!from) return error::InvalidHandle;
  if (from->deleted) return error::KeyDeleted;
  std::shared_ptr<Key> key = find(from, subKey);
  if (!key) return error::FileNotFound;
  result = newHandle(key);
  return error::Success;
}

long MemoryRegistry::queryValue(HKey handle, const std::string& name, std::uint32_t& type,
                                Bytes& data) {
  std::shared_ptr<Key> key = keyOf(handle);
  if (!key) return error::InvalidHandle;
  if (key->deleted) return error::KeyDeleted;
  auto value = key->values.find(text::toUpper(name));
  if (value == key->values.end()) return error::FileNotFound;
  type = value->second.type;
  data = value->second.data;
  return error::Success;
}

long MemoryRegistry::setValue(HKey handle, const std::string& name, std::uint32_t type,
                              const Bytes& data) {
  std::shared_ptr<Key> key = keyOf(handle);
  if (!key) return error::InvalidHandle;
  if (key->deleted) return error::KeyDeleted;
  if (long code = change(*key); code != error::Success) return code;
  Key::Value& value = key->values[text::toUpper(name)];
  if (value.name.empty()) value.name = name;
  value.type = type;
  value.data = data;
  return error::Success;
}

long MemoryRegistry::deleteValue(HKey handle, const std::string& name) {
  std::shared_ptr<Key> key = keyOf(handle);
  if (!key) return error::InvalidHandle;
  if (key->deleted) return error::KeyDeleted;
  if (long code = change(*key); code != error::Success) return code;
  return key->values.erase(text::toUpper(name)) ? error::Success : error::FileNotFound;
}

long MemoryRegistry::deleteKey(HKey parent, const std::string& subKey) {
  std::shared_ptr<Key> from = keyOf(parent);
  if (!from) return error::InvalidHandle;
  if (from->deleted) return error::KeyDeleted;
  std::shared_ptr<Key> key = find(from, subKey);
  if (!key) return error::FileNotFound;
  std::shared_ptr<Key> owner = key->parent.lock();
  if (!owner) return error::AccessDenied;  // a predefined root cannot be deleted
  if (long code = change(*key); code != error::Success) return code;
  if (nt_ && !key->subkeys.empty()) return error::AccessDenied;
  markDeleted(*key);
  owner->subkeys.erase(text::toUpper(key->name));
  return error::Success;
}

long MemoryRegistry::closeKey(HKey handle) {
  if (roots_.count(handle)) return error::Success;
  return handles_.erase(handle) ? error::Success : error::InvalidHandle;
}

long MemoryRegistry::enumKey(HKey handle, std::uint32_t index, std::string& name) {
  std::shared_ptr<Key> key = keyOf(handle);
  if (!key) return error::InvalidHandle;
  if (index >= key->subkeys.size()) return error::NoMoreItems;
  auto at = key->subkeys.begin();
  std::advance(at, index);
  name = at->second->name;
  return error::Success;
}

long MemoryRegistry::enumValue(HKey handle, std::uint32_t index, std::string& name,
                               std::uint32_t& type, Bytes& data) {
  std::shared_ptr<Key> key = keyOf(handle);
  if (!key) return error::InvalidHandle;
  if (index >= key->values.size()) return error::NoMoreItems;
  auto at = key->values.begin();
  std::advance(at, index);
  name = at->second.name;
  type = at->second.type;
  data = at->second.data;
  return error::Success;
}

}  // namespace vandrel::test
