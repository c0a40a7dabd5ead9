// The registry of a plan: the machine's keys and values under this run's changes.
#include "platform/plan/overlay_registry.h"

#include "platform/text/text_rules.h"

namespace vandrel::platform {
namespace {

bool isRoot(HKey key) {
  return key == hkey::ClassesRoot || key == hkey::CurrentUser || key == hkey::LocalMachine ||
         key == hkey::Users;
}

std::vector<std::string> splitKeyPath(const std::string& path) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) names.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

}  // namespace

std::string OverlayRegistry::Path::key() const {
  std::string text = std::to_string(root);
  for (const std::string& name : names) text += "\\" + text::toUpper(name);
  return text;
}

std::string OverlayRegistry::Path::sub() const {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : "\\") + name;
  return text;
}

OverlayRegistry::OverlayRegistry(Registry& base, bool ntSemantics) : base_(base), nt_(ntSemantics) {}

std::optional<OverlayRegistry::Path> OverlayRegistry::pathOf(HKey handle) const {
  if (isRoot(handle)) return Path{handle, {}};
  auto found = handles_.find(handle);
  if (found == handles_.end()) return std::nullopt;
  return found->second;
}

OverlayRegistry::Path OverlayRegistry::below(const Path& parent, const std::string& subKey) const {
  Path path = parent;
  for (std::string& name : splitKeyPath(subKey)) path.names.push_back(std::move(name));
  return path;
}

bool OverlayRegistry::baseVisible(const Path& path) const {
  Path prefix{path.root, {}};
  for (const std::string& name : path.names) {
    prefix.names.push_back(name);
    auto found = keys_.find(prefix.key());
    if (found != keys_.end() && (!found->second.present || found->second.hidesBase)) return false;
  }
  return true;
}

bool OverlayRegistry::baseHas(const Path& path) {
  if (path.names.empty()) return true;
  HKey key = 0;
  if (base_.openKey(path.root, path.sub(), key) != error::Success) return false;
  base_.closeKey(key);
  return true;
}

bool OverlayRegistry::exists(const Path& path) {
  if (path.names.empty()) return true;
  auto found = keys_.find(path.key());
  if (found != keys_.end()) return found->second.present;
  return baseVisible(path) && baseHas(path);
}

HKey OverlayRegistry::newHandle(const Path& path) {
  HKey handle = nextHandle_++;
  handles_[handle] = path;
  return handle;
}

long OverlayRegistry::createKey(HKey parent, const std::string& subKey, HKey& result,
                                bool* created) {
  std::optional<Path> start = pathOf(parent);
  if (!start) return error::InvalidHandle;
  if (!exists(*start)) return error::KeyDeleted;
  Path path = *start;
  bool made = false;
  for (const std::string& name : splitKeyPath(subKey)) {
    path.names.push_back(name);
    made = !exists(path);
    if (made) {
      auto [it, fresh] = keys_.try_emplace(path.key());
      Key& key = it->second;
      // A key deleted earlier in this run comes back empty: nothing of the machine's shows.
      key.hidesBase = !fresh;
      key.present = true;
      key.name = name;
      key.values.clear();
    }
  }
  result = newHandle(path);
  if (created) *created = made;
  return error::Success;
}

long OverlayRegistry::openKey(HKey parent, const std::string& subKey, HKey& result) {
  std::optional<Path> start = pathOf(parent);
  if (!start) return error::InvalidHandle;
  if (!exists(*start)) return error::KeyDeleted;
  Path path = below(*start, subKey);
  if (!exists(path)) return error::FileNotFound;
  result = newHandle(path);
  return error::Success;
}

std::map<std::string, OverlayRegistry::Value> OverlayRegistry::values(const Path& path) {
  std::map<std::string, Value> all;
  if (baseVisible(path)) {
    HKey key = 0;
    if (base_.openKey(path.root, path.sub(), key) == error::Success) {
      Value value;
      for (std::uint32_t i = 0;
           base_.enumValue(key, i, value.name, value.type, value.data) == error::Success; ++i) {
        all[text::toUpper(value.name)] = value;
      }
      base_.closeKey(key);
    }
  }
  auto found = keys_.find(path.key());
  if (found != keys_.end()) {
    for (const auto& [upper, value] : found->second.values) {
      if (!value) {
        all.erase(upper);
        continue;
      }
      auto machine = all.find(upper);
      Value changed = *value;
      // A value the machine has keeps the spelling of its name.
      if (machine != all.end()) changed.name = machine->second.name;
      all[upper] = changed;
    }
  }
  return all;
}

