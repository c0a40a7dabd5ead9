// The builder's dialogs as Qt windows: the entry pages, the settings, background and
// end-of-install sheets, the drop import's two dialogs, the five assistants, the installation
// summary and the version information. Each window only shows its page model; the models
// decide, check and write back.
//
// With an answers file (the gui backend's autopilot) every window is shown and then driven
// through its own widgets: the fields named in [Wizard] are filled, then OK is pressed, or
// Cancel when [Wizard] Cancel= names the window's page id. Each window is saved as
// NNN-corvix-<window>.png when screenshots are on.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "builder/dropimport/drop_import.h"
#include "builder/model/builder_preferences.h"
#include "builder/pages/entry_page_editor.h"
#include "builder/pages/settings_pages.h"
#include "platform/file_system.h"
#include "ui/interaction.h"
#include "ui/scripted_interaction.h"

class QWidget;

namespace vandrel::builder::qt {

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
  QWidget* parent = nullptr;
  ui::Interaction* ui = nullptr;  // messages and beeps
  // File choosers map the host's files to Windows paths through it; sizes and dates.
  platform::FileSystem* files = nullptr;
  // Answers that drive every window; null for a person at the keyboard.
  ui::ScriptedInteraction* autopilot = nullptr;
  // The choosers; empty: the non-native Qt file and colour dialogs.
  std::function<std::optional<std::string>(const FileRequest&)> chooseFile;
  std::function<std::optional<std::uint32_t>(std::uint32_t initial)> chooseColour;
};

// A context over the gui backend's answers (when it has any).
DialogContext dialogContext(QWidget* parent, ui::Interaction& ui, platform::FileSystem* files);

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
// builder's own folder (Windows path).
// startPage 0 "Summary", 1 "Statistics".
bool runSummarySheet(const DialogContext& context, CScriptDoc& doc, platform::FileSystem& files,
                     const std::string& programFolder, int startPage = 0);
// "Version Info": the component files in the builder's folder.
void runVersionSheet(const DialogContext& context, platform::FileSystem& files, const std::string& programFolder);

// The drop import's directory selector and file page as windows.
std::unique_ptr<dropimport::DropDialogs> makeDropDialogs(const DialogContext& context);

}  // namespace vandrel::builder::qt
