// Writing VS_VERSIONINFO blocks: nodes of a length, a value and children, 32-bit aligned.
#include "platform/formats/version_block.h"

#include <cstdio>
#include <vector>

namespace vandrel::platform {
namespace {

class Writer {
 public:
  Bytes out;
  void u8(std::uint8_t v) { out.push_back(v); }
  void u16(std::uint16_t v) { u8(std::uint8_t(v)), u8(std::uint8_t(v >> 8)); }
  void u32(std::uint32_t v) { u16(std::uint16_t(v)), u16(std::uint16_t(v >> 16)); }
  void u64(std::uint64_t v) { u32(std::uint32_t(v)), u32(std::uint32_t(v >> 32)); }
  void zeros(std::size_t n) { out.insert(out.end(), n, 0); }
  void alignTo(std::size_t n) { zeros((n - out.size() % n) % n); }
  void put32(std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = std::uint8_t(v >> (8 * i));
  }
  void put16(std::size_t at, std::uint16_t v) {
    out[at] = std::uint8_t(v);
    out[at + 1] = std::uint8_t(v >> 8);
  }
  // UTF-8 text as UTF-16 with its NUL (characters of the Basic Multilingual Plane).
  void wide(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
      auto b = std::uint8_t(text[i]);
      std::size_t extra = b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
      std::uint32_t c = extra == 2 ? b & 0x0F : extra == 1 ? b & 0x1F : b;
      for (std::size_t k = 1; k <= extra && i + k < text.size(); ++k) {
        c = (c << 6) | (std::uint8_t(text[i + k]) & 0x3F);
      }
      u16(std::uint16_t(c));
      i += extra + 1;
    }
    u16(0);
  }
};

// One node: wLength, wValueLength, wType, key, padding, value, padding, children.
struct VersionNode {
  std::string key;
  Bytes value;               // binary value
  std::string text;          // text value (wType 1) when isText
  bool isText = false;
  std::vector<VersionNode> children;
};

Bytes encode(const VersionNode& node) {
  Writer w;
  w.zeros(4);
  w.u16(node.isText || node.value.empty() ? 1 : 0);
  w.wide(node.key);
  w.alignTo(4);
  if (node.isText) {
    w.put16(2, std::uint16_t(node.text.size() + 1));
    w.wide(node.text);
  } else {
    w.put16(2, std::uint16_t(node.value.size()));
    w.out.insert(w.out.end(), node.value.begin(), node.value.end());
  }
  for (const VersionNode& child : node.children) {
    w.alignTo(4);
    Bytes bytes = encode(child);
    w.out.insert(w.out.end(), bytes.begin(), bytes.end());
  }
  w.put16(0, std::uint16_t(w.out.size()));
  return w.out;
}

Bytes fixedFileInfo(FourPartVersion file, FourPartVersion product, std::uint32_t fileType) {
  Writer w;
  w.u32(0xFEEF04BD);
  w.u32(0x00010000);
  w.u32(std::uint32_t(file.major) << 16 | file.minor);
  w.u32(std::uint32_t(file.build) << 16 | file.revision);
  w.u32(std::uint32_t(product.major) << 16 | product.minor);
  w.u32(std::uint32_t(product.build) << 16 | product.revision);
  w.u32(0x3F);     // file flags mask
  w.u32(0);        // file flags
  w.u32(0x40004);  // VOS_NT_WINDOWS32
  w.u32(fileType);  // VFT_APP or VFT_DLL
  w.u32(0);
  w.u32(0);        // file date
  w.u32(0);
  return w.out;
}

}  // namespace

FourPartVersion parseFourPartVersion(const std::string& text) {
  std::uint16_t parts[4] = {0, 0, 0, 0};
  std::size_t at = 0;
  for (int i = 0; i < 4 && at <= text.size(); ++i) {
    std::size_t dot = text.find('.', at);
    std::string part = text.substr(at, dot == std::string::npos ? std::string::npos : dot - at);
    unsigned long value = 0;
    for (char c : part) {
      if (c < '0' || c > '9') break;
      value = value * 10 + unsigned(c - '0');
      if (value > 0xFFFF) value = 0xFFFF;
    }
    parts[i] = std::uint16_t(value);
    if (dot == std::string::npos) break;
    at = dot + 1;
  }
  return {parts[0], parts[1], parts[2], parts[3]};
}

Bytes writeVersionBlock(FourPartVersion fileVersion, FourPartVersion productVersion,
                        std::uint16_t langId, std::uint16_t codepage,
                        const std::map<std::string, std::string>& strings,
                        std::uint32_t fileType) {
  char name[9];
  std::snprintf(name, sizeof name, "%04x%04x", unsigned(langId), unsigned(codepage));
  VersionNode table{name, {}, {}, false, {}};
  for (const auto& [key, text] : strings) table.children.push_back({key, {}, text, true, {}});
  VersionNode stringInfo{"StringFileInfo", {}, {}, false, {table}};
  Bytes pair = {std::uint8_t(langId), std::uint8_t(langId >> 8), std::uint8_t(codepage),
                std::uint8_t(codepage >> 8)};
  VersionNode translation{"Translation", pair, {}, false, {}};
  VersionNode varInfo{"VarFileInfo", {}, {}, false, {translation}};
  VersionNode root{"VS_VERSION_INFO", fixedFileInfo(fileVersion, productVersion, fileType), {}, false,
                   {stringInfo, varInfo}};
  return encode(root);
}

}  // namespace vandrel::platform
