// The entry tree: fixed items, entry items, labels, sorting and the category lookup.
#include "builder/tree/script_tree.h"

#include <algorithm>
#include <cctype>

#include "builder/strings/builder_strings.h"
#include "platform/text/text_rules.h"

namespace vandrel::builder {

namespace {

const std::vector<ItemHandle> kNoChildren;

// Images of the settings items "General", "System", "UnInstall".
constexpr int kSettingsImages[3] = {0, 12, 13};

// The image of a category's item: an entry kind's picture, else the category's number.
int categoryImage(int category) {
  return isEntryCategory(category) ? entryKind(category).picture : category;
}

}  // namespace

bool labelLess(const std::string& a, const std::string& b) {
  return text::lessNoCase(a, b);
}

ScriptTree::ScriptTree(CScriptDoc& doc) : doc_(doc) {
  root_ = addItem(0, categoryLabel(category::ScriptProperties), 0);
  categories_.push_back(root_);
  for (int c = 1; c <= std::max(category::EndOfInstall, kHighestEntryCategory); ++c) {
    categories_.push_back(addItem(root_, categoryLabel(c), categoryImage(c)));
  }
  for (int page = 0; page < 3; ++page) {
    settingsPages_.push_back(addItem(categories_[category::Settings],
                                     strItem(sid::SettingsItemLabels, page + 1),
                                     kSettingsImages[page]));
  }
  insertPredefinedDirectories();
  syncFromDocument();
  selection_ = root_;
}

ItemHandle ScriptTree::addItem(ItemHandle parent, const std::string& label, int image,
                               ItemHandle handle) {
  if (handle == 0) handle = doc_.newKey();
  TreeItem& item = items_[handle];
  item.handle = handle;
  item.parent = parent;
  item.label = label;
  item.image = image;
  if (parent != 0) items_[parent].children.push_back(handle);
  if (observer_) observer_->itemInserted(handle);
  return handle;
}

void ScriptTree::insertPredefinedDirectories() {
  predefined_.clear();
  for (int i = 0; i < 4; ++i) {
    predefined_.push_back(addItem(categories_[category::Directories],
                                  strItem(sid::DefaultDirectoryLabels, i + 1),
                                  entryKind(category::Directories).picture));
  }
}

ItemHandle ScriptTree::categoryItem(int category) const {
  return category >= 0 && category < int(categories_.size()) ? categories_[std::size_t(category)] : 0;
}

ItemHandle ScriptTree::settingsPageItem(int page) const {
  return page >= 0 && page < 3 ? settingsPages_[std::size_t(page)] : 0;
}

ItemHandle ScriptTree::predefinedDirectoryItem(int index) const {
  return index >= 0 && index < int(predefined_.size()) ? predefined_[std::size_t(index)] : 0;
}

const TreeItem* ScriptTree::item(ItemHandle handle) const {
  auto it = items_.find(handle);
  return it == items_.end() ? nullptr : &it->second;
}

const std::vector<ItemHandle>& ScriptTree::children(ItemHandle handle) const {
  const TreeItem* found = item(handle);
  return found ? found->children : kNoChildren;
}

ItemKind ScriptTree::kind(ItemHandle handle) const {
  if (handle == 0 || !item(handle)) return ItemKind::None;
  if (handle == root_) return ItemKind::Root;
  if (std::find(categories_.begin(), categories_.end(), handle) != categories_.end()) {
    return ItemKind::Category;
  }
  if (settingsPage(handle) >= 0) return ItemKind::SettingsPage;
  if (std::find(predefined_.begin(), predefined_.end(), handle) != predefined_.end()) {
    return ItemKind::PredefinedDirectory;
  }
  return ItemKind::Entry;
}

int ScriptTree::settingsPage(ItemHandle handle) const {
  auto it = std::find(settingsPages_.begin(), settingsPages_.end(), handle);
  return it == settingsPages_.end() ? -1 : int(it - settingsPages_.begin());
}

std::optional<int> ScriptTree::categoryOf(ItemHandle handle) const {
  ItemHandle current = handle;
  for (int step = 0; step < kMaxLookupSteps; ++step) {
    if (current == 0 || current == root_) return std::nullopt;
    auto it = std::find(categories_.begin() + 1, categories_.end(), current);
    if (it != categories_.end()) return int(it - categories_.begin());
    const TreeItem* found = item(current);
    if (!found) return std::nullopt;
    current = found->parent;
  }
  return std::nullopt;
}

std::optional<int> ScriptTree::entryCategory(ItemHandle handle) const {
  if (kind(handle) != ItemKind::Entry) return std::nullopt;
  std::optional<int> category = categoryOf(handle);
  if (!category || !isEntryCategory(*category)) return std::nullopt;
  return category;
}

void ScriptTree::select(ItemHandle handle) {
  if (handle == 0 || item(handle)) selection_ = handle;
}

void ScriptTree::scrollIntoView(ItemHandle handle) {
  if (observer_ && item(handle)) observer_->scrollIntoView(handle);
}

void ScriptTree::insertItem(int category, ItemHandle handle, const std::string& label) {
  if (!isEntryCategory(category) || handle == 0 || item(handle)) return;
  addItem(categoryItem(category), label, entryKind(category).picture, handle);
}

void ScriptTree::insertEntryItem(int category, EntryKey key) {
  insertItem(category, key, doc_.label(category, key));
}

void ScriptTree::removeItem(ItemHandle handle) {
  auto it = items_.find(handle);
  if (it == items_.end() || handle == root_) return;
  for (ItemHandle child : std::vector<ItemHandle>(it->second.children)) removeItem(child);
  if (auto parent = items_.find(it->second.parent); parent != items_.end()) {
    auto& siblings = parent->second.children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), handle), siblings.end());
  }
  items_.erase(handle);
  if (selection_ == handle) selection_ = 0;
  if (observer_) observer_->itemRemoved(handle);
}

