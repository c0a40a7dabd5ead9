// The script tree of a document as a tree-view common control: one control item per tree
// item with its label and picture (an image list of the tree's 14 pictures at 16 or 32
// pixels), kept in step with every change the tree reports (inserted, removed, relabelled,
// sorted, scrolled into view). The control's notifications go to its parent, the document
// window; Enter and Escape are handed to the key handler before the control sees them.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <unordered_map>

#include "builder/tree/script_tree.h"
#include "builder/win32/tree_pictures.h"

namespace vandrel::builder::win32 {

class TreeView : private TreeObserver {
 public:
  explicit TreeView(ScriptTree& tree);
  ~TreeView() override;
  TreeView(const TreeView&) = delete;
  TreeView& operator=(const TreeView&) = delete;

  // Makes the control in parent with every item of the tree, the root expanded.
  bool create(HWND parent, int id);
  HWND handle() const { return window_; }

  // The pictures at the tree's icon size.
  void applyIconSize();
  // Selects the item in the control (and scrolls to it when asked).
  void select(ItemHandle item, bool scroll);
  ItemHandle handleOf(HTREEITEM item) const;
  HTREEITEM itemOf(ItemHandle handle) const;
  // The item under a point of the screen; 0 when none.
  ItemHandle itemAt(POINT screen) const;
  // The control's items as it shows them, one line each, indented two spaces per level, with
  // the picture's number: "  Files [5]". For tests.
  std::string outline() const;

  // A key the tree keeps for itself (Enter, Escape): true when the handler took it.
  std::function<bool(int virtualKey)> keyHandler;

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HTREEITEM insert(ItemHandle handle, HTREEITEM parent, HTREEITEM after);
  void insertWithChildren(ItemHandle handle, HTREEITEM parent, HTREEITEM after);
  void forget(HTREEITEM item);
  void outlineOf(HTREEITEM item, int depth, std::string& out) const;

  void itemInserted(ItemHandle item) override;
  void itemRemoved(ItemHandle item) override;
  void itemChanged(ItemHandle item) override;
  void childrenReordered(ItemHandle parent) override;
  void scrollIntoView(ItemHandle item) override;

  ScriptTree& tree_;
  HWND window_ = nullptr;
  WNDPROC default_ = nullptr;
  HIMAGELIST images_ = nullptr;
  std::unordered_map<ItemHandle, HTREEITEM> items_;
};

}  // namespace vandrel::builder::win32
