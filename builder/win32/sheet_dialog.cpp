// The sheet frame, the named-field binding, the control helpers and the choosers.
#include "builder/win32/sheet_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>

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

std::string className(HWND window) {
  std::array<char, 64> name{};
  GetClassNameA(window, name.data(), int(name.size()));
  return name.data();
}

bool isClass(HWND window, const char* name) { return window && lstrcmpiA(className(window).c_str(), name) == 0; }

std::string windowText(HWND window) {
  int length = GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(length, 0)));
  return text;
}

// Tells the control's dialog of a change, as the control would after a person's change.
void notifyParent(HWND control, int code) {
  SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
               reinterpret_cast<LPARAM>(control));
}

// The up-down control whose buddy the edit is; null when there is none.
HWND upDownOf(HWND edit) {
  HWND parent = GetParent(edit);
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (isClass(c, UPDOWN_CLASSA) && reinterpret_cast<HWND>(SendMessageA(c, UDM_GETBUDDY, 0, 0)) == edit) return c;
  }
  return nullptr;
}

ui::Field field(ui::Field::Kind kind, const std::string& name, const std::string& label) {
  ui::Field f;
  f.kind = kind;
  f.name = name;
  f.label = label;
  return f;
}

// A list control's rows and selection, whatever its class.
struct ListRows {
  std::vector<std::string> items;
  int selected = -1;
};

ListRows readList(HWND list) {
  ListRows rows;
  if (isClass(list, "ComboBox")) {
    int count = int(SendMessageA(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      std::string item(static_cast<std::size_t>(SendMessageA(list, CB_GETLBTEXTLEN, i, 0)) + 1, '\0');
      SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
      rows.items.push_back(item.c_str());
    }
    rows.selected = int(SendMessageA(list, CB_GETCURSEL, 0, 0));
  } else if (isClass(list, "ListBox")) {
    int count = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      std::string item(static_cast<std::size_t>(SendMessageA(list, LB_GETTEXTLEN, i, 0)) + 1, '\0');
      SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()));
      rows.items.push_back(item.c_str());
    }
    rows.selected = int(SendMessageA(list, LB_GETCURSEL, 0, 0));
  } else if (isClass(list, WC_LISTVIEWA)) {
    int count = int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      std::array<char, 1024> text{};
      LVITEMA item{};
      item.iSubItem = 0;
      item.pszText = text.data();
      item.cchTextMax = int(text.size());
      SendMessageA(list, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
      rows.items.push_back(text.data());
    }
    rows.selected = int(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
  }
  if (rows.selected < 0) rows.selected = -1;
  return rows;
}

void selectRow(HWND list, int row) {
  if (isClass(list, "ComboBox")) {
    SendMessageA(list, CB_SETCURSEL, row, 0);
    notifyParent(list, CBN_SELCHANGE);
  } else if (isClass(list, "ListBox")) {
    SendMessageA(list, LB_SETCURSEL, row, 0);
    notifyParent(list, LBN_SELCHANGE);
  } else if (isClass(list, WC_LISTVIEWA)) {
    // The list view tells its dialog itself (LVN_ITEMCHANGED).
    LVITEMA clear{};
    clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, WPARAM(-1), reinterpret_cast<LPARAM>(&clear));
    if (row >= 0) {
      LVITEMA set{};
      set.state = set.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
      SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&set));
      SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
    }
  }
}

bool sameAnswer(const ui::Field& a, const ui::Field& b) {
  return a.value == b.value && a.checked == b.checked && a.selected == b.selected;
}

// The property the top-level window keeps its whole-value tooltip under.
constexpr const char* kTipsProperty = "VandrelWholeValueTips";

