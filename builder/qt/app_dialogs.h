// The builder's own windows around the documents: the preferences sheet, the about box, the
// tip of the day and the splash window. Driven by an answers file, each is shown, saved as a
// picture and closed with OK.
#pragma once

#include <QDialog>

#include "builder/qt/builder_core.h"

namespace vandrel::builder::app {

class BackgroundArea;

// Runs a dialog modally, or, in an unattended run, shows it, saves its picture and accepts it.
// The picture is saved as NNN-corvix-<name>.png when screenshots are on.
int execDialog(QDialog& dialog, BuilderCore& core, const char* name);

// The preferences sheet ("Main", "Background" when stand-alone, "File Drop"), opening on the
// page shown last; OK applies the values (the background repainted when it changed).
bool runPreferences(QWidget* parent, BuilderCore& core, BackgroundArea& area);
void runAbout(QWidget* parent, BuilderCore& core);
// The tip of the day; at start-up only when it is due (the "StartUp" box).
void runTipOfTheDay(QWidget* parent, BuilderCore& core, bool atStartUp);
// The splash picture, centred and borderless, for 4500 ms or until a key or a click.
void showSplash(BuilderCore& core);

}  // namespace vandrel::builder::app
