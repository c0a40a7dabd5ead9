// Comparing the version resources of the file being copied and of the file it would replace.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace vandrel::platform {
class VersionInfo;
}

namespace vandrel::setup {

struct VersionFindings {
  bool languagesDiffer = false;  // the two files' primary languages differ
  bool foreignLanguage = false;  // the copied file's primary language is not the user's
  bool productOlder = false;     // the copied product version sorts before the existing one
  bool existingHigher = false;   // the existing file version sorts after the copied one
  bool copiedHigher = false;     // the copied file version sorts after the existing one
};

// Version texts compare as text, character by character, without regard to case:
// negative, zero or positive as a sorts before, with or after b.
int compareVersionText(std::string_view a, std::string_view b);

// The findings for the two version blocks given the user's default language; nothing when
// either block lacks a translation or a file version text.
std::optional<VersionFindings> compareVersionBlocks(const platform::Bytes& copied,
                                                    const platform::Bytes& existing,
                                                    std::uint16_t userLanguage);

// The findings for two files; nothing when either has no usable version information.
std::optional<VersionFindings> compareVersions(platform::VersionInfo& versions,
                                               std::uint16_t userLanguage,
                                               const std::string& copiedPath,
                                               const std::string& existingPath);

}  // namespace vandrel::setup
