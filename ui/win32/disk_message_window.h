// The disk message: a modeless window beside the copying, in the bottom-right corner of the
// screen's work area, left open until the copying ends.
#pragma once

#include <windows.h>

#include "ui/interaction.h"
#include "ui/win32/dialog_window.h"

namespace vandrel::ui::win32 {

class DiskMessageWindow : public DialogWindow {
 public:
  // Shows the message without taking the focus from the copying.
  void show(const DiskMessage& message);

 protected:
  void onInit() override;
};

}  // namespace vandrel::ui::win32
