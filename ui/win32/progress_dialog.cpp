// The progress windows of the setup and the uninstaller as Win32 dialogs.
#include "ui/win32/progress_dialog.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "paint/bitmap_resources.h"
#include "paint/win32/gdi_canvas.h"
#include "ui/page_lines.h"
#include "ui/win32/dialog_ids.h"
#include "ui/win32/win32_interaction.h"

namespace vandrel::ui::win32 {

namespace sw = ::vandrel::paint;

ProgressDialog::~ProgressDialog() {
  if (window_ && removal_) deletePicture(window_, IDC_REMOVAL_PICTURE);
}

bool ProgressDialog::open(HWND owner) { return createModeless(removal_ ? IDD_REMOVAL : IDD_COPY_PROGRESS, owner); }

void ProgressDialog::show(const Progress& model) {
  SetWindowTextA(window_, model.caption.c_str());
  auto line = [&model](std::size_t i) { return i < model.lines.size() ? model.lines[i] : std::string(); };
  if (removal_) {
    // The caption line keeps the dialog's own text until the model has one.
    if (!line(0).empty()) setText(window_, IDC_REMOVAL_CAPTION, line(0));
    setText(window_, IDC_REMOVAL_RESULT, line(1));
    const int boxes[] = {IDC_REMOVAL_BOX1, IDC_REMOVAL_BOX2, IDC_REMOVAL_BOX3, IDC_REMOVAL_BOX4, IDC_REMOVAL_BOX5};
    const int labels[] = {IDC_REMOVAL_LABEL1, IDC_REMOVAL_LABEL2, IDC_REMOVAL_LABEL3, IDC_REMOVAL_LABEL4,
                          IDC_REMOVAL_LABEL5};
    for (std::size_t i = 0; i < 5; ++i) {
      if (i < model.boxLabels.size()) setText(window_, labels[i], model.boxLabels[i]);
      bool ticked = i < model.boxes.size() && model.boxes[i];
      SendDlgItemMessageA(window_, boxes[i], BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    showControl(window_, IDC_REMOVAL_BAR, model.percent >= 0);
    if (model.percent >= 0) SendDlgItemMessageA(window_, IDC_REMOVAL_BAR, PBM_SETPOS, model.percent, 0);
  } else {
    auto [copying, source] = splitFirstWord(line(0));
    auto [to, destination] = splitFirstWord(line(2));
    setText(window_, IDC_COPY_LABEL, copying);
    setText(window_, IDC_COPY_SOURCE, source);
    setText(window_, IDC_COPY_MIDDLE, line(1));
    setText(window_, IDC_COPY_TO, to);
    setText(window_, IDC_COPY_DESTINATION, destination);
    showControl(window_, IDC_COPY_LABEL, !copying.empty());
    showControl(window_, IDC_COPY_TO, !to.empty());
    showControl(window_, IDC_COPY_BAR, model.percent >= 0);
    showControl(window_, IDCANCEL, model.cancellable);
    if (model.percent >= 0 && static_cast<long>(bar_.GetPos()) != model.percent) {
      bar_.SetPos(model.percent);
      InvalidateRect(GetDlgItem(window_, IDC_COPY_BAR), nullptr, FALSE);
    }
  }
  ShowWindow(window_, SW_SHOWNOACTIVATE);
  UpdateWindow(window_);
  pumpMessages();
}

bool ProgressDialog::showsText() const {
  for (int id : removal_ ? std::vector<int>{IDC_REMOVAL_CAPTION, IDC_REMOVAL_RESULT}
                         : std::vector<int>{IDC_COPY_SOURCE, IDC_COPY_MIDDLE, IDC_COPY_DESTINATION}) {
    if (!controlText(window_, id).empty()) return true;
  }
  return false;
}

bool ProgressDialog::takeCancel() {
  bool pressed = cancelled_;
  cancelled_ = false;
  return pressed;
}

void ProgressDialog::waitForOk(Win32Interaction& backend) {
  HWND ok = GetDlgItem(window_, IDOK);
  EnableWindow(ok, TRUE);
  SendMessageA(window_, DM_SETDEFID, IDOK, 0);
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  backend.windowShown(window_, "progress-done", [this] { pressButton(window_, IDOK); });
  MSG msg;
  while (!okPressed_ && window_ && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageA(window_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

void ProgressDialog::onInit() {
  if (removal_) {
    setPicture(window_, IDC_REMOVAL_PICTURE, ownBitmap(sw::bitmapResource(sw::bitmap_id::Picture), false));
    SendDlgItemMessageA(window_, IDC_REMOVAL_BAR, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendDlgItemMessageA(window_, IDC_REMOVAL_BAR, PBM_SETPOS, 0, 0);
  } else {
    bar_ = sw::PercentBar(100, GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHTTEXT));
  }
}

bool ProgressDialog::onCommand(int id, int) {
  if (id == IDCANCEL && !removal_) {
    cancelled_ = true;
    return true;
  }
  if (id == IDOK && removal_) {
    okPressed_ = true;
    return true;
  }
  return false;
}

// The percentage bar of the copying is drawn by the shared painter.
INT_PTR ProgressDialog::onMessage(UINT message, WPARAM, LPARAM lParam, bool& handled) {
  handled = false;
  if (message != WM_DRAWITEM) return 0;
  auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
  if (item->CtlID != IDC_COPY_BAR) return 0;
  const RECT& r = item->rcItem;
  sw::Size size{r.right - r.left, r.bottom - r.top};
  sw::GdiCanvas canvas(item->hDC, size, sw::Rect{0, 0, size.width, size.height});
  bar_.paint(canvas);
  handled = true;
  return TRUE;
}

}  // namespace vandrel::ui::win32
