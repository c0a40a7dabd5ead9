// Stand-ins for the builder's dialogs until their windows are merged: each is cancelled at
// once, so that the frame links and runs.
#include "builder/win32/builder_dialogs.h"

#include "ui/win32/gui_services.h"
#include "ui/win32/win32_interaction.h"

namespace vandrel::builder::win32 {

namespace {

class PendingPages : public pages::EntryPageView {
 public:
  bool show(pages::EntryPage&, const std::string&) override { return false; }
};

class PendingDrop : public dropimport::DropDialogs {
 public:
  bool selectDirectory(dropimport::DirectorySelector&) override { return false; }
  bool editFile(pages::CAddFileDlg&) override { return false; }
};

}  // namespace

DialogContext dialogContext(HWND parent, ui::Interaction& ui, platform::FileSystem* files) {
  DialogContext context;
  context.parent = parent;
  context.ui = &ui;
  context.files = files;
  if (ui::win32::Win32Interaction* backend = ui::win32::activeBackend()) context.autopilot = backend->autopilot();
  return context;
}

std::unique_ptr<pages::EntryPageView> makeEntryPageView(const DialogContext&) { return std::make_unique<PendingPages>(); }
bool runSettingsSheet(const DialogContext&, ScriptTree&, int, pages::SettingsViewState&) { return false; }
bool runBackgroundSheet(const DialogContext&, CScriptDoc&) { return false; }
bool runEndSheet(const DialogContext&, CScriptDoc&, int) { return false; }
bool runAssistant(const DialogContext&, int, ScriptTree&, const BuilderPreferences&) { return false; }
bool runSummarySheet(const DialogContext&, CScriptDoc&, platform::FileSystem&, const std::string&, int) { return false; }
void runVersionSheet(const DialogContext&, platform::FileSystem&, const std::string&) {}
std::unique_ptr<dropimport::DropDialogs> makeDropDialogs(const DialogContext&) { return std::make_unique<PendingDrop>(); }
bool runPreferences(AppContext&, const BackgroundTarget&) { return false; }
void runAbout(const AppContext&) {}
void runTipOfTheDay(const AppContext&, bool) {}
HWND showSplash(const AppContext&, std::function<void()>) { return nullptr; }

}  // namespace vandrel::builder::win32
