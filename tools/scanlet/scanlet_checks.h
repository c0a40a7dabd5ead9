// The checks of the script-checking library: one item of a category at a time, findings
// written to the log one line each.
#pragma once

#include <cstdio>
#include <string>

#include "builder/generate/scanlet_interface.h"

namespace vandrel::scanlet {

using builder::ScanletDocument;

// The state of one checking run.
struct Run {
  std::FILE* log = nullptr;
  const ScanletDocument* doc = nullptr;
  int next[12] = {};  // the next item to check, per category
  int findings = 0;
};

// Items the library checks in a category (1 to 11).
int itemCount(const ScanletDocument& doc, int category);
// Checks item `index` of a category and writes its findings.
void checkItem(Run& run, int category, int index);

}  // namespace vandrel::scanlet
