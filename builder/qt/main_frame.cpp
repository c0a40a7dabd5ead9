// The main window: menus, toolbar, status bar, background, documents and recent files.
#include "builder/qt/main_frame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QPainter>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <QWindowStateChangeEvent>

#include "builder/frame/menu_model.h"
#include "builder/qt/app_dialogs.h"
#include "builder/generate/headless_session.h"
#include "builder/qt/builder_dialogs.h"
#include "builder/qt/tree_pictures.h"
#include "builder/strings/builder_strings.h"
#include "paint/qt/qt_canvas.h"
#include "ui/qt/dialog_kit.h"
#include "ui/qt/gui_services.h"

namespace vandrel::builder::app {

namespace {

using ui::qt::fromCodePage;

// Host paths are UTF-8 on the host; they are not in the code page.
QString fromHostPath(const std::string& path) { return QString::fromStdString(path); }

// A shortcut of the menu model as a key sequence. Made only once the application exists.
QKeySequence keysOf(const frame::Shortcut& shortcut) {
  using frame::Key;
  static const std::pair<Key, Qt::Key> kKeys[] = {
      {Key::N, Qt::Key_N},           {Key::O, Qt::Key_O},           {Key::S, Qt::Key_S},
      {Key::Y, Qt::Key_Y},           {Key::Z, Qt::Key_Z},           {Key::Delete, Qt::Key_Delete},
      {Key::Insert, Qt::Key_Insert}, {Key::Return, Qt::Key_Return}, {Key::F5, Qt::Key_F5},
      {Key::F7, Qt::Key_F7},
  };
  for (const auto& [key, code] : kKeys) {
    if (key != shortcut.key) continue;
    Qt::KeyboardModifiers modifiers;
    if (shortcut.ctrl) modifiers |= Qt::ControlModifier;
    if (shortcut.alt) modifiers |= Qt::AltModifier;
    return QKeySequence(QKeyCombination(modifiers, code));
  }
  return {};
}

// The toolbar's pictures from the style.
QStyle::StandardPixmap pixmapOf(frame::Picture picture) {
  switch (picture) {
    case frame::Picture::New: return QStyle::SP_FileIcon;
    case frame::Picture::Open: return QStyle::SP_DialogOpenButton;
    case frame::Picture::Save: return QStyle::SP_DialogSaveButton;
    case frame::Picture::Undo: return QStyle::SP_ArrowBack;
    case frame::Picture::Redo: return QStyle::SP_ArrowForward;
    case frame::Picture::Properties: return QStyle::SP_FileDialogDetailedView;
    case frame::Picture::Erase: return QStyle::SP_TrashIcon;
    case frame::Picture::Generate: return QStyle::SP_DriveHDIcon;
    case frame::Picture::Test: return QStyle::SP_MediaPlay;
    case frame::Picture::About: return QStyle::SP_MessageBoxQuestion;
  }
  return QStyle::SP_FileIcon;
}

// The background as the preferences change it.
BackgroundTarget backgroundOf(BackgroundArea& area) {
  return {area.painter().bitmap() != nullptr, [&area](const prefs::WindowState& state) {
            area.apply(state);
            return area.painter().bitmapPath() == state.bitmap && area.painter().bitmap() != nullptr;
          }};
}

}  // namespace

// ---- the background ----

BackgroundArea::BackgroundArea(platform::FileSystem& files, QWidget* parent)
    : QMdiArea(parent), files_(files) {}

void BackgroundArea::apply(const prefs::WindowState& state) {
  painter_.mode = state.kind;
  painter_.firstColour = state.firstColour;
  painter_.secondColour = state.secondColour;
  painter_.plainColour = state.firstColour;
  painter_.vertical = state.gradDir != 0;
  painter_.position = {state.posX, state.posY};
  if (!state.bitmap.empty() && state.bitmap != painter_.bitmapPath()) {
    // The bitmap is named by its host path; a file that cannot be read keeps the previous one.
    if (std::optional<std::string> windows = files_.windowsPath(state.bitmap)) {
      painter_.LoadBitmapFile(files_, *windows, false);
    }
  }
  viewport()->update();
}

void BackgroundArea::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  QRect clip = event->rect();
  paint::QtCanvas canvas(painter, {viewport()->width(), viewport()->height()},
                                 paint::Rect{clip.left(), clip.top(), clip.right() + 1,
                                                     clip.bottom() + 1});
  painter_.paint(canvas);
}

