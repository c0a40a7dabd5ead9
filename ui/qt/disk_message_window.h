// The disk message: a window beside the copying, in the bottom-right corner of the screen,
// left open until the copying ends.
#pragma once

#include <memory>

#include "ui/interaction.h"

class QWidget;

namespace vandrel::ui::qt {

// Shows the message (and saves its picture); the window stays up while the caller keeps it.
std::unique_ptr<QWidget> showDiskMessageWindow(const DiskMessage& message);

}  // namespace vandrel::ui::qt
