// Dialogs from templates.
#include "ui/win32/dialog_window.h"

#include <vector>

#include "paint/win32/gdi_canvas.h"

namespace vandrel::ui::win32 {

namespace {

// Posted by WM_INITDIALOG: handled once the dialog's first messages have gone through.
constexpr UINT kShown = WM_APP + 1;

}  // namespace

std::string withCarriageReturns(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

std::string controlText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  if (!control) return {};
  int length = GetWindowTextLengthA(control);
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
  GetWindowTextA(control, buffer.data(), length + 1);
  return std::string(buffer.data());
}

void pressButton(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void setText(HWND dialog, int id, const std::string& text) { SetDlgItemTextA(dialog, id, text.c_str()); }

void showControl(HWND dialog, int id, bool visible) {
  ShowWindow(GetDlgItem(dialog, id), visible ? SW_SHOW : SW_HIDE);
}

HBITMAP ownBitmap(std::span<const std::uint8_t> bytes, bool icon) {
  paint::DibImage image;
  if (bytes.empty() || image.read(bytes.data(), bytes.size()) != 0) return nullptr;
  COLORREF face = GetSysColor(COLOR_3DFACE);  // an icon's colour 0 lets the dialog show through
  return paint::makeBitmap(image, icon ? &face : nullptr);
}

void setPicture(HWND dialog, int id, HBITMAP bitmap) {
  if (!bitmap) return;
  HGDIOBJ old = reinterpret_cast<HGDIOBJ>(
      SendDlgItemMessageA(dialog, id, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
  if (old) DeleteObject(old);
}

void deletePicture(HWND dialog, int id) {
  HGDIOBJ bitmap = reinterpret_cast<HGDIOBJ>(SendDlgItemMessageA(dialog, id, STM_GETIMAGE, IMAGE_BITMAP, 0));
  if (bitmap) DeleteObject(bitmap);
}

DialogWindow::~DialogWindow() { destroy(); }

INT_PTR DialogWindow::runModal(int templateId, HWND owner) {
  modal_ = true;
  INT_PTR code = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner, procedure,
                                 reinterpret_cast<LPARAM>(this));
  window_ = nullptr;
  return code;
}

bool DialogWindow::createModeless(int templateId, HWND owner) {
  modal_ = false;
  CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner, procedure,
                     reinterpret_cast<LPARAM>(this));
  return window_ != nullptr;
}

void DialogWindow::destroy() {
  if (window_ && !modal_) {
    HWND window = window_;
    window_ = nullptr;
    SetWindowLongPtrA(window, DWLP_USER, 0);
    DestroyWindow(window);
  }
}

void DialogWindow::end(INT_PTR code) {
  if (window_ && modal_) EndDialog(window_, code);
}

INT_PTR CALLBACK DialogWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<DialogWindow*>(lParam);
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    self->window_ = window;
    self->onInit();
    PostMessageA(window, kShown, 0, 0);
    return TRUE;
  }
  auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrA(window, DWLP_USER));
  if (!self) return FALSE;
  if (message == kShown) {
    // A modal dialog shows itself once its queue is empty; the shown handler sees it shown.
    if (self->modal_ && !IsWindowVisible(window)) {
      ShowWindow(window, SW_SHOW);
      UpdateWindow(window);
    }
    self->onShown();
    return TRUE;
  }
  if (message == WM_COMMAND && self->onCommand(LOWORD(wParam), HIWORD(wParam))) return TRUE;
  bool handled = false;
  INT_PTR result = self->onMessage(message, wParam, lParam, handled);
  if (handled) {
    // The colour messages answer with their brush itself.
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) return result;
    SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
    return TRUE;
  }
  return FALSE;
}

void pumpMessages() {
  MSG msg;
  for (int pass = 0; pass <= 20; ++pass) {
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) break;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace vandrel::ui::win32
