// The list choice as a Win32 dialog.
#include "ui/win32/choice_dialog.h"

#include <string>

#include "ui/win32/dialog_ids.h"
#include "ui/win32/dialog_window.h"
#include "ui/win32/win32_interaction.h"

namespace vandrel::ui::win32 {

namespace {

class ChoiceDialog : public DialogWindow {
 public:
  ChoiceDialog(Win32Interaction& backend, const Choice& choice) : backend_(backend), choice_(choice) {}
  std::optional<int> chosen() const { return chosen_; }

 protected:
  void onInit() override {
    SetWindowTextA(window_, choice_.caption.c_str());
    setText(window_, IDC_CHOICE_TEXT, choice_.text);
    for (const std::string& item : choice_.items) {
      SendDlgItemMessageA(window_, IDC_CHOICE_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    int count = static_cast<int>(choice_.items.size());
    int initial = choice_.initial >= 0 && choice_.initial < count ? choice_.initial : 0;
    SendDlgItemMessageA(window_, IDC_CHOICE_LIST, LB_SETCURSEL, static_cast<WPARAM>(initial), 0);
  }
  bool onCommand(int id, int code) override {
    if (id == IDC_CHOICE_LIST && code == LBN_DBLCLK) id = IDOK;
    if (id == IDOK) {
      LRESULT row = SendDlgItemMessageA(window_, IDC_CHOICE_LIST, LB_GETCURSEL, 0, 0);
      if (row >= 0 && row < static_cast<LRESULT>(choice_.items.size())) chosen_ = static_cast<int>(row);
      end(IDOK);
      return true;
    }
    if (id == IDCANCEL) {
      end(IDCANCEL);
      return true;
    }
    return false;
  }
  void onShown() override {
    backend_.windowShown(window_, "choice", [this] {
      std::optional<int> wanted = backend_.autopilot()->choose(choice_);
      if (!wanted) return pressButton(window_, IDCANCEL);
      SendDlgItemMessageA(window_, IDC_CHOICE_LIST, LB_SETCURSEL, static_cast<WPARAM>(*wanted), 0);
      pressButton(window_, IDOK);
    });
  }

 private:
  Win32Interaction& backend_;
  const Choice& choice_;
  std::optional<int> chosen_;
};

}  // namespace

std::optional<int> runChoiceDialog(Win32Interaction& backend, const Choice& choice, HWND owner) {
  ChoiceDialog dialog(backend, choice);
  if (dialog.runModal(IDD_CHOICE, owner) != IDOK) return std::nullopt;
  return dialog.chosen();
}

}  // namespace vandrel::ui::win32
