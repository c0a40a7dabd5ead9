// The Win32 builder's run: what it holds for its whole run (the machine, the port, the
// preferences, the frame's stored state, the recent files, the progress service), read from
// the current user's registry at start-up and written back at exit when "Save the
// configuration on exit" is on; and the port of its windows, which shows progress in the
// frame's status bar while that bar is visible (Escape in a tree cancels it).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "builder/generate/builder_context.h"
#include "builder/generate/progress_service.h"
#include "builder/model/builder_preferences.h"
#include "builder/prefs/window_state.h"
#include "builder/win32/builder_dialogs.h"
#include "platform/machine.h"
#include "ui/interaction.h"
#include "ui/scripted_interaction.h"

namespace vandrel::builder::win32 {

class MainFrame;

struct FrameCore {
  FrameCore(platform::Machine& machine, ui::Interaction& ui);

  platform::Machine& machine;
  ui::Interaction& ui;
  BuilderPreferences preferences;
  prefs::WindowState window;
  // The four most recently used files, newest first (host paths).
  std::vector<std::string> recentFiles;
  ProgressService progress;
  // Windows are driven by the answers file: no file chooser, splash or waiting.
  bool unattended = false;
  // Escape in a tree, told to the port (the status bar's progress has no Cancel button).
  std::function<void()> escape;
  // The index of the preferences page shown last.
  int preferencesPage = 0;
  // The answers that drive the windows, when the port wraps the gui backend's (null when the
  // port is that backend itself, or a person is at the keyboard).
  ui::ScriptedInteraction* autopilot = nullptr;

  // The context a document's long commands run in.
  BuilderContext context();
  // The context of the dialogs over a window: their port, files and answers.
  DialogContext dialogs(HWND parent);
  // The port's own windows (messages, questions, the folder picker) stand over frame: modal to
  // it, which is active again when they close. Null once the frame is gone.
  void standOver(HWND frame);
};

// Everything goes to the port it wraps, except progress while the frame's status bar is
// visible, which is shown there.
class FrameInteraction : public ui::Interaction {
 public:
  explicit FrameInteraction(std::unique_ptr<ui::Interaction> inner) : inner_(std::move(inner)) {}
  void setFrame(MainFrame* frame) { frame_ = frame; }
  ui::Interaction& inner() { return *inner_; }
  // Escape pressed: the next poll of the status bar's progress reports Cancel.
  void escape() { escaped_ = true; }

  ui::Answer message(const ui::Message& m) override { return inner_->message(m); }
  ui::PageResult page(const ui::Page& p) override { return inner_->page(p); }
  std::optional<std::string> folder(const ui::FolderPrompt& p) override { return inner_->folder(p); }
  std::optional<int> choose(const ui::Choice& c) override { return inner_->choose(c); }
  void diskMessage(const ui::DiskMessage& m) override { inner_->diskMessage(m); }
  void closing(const ui::Closing& c) override { inner_->closing(c); }
  void beep() override { inner_->beep(); }
  void progress(const ui::Progress& progress) override;
  bool cancelPressed() override;
  void endProgress() override;

 private:
  std::unique_ptr<ui::Interaction> inner_;
  MainFrame* frame_ = nullptr;
  bool inStatusBar_ = false;
  bool escaped_ = false;
};

class BuilderRun {
 public:
  BuilderRun(platform::Machine& machine, std::unique_ptr<ui::Interaction> port, bool unattended);
  ~BuilderRun();

  // Start-up: preferences (LoadOnOpen), recent files and the frame's state from the registry,
  // the frame shown as stored, the documents named opened. False when a named document could
  // not be opened (or the frame not made).
  bool start(const std::vector<std::string>& documents);
  // The splash and the tip of the day that may follow it, as an interactive start shows them.
  void greet();
  // Exit: preferences, recent files and the frame's state written when SaveOnExit is on.
  void exit();

  FrameCore& core() { return *core_; }
  MainFrame& frame() { return *frame_; }
  FrameInteraction& port() { return *port_; }

 private:
  std::unique_ptr<FrameInteraction> port_;
  std::unique_ptr<FrameCore> core_;
  std::unique_ptr<MainFrame> frame_;
};

// Lets the windows' pending messages through until none is left.
void pumpAll();

}  // namespace vandrel::builder::win32
