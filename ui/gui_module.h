// The entry points of the gui module (vandrel-gui-qt.so), which the programs load only when
// windows are to be shown: their names, their types and the stamp both sides must agree on.
#pragma once

#include <string>
#include <vector>

#include "ui/interaction.h"

namespace vandrel::platform {
class FileSystem;
class Machine;
}  // namespace vandrel::platform

namespace vandrel::setup {
class InstallWindow;
}

// The module's file name; the programs look for it beside themselves and in the build's bin
// folder (ui/gui_module_loader.h).
#define VANDREL_GUI_MODULE_FILE "vandrel-gui-qt.so"

extern "C" {

// The stamp the module was built with (kGuiModuleStamp of its sources).
using VandrelGuiStampFn = const char* (*)();

// Makes the gui interaction (starting the window system on the first call) for a program
// whose display was checked; null when no window can be shown. The caller owns the result.
// argc and argv are main's own and must outlive the windows; files is the machine's file
// system, whose folders the folder picker browses.
using VandrelGuiMakeInteractionFn = vandrel::ui::Interaction* (*)(
    int* argc, char** argv, vandrel::platform::FileSystem* files, vandrel::ui::Program program,
    const vandrel::ui::InteractionSettings* settings);

// Makes the setup's install window once the gui interaction is up; null otherwise. The caller
// owns the result.
using VandrelGuiMakeInstallWindowFn = vandrel::setup::InstallWindow* (*)(vandrel::platform::Machine* machine);

// The folders the module's folder pickers made in this process (the setup keeps a folder
// found in place, but removes again one the user made for the installation).
using VandrelGuiFoldersMadeFn = const std::vector<std::string>* (*)();

}  // extern "C"

namespace vandrel::ui {

// Raise the number when an entry point's type or a type passed through one changes: a module
// built from other sources is then refused rather than called.
inline constexpr const char* kGuiModuleStamp = "vandrel-gui-module 2";

inline constexpr const char* kGuiStampEntry = "vandrel_gui_stamp";
inline constexpr const char* kGuiMakeInteractionEntry = "vandrel_gui_make_interaction";
inline constexpr const char* kGuiMakeInstallWindowEntry = "vandrel_gui_make_install_window";
inline constexpr const char* kGuiFoldersMadeEntry = "vandrel_gui_folders_made";

}  // namespace vandrel::ui
