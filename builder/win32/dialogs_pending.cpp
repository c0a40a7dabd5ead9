// Stand-ins for the assistants, the summary, the version information and the builder's own
// windows until their windows are merged: each is cancelled at once, so that the frame links
// and runs.
#include "builder/win32/builder_dialogs.h"

namespace vandrel::builder::win32 {

bool runAssistant(const DialogContext&, int, ScriptTree&, const BuilderPreferences&) { return false; }
bool runSummarySheet(const DialogContext&, CScriptDoc&, platform::FileSystem&, const std::string&, int) { return false; }
void runVersionSheet(const DialogContext&, platform::FileSystem&, const std::string&) {}
bool runPreferences(AppContext&, const BackgroundTarget&) { return false; }
void runAbout(const AppContext&) {}
void runTipOfTheDay(const AppContext&, bool) {}
HWND showSplash(const AppContext&, std::function<void()>) { return nullptr; }

}  // namespace vandrel::builder::win32
