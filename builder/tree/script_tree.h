// The entry tree of a script document: the fixed items, one item per entry (its handle is
// the entry key), labels, the sort by label and the category lookup. A widget renders it.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "builder/model/entry_order.h"
#include "builder/model/script_doc.h"

namespace vandrel::builder {

using ItemHandle = EntryKey;

struct TreeItem {
  ItemHandle handle = 0;
  ItemHandle parent = 0;  // 0 for the root
  std::string label;
  int image = 0;
  std::vector<ItemHandle> children;
};

enum class ItemKind { None, Root, Category, SettingsPage, PredefinedDirectory, Entry };

// Told of every change, so that a widget can follow the model.
class TreeObserver {
 public:
  virtual ~TreeObserver() = default;
  virtual void itemInserted(ItemHandle item) = 0;
  virtual void itemRemoved(ItemHandle item) = 0;
  virtual void itemChanged(ItemHandle item) = 0;
  virtual void childrenReordered(ItemHandle parent) = 0;
  virtual void scrollIntoView(ItemHandle item) = 0;
};

class ScriptTree {
 public:
  static constexpr int kMaxLookupSteps = 50;

  // Creates the fixed items and one item per entry of doc, in list order; the root is
  // selected.
  explicit ScriptTree(CScriptDoc& doc);

  CScriptDoc& document() { return doc_; }
  void setObserver(TreeObserver* observer) { observer_ = observer; }

  ItemHandle root() const { return root_; }
  // The item of category 1..11 (0 gives the root); 0 for any other number.
  ItemHandle categoryItem(int category) const;
  ItemHandle settingsPageItem(int page) const;         // pages 0..2
  ItemHandle predefinedDirectoryItem(int index) const;  // 0..3

  const TreeItem* item(ItemHandle handle) const;
  const std::vector<ItemHandle>& children(ItemHandle handle) const;
  ItemKind kind(ItemHandle handle) const;
  // The settings page (0..2) of a settings item, else -1.
  int settingsPage(ItemHandle handle) const;
  // Walking up the parents: the first category item gives its number (1..11); the root, a
  // missing parent or 50 steps give none.
  std::optional<int> categoryOf(ItemHandle handle) const;
  // The entry category (3..10) of an entry item, else nullopt.
  std::optional<int> entryCategory(ItemHandle handle) const;

  ItemHandle selection() const { return selection_; }
  void select(ItemHandle handle);
  void scrollIntoView(ItemHandle handle);

  // An item under a category with a given label, last among its children.
  void insertItem(int category, ItemHandle handle, const std::string& label);
  // An item for a document entry, labelled from the entry.
  void insertEntryItem(int category, EntryKey key);
  void removeItem(ItemHandle handle);
  void setLabel(ItemHandle handle, const std::string& label);
  // Rebuilds an entry item's label from its record.
  void relabel(EntryKey key);
  // Sorts a category's items by label without regard to case; equal labels keep the order of
  // the document's list.
  void sortCategory(int category);
  // Items for the entries that have none yet, appended in list order (after a load).
  void syncFromDocument();
  // Deletes every item under a category; "Directories" gets its four fixed items back.
  void clearCategory(int category);

  // The entry keys of a category in label order: what generation numbers entries by, the
  // same whether or not the category was sorted since the load.
  std::vector<EntryKey> orderedKeys(int category) const;
  // Position of each entry in that order.
  std::unordered_map<EntryKey, int> positions(int category) const;
  // That order for every entry category, as generation takes it.
  EntryOrder entryOrder() const;

  int iconSize() const { return iconSize_; }
  void setIconSize(int pixels) { iconSize_ = pixels == 32 ? 32 : 16; }

 private:
  ItemHandle addItem(ItemHandle parent, const std::string& label, int image, ItemHandle handle = 0);
  void insertPredefinedDirectories();
  std::vector<ItemHandle> sortedByLabel(int category, const std::vector<ItemHandle>& extra) const;

  CScriptDoc& doc_;
  TreeObserver* observer_ = nullptr;
  std::unordered_map<ItemHandle, TreeItem> items_;
  ItemHandle root_ = 0;
  std::vector<ItemHandle> categories_;  // index = category number, [0] = root
  std::vector<ItemHandle> settingsPages_;
  std::vector<ItemHandle> predefined_;
  ItemHandle selection_ = 0;
  int iconSize_ = 16;
};

// The label comparison of the tree's sort: bytes compared without regard to case.
bool labelLess(const std::string& a, const std::string& b);

}  // namespace vandrel::builder
