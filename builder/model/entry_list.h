// An ordered list of owned entry records with a key index, so that finding an entry by key
// costs O(1) instead of a scan.
#pragma once

#include <cstddef>
#include <unordered_map>
#include <utility>
#include <vector>

#include "builder/model/entries.h"

namespace vandrel::builder {

template <typename T>
class EntryList {
 public:
  using value_type = T;

  int count() const { return int(items_.size()); }
  bool empty() const { return items_.empty(); }

  T& at(int index) { return items_.at(std::size_t(index)); }
  const T& at(int index) const { return items_.at(std::size_t(index)); }

  // Index of the entry bearing key; when several bear it the last one wins; -1 when none.
  int find(EntryKey key) const {
    if (key == 0) return -1;
    if (stale_) rebuildIndex();
    auto it = index_.find(key);
    return it == index_.end() ? -1 : it->second;
  }
  T* findEntry(EntryKey key) {
    int i = find(key);
    return i < 0 ? nullptr : &items_[std::size_t(i)];
  }
  const T* findEntry(EntryKey key) const {
    int i = find(key);
    return i < 0 ? nullptr : &items_[std::size_t(i)];
  }

  void append(T entry) {
    EntryKey key = entry.key;
    items_.push_back(std::move(entry));
    // The new entry is the last one, so it wins over any earlier entry with its key.
    if (!stale_ && key != 0) index_[key] = int(items_.size()) - 1;
  }

  // Destroys the record at index and closes the gap; out-of-range indexes are ignored.
  void eraseAt(int index) {
    if (index < 0 || index >= count()) return;
    items_.erase(items_.begin() + index);
    stale_ = true;  // later indexes moved down
  }

  void clear() {
    items_.clear();
    index_.clear();
    stale_ = false;
  }

  auto begin() { return items_.begin(); }
  auto end() { return items_.end(); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

  // Same records in the same order.
  bool operator==(const EntryList& other) const { return items_ == other.items_; }

 private:
  void rebuildIndex() const {
    index_.clear();
    index_.reserve(items_.size());
    for (std::size_t i = 0; i < items_.size(); ++i) {
      if (items_[i].key != 0) index_[items_[i].key] = int(i);
    }
    stale_ = false;
  }

  std::vector<T> items_;
  mutable std::unordered_map<EntryKey, int> index_;
  mutable bool stale_ = false;
};

}  // namespace vandrel::builder
