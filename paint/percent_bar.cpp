// Painting the percentage bar.
#include "paint/percent_bar.h"

#include <algorithm>
#include <cstdio>

namespace vandrel::paint {

void PercentBar::SetPos(long value) {
  pos_ = std::uint32_t(std::min<std::uint64_t>(std::uint32_t(value), range_));
}

std::string PercentBar::figure() const {
  const std::uint64_t range = range_ == 0 ? 1 : range_;
  const std::uint64_t pos = std::min<std::uint64_t>(pos_, range);
  char text[16];
  std::snprintf(text, sizeof text, "%3d%%", int(pos * 100 / range));
  return text;
}

int PercentBar::splitPoint(int left, int right) const {
  const std::uint64_t range = range_ == 0 ? 1 : range_;
  const std::uint64_t pos = std::min<std::uint64_t>(pos_, range);
  // Wide arithmetic: a 16-bit product would wrap once position times width passes 32767.
  return left + int(pos * std::uint64_t(std::max(right - left, 0)) / range);
}

void PercentBar::paint(Canvas& canvas) const {
  const Size client = canvas.clientSize();
  Rect inside{0, 0, client.width, client.height};
  constexpr Colour kFrame = 0x000000;
  canvas.fillRect({inside.left, inside.top, inside.right, inside.top + 1}, kFrame);
  canvas.fillRect({inside.left, inside.bottom - 1, inside.right, inside.bottom}, kFrame);
  canvas.fillRect({inside.left, inside.top, inside.left + 1, inside.bottom}, kFrame);
  canvas.fillRect({inside.right - 1, inside.top, inside.right, inside.bottom}, kFrame);
  inside = {inside.left + 1, inside.top + 1, inside.right - 1, inside.bottom - 1};
  if (inside.empty()) return;

  const int split = splitPoint(inside.left, inside.right);
  const std::string text = figure();
  const Size size = canvas.textSize(text, font);
  const Point at{(inside.width() - size.width) / 2 + 1, (inside.height() - size.height) / 2 + 1};
  // Each part is filled with the figure's background and the figure drawn clipped to it.
  const Rect empty{split, inside.top, inside.right, inside.bottom};
  const Rect filled{inside.left, inside.top, split, inside.bottom};
  if (!empty.empty()) {
    canvas.fillRect(empty, textColour_);
    canvas.drawText(at, text, font, barColour_, &empty);
  }
  if (!filled.empty()) {
    canvas.fillRect(filled, barColour_);
    canvas.drawText(at, text, font, textColour_, &filled);
  }
}

}  // namespace vandrel::paint
