// Painting the percentage bar on a widget.
#include "ui/qt/percent_bar_widget.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

#include "paint/qt/qt_canvas.h"

namespace vandrel::ui::qt {
namespace {

paint::Colour fromQColor(const QColor& colour) {
  return paint::rgb(colour.red(), colour.green(), colour.blue());
}

}  // namespace

PercentBarWidget::PercentBarWidget(QWidget* parent)
    : QWidget(parent),
      bar_(100, fromQColor(palette().color(QPalette::Highlight)),
           fromQColor(palette().color(QPalette::HighlightedText))) {
  // The figure in the dialog's own font.
  bar_.font.height = QFontMetrics(parent ? parent->font() : font()).height();
}

void PercentBarWidget::setPos(int value) {
  if (static_cast<std::uint32_t>(value) == bar_.GetPos()) return;
  bar_.SetPos(value);
  update();
}

void PercentBarWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paint::QtCanvas canvas(painter, {width(), height()});
  bar_.paint(canvas);
}

}  // namespace vandrel::ui::qt
