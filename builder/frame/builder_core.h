// What the graphical builder holds for its whole run, whichever toolkit shows it: the machine,
// the interaction port, the preferences, the main window's stored state, the recent files and
// the progress service; and the port its windows talk through, which shows a long command's
// progress in the frame's status bar while that bar is visible.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "builder/frame/frame_commands.h"
#include "builder/generate/builder_context.h"
#include "builder/generate/progress_service.h"
#include "builder/model/builder_preferences.h"
#include "builder/prefs/window_state.h"
#include "platform/machine.h"
#include "ui/interaction.h"

namespace vandrel::builder::frame {

struct BuilderCore {
  BuilderCore(platform::Machine& machine, ui::Interaction& ui);

  platform::Machine& machine;
  ui::Interaction& ui;
  BuilderPreferences preferences;
  prefs::WindowState window;
  // The four most recently used files, newest first (host paths).
  std::vector<std::string> recentFiles;
  ProgressService progress;
  // Windows are driven by the answers file, the builder's own ones as its dialogs are; no
  // file chooser, splash or waiting.
  bool unattended = false;
  // Escape in a tree, told to the port (the status bar's progress has no Cancel button).
  std::function<void()> escape;
  // The index of the preferences page shown last.
  int preferencesPage = 0;

  // The context a document's long commands run in.
  BuilderContext context();
  // A file opened or saved goes first in the recent files.
  void noteRecentFile(const std::string& hostPath);
};

// The frame's status bar as the port uses it for progress.
class StatusBar {
 public:
  virtual ~StatusBar() = default;
  virtual bool statusProgressShown() const = 0;
  // Shows the text and the percentage in the bar; false when the bar is hidden.
  virtual bool showStatusProgress(const std::string& text, int percent) = 0;
  virtual void endStatusProgress() = 0;
  // Lets the windows' pending events through (Escape reaches the tree that way).
  virtual void letEventsThrough() = 0;
};

// Everything goes to the port it wraps, except progress while the frame's status bar is
// visible, which is shown there; Escape then cancels it (the bar has no Cancel button).
class StatusBarPort : public ui::Interaction {
 public:
  explicit StatusBarPort(std::unique_ptr<ui::Interaction> inner) : inner_(std::move(inner)) {}
  void setFrame(StatusBar* frame) { frame_ = frame; }
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
  StatusBar* frame_ = nullptr;
  bool inStatusBar_ = false;
  bool escaped_ = false;
};

}  // namespace vandrel::builder::frame
