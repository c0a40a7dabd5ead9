// A document's window on Windows: an MDI child holding the script tree's control, which it
// owns with its document. Its commands, its Enter and Escape keys and the files dropped on it
// run in the document's commands (builder/frame/document_commands.h); its sheets, assistants
// and entry pages are the builder's dialogs (builder_dialogs.h). Closing it asks the frame's
// save question first, whichever way it is closed.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "builder/frame/document_commands.h"
#include "builder/frame/script_document.h"
#include "builder/pages/entry_page_editor.h"
#include "builder/pages/settings_pages.h"
#include "builder/tree/tree_commands.h"
#include "builder/win32/builder_dialogs.h"
#include "builder/win32/tree_view.h"

namespace vandrel::builder::win32 {

class MainFrame;

class DocumentWindow {
 public:
  DocumentWindow(MainFrame& frame, std::unique_ptr<frame::ScriptDocument> document);
  ~DocumentWindow();
  DocumentWindow(const DocumentWindow&) = delete;
  DocumentWindow& operator=(const DocumentWindow&) = delete;

  static bool registerClass();
  // Makes the MDI child in the frame's client and activates it.
  bool create(HWND client);
  HWND handle() const { return window_; }
  frame::ScriptDocument& document() { return *document_; }
  TreeView& tree() { return *tree_; }

  CommandState state(int command) const;
  // Runs a command of the tree, the document or the Edit menu; false when it did nothing.
  bool run(int command);
  // Imports files and folders (host paths) as a drop on the tree does.
  bool dropFiles(const std::vector<std::string>& hostPaths);
  // Selects an item, in the tree and on screen.
  void selectItem(ItemHandle item);
  // The context menu of the selection, as it is shown (the caller destroys it).
  HMENU makeContextMenu();
  // The window's title follows the document ("*" while it has unsaved changes).
  void updateTitle();
  void applyIconSize();

 private:
  class View;
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT onNotify(const NMHDR& header);
  void contextMenu(POINT at);
  void changed();
  DialogContext dialogs() const;

  MainFrame& frame_;
  std::unique_ptr<frame::ScriptDocument> document_;
  HWND window_ = nullptr;
  std::unique_ptr<TreeView> tree_;
  std::unique_ptr<pages::EntryPageView> pageView_;
  std::unique_ptr<pages::PageEntryEditor> editor_;
  std::unique_ptr<TreeCommands> commands_;
  pages::SettingsViewState settingsView_;
  std::unique_ptr<frame::DocumentView> view_;
  std::unique_ptr<frame::DocumentCommands> documentCommands_;
  bool closing_ = false;
};

}  // namespace vandrel::builder::win32
