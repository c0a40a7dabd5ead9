// The replacement decision: the question the version findings or the date stamps call for.
#include "setup/versions/replace_decision.h"

#include "setup/common/setup_texts.h"
#include "setup/common/dialogs.h"

namespace vandrel::setup {

std::optional<std::string> replacementQuestion(const script::StringTable& strings,
                                               const std::optional<VersionFindings>& findings,
                                               const std::string& targetName,
                                               const platform::FileStatus& copied,
                                               const platform::FileStatus& existing) {
  if (!findings) {
    bool existingNewer = existing.creationTime > copied.creationTime ||
                         existing.lastWriteTime > copied.lastWriteTime;
    if (!existingNewer) return std::nullopt;
    return copyText(strings, sid::NewerDateStamp, targetName);
  }
  // Only both language findings together call for the language note.
  const bool languageNote = findings->languagesDiffer && findings->foreignLanguage;
  const std::string note = languageNote ? copyText(strings, sid::LanguageNote) : "";
  const std::string keep = copyText(strings, sid::KeepRecommended);
  if (findings->existingHigher) {
    return copyText(strings, sid::ExistingHigher, targetName) + note + keep;
  }
  if (findings->productOlder) {
    return copyText(strings, sid::ProductOlder, targetName) + note + keep;
  }
  if (languageNote) return copyText(strings, sid::LanguageOnly, targetName);
  return std::nullopt;
}

bool ReplacementJudge::mayReplace(const std::string& copiedPath, const std::string& existingPath,
                                  const std::string& targetName,
                                  const platform::FileStatus& copied,
                                  const platform::FileStatus& existing) {
  std::optional<VersionFindings> findings =
      compareVersions(versions_, userLanguage_, copiedPath, existingPath);
  std::optional<std::string> question =
      replacementQuestion(dialogs_.strings(), findings, targetName, copied, existing);
  if (!question) {
    lastRule_ = findings ? "versions and languages compared: no question"
                         : "no version information; the existing file is not newer by its date stamps";
    return true;
  }
  bool yes = dialogs_.ask(*question, ui::Icon::Question) == ui::Answer::Yes;
  std::string asked = *question;
  for (char& c : asked) c = c == '\r' || c == '\n' ? ' ' : c;
  lastRule_ = "asked \"" + asked + "\", the user answered " + (yes ? "Yes" : "No");
  return yes;
}

}  // namespace vandrel::setup
