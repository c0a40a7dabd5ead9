// The tree view's commands, menus, keys and file drop.
#include "builder/qt/tree_view.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "builder/assistants/assistants.h"
#include "builder/codec/document_io.h"
#include "builder/dropimport/drop_import.h"
#include "builder/frame/command_state.h"
#include "builder/generate/file_check.h"
#include "builder/generate/integrity_check.h"
#include "builder/generate/test_install.h"
#include "builder/strings/builder_strings.h"
#include "platform/code_page.h"

namespace vandrel::builder::app {

CMyTreeView::CMyTreeView(ScriptDocument& document, ViewServices services, QWidget* parent)
    : QTreeView(parent), document_(document), services_(std::move(services)) {
  services_.dialogs.parent = this;
  ScriptTree& tree = document_.tree();
  tree.setIconSize(services_.preferences.iconSize);
  model_ = std::make_unique<ScriptTreeModel>(tree);
  pageView_ = qt::makeEntryPageView(dialogs());
  editor_ = std::make_unique<pages::PageEntryEditor>(tree, *pageView_, services_.ui);
  commands_ = std::make_unique<TreeCommands>(tree, services_.preferences, services_.ui, *editor_);
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

CommandState CMyTreeView::state(int cmd) const {
  return frame::documentCommandState(cmd, document_.undo(), *commands_);
}

bool CMyTreeView::edit(const std::string& name, const std::function<bool()>& action) {
  bool done = document_.undo().perform(name, action);
  // The tree may have dropped the selected item (an erase); the view shows what it holds.
  ItemHandle selection = document_.tree().selection();
  selectItem(selection ? selection : document_.tree().root());
  emit changed();
  return done;
}

bool CMyTreeView::properties() {
  return edit(str(sid::PropertiesCaption), [this] {
    PropertiesTarget target = commands_->properties();
    switch (target.kind) {
      case PropertiesTarget::Kind::Background: return qt::runBackgroundSheet(dialogs(), document_.doc);
      case PropertiesTarget::Kind::EndOfInstall: return qt::runEndSheet(dialogs(), document_.doc);
      case PropertiesTarget::Kind::InstallSummary: return summary();
      case PropertiesTarget::Kind::SettingsPage:
        return qt::runSettingsSheet(dialogs(), document_.tree(), target.page, settingsView_);
      case PropertiesTarget::Kind::Entry: return true;
      case PropertiesTarget::Kind::None: return false;
    }
    return false;
  });
}

bool CMyTreeView::run(int cmd) {
  ScriptTree& tree = document_.tree();
  if (!state(cmd).enabled) return false;
  if (const EntryKind* kind = entryKindOfCommand(cmd)) {
    int category = kind->category;
    return edit(str(sid::NewPrefix) + entryKindName(category),
                [this, category] { return commands_->addEntry(category); });
  }
  if (cmd >= builder::command::FirstAssistant && cmd <= builder::command::LastAssistant) {
    int number = cmd - builder::command::FirstAssistant + 1;
    return edit(assistants::assistantTitle(number), [this, &tree, number] {
      return qt::runAssistant(dialogs(), number, tree, services_.preferences);
    });
  }
  switch (cmd) {
    case command::Undo: {
      bool done = document_.undo().undo();
      emit changed();
      return done;
    }
    case command::Redo: {
      bool done = document_.undo().redo();
      emit changed();
      return done;
    }
    case builder::command::SmallIcons:
      commands_->toggleIconSize();
      applyIconSize();
      emit changed();
      return true;
    case builder::command::GeneralSettings:
      return edit(str(sid::SettingsCaption), [this, &tree] {
        return qt::runSettingsSheet(dialogs(), tree, 0, settingsView_);
      });
    case builder::command::BackgroundSettings:
      return edit("Background", [this] { return qt::runBackgroundSheet(dialogs(), document_.doc); });
    case builder::command::EndSettings:
      return edit("End of Install", [this] { return qt::runEndSheet(dialogs(), document_.doc); });
    case builder::command::Erase:
      return edit("Erase", [this] { return commands_->erase(); });
    case builder::command::Properties:
      return properties();
    case builder::command::AddCurrent:
      return edit(str(sid::NewPrefix), [this] { return commands_->addCurrent(); });
    case builder::command::ToggleUninstall:
    case builder::command::ToggleExpand:
    case builder::command::ToggleForceCopy:
    case builder::command::ToggleShared:
      return edit("Toggle", [this, cmd] { return commands_->toggle(cmd); });
    case builder::command::CheckIntegrity: {
      IntegrityCheckOptions options;
      options.defEdit = services_.preferences.defEdit;
      IntegrityCheckResult result =
          runIntegrityCheck(document_.doc, tree, document_.context(), options);
      emit changed();
      return result.outcome == IntegrityCheckResult::Outcome::Done;
    }
    case builder::command::CheckFiles:
      return edit("Check Source Files", [this] {
        FileCheckResult result = runFileCheck(document_.doc, document_.context());
        ui::Message report;
        report.caption = str(sid::Title);
        report.text = fileCheckReport(result);
        report.icon = ui::Icon::Information;
        services_.ui.message(report);
        return result.corrected > 0;
      });
    case builder::command::Summary:
      return edit("Summary", [this] { return summary(); });
    case builder::command::MergeScript:
      return mergeScript();
    case builder::command::Generate:
      return generate(false);
    case builder::command::GenerateScript:
      return generate(true);
    case builder::command::TestInstall:
      return testInstall();
    default:
      return false;
  }
}

bool CMyTreeView::summary() {
  return qt::runSummarySheet(dialogs(), document_.doc, document_.context().files, services_.programFolder);
}

bool CMyTreeView::generate(bool scriptOnly) {
  return edit(scriptOnly ? "Generate Script" : "Generate", [this, scriptOnly] {
    generator_ = std::make_unique<PackageGenerator>(document_.doc, document_.tree().entryOrder(),
                                                    document_.context());
    bool done = scriptOnly ? generator_->regenerateScript()
                           : generator_->generate() == GenerateOutcome::Complete;
    keepGenerationChoices(document_.doc, *generator_);
    return done;
  });
}

bool CMyTreeView::testInstall() {
  return edit("Test", [this] {
    if (!generator_) {
      generator_ = std::make_unique<PackageGenerator>(
          document_.doc, document_.tree().entryOrder(), document_.context());
    }
    TestInstallResult result = runTestInstall(document_.doc, *generator_, document_.context());
    return result.outcome == TestInstallOutcome::Started;
  });
}

bool CMyTreeView::mergeScript() {
  std::optional<std::string> chosen;
  if (services_.chooseFile) {
    if (std::optional<std::string> host = services_.chooseFile(str(sid::PickImportTitle),
                                                               "Corvix Scripts (*.cvx);;All (*)")) {
      chosen = document_.context().files.windowsPath(*host);
    }
  }
  return edit("Merge script", [this, &chosen] {
    LoadDiagnostics diagnostics;
    bool read = importScript(document_.doc, chosen, services_.ui, &diagnostics);
    if (read) {
      document_.tree().syncFromDocument();
      for (const EntryKind& kind : kEntryKinds) document_.tree().sortCategory(kind.category);
    }
    return read;
  });
}

bool CMyTreeView::dropFiles(const std::vector<std::string>& hostPaths) {
  std::vector<std::string> dropped;
  for (const std::string& host : hostPaths) {
    if (std::optional<std::string> windows = document_.context().files.windowsPath(host)) {
      dropped.push_back(*windows);
    }
  }
  if (dropped.empty()) return false;
  return edit("Drop", [this, &dropped] {
    std::unique_ptr<dropimport::DropDialogs> windows = qt::makeDropDialogs(dialogs());
    dropimport::DropImport import(document_.tree(), services_.preferences,
                                  document_.context().files, services_.ui, *windows);
    import.addDirectoryCommand = [this] { return commands_->addEntry(category::Directories); };
    dropimport::DropResult result = import.run(dropped);
    return result.files + result.directories > 0;
  });
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
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      run(builder::command::Properties);
      return;
    case Qt::Key_Escape:
      services_.progress.requestCancel();
      if (services_.escape) services_.escape();
      return;
    default:
      QTreeView::keyPressEvent(event);
  }
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
