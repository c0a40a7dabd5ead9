// The percentage bar of the copy-progress dialog: a framed bar whose figure shows in
// inverted colours where the bar has passed it.
#pragma once

#include <cstdint>
#include <string>

#include "paint/canvas.h"

namespace vandrel::paint {

class PercentBar {
 public:
  PercentBar() = default;
  PercentBar(std::uint32_t range, Colour barColour, Colour textColour)
      : range_(range), barColour_(barColour), textColour_(textColour) {}

  // The position becomes the smaller of value and the range, compared unsigned (a negative
  // value therefore fills the bar).
  void SetPos(long value);
  std::uint32_t GetPos() const { return pos_; }
  std::uint32_t range() const { return range_; }
  Colour barColour() const { return barColour_; }
  Colour textColour() const { return textColour_; }
  // The font of the figure (the dialog's font).
  Font font;

  // The figure: "%3d%%" of the position in percent of the range.
  std::string figure() const;
  // The x where the filled part ends, for a bar whose inside runs from left to right.
  int splitPoint(int left, int right) const;

  // Paints the whole canvas: frame, filled and empty parts, the figure in both colours.
  void paint(Canvas& canvas) const;

 private:
  std::uint32_t range_ = 100;
  std::uint32_t pos_ = 0;
  Colour barColour_ = 0x800000;   // dark blue
  Colour textColour_ = 0xFFFFFF;  // white
};

}  // namespace vandrel::paint
