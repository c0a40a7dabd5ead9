// The disk message: a window beside the copying, in the bottom-right corner of the screen,
// left open until the copying ends.
#pragma once

#include <memory>

#include "ui/interaction.h"

class QWidget;

namespace vandrel::ui::qt {

// Shows the message (and saves its picture); the window stays up while the caller keeps it.
std::unique_ptr<QWidget> showDiskMessageWindow(const DiskMessage& message);

// Places the window, its frame included, in the bottom-right corner of its screen's free
// area, 20 pixels from the right and bottom edges.
void placeInCorner(QWidget& window);

}  // namespace vandrel::ui::qt
