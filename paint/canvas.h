// The drawing surface the background painter and the percentage bar draw on: a few
// primitives (fill, unscaled and stretched images, transparent text) in window pixels.
#pragma once

#include <cstdint>
#include <string>

namespace vandrel::paint {

class DibImage;

// A colour as the script writes it: 0x00BBGGRR, red in the low byte.
using Colour = std::uint32_t;

constexpr int red(Colour c) { return int(c & 0xFF); }
constexpr int green(Colour c) { return int((c >> 8) & 0xFF); }
constexpr int blue(Colour c) { return int((c >> 16) & 0xFF); }
constexpr Colour rgb(int r, int g, int b) {
  return Colour(r & 0xFF) | Colour(g & 0xFF) << 8 | Colour(b & 0xFF) << 16;
}

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

// Left and top included, right and bottom excluded, as Windows rectangles are.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  bool operator==(const Rect&) const = default;
};

// Pitch and family bits of a font request.
namespace font_family {
constexpr int VariablePitch = 0x02;
constexpr int Roman = 0x10;  // proportional with serifs
constexpr int Swiss = 0x20;  // proportional without serifs
}  // namespace font_family

// A font request: the cell height in pixels, the weight (400 normal, 700 bold), italic,
// and the pitch and family bits; the face is left to the canvas.
struct Font {
  int height = 13;
  int weight = 400;
  bool italic = false;
  int pitchAndFamily = font_family::VariablePitch | font_family::Swiss;
  bool operator==(const Font&) const = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // The whole drawing area, from (0, 0).
  virtual Size clientSize() const = 0;
  // The part that needs painting; drawing outside it may be cut off.
  virtual Rect clipBox() const = 0;

  virtual void fillRect(const Rect& rect, Colour colour) = 0;
  // The part `source` of the image (top-down image coordinates) at its own size, its top-left
  // corner at `at`.
  virtual void drawImage(const DibImage& image, Point at, const Rect& source) = 0;
  // The whole image stretched into `target`.
  virtual void stretchImage(const DibImage& image, const Rect& target) = 0;
  // Text with its cell's top-left corner at `at`, on a transparent background; with a clip
  // rectangle nothing is drawn outside it.
  virtual void drawText(Point at, const std::string& text, const Font& font, Colour colour,
                        const Rect* clip = nullptr) = 0;
  // The width and the cell height of a text in a font.
  virtual Size textSize(const std::string& text, const Font& font) = 0;
};

}  // namespace vandrel::paint
