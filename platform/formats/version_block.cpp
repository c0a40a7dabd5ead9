// Writing VS_VERSIONINFO blocks: nodes of a length, a value and children, 32-bit aligned.
#include "platform/formats/version_block.h"

#include <cstdio>
#include <vector>

#include "platform/formats/byte_io.h"

namespace vandrel::platform {
namespace {

// UTF-8 text as UTF-16 with its NUL, as the block's keys and strings are stored.
void putWide(formats::ByteWriter& w, const std::string& text) {
  for (char16_t c : formats::utf8ToUtf16(text)) w.u16(std::uint16_t(c));
  w.u16(0);
}

// One node: wLength, wValueLength, wType, key, padding, value, padding, children.
struct VersionNode {
  std::string key;
  Bytes value;               // binary value
  std::string text;          // text value (wType 1) when isText
  bool isText = false;
  std::vector<VersionNode> children;
};

Bytes encode(const VersionNode& node) {
  formats::ByteWriter w;
  w.zeros(4);
  w.u16(node.isText || node.value.empty() ? 1 : 0);
  putWide(w, node.key);
  w.alignTo(4);
  if (node.isText) {
    w.put16At(2, std::uint16_t(node.text.size() + 1));
    putWide(w, node.text);
  } else {
    w.put16At(2, std::uint16_t(node.value.size()));
    w.append(node.value.data(), node.value.size());
  }
  for (const VersionNode& child : node.children) {
    w.alignTo(4);
    Bytes bytes = encode(child);
    w.append(bytes.data(), bytes.size());
  }
  w.put16At(0, std::uint16_t(w.size()));
  return w.bytes();
}

Bytes fixedFileInfo(FourPartVersion file, FourPartVersion product, std::uint32_t fileType) {
  formats::ByteWriter w;
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
  return w.bytes();
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
