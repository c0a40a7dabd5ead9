// The checks of the script-checking library: one item of a category at a time, findings
// written to the log one line each.
#pragma once

#include <cstdio>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "builder/generate/scanlet_interface.h"

namespace vandrel::scanlet {

using builder::ScanletDocument;

// Where each name of a category is first used, built once per run when its first item is
// checked: an item's check then looks its name up instead of going over every entry before
// it, so a check of n entries takes time in proportion to n.
struct RunIndexes {
  bool directories = false, groups = false, files = false;
  // (parent, name in lower case) -> the first directory entry declaring it
  std::unordered_map<std::string, int> firstDirectory;
  // the groups some shortcut is added to
  std::unordered_set<builder::EntryKey> groupsUsed;
  // (directory, destination name in lower case) -> the first file entry installed there
  std::unordered_map<std::string, int> firstDestination;
  // (disk, source name in lower case) -> the first file entry stored under that name, and
  // the first one whose source file is another (-1 while there is none)
  struct Stored {
    int first = -1;
    int firstOther = -1;
  };
  std::unordered_map<std::string, Stored> firstStored;
  std::vector<std::string> sourceFiles;  // each file entry's full source path, upper case
};

// The state of one checking run.
struct Run {
  std::FILE* log = nullptr;
  const ScanletDocument* doc = nullptr;
  int next[12] = {};  // the next item to check, per category
  int findings = 0;
  RunIndexes indexes;
};

// Items the library checks in a category (1 to 11).
int itemCount(const ScanletDocument& doc, int category);
// Checks item `index` of a category and writes its findings.
void checkItem(Run& run, int category, int index);

}  // namespace vandrel::scanlet
