// The main window: menus, toolbar, status bar, background, documents and recent files.
#include "builder/win32/main_frame.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <functional>

#include "builder/frame/command_state.h"
#include "builder/frame/frame_commands.h"
#include "builder/generate/headless_session.h"
#include "builder/strings/builder_strings.h"
#include "builder/tree/tree_commands.h"
#include "builder/win32/document_window.h"
#include "builder/win32/frame_ids.h"
#include "paint/win32/gdi_canvas.h"

namespace vandrel::builder::win32 {

namespace {

constexpr const char* kFrameClass = "CorvixFrame";
// Sent to the frame once a document window changed its size: the MDI client has put its own
// title on the frame by then, and the frame's title is set again.
constexpr UINT kUpdateTitle = WM_APP + 1;
constexpr UINT_PTR kIndicatorTimer = 1;
constexpr const char* kIndicators[3] = {"CAP", "NUM", "SCRL"};
constexpr int kIndicatorKeys[3] = {VK_CAPITAL, VK_NUMLOCK, VK_SCROLL};

namespace command = frame::command;

// A shortcut as the menus show it after the item's text, and as an accelerator.
struct KeyName {
  frame::Key key;
  WORD code;
  const char* name;
};
constexpr KeyName kKeys[] = {
    {frame::Key::N, 'N', "N"},           {frame::Key::O, 'O', "O"},
    {frame::Key::S, 'S', "S"},           {frame::Key::Y, 'Y', "Y"},
    {frame::Key::Z, 'Z', "Z"},           {frame::Key::Delete, VK_DELETE, "Del"},
    {frame::Key::Insert, VK_INSERT, "Ins"}, {frame::Key::Return, VK_RETURN, "Enter"},
    {frame::Key::F5, VK_F5, "F5"},       {frame::Key::F7, VK_F7, "F7"},
};

const KeyName* keyOf(const frame::Shortcut& shortcut) {
  for (const KeyName& key : kKeys) {
    if (key.key == shortcut.key) return &key;
  }
  return nullptr;
}

std::string shortcutText(const frame::Shortcut& shortcut) {
  const KeyName* key = keyOf(shortcut);
  if (!key) return {};
  return std::string(shortcut.ctrl ? "Ctrl+" : "") + (shortcut.alt ? "Alt+" : "") + key->name;
}

std::string itemText(const frame::MenuItem& item, const std::string& text) {
  std::string shortcut = shortcutText(item.shortcut);
  return shortcut.empty() ? text : text + "\t" + shortcut;
}

// The toolbar's pictures from the common controls' standard images.
int standardImageOf(frame::Picture picture) {
  switch (picture) {
    case frame::Picture::New: return STD_FILENEW;
    case frame::Picture::Open: return STD_FILEOPEN;
    case frame::Picture::Save: return STD_FILESAVE;
    case frame::Picture::Undo: return STD_UNDO;
    case frame::Picture::Redo: return STD_REDOW;
    case frame::Picture::Properties: return STD_PROPERTIES;
    case frame::Picture::Erase: return STD_DELETE;
    case frame::Picture::Generate: return STD_PRINT;
    case frame::Picture::Test: return STD_PRINTPRE;
    case frame::Picture::About: return STD_HELP;
  }
  return STD_FILENEW;
}

std::string windowText(HWND window) {
  int length = GetWindowTextLengthA(window);
  std::string text(std::size_t(length) + 1, '\0');
  GetWindowTextA(window, text.data(), length + 1);
  text.resize(std::size_t(length));
  return text;
}

bool registerFrameClass() {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcA;  // replaced by the object's procedure once made
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hIcon = LoadIconA(wc.hInstance, MAKEINTRESOURCEA(1));
  if (!wc.hIcon) wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  wc.lpszClassName = kFrameClass;
  registered = RegisterClassExA(&wc) != 0;
  return registered;
}

}  // namespace

// ---- the frame's commands over this window ----

// The frame window as the toolkit-neutral frame commands see it.
class FrameWindowView : public frame::FrameView {
 public:
  explicit FrameWindowView(MainFrame& frame) : f_(frame) {}

