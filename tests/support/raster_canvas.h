// A canvas for tests that keeps the pixels of fills and images (nearest-pixel stretching),
// cut to its clip box, and records every call, texts included (texts are not rasterised).
#pragma once

#include <string>
#include <vector>

#include "paint/canvas.h"
#include "paint/dib_image.h"

namespace vandrel::test {

class RasterCanvas : public paint::Canvas {
 public:
  using Colour = paint::Colour;
  using Rect = paint::Rect;
  using Point = paint::Point;
  using Size = paint::Size;
  using Font = paint::Font;
  using DibImage = paint::DibImage;

  // Pixels never painted keep this colour (not a 0x00BBGGRR colour).
  static constexpr Colour kUnpainted = 0xFF000000;

  struct Call {
    enum Kind { Fill, Image, Stretch, Text } kind;
    Rect rect;       // fill and stretch target; for images the source part
    Colour colour = 0;
    Point at;        // images and texts
    std::string text;
    Font font;
    bool clipped = false;
    Rect clip;
  };

  RasterCanvas(int width, int height) : RasterCanvas(width, height, Rect{0, 0, width, height}) {}
  RasterCanvas(int width, int height, Rect clip)
      : width_(width), height_(height), clip_(clip),
        pixels_(std::size_t(width) * std::size_t(height), kUnpainted) {}

  Colour at(int x, int y) const { return pixels_[std::size_t(y) * width_ + x]; }
  const std::vector<Call>& calls() const { return calls_; }
  std::vector<Call> callsOf(Call::Kind kind) const {
    std::vector<Call> out;
    for (const Call& call : calls_) {
      if (call.kind == kind) out.push_back(call);
    }
    return out;
  }

  Size clientSize() const override { return {width_, height_}; }
  Rect clipBox() const override { return clip_; }

  void fillRect(const Rect& rect, Colour colour) override {
    calls_.push_back({Call::Fill, rect, colour, {}, {}, {}, false, {}});
    for (int y = rect.top; y < rect.bottom; ++y) {
      for (int x = rect.left; x < rect.right; ++x) put(x, y, colour);
    }
  }
  void drawImage(const DibImage& image, Point at, const Rect& source) override {
    calls_.push_back({Call::Image, source, 0, at, {}, {}, false, {}});
    for (int y = source.top; y < source.bottom && y < image.height(); ++y) {
      const std::vector<Colour> row = image.row(y);
      for (int x = source.left; x < source.right && x < image.width(); ++x) {
        put(at.x + x - source.left, at.y + y - source.top, row[std::size_t(x)]);
      }
    }
  }
  void stretchImage(const DibImage& image, const Rect& target) override {
    calls_.push_back({Call::Stretch, target, 0, {}, {}, {}, false, {}});
    for (int y = target.top; y < target.bottom; ++y) {
      const int sy = (y - target.top) * image.height() / target.height();
      const std::vector<Colour> row = image.row(sy);
      for (int x = target.left; x < target.right; ++x) {
        put(x, y, row[std::size_t((x - target.left) * image.width() / target.width())]);
      }
    }
  }
  void drawText(Point at, const std::string& text, const Font& font, Colour colour,
                const Rect* clip) override {
    calls_.push_back({Call::Text, {}, colour, at, text, font, clip != nullptr, clip ? *clip : Rect{}});
  }
  // Eight pixels a character; the cell as high as the font asks.
  Size textSize(const std::string& text, const Font& font) override {
    return {int(text.size()) * 8, font.height};
  }

 private:
  void put(int x, int y, Colour colour) {
    if (x < clip_.left || x >= clip_.right || y < clip_.top || y >= clip_.bottom) return;
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[std::size_t(y) * width_ + x] = colour;
  }

  int width_;
  int height_;
  Rect clip_;
  std::vector<Colour> pixels_;
  std::vector<Call> calls_;
};

}  // namespace vandrel::test
