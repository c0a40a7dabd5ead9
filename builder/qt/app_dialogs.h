// The builder's own windows around the documents: the preferences sheet, the about box, the
// tip of the day and the splash window. The first three are sheets: an answers file fills
// them through their named controls and presses OK, as it does the other builder dialogs.
#pragma once

#include <functional>

#include "builder/prefs/window_state.h"
#include "builder/frame/builder_core.h"

class QWidget;

namespace vandrel::builder::app {

// The main window's painted background as the preferences change it.
struct BackgroundTarget {
  // A bitmap is shown now.
  bool showsBitmap = false;
  // Shows the state (its bitmap loaded when it changed); true when the bitmap the state
  // names is the one shown.
  std::function<bool(const prefs::WindowState&)> show;
};

// The preferences sheet ("Main", "Background", "File Drop"), opening on the page shown last;
// OK applies the values (the background shown again when it changed).
bool runPreferences(QWidget* parent, frame::BuilderCore& core, const BackgroundTarget& background);
void runAbout(QWidget* parent, frame::BuilderCore& core);
// The tip of the day; at start-up only when it is due (the "StartUp" box).
void runTipOfTheDay(QWidget* parent, frame::BuilderCore& core, bool atStartUp);
// The splash picture, centred, borderless and on top, for 4500 ms or until a key or a click
// anywhere in the application; it deletes itself when it closes, and then calls closed. Null
// when none is shown (unattended runs; closed is not called).
QWidget* showSplash(frame::BuilderCore& core, std::function<void()> closed);

}  // namespace vandrel::builder::app
