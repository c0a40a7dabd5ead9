// The canvas over GDI.
#include "paint/win32/gdi_canvas.h"

#include <cstring>

namespace vandrel::paint {

namespace {

RECT toRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// Selects an object for the life of the guard and puts the previous one back.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~Selected() { SelectObject(dc_, previous_); }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace

DibHeader::DibHeader(const DibImage& image) {
  const DibInfo& in = image.info();
  std::size_t colours = image.palette().size();
  bytes_.assign(sizeof(BITMAPINFOHEADER) + colours * sizeof(RGBQUAD), 0);
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(BITMAPINFOHEADER);
  header.biWidth = in.width;
  header.biHeight = in.height;
  header.biPlanes = 1;
  header.biBitCount = in.bitCount;
  header.biCompression = BI_RGB;
  header.biSizeImage = in.sizeImage;
  header.biClrUsed = static_cast<DWORD>(colours);
  std::memcpy(bytes_.data(), &header, sizeof header);
  auto* table = reinterpret_cast<RGBQUAD*>(bytes_.data() + sizeof header);
  for (std::size_t i = 0; i < colours; ++i) {
    const PaletteEntry& entry = image.palette()[i];
    table[i] = RGBQUAD{entry.blue, entry.green, entry.red, 0};
  }
}

HBITMAP makeBitmap(const DibImage& image, const COLORREF* transparent) {
  if (!image.loaded()) return nullptr;
  DibHeader header(image);
  if (transparent && !image.palette().empty()) {
    auto* table = const_cast<RGBQUAD*>(header.info()->bmiColors);
    table[0] = RGBQUAD{GetBValue(*transparent), GetGValue(*transparent), GetRValue(*transparent), 0};
  }
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBitmap(screen, &header.info()->bmiHeader, CBM_INIT, image.bits().data(),
                                  header.info(), DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

HFONT makeFont(const Font& font) {
  return CreateFontA(font.height, 0, 0, 0, font.weight, font.italic ? TRUE : FALSE, FALSE, FALSE, 0,
                     OUT_TT_PRECIS, 0, 0, static_cast<DWORD>(font.pitchAndFamily), nullptr);
}

GdiCanvas::GdiCanvas(HDC dc, Size client, Rect clip) : dc_(dc), client_(client), clip_(clip) {}

void GdiCanvas::fillRect(const Rect& rect, Colour colour) {
  if (rect.empty()) return;
  HBRUSH brush = CreateSolidBrush(colour);  // 0x00BBGGRR is a COLORREF
  RECT r = toRECT(rect);
  FillRect(dc_, &r, brush);
  DeleteObject(brush);
}

void GdiCanvas::drawImage(const DibImage& image, Point at, const Rect& source) {
  if (!image.loaded() || source.empty()) return;
  DibHeader header(image);
  // SetDIBitsToDevice counts source rows from the bottom of a bottom-up image.
  int rows = image.height();
  int sourceY = image.info().height > 0 ? rows - source.bottom : source.top;
  SetDIBitsToDevice(dc_, at.x, at.y, static_cast<DWORD>(source.width()), static_cast<DWORD>(source.height()),
                    source.left, sourceY, 0, static_cast<UINT>(rows), image.bits().data(), header.info(),
                    DIB_RGB_COLORS);
}

void GdiCanvas::stretchImage(const DibImage& image, const Rect& target) {
  if (!image.loaded() || target.empty()) return;
  DibHeader header(image);
  SetStretchBltMode(dc_, COLORONCOLOR);
  StretchDIBits(dc_, target.left, target.top, target.width(), target.height(), 0, 0, image.width(),
                image.height(), image.bits().data(), header.info(), DIB_RGB_COLORS, SRCCOPY);
}

void GdiCanvas::drawText(Point at, const std::string& text, const Font& font, Colour colour,
                         const Rect* clip) {
  HFONT handle = makeFont(font);
  {
    Selected selected(dc_, handle);
    int mode = SetBkMode(dc_, TRANSPARENT);
    COLORREF previous = SetTextColor(dc_, colour);
    RECT r = clip ? toRECT(*clip) : RECT{};
    ExtTextOutA(dc_, at.x, at.y, clip ? ETO_CLIPPED : 0, clip ? &r : nullptr, text.data(),
                static_cast<UINT>(text.size()), nullptr);
    SetTextColor(dc_, previous);
    SetBkMode(dc_, mode);
  }
  DeleteObject(handle);
}

Size GdiCanvas::textSize(const std::string& text, const Font& font) {
  HFONT handle = makeFont(font);
  SIZE size{};
  TEXTMETRICA metrics{};
  {
    Selected selected(dc_, handle);
    GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size);
    GetTextMetricsA(dc_, &metrics);
  }
  DeleteObject(handle);
  return Size{size.cx, metrics.tmHeight};
}

}  // namespace vandrel::paint
