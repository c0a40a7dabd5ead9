// The setup engine's message boxes: questions, messages and the cancel confirmation, all
// captioned with the application's name.
#pragma once

#include <string>

#include "script/string_table.h"
#include "ui/interaction.h"

namespace vandrel::setup {

class SetupDialogs {
 public:
  // caption: the application's name, or the program's title before the name is known.
  SetupDialogs(ui::Interaction& ui, const script::StringTable& strings, std::string caption)
      : ui_(ui), strings_(strings), caption_(std::move(caption)) {}

  ui::Interaction& ui() { return ui_; }
  const script::StringTable& strings() const { return strings_; }
  const std::string& caption() const { return caption_; }

  // A Yes/No question, and a message with a single OK button.
  ui::Answer ask(const std::string& text, ui::Icon icon = ui::Icon::Question);
  void tell(const std::string& text, ui::Icon icon);
  // The cancel confirmation; copying chooses the copy variant of its text. True for Yes.
  bool confirmCancel(bool copying);

 private:
  ui::Interaction& ui_;
  const script::StringTable& strings_;
  std::string caption_;
};

}  // namespace vandrel::setup
