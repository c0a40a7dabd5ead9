// The main window's state kept in the group "BackMDI": frame geometry, show state and the
// background of the client area; beside it the toolbar layout in "BarState". Read at start-up,
// written at exit.
#pragma once

#include <cstdint>
#include <string>

class QSettings;

namespace vandrel::builder::prefs {

struct WindowState {
  static constexpr int kUnknown = 32767;
  int top = kUnknown, left = kUnknown, width = kUnknown, height = kUnknown;
  int status = 4;  // 0 normal, 1 minimised, 2 maximised; 4 when never stored
  int kind = 64;   // background flags: 1, 2, 4, 8, 16 bitmap modes, 64 gradient, 128 plain
  int posX = 0, posY = 0;
  std::uint32_t firstColour = 160u * 65536u;         // stored as topH/topL
  std::uint32_t secondColour = 255u * 65536u + 255u;  // stored as bottomH/bottomL
  int gradDir = 1;  // 1 vertical, 0 horizontal
  std::string bitmap;
  // Written from the background window at exit, never read.
  int occX = 0, occY = 0;
  std::uint32_t backColour = 0;
  // The toolbar layout (where the toolbar is docked, whether it shows), kept under the name
  // "BarState" as the window framework saves it; empty when none is kept.
  std::string barState;

  // The frame is placed at its stored geometry only in the normal state with all four known.
  bool hasGeometry() const {
    return status == 0 && top != kUnknown && left != kUnknown && width != kUnknown &&
           height != kUnknown;
  }
};

// The stored state; absent keys take the values above.
WindowState readWindowState(QSettings& settings);
void writeWindowState(QSettings& settings, const WindowState& state);

}  // namespace vandrel::builder::prefs
