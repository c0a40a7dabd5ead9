// The drop import's "Directory Selector" and file page as windows.
#include "builder/strings/builder_strings.h"
#include "builder/win32/builder_dialogs.h"
#include "builder/win32/entry_page_dialogs.h"
#include "builder/win32/sheet_dialog.h"
#include "builder/win32/sheet_ids.h"
#include "ui/win32/dialog_window.h"
#include "ui/win32/win32_interaction.h"
#include "ui/win32/window_shots.h"

namespace vandrel::builder::win32 {

namespace {

// Answers that leave the selector without a choice while it cannot be cancelled are asked
// this many times, as over the console, before the selector gives up.
constexpr int kMaxAttempts = 3;
// Posted to ask the answers again after a refused OK.
constexpr UINT kDriveAgain = WM_APP + 21;

class SelectorWindow : public ui::win32::DialogWindow {
 public:
  SelectorWindow(const DialogContext& context, dropimport::DirectorySelector& selector)
      : context_(context), selector_(selector) {}

  bool run() { return runModal(IDD_DIRECTORY_SELECTOR, context_.parent) == IDOK; }

 protected:
  void onInit() override {
    ui::win32::setText(window_, IDC_SELECTOR_TEXT, selector_.text());
    enableControl(window_, IDCANCEL, selector_.cancelEnabled());
    enableControl(window_, IDC_SELECTOR_ADD, bool(selector_.addDirectoryCommand));
    setChecked(window_, IDC_SELECTOR_KEEP, selector_.keep);
    fill();
  }

  void onShown() override {
    // Brought to the top.
    SetForegroundWindow(window_);
    SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (auto* port = dynamic_cast<ui::win32::Win32Interaction*>(context_.ui)) {
      port->windowShown(window_, "directory-selector", nullptr);
    } else {
      ui::win32::processShots().save(window_, "directory-selector");
    }
    if (context_.autopilot) drive();
  }

  bool onCommand(int id, int code) override {
    if (id == IDOK || (id == IDC_SELECTOR_LIST && code == LBN_DBLCLK)) {
      accept();
      return true;
    }
    if (id == IDCANCEL) {
      // Escape and the close box count as Cancel only where Cancel is enabled.
      if (IsWindowEnabled(GetDlgItem(window_, IDCANCEL)) || gaveUp_) end(IDCANCEL);
      return true;
    }
    if (id == IDC_SELECTOR_ADD && code == BN_CLICKED) {
      if (selector_.addDirectory()) fill();
      return true;
    }
    return false;
  }

  INT_PTR onMessage(UINT message, WPARAM, LPARAM, bool& handled) override {
    handled = message == kDriveAgain;
    if (handled) drive();
    return 0;
  }

 private:
  void fill() { fillList(window_, IDC_SELECTOR_LIST, selector_.items(), selector_.selected); }

  void accept() {
    selector_.selected = listSelection(window_, IDC_SELECTOR_LIST);
    selector_.keep = isChecked(window_, IDC_SELECTOR_KEEP);
    if (!selector_.choice()) {
      if (context_.ui) {
        context_.ui->beep();
      } else {
        MessageBeep(MB_OK);
      }
      if (context_.autopilot) PostMessageA(window_, kDriveAgain, 0, 0);
      return;
    }
    end(IDOK);
  }

  void drive() {
    if (!window_ || !IsWindowVisible(window_)) return;
    if (++attempts_ > kMaxAttempts) {
      gaveUp_ = true;
      return end(IDCANCEL);
    }
    ui::Choice choice;
    choice.caption = "Directory Selector";
    choice.text = selector_.text();
    choice.items = selector_.items();
    choice.initial = selector_.selected < 0 ? 0 : selector_.selected;
    std::optional<int> answer = context_.autopilot->choose(choice);
    if (!answer && IsWindowEnabled(GetDlgItem(window_, IDCANCEL)))
      return ui::win32::pressButton(window_, IDCANCEL);
    int count = int(selector_.items().size());
    setListSelection(window_, IDC_SELECTOR_LIST,
                     answer && *answer >= 0 && *answer < count ? *answer : -1);
    ui::win32::pressButton(window_, IDOK);
  }

  DialogContext context_;
  dropimport::DirectorySelector& selector_;
  int attempts_ = 0;
  bool gaveUp_ = false;
};

class Win32DropDialogs : public dropimport::DropDialogs {
 public:
  explicit Win32DropDialogs(DialogContext context) : context_(std::move(context)) {}

  bool selectDirectory(dropimport::DirectorySelector& selector) override {
    SelectorWindow window(context_, selector);
    return window.run();
  }

  bool editFile(pages::CAddFileDlg& page) override {
    return showFilePage(context_, page, str(sid::PropertiesCaption),
                        "file:" + page.sourcePath + "\\" + page.sourceName);
  }

 private:
  DialogContext context_;
};

}  // namespace

std::unique_ptr<dropimport::DropDialogs> makeDropDialogs(const DialogContext& context) {
  return std::make_unique<Win32DropDialogs>(context);
}

}  // namespace vandrel::builder::win32
