// What the graphical builder holds for its whole run: the machine, the interaction port, the
// preferences, the main window's stored state, the recent files and the progress service.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "builder/frame/frame_commands.h"
#include "builder/generate/builder_context.h"
#include "builder/generate/progress_service.h"
#include "builder/model/builder_preferences.h"
#include "builder/prefs/window_state.h"
#include "platform/machine.h"
#include "ui/interaction.h"

namespace vandrel::builder::app {

struct BuilderCore {
  BuilderCore(platform::Machine& machine, ui::Interaction& ui);

  platform::Machine& machine;
  ui::Interaction& ui;
  BuilderPreferences preferences;
  prefs::WindowState window;
  // The four most recently used files, newest first (host paths).
  std::vector<std::string> recentFiles;
  ProgressService progress;
  // Windows are driven by the answers file, the builder's own ones as its dialogs are; no
  // file chooser, splash or waiting.
  bool unattended = false;
  // Escape in a tree view, told to the port (the status bar's progress has no Cancel button).
  std::function<void()> escape;
  // The index of the preferences page shown last.
  int preferencesPage = 0;

  // The context a document's long commands run in.
  BuilderContext context();
  // A file opened or saved goes first in the recent files.
  void noteRecentFile(const std::string& hostPath);
};

using frame::kRecentFiles;

}  // namespace vandrel::builder::app
