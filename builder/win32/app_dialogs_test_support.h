// What the tests of the builder's own windows and assistants share: acting on the modal window
// once it is shown, its controls found by id on whichever page holds them, and the document
// with its tree (the page tests' fixture) under a context without answers.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "builder/pages/pages_fixture_test.h"
#include "builder/win32/builder_dialogs.h"
#include "ui/win32/dialog_window.h"
#include "ui/win32/window_shots.h"

namespace vandrel::builder::win32::testing {

inline BOOL CALLBACK takeModal(HWND window, LPARAM out) {
  char type[16] = {};
  GetClassNameA(window, type, sizeof type);
  if (std::string(type) != "#32770" || !IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
  *reinterpret_cast<HWND*>(out) = window;
  return FALSE;
}

// This thread's enabled, visible dialog window: the modal one (its owner is disabled).
inline HWND modalWindow() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), takeModal, reinterpret_cast<LPARAM>(&found));
  return found;
}

// The action waiting for the next window.
inline std::function<void(HWND)>& pendingAction() {
  static std::function<void(HWND)> pending;
  return pending;
}

inline void CALLBACK actOnShownWindow(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND window = modalWindow();
  if (!window || !pendingAction()) return;
  KillTimer(nullptr, timer);
  std::function<void(HWND)> act = std::move(pendingAction());
  pendingAction() = nullptr;
  act(window);
  if (IsWindow(window) && IsWindowVisible(window)) {
    ADD_FAILURE() << "the window was left open";
    SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
  }
}

// Acts on the modal window once it is shown (the next one to open): a thread timer, which the
// dialog's own message loop runs, looks for it. A window the action left open is cancelled as
// a failure, so that a failing test does not hang the run.
inline void whenShown(std::function<void(HWND)> act) {
  pendingAction() = std::move(act);
  SetTimer(nullptr, 0, 20, actOnShownWindow);
}

// A control of the window by its id, on the window itself or on one of its pages.
struct ControlSearch {
  int id;
  HWND found;
};

inline BOOL CALLBACK takeControl(HWND child, LPARAM out) {
  auto* search = reinterpret_cast<ControlSearch*>(out);
  if (GetDlgCtrlID(child) != search->id) return TRUE;
  search->found = child;
  return FALSE;
}

inline HWND control(HWND window, int id) {
  if (HWND direct = GetDlgItem(window, id)) return direct;
  ControlSearch search{id, nullptr};
  EnumChildWindows(window, takeControl, reinterpret_cast<LPARAM>(&search));
  EXPECT_NE(search.found, nullptr) << "no control " << id;
  return search.found;
}

inline std::string text(HWND window, int id) {
  char buffer[2048] = {};
  GetWindowTextA(control(window, id), buffer, sizeof buffer);
  return buffer;
}

inline std::string caption(HWND window) {
  char buffer[256] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

// Typing into an edit (or an editable drop-down's edit).
inline void type(HWND window, int id, const std::string& value) { SetWindowTextA(control(window, id), value.c_str()); }

// A check box or one radio button of a group set as a click would leave it.
inline void tick(HWND window, int id, bool on) {
  HWND box = control(window, id);
  SendMessageA(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!on || (GetWindowLongA(box, GWL_STYLE) & BS_TYPEMASK) != BS_AUTORADIOBUTTON) return;
  // The other buttons of its group are cleared.
  HWND parent = GetParent(box);
  for (HWND other = GetNextDlgGroupItem(parent, box, FALSE); other && other != box;
       other = GetNextDlgGroupItem(parent, other, FALSE)) {
    SendMessageA(other, BM_SETCHECK, BST_UNCHECKED, 0);
  }
}

inline bool ticked(HWND window, int id) {
  return SendMessageA(control(window, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// A button pressed: its command goes to the dialog (or page) that holds it.
inline void press(HWND window, int id) {
  HWND button = control(window, id);
  SendMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

// The window as it stands now saved as VANDREL_SCREENSHOTS/corvix-<name>.bmp when pictures
// are asked for (a page turned to, which the window's own picture at opening does not show).
inline void savePicture(HWND window, const std::string& name) {
  if (const char* folder = std::getenv("VANDREL_SCREENSHOTS")) {
    ui::win32::saveWindowPicture(window, std::string(folder) + "\\corvix-" + name + ".bmp");
  }
}

// A document with its tree and a context without answers; the windows' pictures go to
// VANDREL_SCREENSHOTS when it is set.
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
