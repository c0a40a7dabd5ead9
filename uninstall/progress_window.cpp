// The removal's progress window model.
#include "uninstall/progress_window.h"

#include <algorithm>

#include "uninstall/strings/string_ids.h"

namespace vandrel::uninstall {

ProgressWindow::ProgressWindow(ui::Interaction& ui, const script::StringTable& strings,
                               const std::string& captionLine)
    : ui_(ui),
      title_(strings.get(ids::Title)),
      captionLine_(captionLine.empty() ? strings.get(ids::WindowCaptionLine) : captionLine),
      labels_{strings.get(ids::BoxShared), strings.get(ids::BoxStandard),
              strings.get(ids::BoxLinks), strings.get(ids::BoxFolders),
              strings.get(ids::BoxRegistry)} {}

ui::Progress ProgressWindow::model() const {
  ui::Progress progress;
  progress.caption = title_;
  progress.lines = {captionLine_};
  if (!resultLine_.empty()) progress.lines.push_back(resultLine_);
  progress.percent = percent_;
  progress.boxLabels.assign(labels_.begin(), labels_.end());
  progress.boxes.assign(boxes_.begin(), boxes_.end());
  return progress;
}

void ProgressWindow::update() {
  if (shown_) ui_.progress(model());
}

void ProgressWindow::show() {
  shown_ = true;
  update();
}

void ProgressWindow::tick(int box) {
  if (box < 1 || box > kBoxes || boxes_[box - 1]) return;
  boxes_[box - 1] = true;
  update();
}

void ProgressWindow::setPercent(int percent) {
  // The bar's range is 0 to 100; a position outside it shows as the nearer end.
  percent = std::clamp(percent, 0, 100);
  if (percent == percent_) return;
  percent_ = percent;
  update();
}

void ProgressWindow::finish(const std::string& result) {
  resultLine_ = result;
  update();
  ui::Closing closing;
  closing.caption = title_;
  closing.text = result;
  closing.boxes.assign(boxes_.begin(), boxes_.end());
  ui_.closing(closing);
  if (shown_) ui_.endProgress();
  shown_ = false;
}

}  // namespace vandrel::uninstall
