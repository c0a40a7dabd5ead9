// The integrity check's own work on large documents: 100,000 files (with directories,
// groups and shortcuts) against 10,000, taking turns. The checks run in this program as
// Scanlet.dll runs them, with the sizes of the files answered from the document, so what is
// measured is the check and not the disk; its time per entry must stay flat.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "bench/support/turns.h"
#include "builder/generate/scanlet_document.h"
#include "builder/model/script_doc.h"
#include "tools/scanlet/scanlet_checks.h"

namespace {

using namespace vandrel;
using namespace vandrel::bench;
using builder::CScriptDoc;

// A document of n files in 100 directories, one shortcut per hundred files in 10 groups.
CScriptDoc& document(int n) {
  static std::map<int, std::unique_ptr<CScriptDoc>> made;
  auto& slot = made[n];
  if (slot) return *slot;
  slot = std::make_unique<CScriptDoc>([] { return std::uint64_t(1); });
  CScriptDoc& doc = *slot;
  doc.onNewDocument("bench");
  doc.settings.appName = "Bench";
  std::vector<builder::EntryKey> dirs, groups;
  for (int i = 0; i < 100; ++i) {
    builder::DirectoryRecord d{"Dir" + std::to_string(i), i % 4, 0, "directory"};
    d.key = doc.newKey();
    dirs.push_back(d.key);
    doc.appendEntry(d);
  }
  for (int i = 0; i < 10; ++i) {
    builder::GroupRecord g{"Group" + std::to_string(i)};
    g.key = doc.newKey();
    groups.push_back(g.key);
    doc.appendEntry(g);
  }
  for (int i = 0; i < n; ++i) {
    builder::FileRecord f;
    f.sourceName = f.destName = "file" + std::to_string(i) + ".dat";
    f.size = 0;
    f.directoryRef = dirs[std::size_t(i) % dirs.size()];
    f.sourcePath = "Z:\\home\\ann\\project\\d" + std::to_string(i % 100);
    f.key = doc.newKey();
    doc.appendEntry(f);
    if (i % 100 == 0) {
      builder::ShortcutRecord s{f.key, groups[std::size_t(i / 100) % groups.size()],
                                "Shortcut " + std::to_string(i), "[0]\\x"};
      s.key = doc.newKey();
      doc.appendEntry(s);
    }
  }
  return doc;
}

// Every file has the size its entry records (0), as if it were on disk.
std::int64_t recordedSize(void* machine, const char* path) {
  (void)machine;
  (void)path;
  return 0;
}

builder::ScanletDocument describe(CScriptDoc& doc) {
  builder::ScanletDocument d = builder::scanletRecords(doc);
  d.machine = &doc;
  d.fileSize = &recordedSize;
  return d;
}

// One whole check of the document of n files, its findings written nowhere.
Turn checkOf(int n) {
  return {[n] { document(n); },
          [n] {
            builder::ScanletDocument description = describe(document(n));
            scanlet::Run run;
            run.log = std::fopen("/dev/null", "w");
            if (!run.log) return std::string("cannot open /dev/null");
            run.doc = &description;
            for (int category = 1; category <= 11; ++category) {
              int count = scanlet::itemCount(description, category);
              for (int i = 0; i < count; ++i) scanlet::checkItem(run, category, i);
            }
            std::fclose(run.log);
            return std::string();
          }};
}

void manyVersusFew(benchmark::State& state, int count) {
  takeTurns(state, checkOf(count), checkOf(count / 10));
  state.counters["entries"] = count;
}

void registerAll() {
  benchmark::RegisterBenchmark("check_entries", manyVersusFew, scaled(100000, 10000))
      ->Unit(benchmark::kMillisecond)
      ->UseManualTime()
      ->Iterations(scaled(5, 1));
}

}  // namespace

int main(int argc, char** argv) { return runBenchmarks(argc, argv, registerAll); }
