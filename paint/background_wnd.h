// The background painter of the install window and of the builder's main window: a plain
// colour or a gradient, an optional bitmap placed in one of several ways, and the title.
#pragma once

#include <memory>
#include <string>

#include "platform/file_system.h"
#include "paint/canvas.h"
#include "paint/dib_image.h"

namespace vandrel::paint {

// Drawing flags; several may be set.
namespace flag {
constexpr int Centred = 1;       // the bitmap centred at its own size
constexpr int TiledCentred = 2;  // tiles placed so that one sits in the middle
constexpr int Tiled = 4;         // tiles from the top-left corner
constexpr int Placed = 8;        // the bitmap at (position x, position y)
constexpr int TopBand = 16;      // stretched to the width along the top (the builder: whole)
constexpr int Stretched = 32;    // stretched over everything (the builder: along the top)
constexpr int Gradient = 64;
constexpr int Plain = 128;
}  // namespace flag

// The builder's painter trades the meanings of flags 16 and 32.
enum class PainterKind { Setup, Builder };

// The texts and fonts drawn over the background.
// Bold italic, variable pitch, roman family (the request's pitch and family byte is 0x16).
constexpr Font kTitleFont{50, 700, true, 0x16};
constexpr Font kCreditFont{20, 700, true, 0x16};
constexpr const char* kCreditLine = "Installed with Vandrel";

class CBackgroundWnd {
 public:
  explicit CBackgroundWnd(PainterKind kind = PainterKind::Setup) : kind_(kind) {}

  int mode = flag::Plain;
  Colour plainColour = 0xC0C0C0;
  Colour firstColour = 0xC0C0C0;
  Colour secondColour = 0xC0C0C0;
  bool vertical = false;
  Point position;  // where flag 8 places the bitmap
  std::string title;

  // Loads a .bmp file: 0 or a code of dib_error. On success the bitmap and its path are
  // replaced; on failure the new image is dropped and, with replaceOnFailure, the current
  // bitmap too.
  int LoadBitmapFile(platform::FileSystem& files, const std::string& path,
                     bool replaceOnFailure);
  const DibImage* bitmap() const { return bitmap_.get(); }
  const std::string& bitmapPath() const { return bitmapPath_; }
  PainterKind kind() const { return kind_; }

  // Paints the canvas's client area, as far as its clip box asks.
  void paint(Canvas& canvas) const;

 private:
  struct Frame;
  void paintBitmap(Canvas& canvas, Frame& frame, int flags) const;
  void paintCentredTiles(Canvas& canvas, const Frame& frame) const;
  void paintGradient(Canvas& canvas, const Frame& frame, int flags) const;
  void paintTexts(Canvas& canvas, const Frame& frame) const;

  PainterKind kind_;
  std::unique_ptr<DibImage> bitmap_;
  std::string bitmapPath_;
};

}  // namespace vandrel::paint
