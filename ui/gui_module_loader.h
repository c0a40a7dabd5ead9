// The programs' side of the gui module: finding vandrel-gui-qt.so, loading it when windows
// are to be shown, and reaching its entry points. The programs themselves link no Qt.
#pragma once

#include <string>
#include <vector>

namespace vandrel::ui {

// Where the module is looked for, in order: VANDREL_GUI_MODULE alone when it is set (a file
// path); else beside the running program (/proc/self/exe, whose folder is the build's bin
// folder for the programs there), then in the bin folder of the build that made the program,
// which serves copies of the programs (the engine expanded into a machine) from any folder.
std::vector<std::string> guiModuleCandidates();

// The module, loaded on the first call; null when it cannot be found or loaded, with the
// reason in *problem ("no vandrel-gui-qt.so in /a/bin, /b/bin", or the loader's own words).
void* loadGuiModule(std::string* problem);

// An entry point of the loaded module, or null (module not loaded or entry missing).
void* guiModuleEntry(const char* name);

}  // namespace vandrel::ui