  frame::FrameState frameState() const override {
    frame::FrameState state;
    state.document = f_.activeDocument() != nullptr;
    state.toolbarShown = IsWindowVisible(f_.toolbar_) != FALSE;
    state.statusBarShown = IsWindowVisible(f_.status_) != FALSE;
    return state;
  }
  CommandState documentState(int cmd) const override {
    DocumentWindow* document = f_.activeDocument();
    return document ? document->state(cmd) : CommandState{};
  }
  frame::FrameDocument* activeDocument() override {
    DocumentWindow* document = f_.activeDocument();
    return document ? &document->document() : nullptr;
  }
  void newDocument() override { f_.newDocument(); }
  bool openDocument(const std::string& hostPath) override { return f_.openDocument(hostPath) != nullptr; }
  std::optional<std::string> askFileName(bool save, const std::string& current) override {
    return f_.chooseDocument(save, current);
  }
  bool closeActiveDocument() override {
    DocumentWindow* document = f_.activeDocument();
    if (!document) return false;
    HWND window = document->handle();
    SendMessageA(window, WM_CLOSE, 0, 0);
    return !IsWindow(window);
  }
  bool closeFrame() override { return f_.close(); }
  void showToolbar(bool shown) override { f_.showBars(shown, IsWindowVisible(f_.status_) != FALSE); }
  void showStatusBar(bool shown) override { f_.showBars(IsWindowVisible(f_.toolbar_) != FALSE, shown); }
  bool showDialog(frame::FrameDialog dialog) override { return f_.showDialog(dialog); }
  void arrange(frame::Arrangement arrangement) override {
    SendMessageA(f_.client_, arrangement == frame::Arrangement::Cascade ? WM_MDICASCADE : WM_MDITILE,
                 arrangement == frame::Arrangement::Cascade ? 0 : MDITILE_VERTICAL, 0);
  }
  bool runDocumentCommand(int cmd) override {
    DocumentWindow* document = f_.activeDocument();
    return document && document->run(cmd);
  }
  void documentChanged(frame::FrameDocument& document) override {
    for (DocumentWindow* window : f_.documents()) {
      if (&window->document() == &document) window->updateTitle();
    }
    f_.updateTitle();
  }
  // The Recent Files submenu is filled each time it opens.
  void recentFilesChanged() override {}
  void commandsChanged() override { f_.updateCommands(); }

 private:
  MainFrame& f_;
};

// ---- the frame ----

MainFrame::MainFrame(FrameCore& core)
    : core_(core),
      view_(std::make_unique<FrameWindowView>(*this)),
      commands_(std::make_unique<frame::FrameCommands>(*view_, core_.ui, core_.recentFiles, str(sid::Title))) {
  app_.machine = &core_.machine;
  app_.preferences = &core_.preferences;
  app_.window = &core_.window;
  app_.unattended = core_.unattended;
  geometry_ = core_.window;
}

MainFrame::~MainFrame() {
  if (window_ && IsWindow(window_)) {
    // The documents go first, through the MDI client, while it is whole; then the frame,
    // which no longer updates anything.
    for (DocumentWindow* document : documents()) {
      SendMessageA(client_, WM_MDIDESTROY, reinterpret_cast<WPARAM>(document->handle()), 0);
    }
    destroying_ = true;
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
}

bool MainFrame::create() {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  if (!registerFrameClass() || !DocumentWindow::registerClass()) return false;
  makeMenus();
  window_ = CreateWindowExA(WS_EX_ACCEPTFILES, kFrameClass, str(sid::Title).c_str(),
                            WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, 900, 640,
                            nullptr, menu_, GetModuleHandleA(nullptr), nullptr);
  if (!window_) return false;
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MainFrame::procedure));

