// The gui backend on Windows: the port's calls handed to the Win32 windows, each saved and
// told to the watcher when it is up and driven by the answers when there are any.
#include "ui/win32/win32_interaction.h"

#include <commctrl.h>

#include <cstdio>

#include "ui/win32/choice_dialog.h"
#include "ui/win32/closing_dialog.h"
#include "ui/win32/dialog_ids.h"
#include "ui/win32/dialog_window.h"
#include "ui/win32/disk_message_window.h"
#include "ui/win32/folder_picker.h"
#include "ui/win32/message_box.h"
#include "ui/win32/page_window.h"
#include "ui/win32/progress_dialog.h"
#include "ui/win32/window_shots.h"

namespace vandrel::ui::win32 {

Win32Interaction::Win32Interaction(Program program, std::shared_ptr<ScriptedInteraction> autopilot)
    : program_(program), autopilot_(std::move(autopilot)) {
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
}

Win32Interaction::~Win32Interaction() { closeWizard(); }

void Win32Interaction::windowShown(HWND window, const std::string& name, const std::function<void()>& drive) {
  processShots().save(window, name);
  if (watcher_) watcher_(window, name);
  if (autopilot_ && drive && IsWindow(window)) drive();
}

HWND Win32Interaction::wizardWindow() const { return wizard_ ? wizard_->handle() : nullptr; }

HWND Win32Interaction::ownerNow() const {
  HWND wizard = wizardWindow();
  return wizard ? wizard : owner_;
}

// The wizard's frame goes when a window that is no part of the wizard's flow comes up.
void Win32Interaction::closeWizard() {
  if (!wizard_) return;
  wizard_.reset();
  pumpMessages();
}

Answer Win32Interaction::message(const Message& message) { return runMessageBox(*this, message, ownerNow()); }

PageResult Win32Interaction::page(const Page& page) {
  if (!wizard_) wizard_ = std::make_unique<WizardFrame>(*this);
  return wizard_->run(page, owner_);
}

std::optional<std::string> Win32Interaction::folder(const FolderPrompt& prompt) {
  return runFolderPicker(*this, prompt, ownerNow());
}

std::optional<int> Win32Interaction::choose(const Choice& choice) {
  if (choice.items.empty()) return std::nullopt;
  return runChoiceDialog(*this, choice, ownerNow());
}

void Win32Interaction::diskMessage(const DiskMessage& message) {
  closeWizard();
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
  closeWizard();
  if (progress_ && progress_->removal()) {
    // The uninstaller's window itself ends the removal: its result line is shown, OK waits.
    progress_->waitForOk(*this);
    return;
  }
  runClosingDialog(*this, closing, owner_);
}

void Win32Interaction::beep() { MessageBeep(MB_OK); }

void Win32Interaction::progress(const Progress& progress) {
  closeWizard();
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
  closeWizard();
  progress_.reset();
  diskMessage_.reset();
  pumpMessages();
}

HWND Win32Interaction::progressWindow() const { return progress_ ? progress_->handle() : nullptr; }

}  // namespace vandrel::ui::win32
