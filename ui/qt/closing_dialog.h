// The setup's closing dialog: its icon, the upper text beside it, the lower text below, OK.
#pragma once

#include "ui/interaction.h"

namespace vandrel::ui::qt {

// Shows the closing message until OK is pressed; with pressOk (answers drive the windows) OK
// is pressed once it is up.
void runClosingDialog(const Closing& closing, bool pressOk);

}  // namespace vandrel::ui::qt
