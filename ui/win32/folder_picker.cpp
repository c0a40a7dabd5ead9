// The folder picker over the system's file-open dialog.
#include "ui/win32/folder_picker.h"

#include <commdlg.h>

#include <cstdio>

#include "ui/win32/win32_interaction.h"

namespace vandrel::ui::win32 {

// The name box is the edit or the combo box the dialog has.
void setFileName(HWND dialog, const std::string& path) {
  int box = GetDlgItem(dialog, 1148) ? 1148 : 1152;
  SendMessageA(dialog, CDM_SETCONTROLTEXT, box, reinterpret_cast<LPARAM>(path.c_str()));
}

namespace {

// The file-open dialog's hook: arranges it as a folder chooser, 30 pixels less high and
// centred, and drives it once it is up.
struct FolderPicker {
  Win32Interaction& backend;
  const FolderPrompt& prompt;

  static UINT_PTR CALLBACK hook(HWND child, UINT message, WPARAM, LPARAM lParam) {
    constexpr UINT kShown = WM_APP + 2;
    if (message == WM_INITDIALOG) {
      auto* ofn = reinterpret_cast<OPENFILENAMEA*>(lParam);
      SetWindowLongPtrA(child, GWLP_USERDATA, static_cast<LONG_PTR>(ofn->lCustData));
      return 0;
    }
    auto* self = reinterpret_cast<FolderPicker*>(GetWindowLongPtrA(child, GWLP_USERDATA));
    if (!self) return 0;
    HWND dialog = GetParent(child);
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == CDN_INITDONE) {
      self->arrange(dialog);
      PostMessageA(child, kShown, 0, 0);
    } else if (message == kShown) {
      self->backend.windowShown(dialog, "folder", [self, dialog] { self->drive(dialog); });
    }
    return 0;
  }

  void arrange(HWND dialog) const {
    SetWindowTextA(dialog, prompt.caption.c_str());
    SendMessageA(dialog, CDM_SETCONTROLTEXT, 1090, reinterpret_cast<LPARAM>(prompt.text.c_str()));
    SetWindowPos(GetDlgItem(dialog, 1090), nullptr, 0, 0, 300, 30, SWP_NOMOVE | SWP_NOZORDER);
    // The name box is an edit (1152) or, in newer dialogs, a combo box (1148).
    for (int id : {1038, 1152, 1148, 1089, 1136}) SendMessageA(dialog, CDM_HIDECONTROL, id, 0);
    SendMessageA(dialog, CDM_SETCONTROLTEXT, IDOK, reinterpret_cast<LPARAM>("&OK"));
    RECT frame{};
    GetWindowRect(dialog, &frame);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top - 30;
    SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER);
  }

  // The answer is a folder, a backslash and the dummy name: the name box takes the whole path.
  void drive(HWND dialog) const {
    std::optional<std::string> wanted = backend.autopilot()->folder(prompt);
    if (!wanted) return (void)PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    setFileName(dialog, *wanted);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  }
};

}  // namespace

std::optional<std::string> runFolderPicker(Win32Interaction& backend, const FolderPrompt& prompt, HWND owner) {
  FolderPicker picker{backend, prompt};
  char file[MAX_PATH] = {};
  std::snprintf(file, sizeof file, "%s", prompt.dummyName.c_str());
  static const char kFilter[] = "(*.dum)\0*.dum\0";
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = kFilter;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrInitialDir = prompt.initialFolder.empty() ? nullptr : prompt.initialFolder.c_str();
  ofn.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLEHOOK | OFN_NOCHANGEDIR;
  ofn.lpfnHook = FolderPicker::hook;
  ofn.lCustData = reinterpret_cast<LPARAM>(&picker);
  if (!GetOpenFileNameA(&ofn)) return std::nullopt;
  return std::string(file);
}

}  // namespace vandrel::ui::win32