std::map<std::string, std::string> OverlayRegistry::subkeys(const Path& path) {
  std::map<std::string, std::string> all;
  if (baseVisible(path)) {
    HKey key = 0;
    if (base_.openKey(path.root, path.sub(), key) == error::Success) {
      std::string name;
      for (std::uint32_t i = 0; base_.enumKey(key, i, name) == error::Success; ++i) {
        all[text::toUpper(name)] = name;
      }
      base_.closeKey(key);
    }
  }
  const std::string prefix = path.key() + "\\";
  for (auto it = keys_.lower_bound(prefix); it != keys_.end(); ++it) {
    if (it->first.compare(0, prefix.size(), prefix) != 0) break;
    if (it->first.find('\\', prefix.size()) != std::string::npos) continue;
    std::string upper = it->first.substr(prefix.size());
    if (!it->second.present) {
      all.erase(upper);
    } else if (!all.count(upper)) {
      all[upper] = it->second.name;
    }
  }
  return all;
}

long OverlayRegistry::queryValue(HKey key, const std::string& name, std::uint32_t& type,
                                 Bytes& data) {
  std::optional<Path> path = pathOf(key);
  if (!path) return error::InvalidHandle;
  if (!exists(*path)) return error::KeyDeleted;
  auto found = keys_.find(path->key());
  if (found != keys_.end()) {
    auto value = found->second.values.find(text::toUpper(name));
    if (value != found->second.values.end()) {
      if (!value->second) return error::FileNotFound;
      type = value->second->type;
      data = value->second->data;
      return error::Success;
    }
  }
  if (!baseVisible(*path)) return error::FileNotFound;
  HKey machineKey = 0;
  if (path->names.empty()) {
    return base_.queryValue(path->root, name, type, data);
  }
  if (base_.openKey(path->root, path->sub(), machineKey) != error::Success) return error::FileNotFound;
  long rc = base_.queryValue(machineKey, name, type, data);
  base_.closeKey(machineKey);
  return rc;
}

long OverlayRegistry::setValue(HKey key, const std::string& name, std::uint32_t type,
                               const Bytes& data) {
  std::optional<Path> path = pathOf(key);
  if (!path) return error::InvalidHandle;
  if (!exists(*path)) return error::KeyDeleted;
  auto [it, fresh] = keys_.try_emplace(path->key());
  if (fresh) it->second.name = path->names.empty() ? std::string() : path->names.back();
  it->second.values[text::toUpper(name)] = Value{name, type, data};
  return error::Success;
}

long OverlayRegistry::deleteValue(HKey key, const std::string& name) {
  std::optional<Path> path = pathOf(key);
  if (!path) return error::InvalidHandle;
  if (!exists(*path)) return error::KeyDeleted;
  std::uint32_t type = 0;
  Bytes data;
  if (queryValue(key, name, type, data) != error::Success) return error::FileNotFound;
  auto [it, fresh] = keys_.try_emplace(path->key());
  if (fresh) it->second.name = path->names.empty() ? std::string() : path->names.back();
  it->second.values[text::toUpper(name)] = std::nullopt;
  return error::Success;
}

long OverlayRegistry::deleteKey(HKey parent, const std::string& subKey) {
  std::optional<Path> start = pathOf(parent);
  if (!start) return error::InvalidHandle;
  if (!exists(*start)) return error::KeyDeleted;
  Path path = below(*start, subKey);
  if (!exists(path)) return error::FileNotFound;
  // The four roots can never be deleted; NT keeps a key that still has subkeys.
  if (path.names.empty()) return error::AccessDenied;
  if (nt_ && !subkeys(path).empty()) return error::AccessDenied;
  const std::string prefix = path.key() + "\\";
  for (auto it = keys_.lower_bound(prefix); it != keys_.end();) {
    if (it->first.compare(0, prefix.size(), prefix) != 0) break;
    it = keys_.erase(it);
  }
  Key& key = keys_[path.key()];
  key.name = path.names.back();
  key.present = false;
  key.hidesBase = true;
  key.values.clear();
  return error::Success;
}

long OverlayRegistry::closeKey(HKey key) {
  if (isRoot(key)) return error::Success;
  return handles_.erase(key) ? error::Success : error::InvalidHandle;
}

long OverlayRegistry::enumKey(HKey key, std::uint32_t index, std::string& name) {
  std::optional<Path> path = pathOf(key);
  if (!path) return error::InvalidHandle;
  if (!exists(*path)) return error::KeyDeleted;
  std::map<std::string, std::string> all = subkeys(*path);
  if (index >= all.size()) return error::NoMoreItems;
  auto it = all.begin();
  std::advance(it, index);
  name = it->second;
  return error::Success;
}

long OverlayRegistry::enumValue(HKey key, std::uint32_t index, std::string& name,
                                std::uint32_t& type, Bytes& data) {
  std::optional<Path> path = pathOf(key);
  if (!path) return error::InvalidHandle;
  if (!exists(*path)) return error::KeyDeleted;
  std::map<std::string, Value> all = values(*path);
  if (index >= all.size()) return error::NoMoreItems;
  auto it = all.begin();
  std::advance(it, index);
  name = it->second.name;
  type = it->second.type;
  data = it->second.data;
  return error::Success;
}

std::size_t OverlayRegistry::changeCount() const {
  std::size_t count = 0;
  for (const auto& [path, key] : keys_) count += 1 + key.values.size();
  return count;
}

}  // namespace vandrel::platform
