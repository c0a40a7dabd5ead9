// Finding texts a window cuts off: labels, buttons, edits, group titles, tabs, column headers
// and list items whose text is wider (or, wrapped, taller) than the room the widget gives it.
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace vandrel::ui::qt {

struct CutText {
  std::string widget;  // the class and the object name
  std::string text;
  int needed = 0;     // pixels the text needs
  int available = 0;  // pixels it has
};

// The texts of the visible widgets of window that do not fit. A value longer than its field
// counts as cut only when the field gives no tooltip with the whole value; an item of a list
// with a horizontal scroll bar is not cut, since it can be scrolled to.
std::vector<CutText> cutTexts(const QWidget& window);

// One line per cut text: `window: widget "text" needs N, has M`.
std::string describe(const std::string& window, const std::vector<CutText>& cuts);

}  // namespace vandrel::ui::qt
