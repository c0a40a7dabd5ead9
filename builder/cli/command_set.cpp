// corvix set DOC KEY=VALUE... and corvix get DOC KEY: the document's settings by their keys.
#include "builder/cli/command_session.h"
#include "builder/cli/command_set_sections.h"
#include "builder/codec/document_settings.h"
#include "platform/code_page.h"

namespace vandrel::builder::cli {

int usageError(CommandContext& context, const std::string& text) {
  context.err << "corvix: " << text << "\n";
  return exit_status::Usage;
}

std::string applySettings(CScriptDoc& doc, const std::vector<std::string>& assignments) {
  for (const std::string& assignment : assignments) {
    std::size_t equals = assignment.find('=');
    if (equals == std::string::npos || equals == 0) {
      return "\"" + assignment + "\" is not KEY=VALUE";
    }
    // Typed in UTF-8, kept in the code page as the document's texts are.
    std::string value = platform::utf8ToCp1252(assignment.substr(equals + 1));
    std::string key = assignment.substr(0, equals);
    std::optional<std::string> other = changeOtherSetting(doc, key, value);
    std::string error = other ? *other : changeSetting(doc, key, value);
    if (!error.empty()) return error;
  }
  return {};
}

BuildValues takeBuildValues(std::vector<std::string>& assignments) {
  BuildValues values;
  std::vector<std::string> settings;
  for (const std::string& assignment : assignments) {
    std::size_t equals = assignment.find('=');
    std::string key = assignment.substr(0, equals);
    bool variable = equals != std::string::npos && isBuildVariableName(key) &&
                    !settingName(key) && !otherSettingName(key);
    if (variable) {
      values.emplace_back(key, platform::utf8ToCp1252(assignment.substr(equals + 1)));
    } else {
      settings.push_back(assignment);
    }
  }
  assignments = std::move(settings);
  return values;
}

CommandRun defineSet(CommandLine& sub) {
  auto doc = std::make_shared<std::string>();
  auto assignments = std::make_shared<std::vector<std::string>>();
  sub.argument("DOC", *doc, "the document (.cvx or text form)");
  sub.argument("KEY=VALUE", *assignments, "the settings to change");
  return [doc, assignments](CommandContext& context) {
    std::unique_ptr<HeadlessSession> session = openSession(context, *doc);
    if (!session) return exit_status::Failed;
    // Every pair is checked before the document is written: a refused one changes nothing.
    std::string error = applySettings(session->doc, *assignments);
    if (!error.empty()) return usageError(context, error);
    session->doc.setModifiedFlag();
    return session->saveIfModified() ? exit_status::Done : exit_status::Failed;
  };
}

CommandRun defineGet(CommandLine& sub) {
  auto doc = std::make_shared<std::string>();
  auto key = std::make_shared<std::string>();
  sub.argument("DOC", *doc, "the document (.cvx or text form)");
  sub.argument("KEY", *key, "the setting to print");
  return [doc, key](CommandContext& context) {
    if (!settingName(*key) && !otherSettingName(*key))
      return usageError(context, "unknown setting \"" + *key + "\"");
    std::unique_ptr<HeadlessSession> session = openSession(context, *doc);
    if (!session) return exit_status::Failed;
    std::optional<std::string> value = otherSettingValue(session->doc, *key);
    if (!value) value = settingValue(session->doc, *key);
    context.out << platform::cp1252ToUtf8(*value) << "\n";
    return exit_status::Done;
  };
}

}  // namespace vandrel::builder::cli
