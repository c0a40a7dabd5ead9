// The builder's editable entry records, one type per entry kind, and the Entry variant of them.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "builder/model/entry_kinds.h"

namespace vandrel::builder {

// Identity of an entry (and of its item in the tree): unique, never 0, never reused.
using EntryKey = std::uint64_t;

// A folder that the setup creates under one of the four predefined directories.
struct DirectoryRecord {
  std::string name{};
  int parent = 0;    // 0 Install Path, 1 Root Drive, 2 Windows System, 3 Windows Dir
  int optional = 0;  // 1: the user may leave out the files of this directory
  std::string description{};
  EntryKey key = 0;

  bool operator==(const DirectoryRecord&) const = default;
};

// A text shown while files are copied.
struct DescriptionRecord {
  std::string text{};
  EntryKey key = 0;

  bool operator==(const DescriptionRecord&) const = default;
};

// A program group or one of the run-time folders "[program]", "[startup]", ...
struct GroupRecord {
  std::string name{};
  EntryKey key = 0;

  bool operator==(const GroupRecord&) const = default;
};

// A Win.ini addition.
struct IniRecord {
  std::string section{};
  std::string entry{};
  std::string value{};
  EntryKey key = 0;

  bool operator==(const IniRecord&) const = default;
};

struct RegistryRecord {
  int root = 0;  // HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS
  std::string subkey{};
  std::string entry{};  // empty: the key's default value
  std::string value{};
  int removal = 1;  // 1: the uninstaller removes this value only; 0: the whole subkey
  EntryKey key = 0;

  bool operator==(const RegistryRecord&) const = default;
};

// A file to copy.
struct FileRecord {
  std::string sourceName{};
  std::int32_t size = 0;
  int disk = 1;
  std::string destName{};
  int uninstall = 1;
  int forceCopy = 0;
  int decompress = 0;
  int shared = 0;
  EntryKey directoryRef = 0;    // a DirectoryRecord; 0: predefinedDir is the destination
  EntryKey descriptionRef = 0;  // a DescriptionRecord; 0: none
  int predefinedDir = 0;
  int platform = 0;  // 0 all, 1 Windows 3.1, 2 Windows NT, 3 Windows 95/98
  std::string sourcePath{};
  EntryKey key = 0;

  bool operator==(const FileRecord&) const = default;
};

// A shortcut added to a group; it opens one of the copied files.
struct ShortcutRecord {
  EntryKey fileRef = 0;
  EntryKey groupRef = 0;
  std::string name{};
  std::string commandLine{};
  EntryKey key = 0;

  bool operator==(const ShortcutRecord&) const = default;
};

// A message file shown when a disk is inserted.
struct MessageRecord {
  std::string destName{};
  int disk = 0;
  std::string filePath{};
  EntryKey key = 0;

  bool operator==(const MessageRecord&) const = default;
};

// Any entry; the alternatives follow the rows of kEntryKinds: the alternative's index is its
// kind's slot.
using Entry = std::variant<DirectoryRecord, DescriptionRecord, GroupRecord, IniRecord, RegistryRecord,
                           FileRecord, ShortcutRecord, MessageRecord>;

static_assert(std::variant_size_v<Entry> == kEntryKinds.size());

inline int categoryOf(const Entry& entry) { return kEntryKinds[entry.index()].category; }
inline EntryKey keyOf(const Entry& entry) {
  return std::visit([](const auto& e) { return e.key; }, entry);
}
inline void setKey(Entry& entry, EntryKey key) {
  std::visit([key](auto& e) { e.key = key; }, entry);
}

// A new record of a category with its kind's defaults (key 0); nullopt-like monostate is
// avoided: callers check isEntryCategory first.
Entry makeEntry(int category);

}  // namespace vandrel::builder