  CLIENTCREATESTRUCT mdi = {windowMenu_, UINT(ids::FirstDocumentWindow)};
  client_ = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                            WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 0, 0, 0, 0, window_,
                            reinterpret_cast<HMENU>(INT_PTR(ids::MdiClient)), GetModuleHandleA(nullptr), &mdi);
  if (!client_) return false;
  SetWindowLongPtrA(client_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  clientDefault_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(client_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MainFrame::clientProcedure)));
  makeToolbar();
  makeStatusBar();
  makeAccelerators();
  applyBackground(core_.window);
  app_.dialogs = core_.dialogs(window_);
  core_.standOver(window_);
  // The bars as they were left ("Toolbar=0 StatusBar=1"; both shown when nothing is kept).
  const std::string& bars = core_.window.barState;
  showBars(bars.find("Toolbar=0") == std::string::npos, bars.find("StatusBar=0") == std::string::npos);
  SetTimer(window_, kIndicatorTimer, 250, nullptr);
  updateCommands();
  return true;
}

void MainFrame::showAsStored() {
  const prefs::WindowState& s = core_.window;
  if (s.hasGeometry()) {
    MoveWindow(window_, s.left, s.top, s.width, s.height, FALSE);
    ShowWindow(window_, SW_SHOWNORMAL);
  } else if (s.status == 1) {
    ShowWindow(window_, SW_SHOWMINIMIZED);
  } else if (s.status == 0) {
    ShowWindow(window_, SW_SHOWNORMAL);
  } else {
    ShowWindow(window_, SW_SHOWMAXIMIZED);
  }
  UpdateWindow(window_);
  recordGeometry();
}

// ---- menus, toolbar and status bar ----

void MainFrame::makeMenus() {
  menu_ = CreateMenu();
  for (const frame::Menu& model : frame::frameMenus()) {
    HMENU popup = makePopup(model.items);
    AppendMenuA(menu_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), model.text.c_str());
  }
}

HMENU MainFrame::makePopup(const std::vector<frame::MenuItem>& items) {
  using Kind = frame::MenuItem::Kind;
  HMENU popup = CreatePopupMenu();
  popups_[popup] = &items;
  for (const frame::MenuItem& item : items) {
    switch (item.kind) {
      case Kind::Command:
        AppendMenuA(popup, MF_STRING, UINT_PTR(item.command), itemText(item, item.text).c_str());
        break;
      case Kind::Separator: AppendMenuA(popup, MF_SEPARATOR, 0, nullptr); break;
      case Kind::Submenu:
        AppendMenuA(popup, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(makePopup(item.items)),
                    item.text.c_str());
        break;
      // Filled each time the submenu opens.
      case Kind::RecentFiles: recentMenu_ = popup; break;
      // The MDI client keeps the open documents' items after the menu's own.
      case Kind::WindowList: windowMenu_ = popup; break;
    }
  }
  return popup;
}

void MainFrame::makeAccelerators() {
  std::vector<ACCEL> table;
  std::function<void(const std::vector<frame::MenuItem>&)> add = [&](const std::vector<frame::MenuItem>& items) {
    for (const frame::MenuItem& item : items) {
      add(item.items);
      const KeyName* key = keyOf(item.shortcut);
      if (item.kind != frame::MenuItem::Kind::Command || !key) continue;
      BYTE flags = FVIRTKEY | (item.shortcut.ctrl ? FCONTROL : 0) | (item.shortcut.alt ? FALT : 0);
      table.push_back(ACCEL{flags, key->code, WORD(item.command)});
    }
  };
  for (const frame::Menu& menu : frame::frameMenus()) add(menu.items);
  accelerators_ = CreateAcceleratorTableA(table.data(), int(table.size()));
}

