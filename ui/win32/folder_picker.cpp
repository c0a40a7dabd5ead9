// The folder picker over the system's own folder dialog (the file-open dialog choosing folders).
#include "ui/win32/folder_picker.h"

#include <objbase.h>
#include <shobjidl.h>

#include <cstdio>
#include <string>

#include "ui/folder_picker_model.h"
#include "ui/win32/win32_interaction.h"

namespace vandrel::ui::win32 {

namespace {

constexpr UINT kTextCodePage = 1252;  // the prompts' texts
constexpr DWORD kPromptId = 1;        // the prompt's text in the dialog

std::wstring wide(const std::string& text, UINT codePage) {
  if (text.empty()) return {};
  int size =
      MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
  return out;
}

std::string narrow(const wchar_t* text) {
  int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string out(static_cast<std::size_t>(size - 1), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), size, nullptr, nullptr);
  return out;
}

// The file-system path of the folder the dialog holds as its result; empty when none.
std::string resultPath(IFileDialog* dialog) {
  IShellItem* item = nullptr;
  if (FAILED(dialog->GetResult(&item)) || !item) return {};
  std::string path;
  wchar_t* name = nullptr;
  if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &name)) && name) {
    path = narrow(name);
    CoTaskMemFree(name);
  }
  item->Release();
  return path;
}

HWND dialogWindow(IFileDialog* dialog) {
  HWND window = nullptr;
  IOleWindow* ole = nullptr;
  if (SUCCEEDED(dialog->QueryInterface(IID_PPV_ARGS(&ole))) && ole) {
    ole->GetWindow(&window);
    ole->Release();
  }
  return window;
}

// One picker while it is shown: the dialog's events check each OK against the picker's
// model, and once the dialog is up the backend takes its picture and drives it.
class Picker : public IFileDialogEvents {
 public:
  Picker(Win32Interaction& backend, const FolderPrompt& prompt, IFileDialog* dialog)
      : backend_(backend), model_(backend.fileSystem(), prompt), dialog_(dialog) {}

  FolderPickerModel& model() { return model_; }
  // Set when the answers drove the picker: the answer given (empty: Cancel).
  const std::optional<std::optional<std::string>>& driven() const { return driven_; }

  // IUnknown: the picker lives on the stack for the dialog's whole run.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IFileDialogEvents)) {
      *out = static_cast<IFileDialogEvents*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  // OK: a choice the model refuses is explained and the dialog stays.
  HRESULT STDMETHODCALLTYPE OnFileOk(IFileDialog* dialog) override {
    std::string why;
    if (model_.choose(resultPath(dialog), &why)) return S_OK;
    MessageBoxA(dialogWindow(dialog), why.c_str(), model_.prompt().caption.c_str(),
                MB_OK | MB_ICONEXCLAMATION);
    return S_FALSE;
  }
  // The first folder shown: the dialog is up; the rest runs from its own message loop.
  HRESULT STDMETHODCALLTYPE OnFolderChange(IFileDialog*) override {
    if (!up_) {
      up_ = true;
      current_ = this;
      SetTimer(nullptr, 0, 0, &Picker::whenUp);
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnFolderChanging(IFileDialog*, IShellItem*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnSelectionChange(IFileDialog*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShareViolation(IFileDialog*, IShellItem*,
                                             FDE_SHAREVIOLATION_RESPONSE*) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnTypeChange(IFileDialog*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnOverwrite(IFileDialog*, IShellItem*,
                                        FDE_OVERWRITE_RESPONSE*) override {
    return S_OK;
  }

 private:
  static void CALLBACK whenUp(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    Picker* self = current_;
    if (!self) return;
    current_ = nullptr;
    HWND window = dialogWindow(self->dialog_);
    self->backend_.windowShown(window, "folder", [self] { self->drive(); });
  }

  // The answer is taken as it comes and checked once the dialog is closed, as a typed one.
  void drive() {
    driven_ = backend_.autopilot()->folder(model_.prompt());
    dialog_->Close(*driven_ ? S_OK : HRESULT_FROM_WIN32(ERROR_CANCELLED));
  }

  static inline Picker* current_ = nullptr;
  Win32Interaction& backend_;
  FolderPickerModel model_;
  IFileDialog* dialog_;
  bool up_ = false;
  std::optional<std::optional<std::string>> driven_;
};

// Caption, prompt, OK label and the folder the dialog opens in.
void arrange(IFileOpenDialog* dialog, Picker& picker) {
  const FolderPrompt& prompt = picker.model().prompt();
  DWORD options = 0;
  dialog->GetOptions(&options);
  dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR |
                     FOS_PATHMUSTEXIST);
  dialog->SetTitle(wide(prompt.caption, kTextCodePage).c_str());
  dialog->SetOkButtonLabel(L"&OK");
  IFileDialogCustomize* customize = nullptr;
  if (SUCCEEDED(dialog->QueryInterface(IID_PPV_ARGS(&customize))) && customize) {
    customize->AddText(kPromptId, wide(prompt.text, kTextCodePage).c_str());
    customize->Release();
  }
  IShellItem* start = nullptr;
  std::wstring folder = wide(picker.model().folder(), CP_ACP);
  if (SUCCEEDED(SHCreateItemFromParsingName(folder.c_str(), nullptr, IID_PPV_ARGS(&start))) &&
      start) {
    dialog->SetFolder(start);
    start->Release();
  }
}

// The dialog's answer: the folder chosen with the dummy name, checked by the model.
std::optional<std::string> answer(Picker& picker, IFileOpenDialog* dialog, HRESULT shown) {
  FolderPickerModel& model = picker.model();
  if (picker.driven()) {
    const std::optional<std::string>& given = *picker.driven();
    if (!given) return std::nullopt;
    std::string why;
    std::optional<std::string> taken = model.choose(model.folderOfAnswer(*given), &why);
    if (!taken) {
      std::fprintf(stderr, "the folder picker refused the answered folder: %s\n", why.c_str());
      return std::nullopt;
    }
    return given;  // as written, as the scripted backend gives it
  }
  if (FAILED(shown)) return std::nullopt;
  return model.choose(resultPath(dialog));
}

}  // namespace

std::optional<std::string> runFolderPicker(Win32Interaction& backend, const FolderPrompt& prompt,
                                           HWND owner) {
  bool comStarted =
      SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
  std::optional<std::string> result;
  IFileOpenDialog* dialog = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_PPV_ARGS(&dialog))) &&
      dialog) {
    Picker picker(backend, prompt, dialog);
    arrange(dialog, picker);
    DWORD cookie = 0;
    bool advised = SUCCEEDED(dialog->Advise(&picker, &cookie));
    HRESULT shown = dialog->Show(owner);
    if (advised) dialog->Unadvise(cookie);
    result = answer(picker, dialog, shown);
    dialog->Release();
  }
  if (comStarted) CoUninitialize();
  return result;
}

}  // namespace vandrel::ui::win32
