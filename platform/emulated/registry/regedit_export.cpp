// Writing a registry tree as REGEDIT4 text.
#include "platform/emulated/registry/regedit_text.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/emulated/registry/key_names.h"

namespace vandrel::platform::emulated {

namespace {

struct Value {
  std::string name;
  std::uint32_t type = 0;
  Bytes data;
};

// Closes a key handle when it goes out of scope.
class KeyCloser {
 public:
  KeyCloser(Registry& registry, HKey key) : registry_(registry), key_(key) {}
  ~KeyCloser() { registry_.closeKey(key_); }
  KeyCloser(const KeyCloser&) = delete;
  KeyCloser& operator=(const KeyCloser&) = delete;

 private:
  Registry& registry_;
  HKey key_;
};

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + '"';
}

// Text that can stand between quotes: one terminating zero, no zero or line break inside.
bool plainString(const Bytes& data) {
  if (data.empty() || data.back() != 0) return false;
  return std::none_of(data.begin(), data.end() - 1,
                      [](std::uint8_t b) { return b == 0 || b == '\r' || b == '\n'; });
}

// hex: data, wrapped as regedit wraps it: a line never grows past 78 characters and the
// trailing "\"; continuation lines are indented by two blanks.
void appendHex(std::string& out, std::size_t lineStart, const std::string& prefix,
               const Bytes& data) {
  static const char digits[] = "0123456789abcdef";
  out += prefix;
  for (std::size_t i = 0; i < data.size(); ++i) {
    out += digits[data[i] >> 4];
    out += digits[data[i] & 15];
    if (i + 1 == data.size()) break;
    out += ',';
    if (out.size() - lineStart > 75) {
      out += "\\\n  ";
      lineStart = out.size() - 2;
    }
  }
}

void appendValue(std::string& out, const Value& value) {
  std::size_t lineStart = out.size();
  out += value.name.empty() ? std::string("@") : quoted(value.name);
  out += '=';
  if (value.type == regtype::Sz && plainString(value.data)) {
    out += quoted(std::string(value.data.begin(), value.data.end() - 1));
  } else if (value.type == regtype::Dword && value.data.size() == 4) {
    char text[16];
    std::uint32_t number = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                           (std::uint32_t(value.data[3]) << 24);
    std::snprintf(text, sizeof text, "dword:%08x", number);
    out += text;
  } else if (value.type == regtype::Binary) {
    appendHex(out, lineStart, "hex:", value.data);
  } else {
    char prefix[24];
    std::snprintf(prefix, sizeof prefix, "hex(%x):", unsigned(value.type));
    appendHex(out, lineStart, prefix, value.data);
  }
  out += '\n';
}

// Sorted without regard to case, whatever order the registry enumerates in.
void sortByName(std::vector<std::string>& names) {
  std::sort(names.begin(), names.end(), lessIgnoringCase);
}

void exportKey(Registry& registry, HKey key, const std::string& path, std::string& out) {
  out += '[' + path + "]\n";
  std::vector<Value> values;
  Value value;
  for (std::uint32_t i = 0;
       registry.enumValue(key, i, value.name, value.type, value.data) == error::Success; ++i) {
    values.push_back(value);
  }
  std::sort(values.begin(), values.end(),
            [](const Value& a, const Value& b) { return lessIgnoringCase(a.name, b.name); });
  for (const Value& v : values) appendValue(out, v);
  out += '\n';

  std::vector<std::string> subkeys;
  std::string name;
  for (std::uint32_t i = 0; registry.enumKey(key, i, name) == error::Success; ++i)
    subkeys.push_back(name);
  sortByName(subkeys);
  for (const std::string& subkey : subkeys) {
    HKey child = 0;
    if (registry.openKey(key, subkey, child) != error::Success) continue;
    KeyCloser closer(registry, child);
    exportKey(registry, child, path + '\\' + subkey, out);
  }
}

// The stored spelling of a subkey of key, found by enumeration.
bool storedName(Registry& registry, HKey key, const std::string& wanted, std::string& spelled) {
  std::string folded = foldName(wanted);
  for (std::uint32_t i = 0; registry.enumKey(key, i, spelled) == error::Success; ++i) {
    if (foldName(spelled) == folded) return true;
  }
  return false;
}

void exportPath(Registry& registry, const std::string& keyPath, std::string& out) {
  std::vector<std::string> names = splitKeyPath(keyPath);
  std::optional<RootName> root = names.empty() ? std::nullopt : findRoot(names[0]);
  if (!root) throw RegeditError("unknown registry root in \"" + keyPath + "\"");
  std::string path = root->name;
  HKey key = root->key;
  std::vector<HKey> opened;
  struct Closer {
    Registry& registry;
    std::vector<HKey>& keys;
    ~Closer() {
      for (HKey k : keys) registry.closeKey(k);
    }
  } closer{registry, opened};
  for (std::size_t i = 1; i < names.size(); ++i) {
    std::string spelled;
    HKey child = 0;
    if (!storedName(registry, key, names[i], spelled) ||
        registry.openKey(key, spelled, child) != error::Success) {
      throw RegeditError("registry key not found: " + keyPath);
    }
    opened.push_back(child);
    key = child;
    path += '\\' + spelled;
  }
  exportKey(registry, key, path, out);
}

}  // namespace

std::string exportRegedit4(Registry& registry, const std::string& keyPath) {
  std::string out = "REGEDIT4\n\n";
  if (splitKeyPath(keyPath).empty()) {
    for (const RootName& root : kRootNames) exportKey(registry, root.key, root.name, out);
  } else {
    exportPath(registry, keyPath, out);
  }
  return out;
}

}  // namespace vandrel::platform::emulated