void MainFrame::makeToolbar() {
  toolbar_ = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                             WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, 0, 0, 0, 0, window_,
                             reinterpret_cast<HMENU>(INT_PTR(ids::Toolbar)), GetModuleHandleA(nullptr), nullptr);
  SendMessageA(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageA(toolbar_, TB_LOADIMAGES, IDB_STD_SMALL_COLOR, reinterpret_cast<LPARAM>(HINST_COMMCTRL));
  std::vector<TBBUTTON> buttons;
  for (const frame::ToolbarButton& button : frame::frameToolbar()) {
    TBBUTTON b = {};
    if (button.command == 0) {
      b.fsStyle = BTNS_SEP;
    } else {
      b.iBitmap = standardImageOf(button.picture);
      b.idCommand = button.command;
      b.fsState = TBSTATE_ENABLED;
      b.fsStyle = BTNS_BUTTON;
    }
    buttons.push_back(b);
  }
  SendMessageA(toolbar_, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  SendMessageA(toolbar_, TB_AUTOSIZE, 0, 0);
}

void MainFrame::makeStatusBar() {
  status_ = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                            window_, reinterpret_cast<HMENU>(INT_PTR(ids::StatusBar)), GetModuleHandleA(nullptr),
                            nullptr);
  layoutStatusBar();
  SendMessageA(status_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(str(sid::Ready).c_str()));
  updateIndicators();
}

void MainFrame::layoutStatusBar() {
  // The message takes what the three key indicators leave, each as wide as its text.
  RECT client;
  GetClientRect(status_, &client);
  HDC dc = GetDC(status_);
  HFONT old = static_cast<HFONT>(SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(status_, WM_GETFONT, 0, 0))));
  int widths[3];
  for (int i = 0; i < 3; ++i) {
    SIZE size = {};
    GetTextExtentPoint32A(dc, kIndicators[i], int(std::string(kIndicators[i]).size()), &size);
    widths[i] = size.cx + 12;
  }
  SelectObject(dc, old);
  ReleaseDC(status_, dc);
  int right = client.right - GetSystemMetrics(SM_CXVSCROLL);
  int edges[4];
  edges[3] = right;
  edges[2] = edges[3] - widths[2];
  edges[1] = edges[2] - widths[1];
  edges[0] = edges[1] - widths[0];
  SendMessageA(status_, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));
  for (int i = 0; i < 3; ++i) SendMessageA(status_, SB_SETTEXTA, WPARAM((i + 1) | SBT_OWNERDRAW), LPARAM(i));
}

void MainFrame::updateIndicators() {
  for (int i = 0; i < 3; ++i) {
    bool on = (GetKeyState(kIndicatorKeys[i]) & 1) != 0;
    if (on == indicators_[i]) continue;
    indicators_[i] = on;
    RECT part;
    SendMessageA(status_, SB_GETRECT, WPARAM(i + 1), reinterpret_cast<LPARAM>(&part));
    InvalidateRect(status_, &part, TRUE);
  }
}

