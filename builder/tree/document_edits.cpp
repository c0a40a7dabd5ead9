// The undo history: content snapshots and the tree brought in line with a restored one.
#include "builder/tree/document_edits.h"

namespace vandrel::builder {

DocumentContent DocumentContent::of(const CScriptDoc& doc) {
  DocumentContent content;
  static_cast<AuthoredContent&>(content) = doc;
  return content;
}

void DocumentContent::restore(ScriptTree& tree) const {
  CScriptDoc& doc = tree.document();
  static_cast<AuthoredContent&>(doc) = *this;
  doc.updateTitle();

  ItemHandle selection = tree.selection();
  for (const EntryKind& kind : kEntryKinds) {
    const int category = kind.category;
    std::vector<ItemHandle> children = tree.children(tree.categoryItem(category));
    for (ItemHandle child : children) {
      if (tree.kind(child) == ItemKind::Entry && doc.findEntry(category, child) < 0) {
        tree.removeItem(child);
      }
    }
  }
  tree.syncFromDocument();
  for (const EntryKind& kind : kEntryKinds) {
    const int category = kind.category;
    for (ItemHandle child : tree.children(tree.categoryItem(category))) {
      if (tree.kind(child) == ItemKind::Entry) tree.relabel(child);
    }
    tree.sortCategory(category);
  }
  // An entry that came back is not selected; a removed one leaves the root selected.
  tree.select(tree.item(selection) ? selection : tree.root());
}

UndoStack::UndoStack(ScriptTree& tree, std::size_t limit) : tree_(tree), limit_(limit) {}

bool UndoStack::perform(const std::string& name, const std::function<bool()>& edit) {
  DocumentContent before = DocumentContent::of(tree_.document());
  bool result = edit();
  DocumentContent after = DocumentContent::of(tree_.document());
  if (after == before) return result;
  edits_.erase(edits_.begin() + std::ptrdiff_t(position_), edits_.end());
  if (clean_ != npos && clean_ > position_) clean_ = npos;
  edits_.emplace_back(name, std::move(before), std::move(after));
  ++position_;
  if (edits_.size() > limit_) {
    edits_.erase(edits_.begin());
    --position_;
    clean_ = clean_ == 0 || clean_ == npos ? npos : clean_ - 1;
  }
  return result;
}

std::string UndoStack::undoName() const { return canUndo() ? edits_[position_ - 1].name() : ""; }
std::string UndoStack::redoName() const { return canRedo() ? edits_[position_].name() : ""; }

bool UndoStack::undo() {
  if (!canUndo()) return false;
  edits_[--position_].undo(tree_);
  followCleanState();
  return true;
}

bool UndoStack::redo() {
  if (!canRedo()) return false;
  edits_[position_++].redo(tree_);
  followCleanState();
  return true;
}

void UndoStack::markClean() { clean_ = position_; }

void UndoStack::followCleanState() { tree_.document().setModifiedFlag(!isClean()); }

}  // namespace vandrel::builder
