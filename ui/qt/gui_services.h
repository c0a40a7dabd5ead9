// The Qt gui's process-wide services: the backend's registration, whether windows can be
// shown, the screenshots and the answers, shared with the windows that live outside the port.
#pragma once

#include <memory>
#include <string>

#include "ui/interaction.h"

class QWidget;

namespace vandrel::platform {
class FileSystem;
}

namespace vandrel::ui {
class ScriptedInteraction;
}

namespace vandrel::ui::qt {

// Saves each window when it is shown as FOLDER/NNN-<program>-<window>.png. NNN is one above
// the highest number already in the folder, so programs run one after another (the setup,
// then the uninstaller) continue one sequence.
class Screenshots {
 public:
  Screenshots() = default;
  Screenshots(std::string folder, Program program);
  bool enabled() const { return !folder_.empty(); }
  // The file written, or empty when screenshots are off or the file could not be written.
  std::string save(QWidget& window, const std::string& name);

 private:
  std::string folder_;
  std::string program_;
};

// The screenshots of this process (set when the gui backend is made), for windows that live
// outside the port, such as the setup's install window.
Screenshots& processScreenshots();

// Registers the Qt backend with the port's factory. argc and argv must outlive the program's
// windows (main's own), and so must files, the machine's file system whose folders the folder
// picker browses (none: drive Z: is the host's root). The backend is made only where a window
// system can be reached; elsewhere the factory says so on standard error and the console is used.
void registerQtBackend(int& argc, char** argv, platform::FileSystem* files = nullptr);

// The Qt interaction for a program whose display was checked, starting the application on
// the first call; what the registered backend makes, and what the gui module hands out.
std::unique_ptr<Interaction> makeQtInteraction(int& argc, char** argv, platform::FileSystem* files,
                                               Program program, const InteractionSettings& settings);

// True once the Qt backend was made in this process: windows can be shown.
bool guiActive();

// The answers that drive the gui backend made last in this process, for windows that live
// outside the port (the builder's dialogs); null without an answers file. One autopilot
// serves both, so questions are numbered in one sequence.
ScriptedInteraction* processAutopilot();

}  // namespace vandrel::ui::qt
