// What the preferences sheet's OK writes.
#include "builder/prefs/preferences_sheet.h"

#include "platform/text/text_rules.h"

namespace vandrel::builder::prefs {

namespace {
constexpr int kBitmapFlags = 1 | 2 | 4 | 8 | 16;
constexpr int kGradient = 64;
constexpr int kPlain = 128;
// Bitmap placements that cover the whole client area.
constexpr int kCovering = 2 | 4 | 16;
}  // namespace

BackgroundChoice BackgroundChoice::of(const WindowState& state) {
  BackgroundChoice c;
  for (int i = 0; i < 5; ++i) {
    if (state.kind & (1 << i)) c.bitmapMode = i;
  }
  c.gradient = (state.kind & kGradient) != 0;
  c.vertical = state.gradDir != 0;
  c.posX = state.posX;
  c.posY = state.posY;
  c.firstColour = state.firstColour;
  c.secondColour = state.secondColour;
  c.bitmap = state.bitmap;
  return c;
}

bool applyBackground(WindowState& state, const BackgroundChoice& choice, bool hadBitmap,
                     const std::function<bool(const std::string&)>& loadBitmap) {
  WindowState before = state;
  state.firstColour = choice.firstColour;
  state.secondColour = choice.secondColour;
  int kind = (state.kind & kBitmapFlags) | (choice.gradient ? kGradient : kPlain);
  state.gradDir = choice.vertical ? 1 : 0;
  state.posX = choice.posX;
  state.posY = choice.posY;
  bool loaded = hadBitmap;
  if (!text::equalsNoCase(choice.bitmap, state.bitmap) && !choice.bitmap.empty()) {
    if (loadBitmap(choice.bitmap)) {
      state.bitmap = choice.bitmap;
      loaded = true;
    }
  }
  kind &= ~kBitmapFlags;
  if (choice.bitmapMode >= 0 && choice.bitmapMode < 5) kind |= 1 << choice.bitmapMode;
  if (!loaded) kind &= ~kBitmapFlags;
  if ((kind & kGradient) && (kind & kCovering)) kind = (kind & ~kGradient) | kPlain;
  state.kind = kind;
  return state.kind != before.kind || state.firstColour != before.firstColour ||
         state.secondColour != before.secondColour || state.gradDir != before.gradDir ||
         state.posX != before.posX || state.posY != before.posY || state.bitmap != before.bitmap;
}

void applyPreferences(BuilderPreferences& into, BuilderPreferences from) {
  if (from.defEdit.find("%1") == std::string::npos) from.defEdit += " %1";
  from.iconSize = from.iconSize == 32 ? 32 : 16;
  into = std::move(from);
}

}  // namespace vandrel::builder::prefs
