// Whether an existing file may be replaced: the question that the findings or the date
// stamps call for, asked through the interaction port.
#pragma once

#include <optional>
#include <string>

#include "platform/file_system.h"
#include "setup/versions/version_compare.h"

namespace vandrel::setup {

class SetupApp;

// The question to ask before overwriting the existing file, or nothing when it may be
// overwritten without asking. Without findings the date stamps decide: an existing file
// created or modified later than the copied one asks.
std::optional<std::string> replacementQuestion(const SetupApp& app,
                                               const std::optional<VersionFindings>& findings,
                                               const std::string& targetName,
                                               const platform::FileStatus& copied,
                                               const platform::FileStatus& existing);

// The whole decision for one file: compares, asks when needed; true to overwrite.
bool decideReplacement(SetupApp& app, const std::string& copiedPath,
                       const std::string& existingPath, const std::string& targetName,
                       const platform::FileStatus& copied, const platform::FileStatus& existing);

}  // namespace vandrel::setup
