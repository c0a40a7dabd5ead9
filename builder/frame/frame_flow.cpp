// The frame's commands: what each does, in which order, and what the windows show after.
#include "builder/frame/frame_flow.h"

#include <algorithm>

#include "builder/frame/frame_commands.h"

namespace vandrel::builder::frame {

FrameCommands::FrameCommands(FrameView& view, ui::Interaction& ui, std::vector<std::string>& recentFiles,
                             std::string builderName)
    : view_(view), ui_(ui), recentFiles_(recentFiles), builderName_(std::move(builderName)) {}

CommandState FrameCommands::state(int cmd) const {
  // The recent files are the list these commands keep, whatever the window counts.
  FrameState frame = view_.frameState();
  frame.recentFiles = recentFiles_.size();
  if (std::optional<CommandState> own = frameCommandState(cmd, frame)) return *own;
  return view_.documentState(cmd);
}

bool FrameCommands::run(int cmd) {
  if (!state(cmd).enabled) return false;
  FrameDocument* document = view_.activeDocument();
  FrameState frame = view_.frameState();
  bool done = true;
  switch (cmd) {
    case command::FileNew: view_.newDocument(); break;
    case command::FileOpen:
      if (std::optional<std::string> file = view_.askFileName(false, {})) {
        done = view_.openDocument(*file);
      } else {
        done = false;
      }
      break;
    case command::FileClose: done = view_.closeActiveDocument(); break;
    case command::FileSave: done = save(*document, false); break;
    case command::FileSaveAs: done = save(*document, true); break;
    case command::Exit: done = view_.closeFrame(); break;
    case command::ViewToolbar: view_.showToolbar(!frame.toolbarShown); break;
    case command::ViewStatusBar: view_.showStatusBar(!frame.statusBarShown); break;
    case command::Preferences: done = view_.showDialog(FrameDialog::Preferences); break;
    case command::VersionInfo: view_.showDialog(FrameDialog::VersionInfo); break;
    case command::About: view_.showDialog(FrameDialog::About); break;
    case command::TipOfTheDay: view_.showDialog(FrameDialog::TipOfTheDay); break;
    case command::WindowCascade: view_.arrange(Arrangement::Cascade); break;
    case command::WindowTile: view_.arrange(Arrangement::Tile); break;
    default:
      if (int slot = recentFileSlot(cmd); slot >= 0) {
        // A copy: opening the file reorders the list.
        std::string file = recentFiles_[std::size_t(slot)];
        done = view_.openDocument(file);
        break;
      }
      done = document && view_.runDocumentCommand(cmd);
      if (document) view_.documentChanged(*document);
  }
  view_.commandsChanged();
  return done;
}

bool FrameCommands::save(FrameDocument& document, bool askName) {
  bool done = false;
  if (!askName && document.hasFile()) {
    done = document.save();
  } else {
    std::optional<std::string> path = view_.askFileName(true, document.hostPath().string());
    if (!path) return false;
    std::filesystem::path file(*path);
    if (file.extension().empty()) file += ".cvx";
    done = document.saveAs(file);
  }
  if (done) {
    noteRecentFile(recentFiles_, document.hostPath().string());
    view_.recentFilesChanged();
  }
  view_.documentChanged(document);
  view_.commandsChanged();
  return done;
}

bool FrameCommands::mayClose(FrameDocument& document) {
  if (!document.modified()) return true;
  ui::Message question;
  question.caption = builderName_;
  question.text = saveQuestionText(document.windowTitle());
  question.buttons = ui::Buttons::YesNoCancel;
  question.icon = ui::Icon::Exclamation;
  switch (ui_.message(question)) {
    case ui::Answer::Yes: return save(document, false);
    case ui::Answer::No: return true;
    default: return false;
  }
}

void noteRecentFile(std::vector<std::string>& recentFiles, const std::string& hostPath) {
  recentFiles.erase(std::remove(recentFiles.begin(), recentFiles.end(), hostPath), recentFiles.end());
  recentFiles.insert(recentFiles.begin(), hostPath);
  if (recentFiles.size() > kRecentFiles) recentFiles.resize(kRecentFiles);
}

std::string saveQuestionText(const std::string& windowTitle) {
  std::string name = windowTitle;
  if (name.size() > 2 && name.compare(name.size() - 2, 2, " *") == 0) name.resize(name.size() - 2);
  return "Save changes to " + name + "?";
}

}  // namespace vandrel::builder::frame
