// A document's window: its tree control, context menu, keys, file drop and dialogs.
#include "builder/win32/document_window.h"

#include <commdlg.h>
#include <shellapi.h>

#include "builder/generate/headless_session.h"
#include "builder/win32/frame_ids.h"
#include "builder/win32/main_frame.h"

namespace vandrel::builder::win32 {

namespace {

constexpr const char* kDocumentClass = "CorvixDocument";
constexpr UINT kUpdateTitle = WM_APP + 1;  // the frame's, see main_frame.cpp

}  // namespace

// The window as the document's commands see it: its dialogs and the display of its tree.
class DocumentWindow::View : public frame::DocumentView {
 public:
  explicit View(DocumentWindow& window) : w_(window) {}

  bool settingsSheet(int startPage) override {
    return runSettingsSheet(w_.dialogs(), w_.document_->tree(), startPage, w_.settingsView_);
  }
  bool backgroundSheet() override { return runBackgroundSheet(w_.dialogs(), w_.document_->doc); }
  bool endSheet() override { return runEndSheet(w_.dialogs(), w_.document_->doc); }
  bool summarySheet() override {
    FrameCore& core = w_.frame_.core();
    return runSummarySheet(w_.dialogs(), w_.document_->doc, w_.document_->context().files,
                           programFolderOf(core.machine));
  }
  bool assistant(int number) override {
    return runAssistant(w_.dialogs(), number, w_.document_->tree(), w_.frame_.core().preferences);
  }
  std::optional<std::string> chooseFile(const std::string& title, const std::string& filter) override {
    if (w_.frame_.core().unattended) return std::nullopt;
    // The string table's filters: "Name|pattern|...||" as the common dialog's zeros.
    std::string filters = filter;
    for (char& c : filters) {
      if (c == '|') c = '\0';
    }
    filters.push_back('\0');
    char file[MAX_PATH] = {};
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = w_.window_;
    dialog.lpstrFilter = filters.c_str();
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
    if (!GetOpenFileNameA(&dialog)) return std::nullopt;
    return std::string(file);
  }
  std::unique_ptr<dropimport::DropDialogs> dropDialogs() override { return makeDropDialogs(w_.dialogs()); }
  void selectItem(ItemHandle item) override { w_.selectItem(item); }
  void iconSizeChanged() override { w_.tree_->applyIconSize(); }
  void changed() override { w_.changed(); }

 private:
  DocumentWindow& w_;
};

DocumentWindow::DocumentWindow(MainFrame& frame, std::unique_ptr<frame::ScriptDocument> document)
    : frame_(frame), document_(std::move(document)) {
  FrameCore& core = frame_.core();
  ScriptTree& tree = document_->tree();
  tree.setIconSize(core.preferences.iconSize);
  tree_ = std::make_unique<TreeView>(tree);
  view_ = std::make_unique<View>(*this);
}

DocumentWindow::~DocumentWindow() {
  // The commands and the control follow the document's tree: they go before the document.
  documentCommands_.reset();
  commands_.reset();
  editor_.reset();
  pageView_.reset();
  tree_.reset();
}

bool DocumentWindow::registerClass() {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &DocumentWindow::procedure;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kDocumentClass;
  registered = RegisterClassExA(&wc) != 0;
  return registered;
}

bool DocumentWindow::create(HWND client) {
  RECT area;
  GetClientRect(client, &area);
  MDICREATESTRUCTA mdi = {};
  mdi.szClass = kDocumentClass;
  std::string title = document_->frameTitle();
  mdi.szTitle = title.c_str();
  mdi.hOwner = GetModuleHandleA(nullptr);
  mdi.x = CW_USEDEFAULT;
  mdi.y = CW_USEDEFAULT;
  mdi.cx = std::max(320, int(area.right) * 2 / 3);
  mdi.cy = std::max(240, int(area.bottom) * 3 / 4);
  mdi.lParam = reinterpret_cast<LPARAM>(this);
  window_ = reinterpret_cast<HWND>(SendMessageA(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mdi)));
  return window_ != nullptr;
}

DialogContext DocumentWindow::dialogs() const {
  return frame_.core().dialogs(window_);
}

CommandState DocumentWindow::state(int cmd) const {
  return documentCommands_ ? documentCommands_->state(cmd) : CommandState{};
}

bool DocumentWindow::run(int cmd) { return documentCommands_ && documentCommands_->run(cmd); }

bool DocumentWindow::dropFiles(const std::vector<std::string>& hostPaths) {
  return documentCommands_ && documentCommands_->dropFiles(hostPaths);
}

void DocumentWindow::selectItem(ItemHandle item) {
  document_->tree().select(item);
  tree_->select(item, frame_.core().preferences.ensureVisible);
}

void DocumentWindow::updateTitle() {
  std::string title = document_->frameTitle();
  char shown[512] = {};
  GetWindowTextA(window_, shown, sizeof shown);
  if (title == shown) return;
  SetWindowTextA(window_, title.c_str());
  // The Window menu's item and a maximised document's frame title show it too.
  SendMessageA(frame_.client(), WM_MDIREFRESHMENU, 0, 0);
  PostMessageA(frame_.handle(), kUpdateTitle, 0, 0);
}