void MainFrame::drawIndicator(const DRAWITEMSTRUCT& item) {
  // A key that is off shows its name greyed, as the Qt frame shows it.
  int index = int(item.itemData);
  if (index < 0 || index > 2) return;
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(indicators_[index] ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  RECT box = item.rcItem;
  DrawTextA(item.hDC, kIndicators[index], -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void MainFrame::showBars(bool toolbar, bool status) {
  ShowWindow(toolbar_, toolbar ? SW_SHOW : SW_HIDE);
  ShowWindow(status_, status ? SW_SHOW : SW_HIDE);
  layout();
}

void MainFrame::layout() {
  RECT client;
  GetClientRect(window_, &client);
  int top = 0, bottom = client.bottom;
  if (IsWindowVisible(toolbar_)) {
    SendMessageA(toolbar_, TB_AUTOSIZE, 0, 0);
    RECT bar;
    GetWindowRect(toolbar_, &bar);
    top = bar.bottom - bar.top;
  }
  if (IsWindowVisible(status_)) {
    SendMessageA(status_, WM_SIZE, 0, 0);
    RECT bar;
    GetWindowRect(status_, &bar);
    bottom -= bar.bottom - bar.top;
    if (!progress_) layoutStatusBar();
  }
  MoveWindow(client_, 0, top, client.right, std::max(0, bottom - top), TRUE);
}

bool MainFrame::showStatusProgress(const std::string& text, int percent) {
  if (!IsWindowVisible(status_)) return false;
  HDC dc = GetDC(status_);
  HFONT old = static_cast<HFONT>(SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(status_, WM_GETFONT, 0, 0))));
  SIZE size = {};
  GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(status_, dc);
  RECT bar;
  GetClientRect(status_, &bar);
  if (!progress_) {
    SendMessageA(status_, SB_SIMPLE, TRUE, 0);
    progress_ = CreateWindowExA(0, PROGRESS_CLASSA, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, status_,
                                reinterpret_cast<HMENU>(INT_PTR(ids::StatusProgress)), GetModuleHandleA(nullptr),
                                nullptr);
    SendMessageA(progress_, PBM_SETRANGE32, 0, 100);
  }
  // The text is shown whole: the bar moves right of a text wider than its pane.
  int textWidth = std::max(190, int(size.cx) + 8);
  MoveWindow(progress_, std::max(200, textWidth + 10), 2, 300, bar.bottom - 4, TRUE);
  if (text != progressText_) {
    progressText_ = text;
    SendMessageA(status_, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
  }
  if (percent >= 0) SendMessageA(progress_, PBM_SETPOS, WPARAM(percent), 0);
  UpdateWindow(status_);
  return true;
}

void MainFrame::letEventsThrough() { pumpAll(); }

void MainFrame::endStatusProgress() {
  if (progress_) DestroyWindow(progress_);
  progress_ = nullptr;
  progressText_.clear();
  SendMessageA(status_, SB_SIMPLE, FALSE, 0);
  SendMessageA(status_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(str(sid::Ready).c_str()));
  layoutStatusBar();
}

// ---- commands ----

bool MainFrame::run(int cmd) {
  bool done = commands_->run(cmd);
  if (IsWindow(window_)) updateCommands();
  return done;
}

CommandState MainFrame::state(int cmd) const { return commands_->state(cmd); }

bool MainFrame::mayClose(DocumentWindow& document) { return commands_->mayClose(document.document()); }

void MainFrame::updateCommands() {
  // While the frame goes its MDI client may be gone already: nothing is shown any more.
  if (destroying_ || !window_) return;
  for (const frame::ToolbarButton& button : frame::frameToolbar()) {
    if (button.command == 0) continue;
    SendMessageA(toolbar_, TB_ENABLEBUTTON, WPARAM(button.command), MAKELONG(state(button.command).enabled, 0));
  }
  for (DocumentWindow* document : documents()) document->updateTitle();
  updateTitle();
}

void MainFrame::initMenu(HMENU popup) {
  if (popup == recentMenu_) fillRecentFiles(popup);
  auto found = popups_.find(popup);
  if (found == popups_.end()) return;
  DocumentWindow* document = activeDocument();
  for (const frame::MenuItem& item : *found->second) {
    if (item.kind != frame::MenuItem::Kind::Command) continue;
    CommandState s = state(item.command);
    EnableMenuItem(popup, UINT(item.command), MF_BYCOMMAND | (s.enabled ? MF_ENABLED : MF_GRAYED));
    if (item.checkable) CheckMenuItem(popup, UINT(item.command), MF_BYCOMMAND | (s.checked ? MF_CHECKED : MF_UNCHECKED));
    if (item.command != command::Undo && item.command != command::Redo) continue;
    // The Edit menu names the step: "&Undo New Shortcut".
    std::string text = item.text;
    if (document) {
      UndoStack& undo = document->document().undo();
      text = item.command == command::Undo ? frame::undoText(undo.undoName()) : frame::redoText(undo.redoName());
    }
    ModifyMenuA(popup, UINT(item.command), MF_BYCOMMAND | MF_STRING | (s.enabled ? MF_ENABLED : MF_GRAYED),
                UINT_PTR(item.command), itemText(item, text).c_str());
  }
}

void MainFrame::fillRecentFiles(HMENU popup) {
  while (GetMenuItemCount(popup) > 0) DeleteMenu(popup, 0, MF_BYPOSITION);
  for (std::size_t i = 0; i < core_.recentFiles.size() && i < frame::kRecentFiles; ++i) {
    AppendMenuA(popup, MF_STRING, UINT_PTR(frame::recentFileCommand(i)),
                frame::recentFileText(i, core_.recentFiles[i]).c_str());
  }
}

void MainFrame::backgroundMenu(POINT at) {
  // The menus' own commands; an item with a text of its own shows it.
  HMENU menu = CreatePopupMenu();
  for (const frame::MenuItem& item : frame::backgroundMenu()) {
    const frame::MenuItem* model = frame::findCommand(item.command);
    std::string text = !item.text.empty() ? item.text : model ? itemText(*model, model->text) : std::string();
    CommandState s = state(item.command);
    UINT flags = MF_STRING | (s.enabled ? MF_ENABLED : MF_GRAYED) | (s.checked ? MF_CHECKED : 0);
    AppendMenuA(menu, flags, UINT_PTR(item.command), text.c_str());
  }
  int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr);
  DestroyMenu(menu);
  if (chosen) run(chosen);
}

void MainFrame::updateTitle() {
  if (destroying_ || !window_) return;
  BOOL maximised = FALSE;
  HWND active = reinterpret_cast<HWND>(SendMessageA(client_, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised)));
  DocumentWindow* document = activeDocument();
  std::optional<std::string> title;
  if (document) title = document->document().frameTitle();
  std::string wanted = frame::frameTitle(str(sid::Title), title, active && maximised);
  if (windowText(window_) == wanted) return;
  // While a document window is maximised the MDI client adds " - [title]" to the frame's own
  // title: the frame's own is then the builder's name.
  std::string own = active && maximised ? str(sid::Title) : wanted;
  DefFrameProcA(window_, client_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(own.c_str()));
  if (windowText(window_) != wanted) DefWindowProcA(window_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wanted.c_str()));
}

