// Drawing the canvas primitives with QPainter.
#include "paint/qt/qt_canvas.h"

#include <QFontMetrics>

#include "platform/code_page.h"

namespace vandrel::paint {
namespace {

QRect toQRect(const Rect& rect) { return QRect(rect.left, rect.top, rect.width(), rect.height()); }

QString toQString(const std::string& text) {
  return QString::fromStdString(platform::cp1252ToUtf8(text));
}

}  // namespace

QColor toQColor(Colour colour) { return QColor(red(colour), green(colour), blue(colour)); }

QImage toQImage(const DibImage& image) {
  QImage out(image.width(), image.height(), QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    std::vector<Colour> row = image.row(y);
    for (int x = 0; x < image.width(); ++x) line[x] = toQColor(row[std::size_t(x)]).rgb();
  }
  return out;
}

QFont toQFont(const Font& font) {
  QFont result;
  const bool roman = (font.pitchAndFamily & 0xF0) == font_family::Roman;
  result.setFamily(roman ? "serif" : "sans-serif");
  // Text in whole pixels of its colour, as the system draws it, without blended edges.
  result.setStyleHint(roman ? QFont::Serif : QFont::SansSerif, QFont::NoAntialias);
  result.setBold(font.weight >= 700);
  result.setItalic(font.italic);
  result.setPixelSize(font.height);
  // A requested height is the whole cell; Qt's pixel size is the em, usually smaller.
  const int cell = QFontMetrics(result).height();
  if (cell > 0 && cell != font.height) result.setPixelSize(std::max(1, font.height * font.height / cell));
  return result;
}

QtCanvas::QtCanvas(QPainter& painter, Size client, std::optional<Rect> clip)
    : painter_(painter), client_(client), clip_(clip ? *clip : Rect{0, 0, client.width, client.height}) {
  painter_.setClipRect(toQRect(clip_));
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

void QtCanvas::fillRect(const Rect& rect, Colour colour) {
  if (rect.empty()) return;
  painter_.fillRect(toQRect(rect), toQColor(colour));
}

const QImage& QtCanvas::imageOf(const DibImage& image) {
  auto it = images_.find(&image);
  if (it == images_.end()) it = images_.emplace(&image, toQImage(image)).first;
  return it->second;
}

void QtCanvas::drawImage(const DibImage& image, Point at, const Rect& source) {
  painter_.drawImage(QPoint(at.x, at.y), imageOf(image), toQRect(source));
}

void QtCanvas::stretchImage(const DibImage& image, const Rect& target) {
  if (target.empty()) return;
  painter_.drawImage(toQRect(target), imageOf(image));
}

void QtCanvas::drawText(Point at, const std::string& text, const Font& font, Colour colour,
                        const Rect* clip) {
  painter_.save();
  if (clip) painter_.setClipRect(toQRect(*clip), Qt::IntersectClip);
  const QFont qfont = toQFont(font);
  painter_.setFont(qfont);
  painter_.setPen(toQColor(colour));
  painter_.drawText(at.x, at.y + QFontMetrics(qfont).ascent(), toQString(text));
  painter_.restore();
}

Size QtCanvas::textSize(const std::string& text, const Font& font) {
  const QFontMetrics metrics(toQFont(font));
  return Size{metrics.horizontalAdvance(toQString(text)), metrics.height()};
}

QImage renderBackground(const CBackgroundWnd& painter, Size size, std::optional<Rect> clip) {
  QImage image(size.width, size.height, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter qpainter(&image);
  QtCanvas canvas(qpainter, size, clip);
  painter.paint(canvas);
  return image;
}

QImage renderPercentBar(const PercentBar& bar, Size size) {
  QImage image(size.width, size.height, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter qpainter(&image);
  QtCanvas canvas(qpainter, size);
  bar.paint(canvas);
  return image;
}

}  // namespace vandrel::paint
