// The gui backend on Windows: the port's dialogs as Win32 windows.
#include "ui/win32/win32_interaction.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstdio>
#include <vector>

#include "paint/bitmap_resources.h"
#include "paint/percent_bar.h"
#include "paint/win32/gdi_canvas.h"
#include "ui/answers.h"
#include "ui/console_interaction.h"
#include "ui/dialog_text.h"
#include "ui/gui_reach.h"
#include "ui/page_lines.h"
#include "ui/win32/dialog_ids.h"
#include "ui/win32/dialog_window.h"
#include "ui/win32/page_window.h"
#include "ui/win32/window_shots.h"

namespace vandrel::ui::win32 {

namespace {

namespace sw = ::vandrel::paint;

// One of the programs' own pictures or icons as a bitmap for a picture control; null when
// the program has none of that number.
HBITMAP ownBitmap(std::span<const std::uint8_t> bytes, bool icon) {
  sw::DibImage image;
  if (bytes.empty() || image.read(bytes.data(), bytes.size()) != 0) return nullptr;
  COLORREF face = GetSysColor(COLOR_3DFACE);  // an icon's colour 0 lets the dialog show through
  return sw::makeBitmap(image, icon ? &face : nullptr);
}

// Puts a bitmap into a picture control; the control's owner deletes it with the dialog.
void setPicture(HWND dialog, int id, HBITMAP bitmap) {
  if (!bitmap) return;
  HGDIOBJ old = reinterpret_cast<HGDIOBJ>(
      SendDlgItemMessageA(dialog, id, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
  if (old) DeleteObject(old);
}

void deletePicture(HWND dialog, int id) {
  HGDIOBJ bitmap = reinterpret_cast<HGDIOBJ>(SendDlgItemMessageA(dialog, id, STM_GETIMAGE, IMAGE_BITMAP, 0));
  if (bitmap) DeleteObject(bitmap);
}

void setText(HWND dialog, int id, const std::string& text) { SetDlgItemTextA(dialog, id, text.c_str()); }

void showControl(HWND dialog, int id, bool visible) {
  ShowWindow(GetDlgItem(dialog, id), visible ? SW_SHOW : SW_HIDE);
}

// ---- message boxes ----

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

// ---- the list choice ----

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

// ---- the setup's closing dialog ----

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

// ---- the folder picker ----

}  // namespace

// The name box is the edit or the combo box the dialog has.
void setFileName(HWND dialog, const std::string& path) {
  int box = GetDlgItem(dialog, 1148) ? 1148 : 1152;
  SendMessageA(dialog, CDM_SETCONTROLTEXT, box, reinterpret_cast<LPARAM>(path.c_str()));
}

namespace {

// The file-open dialog turned into a folder chooser: its caption, the prompt in the file-name
// label, the name, type and help controls hidden, OK reading "&OK", 30 pixels less high and
// centred.
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

// ---- the disk messages ----

class DiskMessageWindow : public DialogWindow {
 public:
  void show(const DiskMessage& message) {
    SetWindowTextA(window_, message.caption.c_str());
    setText(window_, IDC_DISK_TEXT, withCarriageReturns(message.text));
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    UpdateWindow(window_);
    HideCaret(GetDlgItem(window_, IDC_DISK_TEXT));
  }

 protected:
  // The bottom-right corner of the screen's work area, 20 pixels from its edges.
  void onInit() override {
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT frame{};
    GetWindowRect(window_, &frame);
    SetWindowPos(window_, nullptr, area.right - 20 - (frame.right - frame.left),
                 area.bottom - 20 - (frame.bottom - frame.top), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
};

// ---- the progress windows ----

// The copy-progress dialog (frame, "Copying" and the source, the middle line, "to" and the
// destination, the percentage bar, Cancel) or the uninstaller's window (picture, caption
// line, five disabled boxes, result line, bar, OK).
class ProgressDialog : public DialogWindow {
 public:
  explicit ProgressDialog(Program program) : removal_(program == Program::Uninstall) {}
  ~ProgressDialog() override {
    if (window_ && removal_) deletePicture(window_, IDC_REMOVAL_PICTURE);
  }

  bool open(HWND owner) { return createModeless(removal_ ? IDD_REMOVAL : IDD_COPY_PROGRESS, owner); }
  bool removal() const { return removal_; }

  void show(const Progress& model) {
    SetWindowTextA(window_, model.caption.c_str());
    auto line = [&model](std::size_t i) { return i < model.lines.size() ? model.lines[i] : std::string(); };
    if (removal_) {
      // The caption line keeps the dialog's own text until the model has one.
      if (!line(0).empty()) setText(window_, IDC_REMOVAL_CAPTION, line(0));
      setText(window_, IDC_REMOVAL_RESULT, line(1));
      const int boxes[] = {IDC_REMOVAL_BOX1, IDC_REMOVAL_BOX2, IDC_REMOVAL_BOX3, IDC_REMOVAL_BOX4, IDC_REMOVAL_BOX5};
      const int labels[] = {IDC_REMOVAL_LABEL1, IDC_REMOVAL_LABEL2, IDC_REMOVAL_LABEL3, IDC_REMOVAL_LABEL4,
                            IDC_REMOVAL_LABEL5};
      for (std::size_t i = 0; i < 5; ++i) {
        if (i < model.boxLabels.size()) setText(window_, labels[i], model.boxLabels[i]);
        bool ticked = i < model.boxes.size() && model.boxes[i];
        SendDlgItemMessageA(window_, boxes[i], BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      showControl(window_, IDC_REMOVAL_BAR, model.percent >= 0);
      if (model.percent >= 0) SendDlgItemMessageA(window_, IDC_REMOVAL_BAR, PBM_SETPOS, model.percent, 0);
    } else {
      auto [copying, source] = splitFirstWord(line(0));
      auto [to, destination] = splitFirstWord(line(2));
      setText(window_, IDC_COPY_LABEL, copying);
      setText(window_, IDC_COPY_SOURCE, source);
      setText(window_, IDC_COPY_MIDDLE, line(1));
      setText(window_, IDC_COPY_TO, to);
      setText(window_, IDC_COPY_DESTINATION, destination);
      showControl(window_, IDC_COPY_LABEL, !copying.empty());
      showControl(window_, IDC_COPY_TO, !to.empty());
      showControl(window_, IDC_COPY_BAR, model.percent >= 0);
      showControl(window_, IDCANCEL, model.cancellable);
      if (model.percent >= 0 && static_cast<long>(bar_.GetPos()) != model.percent) {
        bar_.SetPos(model.percent);
        InvalidateRect(GetDlgItem(window_, IDC_COPY_BAR), nullptr, FALSE);
      }
    }
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    UpdateWindow(window_);
    pumpMessages();
  }

  // Something to see: a line with text (the copying shows empty lines until its first file).
  bool showsText() const {
    for (int id : removal_ ? std::vector<int>{IDC_REMOVAL_CAPTION, IDC_REMOVAL_RESULT}
                           : std::vector<int>{IDC_COPY_SOURCE, IDC_COPY_MIDDLE, IDC_COPY_DESTINATION}) {
      if (!controlText(window_, id).empty()) return true;
    }
    return false;
  }

  bool takeCancel() {
    bool pressed = cancelled_;
    cancelled_ = false;
    return pressed;
  }

  // The uninstaller's end: OK is enabled and the window waits for it.
  void waitForOk(Win32Interaction& backend) {
    HWND ok = GetDlgItem(window_, IDOK);
    EnableWindow(ok, TRUE);
    SendMessageA(window_, DM_SETDEFID, IDOK, 0);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    backend.windowShown(window_, "progress-done", [this] { pressButton(window_, IDOK); });
    MSG msg;
    while (!okPressed_ && window_ && GetMessageA(&msg, nullptr, 0, 0) > 0) {
      if (!IsDialogMessageA(window_, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
  }

 protected:
  void onInit() override {
    if (removal_) {
      setPicture(window_, IDC_REMOVAL_PICTURE, ownBitmap(sw::bitmapResource(sw::bitmap_id::Picture), false));
      SendDlgItemMessageA(window_, IDC_REMOVAL_BAR, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
      SendDlgItemMessageA(window_, IDC_REMOVAL_BAR, PBM_SETPOS, 0, 0);
    } else {
      bar_ = sw::PercentBar(100, GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHTTEXT));
    }
  }
  bool onCommand(int id, int) override {
    if (id == IDCANCEL && !removal_) {
      cancelled_ = true;
      return true;
    }
    if (id == IDOK && removal_) {
      okPressed_ = true;
      return true;
    }
    return false;
  }
  INT_PTR onMessage(UINT message, WPARAM, LPARAM lParam, bool& handled) override {
    handled = false;
    if (message != WM_DRAWITEM) return 0;
    auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
    if (item->CtlID != IDC_COPY_BAR) return 0;
    const RECT& r = item->rcItem;
    sw::Size size{r.right - r.left, r.bottom - r.top};
    sw::GdiCanvas canvas(item->hDC, size, sw::Rect{0, 0, size.width, size.height});
    bar_.paint(canvas);
    handled = true;
    return TRUE;
  }

 private:
  bool removal_;
  sw::PercentBar bar_;
  bool cancelled_ = false;
  bool okPressed_ = false;
};

// ---- the backend ----

Win32Interaction::Win32Interaction(Program program, std::shared_ptr<ScriptedInteraction> autopilot)
    : program_(program), autopilot_(std::move(autopilot)) {
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
}

Win32Interaction::~Win32Interaction() = default;

void Win32Interaction::windowShown(HWND window, const std::string& name, const std::function<void()>& drive) {
  processShots().save(window, name);
  if (watcher_) watcher_(window, name);
  if (autopilot_ && drive && IsWindow(window)) drive();
}

Answer Win32Interaction::message(const Message& message) {
  if (message.buttons == Buttons::YesYesToAllNo) {
    ThreeButtonQuestion dialog(*this, message);
    return answerOfButton(dialog.runModal(IDD_THREE_BUTTONS, owner_)).value_or(Answer::No);
  }
  std::vector<Answer> buttons = buttonsOf(message.buttons);
  Answer preset = defaultAnswer(message);
  UINT flags = buttonFlags(message.buttons) | iconFlags(message.icon);
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    if (buttons[i] == preset) flags |= i == 1 ? MB_DEFBUTTON2 : i == 2 ? MB_DEFBUTTON3 : MB_DEFBUTTON1;
  }
  if (!owner_) flags |= MB_TASKMODAL;
  int answer = watchedMessageBox(owner_, message, flags, [this, &message](HWND box) {
    windowShown(box, isQuestion(message) ? "question" : "message", [this, box, &message] {
      PostMessageA(box, WM_COMMAND, buttonId(autopilot_->message(message)), 0);
    });
  });
  std::optional<Answer> chosen = answerOfButton(answer);
  if (chosen && hasButton(message, *chosen)) return *chosen;
  // Closed without a button: Cancel where there is one, else the default.
  return hasButton(message, Answer::Cancel) ? Answer::Cancel : preset;
}

PageResult Win32Interaction::page(const Page& page) {
  return runPageWindow(*this, page, owner_);
}

std::optional<std::string> Win32Interaction::folder(const FolderPrompt& prompt) {
  FolderPicker picker{*this, prompt};
  char file[MAX_PATH] = {};
  std::snprintf(file, sizeof file, "%s", prompt.dummyName.c_str());
  static const char kFilter[] = "(*.dum)\0*.dum\0";
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner_;
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

std::optional<int> Win32Interaction::choose(const Choice& choice) {
  if (choice.items.empty()) return std::nullopt;
  ChoiceDialog dialog(*this, choice);
  if (dialog.runModal(IDD_CHOICE, owner_) != IDOK) return std::nullopt;
  return dialog.chosen();
}

void Win32Interaction::diskMessage(const DiskMessage& message) {
  if (!diskMessage_) {
    diskMessage_ = std::make_unique<DiskMessageWindow>();
    if (!diskMessage_->createModeless(IDD_DISK_MESSAGE, owner_)) {
      diskMessage_.reset();
      return;
    }
  }
  diskMessage_->show(message);
  pumpMessages();
  windowShown(diskMessage_->handle(), "disk-message", nullptr);
}

void Win32Interaction::closing(const Closing& closing) {
  if (progress_ && progress_->removal()) {
    // The uninstaller's window itself ends the removal: its result line is shown, OK waits.
    progress_->waitForOk(*this);
    return;
  }
  ClosingDialog dialog(*this, closing);
  dialog.runModal(IDD_CLOSING, owner_);
}

void Win32Interaction::beep() { MessageBeep(MB_OK); }

void Win32Interaction::progress(const Progress& progress) {
  if (!progress_) {
    progress_ = std::make_unique<ProgressDialog>(program_);
    if (!progress_->open(owner_)) {
      std::fprintf(stderr, "%s: the progress window cannot be made.\n", commandName(program_));
      progress_.reset();
      return;
    }
    progressSaved_ = false;
  }
  progress_->show(progress);
  // Saved once, as soon as it shows some text.
  if (!progressSaved_ && progress_->showsText()) {
    progressSaved_ = true;
    windowShown(progress_->handle(), program_ == Program::Uninstall ? "progress" : "copy-progress", nullptr);
  }
  if (autopilot_) {
    autopilot_->progress(progress);
    if (autopilot_->cancelPressed() && !progress_->removal()) pressButton(progress_->handle(), IDCANCEL);
  }
}

bool Win32Interaction::cancelPressed() {
  if (!progress_) return false;
  pumpMessages();
  return progress_->takeCancel();
}

void Win32Interaction::endProgress() {
  progress_.reset();
  diskMessage_.reset();
  pumpMessages();
}

HWND Win32Interaction::progressWindow() const { return progress_ ? progress_->handle() : nullptr; }

// ---- registration ----

namespace {

bool gActive = false;
Win32Interaction* gBackend = nullptr;

std::shared_ptr<ScriptedInteraction> autopilotFor(Program program, const std::string& path) {
  if (path.empty()) return nullptr;
  std::string error;
  std::optional<Answers> answers = Answers::fromFile(path, &error);
  if (!answers) {
    std::fprintf(stderr, "%s: %s; every question takes its default answer.\n", commandName(program), error.c_str());
    answers = Answers();
  }
  return std::make_shared<ScriptedInteraction>(std::move(*answers), stderr, commandName(program));
}

}  // namespace

void registerWin32Backend() {
  registerGuiBackend(
      [](Program program, const InteractionSettings& settings) -> std::unique_ptr<Interaction> {
        processShots() = WindowShots(settings.screenshotFolder, program);
        auto gui = std::make_unique<Win32Interaction>(program, autopilotFor(program, settings.answersFile));
        gActive = true;
        gBackend = gui.get();
        return gui;
      },
      GuiReach::Always);
}

bool guiActive() { return gActive; }

Win32Interaction* activeBackend() { return gBackend; }

}  // namespace vandrel::ui::win32
