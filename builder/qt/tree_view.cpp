// The tree view: its display, context menu, keys and file drop; its commands run in the frame's
// document commands.
#include "builder/qt/tree_view.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "builder/strings/builder_strings.h"

namespace vandrel::builder::app {

// The view as the document's commands see it: its dialogs and the display of its tree.
class TreeWindow : public frame::DocumentView {
 public:
  explicit TreeWindow(CMyTreeView& view) : v_(view) {}

  bool settingsSheet(int startPage) override {
    return qt::runSettingsSheet(v_.dialogs(), v_.document_.tree(), startPage, v_.settingsView_);
  }
  bool backgroundSheet() override { return qt::runBackgroundSheet(v_.dialogs(), v_.document_.doc); }
  bool endSheet() override { return qt::runEndSheet(v_.dialogs(), v_.document_.doc); }
  bool summarySheet() override {
    return qt::runSummarySheet(v_.dialogs(), v_.document_.doc, v_.document_.context().files,
                               v_.services_.programFolder);
  }
  bool assistant(int number) override {
    return qt::runAssistant(v_.dialogs(), number, v_.document_.tree(), v_.services_.preferences);
  }
  std::optional<std::string> chooseFile(const std::string& title, const std::string& filter) override {
    if (!v_.services_.chooseFile) return std::nullopt;
    return v_.services_.chooseFile(title, filter);
  }
  std::unique_ptr<dropimport::DropDialogs> dropDialogs() override { return qt::makeDropDialogs(v_.dialogs()); }
  void selectItem(ItemHandle item) override { v_.selectItem(item); }
  void iconSizeChanged() override { v_.applyIconSize(); }
  void changed() override { emit v_.changed(); }

 private:
  CMyTreeView& v_;
};

CMyTreeView::CMyTreeView(ScriptDocument& document, ViewServices services, QWidget* parent)
    : QTreeView(parent), document_(document), services_(std::move(services)) {
  services_.dialogs.parent = this;
  ScriptTree& tree = document_.tree();
  tree.setIconSize(services_.preferences.iconSize);
  model_ = std::make_unique<ScriptTreeModel>(tree);
  pageView_ = qt::makeEntryPageView(dialogs());
  editor_ = std::make_unique<pages::PageEntryEditor>(tree, *pageView_, services_.ui);
  commands_ = std::make_unique<TreeCommands>(tree, services_.preferences, services_.ui, *editor_);
  window_ = std::make_unique<TreeWindow>(*this);
  documentCommands_ = std::make_unique<frame::DocumentCommands>(
      document_, *commands_, *window_, services_.preferences, services_.ui, services_.progress, services_.escape);
  setModel(model_.get());
  header()->hide();
  // Long labels are shown whole: the column takes their width, and the view scrolls sideways.
  header()->setStretchLastSection(false);
  header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setTextElideMode(Qt::ElideNone);
  setRootIsDecorated(true);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setAcceptDrops(true);
  setDropIndicatorShown(false);
  setDragDropMode(QAbstractItemView::DropOnly);
  applyIconSize();
  expand(model_->indexOf(tree.root()));
  selectItem(tree.root());
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            document_.tree().select(model_->handleOf(current));
            emit changed();
          });
  connect(model_.get(), &ScriptTreeModel::scrollRequested, this,
          [this](const QModelIndex& index) { scrollTo(index); });
}

CMyTreeView::~CMyTreeView() {
  setModel(nullptr);
}

void CMyTreeView::applyIconSize() {
  int pixels = document_.tree().iconSize();
  model_->setIconSize(pixels);
  setIconSize(QSize(pixels, pixels));
  setIndentation(pixels + 4);
}

void CMyTreeView::selectItem(ItemHandle handle) {
  QModelIndex index = model_->indexOf(handle);
  if (!index.isValid()) return;
  document_.tree().select(handle);
  setCurrentIndex(index);
  if (services_.preferences.ensureVisible) scrollTo(index);
}

CommandState CMyTreeView::state(int cmd) const { return documentCommands_->state(cmd); }

bool CMyTreeView::run(int cmd) { return documentCommands_->run(cmd); }

bool CMyTreeView::dropFiles(const std::vector<std::string>& hostPaths) {
  return documentCommands_->dropFiles(hostPaths);
}

std::unique_ptr<QMenu> CMyTreeView::makeContextMenu() {
  auto menu = std::make_unique<QMenu>(this);
  for (const ContextMenu::Item& item : commands_->contextMenu().items) {
    QAction* action = menu->addAction(QString::fromStdString(item.text));
    action->setData(item.command);
    action->setEnabled(item.enabled);
    if (item.command >= builder::command::ToggleUninstall &&
        item.command <= builder::command::ToggleShared) {
      action->setCheckable(true);
      action->setChecked(item.checked);
    }
  }
  return menu;
}

void CMyTreeView::keyPressEvent(QKeyEvent* event) {
  frame::TreeKey key = frame::TreeKey::Other;
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: key = frame::TreeKey::Enter; break;
    case Qt::Key_Escape: key = frame::TreeKey::Escape; break;
    default: break;
  }
  if (!documentCommands_->key(key)) QTreeView::keyPressEvent(event);
}

void CMyTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
  QModelIndex index = indexAt(event->position().toPoint());
  if (!index.isValid()) return QTreeView::mouseDoubleClickEvent(event);
  selectItem(model_->handleOf(index));
  run(builder::command::Properties);
}

void CMyTreeView::contextMenuEvent(QContextMenuEvent* event) {
  QModelIndex index = indexAt(event->pos());
  if (!index.isValid()) return QTreeView::contextMenuEvent(event);
  selectItem(model_->handleOf(index));
  std::unique_ptr<QMenu> menu = makeContextMenu();
  if (QAction* chosen = menu->exec(event->globalPos())) run(chosen->data().toInt());
}

void CMyTreeView::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMyTreeView::dragMoveEvent(QDragMoveEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMyTreeView::dropEvent(QDropEvent* event) {
  std::vector<std::string> paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
  }
  event->acceptProposedAction();
  dropFiles(paths);
}

}  // namespace vandrel::builder::app
