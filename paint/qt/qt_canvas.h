// The canvas over a QPainter: the background painter and the percentage bar drawn by Qt,
// on an image or, later, on a widget.
#pragma once

#include <map>
#include <optional>

#include <QFont>
#include <QImage>
#include <QPainter>

#include "paint/background_wnd.h"
#include "paint/canvas.h"
#include "paint/percent_bar.h"

namespace vandrel::paint {

// The image's pixels as 32-bit RGB.
QImage toQImage(const DibImage& image);
// The font a request stands for: family from the pitch and family bits, its cell height
// (ascent plus descent) as near the requested height as the face allows.
QFont toQFont(const Font& font);

class QtCanvas : public Canvas {
 public:
  // Draws through painter on an area of the client size; everything outside clip is left
  // as it was (the whole area when no clip is given).
  QtCanvas(QPainter& painter, Size client, std::optional<Rect> clip = std::nullopt);

  Size clientSize() const override { return client_; }
  Rect clipBox() const override { return clip_; }
  void fillRect(const Rect& rect, Colour colour) override;
  void drawImage(const DibImage& image, Point at, const Rect& source) override;
  void stretchImage(const DibImage& image, const Rect& target) override;
  void drawText(Point at, const std::string& text, const Font& font, Colour colour,
                const Rect* clip) override;
  Size textSize(const std::string& text, const Font& font) override;

 private:
  const QImage& imageOf(const DibImage& image);

  QPainter& painter_;
  Size client_;
  Rect clip_;
  std::map<const DibImage*, QImage> images_;  // each bitmap converted once per canvas
};

QColor toQColor(Colour colour);

// The painter's picture of a window of the given size. With a clip box only that part is
// painted, the rest of the image staying black.
QImage renderBackground(const CBackgroundWnd& painter, Size size,
                        std::optional<Rect> clip = std::nullopt);
// The percentage bar drawn on an image of the given size.
QImage renderPercentBar(const PercentBar& bar, Size size);

}  // namespace vandrel::paint
