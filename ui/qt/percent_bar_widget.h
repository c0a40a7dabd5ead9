// The copy-progress dialog's bar as a widget: the percentage bar painted through the Qt
// canvas, the bar in the highlight colour and its figure in the highlight-text colour.
#pragma once

#include <QWidget>

#include "paint/percent_bar.h"

namespace vandrel::ui::qt {

class PercentBarWidget : public QWidget {
 public:
  explicit PercentBarWidget(QWidget* parent);
  void setPos(int value);
  int position() const { return static_cast<int>(bar_.GetPos()); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  paint::PercentBar bar_;
};

}  // namespace vandrel::ui::qt
