// CBuilderApp: the graphical builder's run. Start-up reads the preferences, the recent files
// and the main window's state, makes the main window and opens the documents named on the
// command line; exit writes back what SaveOnExit asks for. The port it is given is wrapped so
// that progress is shown in the main window's status bar while that bar is visible.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "builder/qt/builder_core.h"
#include "builder/qt/main_frame.h"

namespace vandrel::builder::app {

// The interaction port of the builder's windows: everything goes to the port it wraps, except
// progress displays while the main window's status bar is visible, which are shown there (no
// Cancel button: Escape in a tree view cancels).
class FrameInteraction : public ui::Interaction {
 public:
  explicit FrameInteraction(std::unique_ptr<ui::Interaction> inner) : inner_(std::move(inner)) {}
  void setFrame(CMainFrame* frame) { frame_ = frame; }
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
  CMainFrame* frame_ = nullptr;
  bool inStatusBar_ = false;
  bool escaped_ = false;
};

class CBuilderApp {
 public:
  CBuilderApp(platform::Machine& machine, std::unique_ptr<ui::Interaction> port, bool unattended);
  ~CBuilderApp();

  // Start-up: preferences (LoadOnOpen), recent files, window state, the main window shown as
  // stored, the documents named opened (no empty document otherwise). False when a named
  // document could not be opened.
  bool start(const std::vector<std::string>& documents);
  // The splash and the tip of the day that may follow it, as an interactive start shows them.
  void greet();
  // Exit: preferences, recent files and window state written when SaveOnExit is on.
  void exit();

  BuilderCore& core() { return *core_; }
  CMainFrame& frame() { return *frame_; }
  FrameInteraction& port() { return *port_; }

 private:
  std::unique_ptr<FrameInteraction> port_;
  std::unique_ptr<BuilderCore> core_;
  std::unique_ptr<CMainFrame> frame_;
};

// The builder's commands by the names an answers file gives them in [Builder] Commands;
// "shot:NAME" there saves the main window's picture instead.
using frame::commandByName;

}  // namespace vandrel::builder::app
