// The entry tree of a document as a Qt item model. The adapter keeps its own copy of the
// tree's shape and brings it in line with each change the tree reports, so that the views
// are always told of a change before they see it.
#pragma once

#include <unordered_map>
#include <vector>

#include <QAbstractItemModel>
#include <QIcon>

#include "builder/tree/script_tree.h"

namespace vandrel::builder::app {

class ScriptTreeModel : public QAbstractItemModel, private TreeObserver {
  Q_OBJECT

 public:
  explicit ScriptTreeModel(ScriptTree& tree, QObject* parent = nullptr);
  ~ScriptTreeModel() override;

  ScriptTree& tree() { return tree_; }
  ItemHandle handleOf(const QModelIndex& index) const;
  QModelIndex indexOf(ItemHandle handle) const;
  // The 14 images at 16 or 32 pixels (the tree's icon size).
  void setIconSize(int pixels);

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  Qt::DropActions supportedDropActions() const override;
  QStringList mimeTypes() const override;

 signals:
  // The tree asked for an item to be scrolled into view.
  void scrollRequested(const QModelIndex& index);

 private:
  struct Node {
    ItemHandle parent = 0;
    std::vector<ItemHandle> children;
  };

  void itemInserted(ItemHandle item) override;
  void itemRemoved(ItemHandle item) override;
  void itemChanged(ItemHandle item) override;
  void childrenReordered(ItemHandle parent) override;
  void scrollIntoView(ItemHandle item) override;

  void adopt(ItemHandle handle, ItemHandle parent);
  void forget(ItemHandle handle);
  int rowOf(ItemHandle handle) const;

  ScriptTree& tree_;
  std::unordered_map<ItemHandle, Node> nodes_;
  std::vector<QIcon> icons_;
};

}  // namespace vandrel::builder::app
