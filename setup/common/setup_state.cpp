// The script rules that depend on the installation's state.
#include "setup/common/setup_state.h"

#include <algorithm>

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

std::string expandPlaceholders(const script::ScriptReader& script, const SetupState& state,
                               const std::string& text) {
  script::PlaceholderContext context;
  context.userName = state.userName;
  context.company = state.company;
  context.serial = state.serial;
  context.installDate = state.installDate;
  context.directoryPath = [&](long number) { return directoryPath(script, state, number); };
  return script::expandPlaceholders(text, context);
}

bool isDirectorySelected(const SetupState& state, long number) {
  const auto& optional = state.optionalDirectories;
  if (std::find(optional.begin(), optional.end(), number) == optional.end()) return true;
  const auto& selected = state.selectedDirectories;
  return std::find(selected.begin(), selected.end(), number) != selected.end();
}

}  // namespace vandrel::setup
