// The pictures of the script tree's items.
#include "builder/qt/tree_pictures.h"

#include <QPainter>
#include <QPixmap>

#include "builder/tree/tree_images.h"

namespace vandrel::builder::qt {

std::vector<QIcon> treeIcons(int pixels) {
  std::vector<QIcon> icons;
  for (const TreeImageLook& look : treeImageLooks()) {
    QColor colour = QColor::fromRgb(QRgb(look.rgb));
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(colour.darker());
    painter.drawRoundedRect(QRectF(0.5, 0.5, pixels - 1, pixels - 1), pixels / 5.0, pixels / 5.0);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(pixels * 2 / 3);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, pixels, pixels), Qt::AlignCenter, QString(QChar(look.letter)));
    painter.end();
    icons.emplace_back(pixmap);
  }
  return icons;
}

}  // namespace vandrel::builder::qt
