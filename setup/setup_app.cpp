// The setup engine's application object: script access, directory paths, placeholders,
// the component test and the cancel confirmation.
#include "setup/setup_app.h"

#include <algorithm>

#include "script/directories.h"
#include "setup/strings/string_ids.h"

namespace vandrel::setup {

using script::Section;

SetupApp::SetupApp(platform::Machine& machine, ui::Interaction& ui,
                   const script::StringTable& strings)
    : machine_(machine), ui_(ui), strings_(strings), script_(machine.profile(), std::string()) {}

std::string SetupApp::value(const std::string& section, const std::string& key,
                            const std::string& def) {
  return script_.value(section, key, def);
}

std::string SetupApp::directoryPath(long number) {
  std::string reference = value(Section::Directories, std::to_string(number), "1000");
  script::DirectoryContext context;
  context.installFolder = state_.installFolder;
  context.windowsFolder = state_.windowsFolder;
  context.engineFolder = state_.engineFolder;
  return script::resolveDirectorySetup(reference, context);
}

std::string SetupApp::expand(const std::string& text) {
  script::PlaceholderContext context;
  context.userName = state_.userName;
  context.company = state_.company;
  context.serial = state_.serial;
  context.installDate = state_.installDate;
  context.directoryPath = [this](long number) { return directoryPath(number); };
  return script::expandPlaceholders(text, context);
}

bool SetupApp::isDirectorySelected(long number) const {
  const auto& optional = state_.optionalDirectories;
  if (std::find(optional.begin(), optional.end(), number) == optional.end()) return true;
  const auto& selected = state_.selectedDirectories;
  return std::find(selected.begin(), selected.end(), number) != selected.end();
}

bool SetupApp::confirmCancel(bool copying) {
  ui::Message message;
  message.caption = state_.appName.empty() ? strings_.get(sid::Title) : state_.appName;
  message.text = strings_.format(sid::CancelQuestion,
                                 strings_.get(copying ? sid::CancelWhileCopying : sid::CancelInWizard));
  message.buttons = ui::Buttons::YesNo;
  message.icon = ui::Icon::Question;
  return ui_.message(message) == ui::Answer::Yes;
}

std::string SetupApp::messageCaption() const {
  return state_.appName.empty() ? strings_.get(sid::Title) : state_.appName;
}

ui::Answer SetupApp::ask(const std::string& text, ui::Icon icon) {
  ui::Message message;
  message.caption = messageCaption();
  message.text = text;
  message.buttons = ui::Buttons::YesNo;
  message.icon = icon;
  return ui_.message(message);
}

void SetupApp::tell(const std::string& text, ui::Icon icon) {
  ui::Message message;
  message.caption = messageCaption();
  message.text = text;
  message.buttons = ui::Buttons::OK;
  message.icon = icon;
  ui_.message(message);
}

}  // namespace vandrel::setup
