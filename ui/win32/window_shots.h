// Saving a window as it is drawn: the window with its frame and controls copied from the
// screen into a 24-bit bitmap and written as a .bmp file, so the windows of a run can be
// looked at (scripts/wine/bmp-to-png.py makes .png files of them).
#pragma once

#include <windows.h>

#include <string>

#include "ui/interaction.h"

namespace vandrel::ui::win32 {

// Writes the window's picture to path; false when it cannot be drawn or written.
bool saveWindowPicture(HWND window, const std::string& path);

// Saves each window when it is shown as FOLDER/NNN-<program>-<window>.bmp (see
// nextScreenshotPath); nothing when no folder is given.
class WindowShots {
 public:
  WindowShots() = default;
  WindowShots(std::string folder, Program program);
  bool enabled() const { return !folder_.empty(); }
  // The file written, or empty.
  std::string save(HWND window, const std::string& name);

 private:
  std::string folder_;
  std::string program_;
};

// The screenshots of this process, set when the gui backend is made; windows that live
// outside the port (the install window) save theirs here too.
WindowShots& processShots();

}  // namespace vandrel::ui::win32
