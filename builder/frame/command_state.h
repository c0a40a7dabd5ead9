// Which of the frame's commands are enabled or checked, from a plain description of the frame,
// and the texts that follow the state: the Undo and Redo items and the frame's title.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "builder/tree/document_edits.h"
#include "builder/tree/tree_commands.h"

namespace vandrel::builder::frame {

// What the command states depend on, as the frame window is now.
struct FrameState {
  bool document = false;  // a document window is active
  std::size_t recentFiles = 0;
  bool toolbarShown = false;
  bool statusBarShown = false;
};

// The state of one of the frame's own commands; nullopt for the commands the active
// document's view answers for (documentCommandState).
std::optional<CommandState> frameCommandState(int command, const FrameState& frame);

// The state of a command of a document's view: Undo and Redo from its history, the rest from
// its tree's commands.
CommandState documentCommandState(int command, const UndoStack& undo, const TreeCommands& tree);

// The Edit menu's items while a document is active: "&Undo New Shortcut", or "&Undo" when
// there is nothing to undo.
std::string undoText(const std::string& undoName);
std::string redoText(const std::string& redoName);

// The frame's title: the builder's name, then the active document's title (in brackets while
// its window is maximised, when the document shares the frame's title bar).
std::string frameTitle(const std::string& builderName, const std::optional<std::string>& documentTitle,
                       bool maximised);

}  // namespace vandrel::builder::frame
