// The order in which generation numbers the entries of each category, as keys.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "builder/model/entries.h"

namespace vandrel::builder {

class EntryOrder {
 public:
  // The keys of an entry category in order; empty for any other number.
  const std::vector<EntryKey>& of(int category) const {
    static const std::vector<EntryKey> none;
    return isEntryCategory(category) ? keys_[slot(category)] : none;
  }
  void set(int category, std::vector<EntryKey> keys) {
    if (isEntryCategory(category)) keys_[slot(category)] = std::move(keys);
  }

 private:
  static std::size_t slot(int category) { return std::size_t(kindSlot(category)); }
  std::array<std::vector<EntryKey>, kEntryKinds.size()> keys_;
};

}  // namespace vandrel::builder