void DocumentWindow::applyIconSize() {
  document_->tree().setIconSize(frame_.core().preferences.iconSize);
  tree_->applyIconSize();
}

void DocumentWindow::changed() {
  updateTitle();
  frame_.updateCommands();
}

HMENU DocumentWindow::makeContextMenu() {
  HMENU menu = CreatePopupMenu();
  for (const ContextMenu::Item& item : commands_->contextMenu().items) {
    UINT flags = MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED);
    bool checkable = item.command >= builder::command::ToggleUninstall && item.command <= builder::command::ToggleShared;
    if (checkable && item.checked) flags |= MF_CHECKED;
    AppendMenuA(menu, flags, UINT_PTR(item.command), item.text.c_str());
  }
  return menu;
}

void DocumentWindow::contextMenu(POINT at) {
  HMENU menu = makeContextMenu();
  int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr);
  DestroyMenu(menu);
  if (chosen) {
    run(chosen);
    frame_.updateCommands();
  }
}

// ---- messages ----

LRESULT CALLBACK DocumentWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    auto* mdi = static_cast<MDICREATESTRUCTA*>(create->lpCreateParams);
    auto* self = reinterpret_cast<DocumentWindow*>(mdi->lParam);
    self->window_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<DocumentWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefMDIChildProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    LRESULT result = DefMDIChildProcA(window, message, wParam, lParam);
    self->window_ = nullptr;
    MainFrame& frame = self->frame_;
    frame.forget(*self);
    frame.updateCommands();
    return result;
  }
  return self->onMessage(message, wParam, lParam);
}

LRESULT DocumentWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      FrameCore& core = frame_.core();
      if (!tree_->create(window_, ids::Tree)) return -1;
      tree_->keyHandler = [this](int key) {
        frame::TreeKey which = key == VK_RETURN ? frame::TreeKey::Enter : frame::TreeKey::Escape;
        bool taken = documentCommands_->key(which);
        frame_.updateCommands();
        return taken;
      };
      ScriptTree& tree = document_->tree();
      pageView_ = makeEntryPageView(dialogs());
      editor_ = std::make_unique<pages::PageEntryEditor>(tree, *pageView_, core.ui);
      commands_ = std::make_unique<TreeCommands>(tree, core.preferences, core.ui, *editor_);
      documentCommands_ = std::make_unique<frame::DocumentCommands>(*document_, *commands_, *view_, core.preferences,
                                                                    core.ui, core.progress, core.escape);
      DragAcceptFiles(window_, TRUE);
      selectItem(tree.root());
      break;
    }
    case WM_SIZE: {
      MoveWindow(tree_->handle(), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      // Maximised or restored, the frame's title shows the document in its own way.
      PostMessageA(frame_.handle(), kUpdateTitle, 0, 0);
      break;
    }
    case WM_SETFOCUS: SetFocus(tree_->handle()); return 0;
    case WM_MDIACTIVATE: PostMessageA(frame_.handle(), kUpdateTitle, 0, 0); break;
    case WM_NOTIFY: return onNotify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_CONTEXTMENU: {
      POINT at{short(LOWORD(lParam)), short(HIWORD(lParam))};
      if (at.x == -1 && at.y == -1) {
        // From the keyboard: under the selected item.
        RECT box = {};
        if (HTREEITEM item = tree_->itemOf(document_->tree().selection())) {
          TreeView_GetItemRect(tree_->handle(), item, &box, TRUE);
        }
        at = {box.left, box.bottom};
        ClientToScreen(tree_->handle(), &at);
      }
      contextMenu(at);
      return 0;
    }
    case WM_DROPFILES: {
      dropFiles(droppedFiles(reinterpret_cast<HDROP>(wParam)));
      frame_.updateCommands();
      return 0;
    }
    case WM_CLOSE:
      if (closing_) return 0;
      closing_ = true;
      if (!frame_.mayClose(*this)) {
        closing_ = false;
        return 0;
      }
      break;
    default: break;
  }
  return DefMDIChildProcA(window_, message, wParam, lParam);
}

LRESULT DocumentWindow::onNotify(const NMHDR& header) {
  if (header.idFrom != UINT_PTR(ids::Tree) || !documentCommands_) return 0;
  switch (header.code) {
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW: {
      const auto& change = reinterpret_cast<const NMTREEVIEWA&>(header);
      ItemHandle item = ItemHandle(change.itemNew.lParam);
      if (item && item != document_->tree().selection()) document_->tree().select(item);
      frame_.updateCommands();
      return 0;
    }
    case NM_DBLCLK: {
      // A double-click on an item opens its properties.
      POINT at;
      GetCursorPos(&at);
      ItemHandle item = tree_->itemAt(at);
      if (!item) return 0;
      selectItem(item);
      run(builder::command::Properties);
      frame_.updateCommands();
      return 1;
    }
    case NM_RCLICK: {
      POINT at;
      GetCursorPos(&at);
      ItemHandle item = tree_->itemAt(at);
      if (!item) return 0;
      selectItem(item);
      contextMenu(at);
      return 1;
    }
    default: return 0;
  }
}

}  // namespace vandrel::builder::win32
