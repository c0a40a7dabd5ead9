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

std::unique_ptr<QWidget> showDiskMessageWindow(const DiskMessage& message) {
  auto window = std::make_unique<QDialog>();
  DialogUnits du;
  setUpDialog(*window, message.caption, du, 196, 87);
  auto* text = new QPlainTextEdit(fromCodePage(message.text), window.get());
  text->setReadOnly(true);
  text->setTextInteractionFlags(Qt::TextSelectableByMouse);  // no caret
  du.place(text, 5, 5, 185, 77);
  // The bottom-right corner of the screen, 20 pixels from its edges.
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect area = screen->availableGeometry();
    window->move(area.right() - 20 - window->width(), area.bottom() - 20 - window->height());
  }
  window->show();
  QApplication::processEvents();
  processScreenshots().save(*window, "disk-message");
  return window;
}

}  // namespace vandrel::ui::qt
