// The control helpers of the sheets: reading and setting controls by class, lists, number
// boxes, whole-value tooltips, and the file and colour choosers.
#include "builder/win32/sheet_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <array>

#include "ui/win32/win32_interaction.h"

namespace vandrel::builder::win32 {

namespace {

std::string className(HWND window) {
  std::array<char, 64> name{};
  GetClassNameA(window, name.data(), int(name.size()));
  return name.data();
}

}  // namespace

bool isClass(HWND window, const char* name) {
  return window && lstrcmpiA(className(window).c_str(), name) == 0;
}

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
    if (isClass(c, UPDOWN_CLASSA) &&
        reinterpret_cast<HWND>(SendMessageA(c, UDM_GETBUDDY, 0, 0)) == edit)
      return c;
  }
  return nullptr;
}

ListRows readList(HWND list) {
  ListRows rows;
  if (isClass(list, "ComboBox")) {
    int count = int(SendMessageA(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      std::string item(static_cast<std::size_t>(SendMessageA(list, CB_GETLBTEXTLEN, i, 0)) + 1,
                       '\0');
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

namespace {

// The property the top-level window keeps its whole-value tooltip under.
constexpr const char* kTipsProperty = "VandrelWholeValueTips";

}  // namespace

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

// ---- control helpers ----

bool isChecked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }

void setChecked(HWND page, int id, bool checked) {
  CheckDlgButton(page, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

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
    SendMessageA(list, combo ? CB_ADDSTRING : LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(item.c_str()));
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

void columnList(HWND page, int id, const std::vector<std::string>& titles,
                const std::vector<int>& widths) {
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

void addRow(HWND page, int id, const std::vector<std::string>& cells, int image) {
  HWND list = GetDlgItem(page, id);
  int row = int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (std::size_t i = 0; i < cells.size(); ++i) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | (i == 0 && image >= 0 ? LVIF_IMAGE : 0);
    item.iImage = image;
    item.iItem = row;
    item.iSubItem = int(i);
    item.pszText = const_cast<char*>(cells[i].c_str());
    SendMessageA(list, i == 0 ? LVM_INSERTITEMA : LVM_SETITEMTEXTA, i == 0 ? 0 : WPARAM(row),
                 reinterpret_cast<LPARAM>(&item));
    // Each column as wide as its widest text, and at least as it was made.
    int wanted = int(SendMessageA(list, LVM_GETSTRINGWIDTHA, 0,
                                  reinterpret_cast<LPARAM>(cells[i].c_str()))) +
                 14;
    if (wanted > int(SendMessageA(list, LVM_GETCOLUMNWIDTH, i, 0)))
      SendMessageA(list, LVM_SETCOLUMNWIDTH, i, wanted);
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
    tips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                           WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0, top, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
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
  if (auto* port = dynamic_cast<ui::win32::Win32Interaction*>(&ui))
    context.autopilot = port->autopilot();
  return context;
}

}  // namespace vandrel::builder::win32
