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

// The tree's commands in the menus, by menu: text, command, shortcut.
// Keys are plain key codes: a QKeySequence may not be made before the application exists.
struct MenuEntry {
  const char* text;
  int command;
  int keys = 0;
};

// The "Script" menu: these items, then each entry kind's "New" command, then the rest.
const MenuEntry kScriptMenu[] = {
    {"Ge&neral settings...", builder::command::GeneralSettings},
    {"&Background...", builder::command::BackgroundSettings},
    {nullptr, 0},
};

const MenuEntry kScriptMenuAfterKinds[] = {
    {"&End...", builder::command::EndSettings},
    {nullptr, 0},
    {"&Erase selection...", builder::command::Erase, Qt::Key_Delete},
    {"&Properties...", builder::command::Properties, (Qt::ALT | Qt::Key_Return).toCombined()},
    {"&Add current...", builder::command::AddCurrent, Qt::Key_Insert},
    {nullptr, 0},
    {"&Uninstall file", builder::command::ToggleUninstall},
    {"&LZ Expand", builder::command::ToggleExpand},
    {"&Force copy", builder::command::ToggleForceCopy},
    {"&Shared file", builder::command::ToggleShared},
};

const MenuEntry kToolsMenu[] = {
    {"&Check Integrity...", builder::command::CheckIntegrity},
    {"Check Source &Files...", builder::command::CheckFiles},
    {"&Summary...", builder::command::Summary},
    {nullptr, 0},
    {"&Generate...", builder::command::Generate, Qt::Key_F7},
    {"Generate S&cript...", builder::command::GenerateScript},
    {"&Test...", builder::command::TestInstall, Qt::Key_F5},
    {nullptr, 0},
    // The assistants, which the tree view starts from its Tools menu.
    {"E&xtension maker...", builder::command::FirstAssistant},
    {"&Autostart programs...", builder::command::FirstAssistant + 1},
    {"&Path registration...", builder::command::FirstAssistant + 2},
    {"Product &registration...", builder::command::FirstAssistant + 3},
    {"Desktop settings...", builder::command::LastAssistant},
};

