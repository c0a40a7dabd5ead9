// The setup engine's message boxes.
#include "setup/common/dialogs.h"

#include "setup/strings/string_ids.h"

namespace vandrel::setup {

ui::Answer SetupDialogs::ask(const std::string& text, ui::Icon icon) {
  ui::Message message;
  message.caption = caption_;
  message.text = text;
  message.buttons = ui::Buttons::YesNo;
  message.icon = icon;
  return ui_.message(message);
}

void SetupDialogs::tell(const std::string& text, ui::Icon icon) {
  ui::Message message;
  message.caption = caption_;
  message.text = text;
  message.buttons = ui::Buttons::OK;
  message.icon = icon;
  ui_.message(message);
}

bool SetupDialogs::confirmCancel(bool copying) {
  std::string which = strings_.get(copying ? sid::CancelWhileCopying : sid::CancelInWizard);
  return ask(strings_.format(sid::CancelQuestion, which)) == ui::Answer::Yes;
}

}  // namespace vandrel::setup
