// The disk-message window as a Win32 dialog.
#include "ui/win32/disk_message_window.h"

#include "ui/win32/dialog_ids.h"

namespace vandrel::ui::win32 {

void DiskMessageWindow::show(const DiskMessage& message) {
  SetWindowTextA(window_, message.caption.c_str());
  setText(window_, IDC_DISK_TEXT, withCarriageReturns(message.text));
  ShowWindow(window_, SW_SHOWNOACTIVATE);
  UpdateWindow(window_);
  HideCaret(GetDlgItem(window_, IDC_DISK_TEXT));
}

// The bottom-right corner of the screen's work area, 20 pixels from its edges.
void DiskMessageWindow::onInit() {
  RECT area{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  RECT frame{};
  GetWindowRect(window_, &frame);
  SetWindowPos(window_, nullptr, area.right - 20 - (frame.right - frame.left),
               area.bottom - 20 - (frame.bottom - frame.top), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

}  // namespace vandrel::ui::win32
