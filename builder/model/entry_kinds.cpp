// Look-ups in the table of entry kinds.
#include "builder/model/entry_kinds.h"

#include "builder/strings/builder_strings.h"

namespace vandrel::builder {

namespace {

// No two rows share a category, a section, a picture, a command or a name.
constexpr bool sameText(const char* a, const char* b) {
  while (*a && *a == *b) ++a, ++b;
  return *a == *b;
}
constexpr bool rowsDistinct() {
  for (std::size_t i = 0; i < kEntryKinds.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      const EntryKind& a = kEntryKinds[i];
      const EntryKind& b = kEntryKinds[j];
      if (a.category == b.category || a.section == b.section || a.picture == b.picture ||
          a.addCommand == b.addCommand || sameText(a.name, b.name)) {
        return false;
      }
    }
  }
  return true;
}
static_assert(rowsDistinct());

template <typename Match>
const EntryKind* findKind(Match&& match) {
  for (const EntryKind& kind : kEntryKinds) {
    if (match(kind)) return &kind;
  }
  return nullptr;
}

}  // namespace

const EntryKind* entryKindOfSection(script::Section section) {
  return findKind([section](const EntryKind& k) { return k.section == section; });
}

const EntryKind* entryKindOfCommand(int cmd) {
  return findKind([cmd](const EntryKind& k) { return k.addCommand == cmd; });
}

const EntryKind* entryKindNamed(const std::string& name) {
  return findKind([&name](const EntryKind& k) { return name == k.name; });
}

std::string entryKindName(int entryCategory) {
  return strItem(sid::EntryKindNames, entryKind(entryCategory).nameItem);
}

std::string categoryLabel(int category) {
  if (isEntryCategory(category)) return strItem(sid::CategoryLabels, entryKind(category).labelItem);
  return strItem(sid::CategoryLabels, category + 1);
}

}  // namespace vandrel::builder
