// The gui module's entry points for the interaction: its stamp and the Qt interaction.
#include "ui/gui_module.h"
#include "ui/folder_picker_model.h"
#include "ui/qt/gui_services.h"

extern "C" const char* vandrel_gui_stamp() { return vandrel::ui::kGuiModuleStamp; }

extern "C" vandrel::ui::Interaction* vandrel_gui_make_interaction(
    int* argc, char** argv, vandrel::platform::FileSystem* files, vandrel::ui::Program program,
    const vandrel::ui::InteractionSettings* settings) {
  return vandrel::ui::qt::makeQtInteraction(*argc, argv, files, program, *settings).release();
}

extern "C" const std::vector<std::string>* vandrel_gui_folders_made() {
  return &vandrel::ui::foldersMadeByPickers();
}
