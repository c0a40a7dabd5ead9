// Walking a VS_VERSIONINFO block: nodes, their keys and values, with every offset checked.
#include "platform/formats/version_resource.h"

#include <cstdio>

#include "platform/code_page.h"
#include "platform/formats/byte_io.h"

namespace vandrel::platform {
namespace {

using formats::ByteView;

// Children looked at per node; a real block has a handful.
constexpr int MaxChildren = 4096;

std::size_t align4(std::size_t offset) { return (offset + 3) & ~std::size_t(3); }

// One node: wLength, wValueLength, [wType,] key, padding, value, padding, children.
struct Node {
  std::size_t end = 0;  // start + wLength, within the parent
  std::string key;
  std::size_t valueOffset = 0;
  std::size_t valueLength = 0;  // wValueLength as stored (characters for UTF-16 text)
  bool wideText = false;        // wType 1 in the UTF-16 form
  std::size_t children = 0;
};

class Block {
 public:
  explicit Block(const Bytes& bytes) : view_(bytes) {
    // The root key "VS_VERSION_INFO" sits after wType in the UTF-16 form, right after the
    // two lengths in the 8-bit form.
    wide_ = !(view_.has(4, 2) && view_.data()[4] == 'V' && view_.data()[5] == 'S');
  }
  bool wide() const { return wide_; }
  const ByteView& view() const { return view_; }

  std::optional<Node> node(std::size_t start, std::size_t limit) const;
  std::optional<Node> child(const Node& parent, const std::string& key) const;

 private:
  std::optional<std::string> wideKey(std::size_t offset, std::size_t limit, std::size_t& end) const;

  ByteView view_;
  bool wide_ = true;
};

bool sameKey(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::optional<std::string> Block::wideKey(std::size_t offset, std::size_t limit,
                                          std::size_t& end) const {
  std::u16string key;
  for (std::size_t at = offset; at + 2 <= limit; at += 2) {
    auto c = view_.u16(at);
    if (!c) return std::nullopt;
    if (*c == 0) {
      end = at + 2;
      return utf8ToCp1252(formats::utf16ToUtf8(key));
    }
    key.push_back(char16_t(*c));
  }
  return std::nullopt;
}

std::optional<Node> Block::node(std::size_t start, std::size_t limit) const {
  auto length = view_.u16(start);
  auto valueLength = view_.u16(start + 2);
  if (!length || !valueLength || *length < 4 || start + *length > limit) return std::nullopt;
  Node node;
  node.end = start + *length;
  node.valueLength = *valueLength;
  std::size_t keyEnd = 0;
  if (wide_) {
    auto type = view_.u16(start + 4);
    if (!type) return std::nullopt;
    node.wideText = *type == 1;
    auto key = wideKey(start + 6, node.end, keyEnd);
    if (!key) return std::nullopt;
    node.key = *key;
  } else {
    auto key = view_.cString(start + 4, node.end, &keyEnd);
    if (!key) return std::nullopt;
    node.key = *key;
  }
  node.valueOffset = std::min(align4(keyEnd), node.end);
  std::size_t valueBytes = node.wideText ? node.valueLength * 2 : node.valueLength;
  node.children = std::min(align4(node.valueOffset + valueBytes), node.end);
  return node;
}

std::optional<Node> Block::child(const Node& parent, const std::string& key) const {
  std::size_t at = parent.children;
  for (int count = 0; count < MaxChildren && at + 4 <= parent.end; ++count) {
    auto next = node(at, parent.end);
    if (!next) return std::nullopt;
    if (sameKey(next->key, key)) return next;
    at = align4(next->end);  // the length is at least 4, so this always moves on
  }
  return std::nullopt;
}

std::vector<std::string> splitPath(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path) {
    if (c == '\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part.push_back(c);
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

// A text value: UTF-16 up to its NUL (the stored length is not always in characters), or
// 8-bit up to its NUL; never past the node. The UTF-16 form comes back in code page 1252, as
// VerQueryValueA gives it: a character the code page lacks becomes "?".
std::string textValue(const Block& block, const Node& node) {
  if (node.valueLength == 0) return {};
  const ByteView& view = block.view();
  if (!block.wide()) return view.cString(node.valueOffset, node.end).value_or(
      std::string(reinterpret_cast<const char*>(view.data()) + node.valueOffset,
                  node.end - node.valueOffset));
  std::u16string text;
  for (std::size_t at = node.valueOffset; at + 2 <= node.end; at += 2) {
    std::uint16_t c = *view.u16(at);
    if (c == 0) break;
    text.push_back(char16_t(c));
  }
  return utf8ToCp1252(formats::utf16ToUtf8(text));
}

}  // namespace

std::string Translation::blockName() const {
  char name[9];
  std::snprintf(name, sizeof name, "%04x%04x", unsigned(language), unsigned(codePage));
  return name;
}

std::optional<VersionValue> verQueryValue(const Bytes& bytes, const std::string& subBlock) {
  Block block(bytes);
  auto node = block.node(0, bytes.size());
  if (!node) return std::nullopt;
  std::vector<std::string> parts = splitPath(subBlock);
  for (const std::string& part : parts) {
    node = block.child(*node, part);
    if (!node) return std::nullopt;
  }
  VersionValue value;
  // Everything under StringFileInfo is text; in the UTF-16 form wType says so too.
  value.isText = node->wideText || (parts.size() == 3 && sameKey(parts[0], "StringFileInfo"));
  if (value.isText) {
    std::string text = textValue(block, *node);
    value.data.assign(text.begin(), text.end());
  } else {
    std::size_t size = std::min(node->valueLength, node->end - node->valueOffset);
    value.data.assign(bytes.begin() + std::ptrdiff_t(node->valueOffset),
                      bytes.begin() + std::ptrdiff_t(node->valueOffset + size));
  }
  return value;
}

std::optional<FixedFileInfo> queryFixedFileInfo(const Bytes& block) {
  auto value = verQueryValue(block, "\\");
  if (!value || value->isText || value->data.size() < FixedFileInfo::Size) return std::nullopt;
  ByteView view(value->data);
  std::uint32_t fields[13];
  for (int i = 0; i < 13; ++i) fields[i] = *view.u32(std::size_t(i) * 4);
  if (fields[0] != FixedFileInfo::Signature) return std::nullopt;
  FixedFileInfo info;
  std::uint32_t* targets[13] = {&info.signature,     &info.structVersion,    &info.fileVersionMS,
                                &info.fileVersionLS, &info.productVersionMS, &info.productVersionLS,
                                &info.fileFlagsMask, &info.fileFlags,        &info.fileOS,
                                &info.fileType,      &info.fileSubtype,      &info.fileDateMS,
                                &info.fileDateLS};
  for (int i = 0; i < 13; ++i) *targets[i] = fields[i];
  return info;
}

std::vector<Translation> queryTranslations(const Bytes& block) {
  std::vector<Translation> result;
  auto value = verQueryValue(block, "\\VarFileInfo\\Translation");
  if (!value || value->isText) return result;
  ByteView view(value->data);
  for (std::size_t at = 0; view.has(at, 4); at += 4) {
    result.push_back(Translation{*view.u16(at), *view.u16(at + 2)});
  }
  return result;
}

std::optional<std::string> queryString(const Bytes& block, const std::string& subBlock) {
  auto value = verQueryValue(block, subBlock);
  if (!value || !value->isText) return std::nullopt;
  return value->text();
}

}  // namespace vandrel::platform
