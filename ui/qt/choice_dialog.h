// The list choice: the question's text over a list of items, OK and Cancel.
#pragma once

#include <optional>

#include "ui/interaction.h"

namespace vandrel::ui {
class ScriptedInteraction;
}

namespace vandrel::ui::qt {

// Shows the list until OK (or a double click) takes the selected row or Cancel gives none.
// With autopilot, its answer is selected and OK pressed (Cancel for no answer).
std::optional<int> runChoiceDialog(const Choice& choice, ScriptedInteraction* autopilot);

}  // namespace vandrel::ui::qt