void BackgroundArea::resizeEvent(QResizeEvent* event) {
  QMdiArea::resizeEvent(event);
  // A gradient or a centred bitmap depends on the whole size: everything is painted again.
  viewport()->update();
}

void BackgroundArea::contextMenuEvent(QContextMenuEvent* event) {
  emit contextMenuRequested(event->globalPos());
}

// ---- the document windows ----

CChildFrame::CChildFrame(std::unique_ptr<ScriptDocument> document, ViewServices services,
                         CMainFrame& frame)
    : document_(std::move(document)), frame_(frame) {
  view_ = new CMyTreeView(*document_, std::move(services), this);
  setWidget(view_);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowIcon(qt::treeIcons(16)[0]);
  updateTitle();
  connect(view_, &CMyTreeView::changed, this, [this] {
    updateTitle();
    frame_.updateActions();
  });
  // Maximised or restored, the main window's title shows the document in its own way.
  connect(this, &QMdiSubWindow::windowStateChanged, &frame_, [this] { frame_.updateTitle(); },
          Qt::QueuedConnection);
}

CChildFrame::~CChildFrame() {
  // The view follows the document's tree: it goes before the document does.
  delete view_;
}

void CChildFrame::updateTitle() { setWindowTitle(fromCodePage(document_->frameTitle())); }

void CChildFrame::closeEvent(QCloseEvent* event) {
  if (!frame_.saveModified(*this)) {
    event->ignore();
    return;
  }
  QMdiSubWindow::closeEvent(event);
}

// ---- the frame's commands over this window ----

// The frame window as the toolkit-neutral frame commands see it.
class MainFrameView : public frame::FrameView {
 public:
  explicit MainFrameView(CMainFrame& window) : w_(window) {}

  frame::FrameState frameState() const override {
    frame::FrameState state;
    state.document = w_.activeChild() != nullptr;
    state.toolbarShown = w_.toolbar_ && w_.toolbar_->isVisible();
    state.statusBarShown = w_.statusBar()->isVisible();
    return state;
  }
  CommandState documentState(int cmd) const override {
    CChildFrame* child = w_.activeChild();
    return child ? child->view().state(cmd) : CommandState{};
  }
  frame::FrameDocument* activeDocument() override {
    CChildFrame* child = w_.activeChild();
    return child ? &child->document() : nullptr;
  }
  void newDocument() override { w_.newDocument(); }
  bool openDocument(const std::string& hostPath) override { return w_.openDocument(hostPath) != nullptr; }
  std::optional<std::string> askFileName(bool save, const std::string& current) override {
    return w_.chooseDocument(save, current);
  }
  bool closeActiveDocument() override { return w_.activeChild()->close(); }
  bool closeFrame() override { return w_.close(); }
  void showToolbar(bool shown) override { w_.toolbar_->setVisible(shown); }
  void showStatusBar(bool shown) override { w_.statusBar()->setVisible(shown); }
  bool showDialog(frame::FrameDialog dialog) override {
    switch (dialog) {
      case frame::FrameDialog::Preferences: return runPreferences(&w_, w_.core_, backgroundOf(*w_.area_));
      case frame::FrameDialog::VersionInfo: w_.showVersionInfo(); return true;
      case frame::FrameDialog::About: runAbout(&w_, w_.core_); return true;
      case frame::FrameDialog::TipOfTheDay: runTipOfTheDay(&w_, w_.core_, false); return true;
    }
    return false;
  }
  void arrange(frame::Arrangement arrangement) override {
    if (arrangement == frame::Arrangement::Cascade) w_.area_->cascadeSubWindows();
    else w_.area_->tileSubWindows();
  }
  bool runDocumentCommand(int cmd) override {
    CChildFrame* child = w_.activeChild();
    return child && child->view().run(cmd);
  }
  void documentChanged(frame::FrameDocument& document) override {
    for (CChildFrame* child : w_.children()) {
      if (&child->document() == &document) child->updateTitle();
    }
  }
  void recentFilesChanged() override { w_.updateRecentFiles(); }
  void commandsChanged() override { w_.updateActions(); }

 private:
  CMainFrame& w_;
};

// ---- the frame ----

