// The preferences sheet's pages as plain models: "Main", "Background" and "File Drop", filled
// from the preferences and the main window's state, and what OK writes back.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "builder/model/builder_preferences.h"
#include "builder/prefs/window_state.h"

namespace vandrel::builder::prefs {

// "Background": the main window's client area.
struct BackgroundChoice {
  // "Centered bitmap", "Centered Tiled bitmap", "Tiled bitmap", "Static bitmap",
  // "Stretched bitmap", "Without bitmap": indexes 0..5; 0..4 stand for flag 1 << index.
  int bitmapMode = 5;
  bool gradient = true;  // "Color gradient" / "Plain background"
  bool vertical = true;  // "Vertical &Gradient"
  int posX = 0, posY = 0;
  std::uint32_t firstColour = 0, secondColour = 0;  // 0x00BBGGRR
  std::string bitmap;

  static BackgroundChoice of(const WindowState& state);
};

// OK on "Background": colours, the gradient or plain choice, the direction and position; a
// bitmap path that differs (without regard to case) is loaded with loadBitmap, the old one
// kept when that fails; the chosen bitmap flag replaces the previous one, every bitmap flag
// goes when no bitmap is loaded, and a gradient under a bitmap that covers the whole area
// (centred tiles, tiles, stretched) becomes the plain colour. hadBitmap: a bitmap was loaded
// before. Returns whether anything changed.
bool applyBackground(WindowState& state, const BackgroundChoice& choice, bool hadBitmap,
                     const std::function<bool(const std::string&)>& loadBitmap);

// OK on "Main" and "File Drop": the values copied; a DefEdit without "%1" gets " %1"
// appended; an icon size other than 32 is 16.
void applyPreferences(BuilderPreferences& into, BuilderPreferences from);

}  // namespace vandrel::builder::prefs
