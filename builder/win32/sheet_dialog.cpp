// The sheet frame: the window made from the frame's or the box's template, its pages, its
// buttons, its driving by answers, its pictures and its keys.
#include "builder/win32/sheet_dialog.h"

#include <algorithm>
#include <cctype>

#include "builder/pages/entry_page_editor.h"
#include "builder/win32/sheet_ids.h"
#include "ui/win32/dialog_window.h"
#include "ui/win32/win32_interaction.h"
#include "ui/win32/window_shots.h"

namespace vandrel::builder::win32 {

namespace {

// Posted to drive the window again after a refused OK (the answers are asked once more).
constexpr UINT kDriveAgain = WM_APP + 20;
// Dialog units of the frame around a sheet's tabs and between them and the buttons.
constexpr int kMargin = 7;
constexpr int kButtonWidth = 50, kButtonHeight = 14, kButtonGap = 4;

}  // namespace

// ---- the sheet's window ----

// The frame (a sheet's, or the box itself) as a dialog from its template, and the pages as
// child dialogs whose messages come back to the sheet.
class SheetDialog::Window : public ui::win32::DialogWindow {
 public:
  explicit Window(SheetDialog& sheet) : sheet_(sheet) {}

  static INT_PTR CALLBACK pageProcedure(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
      SetWindowLongPtrA(page, DWLP_USER, lParam);
      return FALSE;
    }
    auto* sheet = reinterpret_cast<SheetDialog*>(GetWindowLongPtrA(page, DWLP_USER));
    if (!sheet) return FALSE;
    int index = -1;
    for (std::size_t i = 0; i < sheet->pages_.size(); ++i) {
      if (sheet->pages_[i].window == page) index = int(i);
    }
    if (index < 0) return FALSE;
    bool handled = false;
    INT_PTR result = sheet->dialog_->pageMessage(index, page, message, wParam, lParam, handled);
    if (handled && message == WM_NOTIFY) SetWindowLongPtrA(page, DWLP_MSGRESULT, result);
    return handled ? (message == WM_NOTIFY ? TRUE : result) : FALSE;
  }

  // A message of a page (or of the box): commands, notifications, the swatches' painting.
  INT_PTR pageMessage(int index, HWND page, UINT message, WPARAM wParam, LPARAM lParam,
                      bool& handled) {
    handled = false;
    if (message == WM_COMMAND) {
      int id = LOWORD(wParam), code = HIWORD(wParam);
      if (ColourSwatch* swatch = swatchAt(index, id); swatch && code == STN_DBLCLK) {
        if (std::optional<std::uint32_t> chosen = chooseColour(sheet_.context_, swatch->colour())) {
          swatch->setColour(*chosen);
          if (swatch->changed) swatch->changed(swatch->colour());
        }
        handled = true;
        return TRUE;
      }
      handled = sheet_.onCommand && sheet_.onCommand(Control{index, id}, code);
      return TRUE;
    }
    if (message == WM_NOTIFY) {
      const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
      if (answerWholeValueTip(header)) {
        handled = true;
        return 0;
      }
      LRESULT result = 0;
      handled = sheet_.onNotify && sheet_.onNotify(index, header, &result);
      return result;
    }
    if (message == WM_DRAWITEM) {
      const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (ColourSwatch* swatch = swatchAt(index, int(draw.CtlID))) {
        paintSwatch(draw, swatch->colour());
        handled = true;
        return TRUE;
      }
    }
    (void)page;
    return 0;
  }

 protected:
  void onInit() override {
    sheet_.window_ = window_;
    SetWindowTextA(window_, sheet_.caption_.c_str());
    if (sheet_.frame_ == Frame::Box) {
      sheet_.pages_.front().window = window_;
    } else {
      makePages();
    }
    attachSwatches();
    if (sheet_.onInit) sheet_.onInit();
    sheet_.fitToTexts();
    if (sheet_.frame_ == Frame::Sheet) sheet_.showPage(sheet_.current_);
    centreOverOwner();
  }

  bool onCommand(int id, int code) override {
    if (sheet_.frame_ == Frame::Sheet) {
      if (id == IDOK) return sheet_.accept(), true;
      if (id == IDCANCEL) return sheet_.reject(), true;
      return false;
    }
    if (sheet_.okId_ && id == sheet_.okId_) return sheet_.accept(), true;
    if ((sheet_.cancelId_ && id == sheet_.cancelId_) || id == IDCANCEL) {
      // Escape and the close box count as Cancel where a Cancel button is enabled (or none is).
      HWND cancel = sheet_.cancelId_ ? GetDlgItem(window_, sheet_.cancelId_) : nullptr;
      if (!cancel || IsWindowEnabled(cancel)) sheet_.reject();
      return true;
    }
    bool handled = false;
    pageMessage(0, window_, WM_COMMAND, MAKEWPARAM(id, code), 0, handled);
    return handled;
  }

  INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override {
    handled = false;
    if (message == kDriveAgain) {
      handled = true;
      sheet_.drive();
      return TRUE;
    }
    if (sheet_.frame_ == Frame::Sheet) {
      if (message == WM_NOTIFY) {
        const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.idFrom == IDC_SHEET_TABS && header.code == TCN_SELCHANGE) {
          sheet_.showPage(int(SendMessageA(header.hwndFrom, TCM_GETCURSEL, 0, 0)));
          sheet_.focusFirstField();
          handled = true;
        }
      }
      return 0;
    }
    if (message == WM_NOTIFY || message == WM_DRAWITEM) {
      // The frame's procedure gives a handled notification's result to the control.
      return pageMessage(0, window_, message, wParam, lParam, handled);
    }
    return 0;
  }

  void onShown() override {
    sheet_.focusFirstField();
    std::string name = sheet_.shotName();
    if (auto* port = dynamic_cast<ui::win32::Win32Interaction*>(sheet_.context_.ui)) {
      port->windowShown(window_, name, nullptr);  // its picture, and the port's watcher told
    } else {
      ui::win32::processShots().save(window_, name);
    }
    if (sheet_.context_.autopilot) sheet_.drive();
  }

 public:
  using DialogWindow::end;

 private:
  ColourSwatch* swatchAt(int page, int id) {
    for (auto& s : sheet_.swatches_) {
      if (s->where_.page == page && s->where_.id == id) return s.get();
    }
    return nullptr;
  }

  static void paintSwatch(const DRAWITEMSTRUCT& draw, std::uint32_t colour) {
    HBRUSH fill = CreateSolidBrush(COLORREF(colour));
    FillRect(draw.hDC, &draw.rcItem, fill);
    DeleteObject(fill);
    HBRUSH edge = CreateSolidBrush(GetSysColor(COLOR_3DSHADOW));
    FrameRect(draw.hDC, &draw.rcItem, edge);
    DeleteObject(edge);
  }

  void attachSwatches() {
    for (auto& s : sheet_.swatches_) s->window_ = sheet_.control(s->where_);
  }

  RECT dialogUnits(int left, int top, int right, int bottom) const {
    RECT r{left, top, right, bottom};
    MapDialogRect(window_, &r);
    return r;
  }

  // The pages as children of the frame standing in the tab control's display area, after the
  // tabs in the Tab order; the frame sized to the largest page, OK and Cancel below it.
  void makePages() {
    HWND tabs = GetDlgItem(window_, IDC_SHEET_TABS);
    int widest = 0, tallest = 0;
    HWND previous = tabs;
    for (std::size_t i = 0; i < sheet_.pages_.size(); ++i) {
      PageTemplate& p = sheet_.pages_[i];
      p.window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(p.templateId),
                                    window_, pageProcedure, reinterpret_cast<LPARAM>(&sheet_));
      TCITEMA item{};
      item.mask = TCIF_TEXT;
      item.pszText = p.title.data();
      SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
      if (!p.window) continue;
      SetWindowPos(p.window, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      previous = p.window;
      RECT r{};
      GetWindowRect(p.window, &r);
      widest = std::max<int>(widest, r.right - r.left);
      tallest = std::max<int>(tallest, r.bottom - r.top);
    }
    RECT margin = dialogUnits(kMargin, kMargin, kButtonWidth, kButtonHeight);
    RECT gap = dialogUnits(kButtonGap, kButtonGap, 0, 0);
    RECT area{0, 0, widest, tallest};
    SendMessageA(tabs, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&area));
    int tabWidth = area.right - area.left, tabHeight = area.bottom - area.top;
    MoveWindow(tabs, margin.left, margin.top, tabWidth, tabHeight, TRUE);
    RECT display{margin.left, margin.top, margin.left + tabWidth, margin.top + tabHeight};
    SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    for (const PageTemplate& p : sheet_.pages_) {
      if (p.window)
        SetWindowPos(p.window, nullptr, display.left, display.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    int buttonsTop = margin.top + tabHeight + gap.top;
    int clientWidth = margin.left * 2 + tabWidth;
    int right = clientWidth - margin.left;
    MoveWindow(GetDlgItem(window_, IDCANCEL), right - margin.right, buttonsTop, margin.right,
               margin.bottom, TRUE);
    MoveWindow(GetDlgItem(window_, IDOK), right - 2 * margin.right - gap.left, buttonsTop,
               margin.right, margin.bottom, TRUE);
    RECT outer{0, 0, clientWidth, buttonsTop + margin.bottom + margin.top};
    AdjustWindowRectEx(&outer, DWORD(GetWindowLongPtrA(window_, GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongPtrA(window_, GWL_EXSTYLE)));
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // Centred over the window it stands over, or on the screen's work area without one.
  void centreOverOwner() {
    RECT over{};
    HWND owner = GetWindow(window_, GW_OWNER);
    if (!owner || !IsWindowVisible(owner) || IsIconic(owner)) {
      SystemParametersInfoA(SPI_GETWORKAREA, 0, &over, 0);
    } else {
      GetWindowRect(owner, &over);
    }
    RECT mine{};
    GetWindowRect(window_, &mine);
    int width = mine.right - mine.left, height = mine.bottom - mine.top;
    int x = std::max<int>(0, over.left + (over.right - over.left - width) / 2);
    int y = std::max<int>(0, over.top + (over.bottom - over.top - height) / 2);
    SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  SheetDialog& sheet_;
};

// ---- the sheet ----

SheetDialog::SheetDialog(const DialogContext& context, const std::string& caption, std::string id,
                         std::string shot, Frame frame)
    : context_(context),
      caption_(caption),
      id_(std::move(id)),
      shot_(std::move(shot)),
      frame_(frame),
      binding_([this](Control c) { return control(c); }) {
  if (frame_ == Frame::Box) okId_ = cancelId_ = 0;
}

SheetDialog::~SheetDialog() = default;

int SheetDialog::addPage(int templateId, const std::string& title) {
  if (frame_ == Frame::Box && !pages_.empty()) return 0;
  pages_.push_back({templateId, title});
  return int(pages_.size()) - 1;
}

void SheetDialog::showPage(int index) {
  if (index < 0 || index >= pageCount()) return;
  current_ = index;
  if (!window_ || frame_ == Frame::Box) return;
  SendDlgItemMessageA(window_, IDC_SHEET_TABS, TCM_SETCURSEL, index, 0);
  for (int i = 0; i < pageCount(); ++i) {
    if (pages_[std::size_t(i)].window)
      ShowWindow(pages_[std::size_t(i)].window, i == index ? SW_SHOW : SW_HIDE);
  }
}

HWND SheetDialog::page(int index) const {
  if (!window_ || index < 0 || index >= pageCount()) return nullptr;
  return pages_[std::size_t(index)].window;
}

HWND SheetDialog::control(Control c) const {
  HWND p = page(c.page);
  return p ? GetDlgItem(p, c.id) : nullptr;
}

void SheetDialog::setButtons(int okId, int cancelId) {
  okId_ = okId;
  cancelId_ = cancelId;
}

ColourSwatch* SheetDialog::swatch(Control where) {
  swatches_.push_back(std::make_unique<ColourSwatch>());
  swatches_.back()->where_ = where;
  return swatches_.back().get();
}

std::string SheetDialog::shotName() const {
  std::string name = shot_;
  if (!pageInShotName || frame_ == Frame::Box || pages_.size() < 2) return name;
  // The page's title in lower case, each run of other characters a dash ("Web favorites":
  // "web-favorites"), ampersands left out.
  std::string page;
  bool dash = false;
  for (char c : pages_[std::size_t(current_)].title) {
    if (c == '&') continue;
    char lower = char(std::tolower(static_cast<unsigned char>(c)));
    if ((lower >= 'a' && lower <= 'z') || (lower >= '0' && lower <= '9')) {
      if (dash) page += '-';
      dash = false;
      page += lower;
    } else {
      dash = true;
    }
  }
  if (dash) page += '-';
  return name + "-" + page;
}

bool SheetDialog::run() {
  if (pages_.empty()) return false;
  // The tabs, the number boxes' up-downs and the list views are common controls.
  static const bool registered = [] {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_TAB_CLASSES | ICC_UPDOWN_CLASS |
                                                                    ICC_LISTVIEW_CLASSES |
                                                                    ICC_WIN95_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  (void)registered;
  dialog_ = std::make_unique<Window>(*this);
  int templateId = frame_ == Frame::Box ? pages_.front().templateId : IDD_SHEET_FRAME;
  openSheets().push_back(this);
  HHOOK keys = SetWindowsHookExA(WH_MSGFILTER, turnPagesByKeys, nullptr, GetCurrentThreadId());
  INT_PTR code = dialog_->runModal(templateId, context_.parent);
  if (keys) UnhookWindowsHookEx(keys);
  openSheets().pop_back();
  bool ok = code == IDOK;
  for (PageTemplate& p : pages_) p.window = nullptr;
  for (auto& s : swatches_) s->window_ = nullptr;
  window_ = nullptr;
  dialog_.reset();
  if (context_.autopilot) context_.autopilot->windowClosed();
  return ok;
}

std::vector<SheetDialog*>& SheetDialog::openSheets() {
  static std::vector<SheetDialog*> sheets;
  return sheets;
}

// Ctrl+Tab and Ctrl+Shift+Tab turn the pages of the sheet shown last, wherever the focus is
// in it, as in a Windows property sheet; the page comes with the focus on its first field.
LRESULT CALLBACK SheetDialog::turnPagesByKeys(int code, WPARAM wParam, LPARAM lParam) {
  const MSG* message = reinterpret_cast<const MSG*>(lParam);
  SheetDialog* sheet = openSheets().empty() ? nullptr : openSheets().back();
  bool turn = code == MSGF_DIALOGBOX && sheet && sheet->window_ && sheet->frame_ == Frame::Sheet &&
              message->message == WM_KEYDOWN && message->wParam == VK_TAB &&
              GetKeyState(VK_CONTROL) < 0 &&
              (message->hwnd == sheet->window_ || IsChild(sheet->window_, message->hwnd));
  if (!turn) return CallNextHookEx(nullptr, code, wParam, lParam);
  int count = sheet->pageCount();
  if (count > 1) {
    int step = GetKeyState(VK_SHIFT) < 0 ? -1 : 1;
    sheet->showPage((sheet->current_ + step + count) % count);
    sheet->focusFirstField();
  }
  return TRUE;
}

ui::Page SheetDialog::describe() const {
  ui::Page page;
  page.id = id_;
  page.caption = caption_;
  page.text = text;
  page.fields = binding_.fields();
  page.next.clear();
  page.finish = "OK";
  return page;
}

void SheetDialog::drive() {
  if (!window_ || !IsWindowVisible(window_)) return;
  ui::Page asked = describe();
  ui::PageResult wanted = context_.autopilot->page(asked);
  binding_.drive(wanted.fields, asked.fields);
  if (wanted.action == ui::PageResult::Action::Cancel) {
    if (frame_ == Frame::Sheet || cancelId_) {
      ui::win32::pressButton(window_, frame_ == Frame::Sheet ? IDCANCEL : cancelId_);
    } else {
      reject();
    }
    return;
  }
  if (afterFill) afterFill(wanted);
  if (!window_) return;
  if (frame_ == Frame::Sheet || okId_) {
    ui::win32::pressButton(window_, frame_ == Frame::Sheet ? IDOK : okId_);
  } else {
    accept();
  }
}

void SheetDialog::accept() {
  if (!window_) return;
  if (onOk && !onOk()) {
    // Refused: the sheet stays open; the answers are asked again (and give up on repeats).
    if (context_.autopilot) PostMessageA(window_, kDriveAgain, 0, 0);
    return;
  }
  dialog_->end(IDOK);
}

void SheetDialog::reject() {
  if (!window_) return;
  if (onCancel) onCancel();
  dialog_->end(IDCANCEL);
}

void SheetDialog::refuse(const pages::Check& check) {
  if (context_.ui) {
    pages::showRefusal(*context_.ui, check);
  } else if (check.kind == pages::Check::Kind::Beep || check.kind == pages::Check::Kind::Message) {
    MessageBeep(MB_OK);
  }
}

void SheetDialog::focusFirstField() {
  HWND area = page(current_);
  if (!area) return;
  // The children stand in their template's order, which is the reading order.
  for (HWND c = GetWindow(area, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    LONG_PTR style = GetWindowLongPtrA(c, GWL_STYLE);
    if (!(style & WS_TABSTOP) || !IsWindowEnabled(c) || !IsWindowVisible(c)) continue;
    if (isClass(c, "Edit") && (style & ES_READONLY)) continue;
    SendMessageA(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(c), TRUE);
    return;
  }
}

void SheetDialog::fitToTexts() {
  for (const PageTemplate& p : pages_) {
    if (!p.window) continue;
    for (HWND c = GetWindow(p.window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      if (isClass(c, "Edit") && !upDownOf(c)) showsWholeValue(p.window, GetDlgCtrlID(c));
    }
  }
}

}  // namespace vandrel::builder::win32