// ---- documents ----

DocumentWindow* MainFrame::newDocument() {
  auto document = std::make_unique<frame::ScriptDocument>(core_.context(), core_.machine);
  document->createNew(++untitled_);
  auto window = std::make_unique<DocumentWindow>(*this, std::move(document));
  if (!window->create(client_)) return nullptr;
  documents_.push_back(std::move(window));
  updateCommands();
  return documents_.back().get();
}

DocumentWindow* MainFrame::openDocument(const std::filesystem::path& hostPath) {
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::weakly_canonical(std::filesystem::absolute(hostPath), ec);
  if (ec) absolute = std::filesystem::absolute(hostPath);
  for (DocumentWindow* window : documents()) {
    if (window->document().hasFile() && window->document().hostPath() == absolute) {
      SendMessageA(client_, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(window->handle()), 0);
      return window;
    }
  }
  auto document = std::make_unique<frame::ScriptDocument>(core_.context(), core_.machine);
  if (!document->open(absolute)) return nullptr;
  auto window = std::make_unique<DocumentWindow>(*this, std::move(document));
  if (!window->create(client_)) return nullptr;
  documents_.push_back(std::move(window));
  DocumentWindow* opened = documents_.back().get();
  frame::noteRecentFile(core_.recentFiles, absolute.string());
  if (core_.preferences.autoCheck) {
    opened->document().doc.runningAfterLoad = true;
    opened->run(builder::command::CheckIntegrity);
    opened->document().doc.runningAfterLoad = false;
  }
  updateCommands();
  return opened;
}

DocumentWindow* MainFrame::activeDocument() const {
  if (!client_) return nullptr;
  HWND active = reinterpret_cast<HWND>(SendMessageA(client_, WM_MDIGETACTIVE, 0, 0));
  for (const auto& document : documents_) {
    if (document->handle() == active) return document.get();
  }
  return nullptr;
}

