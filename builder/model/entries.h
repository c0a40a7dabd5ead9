// The categories of a script document and the records of its eight entry lists.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "script/schema.h"

namespace vandrel::builder {

// Identity of an entry (and of its item in the tree): unique, never 0, never reused.
using EntryKey = std::uint64_t;

// Category numbers: the tree's fixed items and the index of every category-indexed call.
namespace category {
constexpr int ScriptProperties = 0;
constexpr int Settings = 1;
constexpr int Background = 2;
constexpr int Directories = 3;
constexpr int Descriptions = 4;
constexpr int Groups = 5;
constexpr int WinIni = 6;
constexpr int Registry = 7;
constexpr int Files = 8;
constexpr int ProgramAdds = 9;
constexpr int Messages = 10;
constexpr int EndOfInstall = 11;
}  // namespace category

constexpr int kFirstEntryCategory = category::Directories;
constexpr int kLastEntryCategory = category::Messages;
constexpr bool isEntryCategory(int c) { return c >= kFirstEntryCategory && c <= kLastEntryCategory; }

// The section of the text forms that holds the entries of an entry category.
constexpr script::Section sectionOf(int entryCategory) {
  constexpr script::Section sections[] = {
      script::Section::Directories, script::Section::Descriptions, script::Section::Groups,
      script::Section::AddIni,      script::Section::Registry,     script::Section::Files,
      script::Section::Shortcuts,   script::Section::Messages};
  return sections[entryCategory - kFirstEntryCategory];
}

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

// Any entry; the alternative's index plus kFirstEntryCategory is its category.
using Entry = std::variant<DirectoryRecord, DescriptionRecord, GroupRecord, IniRecord, RegistryRecord,
                           FileRecord, ShortcutRecord, MessageRecord>;

inline int categoryOf(const Entry& entry) { return int(entry.index()) + kFirstEntryCategory; }
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
