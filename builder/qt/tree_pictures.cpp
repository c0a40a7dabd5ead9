// The pictures of the script tree's items.
#include "builder/qt/tree_pictures.h"

#include <algorithm>

#include <QPainter>
#include <QPixmap>

#include "builder/model/entry_kinds.h"

namespace vandrel::builder::qt {

namespace {

// One picture per image index: the root, the settings, the background, then one per category
// from "Directories" to "End of Install", and the "System" and "UnInstall" settings items.
// The entry kinds' pictures are drawn as their rows in kEntryKinds say.
struct ImageLook {
  QString letter;
  QColor colour;
};

std::vector<ImageLook> imageLooks() {
  std::size_t count = 14;
  for (const EntryKind& kind : kEntryKinds) count = std::max(count, std::size_t(kind.picture) + 1);
  std::vector<ImageLook> looks(count);
  looks[0] = {"S", QColor(0, 0, 160)};
  looks[1] = {"G", QColor(96, 96, 96)};
  looks[2] = {"B", QColor(0, 128, 128)};
  for (const EntryKind& kind : kEntryKinds) {
    looks[std::size_t(kind.picture)] = {QString(QChar(kind.pictureLetter)),
                                        QColor::fromRgb(QRgb(kind.pictureRgb))};
  }
  looks[11] = {"E", QColor(64, 64, 64)};
  looks[12] = {"C", QColor(0, 64, 128)};
  looks[13] = {"U", QColor(160, 64, 64)};
  return looks;
}

}  // namespace

std::vector<QIcon> treeIcons(int pixels) {
  std::vector<QIcon> icons;
  for (const ImageLook& look : imageLooks()) {
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
