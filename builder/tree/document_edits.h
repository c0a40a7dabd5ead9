// Undo and redo of document edits. Each edit is kept as a command holding the document's
// content before and after it, so every kind of edit (an entry page's OK, an erase, a toggle,
// a drop, an assistant, a settings sheet) is undone and redone the same way; the entry tree
// then follows the restored content.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "builder/model/script_doc.h"
#include "builder/tree/script_tree.h"

namespace vandrel::builder {

// What an author edits in a document: the settings and the entry lists. The file's path, the
// summary record and the key counter are not part of it, so that undoing never hands out a
// key that an item of the tree still carries.
struct DocumentContent : AuthoredContent {
  static DocumentContent of(const CScriptDoc& doc);
  // Puts the content back into the document's tree: items of entries that are gone are
  // removed, missing ones inserted, every entry relabelled and each category sorted. The
  // fixed items (the predefined directories included) stay as they are.
  void restore(ScriptTree& tree) const;

  bool operator==(const DocumentContent&) const = default;
};

// One edit as a command object: its menu name and the content on either side of it.
class DocumentEdit {
 public:
  DocumentEdit(std::string name, DocumentContent before, DocumentContent after)
      : name_(std::move(name)), before_(std::move(before)), after_(std::move(after)) {}
  const std::string& name() const { return name_; }
  void undo(ScriptTree& tree) const { before_.restore(tree); }
  void redo(ScriptTree& tree) const { after_.restore(tree); }

 private:
  std::string name_;
  DocumentContent before_;
  DocumentContent after_;
};

// The undo history of one document. Edits run through perform(); the document's modified flag
// follows the history: after undoing back to the state last saved the document is unmodified.
class UndoStack {
 public:
  static constexpr std::size_t kDefaultLimit = 100;

  explicit UndoStack(ScriptTree& tree, std::size_t limit = kDefaultLimit);

  // Runs edit; when it changed the document's content the change becomes one command named
  // name (redo history is dropped). Returns what edit returned.
  bool perform(const std::string& name, const std::function<bool()>& edit);

  bool canUndo() const { return position_ > 0; }
  bool canRedo() const { return position_ < edits_.size(); }
  // The names of the commands undo and redo would take back or do again; empty when none.
  std::string undoName() const;
  std::string redoName() const;
  bool undo();
  bool redo();

  // The document was saved (or loaded): the current state is the clean one.
  void markClean();
  bool isClean() const { return clean_ == position_; }
  std::size_t size() const { return edits_.size(); }

 private:
  void followCleanState();

  ScriptTree& tree_;
  std::size_t limit_;
  std::vector<DocumentEdit> edits_;
  std::size_t position_ = 0;  // edits_[0, position_) are done
  // Position of the clean state; npos when it was dropped from the history.
  std::size_t clean_ = 0;
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);
};

}  // namespace vandrel::builder
