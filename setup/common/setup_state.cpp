// The script rules that depend on the installation's state.
#include "setup/common/setup_state.h"

#include <algorithm>
#include <functional>

#include "script/directories.h"
#include "script/placeholders.h"
#include "script/schema.h"

namespace vandrel::setup {

std::string directoryPath(const script::ScriptReader& script, const SetupState& state,
                          long number) {
  std::string reference =
      script.value(script::sectionName(script::Section::Directories), std::to_string(number), "1000");
  script::DirectoryContext context;
  context.installFolder = state.installFolder;
  context.windowsFolder = state.windowsFolder;
  context.engineFolder = state.engineFolder;
  return script::resolveDirectorySetup(reference, context);
}

namespace {

script::PlaceholderContext placeholderContext(const SetupState& state,
                                              std::function<std::string(long)> directories) {
  script::PlaceholderContext context;
  context.userName = state.userName;
  context.company = state.company;
  context.serial = state.serial;
  context.installDate = state.installDate;
  context.directoryPath = std::move(directories);
  return context;
}

}  // namespace

std::string expandPlaceholders(const script::ScriptReader& script, const SetupState& state,
                               const std::string& text) {
  auto directories = [&](long number) { return directoryPath(script, state, number); };
  return script::expandPlaceholders(text, placeholderContext(state, directories));
}

PlaceholderExpander::PlaceholderExpander(const script::ScriptReader& script, const SetupState& state)
    : script_(script), state_(state) {}

std::string PlaceholderExpander::operator()(const std::string& text) {
  // Text without a placeholder's bracket has nothing to expand.
  if (text.find('[') == std::string::npos) return text;
  auto directories = [this](long number) {
    auto kept = paths_.find(number);
    if (kept == paths_.end()) kept = paths_.emplace(number, directoryPath(script_, state_, number)).first;
    return kept->second;
  };
  return script::expandPlaceholders(text, placeholderContext(state_, directories));
}

bool isDirectorySelected(const SetupState& state, long number) {
  const auto& optional = state.optionalDirectories;
  if (std::find(optional.begin(), optional.end(), number) == optional.end()) return true;
  const auto& selected = state.selectedDirectories;
  return std::find(selected.begin(), selected.end(), number) != selected.end();
}

}  // namespace vandrel::setup
