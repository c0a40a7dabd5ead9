// What the gui backend's windows share: the dialog font and its units, texts, pictures and
// icons placed at dialog-unit positions, and the modal run that saves each window as shown.
#pragma once

#include <QPixmap>
#include <QRect>
#include <QString>

#include <functional>
#include <string>
#include <vector>

#include "ui/interaction.h"
#include "ui/page_lines.h"

class QDialog;
class QFont;
class QLabel;
class QPushButton;
class QWidget;

namespace vandrel::ui::qt {

// The models' texts are in the Windows code page (1252); Qt wants Unicode. These two convert
// between them; a host path (UTF-8 already) is made a QString without conversion.
QString fromCodePage(const std::string& text);
std::string toCodePage(const QString& text);

// Every dialog's font: a small sans-serif face of 11 pixels, the size of the system's dialog
// font, so that the dialogs come out at the size their units describe.
QFont dialogFont();

// Dialog units to pixels with the dialog font's base units: the average width of the letters
// (a quarter of it per horizontal unit) and the font's height (an eighth per vertical unit).
class DialogUnits {
 public:
  DialogUnits();
  QRect rect(int x, int y, int w, int h) const { return QRect(px(x), py(y), px(w), py(h)); }
  QSize size(int w, int h) const { return QSize(px(w), py(h)); }
  QPoint point(int x, int y) const { return QPoint(px(x), py(y)); }
  // Moves and sizes the widget to the rectangle, shifted by origin (in units) when given.
  void place(QWidget* widget, int x, int y, int w, int h, QPoint origin = {}) const;
  int px(int units) const { return (units * baseX_ + 2) / 4; }
  int py(int units) const { return (units * baseY_ + 4) / 8; }

 private:
  int baseX_ = 6;
  int baseY_ = 13;
};

// A dialog in the dialog font, without the help button, of the given size in units.
void setUpDialog(QDialog& dialog, const std::string& caption, const DialogUnits& du, int w, int h);

// A static text, wrapped in its rectangle and aligned to its top left.
QLabel* placeText(QWidget& parent, const DialogUnits& du, const std::string& text, int x, int y, int w,
                  int h, QPoint origin = {});
QPushButton* placeButton(QWidget& parent, const DialogUnits& du, const std::string& label, int x, int y,
                         int w = 50, int h = 14, QPoint origin = {});

// A picture control: the etched frame (when framed) of the given units with the program's
// picture drawn at its own size from its top-left corner. Nothing is drawn when the picture
// is missing.
void placePicture(QWidget& parent, const DialogUnits& du, int pictureId, int x, int y, int w, int h,
                  bool framed, QPoint origin = {});

// The program's own icon of that number (its colour 0 transparent); null when missing.
QPixmap ownIcon(int id);
// The sign of a message box: the style's question, stop, exclamation or information icon.
QPixmap messageIcon(Icon icon, const QWidget& owner);
// A 32-pixel icon with its top-left corner at the position in units.
void placeIcon(QWidget& parent, const DialogUnits& du, const QPixmap& icon, int x, int y);

// Shows a modal dialog; once it is up, saves its screenshot and lets drive press its buttons.
int runModal(QDialog& dialog, const std::string& shotName, const std::function<void()>& drive);

}  // namespace vandrel::ui::qt
