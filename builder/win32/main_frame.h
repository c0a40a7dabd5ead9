// The builder's main window on Windows: an MDI frame whose client area is painted by the
// background painter, with the menu bar, the "Standard" toolbar and the status bar (its key
// indicators, and the progress of long operations) made from the frame's menu model, one
// document window per open document, the recent files, and documents opened by dropping
// files on it. Every command runs in the frame's commands (builder/frame), which decide; this
// window only shows what they decide.
#pragma once

#include <windows.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "builder/frame/frame_flow.h"
#include "builder/frame/menu_model.h"
#include "builder/win32/builder_dialogs.h"
#include "builder/win32/builder_run.h"
#include "paint/background_wnd.h"

namespace vandrel::builder::win32 {

class DocumentWindow;

class MainFrame : public frame::StatusBar {
 public:
  explicit MainFrame(FrameCore& core);
  ~MainFrame() override;
  MainFrame(const MainFrame&) = delete;
  MainFrame& operator=(const MainFrame&) = delete;

  // Makes the window, hidden; false when it could not be made.
  bool create();
  // Places the frame as the stored state says and shows it.
  void showAsStored();
  HWND handle() const { return window_; }
  HWND client() const { return client_; }
  FrameCore& core() { return core_; }
  AppContext& app() { return app_; }

  // Runs a command of the menus; false when it did nothing.
  bool run(int command);
  CommandState state(int command) const;
  // Asks the save question of a modified document: false when it stays open.
  bool mayClose(DocumentWindow& document);
  // Closes each document window in turn, then the frame; false when one stayed open.
  bool close();

  DocumentWindow* newDocument();
  // Opens a document file; an open document of the same file is activated instead.
  DocumentWindow* openDocument(const std::filesystem::path& hostPath);
  DocumentWindow* activeDocument() const;
  // The open documents, oldest first.
  std::vector<DocumentWindow*> documents() const;
  // A document window is going: the frame forgets it.
  void forget(DocumentWindow& document);

  // The toolbar's buttons, the titles and the frame's title follow the commands' states.
  void updateCommands();
  // The items of a popup of the menu bar take their states and texts, as before it opens.
  void initMenu(HMENU popup);
  HMENU menuBar() const { return menu_; }
  HWND toolbar() const { return toolbar_; }
  HWND statusBar() const { return status_; }

  // The status bar's progress (its text in a pane of 190 pixels or more, the bar 300 pixels
  // wide 200 pixels from the left at least); false when the status bar is hidden.
  bool showStatusProgress(const std::string& text, int percent) override;
  void endStatusProgress() override;
  bool statusProgressShown() const override { return progress_ != nullptr; }
  // Escape reaches the tree through the message queue.
  void letEventsThrough() override;

  // The "BackMDI" state as the frame is now: geometry, show state, background, bars.
  prefs::WindowState windowState() const;
  // The background painter's fields from the stored state (the bitmap loaded when it changed).
  void applyBackground(const prefs::WindowState& state);
  const paint::CBackgroundWnd& painter() const { return painter_; }

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK clientProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void makeMenus();
  HMENU makePopup(const std::vector<frame::MenuItem>& items);
  void makeAccelerators();
  void makeToolbar();
  void makeStatusBar();
  void layout();
  void layoutStatusBar();
  void updateIndicators();
  void drawIndicator(const DRAWITEMSTRUCT& item);
  void fillRecentFiles(HMENU popup);
  void backgroundMenu(POINT at);
  void updateTitle();
  void recordGeometry();
  void showBars(bool toolbar, bool status);
  std::optional<std::string> chooseDocument(bool save, const std::string& current);
  bool showDialog(frame::FrameDialog dialog);

  friend class FrameWindowView;
  friend int runFrameLoop(MainFrame& frame);

  FrameCore& core_;
  AppContext app_;
  std::unique_ptr<frame::FrameView> view_;
  std::unique_ptr<frame::FrameCommands> commands_;
  HWND window_ = nullptr;
  HWND client_ = nullptr;
  HWND toolbar_ = nullptr;
  HWND status_ = nullptr;
  HWND progress_ = nullptr;
  HMENU menu_ = nullptr;
  HMENU windowMenu_ = nullptr;
  HACCEL accelerators_ = nullptr;
  WNDPROC clientDefault_ = nullptr;
  // The popups of the menu bar and the model's items each holds.
  std::map<HMENU, const std::vector<frame::MenuItem>*> popups_;
  HMENU recentMenu_ = nullptr;
  std::vector<std::unique_ptr<DocumentWindow>> documents_;
  paint::CBackgroundWnd painter_{paint::PainterKind::Builder};
  std::string progressText_;
  bool indicators_[3] = {false, false, false};
  int untitled_ = 0;
  prefs::WindowState geometry_;
  // The frame's window is going: its title and bars are no longer kept up to date.
  bool destroying_ = false;
};

// The frame's message loop for a person at the keyboard: accelerators, MDI keys, until the
// frame is gone.
int runFrameLoop(MainFrame& frame);

}  // namespace vandrel::builder::win32
