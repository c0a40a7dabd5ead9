// The gui backend of the interaction port: Qt widgets for message boxes, wizard pages, folder
// prompts, list choices, progress windows, disk messages and closing dialogs. The windows show
// the models the logic builds and return what the user chose; nothing else is decided here.
// Each window is a file of its own; the process-wide services are in gui_services.h.
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

namespace vandrel::ui::qt {

class ProgressWindow;
class WizardFrame;

class QtInteraction : public Interaction {
 public:
  // autopilot: when given, every window is driven by its answers.
  QtInteraction(Program program, std::shared_ptr<ScriptedInteraction> autopilot);
  ~QtInteraction() override;

  // The machine whose drives and folders the folder picker shows (none by default: typed
  // folders are then taken as given).
  void setFileSystem(platform::FileSystem* files) { files_ = files; }

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

  // The wizard's frame while the wizard is up (from its first page until a window of the
  // copy or the end takes over); null otherwise. The questions and pickers stand over it.
  QWidget* wizardWindow() const;

 private:
  void closeWizard();

  Program program_;
  std::shared_ptr<ScriptedInteraction> autopilot_;
  std::unique_ptr<ProgressWindow> progress_;
  bool progressSaved_ = false;
  std::unique_ptr<QWidget> diskMessage_;
  std::unique_ptr<WizardFrame> wizard_;
  platform::FileSystem* files_ = nullptr;
};

}  // namespace vandrel::ui::qt
