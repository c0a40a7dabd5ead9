// The gui backend's shared pieces: font, units, placed texts, pictures and icons.
#include "ui/qt/dialog_kit.h"

#include <QApplication>
#include <QBitmap>
#include <QDialog>
#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

#include "platform/code_page.h"
#include "paint/bitmap_resources.h"
#include "paint/qt/qt_canvas.h"
#include "ui/qt/gui_services.h"

namespace vandrel::ui::qt {

QString fromCodePage(const std::string& text) { return QString::fromStdString(platform::cp1252ToUtf8(text)); }
std::string toCodePage(const QString& text) { return platform::utf8ToCp1252(text.toStdString()); }

QFont dialogFont() {
  QFont font("DejaVu Sans");
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);
  return font;
}

DialogUnits::DialogUnits() {
  QFontMetrics metrics(dialogFont());
  QString letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  baseX_ = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
  baseY_ = metrics.height();
}

void DialogUnits::place(QWidget* widget, int x, int y, int w, int h, QPoint origin) const {
  widget->setGeometry(rect(origin.x() + x, origin.y() + y, w, h));
}

void setUpDialog(QDialog& dialog, const std::string& caption, const DialogUnits& du, int w, int h) {
  dialog.setFont(dialogFont());
  dialog.setWindowTitle(fromCodePage(caption));
  dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  dialog.setFixedSize(du.size(w, h));
}

QLabel* placeText(QWidget& parent, const DialogUnits& du, const std::string& text, int x, int y, int w,
                  int h, QPoint origin) {
  auto* label = new QLabel(fromCodePage(text), &parent);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  du.place(label, x, y, w, h, origin);
  return label;
}

QPushButton* placeButton(QWidget& parent, const DialogUnits& du, const std::string& label, int x, int y,
                         int w, int h, QPoint origin) {
  auto* button = new QPushButton(fromCodePage(label), &parent);
  du.place(button, x, y, w, h, origin);
  return button;
}

void placePicture(QWidget& parent, const DialogUnits& du, int pictureId, int x, int y, int w, int h,
                  bool framed, QPoint origin) {
  QRect area = du.rect(origin.x() + x, origin.y() + y, w, h);
  if (framed) {
    auto* frame = new QFrame(&parent);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setGeometry(area);
  }
  std::span<const std::uint8_t> bytes = paint::bitmapResource(pictureId);
  paint::DibImage picture;
  if (bytes.empty() || picture.read(bytes.data(), bytes.size()) != 0) return;
  auto* label = new QLabel(&parent);
  label->setPixmap(QPixmap::fromImage(paint::toQImage(picture)));
  label->setGeometry(QRect(area.topLeft(), QSize(picture.width(), picture.height())));
}

QPixmap ownIcon(int id) {
  std::span<const std::uint8_t> bytes = paint::iconResource(id);
  paint::DibImage icon;
  if (bytes.empty() || icon.read(bytes.data(), bytes.size()) != 0 || icon.palette().empty()) return {};
  QImage image = paint::toQImage(icon).convertToFormat(QImage::Format_ARGB32);
  // Colour 0 of the palette is the transparent one.
  const paint::PaletteEntry& key = icon.palette().front();
  QRgb transparent = qRgb(key.red, key.green, key.blue);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if ((line[x] & 0xFFFFFF) == (transparent & 0xFFFFFF)) line[x] = 0;
    }
  }
  return QPixmap::fromImage(image);
}

QPixmap messageIcon(Icon icon, const QWidget& owner) {
  QStyle::StandardPixmap sign = QStyle::SP_MessageBoxInformation;
  switch (icon) {
    case Icon::Question: sign = QStyle::SP_MessageBoxQuestion; break;
    case Icon::Stop: sign = QStyle::SP_MessageBoxCritical; break;
    case Icon::Exclamation: sign = QStyle::SP_MessageBoxWarning; break;
    case Icon::Information: sign = QStyle::SP_MessageBoxInformation; break;
    case Icon::None: return {};
  }
  return owner.style()->standardIcon(sign, nullptr, &owner).pixmap(32, 32);
}

void placeIcon(QWidget& parent, const DialogUnits& du, const QPixmap& icon, int x, int y) {
  auto* label = new QLabel(&parent);
  label->setPixmap(icon);
  label->setGeometry(QRect(du.point(x, y), QSize(32, 32)));
}

int runModal(QDialog& dialog, const std::string& shotName, const std::function<void()>& drive) {
  QTimer::singleShot(0, &dialog, [&dialog, shotName, drive] {
    processScreenshots().save(dialog, shotName);
    if (drive) drive();
  });
  return dialog.exec();
}

}  // namespace vandrel::ui::qt