void ScriptTree::setLabel(ItemHandle handle, const std::string& label) {
  auto it = items_.find(handle);
  if (it == items_.end()) return;
  it->second.label = label;
  if (observer_) observer_->itemChanged(handle);
}

void ScriptTree::relabel(EntryKey key) {
  if (std::optional<int> category = entryCategory(key)) setLabel(key, doc_.label(*category, key));
}

std::vector<ItemHandle> ScriptTree::sortedByLabel(int category,
                                                  const std::vector<ItemHandle>& extra) const {
  // Entries in list order, then the items that are not entries (the predefined directories,
  // a provisional item), then a stable sort: equal labels keep that order.
  std::vector<std::pair<const std::string*, ItemHandle>> order;
  order.reserve(std::size_t(doc_.count(category)) + extra.size());
  for (int i = 0, n = doc_.count(category); i < n; ++i) {
    EntryKey key = std::visit([](auto* e) { return e->key; }, *doc_.entryAt(category, i));
    if (const TreeItem* found = item(key); found && found->parent == categoryItem(category)) {
      order.emplace_back(&found->label, key);
    }
  }
  for (ItemHandle handle : extra) order.emplace_back(&item(handle)->label, handle);
  std::stable_sort(order.begin(), order.end(),
                   [](const auto& a, const auto& b) { return labelLess(*a.first, *b.first); });
  std::vector<ItemHandle> handles;
  handles.reserve(order.size());
  for (const auto& entry : order) handles.push_back(entry.second);
  return handles;
}

void ScriptTree::sortCategory(int category) {
  if (!isEntryCategory(category)) return;
  ItemHandle parent = categoryItem(category);
  std::vector<ItemHandle> others;
  for (ItemHandle child : items_[parent].children) {
    if (doc_.findEntry(category, child) < 0) others.push_back(child);
  }
  items_[parent].children = sortedByLabel(category, others);
  if (observer_) observer_->childrenReordered(parent);
}

void ScriptTree::syncFromDocument() {
  for (const EntryKind& kind : kEntryKinds) {
    const int category = kind.category;
    for (int i = 0, n = doc_.count(category); i < n; ++i) {
      EntryKey key = std::visit([](auto* e) { return e->key; }, *doc_.entryAt(category, i));
      if (!item(key)) insertEntryItem(category, key);
    }
  }
}

void ScriptTree::clearCategory(int category) {
  if (!isEntryCategory(category)) return;
  ItemHandle parent = categoryItem(category);
  for (ItemHandle child : std::vector<ItemHandle>(items_[parent].children)) {
    removeItem(child);
    doc_.setModifiedFlag();
  }
  if (category == category::Directories) insertPredefinedDirectories();
}

std::vector<EntryKey> ScriptTree::orderedKeys(int category) const {
  if (!isEntryCategory(category)) return {};
  return sortedByLabel(category, {});
}

std::unordered_map<EntryKey, int> ScriptTree::positions(int category) const {
  std::unordered_map<EntryKey, int> result;
  std::vector<EntryKey> keys = orderedKeys(category);
  result.reserve(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) result.emplace(keys[i], int(i));
  return result;
}

EntryOrder ScriptTree::entryOrder() const {
  EntryOrder order;
  for (const EntryKind& kind : kEntryKinds) {
    const int category = kind.category;
    order.set(category, orderedKeys(category));
  }
  return order;
}

}  // namespace vandrel::builder
