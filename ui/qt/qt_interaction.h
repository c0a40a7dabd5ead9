// The gui backend of the interaction port: Qt widgets for message boxes, wizard pages, folder
// prompts, list choices, progress windows, disk messages and closing dialogs. The windows show
// the models the logic builds and return what the user chose; nothing else is decided here.
//
// With an answers file the run is unattended: each window is shown and then driven through
// its own widgets (fields filled, boxes checked, the button pressed) by the answers the
// scripted backend would give, so a GUI run records the same transcript as a scripted one.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "ui/interaction.h"
#include "ui/qt/folder_dialog.h"
#include "ui/scripted_interaction.h"

class QWidget;

namespace vandrel::platform {
class FileSystem;
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

class QtInteraction : public Interaction {
 public:
  // autopilot: when given, every window is driven by its answers.
  QtInteraction(Program program, std::shared_ptr<ScriptedInteraction> autopilot);
  ~QtInteraction() override;

  // The folders the folder picker browses: by default drive Z: is the host's root.
  void setFolderMapping(FolderMapping mapping) { folders_ = std::move(mapping); }

  Answer message(const Message& message) override;
  PageResult page(const Page& page) override;
  std::optional<std::string> folder(const FolderPrompt& prompt) override;
  std::optional<int> choose(const Choice& choice) override;
  void diskMessage(const DiskMessage& message) override;
  void closing(const Closing& closing) override;
  void beep() override;

  void progress(const Progress& progress) override;
  bool cancelPressed() override;
  void endProgress() override;

  class ProgressWindow;

 private:
  Program program_;
  std::shared_ptr<ScriptedInteraction> autopilot_;
  std::unique_ptr<ProgressWindow> progress_;
  bool progressSaved_ = false;
  std::unique_ptr<QWidget> diskMessage_;
  FolderMapping folders_ = hostFolderMapping();
};

// Registers the Qt backend with the port's factory. argc and argv must outlive the program's
// windows (main's own), and so must files, the machine's file system whose folders the folder
// picker browses (none: drive Z: is the host's root). The backend is made only where a window
// system can be reached; elsewhere the factory says so on standard error and the console is used.
void registerQtBackend(int& argc, char** argv, platform::FileSystem* files = nullptr);

// True once the Qt backend was made in this process: windows can be shown.
bool guiActive();

// The answers that drive the gui backend made last in this process, for windows that live
// outside the port (the builder's dialogs); null without an answers file. One autopilot
// serves both, so questions are numbered in one sequence.
ScriptedInteraction* processAutopilot();

}  // namespace vandrel::ui::qt