// Answers a tooltip's question for the text of an edit whose value it shows whole: the value,
// or nothing (no tip) when the edit shows it all.
bool answerWholeValueTip(const NMHDR& header) {
  if (header.code != TTN_GETDISPINFOA) return false;
  auto& info = const_cast<NMTTDISPINFOA&>(reinterpret_cast<const NMTTDISPINFOA&>(header));
  if (!(info.uFlags & TTF_IDISHWND)) return false;
  HWND edit = reinterpret_cast<HWND>(header.idFrom);
  static std::string shown;
  shown = windowText(edit);
  RECT client{};
  GetClientRect(edit, &client);
  HDC dc = GetDC(edit);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(edit, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32A(dc, shown.c_str(), int(shown.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(edit, dc);
  if (size.cx + 4 <= client.right - client.left) shown.clear();
  info.lpszText = shown.data();
  return true;
}

}  // namespace

// ---- colour swatch ----

void ColourSwatch::setColour(std::uint32_t colour) {
  colour_ = colour & 0x00ffffffu;
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

// ---- field binding ----

void FieldBinding::text(const std::string& name, const std::string& label, Control edit) {
  auto find = find_;
  bound_.push_back({[=] {
                      ui::Field f = field(ui::Field::Kind::Text, name, label);
                      f.value = windowText(find(edit));
                      return f;
                    },
                    [=](const ui::Field& f) {
                      HWND control = find(edit);
                      if (!isClass(control, "ComboBox")) {
                        SetWindowTextA(control, f.value.c_str());  // the edit tells EN_CHANGE itself
                        return;
                      }
                      // A typed text that names a list item chooses that item.
                      LRESULT row = SendMessageA(control, CB_FINDSTRINGEXACT, WPARAM(-1),
                                                 reinterpret_cast<LPARAM>(f.value.c_str()));
                      if (row != CB_ERR && readList(control).items[std::size_t(row)] == f.value) {
                        selectRow(control, int(row));
                      } else {
                        SendMessageA(control, CB_SETCURSEL, WPARAM(-1), 0);
                        SetWindowTextA(control, f.value.c_str());
                        notifyParent(control, CBN_EDITCHANGE);
                      }
                    }});
}

void FieldBinding::colour(const std::string& name, const std::string& label, ColourSwatch* swatch) {
  bound_.push_back({[=] {
                      ui::Field f = field(ui::Field::Kind::Text, name, label);
                      f.value = std::to_string(swatch->colour());
                      return f;
                    },
                    [=](const ui::Field& f) {
                      char* end = nullptr;
                      unsigned long v = std::strtoul(f.value.c_str(), &end, 0);
                      if (!f.value.empty() && end && *end == '\0' && v <= 0xffffffu && v != swatch->colour()) {
                        swatch->setColour(std::uint32_t(v));
                        if (swatch->changed) swatch->changed(swatch->colour());
                      }
                    }});
}

void FieldBinding::number(const std::string& name, const std::string& label, Control edit) {
  auto find = find_;
  bound_.push_back({[=] {
                      ui::Field f = field(ui::Field::Kind::Text, name, label);
                      HWND control = find(edit);
                      if (HWND upDown = upDownOf(control)) {
                        BOOL failed = FALSE;
                        int value = int(SendMessageA(upDown, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
                        f.value = std::to_string(value);
                      } else {
                        f.value = windowText(control);
                      }
                      return f;
                    },
                    [=](const ui::Field& f) {
                      char* end = nullptr;
                      long v = std::strtol(f.value.c_str(), &end, 10);
                      if (f.value.empty() || !end || *end != '\0') return;
                      HWND control = find(edit);
                      if (HWND upDown = upDownOf(control)) {
                        int low = 0, high = 0;
                        SendMessageA(upDown, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                                     reinterpret_cast<LPARAM>(&high));
                        v = std::clamp<long>(v, std::min(low, high), std::max(low, high));
                      }
                      SetWindowTextA(control, std::to_string(v).c_str());
                    }});
}

void FieldBinding::check(const std::string& name, const std::string& label, Control box) {
  auto find = find_;
  bound_.push_back({[=] {
                      ui::Field f = field(ui::Field::Kind::Check, name, label);
                      f.checked = SendMessageA(find(box), BM_GETCHECK, 0, 0) == BST_CHECKED;
                      return f;
                    },
                    [=](const ui::Field& f) {
                      HWND control = find(box);
                      bool now = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
                      SendMessageA(control, BM_SETCHECK, f.checked ? BST_CHECKED : BST_UNCHECKED, 0);
                      if (now != f.checked) notifyParent(control, BN_CLICKED);
                    }});
}

void FieldBinding::chosen(const std::string& name, const std::string& label, std::function<std::string()> current,
                          std::function<void(const std::string&)> choose) {
  bound_.push_back({[=] {
                      ui::Field f = field(ui::Field::Kind::Text, name, label);
                      f.value = current();
                      return f;
                    },
                    [=](const ui::Field& f) {
                      if (!f.value.empty() && f.value != current()) choose(f.value);
                    }});
}

void FieldBinding::radios(const std::string& name, const std::string& label, std::vector<Control> buttons) {
  auto find = find_;
  bound_.push_back({[=] {
                      ui::Field f = field(ui::Field::Kind::Radio, name, label);
                      f.selected = -1;
                      for (std::size_t i = 0; i < buttons.size(); ++i) {
                        HWND button = find(buttons[i]);
                        f.items.push_back(windowText(button));
                        if (SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED) f.selected = int(i);
                      }
                      return f;
                    },
                    [=](const ui::Field& f) {
                      if (f.selected < 0 || f.selected >= int(buttons.size())) return;
                      for (std::size_t i = 0; i < buttons.size(); ++i) {
                        SendMessageA(find(buttons[i]), BM_SETCHECK, int(i) == f.selected ? BST_CHECKED : BST_UNCHECKED, 0);
                      }
                      notifyParent(find(buttons[std::size_t(f.selected)]), BN_CLICKED);
                    }});
}

void FieldBinding::choice(const std::string& name, const std::string& label, Control list, const std::string& none) {
  auto find = find_;
  int shift = none.empty() ? 0 : 1;
  bound_.push_back({[=] {
                      ui::Field f = field(ui::Field::Kind::Radio, name, label);
                      ListRows rows = readList(find(list));
                      if (shift) f.items.push_back(none);
                      f.items.insert(f.items.end(), rows.items.begin(), rows.items.end());
                      f.selected = rows.selected + shift;
                      return f;
                    },
                    [=](const ui::Field& f) {
                      HWND control = find(list);
                      int row = f.selected - shift;
                      if (row >= -1 && row < int(readList(control).items.size())) selectRow(control, row);
                    }});
}

std::vector<ui::Field> FieldBinding::fields() const {
  std::vector<ui::Field> out;
  for (const Bound& b : bound_) out.push_back(b.read());
  return out;
}

void FieldBinding::drive(const std::vector<ui::Field>& answer, const std::vector<ui::Field>& asked) const {
  for (const Bound& b : bound_) {
    std::string name = b.read().name;
    auto was = std::find_if(asked.begin(), asked.end(), [&](const ui::Field& f) { return f.name == name; });
    for (const ui::Field& f : answer) {
      // A field the answer left as asked keeps what the controls show now: an earlier field
      // (a file chosen) may have changed it.
      if (f.name == name && (was == asked.end() || !sameAnswer(f, *was))) b.write(f);
    }
  }
}

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
  INT_PTR pageMessage(int index, HWND page, UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
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
      p.window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(p.templateId), window_,
                                    pageProcedure, reinterpret_cast<LPARAM>(&sheet_));
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
      if (p.window) SetWindowPos(p.window, nullptr, display.left, display.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    int buttonsTop = margin.top + tabHeight + gap.top;
    int clientWidth = margin.left * 2 + tabWidth;
    int right = clientWidth - margin.left;
    MoveWindow(GetDlgItem(window_, IDCANCEL), right - margin.right, buttonsTop, margin.right, margin.bottom, TRUE);
    MoveWindow(GetDlgItem(window_, IDOK), right - 2 * margin.right - gap.left, buttonsTop, margin.right,
               margin.bottom, TRUE);
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

SheetDialog::SheetDialog(const DialogContext& context, const std::string& caption, std::string id, std::string shot,
                         Frame frame)
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
    if (pages_[std::size_t(i)].window) ShowWindow(pages_[std::size_t(i)].window, i == index ? SW_SHOW : SW_HIDE);
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
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                  ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES | ICC_WIN95_CLASSES};
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
              message->message == WM_KEYDOWN && message->wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 &&
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

// ---- control helpers ----

bool isChecked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }

void setChecked(HWND page, int id, bool checked) { CheckDlgButton(page, id, checked ? BST_CHECKED : BST_UNCHECKED); }

void setRadio(HWND page, const std::vector<int>& ids, int index) {
  for (std::size_t i = 0; i < ids.size(); ++i) setChecked(page, ids[i], int(i) == index);
}

int selectedRadio(HWND page, const std::vector<int>& ids) {
  for (std::size_t i = 0; i < ids.size(); ++i) {
    if (isChecked(page, ids[i])) return int(i);
  }
  return 0;
}

void fillList(HWND page, int id, const std::vector<std::string>& items, int selected) {
  HWND list = GetDlgItem(page, id);
  bool combo = isClass(list, "ComboBox");
  SendMessageA(list, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
  for (const std::string& item : items) {
    SendMessageA(list, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
  SendMessageA(list, combo ? CB_SETCURSEL : LB_SETCURSEL, WPARAM(selected), 0);
}

int listSelection(HWND page, int id) { return readList(GetDlgItem(page, id)).selected; }

void setListSelection(HWND page, int id, int row) {
  HWND list = GetDlgItem(page, id);
  if (isClass(list, "ComboBox")) {
    SendMessageA(list, CB_SETCURSEL, WPARAM(row), 0);
  } else if (isClass(list, "ListBox")) {
    SendMessageA(list, LB_SETCURSEL, WPARAM(row), 0);
  } else {
    selectRow(list, row);
  }
}

void columnList(HWND page, int id, const std::vector<std::string>& titles, const std::vector<int>& widths) {
  HWND list = GetDlgItem(page, id);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  for (std::size_t i = 0; i < titles.size(); ++i) {
    RECT r{0, 0, i < widths.size() ? widths[i] : 50, 0};
    MapDialogRect(page, &r);
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(titles[i].c_str());
    column.cx = r.right;
    column.iSubItem = int(i);
    SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }
}

void addRow(HWND page, int id, const std::vector<std::string>& cells) {
  HWND list = GetDlgItem(page, id);
  int row = int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (std::size_t i = 0; i < cells.size(); ++i) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = int(i);
    item.pszText = const_cast<char*>(cells[i].c_str());
    SendMessageA(list, i == 0 ? LVM_INSERTITEMA : LVM_SETITEMTEXTA, i == 0 ? 0 : WPARAM(row),
                 reinterpret_cast<LPARAM>(&item));
    // Each column as wide as its widest text, and at least as it was made.
    int wanted = int(SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(cells[i].c_str()))) + 14;
    if (wanted > int(SendMessageA(list, LVM_GETCOLUMNWIDTH, i, 0))) SendMessageA(list, LVM_SETCOLUMNWIDTH, i, wanted);
  }
}

void clearRows(HWND page, int id) { SendDlgItemMessageA(page, id, LVM_DELETEALLITEMS, 0, 0); }

void setNumberRange(HWND page, int upDownId, int minimum, int maximum) {
  SendDlgItemMessageA(page, upDownId, UDM_SETRANGE32, WPARAM(minimum), LPARAM(maximum));
}

void enableControl(HWND page, int id, bool enabled) { EnableWindow(GetDlgItem(page, id), enabled); }

void showsWholeValue(HWND page, int id) {
  HWND edit = GetDlgItem(page, id);
  HWND top = GetAncestor(page, GA_ROOT);
  if (!edit || !top) return;
  auto tips = static_cast<HWND>(GetPropA(top, kTipsProperty));
  if (!tips) {
    tips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0,
                           0, 0, top, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetPropA(top, kTipsProperty, tips);
  }
  TTTOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = page;
  tool.uId = reinterpret_cast<UINT_PTR>(edit);
  tool.lpszText = LPSTR_TEXTCALLBACKA;
  SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

// ---- choosers ----

std::optional<std::string> chooseFile(const DialogContext& context, const FileRequest& request) {
  if (context.chooseFile) return context.chooseFile(request);
  // The string table's filters with their bars as the nulls the dialog wants.
  std::string filters = request.filters;
  std::replace(filters.begin(), filters.end(), '|', '\0');
  filters.push_back('\0');
  std::string start = request.startFolder;
  if (context.files && !start.empty()) {
    if (auto host = context.files->hostPath(start)) start = host->string();
  }
  std::array<char, MAX_PATH * 4> file{};
  OPENFILENAMEA open{};
  open.lStructSize = sizeof(open);
  open.hwndOwner = context.parent;
  open.lpstrFilter = filters.c_str();
  open.lpstrFile = file.data();
  open.nMaxFile = DWORD(file.size());
  open.lpstrInitialDir = start.empty() ? nullptr : start.c_str();
  open.lpstrTitle = request.title.c_str();
  open.lpstrDefExt = request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
  open.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
  if (!GetOpenFileNameA(&open)) return std::nullopt;
  std::string host = file.data();
  if (!context.files) return host;
  return context.files->windowsPath(host);
}

std::optional<std::uint32_t> chooseColour(const DialogContext& context, std::uint32_t initial) {
  if (context.chooseColour) return context.chooseColour(initial);
  static std::array<COLORREF, 16> custom{};
  CHOOSECOLORA choose{};
  choose.lStructSize = sizeof(choose);
  choose.hwndOwner = context.parent;
  choose.rgbResult = COLORREF(initial);
  choose.lpCustColors = custom.data();
  choose.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorA(&choose)) return std::nullopt;
  return std::uint32_t(choose.rgbResult) & 0x00ffffffu;
}

DialogContext dialogContext(HWND parent, ui::Interaction& ui, platform::FileSystem* files) {
  DialogContext context;
  context.parent = parent;
  context.ui = &ui;
  context.files = files;
  if (auto* port = dynamic_cast<ui::win32::Win32Interaction*>(&ui)) context.autopilot = port->autopilot();
  return context;
}

}  // namespace vandrel::builder::win32
