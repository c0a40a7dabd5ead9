// The enabled and checked states of the frame's commands, and the texts following them.
#include "builder/frame/command_state.h"

#include "builder/frame/frame_commands.h"

namespace vandrel::builder::frame {

namespace {

// A name ending in blanks leaves none at the end of the item: as the menus trim their texts
// (the code page's no-break space counts as a blank).
std::string trimmedEnd(std::string text) {
  while (!text.empty()) {
    char last = text.back();
    if (last != ' ' && last != '\t' && last != '\n' && last != '\r' && last != '\v' && last != '\f' &&
        last != '\xA0') {
      break;
    }
    text.pop_back();
  }
  return text;
}

}  // namespace

std::optional<CommandState> frameCommandState(int cmd, const FrameState& frame) {
  switch (cmd) {
    case command::FileNew:
    case command::FileOpen:
    case command::Exit:
    case command::Preferences:
    case command::VersionInfo:
    case command::About:
    case command::TipOfTheDay:
      return CommandState{true, false};
    case command::ViewToolbar: return CommandState{true, frame.toolbarShown};
    case command::ViewStatusBar: return CommandState{true, frame.statusBarShown};
    case command::FileClose:
    case command::FileSave:
    case command::FileSaveAs:
    case command::WindowCascade:
    case command::WindowTile:
      return CommandState{frame.document, false};
    default:
      if (int slot = recentFileSlot(cmd); slot >= 0) {
        return CommandState{std::size_t(slot) < frame.recentFiles, false};
      }
      // Without a document, its view's commands are all disabled.
      if (!frame.document) return CommandState{};
      return std::nullopt;
  }
}

CommandState documentCommandState(int cmd, const UndoStack& undo, const TreeCommands& tree) {
  if (cmd == command::Undo) return {undo.canUndo(), false};
  if (cmd == command::Redo) return {undo.canRedo(), false};
  return tree.state(cmd);
}

std::string undoText(const std::string& undoName) { return trimmedEnd("&Undo " + undoName); }

std::string redoText(const std::string& redoName) { return trimmedEnd("&Redo " + redoName); }

std::string frameTitle(const std::string& builderName, const std::optional<std::string>& documentTitle,
                       bool maximised) {
  if (!documentTitle) return builderName;
  return maximised ? builderName + " - [" + *documentTitle + "]" : builderName + " - " + *documentTitle;
}

}  // namespace vandrel::builder::frame
