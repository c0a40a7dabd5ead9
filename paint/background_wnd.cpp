// Painting the background: margins, the bitmap in its placement, the gradient around it,
// then the title and the credit line.
#include "paint/background_wnd.h"

#include <algorithm>

namespace vandrel::paint {

// What one paint works with: the client size, the part to repaint (which the top band
// moves down), the bitmap's size and, once a centred bitmap is drawn, its box.
struct CBackgroundWnd::Frame {
  int width = 0;
  int height = 0;
  Rect clip;
  int bw = 0;
  int bh = 0;
  Rect box;
};

namespace {

constexpr Colour kBlack = 0x000000;
constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kYellow = 0x00FFFF;
constexpr int kBitmapFlags = flag::Centred | flag::TiledCentred | flag::Tiled |
                             flag::Placed | flag::TopBand | flag::Stretched;

// The builder's painter reads flag 16 as the whole-window stretch and 32 as the top band.
int effectiveFlags(int mode, PainterKind kind) {
  if (kind == PainterKind::Setup) return mode;
  int traded = mode & ~(flag::TopBand | flag::Stretched);
  if (mode & flag::TopBand) traded |= flag::Stretched;
  if (mode & flag::Stretched) traded |= flag::TopBand;
  return traded;
}

}  // namespace

int CBackgroundWnd::LoadBitmapFile(platform::FileSystem& files, const std::string& path,
                                   bool replaceOnFailure) {
  auto image = std::make_unique<DibImage>();
  int code = image->load(files, path);
  if (code == 0) {
    bitmap_ = std::move(image);
    bitmapPath_ = path;
  } else if (replaceOnFailure) {
    bitmap_.reset();
  }
  return code;
}

void CBackgroundWnd::paint(Canvas& canvas) const {
  Size client = canvas.clientSize();
  Frame frame;
  frame.width = client.width;
  frame.height = client.height;
  frame.clip = canvas.clipBox();
  int flags = effectiveFlags(mode, kind_);
  // Without a picture there is nothing to place: the flags that place one are dropped, so
  // a plain background stays plain.
  if (bitmap_ && bitmap_->loaded()) {
    frame.bw = bitmap_->width();
    frame.bh = bitmap_->height();
  } else {
    flags &= ~kBitmapFlags;
  }

  if (flags == flag::Plain) canvas.fillRect({0, 0, frame.width, frame.height}, plainColour);
  paintBitmap(canvas, frame, flags);
  if (flags & flag::Gradient) paintGradient(canvas, frame, flags);
  paintTexts(canvas, frame);
}

void CBackgroundWnd::paintBitmap(Canvas& canvas, Frame& frame, int flags) const {
  const int W = frame.width;
  const int H = frame.height;
  const int bw = frame.bw;
  const int bh = frame.bh;
  if (flags & flag::Centred) {
    // Halves by arithmetic shift: a picture larger than the window gets a negative corner.
    const int marginX = (W - bw) >> 1;
    const int marginY = (H - bh) >> 1;
    if (flags & flag::Plain) {
      if (bw < W) {
        canvas.fillRect({0, 0, marginX + 1, H}, plainColour);
        canvas.fillRect({W - marginX - 1, 0, W, H}, plainColour);
      }
      if (bh < H) {
        canvas.fillRect({0, 0, W, marginY + 1}, plainColour);
        canvas.fillRect({0, H - marginY - 1, W, H}, plainColour);
      }
    }
    bitmap_->draw(canvas, {marginX, marginY});
    frame.box = {marginX, marginY, marginX + bw, marginY + bh - 2};
  }
  if (flags & flag::TiledCentred) paintCentredTiles(canvas, frame);
  if (flags & flag::Tiled) {
    for (int i = 0; i <= W / bw; ++i) {
      for (int j = 0; j <= H / bh; ++j) bitmap_->draw(canvas, {i * bw, j * bh});
    }
  }
  if (flags & flag::Placed) {
    const int x = position.x;
    const int y = position.y;
    if (x != 0) canvas.fillRect({0, 0, x, H}, plainColour);
    if (y != 0) canvas.fillRect({0, 0, W, y}, plainColour);
    bitmap_->draw(canvas, {x, y});
    if (x + bw < W) canvas.fillRect({x + bw, 0, W, H}, plainColour);
    if (y + bh < H) canvas.fillRect({0, y + bh, W, H}, plainColour);
  }
  if (flags & flag::Stretched) bitmap_->stretch(canvas, {0, 0, W, H});
  if (flags & flag::TopBand) {
    bitmap_->stretch(canvas, {0, 0, W, bh});
    if (flags & flag::Plain) {
      canvas.fillRect({0, bh, W, H}, plainColour);
    } else {
      frame.clip.top = bh;  // the gradient starts below the band
    }
  }
}

// One tile sits in the middle; the grid runs from there to every edge. A partial tile at
// the left or top edge shows the right or bottom part of the picture.
void CBackgroundWnd::paintCentredTiles(Canvas& canvas, const Frame& frame) const {
  struct Axis {
    int start;   // where the first tile's picture starts (at or before 0)
    int offset;  // for a picture larger than the window: its part shown at 0
  };
  auto axis = [](int window, int picture) {
    if (picture > window) return Axis{0, (picture - window) >> 1};
    int first = ((window - picture) >> 1) % picture;
    return Axis{first > 0 ? first - picture : first, 0};
  };
  const Axis columns = axis(frame.width, frame.bw);
  const Axis rows = axis(frame.height, frame.bh);
  for (int x = columns.start; x < frame.width; x += frame.bw) {
    for (int y = rows.start; y < frame.height; y += frame.bh) {
      const int sx = x < 0 ? -x : columns.offset;
      const int sy = y < 0 ? -y : rows.offset;
      bitmap_->draw(canvas, {std::max(x, 0), std::max(y, 0)}, {sx, sy, frame.bw, frame.bh});
    }
  }
}

void CBackgroundWnd::paintGradient(Canvas& canvas, const Frame& frame, int flags) const {
  const int r1 = red(firstColour), g1 = green(firstColour), b1 = blue(firstColour);
  const int r2 = red(secondColour), g2 = green(secondColour), b2 = blue(secondColour);
  const int n = std::max({r1, g1, b1, r2, g2, b2});
  if (n == 0) return;
  const double length = vertical ? frame.width : frame.height;
  const double thickness = length / n;
  const double dr = double(r2 - r1) / n;
  const double dg = double(g2 - g1) / n;
  const double db = double(b2 - b1) / n;
  const Rect& clip = frame.clip;
  const Rect& box = frame.box;
  const bool aroundBitmap = (flags & flag::Centred) != 0;

  int previousEnd = 0;
  for (int i = 0; i < n; ++i) {
    const int start = int(i * thickness);
    const int end = int((i + 1) * thickness);
    const Colour colour = rgb(int(r1 + i * dr), int(g1 + i * dg), int(b1 + i * db));
    if (!vertical) {
      if (i > 0 && previousEnd >= clip.bottom) break;
      previousEnd = end;
      if (!aroundBitmap) {
        // Bands starting well above the part to repaint are left out; one that reaches
        // into it is painted from its top, so no row of that part stays unpainted.
        if (start < clip.top - 2) {
          if (end > clip.top) canvas.fillRect({clip.left, clip.top, clip.right, end}, colour);
          continue;
        }
        canvas.fillRect({clip.left, start, clip.right, end}, colour);
      } else if (start > box.top && start < box.bottom) {
        canvas.fillRect({clip.left, start, box.left, end}, colour);
        canvas.fillRect({box.right, start, clip.right, end}, colour);
      } else {
        canvas.fillRect({clip.left, start, clip.right, end}, colour);
      }
    } else {
      if (i > 0 && previousEnd >= clip.right) break;
      previousEnd = end;
      if (!aroundBitmap) {
        if (start < clip.left - 10) {
          if (end > clip.left) canvas.fillRect({clip.left, clip.top, end, clip.bottom}, colour);
          continue;
        }
        canvas.fillRect({start, clip.top, end, clip.bottom}, colour);
      } else if (start > box.left && end < box.right) {
        canvas.fillRect({start, clip.top, end, box.top}, colour);
        canvas.fillRect({start, box.bottom, end, clip.bottom}, colour);
      } else {
        canvas.fillRect({start, clip.top, end, clip.bottom}, colour);
      }
    }
  }
}

void CBackgroundWnd::paintTexts(Canvas& canvas, const Frame& frame) const {
  if (!title.empty()) {
    canvas.drawText({20, 14}, title, kTitleFont, kBlack);
    canvas.drawText({15, 10}, title, kTitleFont, kWhite);
  }
  // The credit line belongs to the setup's window; the builder's background goes without it.
  if (kind_ == PainterKind::Setup && frame.clip.bottom > frame.height - 30) {
    canvas.drawText({24, frame.height - 26}, kCreditLine, kCreditFont, kBlack);
    canvas.drawText({20, frame.height - 30}, kCreditLine, kCreditFont, kYellow);
  }
}

}  // namespace vandrel::paint
