// Document benchmarks: saving and loading large documents (files and shortcuts with
// references) and finding entries by key.
#include <benchmark/benchmark.h>

#include "builder/codec/document_text.h"
#include "builder/model/script_doc.h"

namespace {

using namespace vandrel::builder;

// A document of n entries: a few directories and groups, n/2 files, n/2 shortcuts to them.
CScriptDoc makeDocument(int n) {
  CScriptDoc doc([] { return std::uint64_t(1); });
  doc.onNewDocument("bench");
  std::vector<EntryKey> dirs, groups;
  for (int i = 0; i < 10; ++i) {
    DirectoryRecord d{"Dir" + std::to_string(i), i % 4, 0, "directory"};
    d.key = doc.newKey();
    dirs.push_back(d.key);
    doc.appendEntry(d);
    GroupRecord g{"Group" + std::to_string(i)};
    g.key = doc.newKey();
    groups.push_back(g.key);
    doc.appendEntry(g);
  }
  for (int i = 0; i < n / 2; ++i) {
    FileRecord f;
    f.sourceName = f.destName = "file" + std::to_string(i) + ".dll";
    f.size = i;
    f.directoryRef = dirs[std::size_t(i) % dirs.size()];
    f.sourcePath = "Z:\\home\\ann\\project\\bin";
    f.key = doc.newKey();
    doc.appendEntry(f);
    ShortcutRecord s{f.key, groups[std::size_t(i) % groups.size()], "Shortcut " + std::to_string(i), "/x"};
    s.key = doc.newKey();
    doc.appendEntry(s);
  }
  return doc;
}

void BM_SaveDocumentText(benchmark::State& state) {
  CScriptDoc doc = makeDocument(int(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(documentText(doc));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SaveDocumentText)->RangeMultiplier(2)->Range(6250, 50000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_LoadDocumentText(benchmark::State& state) {
  CScriptDoc source = makeDocument(int(state.range(0)));
  std::string text = documentText(source);
  for (auto _ : state) {
    CScriptDoc doc([] { return std::uint64_t(1); });
    benchmark::DoNotOptimize(loadDocumentText(doc, text));
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LoadDocumentText)->RangeMultiplier(2)->Range(6250, 50000)->Unit(benchmark::kMillisecond)->Complexity();

// Finding every file by key: constant time per lookup, whatever the list's size.
void BM_FindEntryByKey(benchmark::State& state) {
  CScriptDoc doc = makeDocument(int(state.range(0)));
  std::vector<EntryKey> keys;
  for (const FileRecord& f : doc.files) keys.push_back(f.key);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(doc.findEntry(category::Files, keys[i]));
    i = (i + 7919) % keys.size();
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_FindEntryByKey)->RangeMultiplier(4)->Range(1000, 64000)->Complexity(benchmark::o1);

}  // namespace

BENCHMARK_MAIN();