std::vector<DocumentWindow*> MainFrame::documents() const {
  std::vector<DocumentWindow*> out;
  for (const auto& document : documents_) out.push_back(document.get());
  return out;
}

void MainFrame::forget(DocumentWindow& document) {
  auto it = std::find_if(documents_.begin(), documents_.end(), [&](const auto& d) { return d.get() == &document; });
  if (it == documents_.end()) return;
  // Its window is gone (the last message it handles): the object goes with it.
  documents_.erase(it);
}

bool MainFrame::close() {
  for (DocumentWindow* document : documents()) {
    SendMessageA(client_, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(document->handle()), 0);
    HWND window = document->handle();
    SendMessageA(window, WM_CLOSE, 0, 0);
    if (IsWindow(window)) return false;
  }
  core_.window = windowState();
  KillTimer(window_, kIndicatorTimer);
  DestroyWindow(window_);
  return true;
}

std::optional<std::string> MainFrame::chooseDocument(bool save, const std::string& current) {
  if (core_.unattended) return std::nullopt;
  char file[MAX_PATH] = {};
  current.copy(file, std::min<std::size_t>(current.size(), MAX_PATH - 1));
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = window_;
  dialog.lpstrFilter = "Corvix Scripts (*.cvx)\0*.cvx\0All (*.*)\0*.*\0";
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrTitle = save ? "Save As" : "Open";
  dialog.Flags = OFN_HIDEREADONLY | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  BOOL chosen = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
  if (!chosen) return std::nullopt;
  return std::string(file);
}

bool MainFrame::showDialog(frame::FrameDialog dialog) {
  app_.dialogs = core_.dialogs(window_);
  switch (dialog) {
    case frame::FrameDialog::Preferences: {
      BackgroundTarget background{painter_.bitmap() != nullptr, [this](const prefs::WindowState& state) {
                                    applyBackground(state);
                                    return painter_.bitmapPath() == state.bitmap && painter_.bitmap() != nullptr;
                                  }};
      bool changed = runPreferences(app_, background);
      core_.preferencesPage = app_.preferencesPage;
      // The trees show their pictures at the size the preferences give.
      for (DocumentWindow* document : documents()) document->applyIconSize();
      return changed;
    }
    case frame::FrameDialog::VersionInfo:
      runVersionSheet(app_.dialogs, core_.machine.files(), programFolderOf(core_.machine));
      return true;
    case frame::FrameDialog::About: runAbout(app_); return true;
    case frame::FrameDialog::TipOfTheDay: runTipOfTheDay(app_, false); return true;
  }
  return false;
}

// ---- the window's state ----

void MainFrame::applyBackground(const prefs::WindowState& state) {
  painter_.mode = state.kind;
  painter_.firstColour = state.firstColour;
  painter_.secondColour = state.secondColour;
  painter_.plainColour = state.firstColour;
  painter_.vertical = state.gradDir != 0;
  painter_.position = {state.posX, state.posY};
  if (!state.bitmap.empty() && state.bitmap != painter_.bitmapPath()) {
    // The bitmap is named by its host path; a file that cannot be read keeps the previous one.
    if (std::optional<std::string> windows = core_.machine.files().windowsPath(state.bitmap)) {
      painter_.LoadBitmapFile(core_.machine.files(), *windows, false);
    }
  }
  if (client_) InvalidateRect(client_, nullptr, TRUE);
}

prefs::WindowState MainFrame::windowState() const {
  prefs::WindowState state = core_.window;
  state.top = geometry_.top;
  state.left = geometry_.left;
  state.width = geometry_.width;
  state.height = geometry_.height;
  state.status = IsIconic(window_) ? 1 : IsZoomed(window_) ? 2 : 0;
  state.barState = std::string("Toolbar=") + (IsWindowVisible(toolbar_) ? "1" : "0") +
                   " StatusBar=" + (IsWindowVisible(status_) ? "1" : "0");
  return state;
}

