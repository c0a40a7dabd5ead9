// The pictures of the script tree's items.
#include "builder/qt/tree_pictures.h"

#include <QPainter>
#include <QPixmap>

namespace vandrel::builder::qt {

namespace {

// One picture per image index: the root, the settings, the background, then one per category
// from "Directories" to "End of Install", and the "System" and "UnInstall" settings items.
struct ImageLook {
  const char* letter;
  QColor colour;
};
const ImageLook kImages[14] = {
    {"S", QColor(0, 0, 160)},   {"G", QColor(96, 96, 96)},  {"B", QColor(0, 128, 128)},
    {"D", QColor(192, 160, 0)}, {"T", QColor(128, 0, 128)}, {"P", QColor(0, 128, 0)},
    {"I", QColor(128, 64, 0)},  {"R", QColor(160, 0, 0)},   {"F", QColor(0, 96, 192)},
    {"L", QColor(0, 160, 96)},  {"M", QColor(96, 0, 160)},  {"E", QColor(64, 64, 64)},
    {"C", QColor(0, 64, 128)},  {"U", QColor(160, 64, 64)},
};

}  // namespace

std::vector<QIcon> treeIcons(int pixels) {
  std::vector<QIcon> icons;
  for (const ImageLook& look : kImages) {
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(look.colour);
    painter.setPen(look.colour.darker());
    painter.drawRoundedRect(QRectF(0.5, 0.5, pixels - 1, pixels - 1), pixels / 5.0, pixels / 5.0);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(pixels * 2 / 3);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, pixels, pixels), Qt::AlignCenter, look.letter);
    painter.end();
    icons.emplace_back(pixmap);
  }
  return icons;
}

}  // namespace vandrel::builder::qt
