// CMainFrame: the builder's main window. An MDI frame whose client area is painted by the
// background painter, with the menus, the "Standard" toolbar, the status bar and its panes
// (which also show the progress of long operations), one child frame per document, the
// recent files, and documents opened by dropping files on it. Its menus and toolbar are made
// from the frame's menu model and its commands run in the frame's commands (builder/frame).
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>

#include "builder/frame/frame_flow.h"
#include "builder/frame/builder_core.h"
#include "builder/frame/script_document.h"
#include "builder/qt/tree_view.h"
#include "paint/background_wnd.h"

class QMenu;
class QToolBar;

namespace vandrel::builder::frame {
struct MenuItem;
}

namespace vandrel::builder::app {


// The main window's client area: the painted background behind the document windows.
class BackgroundArea : public QMdiArea {
  Q_OBJECT

 public:
  BackgroundArea(platform::FileSystem& files, QWidget* parent = nullptr);
  // The painter's fields from the stored window state; the bitmap loaded when it changed
  // (a bitmap that cannot be loaded leaves the previous one).
  void apply(const prefs::WindowState& state);
  const paint::CBackgroundWnd& painter() const { return painter_; }

 signals:
  void contextMenuRequested(const QPoint& globalPos);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  platform::FileSystem& files_;
  paint::CBackgroundWnd painter_{paint::PainterKind::Builder};
};

// A document's window: the tree view of its document, which it owns. Closing it asks to save
// unsaved changes.
class CChildFrame : public QMdiSubWindow {
  Q_OBJECT

 public:
  CChildFrame(std::unique_ptr<ScriptDocument> document, ViewServices services, class CMainFrame& frame);
  ~CChildFrame() override;
  ScriptDocument& document() { return *document_; }
  CMyTreeView& view() { return *view_; }
  void updateTitle();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  std::unique_ptr<ScriptDocument> document_;
  CMyTreeView* view_;
  CMainFrame& frame_;
};

class CMainFrame : public QMainWindow, public frame::StatusBar {
  Q_OBJECT

 public:
  explicit CMainFrame(frame::BuilderCore& core);
  ~CMainFrame() override;

  frame::BuilderCore& core() { return core_; }
  BackgroundArea& area() { return *area_; }

  CChildFrame* newDocument();
  // Opens a document file; an open document of the same file is activated instead.
  CChildFrame* openDocument(const std::filesystem::path& hostPath);
  bool saveDocument(CChildFrame& child, bool askName);
  // Asks to save a modified document: false when the author cancelled (or the save failed).
  bool saveModified(CChildFrame& child);
  CChildFrame* activeChild() const;
  std::vector<CChildFrame*> children() const;

  // Runs a command of the menus; false when it did nothing.
  bool run(int command);
  CommandState state(int command) const;
  QAction* action(int command) const;
  void updateActions();
  void updateRecentFiles();
  // The title: the builder's name, then the active document's title (in brackets while its
  // window is maximised).
  void updateTitle();
  // The Window menu: Cascade and Tile, then one item per open document, the active one checked.
  QMenu* windowMenu() const { return windowMenu_; }
  void fillWindowMenu();

  // The status bar's progress (the text in a 190-pixel pane, the bar 300 pixels wide placed
  // 200 pixels from the left); false when the status bar is hidden.
  bool showStatusProgress(const std::string& text, int percent) override;
  void endStatusProgress() override;
  bool statusProgressShown() const override { return progressBar_ != nullptr; }
  void letEventsThrough() override;

  // The "BackMDI" state as the frame is now: geometry, show state and background.
  prefs::WindowState windowState() const;
  // Places the frame as the stored state says and shows it.
  void showAsStored();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void makeMenus();
  void addMenuItems(QMenu* menu, const std::vector<frame::MenuItem>& items);
  void makeToolbar();
  void makeStatusBar();
  ViewServices viewServices();
  CChildFrame* addFrame(std::unique_ptr<ScriptDocument> document);
  QAction* addCommand(QMenu* menu, const frame::MenuItem& item);
  void recordGeometry();
  void placeStatusProgress();
  std::optional<std::string> chooseDocument(bool save, const std::string& current);
  void showVersionInfo();

  friend class MainFrameView;

  frame::BuilderCore& core_;
  // The frame's commands run through the toolkit-neutral frame over this window.
  std::unique_ptr<frame::FrameView> frameView_;
  std::unique_ptr<frame::FrameCommands> commands_;
  BackgroundArea* area_;
  QToolBar* toolbar_ = nullptr;
  std::map<int, QAction*> actions_;
  QMenu* fileMenu_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  QMenu* windowMenu_ = nullptr;
  std::vector<QAction*> windowActions_;
  QLabel* message_ = nullptr;
  std::vector<QLabel*> indicators_;
  QLabel* progressText_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  int untitled_ = 0;
  prefs::WindowState geometry_;
  bool closing_ = false;
};

}  // namespace vandrel::builder::app
