// CMyTreeView: the view of one script document. It shows the entry tree with its pictures,
// opens the context menus and the dialogs, takes double-click as "Properties", and hands its
// commands, its Enter and Escape keys and the files dropped on it to the document's commands
// (builder/frame/document_commands.h).
#pragma once

#include <memory>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QTreeView>

#include "builder/frame/document_commands.h"
#include "builder/frame/frame_commands.h"
#include "builder/frame/script_document.h"
#include "builder/qt/script_tree_model.h"
#include "builder/generate/progress_service.h"
#include "builder/pages/entry_page_editor.h"
#include "builder/pages/settings_pages.h"
#include "builder/qt/builder_dialogs.h"
#include "builder/tree/tree_commands.h"

namespace vandrel::builder::app {

// The frame's commands (those of the Edit menu among them) by their numbers.
namespace command = frame::command;
using frame::ScriptDocument;

// What the views share with the application: the preferences, the port, the progress
// service and what the dialogs need.
struct ViewServices {
  const BuilderPreferences& preferences;
  ui::Interaction& ui;
  ProgressService& progress;
  // The context of the dialog windows (their port, files, choosers and answers); each view
  // makes itself their parent.
  qt::DialogContext dialogs;
  // The builder's own folder (Windows path): the summary's component files.
  std::string programFolder;
  // An open-file chooser (title, filter): the host path chosen, nullopt when cancelled.
  std::function<std::optional<std::string>(const std::string&, const std::string&)> chooseFile;
  // Escape while a progress display without a Cancel button runs (the status bar's).
  std::function<void()> escape;
};

class CMyTreeView : public QTreeView {
  Q_OBJECT

 public:
  CMyTreeView(ScriptDocument& document, ViewServices services, QWidget* parent = nullptr);
  ~CMyTreeView() override;

  ScriptDocument& document() { return document_; }
  ScriptTreeModel& treeModel() { return *model_; }

  CommandState state(int command) const;
  // Runs a command of the tree, the document or the Edit menu; false when it did nothing.
  bool run(int command);
  // Imports files and folders (host paths) as a drop on the view does.
  bool dropFiles(const std::vector<std::string>& hostPaths);
  // Selects an item, in the tree and on screen.
  void selectItem(ItemHandle handle);
  // The context menu of the selection as the author sees it (for its pictures and tests).
  std::unique_ptr<class QMenu> makeContextMenu();

 signals:
  // The document or the selection changed: titles, menus and toolbar follow.
  void changed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  friend class TreeWindow;

  const qt::DialogContext& dialogs() const { return services_.dialogs; }
  void applyIconSize();

  ScriptDocument& document_;
  ViewServices services_;
  std::unique_ptr<ScriptTreeModel> model_;
  std::unique_ptr<pages::EntryPageView> pageView_;
  std::unique_ptr<pages::PageEntryEditor> editor_;
  std::unique_ptr<TreeCommands> commands_;
  pages::SettingsViewState settingsView_;
  // The document's commands run through the toolkit-neutral frame over this window.
  std::unique_ptr<frame::DocumentView> window_;
  std::unique_ptr<frame::DocumentCommands> documentCommands_;
};

}  // namespace vandrel::builder::app
