// The canvas over a GDI device context: the background painter and the percentage bar drawn
// by Windows itself, in a window's paint handler or into a memory bitmap.
#pragma once

#include <windows.h>

#include <vector>

#include "paint/canvas.h"
#include "paint/dib_image.h"

namespace vandrel::paint {

// The image's header and colour table as SetDIBitsToDevice and StretchDIBits take them.
class DibHeader {
 public:
  explicit DibHeader(const DibImage& image);
  const BITMAPINFO* info() const { return reinterpret_cast<const BITMAPINFO*>(bytes_.data()); }

 private:
  std::vector<unsigned char> bytes_;
};

// A device-dependent bitmap of the image for a picture control (STM_SETIMAGE); colour 0 of
// the colour table becomes `transparent` when given (an icon's see-through colour). The
// caller deletes it. Null when the image is not loaded.
HBITMAP makeBitmap(const DibImage& image, const COLORREF* transparent = nullptr);

class GdiCanvas : public Canvas {
 public:
  // Draws on dc over an area of the client size; clip is the part to repaint.
  GdiCanvas(HDC dc, Size client, Rect clip);

  Size clientSize() const override { return client_; }
  Rect clipBox() const override { return clip_; }
  void fillRect(const Rect& rect, Colour colour) override;
  void drawImage(const DibImage& image, Point at, const Rect& source) override;
  void stretchImage(const DibImage& image, const Rect& target) override;
  void drawText(Point at, const std::string& text, const Font& font, Colour colour,
                const Rect* clip) override;
  Size textSize(const std::string& text, const Font& font) override;

 private:
  HDC dc_;
  Size client_;
  Rect clip_;
};

// A font made as the painter asks for it (TrueType output precision, no face name).
HFONT makeFont(const Font& font);

}  // namespace vandrel::paint
