// The wizard's window: one frame (Back, Next or Finish, Cancel, the caption) that stays up
// from the first page to the last, each page's own template shown inside it as a child
// dialog, its texts and fields filled from the page model and read back into the result.
//
// The driver shows one page at a time and decides, from the action, which page comes next
// (it also keeps a page when its values are refused, and runs the folder picker for Change),
// so the frame runs one page at a time rather than a property sheet that would own the page
// flow; between two pages it stays where the user put it, under the driver's questions.
#pragma once

#include <windows.h>

#include <memory>

#include "ui/interaction.h"

namespace vandrel::ui::win32 {

class Win32Interaction;
class FrameWindow;

class WizardFrame {
 public:
  explicit WizardFrame(Win32Interaction& backend);
  ~WizardFrame();
  WizardFrame(const WizardFrame&) = delete;
  WizardFrame& operator=(const WizardFrame&) = delete;

  // Shows the page in the frame until the user leaves it; the action and the fields as left.
  // The frame is made over owner with the first page; owner stays disabled while it is up.
  PageResult run(const Page& page, HWND owner);
  // The frame's window; null before the first page or when it could not be made.
  HWND handle() const;

 private:
  std::unique_ptr<FrameWindow> frame_;
  Win32Interaction& backend_;
  HWND owner_ = nullptr;
};

}  // namespace vandrel::ui::win32