void MainFrame::recordGeometry() {
  if (!IsWindowVisible(window_) || IsIconic(window_) || IsZoomed(window_)) return;
  RECT box;
  GetWindowRect(window_, &box);
  geometry_.left = box.left;
  geometry_.top = box.top;
  geometry_.width = box.right - box.left;
  geometry_.height = box.bottom - box.top;
}

// ---- messages ----

LRESULT CALLBACK MainFrame::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<MainFrame*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self || !self->client_) return DefFrameProcA(window, self ? self->client_ : nullptr, message, wParam, lParam);
  return self->onMessage(message, wParam, lParam);
}

LRESULT CALLBACK MainFrame::clientProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<MainFrame*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_ERASEBKGND && self) {
    // The background painter paints what the document windows leave.
    RECT client;
    GetClientRect(window, &client);
    paint::GdiCanvas canvas(reinterpret_cast<HDC>(wParam), {client.right, client.bottom},
                            paint::Rect{0, 0, client.right, client.bottom});
    self->painter_.paint(canvas);
    return 1;
  }
  if (message == WM_SIZE && self) InvalidateRect(window, nullptr, TRUE);
  return CallWindowProcA(self ? self->clientDefault_ : DefWindowProcA, window, message, wParam, lParam);
}

LRESULT MainFrame::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      layout();
      recordGeometry();
      return 0;
    case WM_MOVE: recordGeometry(); break;
    case WM_COMMAND: {
      int id = LOWORD(wParam);
      if (id >= ids::FirstDocumentWindow && id < ids::FirstDocumentWindow + 1000) break;  // the MDI client's
      if (id == 0) break;
      run(id);
      return 0;
    }
    case WM_INITMENUPOPUP: initMenu(reinterpret_cast<HMENU>(wParam)); break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->code == TTN_GETDISPINFOA || header->code == TTN_GETDISPINFOW) {
        // A toolbar button's tip: its command's menu text without & and the ellipsis. The
        // tooltip keeps the pointer until it asks again.
        static std::string text;
        static std::wstring wide;
        const frame::MenuItem* item = frame::findCommand(int(header->idFrom));
        text = item ? frame::toolTipOf(item->text) : std::string();
        if (header->code == TTN_GETDISPINFOA) {
          reinterpret_cast<NMTTDISPINFOA*>(lParam)->lpszText = text.data();
        } else {
          wide.assign(std::size_t(MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0)), L'\0');
          MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), int(wide.size()));
          reinterpret_cast<NMTTDISPINFOW*>(lParam)->lpszText = wide.data();
        }
        return 0;
      }
      break;
    }
    case WM_DRAWITEM:
      if (wParam == WPARAM(ids::StatusBar)) {
        drawIndicator(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
      }
      break;
    case WM_TIMER:
      if (wParam == kIndicatorTimer) updateIndicators();
      return 0;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == client_) {
        backgroundMenu(POINT{short(LOWORD(lParam)), short(HIWORD(lParam))});
        return 0;
      }
      break;
    case WM_DROPFILES: {
      // Files dropped outside a tree are opened as documents.
      for (const std::string& file : droppedFiles(reinterpret_cast<HDROP>(wParam))) openDocument(file);
      return 0;
    }
    case kUpdateTitle: updateCommands(); return 0;
    case WM_CLOSE:
      run(command::Exit);
      return 0;
    case WM_DESTROY:
      destroying_ = true;
      core_.standOver(nullptr);
      window_ = nullptr;
      PostQuitMessage(0);
      return 0;
    default: break;
  }
  return DefFrameProcA(window_, client_, message, wParam, lParam);
}

int runFrameLoop(MainFrame& frame) {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (frame.window_ && TranslateMDISysAccel(frame.client_, &msg)) continue;
    if (frame.window_ && TranslateAcceleratorA(frame.window_, frame.accelerators_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return int(msg.wParam);
}

}  // namespace vandrel::builder::win32
