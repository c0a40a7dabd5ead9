// The setup's closing dialog as a Qt dialog.
#include "ui/qt/closing_dialog.h"

#include <QDialog>
#include <QPushButton>

#include <functional>

#include "paint/bitmap_resources.h"
#include "ui/qt/dialog_kit.h"

namespace vandrel::ui::qt {

// 185 x 128 units; a closing without an upper or lower text shows its one text beside the icon.
void runClosingDialog(const Closing& closing, bool pressOk) {
  QDialog dialog;
  DialogUnits du;
  setUpDialog(dialog, closing.caption, du, 185, 128);
  placeIcon(dialog, du, ownIcon(paint::icon_id::Setup), 10, 10);
  bool twoTexts = !closing.upper.empty() || !closing.lower.empty();
  placeText(dialog, du, twoTexts ? closing.upper : closing.text, 40, 12, 136, 25);
  if (twoTexts) placeText(dialog, du, closing.lower, 10, 50, 163, 40);
  QPushButton* ok = placeButton(dialog, du, "&OK", 67, 104);
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  std::function<void()> drive;
  if (pressOk) drive = [ok] { ok->click(); };
  runModal(dialog, "closing", drive);
}

}  // namespace vandrel::ui::qt
