// The message box and the three-button question as Win32 windows.
#include "ui/win32/message_box.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "paint/bitmap_resources.h"
#include "ui/dialog_text.h"
#include "ui/win32/dialog_ids.h"
#include "ui/win32/dialog_window.h"
#include "ui/win32/win32_interaction.h"

namespace vandrel::ui::win32 {

namespace {

namespace sw = ::vandrel::paint;

UINT buttonFlags(Buttons buttons) {
  switch (buttons) {
    case Buttons::OK: return MB_OK;
    case Buttons::YesNo: return MB_YESNO;
    case Buttons::YesNoCancel: return MB_YESNOCANCEL;
    case Buttons::OKCancel: return MB_OKCANCEL;
    case Buttons::YesYesToAllNo: return MB_YESNO;  // shown by a dialog of its own
  }
  return MB_OK;
}

UINT iconFlags(Icon icon) {
  switch (icon) {
    case Icon::None: return 0;
    case Icon::Question: return MB_ICONQUESTION;
    case Icon::Stop: return MB_ICONSTOP;
    case Icon::Exclamation: return MB_ICONEXCLAMATION;
    case Icon::Information: return MB_ICONINFORMATION;
  }
  return 0;
}

int buttonId(Answer answer) {
  switch (answer) {
    case Answer::OK: return IDOK;
    case Answer::Cancel: return IDCANCEL;
    case Answer::Yes: return IDYES;
    case Answer::No: return IDNO;
    case Answer::YesToAll: return IDC_YES_TO_ALL;
  }
  return IDOK;
}

std::optional<Answer> answerOfButton(INT_PTR id) {
  switch (id) {
    case IDOK: return Answer::OK;
    case IDCANCEL: return Answer::Cancel;
    case IDYES: return Answer::Yes;
    case IDNO: return Answer::No;
    case IDC_YES_TO_ALL: return Answer::YesToAll;
    default: return std::nullopt;
  }
}

std::string boxText(const Message& message) {
  return message.detail.empty() ? message.text : message.text + "\n\n" + message.detail;
}

// A system message box is not made from our templates: a hook notes it when it is
// activated, and a timer that fires inside its modal loop reports it as shown.
struct BoxWatch {
  HWND box = nullptr;
  std::function<void(HWND)> shown;
};
BoxWatch* gBoxWatch = nullptr;

LRESULT CALLBACK boxHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && gBoxWatch && !gBoxWatch->box) gBoxWatch->box = reinterpret_cast<HWND>(wParam);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK boxTimer(HWND, UINT, UINT_PTR timer, DWORD) {
  if (!gBoxWatch || !gBoxWatch->box) return;
  KillTimer(nullptr, timer);
  HWND box = gBoxWatch->box;
  auto shown = std::move(gBoxWatch->shown);
  gBoxWatch->shown = nullptr;
  if (shown) shown(box);
}

int watchedMessageBox(HWND owner, const Message& message, UINT flags, const std::function<void(HWND)>& shown) {
  BoxWatch watch{nullptr, shown};
  BoxWatch* outer = gBoxWatch;
  gBoxWatch = &watch;
  HHOOK hook = SetWindowsHookExA(WH_CBT, boxHook, nullptr, GetCurrentThreadId());
  UINT_PTR timer = SetTimer(nullptr, 0, 10, boxTimer);
  int answer = MessageBoxA(owner, boxText(message).c_str(), message.caption.c_str(), flags);
  if (watch.shown) KillTimer(nullptr, timer);
  if (hook) UnhookWindowsHookEx(hook);
  gBoxWatch = outer;
  return answer;
}

// The uninstaller's shared-file question: Yes, Yes to all and No under the text.
class ThreeButtonQuestion : public DialogWindow {
 public:
  ThreeButtonQuestion(Win32Interaction& backend, const Message& message) : backend_(backend), message_(message) {}

 protected:
  void onInit() override {
    SetWindowTextA(window_, message_.caption.c_str());
    setText(window_, IDC_THREE_TEXT, boxText(message_));
    setPicture(window_, IDC_THREE_ICON, ownBitmap(sw::iconResource(sw::icon_id::RemovalQuestion), true));
  }
  bool onCommand(int id, int) override {
    // Escape and the close box answer No.
    if (id == IDCANCEL) id = IDNO;
    if (id != IDYES && id != IDNO && id != IDC_YES_TO_ALL) return false;
    deletePicture(window_, IDC_THREE_ICON);
    end(id);
    return true;
  }
  void onShown() override {
    backend_.windowShown(window_, "question", [this] {
      pressButton(window_, buttonId(backend_.autopilot()->message(message_)));
    });
  }

 private:
  Win32Interaction& backend_;
  const Message& message_;
};

}  // namespace

Answer runMessageBox(Win32Interaction& backend, const Message& message, HWND owner) {
  if (message.buttons == Buttons::YesYesToAllNo) {
    ThreeButtonQuestion dialog(backend, message);
    return answerOfButton(dialog.runModal(IDD_THREE_BUTTONS, owner)).value_or(Answer::No);
  }
  std::vector<Answer> buttons = buttonsOf(message.buttons);
  Answer preset = defaultAnswer(message);
  UINT flags = buttonFlags(message.buttons) | iconFlags(message.icon);
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    if (buttons[i] == preset) flags |= i == 1 ? MB_DEFBUTTON2 : i == 2 ? MB_DEFBUTTON3 : MB_DEFBUTTON1;
  }
  if (!owner) flags |= MB_TASKMODAL;
  int answer = watchedMessageBox(owner, message, flags, [&backend, &message](HWND box) {
    backend.windowShown(box, isQuestion(message) ? "question" : "message", [&backend, box, &message] {
      PostMessageA(box, WM_COMMAND, buttonId(backend.autopilot()->message(message)), 0);
    });
  });
  std::optional<Answer> chosen = answerOfButton(answer);
  if (chosen && hasButton(message, *chosen)) return *chosen;
  // Closed without a button: Cancel where there is one, else the default.
  return hasButton(message, Answer::Cancel) ? Answer::Cancel : preset;
}

}  // namespace vandrel::ui::win32
