// The builder's dialogs as Win32 windows from resource templates: the entry pages, the
// settings, background and end-of-install sheets, the drop import's two dialogs, the five
// assistants, the installation summary and the version information, and the builder's own
// windows (preferences, about box, tip of the day, splash). Each window only shows its page
// model; the models decide, check and write back.
//
// With an answers file (the gui backend's autopilot) every window is shown and then driven
// through its own controls: the fields named in [Wizard] are filled, then OK is pressed, or
// Cancel when [Wizard] Cancel= names the window's page id. Each window is saved as
// NNN-corvix-<window>.bmp when VANDREL_SCREENSHOTS is set, under the same names as the Qt
// builder's pictures.
//
// The entry points mirror the Qt builder's (builder/qt/builder_dialogs.h and app_dialogs.h)
// with two changes: windows stand over an HWND instead of a QWidget, and the builder's own
// windows take an AppContext (what they read and change of the builder's run-long state)
// instead of the Qt builder's BuilderCore, so that the frame decides where that state lives.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "builder/dropimport/drop_import.h"
#include "builder/model/builder_preferences.h"
#include "builder/pages/entry_page_editor.h"
#include "builder/pages/settings_pages.h"
#include "builder/prefs/window_state.h"
#include "platform/file_system.h"
#include "platform/machine.h"
#include "ui/interaction.h"
#include "ui/scripted_interaction.h"

namespace vandrel::builder::win32 {

// A file chooser's request: its title, its filters in the string table's form
// ("Text Documents (*.txt)|*.txt|All Files (*.*)|*.*||"), the default extension and the
// Windows folder it starts in.
struct FileRequest {
  std::string title;
  std::string filters;
  std::string defaultExtension;
  std::string startFolder;
};

// What the dialogs need besides their document.
struct DialogContext {
  HWND parent = nullptr;          // the window the dialogs stand over (disabled while they are up)
  ui::Interaction* ui = nullptr;  // messages and beeps
  // File choosers map the host's files to Windows paths through it; sizes and dates.
  platform::FileSystem* files = nullptr;
  // Answers that drive every window; null for a person at the keyboard.
  ui::ScriptedInteraction* autopilot = nullptr;
  // The choosers; empty: the common Open and Color dialogs.
  std::function<std::optional<std::string>(const FileRequest&)> chooseFile;
  std::function<std::optional<std::uint32_t>(std::uint32_t initial)> chooseColour;
};

// A context over the port: when ui is the Win32 gui backend (ui/win32/win32_interaction.h),
// its answers drive the windows.
DialogContext dialogContext(HWND parent, ui::Interaction& ui, platform::FileSystem* files);

// The entry pages (directory, description, group, Win.ini, registry, file, shortcut, disk
// message) for PageEntryEditor.
std::unique_ptr<pages::EntryPageView> makeEntryPageView(const DialogContext& context);

// "Settings" (General, System, UnInstall) opened on startPage 0..2; true on OK, the document
// written as SettingsSheet::ok says.
bool runSettingsSheet(const DialogContext& context, ScriptTree& tree, int startPage,
                      pages::SettingsViewState& view);
// "Background settings".
bool runBackgroundSheet(const DialogContext& context, CScriptDoc& doc);
// "Settings" with "End of Install" and "Web favorites" (startPage 0 or 1).
bool runEndSheet(const DialogContext& context, CScriptDoc& doc, int startPage = 0);

// The assistant number 1..5 (extension, autostart, path registration, product registration,
// desktop); true when it ended with OK.
bool runAssistant(const DialogContext& context, int number, ScriptTree& tree,
                  const BuilderPreferences& prefs);

// "Install Summary" (Summary, Statistics); OK writes Subject, Template and Author back.
// The dates, sizes and component files are read through files; programFolder is the
// builder's own folder (Windows path). startPage 0 "Summary", 1 "Statistics".
bool runSummarySheet(const DialogContext& context, CScriptDoc& doc, platform::FileSystem& files,
                     const std::string& programFolder, int startPage = 0);
// "Version Info": the component files in the builder's folder.
void runVersionSheet(const DialogContext& context, platform::FileSystem& files,
                     const std::string& programFolder);

// The drop import's directory selector and file page as windows.
std::unique_ptr<dropimport::DropDialogs> makeDropDialogs(const DialogContext& context);

// ---- the builder's own windows ----

// What the builder's own windows read and change of the run-long state the frame keeps. The
// pointers are the frame's and outlive every window; the context itself is kept by the frame
// too (preferencesPage is remembered from one opening of the preferences to the next).
struct AppContext {
  DialogContext dialogs;  // parent, messages, file system, answers, choosers
  platform::Machine* machine = nullptr;
  BuilderPreferences* preferences = nullptr;
  prefs::WindowState* window = nullptr;
  // Driven by answers: no file chooser, splash or waiting.
  bool unattended = false;
  // The index of the preferences page shown last.
  int preferencesPage = 0;
};

// The main window's painted background as the preferences change it.
struct BackgroundTarget {
  // A bitmap is shown now.
  bool showsBitmap = false;
  // Shows the state (its bitmap loaded when it changed); true when the bitmap the state
  // names is the one shown.
  std::function<bool(const prefs::WindowState&)> show;
};

// The preferences sheet ("Main", "Background", "File Drop"), opening on the page shown last;
// OK applies the values to *app.preferences and *app.window (the background shown again when
// it changed).
bool runPreferences(AppContext& app, const BackgroundTarget& background);
void runAbout(const AppContext& app);
// The tip of the day; at start-up only when it is due (the "StartUp" box).
void runTipOfTheDay(const AppContext& app, bool atStartUp);
// The splash picture, centred, borderless and on top, for 4500 ms or until a key or a click
// anywhere in the application; it destroys itself when it closes, and then calls closed.
// Null when none is shown (unattended runs; closed is not called).
HWND showSplash(const AppContext& app, std::function<void()> closed);

}  // namespace vandrel::builder::win32
