// The setup engine's application object: script access and its message boxes.
#include "setup/setup_app.h"

#include "setup/strings/string_ids.h"

namespace vandrel::setup {

using script::Section;

SetupApp::SetupApp(platform::Machine& machine, ui::Interaction& ui,
                   const script::StringTable& strings, ui::ActionLog* log)
    : machine_(machine),
      ui_(ui, machine.files(), &machine.profile()),
      log_(log ? log : &ownLog_),
      strings_(strings),
      script_(machine.profile(), std::string()) {}

std::string SetupApp::value(const std::string& section, const std::string& key,
                            const std::string& def) {
  return script_.value(section, key, def);
}

bool SetupApp::confirmCancel(bool copying) { return dialogs().confirmCancel(copying); }

std::string SetupApp::messageCaption() const {
  return state_.appName.empty() ? strings_.get(sid::Title) : state_.appName;
}

ui::Answer SetupApp::ask(const std::string& text, ui::Icon icon) {
  return dialogs().ask(text, icon);
}

void SetupApp::tell(const std::string& text, ui::Icon icon) { dialogs().tell(text, icon); }

void SetupApp::problem(const std::string& what) {
  std::fprintf(errors_, "tamsin32: %s\n", what.c_str());
  std::fflush(errors_);
}

}  // namespace vandrel::setup
