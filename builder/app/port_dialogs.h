// The builder's entry and settings dialogs shown as pages of the interaction port: each page
// model's fields as named fields (the answers file names them in its [Wizard] section), read
// back into the model when the author presses OK. The main window uses them wherever no
// dedicated window exists.
#pragma once

#include "builder/model/builder_preferences.h"
#include "builder/pages/entry_page_editor.h"
#include "builder/pages/settings_pages.h"
#include "platform/file_system.h"
#include "ui/interaction.h"

namespace vandrel::builder::app {

class PortEntryPageView : public pages::EntryPageView {
 public:
  PortEntryPageView(ui::Interaction& ui, platform::FileSystem& files) : ui_(ui), files_(files) {}
  // Text fields by the model's own names (Name, Description, Section, Entry, Value, Subkey,
  // Text, DestName, Disk, CommandLine, FilePath); the file page's "Source" takes the path of
  // the file to add (what "&Browse..." returns).
  bool show(pages::EntryPage& page, const std::string& caption) override;

 private:
  ui::Interaction& ui_;
  platform::FileSystem& files_;
};

// The settings sheet opened on a page: fields AppName, Ver, Title, DefDir, ShowLicence,
// RegInfo, MinCpu, MinWin, UnDesc. True when OK stored it.
bool showSettingsSheet(ui::Interaction& ui, ScriptTree& tree, int startPage,
                       pages::SettingsViewState& view);
// The install window's background: Gradient, Vertical, Bitmap, BmpName, BmpMode, Caption.
bool showBackgroundPage(ui::Interaction& ui, ScriptTree& tree);
// End of install: Reboot and the command lines Launch1.. Launch4.
bool showEndSheet(ui::Interaction& ui, ScriptTree& tree);

// Assistant 1..5 (extension maker, autostart programs, path registration, product
// registration, desktop settings); true when it added entries.
bool showAssistant(ui::Interaction& ui, ScriptTree& tree, const BuilderPreferences& prefs,
                   int number);
// The summary sheet: the document's properties (Subject, Template, Author) editable, written
// back on OK.
bool showSummarySheet(ui::Interaction& ui, ScriptTree& tree, platform::FileSystem& files);

}  // namespace vandrel::builder::app
