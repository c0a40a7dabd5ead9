// The tree-view control over the script tree: its items, pictures and keys.
#include "builder/win32/tree_view.h"

#include <algorithm>
#include <vector>

#include "builder/tree/tree_images.h"
#include "builder/win32/tree_pictures.h"

namespace vandrel::builder::win32 {

namespace {

int CALLBACK compareByOrder(LPARAM first, LPARAM second, LPARAM order) {
  const auto& positions = *reinterpret_cast<const std::unordered_map<ItemHandle, int>*>(order);
  auto a = positions.find(ItemHandle(first));
  auto b = positions.find(ItemHandle(second));
  int pa = a == positions.end() ? 0 : a->second;
  int pb = b == positions.end() ? 0 : b->second;
  return pa < pb ? -1 : pa > pb ? 1 : 0;
}

}  // namespace

TreeView::TreeView(ScriptTree& tree) : tree_(tree) {}

TreeView::~TreeView() {
  tree_.setObserver(nullptr);
  if (window_ && IsWindow(window_)) {
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  if (images_) ImageList_Destroy(images_);
}

bool TreeView::create(HWND parent, int id) {
  window_ = CreateWindowExA(0, WC_TREEVIEWA, nullptr,
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                                TVS_SHOWSELALWAYS,
                            0, 0, 0, 0, parent, reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleA(nullptr),
                            nullptr);
  if (!window_) return false;
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  default_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TreeView::procedure)));
  applyIconSize();
  insertWithChildren(tree_.root(), TVI_ROOT, TVI_LAST);
  TreeView_Expand(window_, itemOf(tree_.root()), TVE_EXPAND);
  tree_.setObserver(this);
  return true;
}

void TreeView::applyIconSize() {
  HIMAGELIST images = makeTreeImages(tree_.iconSize());
  TreeView_SetImageList(window_, images, TVSIL_NORMAL);
  if (images_) ImageList_Destroy(images_);
  images_ = images;
  // The rows follow the pictures' height; the indent leaves the picture room.
  TreeView_SetItemHeight(window_, std::max(tree_.iconSize() + 2, 18));
  TreeView_SetIndent(window_, tree_.iconSize() + 4);
}

