// CBuilderApp: the graphical builder's run. Start-up reads the preferences, the recent files
// and the main window's state, makes the main window and opens the documents named on the
// command line; exit writes back what SaveOnExit asks for. The port it is given is wrapped so
// that progress is shown in the main window's status bar while that bar is visible.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "builder/frame/builder_core.h"
#include "builder/qt/main_frame.h"

namespace vandrel::builder::app {

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

  frame::BuilderCore& core() { return *core_; }
  CMainFrame& frame() { return *frame_; }
  frame::StatusBarPort& port() { return *port_; }

 private:
  std::unique_ptr<frame::StatusBarPort> port_;
  std::unique_ptr<frame::BuilderCore> core_;
  std::unique_ptr<CMainFrame> frame_;
};

// The builder's commands by the names an answers file gives them in [Builder] Commands;
// "shot:NAME" there saves the main window's picture instead.
using frame::commandByName;

}  // namespace vandrel::builder::app
