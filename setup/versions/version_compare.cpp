// Version comparison of two files over their version resources.
#include "setup/versions/version_compare.h"

#include <cctype>
#include <cstdio>

#include "platform/formats/version_resource.h"
#include "platform/version_info.h"
#include "platform/text/text_rules.h"

namespace vandrel::setup {
namespace {

constexpr std::uint16_t kPrimaryLanguageMask = 0x3FF;

struct BlockInfo {
  platform::Translation translation;
  std::string name;  // the string table of the first translation: "040904b0"
};

std::optional<BlockInfo> firstTranslation(const platform::Bytes& block) {
  std::vector<platform::Translation> translations = platform::queryTranslations(block);
  if (translations.empty()) return std::nullopt;
  BlockInfo info{translations.front(), {}};
  char name[16];
  std::snprintf(name, sizeof name, "%04x%04x", info.translation.language,
                info.translation.codePage);
  info.name = name;
  return info;
}

std::optional<std::string> stringValue(const platform::Bytes& block, const BlockInfo& info,
                                       const char* valueName) {
  return platform::queryString(block, "\\StringFileInfo\\" + info.name + "\\" + valueName);
}

}  // namespace

int compareVersionText(std::string_view a, std::string_view b) { return text::compareNoCase(a, b); }

std::optional<VersionFindings> compareVersionBlocks(const platform::Bytes& copied,
                                                    const platform::Bytes& existing,
                                                    std::uint16_t userLanguage) {
  std::optional<BlockInfo> copiedInfo = firstTranslation(copied);
  std::optional<BlockInfo> existingInfo = firstTranslation(existing);
  if (!copiedInfo || !existingInfo) return std::nullopt;

  VersionFindings findings;
  std::uint16_t copiedLanguage = copiedInfo->translation.language & kPrimaryLanguageMask;
  findings.languagesDiffer =
      copiedLanguage != (existingInfo->translation.language & kPrimaryLanguageMask);
  findings.foreignLanguage = copiedLanguage != (userLanguage & kPrimaryLanguageMask);

  auto copiedProduct = stringValue(copied, *copiedInfo, "ProductVersion");
  auto existingProduct = stringValue(existing, *existingInfo, "ProductVersion");
  if (copiedProduct && existingProduct) {
    findings.productOlder = compareVersionText(*copiedProduct, *existingProduct) < 0;
  }

  auto copiedFile = stringValue(copied, *copiedInfo, "FileVersion");
  auto existingFile = stringValue(existing, *existingInfo, "FileVersion");
  if (!copiedFile || !existingFile) return std::nullopt;
  int order = compareVersionText(*copiedFile, *existingFile);
  findings.copiedHigher = order > 0;
  findings.existingHigher = order < 0;
  return findings;
}

std::optional<VersionFindings> compareVersions(platform::VersionInfo& versions,
                                               std::uint16_t userLanguage,
                                               const std::string& copiedPath,
                                               const std::string& existingPath) {
  if (versions.infoSize(copiedPath) == 0 || versions.infoSize(existingPath) == 0) {
    return std::nullopt;
  }
  platform::Bytes copied, existing;
  if (!versions.info(copiedPath, copied) || !versions.info(existingPath, existing)) {
    return std::nullopt;
  }
  return compareVersionBlocks(copied, existing, userLanguage);
}

}  // namespace vandrel::setup
