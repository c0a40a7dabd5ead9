// Scanlet.dll: the exported entry point and the four functions that the builder calls.
#include <cstring>

#include "tools/scanlet/scanlet_checks.h"

namespace {

vandrel::scanlet::Run run;

void scanletCheckItem(int category) {
  if (!run.log || !run.doc || category < 1 || category > 11) return;
  int index = run.next[category]++;
  if (index < vandrel::scanlet::itemCount(*run.doc, category)) {
    vandrel::scanlet::checkItem(run, category, index);
  }
}

void scanletEnd() {
  if (!run.log) return;
  std::fprintf(run.log, "; %d finding(s)\n", run.findings);
  std::fclose(run.log);
  run = {};
}

int scanletBegin(const char* logPath, const vandrel::builder::ScanletDocument* document) {
  scanletEnd();
  if (!logPath || !document) return 0;
  run.log = std::fopen(logPath, "w");
  if (!run.log) return 0;
  run.doc = document;
  std::fprintf(run.log, "; Corvix script integrity check\n; Script: %s\n",
               document->documentPath[0] ? document->documentPath : "(never saved)");
  return 1;
}

int scanletCount(int category) {
  if (!run.doc || category < 1 || category > 11) return 0;
  return vandrel::scanlet::itemCount(*run.doc, category);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void GetFunctionInfo(
    vandrel::builder::ScanletFunctions* table) {
  if (!table) return;
  table->checkItem = &scanletCheckItem;
  table->begin = &scanletBegin;
  table->end = &scanletEnd;
  table->count = &scanletCount;
}
