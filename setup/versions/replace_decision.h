// Whether an existing file may be replaced: the question that the findings or the date
// stamps call for, asked through the interaction port.
#pragma once

#include <optional>
#include <string>

#include "platform/file_system.h"
#include "platform/version_info.h"
#include "script/string_table.h"
#include "setup/versions/version_compare.h"

namespace vandrel::setup {

class SetupDialogs;

// The question to ask before overwriting the existing file, or nothing when it may be
// overwritten without asking. Without findings the date stamps decide: an existing file
// created or modified later than the copied one asks.
std::optional<std::string> replacementQuestion(const script::StringTable& strings,
                                               const std::optional<VersionFindings>& findings,
                                               const std::string& targetName,
                                               const platform::FileStatus& copied,
                                               const platform::FileStatus& existing);

// The whole decision for one file: compares the versions, asks when needed.
class ReplacementJudge {
 public:
  ReplacementJudge(platform::VersionInfo& versions, std::uint16_t userLanguage,
                   SetupDialogs& dialogs)
      : versions_(versions), userLanguage_(userLanguage), dialogs_(dialogs) {}
  // True to overwrite the existing file.
  bool mayReplace(const std::string& copiedPath, const std::string& existingPath,
                  const std::string& targetName, const platform::FileStatus& copied,
                  const platform::FileStatus& existing);
  // What decided the last mayReplace, for the action log: the comparison that let the file
  // be replaced without a question, or the question asked and the user's answer.
  const std::string& lastRule() const { return lastRule_; }
  // Whether both files have version resources and the existing one's file version is the
  // higher; nothing is asked.
  bool existingIsHigher(const std::string& copiedPath, const std::string& existingPath) {
    auto findings = compareVersions(versions_, userLanguage_, copiedPath, existingPath);
    return findings && findings->existingHigher;
  }

 private:
  std::string lastRule_;
  platform::VersionInfo& versions_;
  std::uint16_t userLanguage_;
  SetupDialogs& dialogs_;
};

}  // namespace vandrel::setup
