// The disk-message window as a Qt dialog.
#include "ui/qt/disk_message_window.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>

#include "ui/qt/dialog_kit.h"
#include "ui/qt/gui_services.h"

namespace vandrel::ui::qt {

void placeInCorner(QWidget& window) {
  QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect area = screen->availableGeometry();
  // The whole window, its frame included, ends 20 pixels left of the right edge and 20
  // pixels above the bottom.
  QRect frame = window.frameGeometry();
  QPoint offset = window.pos() - frame.topLeft();
  window.move(QPoint(area.right() - 20 - frame.width() + 1, area.bottom() - 20 - frame.height() + 1) + offset);
}

std::unique_ptr<QWidget> showDiskMessageWindow(const DiskMessage& message) {
  auto window = std::make_unique<QDialog>();
  DialogUnits du;
  setUpDialog(*window, message.caption, du, 196, 87);
  auto* text = new QPlainTextEdit(fromCodePage(message.text), window.get());
  text->setReadOnly(true);
  text->setTextInteractionFlags(Qt::TextSelectableByMouse);  // no caret
  du.place(text, 5, 5, 185, 77);
  placeInCorner(*window);
  window->show();
  QApplication::processEvents();
  // Shown, the window has its title bar and borders: placed again with them.
  placeInCorner(*window);
  processScreenshots().save(*window, "disk-message");
  return window;
}

}  // namespace vandrel::ui::qt
