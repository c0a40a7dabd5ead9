// The questions and notices: the message box with Windows' button labels, and the
// uninstaller's shared-file question with its three buttons.
#pragma once

#include "ui/interaction.h"

class QWidget;

namespace vandrel::ui {
class ScriptedInteraction;
}

namespace vandrel::ui::qt {

// Shows the message until it is answered. With autopilot, the button of its answer is pressed.
// Closed without a button, the answer is Cancel where there is one, else the default; the
// three-button question answers No. With an owner (the wizard's frame) the box stands over it.
Answer runMessageBox(const Message& message, ScriptedInteraction* autopilot, QWidget* owner = nullptr);

}  // namespace vandrel::ui::qt
