// What the Win32 sheet tests share: acting on the window shown next (from a timer of the
// modal loop), the controls of a sheet found by their numbers, and a document with a context.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "builder/pages/pages_fixture_test.h"
#include "builder/win32/builder_dialogs.h"
#include "ui/win32/window_shots.h"

namespace vandrel::builder::win32::testing {

// The control of that number on the window or any of its pages.
inline HWND find(HWND top, int id) {
  struct Search {
    int id;
    HWND found = nullptr;
  } search{id};
  EnumChildWindows(
      top,
      [](HWND child, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (GetDlgCtrlID(child) != s->id || GetParent(child) == nullptr) return TRUE;
        s->found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  EXPECT_NE(search.found, nullptr) << "no control " << id;
  return search.found;
}

inline std::string text(HWND top, int id) {
  char buffer[1024] = {};
  GetWindowTextA(find(top, id), buffer, sizeof buffer);
  return buffer;
}

inline bool enabled(HWND top, int id) { return IsWindowEnabled(find(top, id)) != FALSE; }
inline bool checked(HWND top, int id) {
  return SendMessageA(find(top, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

inline void command(HWND control, int code) {
  SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
               reinterpret_cast<LPARAM>(control));
}

// Types into an edit or an editable drop-down.
inline void type(HWND top, int id, const std::string& value) {
  HWND control = find(top, id);
  SetWindowTextA(control, value.c_str());
  char name[32] = {};
  GetClassNameA(control, name, sizeof name);
  if (lstrcmpiA(name, "ComboBox") == 0) command(control, CBN_EDITCHANGE);
}

// Ticks or clears a check box, or sets a radio button (its group's others cleared), as a
// click does: the dialog is told.
inline void tick(HWND top, int id, bool on) {
  HWND control = find(top, id);
  LONG_PTR kind = GetWindowLongPtrA(control, GWL_STYLE) & BS_TYPEMASK;
  if (kind == BS_AUTORADIOBUTTON || kind == BS_RADIOBUTTON) {
    HWND parent = GetParent(control);
    HWND first = GetNextDlgGroupItem(parent, control, TRUE);
    for (HWND c = first;;) {
      if (c != control) SendMessageA(c, BM_SETCHECK, BST_UNCHECKED, 0);
      c = GetNextDlgGroupItem(parent, c, FALSE);
      if (!c || c == first) break;
    }
  }
  SendMessageA(control, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  command(control, BN_CLICKED);
}

// Chooses a row of a drop-down list or a list box (-1: none), telling the dialog.
inline void choose(HWND top, int id, int row) {
  HWND control = find(top, id);
  char name[32] = {};
  GetClassNameA(control, name, sizeof name);
  if (lstrcmpiA(name, "ComboBox") == 0) {
    SendMessageA(control, CB_SETCURSEL, WPARAM(row), 0);
    command(control, CBN_SELCHANGE);
  } else {
    SendMessageA(control, LB_SETCURSEL, WPARAM(row), 0);
    command(control, LBN_SELCHANGE);
  }
}

// Presses a button (IDOK and IDCANCEL: the frame's) as a click does.
inline void press(HWND top, int id) {
  HWND button = id == IDOK || id == IDCANCEL ? GetDlgItem(top, id) : find(top, id);
  ASSERT_NE(button, nullptr) << "no button " << id;
  command(button, BN_CLICKED);
}

// The top window of this thread's modal loop: the visible, enabled dialog.
inline HWND shownWindow() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM data) -> BOOL {
        char name[32] = {};
        GetClassNameA(window, name, sizeof name);
        if (lstrcmpA(name, "#32770") != 0 || !IsWindowVisible(window) || !IsWindowEnabled(window))
          return TRUE;
        *reinterpret_cast<HWND*>(data) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// Acts on the modal window once it is up (the next one to open); a window the act leaves
// open is a failure, and is closed.
inline void whenShown(std::function<void(HWND)> act) {
  static std::function<void(HWND)> pending;
  pending = std::move(act);
  SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR timer, DWORD) {
    HWND window = shownWindow();
    if (!window || !pending) return;
    KillTimer(nullptr, timer);
    std::function<void(HWND)> run = std::move(pending);
    pending = nullptr;
    run(window);
    if (IsWindow(window) && IsWindowVisible(window)) {
      ADD_FAILURE() << "the window was left open";
      EndDialog(window, IDCANCEL);
    }
  });
}

// Acts on every modal window as it comes up, until it goes out of scope.
class EachWindow {
 public:
  explicit EachWindow(std::function<void(HWND)> act) {
    current() = this;
    act_ = std::move(act);
    timer_ = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) {
      EachWindow* self = current();
      HWND window = shownWindow();
      if (!self || !window || window == self->last_) return;
      self->last_ = window;
      self->act_(window);
    });
  }
  ~EachWindow() {
    KillTimer(nullptr, timer_);
    current() = nullptr;
  }
  EachWindow(const EachWindow&) = delete;
  EachWindow& operator=(const EachWindow&) = delete;

 private:
  static EachWindow*& current() {
    static EachWindow* each = nullptr;
    return each;
  }
  std::function<void(HWND)> act_;
  UINT_PTR timer_ = 0;
  HWND last_ = nullptr;
};

// The window's caption.
inline std::string caption(HWND window) {
  char buffer[256] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

// The controls Tab visits from the one with the focus, by their numbers.
inline std::vector<int> tabOrder(HWND top) {
  std::vector<int> order;
  HWND start = GetFocus();
  if (!start) return order;
  HWND c = start;
  do {
    order.push_back(GetDlgCtrlID(c));
    c = GetNextDlgTabItem(top, c, FALSE);
  } while (c && c != start && order.size() < 100);
  return order;
}

// A document with its tree and a context without answers; pictures of the windows when
// VANDREL_SCREENSHOTS names a folder.
struct DialogFixture : ::testing::Test, builder::testing::DocFixture {
  DialogFixture() {
    if (const char* folder = std::getenv("VANDREL_SCREENSHOTS")) {
      ui::win32::processShots() = ui::win32::WindowShots(folder, ui::Program::Builder);
    }
  }
  test::FakeInteraction ui;
  DialogContext context() {
    DialogContext c;
    c.ui = &ui;
    return c;
  }
};

}  // namespace vandrel::builder::win32::testing