HTREEITEM TreeView::insert(ItemHandle handle, HTREEITEM parent, HTREEITEM after) {
  const TreeItem* item = tree_.item(handle);
  if (!item) return nullptr;
  TVINSERTSTRUCTA insert = {};
  insert.hParent = parent;
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  insert.item.pszText = const_cast<char*>(item->label.c_str());
  insert.item.iImage = item->image;
  insert.item.iSelectedImage = item->image;
  insert.item.lParam = LPARAM(handle);
  HTREEITEM made = reinterpret_cast<HTREEITEM>(SendMessageA(window_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  if (made) items_[handle] = made;
  return made;
}

void TreeView::insertWithChildren(ItemHandle handle, HTREEITEM parent, HTREEITEM after) {
  HTREEITEM made = insert(handle, parent, after);
  if (!made) return;
  for (ItemHandle child : tree_.children(handle)) insertWithChildren(child, made, TVI_LAST);
}

void TreeView::forget(HTREEITEM item) {
  for (HTREEITEM child = TreeView_GetChild(window_, item); child; child = TreeView_GetNextSibling(window_, child)) {
    forget(child);
  }
  items_.erase(handleOf(item));
}

ItemHandle TreeView::handleOf(HTREEITEM item) const {
  if (!item) return 0;
  TVITEMA data = {};
  data.mask = TVIF_PARAM | TVIF_HANDLE;
  data.hItem = item;
  if (!SendMessageA(window_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data))) return 0;
  return ItemHandle(data.lParam);
}

HTREEITEM TreeView::itemOf(ItemHandle handle) const {
  auto it = items_.find(handle);
  return it == items_.end() ? nullptr : it->second;
}

ItemHandle TreeView::itemAt(POINT screen) const {
  TVHITTESTINFO hit = {};
  hit.pt = screen;
  ScreenToClient(window_, &hit.pt);
  HTREEITEM item = TreeView_HitTest(window_, &hit);
  return item && (hit.flags & TVHT_ONITEM) ? handleOf(item) : 0;
}

void TreeView::select(ItemHandle handle, bool scroll) {
  HTREEITEM item = itemOf(handle);
  if (!item) return;
  if (TreeView_GetSelection(window_) != item) TreeView_SelectItem(window_, item);
  if (scroll) TreeView_EnsureVisible(window_, item);
}

std::string TreeView::outline() const {
  std::string out;
  for (HTREEITEM item = TreeView_GetRoot(window_); item; item = TreeView_GetNextSibling(window_, item)) {
    outlineOf(item, 0, out);
  }
  return out;
}

void TreeView::outlineOf(HTREEITEM item, int depth, std::string& out) const {
  char text[512] = {};
  TVITEMA data = {};
  data.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_HANDLE;
  data.hItem = item;
  data.pszText = text;
  data.cchTextMax = sizeof text;
  SendMessageA(window_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
  out += std::string(std::size_t(depth) * 2, ' ') + text + " [" + std::to_string(data.iImage) + "]\n";
  for (HTREEITEM child = TreeView_GetChild(window_, item); child; child = TreeView_GetNextSibling(window_, child)) {
    outlineOf(child, depth + 1, out);
  }
}

// ---- following the tree ----

void TreeView::itemInserted(ItemHandle handle) {
  const TreeItem* item = tree_.item(handle);
  if (!item || items_.count(handle)) return;
  HTREEITEM parent = itemOf(item->parent);
  if (!parent) return;
  // After the sibling before it in the tree's order.
  const std::vector<ItemHandle>& siblings = tree_.children(item->parent);
  auto at = std::find(siblings.begin(), siblings.end(), handle);
  HTREEITEM after = TVI_LAST;
  if (at == siblings.begin()) {
    after = TVI_FIRST;
  } else if (at != siblings.end()) {
    if (HTREEITEM previous = itemOf(*(at - 1))) after = previous;
  }
  insertWithChildren(handle, parent, after);
}

void TreeView::itemRemoved(ItemHandle handle) {
  HTREEITEM item = itemOf(handle);
  if (!item) return;
  forget(item);
  TreeView_DeleteItem(window_, item);
}

void TreeView::itemChanged(ItemHandle handle) {
  const TreeItem* item = tree_.item(handle);
  HTREEITEM control = itemOf(handle);
  if (!item || !control) return;
  TVITEMA data = {};
  data.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
  data.hItem = control;
  data.pszText = const_cast<char*>(item->label.c_str());
  data.iImage = item->image;
  data.iSelectedImage = item->image;
  SendMessageA(window_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&data));
}

void TreeView::childrenReordered(ItemHandle parent) {
  HTREEITEM control = itemOf(parent);
  if (!control) return;
  const std::vector<ItemHandle>& order = tree_.children(parent);
  // Items the control lacks or keeps beyond the tree's are taken afresh.
  std::size_t shown = 0;
  for (HTREEITEM child = TreeView_GetChild(window_, control); child; child = TreeView_GetNextSibling(window_, child)) {
    ++shown;
  }
  bool same = shown == order.size() &&
              std::all_of(order.begin(), order.end(), [this](ItemHandle h) { return items_.count(h) != 0; });
  if (!same) {
    std::vector<HTREEITEM> old;
    for (HTREEITEM child = TreeView_GetChild(window_, control); child; child = TreeView_GetNextSibling(window_, child)) {
      old.push_back(child);
    }
    for (HTREEITEM child : old) {
      forget(child);
      TreeView_DeleteItem(window_, child);
    }
    for (ItemHandle child : order) insertWithChildren(child, control, TVI_LAST);
    return;
  }
  std::unordered_map<ItemHandle, int> positions;
  for (std::size_t i = 0; i < order.size(); ++i) positions[order[i]] = int(i);
  TVSORTCB sort = {control, &compareByOrder, reinterpret_cast<LPARAM>(&positions)};
  TreeView_SortChildrenCB(window_, &sort, FALSE);
}

void TreeView::scrollIntoView(ItemHandle handle) {
  if (HTREEITEM item = itemOf(handle)) TreeView_EnsureVisible(window_, item);
}

// ---- keys ----

LRESULT CALLBACK TreeView::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TreeView*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  bool own = wParam == VK_RETURN || wParam == VK_ESCAPE;
  if (message == WM_GETDLGCODE && lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE)) return DLGC_WANTMESSAGE;
  }
  if (message == WM_KEYDOWN && own && self->keyHandler && self->keyHandler(int(wParam))) return 0;
  // The characters of the keys taken are no beeps.
  if (message == WM_CHAR && (wParam == '\r' || wParam == 27)) return 0;
  return CallWindowProcA(self->default_, window, message, wParam, lParam);
}

}  // namespace vandrel::builder::win32
