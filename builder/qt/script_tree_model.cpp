// The tree adapter: a shadow of the tree's shape that changes in step with the signals.
#include "builder/qt/script_tree_model.h"

#include <algorithm>

#include "builder/qt/tree_pictures.h"
#include "platform/code_page.h"

namespace vandrel::builder::app {

ScriptTreeModel::ScriptTreeModel(ScriptTree& tree, QObject* parent)
    : QAbstractItemModel(parent), tree_(tree), icons_(qt::treeIcons(tree.iconSize())) {
  nodes_[0] = Node{};
  adopt(tree_.root(), 0);
  tree_.setObserver(this);
}

ScriptTreeModel::~ScriptTreeModel() { tree_.setObserver(nullptr); }

void ScriptTreeModel::adopt(ItemHandle handle, ItemHandle parent) {
  nodes_[parent].children.push_back(handle);
  nodes_[handle] = Node{parent, {}};
  for (ItemHandle child : tree_.children(handle)) adopt(child, handle);
}

void ScriptTreeModel::forget(ItemHandle handle) {
  auto it = nodes_.find(handle);
  if (it == nodes_.end()) return;
  for (ItemHandle child : std::vector<ItemHandle>(it->second.children)) forget(child);
  nodes_.erase(handle);
}

int ScriptTreeModel::rowOf(ItemHandle handle) const {
  auto it = nodes_.find(handle);
  if (it == nodes_.end()) return -1;
  const auto& siblings = nodes_.at(it->second.parent).children;
  auto at = std::find(siblings.begin(), siblings.end(), handle);
  return at == siblings.end() ? -1 : int(at - siblings.begin());
}

ItemHandle ScriptTreeModel::handleOf(const QModelIndex& index) const {
  return index.isValid() ? ItemHandle(index.internalId()) : 0;
}

QModelIndex ScriptTreeModel::indexOf(ItemHandle handle) const {
  int row = handle == 0 ? -1 : rowOf(handle);
  return row < 0 ? QModelIndex() : createIndex(row, 0, quintptr(handle));
}

void ScriptTreeModel::setIconSize(int pixels) {
  icons_ = qt::treeIcons(pixels);
  // Every item's picture changed; the shape did not.
  emit layoutAboutToBeChanged();
  emit layoutChanged();
}

QModelIndex ScriptTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0) return {};
  auto it = nodes_.find(handleOf(parent));
  if (it == nodes_.end() || row >= int(it->second.children.size())) return {};
  return createIndex(row, 0, quintptr(it->second.children[std::size_t(row)]));
}

QModelIndex ScriptTreeModel::parent(const QModelIndex& child) const {
  auto it = nodes_.find(handleOf(child));
  if (it == nodes_.end() || it->second.parent == 0) return {};
  return indexOf(it->second.parent);
}

int ScriptTreeModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() && parent.column() != 0) return 0;
  auto it = nodes_.find(handleOf(parent));
  return it == nodes_.end() ? 0 : int(it->second.children.size());
}

int ScriptTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant ScriptTreeModel::data(const QModelIndex& index, int role) const {
  const TreeItem* item = tree_.item(handleOf(index));
  if (!item) return {};
  if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
    return QString::fromStdString(platform::cp1252ToUtf8(item->label));
  }
  if (role == Qt::DecorationRole && item->image >= 0 && item->image < int(icons_.size())) {
    return icons_[std::size_t(item->image)];
  }
  return {};
}

Qt::ItemFlags ScriptTreeModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::ItemIsDropEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDropEnabled;
}

Qt::DropActions ScriptTreeModel::supportedDropActions() const { return Qt::CopyAction; }

QStringList ScriptTreeModel::mimeTypes() const { return {"text/uri-list"}; }

void ScriptTreeModel::itemInserted(ItemHandle item) {
  const TreeItem* inserted = tree_.item(item);
  if (!inserted || nodes_.count(item) || !nodes_.count(inserted->parent)) return;
  int row = int(nodes_[inserted->parent].children.size());
  beginInsertRows(indexOf(inserted->parent), row, row);
  adopt(item, inserted->parent);
  endInsertRows();
}

void ScriptTreeModel::itemRemoved(ItemHandle item) {
  auto it = nodes_.find(item);
  if (it == nodes_.end()) return;
  ItemHandle parent = it->second.parent;
  int row = rowOf(item);
  beginRemoveRows(indexOf(parent), row, row);
  auto& siblings = nodes_[parent].children;
  siblings.erase(siblings.begin() + row);
  forget(item);
  endRemoveRows();
}

void ScriptTreeModel::itemChanged(ItemHandle item) {
  QModelIndex at = indexOf(item);
  if (at.isValid()) emit dataChanged(at, at);
}

void ScriptTreeModel::childrenReordered(ItemHandle parent) {
  auto it = nodes_.find(parent);
  if (it == nodes_.end()) return;
  const std::vector<ItemHandle>& order = tree_.children(parent);
  if (order == it->second.children) return;
  std::vector<ItemHandle> sortedNew = order, sortedOld = it->second.children;
  std::sort(sortedNew.begin(), sortedNew.end());
  std::sort(sortedOld.begin(), sortedOld.end());
  if (sortedNew != sortedOld) {
    // Not a reordering: the shape is taken afresh.
    beginResetModel();
    nodes_.clear();
    nodes_[0] = Node{};
    adopt(tree_.root(), 0);
    endResetModel();
    return;
  }
  QPersistentModelIndex parentIndex(indexOf(parent));
  emit layoutAboutToBeChanged({parentIndex}, QAbstractItemModel::VerticalSortHint);
  QModelIndexList before = persistentIndexList();
  std::vector<ItemHandle> handles;
  for (const QModelIndex& index : before) handles.push_back(handleOf(index));
  it->second.children = order;
  QModelIndexList after;
  for (ItemHandle handle : handles) after.push_back(indexOf(handle));
  changePersistentIndexList(before, after);
  emit layoutChanged({parentIndex}, QAbstractItemModel::VerticalSortHint);
}

void ScriptTreeModel::scrollIntoView(ItemHandle item) {
  QModelIndex at = indexOf(item);
  if (at.isValid()) emit scrollRequested(at);
}

}  // namespace vandrel::builder::app
