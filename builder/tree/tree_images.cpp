// The looks of the script tree's images.
#include "builder/tree/tree_images.h"

#include <algorithm>
#include <cstddef>

#include "builder/model/entry_kinds.h"

namespace vandrel::builder {

std::vector<TreeImageLook> treeImageLooks() {
  std::size_t count = 14;
  for (const EntryKind& kind : kEntryKinds) count = std::max(count, std::size_t(kind.picture) + 1);
  std::vector<TreeImageLook> looks(count);
  looks[0] = {'S', 0x0000A0};
  looks[1] = {'G', 0x606060};
  looks[2] = {'B', 0x008080};
  for (const EntryKind& kind : kEntryKinds) looks[std::size_t(kind.picture)] = {kind.pictureLetter, kind.pictureRgb};
  looks[11] = {'E', 0x404040};
  looks[12] = {'C', 0x004080};
  looks[13] = {'U', 0xA04040};
  return looks;
}

}  // namespace vandrel::builder
