// Window pictures as .bmp files.
#include "ui/win32/window_shots.h"

#include <cstdio>
#include <fstream>
#include <vector>

#include "ui/dialog_text.h"
#include "ui/screenshot_names.h"

namespace vandrel::ui::win32 {

bool saveWindowPicture(HWND window, const std::string& path) {
  RECT frame{};
  if (!GetWindowRect(window, &frame)) return false;
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  if (width <= 0 || height <= 0) return false;

  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // bottom-up, as a .bmp file stores its rows
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
  header.biSizeImage = stride * static_cast<DWORD>(height);

  HDC windowDc = GetWindowDC(window);
  HDC memory = CreateCompatibleDC(windowDc);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(windowDc, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits,
                                    nullptr, 0);
  bool drawn = false;
  if (bitmap && bits) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    // The window as it stands on the screen, frame and controls, freshly drawn. (Wine's
    // WM_PRINT leaves the controls and the frame out, and its PrintWindow draws nothing.)
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    BitBlt(memory, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    SelectObject(memory, previous);
    drawn = true;
  }
  bool written = false;
  if (drawn) {
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(static_cast<const char*>(bits), static_cast<std::streamsize>(header.biSizeImage));
    written = static_cast<bool>(out);
  }
  if (bitmap) DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, windowDc);
  return written;
}

WindowShots::WindowShots(std::string folder, Program program)
    : folder_(std::move(folder)), program_(program == Program::Builder ? "corvix" : programName(program)) {}

std::string WindowShots::save(HWND window, const std::string& name) {
  if (folder_.empty()) return {};
  std::string file = nextScreenshotPath(folder_, program_, name, "bmp");
  if (file.empty()) {
    folder_.clear();
    return {};
  }
  if (!saveWindowPicture(window, file)) {
    std::fprintf(stderr, "vandrel: cannot write the screenshot %s\n", file.c_str());
    return {};
  }
  return file;
}

WindowShots& processShots() {
  static WindowShots shots;
  return shots;
}

}  // namespace vandrel::ui::win32
