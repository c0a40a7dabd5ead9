// The builder's run-long state and the port that shows progress in the status bar.
#include "builder/frame/builder_core.h"

#include "builder/frame/frame_flow.h"
#include "builder/generate/headless_session.h"

namespace vandrel::builder::frame {

BuilderCore::BuilderCore(platform::Machine& m, ui::Interaction& port)
    : machine(m), ui(port), progress(port, m.files()) {}

BuilderContext BuilderCore::context() { return machineContext(machine, ui, progress); }

void BuilderCore::noteRecentFile(const std::string& hostPath) { frame::noteRecentFile(recentFiles, hostPath); }

void StatusBarPort::progress(const ui::Progress& progress) {
  std::string text;
  for (const std::string& line : progress.lines) text += (text.empty() ? "" : " ") + line;
  if (frame_ && (inStatusBar_ || !frame_->statusProgressShown()) &&
      frame_->showStatusProgress(text, progress.percent)) {
    inStatusBar_ = true;
    return;
  }
  inner_->progress(progress);
}

bool StatusBarPort::cancelPressed() {
  if (!inStatusBar_) return inner_->cancelPressed();
  if (frame_) frame_->letEventsThrough();
  bool pressed = escaped_;
  escaped_ = false;
  return pressed;
}

void StatusBarPort::endProgress() {
  if (inStatusBar_) {
    inStatusBar_ = false;
    escaped_ = false;
    if (frame_) frame_->endStatusProgress();
    return;
  }
  inner_->endProgress();
}

}  // namespace vandrel::builder::frame
