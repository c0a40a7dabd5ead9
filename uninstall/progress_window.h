// The removal's progress window: caption line, five step boxes, percentage bar, result line
// and an OK button that is enabled at the end. A plain model shown through the port.
#pragma once

#include <array>
#include <string>

#include "script/string_table.h"
#include "ui/interaction.h"

namespace vandrel::uninstall {

class ProgressWindow {
 public:
  static constexpr int kBoxes = 5;

  // captionLine: the text for the caption line; empty keeps the window's own text.
  ProgressWindow(ui::Interaction& ui, const script::StringTable& strings,
                 const std::string& captionLine);

  // Creates and shows the window: bar at 0, every box clear, result line empty.
  void show();
  // Ticks box n (1 to 5).
  void tick(int box);
  // Moves the bar; a position equal to the current one changes nothing on screen.
  void setPercent(int percent);
  // Puts the result into the result line, enables OK and waits for it; then the window goes.
  void finish(const std::string& result);

  int percent() const { return percent_; }
  bool ticked(int box) const { return box >= 1 && box <= kBoxes && boxes_[box - 1]; }
  const std::string& captionLine() const { return captionLine_; }
  const std::string& resultLine() const { return resultLine_; }

 private:
  ui::Progress model() const;
  void update();

  ui::Interaction& ui_;
  std::string title_;
  std::string captionLine_;
  std::array<std::string, kBoxes> labels_;
  std::array<bool, kBoxes> boxes_{};
  std::string resultLine_;
  int percent_ = 0;
  bool shown_ = false;
};

}  // namespace vandrel::uninstall
