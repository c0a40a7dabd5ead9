// The script tree's pictures drawn with GDI into an image list, for the tree control and
// for the lists that show an entry kind's picture beside their rows.
#include "builder/win32/tree_pictures.h"

#include <algorithm>
#include <vector>

#include "builder/tree/tree_images.h"

namespace vandrel::builder::win32 {

namespace {

constexpr COLORREF kSeeThrough = RGB(255, 0, 255);

COLORREF colourOf(unsigned rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

COLORREF darker(COLORREF colour) {
  return RGB(GetRValue(colour) * 2 / 3, GetGValue(colour) * 2 / 3, GetBValue(colour) * 2 / 3);
}

// One picture: a rounded square of its colour, its letter in white bold in the middle.
void drawPicture(HDC dc, int pixels, const TreeImageLook& look) {
  RECT all = {0, 0, pixels, pixels};
  HBRUSH clear = CreateSolidBrush(kSeeThrough);
  FillRect(dc, &all, clear);
  DeleteObject(clear);
  COLORREF colour = colourOf(look.rgb);
  HBRUSH brush = CreateSolidBrush(colour);
  HPEN pen = CreatePen(PS_SOLID, 1, darker(colour));
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  int round = std::max(2, pixels * 2 / 5);
  RoundRect(dc, 0, 0, pixels, pixels, round, round);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
  HFONT font = CreateFontA(-(pixels * 2 / 3), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, nullptr);
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  char letter[2] = {look.letter, 0};
  DrawTextA(dc, letter, 1, &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, oldFont);
  DeleteObject(font);
}

}  // namespace

HIMAGELIST makeTreeImages(int pixels) {
  std::vector<TreeImageLook> looks = treeImageLooks();
  HIMAGELIST list = ImageList_Create(pixels, pixels, ILC_COLOR24 | ILC_MASK, int(looks.size()), 0);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  for (const TreeImageLook& look : looks) {
    HBITMAP bitmap = CreateCompatibleBitmap(screen, pixels, pixels);
    HGDIOBJ old = SelectObject(dc, bitmap);
    drawPicture(dc, pixels, look);
    SelectObject(dc, old);
    ImageList_AddMasked(list, bitmap, kSeeThrough);
    DeleteObject(bitmap);
  }
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return list;
}

}  // namespace vandrel::builder::win32
