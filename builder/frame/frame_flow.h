// The flow of the frame's own commands (new, open, close, save and save as with the save
// question, recent files, exit, the bars, the window arrangements and the frame's dialogs)
// over the interfaces a frame window and its documents implement. Qt implements them now,
// Win32 next: the windows only show what this decides.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "builder/frame/command_state.h"
#include "ui/interaction.h"

namespace vandrel::builder::frame {

// One open document as the frame's commands see it.
class FrameDocument {
 public:
  virtual ~FrameDocument() = default;
  virtual bool modified() const = 0;
  // "Script1" or the file's name, with " *" while there are unsaved changes.
  virtual std::string windowTitle() const = 0;
  virtual bool hasFile() const = 0;
  virtual const std::filesystem::path& hostPath() const = 0;
  // Write into its own file, or into another one; false after the message.
  virtual bool save() = 0;
  virtual bool saveAs(const std::filesystem::path& hostPath) = 0;
};

enum class FrameDialog { Preferences, VersionInfo, About, TipOfTheDay };
enum class Arrangement { Cascade, Tile };

// What a frame window provides.
class FrameView {
 public:
  virtual ~FrameView() = default;
  // The active document and the bars (the recent files are counted by FrameCommands).
  virtual FrameState frameState() const = 0;
  // The state of a command of the active document's view (only asked with a document active).
  virtual CommandState documentState(int command) const = 0;
  virtual FrameDocument* activeDocument() = 0;

  virtual void newDocument() = 0;
  // Opens a document file in a window (an open one is activated); false when it failed.
  virtual bool openDocument(const std::string& hostPath) = 0;
  // The file chooser: a host path, nullopt when the author cancelled (or no chooser is shown).
  virtual std::optional<std::string> askFileName(bool save, const std::string& current) = 0;
  // Closes the active document's window, which asks FrameCommands::mayClose; false when it
  // stayed open.
  virtual bool closeActiveDocument() = 0;
  // Closes the frame, each document window in turn; false when one stayed open.
  virtual bool closeFrame() = 0;
  virtual void showToolbar(bool shown) = 0;
  virtual void showStatusBar(bool shown) = 0;
  // A dialog of the frame; false when it changed nothing (a preferences sheet cancelled).
  virtual bool showDialog(FrameDialog dialog) = 0;
  virtual void arrange(Arrangement arrangement) = 0;
  // Runs a command of the active document's view; false when it did nothing.
  virtual bool runDocumentCommand(int command) = 0;

  // The document's window title follows its document.
  virtual void documentChanged(FrameDocument& document) = 0;
  // The recent files' items follow the list.
  virtual void recentFilesChanged() = 0;
  // The items' states and texts and the frame's title follow the frame.
  virtual void commandsChanged() = 0;
};

class FrameCommands {
 public:
  // recentFiles: host paths, newest first, which opening and saving keep up to date.
  FrameCommands(FrameView& view, ui::Interaction& ui, std::vector<std::string>& recentFiles,
                std::string builderName);

  CommandState state(int command) const;
  // Runs a command of the menus; false when it did nothing.
  bool run(int command);

  // Saves a document, in its own file unless askName or it has none: then under the name the
  // author chooses (".cvx" added when it has no extension). False when cancelled or failed.
  bool save(FrameDocument& document, bool askName);
  // Before a document's window closes: a modified document asks whether to save it. Yes saves
  // (a failed save keeps the window), No closes without saving, Cancel keeps the window.
  bool mayClose(FrameDocument& document);

 private:
  FrameView& view_;
  ui::Interaction& ui_;
  std::vector<std::string>& recentFiles_;
  std::string builderName_;
};

// A file opened or saved goes first in the recent files, which keep kRecentFiles.
void noteRecentFile(std::vector<std::string>& recentFiles, const std::string& hostPath);

// The question's text: "Save changes to Script1?".
std::string saveQuestionText(const std::string& windowTitle);

}  // namespace vandrel::builder::frame
