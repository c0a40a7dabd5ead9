// Values in a VS_VERSIONINFO block (VerQueryValueA): fixed file information, translations
// and version strings.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace vandrel::platform {

// VS_FIXEDFILEINFO.
struct FixedFileInfo {
  static constexpr std::uint32_t Signature = 0xFEEF04BD;
  static constexpr std::size_t Size = 52;

  std::uint32_t signature = 0;
  std::uint32_t structVersion = 0;
  std::uint32_t fileVersionMS = 0;
  std::uint32_t fileVersionLS = 0;
  std::uint32_t productVersionMS = 0;
  std::uint32_t productVersionLS = 0;
  std::uint32_t fileFlagsMask = 0;
  std::uint32_t fileFlags = 0;
  std::uint32_t fileOS = 0;
  std::uint32_t fileType = 0;
  std::uint32_t fileSubtype = 0;
  std::uint32_t fileDateMS = 0;
  std::uint32_t fileDateLS = 0;

  // The four parts, most significant first: 1.2.3.4 is {1, 2, 3, 4}.
  std::array<std::uint16_t, 4> fileVersion() const { return split(fileVersionMS, fileVersionLS); }
  std::array<std::uint16_t, 4> productVersion() const {
    return split(productVersionMS, productVersionLS);
  }
  // The file's date stamp as a FileTime (0 when the file has none).
  FileTime fileDate() const { return FileTime(fileDateMS) << 32 | fileDateLS; }

  static std::array<std::uint16_t, 4> split(std::uint32_t ms, std::uint32_t ls) {
    return {std::uint16_t(ms >> 16), std::uint16_t(ms), std::uint16_t(ls >> 16), std::uint16_t(ls)};
  }
};

// One entry of "\VarFileInfo\Translation".
struct Translation {
  std::uint16_t language = 0;
  std::uint16_t codePage = 0;
  // The string table name for this translation: "040904b0".
  std::string blockName() const;
};

// A value found by verQueryValue.
struct VersionValue {
  Bytes data;           // binary values: their bytes; text values: the text, without the NUL
  bool isText = false;  // values in StringFileInfo
  std::string text() const { return std::string(data.begin(), data.end()); }
};

// VerQueryValueA on a block as read from a file (UTF-16 as in 32-bit files, or the 8-bit
// form of 16-bit files). subBlock is a backslash path matched without regard to case:
// "\" gives the VS_FIXEDFILEINFO bytes, "\VarFileInfo\Translation" the language/code-page
// pairs, "\StringFileInfo\040904b0\FileVersion" the text (in code page 1252, as the "A"
// function gives it). nullopt when the path is not in the block or the block is damaged.
std::optional<VersionValue> verQueryValue(const Bytes& block, const std::string& subBlock);

// Conveniences over verQueryValue.
std::optional<FixedFileInfo> queryFixedFileInfo(const Bytes& block);
std::vector<Translation> queryTranslations(const Bytes& block);
// A text value; nullopt when the path is missing or holds a binary value.
std::optional<std::string> queryString(const Bytes& block, const std::string& subBlock);

}  // namespace vandrel::platform
