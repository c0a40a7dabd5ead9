// The Win32 builder's run: what it holds for its whole run (the machine, the port, the
// preferences, the frame's stored state, the recent files, the progress service), read from
// the current user's registry at start-up and written back at exit when "Save the
// configuration on exit" is on; and the port of its windows, which shows progress in the
// frame's status bar while that bar is visible (Escape in a tree cancels it).
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "builder/frame/builder_core.h"
#include "builder/win32/builder_dialogs.h"
#include "platform/machine.h"
#include "ui/interaction.h"
#include "ui/scripted_interaction.h"

namespace vandrel::builder::win32 {

class MainFrame;

// The run-long state of every builder window, with what the Win32 windows add: the answers
// that drive them, their dialogs' context, and the owner of the port's own windows.
struct FrameCore : frame::BuilderCore {
  using frame::BuilderCore::BuilderCore;

  // The answers that drive the windows, when the port wraps the gui backend's (null when the
  // port is that backend itself, or a person is at the keyboard).
  ui::ScriptedInteraction* autopilot = nullptr;

  // The context of the dialogs over a window: their port, files and answers.
  DialogContext dialogs(HWND parent);
  // The port's own windows (messages, questions, the folder picker) stand over frame: modal to
  // it, which is active again when they close. Null once the frame is gone.
  void standOver(HWND frame);
};

// The port of the builder's windows: progress in the frame's status bar while it is visible.
using FrameInteraction = frame::StatusBarPort;

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

// The files a WM_DROPFILES message carries, in their order; the drop is released.
std::vector<std::string> droppedFiles(HDROP drop);

}  // namespace vandrel::builder::win32