bool isCheckable(int command) {
  return command == builder::command::SmallIcons || command == command::ViewToolbar ||
         command == command::ViewStatusBar ||
         (command >= builder::command::ToggleUninstall && command <= builder::command::ToggleShared);
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

// ---- the frame ----

CMainFrame::CMainFrame(BuilderCore& core) : core_(core) {
  setWindowTitle(fromCodePage(str(sid::Title)));
  setObjectName("CMainFrame");
  area_ = new BackgroundArea(core_.machine.files(), this);
  // A document window moved partly outside the area stays reachable through the scroll bars.
  area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  area_->apply(core_.window);
  setCentralWidget(area_);
  setAcceptDrops(true);
  makeActions();
  makeMenus();
  makeToolbar();
  makeStatusBar();
  geometry_ = core_.window;
  const std::string& bars = core_.window.barState;
  if (!bars.empty()) restoreState(QByteArray(bars.data(), qsizetype(bars.size())));
  connect(area_, &QMdiArea::subWindowActivated, this, [this] { updateActions(); });
  connect(area_, &BackgroundArea::contextMenuRequested, this, [this](const QPoint& at) {
    QMenu menu(this);
    menu.addAction(action(command::FileNew));
    menu.actions().back()->setText("&New Script");
    menu.addAction(action(command::Preferences));
    menu.addAction(action(command::ViewToolbar));
    menu.addAction(action(command::ViewStatusBar));
    menu.exec(at);
    action(command::FileNew)->setText("&New");
  });
  updateActions();
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::addCommand(QMenu* menu, int cmd, const char* text, const QKeySequence& keys) {
  auto* a = new QAction(QString::fromUtf8(text), this);
  a->setData(cmd);
  if (!keys.isEmpty()) a->setShortcut(keys);
  a->setCheckable(isCheckable(cmd));
  connect(a, &QAction::triggered, this, [this, cmd] { run(cmd); });
  actions_[cmd] = a;
  if (menu) menu->addAction(a);
  return a;
}

QAction* CMainFrame::action(int cmd) const {
  auto it = actions_.find(cmd);
  return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::makeActions() {}

void CMainFrame::makeMenus() {
  fileMenu_ = menuBar()->addMenu("&File");
  addCommand(fileMenu_, command::FileNew, "&New", QKeySequence::New);
  addCommand(fileMenu_, command::FileOpen, "&Open...", QKeySequence::Open);
  addCommand(fileMenu_, command::FileClose, "&Close");
  addCommand(fileMenu_, command::FileSave, "&Save", QKeySequence::Save);
  addCommand(fileMenu_, command::FileSaveAs, "Save &As...");
  fileMenu_->addSeparator();
  addCommand(fileMenu_, builder::command::MergeScript, "&Merge script...");
  fileMenu_->addSeparator();
  recentMenu_ = fileMenu_->addMenu("Recent &Files");
  for (int i = 0; i < int(kRecentFiles); ++i) addCommand(recentMenu_, command::FirstRecentFile + i, "");
  fileMenu_->addSeparator();
  addCommand(fileMenu_, command::Exit, "E&xit");

  QMenu* edit = menuBar()->addMenu("&Edit");
  addCommand(edit, command::Undo, "&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z));
  addCommand(edit, command::Redo, "&Redo", QKeySequence(Qt::CTRL | Qt::Key_Y));

  QMenu* view = menuBar()->addMenu("&View");
  addCommand(view, command::ViewToolbar, "&Toolbar");
  addCommand(view, command::ViewStatusBar, "&Status Bar");
  addCommand(view, builder::command::SmallIcons, "Small Icons");
  view->addSeparator();
  addCommand(view, command::Preferences, "&Preferences...");

  QMenu* script = menuBar()->addMenu("&Script");
  for (const MenuEntry& e : kScriptMenu) {
    if (!e.text) script->addSeparator();
    else addCommand(script, e.command, e.text, QKeySequence(e.keys));
  }
  for (const EntryKind& kind : kEntryKinds) {
    addCommand(script, kind.addCommand, kind.menuText, QKeySequence(0));
  }
  for (const MenuEntry& e : kScriptMenuAfterKinds) {
    if (!e.text) script->addSeparator();
    else addCommand(script, e.command, e.text, QKeySequence(e.keys));
  }
  QMenu* tools = menuBar()->addMenu("&Tools");
  for (const MenuEntry& e : kToolsMenu) {
    if (!e.text) tools->addSeparator();
    else addCommand(tools, e.command, e.text, QKeySequence(e.keys));
  }

  windowMenu_ = menuBar()->addMenu("&Window");
  addCommand(windowMenu_, command::WindowCascade, "&Cascade");
  addCommand(windowMenu_, command::WindowTile, "&Tile");
  connect(windowMenu_, &QMenu::aboutToShow, this, [this] { fillWindowMenu(); });

  // The tip of the day comes first in the Help menu, followed by a separator.
  QMenu* help = menuBar()->addMenu(fromCodePage(str(126)));
  addCommand(help, command::TipOfTheDay, "Ti&p of the Day...");
  help->addSeparator();
  addCommand(help, command::VersionInfo, "&Version Info...");
  addCommand(help, command::About, "&About Corvix...");

  for (QMenu* menu : findChildren<QMenu*>()) {
    connect(menu, &QMenu::aboutToShow, this, [this] { updateActions(); });
  }
  updateRecentFiles();
}

void CMainFrame::makeToolbar() {
  toolbar_ = addToolBar(fromCodePage(str(200)));
  toolbar_->setObjectName("Standard");
  const std::pair<int, QStyle::StandardPixmap> buttons[] = {
      {command::FileNew, QStyle::SP_FileIcon},
      {command::FileOpen, QStyle::SP_DialogOpenButton},
      {command::FileSave, QStyle::SP_DialogSaveButton},
      {0, QStyle::SP_CustomBase},
      {command::Undo, QStyle::SP_ArrowBack},
      {command::Redo, QStyle::SP_ArrowForward},
      {0, QStyle::SP_CustomBase},
      {builder::command::Properties, QStyle::SP_FileDialogDetailedView},
      {builder::command::Erase, QStyle::SP_TrashIcon},
      {0, QStyle::SP_CustomBase},
      {builder::command::Generate, QStyle::SP_DriveHDIcon},
      {builder::command::TestInstall, QStyle::SP_MediaPlay},
      {0, QStyle::SP_CustomBase},
      {command::About, QStyle::SP_MessageBoxQuestion},
  };
  for (const auto& [cmd, icon] : buttons) {
    if (cmd == 0) {
      toolbar_->addSeparator();
      continue;
    }
    QAction* a = action(cmd);
    a->setIcon(style()->standardIcon(icon));
    a->setToolTip(a->text().remove('&').remove("..."));
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
  ScriptDocument& document = child.document();
  bool done = false;
  if (!askName && document.hasFile()) {
    done = document.save();
  } else {
    std::optional<std::string> path = chooseDocument(true, document.hostPath().string());
    if (!path) return false;
    std::filesystem::path file(*path);
    if (file.extension().empty()) file += ".cvx";
    done = document.saveAs(file);
  }
  if (done) {
    core_.noteRecentFile(document.hostPath().string());
    updateRecentFiles();
  }
  child.updateTitle();
  updateActions();
  return done;
}

bool CMainFrame::saveModified(CChildFrame& child) {
  ScriptDocument& document = child.document();
  if (!document.doc.isModified()) return true;
  ui::Message question;
  question.caption = str(sid::Title);
  std::string name = document.windowTitle();
  if (name.size() > 2 && name.compare(name.size() - 2, 2, " *") == 0) name.resize(name.size() - 2);
  question.text = "Save changes to " + name + "?";
  question.buttons = ui::Buttons::YesNoCancel;
  question.icon = ui::Icon::Exclamation;
  switch (core_.ui.message(question)) {
    case ui::Answer::Yes: return saveDocument(child, false);
    case ui::Answer::No: return true;
    default: return false;
  }
}

CommandState CMainFrame::state(int cmd) const {
  CChildFrame* child = activeChild();
  switch (cmd) {
    case command::FileNew:
    case command::FileOpen:
    case command::Exit:
    case command::Preferences:
    case command::VersionInfo:
    case command::About:
    case command::TipOfTheDay:
      return {true, false};
    case command::ViewToolbar: return {true, toolbar_ && toolbar_->isVisible()};
    case command::ViewStatusBar: return {true, statusBar()->isVisible()};
    case command::FileClose:
    case command::FileSave:
    case command::FileSaveAs:
    case command::WindowCascade:
    case command::WindowTile:
      return {child != nullptr, false};
    default:
      if (cmd >= command::FirstRecentFile && cmd < command::FirstRecentFile + int(kRecentFiles)) {
        return {std::size_t(cmd - command::FirstRecentFile) < core_.recentFiles.size(), false};
      }
      return child ? child->view().state(cmd) : CommandState{};
  }
}

void CMainFrame::updateActions() {
  for (auto& [cmd, a] : actions_) {
    CommandState s = state(cmd);
    a->setEnabled(s.enabled);
    if (a->isCheckable()) a->setChecked(s.checked);
  }
  CChildFrame* child = activeChild();
  if (child) {
    UndoStack& undo = child->document().undo();
    action(command::Undo)->setText(fromCodePage("&Undo " + undo.undoName()).trimmed());
    action(command::Redo)->setText(fromCodePage("&Redo " + undo.redoName()).trimmed());
    for (CChildFrame* c : children()) c->updateTitle();
  }
  updateTitle();
}

void CMainFrame::updateTitle() {
  QString title = fromCodePage(str(sid::Title));
  if (CChildFrame* child = activeChild()) {
    // A maximised document shares the frame's title bar: its title goes in brackets.
    QString document = child->windowTitle();
    title += child->isMaximized() ? " - [" + document + "]" : " - " + document;
  }
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
    QString text = i < 9 ? QString("&%1 %2").arg(i + 1).arg(child->windowTitle())
                         : QString("%1 %2").arg(i + 1).arg(child->windowTitle());
    QAction* a = windowMenu_->addAction(text);
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
  for (int i = 0; i < int(kRecentFiles); ++i) {
    QAction* a = action(command::FirstRecentFile + i);
    bool shown = std::size_t(i) < core_.recentFiles.size();
    a->setVisible(shown);
    if (shown) a->setText(QString("&%1 %2").arg(i + 1).arg(fromHostPath(core_.recentFiles[std::size_t(i)])));
  }
}

bool CMainFrame::run(int cmd) {
  if (!state(cmd).enabled) return false;
  CChildFrame* child = activeChild();
  bool done = true;
  switch (cmd) {
    case command::FileNew: newDocument(); break;
    case command::FileOpen:
      if (std::optional<std::string> file = chooseDocument(false, {})) {
        done = openDocument(*file) != nullptr;
      } else {
        done = false;
      }
      break;
    case command::FileClose: done = child->close(); break;
    case command::FileSave: done = saveDocument(*child, false); break;
    case command::FileSaveAs: done = saveDocument(*child, true); break;
    case command::Exit: done = close(); break;
    case command::ViewToolbar: toolbar_->setVisible(!toolbar_->isVisible()); break;
    case command::ViewStatusBar: statusBar()->setVisible(!statusBar()->isVisible()); break;
    case command::Preferences: done = runPreferences(this, core_, backgroundOf(*area_)); break;
    case command::VersionInfo: showVersionInfo(); break;
    case command::About: runAbout(this, core_); break;
    case command::TipOfTheDay: runTipOfTheDay(this, core_, false); break;
    case command::WindowCascade: area_->cascadeSubWindows(); break;
    case command::WindowTile: area_->tileSubWindows(); break;
    default:
      if (cmd >= command::FirstRecentFile && cmd < command::FirstRecentFile + int(kRecentFiles)) {
        std::string file = core_.recentFiles[std::size_t(cmd - command::FirstRecentFile)];
        done = openDocument(file) != nullptr;
        break;
      }
      done = child && child->view().run(cmd);
      if (child) child->updateTitle();
  }
  updateActions();
  return done;
}

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
