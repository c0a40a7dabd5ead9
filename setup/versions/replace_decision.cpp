// The replacement decision: the question the version findings or the date stamps call for.
#include "setup/versions/replace_decision.h"

#include "setup/copy/copy_texts.h"
#include "setup/setup_app.h"

namespace vandrel::setup {

std::optional<std::string> replacementQuestion(const SetupApp& app,
                                               const std::optional<VersionFindings>& findings,
                                               const std::string& targetName,
                                               const platform::FileStatus& copied,
                                               const platform::FileStatus& existing) {
  if (!findings) {
    bool existingNewer = existing.creationTime > copied.creationTime ||
                         existing.lastWriteTime > copied.lastWriteTime;
    if (!existingNewer) return std::nullopt;
    return copyText(app, sid::NewerDateStamp, targetName);
  }
  // Only both language findings together call for the language note.
  const bool languageNote = findings->languagesDiffer && findings->foreignLanguage;
  const std::string note = languageNote ? copyText(app, sid::LanguageNote) : "";
  const std::string keep = copyText(app, sid::KeepRecommended);
  if (findings->existingHigher) {
    return copyText(app, sid::ExistingHigher, targetName) + note + keep;
  }
  if (findings->productOlder) {
    return copyText(app, sid::ProductOlder, targetName) + note + keep;
  }
  if (languageNote) return copyText(app, sid::LanguageOnly, targetName);
  return std::nullopt;
}

bool decideReplacement(SetupApp& app, const std::string& copiedPath,
                       const std::string& existingPath, const std::string& targetName,
                       const platform::FileStatus& copied, const platform::FileStatus& existing) {
  std::optional<VersionFindings> findings =
      compareVersions(app.machine(), copiedPath, existingPath);
  std::optional<std::string> question =
      replacementQuestion(app, findings, targetName, copied, existing);
  if (!question) return true;
  return app.ask(*question, ui::Icon::Question) == ui::Answer::Yes;
}

}  // namespace vandrel::setup