CMainFrame::CMainFrame(frame::BuilderCore& core)
    : core_(core),
      frameView_(std::make_unique<MainFrameView>(*this)),
      commands_(std::make_unique<frame::FrameCommands>(*frameView_, core_.ui, core_.recentFiles, str(sid::Title))) {
  setWindowTitle(fromCodePage(str(sid::Title)));
  setObjectName("CMainFrame");
  area_ = new BackgroundArea(core_.machine.files(), this);
  // A document window moved partly outside the area stays reachable through the scroll bars.
  area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  area_->apply(core_.window);
  setCentralWidget(area_);
  setAcceptDrops(true);
  makeMenus();
  makeToolbar();
  makeStatusBar();
  geometry_ = core_.window;
  const std::string& bars = core_.window.barState;
  if (!bars.empty()) restoreState(QByteArray(bars.data(), qsizetype(bars.size())));
  connect(area_, &QMdiArea::subWindowActivated, this, [this] { updateActions(); });
  connect(area_, &BackgroundArea::contextMenuRequested, this, [this](const QPoint& at) {
    // The menus' own actions; an item with a text of its own shows it while the menu is open.
    QMenu menu(this);
    std::vector<std::pair<QAction*, QString>> renamed;
    for (const frame::MenuItem& item : frame::backgroundMenu()) {
      QAction* a = action(item.command);
      menu.addAction(a);
      if (item.text.empty()) continue;
      renamed.emplace_back(a, a->text());
      a->setText(fromCodePage(item.text));
    }
    menu.exec(at);
    for (const auto& [a, text] : renamed) a->setText(text);
  });
  updateActions();
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::addCommand(QMenu* menu, const frame::MenuItem& item) {
  int cmd = item.command;
  auto* a = new QAction(fromCodePage(item.text), this);
  a->setData(cmd);
  if (!item.shortcut.empty()) a->setShortcut(keysOf(item.shortcut));
  a->setCheckable(item.checkable);
  connect(a, &QAction::triggered, this, [this, cmd] { run(cmd); });
  actions_[cmd] = a;
  if (menu) menu->addAction(a);
  return a;
}

QAction* CMainFrame::action(int cmd) const {
  auto it = actions_.find(cmd);
  return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::addMenuItems(QMenu* menu, const std::vector<frame::MenuItem>& items) {
  using Kind = frame::MenuItem::Kind;
  for (const frame::MenuItem& item : items) {
    switch (item.kind) {
      case Kind::Command: addCommand(menu, item); break;
      case Kind::Separator: menu->addSeparator(); break;
      case Kind::Submenu: addMenuItems(menu->addMenu(fromCodePage(item.text)), item.items); break;
      case Kind::RecentFiles:
        // One item per slot, named as the list fills (updateRecentFiles).
        recentMenu_ = menu;
        for (std::size_t i = 0; i < frame::kRecentFiles; ++i) {
          frame::MenuItem slot;
          slot.command = frame::recentFileCommand(i);
          addCommand(menu, slot);
        }
        break;
      case Kind::WindowList:
        // Filled each time the menu opens.
        windowMenu_ = menu;
        connect(menu, &QMenu::aboutToShow, this, [this] { fillWindowMenu(); });
        break;
    }
  }
}

void CMainFrame::makeMenus() {
  for (const frame::Menu& model : frame::frameMenus()) {
    QMenu* menu = menuBar()->addMenu(fromCodePage(model.text));
    if (!fileMenu_) fileMenu_ = menu;
    addMenuItems(menu, model.items);
  }
  for (QMenu* menu : findChildren<QMenu*>()) {
    connect(menu, &QMenu::aboutToShow, this, [this] { updateActions(); });
  }
  updateRecentFiles();
}

void CMainFrame::makeToolbar() {
  toolbar_ = addToolBar(fromCodePage(str(200)));
  toolbar_->setObjectName("Standard");
  for (const frame::ToolbarButton& button : frame::frameToolbar()) {
    if (button.command == 0) {
      toolbar_->addSeparator();
      continue;
    }
    QAction* a = action(button.command);
    a->setIcon(style()->standardIcon(pixmapOf(button.picture)));
    a->setToolTip(fromCodePage(frame::toolTipOf(frame::findCommand(button.command)->text)));
    toolbar_->addAction(a);
  }
}

void CMainFrame::makeStatusBar() {
  message_ = new QLabel(fromCodePage(str(57345)));
  statusBar()->addWidget(message_, 1);
  for (const char* pane : {"CAP", "NUM", "SCRL"}) {
    auto* label = new QLabel(pane);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setEnabled(false);
    statusBar()->addPermanentWidget(label);
    indicators_.push_back(label);
  }
}

bool CMainFrame::showStatusProgress(const std::string& text, int percent) {
  if (!statusBar()->isVisible()) return false;
  if (!progressBar_) {
    message_->hide();
    for (QLabel* label : indicators_) label->hide();
    progressText_ = new QLabel(statusBar());
    progressBar_ = new QProgressBar(statusBar());
    progressBar_->setRange(0, 100);
    progressBar_->setFixedWidth(300);
    progressText_->move(4, 2);
    progressText_->show();
    progressBar_->show();
  }
  progressText_->setText(fromCodePage(text));
  placeStatusProgress();
  if (percent >= 0) progressBar_->setValue(percent);
  QApplication::processEvents();
  return true;
}

void CMainFrame::placeStatusProgress() {
  // The text pane is 190 pixels wide, and wider when its text needs it, so that it is shown
  // whole; the bar follows it, 200 pixels from the left at least.
  int text = std::max(190, progressText_->fontMetrics().horizontalAdvance(progressText_->text()) + 8);
  int height = statusBar()->height() - 4;
  progressText_->setGeometry(4, 2, text, height);
  progressBar_->setGeometry(std::max(200, text + 10), 2, 300, height);
}

void CMainFrame::letEventsThrough() { QApplication::processEvents(); }

void CMainFrame::endStatusProgress() {
  delete progressText_;
  delete progressBar_;
  progressText_ = nullptr;
  progressBar_ = nullptr;
  message_->show();
  message_->setText(fromCodePage(str(57345)));
  for (QLabel* label : indicators_) label->show();
}

CChildFrame* CMainFrame::activeChild() const {
  return dynamic_cast<CChildFrame*>(area_->activeSubWindow());
}

std::vector<CChildFrame*> CMainFrame::children() const {
  std::vector<CChildFrame*> out;
  for (QMdiSubWindow* w : area_->subWindowList()) {
    if (auto* child = dynamic_cast<CChildFrame*>(w)) out.push_back(child);
  }
  return out;
}

ViewServices CMainFrame::viewServices() {
  return {core_.preferences, core_.ui, core_.progress,
          qt::dialogContext(this, core_.ui, &core_.machine.files()), programFolderOf(core_.machine),
          [this](const std::string& title, const std::string& filter) {
            std::optional<std::string> chosen;
            if (core_.unattended) return chosen;
            QString file = QFileDialog::getOpenFileName(this, fromCodePage(title), {}, fromCodePage(filter));
            if (!file.isEmpty()) chosen = file.toStdString();
            return chosen;
          },
          core_.escape};
}

CChildFrame* CMainFrame::addFrame(std::unique_ptr<ScriptDocument> document) {
  auto* child = new CChildFrame(std::move(document), viewServices(), *this);
  area_->addSubWindow(child);
  child->resize(std::max(320, area_->width() * 2 / 3), std::max(240, area_->height() * 3 / 4));
  child->show();
  area_->setActiveSubWindow(child);
  updateActions();
  return child;
}

CChildFrame* CMainFrame::newDocument() {
  auto document = std::make_unique<ScriptDocument>(core_.context(), core_.machine);
  document->createNew(++untitled_);
  return addFrame(std::move(document));
}

CChildFrame* CMainFrame::openDocument(const std::filesystem::path& hostPath) {
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::weakly_canonical(std::filesystem::absolute(hostPath), ec);
  if (ec) absolute = std::filesystem::absolute(hostPath);
  for (CChildFrame* child : children()) {
    if (child->document().hasFile() && child->document().hostPath() == absolute) {
      area_->setActiveSubWindow(child);
      return child;
    }
  }
  auto document = std::make_unique<ScriptDocument>(core_.context(), core_.machine);
  if (!document->open(absolute)) return nullptr;
  CChildFrame* frame = addFrame(std::move(document));
  core_.noteRecentFile(absolute.string());
  updateRecentFiles();
  if (core_.preferences.autoCheck) {
    frame->document().doc.runningAfterLoad = true;
    frame->view().run(builder::command::CheckIntegrity);
    frame->document().doc.runningAfterLoad = false;
  }
  return frame;
}

std::optional<std::string> CMainFrame::chooseDocument(bool save, const std::string& current) {
  if (core_.unattended) return std::nullopt;
  QString filter = "Corvix Scripts (*.cvx);;All (*)";
  QString file = save ? QFileDialog::getSaveFileName(this, "Save As", fromHostPath(current), filter)
                      : QFileDialog::getOpenFileName(this, "Open", fromHostPath(current), filter);
  if (file.isEmpty()) return std::nullopt;
  return file.toStdString();
}

bool CMainFrame::saveDocument(CChildFrame& child, bool askName) {
  return commands_->save(child.document(), askName);
}

bool CMainFrame::saveModified(CChildFrame& child) { return commands_->mayClose(child.document()); }

CommandState CMainFrame::state(int cmd) const { return commands_->state(cmd); }

void CMainFrame::updateActions() {
  for (auto& [cmd, a] : actions_) {
    CommandState s = state(cmd);
    a->setEnabled(s.enabled);
    if (a->isCheckable()) a->setChecked(s.checked);
  }
  CChildFrame* child = activeChild();
  if (child) {
    UndoStack& undo = child->document().undo();
    action(command::Undo)->setText(fromCodePage(frame::undoText(undo.undoName())));
    action(command::Redo)->setText(fromCodePage(frame::redoText(undo.redoName())));
    for (CChildFrame* c : children()) c->updateTitle();
  }
  updateTitle();
}

void CMainFrame::updateTitle() {
  std::optional<std::string> document;
  CChildFrame* child = activeChild();
  if (child) document = child->document().frameTitle();
  QString title = fromCodePage(frame::frameTitle(str(sid::Title), document, child && child->isMaximized()));
  if (windowTitle() != title) setWindowTitle(title);
}

void CMainFrame::fillWindowMenu() {
  for (QAction* a : windowActions_) {
    windowMenu_->removeAction(a);
    delete a;
  }
  windowActions_.clear();
  std::vector<CChildFrame*> open = children();
  if (open.empty()) return;
  windowActions_.push_back(windowMenu_->addSeparator());
  CChildFrame* current = activeChild();
  for (std::size_t i = 0; i < open.size(); ++i) {
    CChildFrame* child = open[i];
    QAction* a = windowMenu_->addAction(fromCodePage(frame::windowItemText(i, child->document().frameTitle())));
    a->setCheckable(true);
    a->setChecked(child == current);
    QPointer<CChildFrame> target(child);
    connect(a, &QAction::triggered, this, [this, target] {
      if (target) area_->setActiveSubWindow(target);
    });
    windowActions_.push_back(a);
  }
}

void CMainFrame::updateRecentFiles() {
  for (int i = 0; i < int(frame::kRecentFiles); ++i) {
    QAction* a = action(command::FirstRecentFile + i);
    bool shown = std::size_t(i) < core_.recentFiles.size();
    a->setVisible(shown);
    if (shown) a->setText(fromHostPath(frame::recentFileText(std::size_t(i), core_.recentFiles[std::size_t(i)])));
  }
}

bool CMainFrame::run(int cmd) { return commands_->run(cmd); }

void CMainFrame::showVersionInfo() {
  qt::runVersionSheet(qt::dialogContext(this, core_.ui, &core_.machine.files()), core_.machine.files(),
                      programFolderOf(core_.machine));
}

prefs::WindowState CMainFrame::windowState() const {
  prefs::WindowState state = core_.window;
  state.top = geometry_.top;
  state.left = geometry_.left;
  state.width = geometry_.width;
  state.height = geometry_.height;
  state.status = isMinimized() ? 1 : isMaximized() ? 2 : 0;
  QByteArray bars = saveState();
  state.barState.assign(bars.constData(), std::size_t(bars.size()));
  return state;
}

void CMainFrame::showAsStored() {
  const prefs::WindowState& s = core_.window;
  if (s.hasGeometry()) {
    move(s.left, s.top);
    resize(s.width, s.height);
    show();
  } else if (s.status == 1) {
    showMinimized();
  } else if (s.status == 0) {
    resize(900, 640);
    show();
  } else {
    showMaximized();
  }
}

void CMainFrame::recordGeometry() {
  if (isMinimized() || isMaximized() || !isVisible()) return;
  geometry_.left = geometry().x();
  geometry_.top = geometry().y();
  geometry_.width = geometry().width();
  geometry_.height = geometry().height();
}

void CMainFrame::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  recordGeometry();
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  recordGeometry();
}

void CMainFrame::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) recordGeometry();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  for (CChildFrame* child : children()) {
    area_->setActiveSubWindow(child);
    if (!child->close()) {
      event->ignore();
      return;
    }
  }
  core_.window = windowState();
  event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  // Files dropped outside a tree view are opened as documents.
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) openDocument(url.toLocalFile().toStdString());
  }
  event->acceptProposedAction();
}

}  // namespace vandrel::builder::app
