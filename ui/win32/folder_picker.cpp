// The folder picker over the system's own folder dialog (the shell's browse-for-folder box).
#include "ui/win32/folder_picker.h"

#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "ui/folder_picker_model.h"
#include "ui/win32/win32_interaction.h"

namespace vandrel::ui::win32 {

namespace {

// One showing of the dialog: the picker's model, and what the answers gave when they drove it.
struct Picker {
  Win32Interaction& backend;
  FolderPickerModel& model;
  std::string start;  // the folder the dialog opens on
  bool driven = false;
  std::optional<std::string> answer = {};  // the answers' folder (none: Cancel)

  // Once the dialog is up (from its own message loop, so that it is drawn): the caption, then
  // the backend's picture and its answers.
  static void CALLBACK whenUp(HWND window, UINT, UINT_PTR timer, DWORD) {
    // The dialog shows itself after its set-up: until then, the picture would be empty.
    if (!IsWindowVisible(window)) return;
    KillTimer(window, timer);
    auto* self = reinterpret_cast<Picker*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return;
    self->backend.windowShown(window, "folder", [self, window] { self->drive(window); });
  }

  // The answer is kept and checked once the dialog is closed, as a folder typed there is.
  void drive(HWND window) {
    driven = true;
    answer = backend.autopilot()->folder(model.prompt());
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
  }

  static int CALLBACK callback(HWND window, UINT message, LPARAM param, LPARAM data) {
    auto* self = reinterpret_cast<Picker*>(data);
    if (message == BFFM_INITIALIZED) {
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      SetWindowTextA(window, self->model.prompt().caption.c_str());
      SendMessageA(window, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(self->start.c_str()));
      SetTimer(window, 1, 10, &Picker::whenUp);
    } else if (message == BFFM_VALIDATEFAILEDA) {
      // A typed folder the dialog cannot find: the reason, and the dialog stays.
      std::string why;
      self->model.open(reinterpret_cast<const char*>(param), &why);
      MessageBoxA(window, why.c_str(), self->model.prompt().caption.c_str(),
                  MB_OK | MB_ICONEXCLAMATION);
      return 1;
    }
    return 0;
  }
};

// Shows the dialog once: the folder chosen (or typed), none for Cancel.
std::optional<std::string> showOnce(Picker& picker, HWND owner) {
  char chosen[MAX_PATH] = {};
  BROWSEINFOA info{};
  info.hwndOwner = owner;
  info.pszDisplayName = chosen;
  info.lpszTitle = picker.model.prompt().text.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_EDITBOX | BIF_VALIDATE;
  info.lpfn = &Picker::callback;
  info.lParam = reinterpret_cast<LPARAM>(&picker);
  PIDLIST_ABSOLUTE list = SHBrowseForFolderA(&info);
  if (!list) return std::nullopt;
  char path[MAX_PATH] = {};
  bool found = SHGetPathFromIDListA(list, path);
  CoTaskMemFree(list);
  if (!found) return std::nullopt;
  return std::string(path);
}

}  // namespace

std::optional<std::string> runFolderPicker(Win32Interaction& backend, const FolderPrompt& prompt,
                                           HWND owner) {
  bool comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  FolderPickerModel model(backend.fileSystem(), prompt);
  Picker picker{backend, model, model.folder()};
  std::optional<std::string> result;
  for (;;) {
    std::optional<std::string> chosen = showOnce(picker, owner);
    if (picker.driven) {
      // The answers' folder, taken as written when the model takes it.
      std::string why;
      if (picker.answer && model.choose(model.folderOfAnswer(*picker.answer), &why)) {
        result = picker.answer;
      } else if (picker.answer) {
        std::fprintf(stderr, "the folder picker refused the answered folder: %s\n", why.c_str());
      }
      break;
    }
    if (!chosen) break;
    std::string why;
    result = model.choose(*chosen, &why);
    if (result) break;
    // Refused: the reason, and the dialog again on the folder chosen.
    MessageBoxA(owner, why.c_str(), prompt.caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
    picker.start = *chosen;
  }
  if (comStarted) CoUninitialize();
  return result;
}

}  // namespace vandrel::ui::win32
