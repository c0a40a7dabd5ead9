// The setup's closing dialog as a Win32 dialog.
#include "ui/win32/closing_dialog.h"

#include <string>

#include "paint/bitmap_resources.h"
#include "ui/win32/dialog_ids.h"
#include "ui/win32/dialog_window.h"
#include "ui/win32/win32_interaction.h"

namespace vandrel::ui::win32 {

namespace {

namespace sw = ::vandrel::paint;

class ClosingDialog : public DialogWindow {
 public:
  ClosingDialog(Win32Interaction& backend, const Closing& closing) : backend_(backend), closing_(closing) {}

 protected:
  void onInit() override {
    SetWindowTextA(window_, closing_.caption.c_str());
    setPicture(window_, IDC_CLOSING_ICON, ownBitmap(sw::iconResource(sw::icon_id::Setup), true));
    bool twoTexts = !closing_.upper.empty() || !closing_.lower.empty();
    setText(window_, IDC_CLOSING_UPPER, twoTexts ? closing_.upper : closing_.text);
    setText(window_, IDC_CLOSING_LOWER, twoTexts ? closing_.lower : std::string());
  }
  bool onCommand(int id, int) override {
    if (id != IDOK && id != IDCANCEL) return false;
    deletePicture(window_, IDC_CLOSING_ICON);
    end(IDOK);
    return true;
  }
  void onShown() override {
    backend_.windowShown(window_, "closing", [this] { pressButton(window_, IDOK); });
  }

 private:
  Win32Interaction& backend_;
  const Closing& closing_;
};

}  // namespace

void runClosingDialog(Win32Interaction& backend, const Closing& closing, HWND owner) {
  ClosingDialog dialog(backend, closing);
  dialog.runModal(IDD_CLOSING, owner);
}

}  // namespace vandrel::ui::win32
