// The gui backend of the interaction port on Windows: message boxes, the folder picker, the
// list choice, the disk-message window, the progress windows of the setup and the uninstaller
// and the setup's closing dialog, made from the programs' dialog templates. The windows show
// the models the logic builds and give back what the user chose; nothing is decided here.
//
// With an answers file the run is unattended: each window is shown and then driven by
// messages to its own controls (texts put in, boxes checked, the button pressed) with the
// answers the scripted backend would give, so a run with windows records the same transcript
// as a scripted one.
//
// Each window is a file of its own; the registration and the backend made are in gui_services.h.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ui/interaction.h"
#include "ui/scripted_interaction.h"

namespace vandrel::platform {
class FileSystem;
}

namespace vandrel::ui::win32 {

class ProgressDialog;
class DiskMessageWindow;
class WizardFrame;

// Told about each window once it is up, after its picture is saved and before the answers
// drive it: its handle and its name ("message", "question", "folder", "choice", "page-first",
// "closing", ...). Tests look at the controls and press buttons by message.
using WindowWatcher = std::function<void(HWND window, const std::string& name)>;

class Win32Interaction : public Interaction {
 public:
  // autopilot: when given, every window is driven by its answers.
  Win32Interaction(Program program, std::shared_ptr<ScriptedInteraction> autopilot);
  ~Win32Interaction() override;

  void setWatcher(WindowWatcher watcher) { watcher_ = std::move(watcher); }
  // The window the modal windows stand over (the install window); none by default.
  void setOwner(HWND owner) { owner_ = owner; }
  // The machine whose folders the folder picker's answers are checked against; none by
  // default (answers are then taken as given).
  void setFileSystem(platform::FileSystem* files) { files_ = files; }
  platform::FileSystem* fileSystem() const { return files_; }

  Answer message(const Message& message) override;
  PageResult page(const Page& page) override;
  std::optional<std::string> folder(const FolderPrompt& prompt) override;
  std::optional<int> choose(const Choice& choice) override;
  void diskMessage(const DiskMessage& message) override;
  void closing(const Closing& closing) override;
  void beep() override;

  void progress(const Progress& progress) override;
  bool cancelPressed() override;
  void endProgress() override;

  // The progress window shown, for tests; null when none.
  HWND progressWindow() const;
  // The wizard's frame while the wizard is up (from its first page until a window of the
  // copy or the end takes over); null otherwise.
  HWND wizardWindow() const;

  // A window is up: its picture is saved, the watcher told, then drive runs when answers
  // drive the windows.
  void windowShown(HWND window, const std::string& name, const std::function<void()>& drive);
  ScriptedInteraction* autopilot() const { return autopilot_.get(); }

 private:
  // The window the questions and pickers stand over: the wizard's frame while it is up.
  HWND ownerNow() const;
  void closeWizard();

  Program program_;
  std::shared_ptr<ScriptedInteraction> autopilot_;
  WindowWatcher watcher_;
  HWND owner_ = nullptr;
  platform::FileSystem* files_ = nullptr;
  std::unique_ptr<ProgressDialog> progress_;
  std::unique_ptr<DiskMessageWindow> diskMessage_;
  std::unique_ptr<WizardFrame> wizard_;
  bool progressSaved_ = false;
};

}  // namespace vandrel::ui::win32
