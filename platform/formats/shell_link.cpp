// Writing and reading .lnk files: header, link information and string data.
#include "platform/formats/shell_link.h"

#include <algorithm>
#include <vector>

#include "platform/formats/byte_io.h"

namespace vandrel::platform {
namespace {

using formats::ByteView;
using formats::ByteWriter;

constexpr std::uint32_t HeaderSize = 0x4C;
constexpr std::uint8_t LinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                        0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

namespace flag {
constexpr std::uint32_t HasLinkTargetIdList = 0x01;
constexpr std::uint32_t HasLinkInfo = 0x02;
constexpr std::uint32_t HasName = 0x04;
constexpr std::uint32_t HasRelativePath = 0x08;
constexpr std::uint32_t HasWorkingDir = 0x10;
constexpr std::uint32_t HasArguments = 0x20;
constexpr std::uint32_t HasIconLocation = 0x40;
constexpr std::uint32_t IsUnicode = 0x80;
}  // namespace flag

constexpr std::uint32_t VolumeIdAndLocalBasePath = 0x01;
constexpr std::uint32_t DriveFixed = 3;
constexpr std::uint32_t FileAttributeArchive = 0x20;
// Show commands a shortcut may carry; anything else is stored as a normal window.
constexpr int ShowNormal = 1, ShowMaximized = 3, ShowMinNoActive = 7;

// A link knows three show commands; every other value means a normal window, when written
// and when read.
int knownShowCommand(int show) {
  return show == ShowMaximized || show == ShowMinNoActive ? show : ShowNormal;
}

bool isAscii(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// The 8-bit form of a path for readers that only take it: non-ASCII characters become "?".
std::string asciiOnly(const std::string& text) {
  std::string out;
  for (char16_t c : formats::utf8ToUtf16(text)) out.push_back(c < 0x80 ? char(c) : '?');
  return out;
}

// A volume serial number that is the same for every link to one drive.
std::uint32_t volumeSerial(const std::string& target) {
  char drive = target.size() >= 2 && target[1] == ':' ? char(target[0] & ~0x20) : 'C';
  return 0x1C0DE000u | std::uint32_t(std::uint8_t(drive));
}

void writeLinkInfo(ByteWriter& w, const std::string& target) {
  const bool unicode = !isAscii(target);
  const std::uint32_t headerSize = unicode ? 0x24 : 0x1C;
  const std::string ansiPath = asciiOnly(target);
  const std::uint32_t volumeSize = 16 + 1;  // fields and an empty label
  const std::uint32_t basePath = headerSize + volumeSize;
  const std::uint32_t suffix = basePath + std::uint32_t(ansiPath.size()) + 1;
  const std::uint32_t unicodePath = suffix + 1;
  std::size_t start = w.size();
  w.u32(0);  // size, filled in below
  w.u32(headerSize);
  w.u32(VolumeIdAndLocalBasePath);
  w.u32(headerSize);  // VolumeID follows the header
  w.u32(basePath);
  w.u32(0);           // no network location
  w.u32(suffix);
  if (unicode) {
    std::u16string wide = formats::utf8ToUtf16(target);
    w.u32(unicodePath);
    w.u32(unicodePath + std::uint32_t(wide.size() + 1) * 2);
  }
  w.u32(volumeSize);
  w.u32(DriveFixed);
  w.u32(volumeSerial(target));
  w.u32(0x10);  // label offset
  w.u8(0);      // empty label
  w.append(ansiPath.data(), ansiPath.size());
  w.u8(0);
  w.u8(0);  // empty common path suffix
  if (unicode) {
    for (char16_t c : formats::utf8ToUtf16(target)) w.u16(c);
    w.u16(0);
    w.u16(0);
  }
  w.put32At(start, std::uint32_t(w.size() - start));
}

void writeString(ByteWriter& w, const std::string& text, bool unicode) {
  if (unicode) {
    std::u16string wide = formats::utf8ToUtf16(text);
    w.u16(std::uint16_t(wide.size()));
    for (char16_t c : wide) w.u16(c);
  } else {
    w.u16(std::uint16_t(text.size()));
    w.append(text.data(), text.size());
  }
}

// Splits "C:\A\b.exe" into its parts ("C:", "A", "b.exe"), either separator, empty parts dropped.
std::vector<std::string> pathParts(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path) {
    if (c == '\\' || c == '/') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part.push_back(c);
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

bool sameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = char(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = char(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

std::string relativeLinkPath(const std::string& linkPath, const std::string& target) {
  std::vector<std::string> from = pathParts(linkPath), to = pathParts(target);
  auto isDrive = [](const std::vector<std::string>& p) {
    return p.size() >= 2 && p[0].size() == 2 && p[0][1] == ':';
  };
  if (!isDrive(from) || !isDrive(to) || !sameName(from[0], to[0])) return {};
  from.pop_back();  // the link's own name
  std::size_t common = 0;
  while (common < from.size() && common + 1 < to.size() && sameName(from[common], to[common])) {
    ++common;
  }
  std::string relative;
  if (common == from.size()) relative = ".\\";
  for (std::size_t i = common; i < from.size(); ++i) relative += "..\\";
  for (std::size_t i = common; i < to.size(); ++i) {
    relative += to[i];
    if (i + 1 < to.size()) relative += "\\";
  }
  return relative;
}

Bytes encodeShellLink(const ShellLink& link, const std::string& linkPath) {
  std::string relative = linkPath.empty() ? std::string() : relativeLinkPath(linkPath, link.target);
  const std::string* strings[] = {&link.description, &relative, &link.workingDirectory,
                                  &link.arguments, &link.iconLocation};
  const std::uint32_t stringFlags[] = {flag::HasName, flag::HasRelativePath, flag::HasWorkingDir,
                                       flag::HasArguments, flag::HasIconLocation};
  std::uint32_t flags = 0;
  bool unicode = false;
  if (!link.target.empty()) flags |= flag::HasLinkInfo;
  for (int i = 0; i < 5; ++i) {
    if (strings[i]->empty()) continue;
    flags |= stringFlags[i];
    unicode = unicode || !isAscii(*strings[i]);
  }
  if (unicode) flags |= flag::IsUnicode;
  int show = knownShowCommand(link.showCommand);

  ByteWriter w;
  w.u32(HeaderSize);
  w.append(LinkClsid, sizeof LinkClsid);
  w.u32(flags);
  w.u32(FileAttributeArchive);
  w.zeros(24);  // creation, access and write times: unknown
  w.u32(0);     // target size: unknown
  w.u32(std::uint32_t(link.iconIndex));
  w.u32(std::uint32_t(show));
  w.zeros(2 + 2 + 4 + 4);  // no hot key; reserved
  if (flags & flag::HasLinkInfo) writeLinkInfo(w, link.target);
  for (int i = 0; i < 5; ++i) {
    if (flags & stringFlags[i]) writeString(w, *strings[i], unicode);
  }
  w.u32(0);  // terminal block
  return std::move(w.bytes());
}

namespace {

std::optional<std::string> readWideString(const ByteView& view, std::size_t offset, std::size_t limit) {
  std::u16string text;
  for (std::size_t at = offset; at + 2 <= limit; at += 2) {
    auto c = view.u16(at);
    if (!c) return std::nullopt;
    if (*c == 0) return formats::utf16ToUtf8(text);
    text.push_back(char16_t(*c));
  }
  return std::nullopt;
}

// The local path in a LinkInfo structure at start (base path + common suffix).
std::optional<std::string> readLinkInfoPath(const ByteView& view, std::size_t start, std::size_t size) {
  auto headerSize = view.u32(start + 4), flags = view.u32(start + 8);
  auto base = view.u32(start + 16), suffix = view.u32(start + 24);
  if (!headerSize || !flags || !base || !suffix || *headerSize < 0x1C || *headerSize > size) {
    return std::nullopt;
  }
  if (!(*flags & VolumeIdAndLocalBasePath)) return std::string();
  const std::size_t end = start + size;
  if (*headerSize >= 0x24) {
    auto wideBase = view.u32(start + 28), wideSuffix = view.u32(start + 32);
    if (wideBase && wideSuffix && *wideBase) {
      auto path = readWideString(view, start + *wideBase, end);
      auto tail = readWideString(view, start + *wideSuffix, end);
      if (!path || !tail) return std::nullopt;
      return *path + *tail;
    }
  }
  auto path = view.cString(start + *base, end);
  auto tail = view.cString(start + *suffix, end);
  if (!path || !tail) return std::nullopt;
  return *path + *tail;
}

}  // namespace

std::optional<ShellLink> decodeShellLink(const Bytes& bytes) {
  ByteView view(bytes);
  if (view.u32(0) != HeaderSize || !view.has(0, HeaderSize) ||
      !std::equal(LinkClsid, LinkClsid + 16, bytes.begin() + 4)) {
    return std::nullopt;
  }
  std::uint32_t flags = *view.u32(20);
  ShellLink link;
  link.iconIndex = std::int32_t(*view.u32(56));
  link.showCommand = knownShowCommand(std::int32_t(*view.u32(60)));
  std::size_t at = HeaderSize;
  if (flags & flag::HasLinkTargetIdList) {
    auto size = view.u16(at);
    if (!size || !view.has(at + 2, *size)) return std::nullopt;
    at += 2 + *size;
  }
  if (flags & flag::HasLinkInfo) {
    auto size = view.u32(at);
    if (!size || *size < 0x1C || !view.has(at, *size)) return std::nullopt;
    auto path = readLinkInfoPath(view, at, *size);
    if (!path) return std::nullopt;
    link.target = *path;
    at += *size;
  }
  std::string relative;
  std::string* fields[] = {&link.description, &relative, &link.workingDirectory, &link.arguments,
                           &link.iconLocation};
  const std::uint32_t fieldFlags[] = {flag::HasName, flag::HasRelativePath, flag::HasWorkingDir,
                                      flag::HasArguments, flag::HasIconLocation};
  const bool unicode = flags & flag::IsUnicode;
  for (int i = 0; i < 5; ++i) {
    if (!(flags & fieldFlags[i])) continue;
    auto count = view.u16(at);
    std::size_t bytesLong = count ? std::size_t(*count) * (unicode ? 2 : 1) : 0;
    if (!count || !view.has(at + 2, bytesLong)) return std::nullopt;
    if (unicode) {
      std::u16string text;
      for (std::size_t k = 0; k < *count; ++k) text.push_back(char16_t(*view.u16(at + 2 + 2 * k)));
      *fields[i] = formats::utf16ToUtf8(text);
    } else {
      fields[i]->assign(reinterpret_cast<const char*>(bytes.data() + at + 2), bytesLong);
    }
    // Some writers count the string's terminating zero as one of its characters; it is not
    // part of the text.
    while (!fields[i]->empty() && fields[i]->back() == '\0') fields[i]->pop_back();
    at += 2 + bytesLong;
  }
  if (link.target.empty()) link.target = relative;
  return link;
}

}  // namespace vandrel::platform
