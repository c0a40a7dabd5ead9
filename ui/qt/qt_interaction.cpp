// The gui backend: the port's calls handed to the Qt dialogs, each driven by the answers
// when there are any.
#include "ui/qt/qt_interaction.h"

#include <QApplication>
#include <QPushButton>
#include <QWidget>

#include <cstdio>
#include <functional>

#include "ui/qt/choice_dialog.h"
#include "ui/qt/closing_dialog.h"
#include "ui/qt/dialog_kit.h"
#include "ui/qt/disk_message_window.h"
#include "ui/qt/gui_services.h"
#include "ui/qt/message_box.h"
#include "ui/qt/page_pane.h"
#include "ui/qt/progress_window.h"
#include "ui/qt/wizard_frame.h"

namespace vandrel::ui::qt {

QtInteraction::QtInteraction(Program program, std::shared_ptr<ScriptedInteraction> autopilot)
    : program_(program), autopilot_(std::move(autopilot)) {}

QtInteraction::~QtInteraction() = default;

QWidget* QtInteraction::wizardWindow() const { return wizard_.get(); }

// The wizard's frame goes when a window that is no part of the wizard's flow comes up.
void QtInteraction::closeWizard() {
  if (!wizard_) return;
  wizard_.reset();
  QApplication::processEvents();
}

Answer QtInteraction::message(const Message& message) {
  return runMessageBox(message, autopilot_.get(), wizardWindow());
}

PageResult QtInteraction::page(const Page& page) {
  if (!wizard_) wizard_ = std::make_unique<WizardFrame>();
  std::function<void(PagePane&)> drive;
  if (autopilot_) {
    PageResult wanted = autopilot_->page(page);
    drive = [wanted](PagePane& pane) { pane.drive(wanted); };
  }
  return wizard_->run(page, drive);
}

std::optional<std::string> QtInteraction::folder(const FolderPrompt& prompt) {
  FolderDialog dialog(prompt, files_);
  // The destination's Change opens the picker over the wizard.
  if (wizard_) dialog.setParent(wizard_.get(), dialog.windowFlags());
  std::function<void()> drive;
  if (autopilot_) {
    std::optional<std::string> wanted = autopilot_->folder(prompt);
    drive = [&dialog, wanted] { dialog.drive(wanted); };
  }
  if (runModal(dialog, "folder", drive) != QDialog::Accepted || dialog.chosen().empty()) {
    // An unattended run says why the picker did not take its answer.
    if (autopilot_ && !dialog.refusal().isEmpty()) {
      std::fprintf(stderr, "%s: the folder picker refused the answered folder: %s\n", commandName(program_),
                   toCodePage(dialog.refusal()).c_str());
    }
    return std::nullopt;
  }
  return dialog.chosen();
}

std::optional<int> QtInteraction::choose(const Choice& choice) {
  if (choice.items.empty()) return std::nullopt;
  return runChoiceDialog(choice, autopilot_.get());
}

void QtInteraction::diskMessage(const DiskMessage& message) {
  closeWizard();
  diskMessage_ = showDiskMessageWindow(message);
}

void QtInteraction::closing(const Closing& closing) {
  closeWizard();
  if (progress_ && progress_->okButton()) {
    // The uninstaller's window itself ends the removal: its result line is shown, OK waits.
    progress_->waitForOk(autopilot_ != nullptr);
    return;
  }
  runClosingDialog(closing, autopilot_ != nullptr);
}

void QtInteraction::beep() { QApplication::beep(); }

void QtInteraction::progress(const Progress& progress) {
  closeWizard();
  if (!progress_) {
    progress_ = std::make_unique<ProgressWindow>(program_, progress);
    progressSaved_ = false;
  } else {
    progress_->show(progress);
  }
  // Saved once, as soon as it shows some text.
  if (!progressSaved_ && progress_->showsText()) {
    processScreenshots().save(*progress_, program_ == Program::Uninstall ? "progress" : "copy-progress");
    progressSaved_ = true;
  }
  if (autopilot_) {
    autopilot_->progress(progress);
    if (autopilot_->cancelPressed() && progress_->cancelButton()) progress_->cancelButton()->click();
  }
}

bool QtInteraction::cancelPressed() {
  if (!progress_) return false;
  QApplication::processEvents();
  return progress_->takeCancel();
}

void QtInteraction::endProgress() {
  closeWizard();
  progress_.reset();
  diskMessage_.reset();
  QApplication::processEvents();
}

}  // namespace vandrel::ui::qt
