// Generating a package of 2,000 files (200 MB) on the emulated machine, against `cp -r` of the
// same files on the host, in one run: the generator should stay within 1.5 times the copy.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "builder/tree/script_tree.h"
#include "builder/generate/package_generator.h"
#include "builder/generate/progress_service.h"
#include "platform/emulated/machine_root.h"
#include "tests/support/fake_interaction.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace vandrel;

constexpr int kFiles = 2000;
constexpr std::size_t kFileSize = 100 * 1024;  // 2,000 x 100 KB = 200 MB


// The author's files, made once for both benchmarks. Copies are only removed with the fixture
// at the end: removing files between runs makes the file system's inode allocation of the
// next run slower, which would favour whichever benchmark runs first.
struct Fixture {
  test::TempDir dir;
  fs::path source = dir / "src";
  Fixture() {
    fs::create_directories(source);
    std::string block(kFileSize, 'v');
    for (int i = 0; i < kFiles; ++i) {
      block[i % kFileSize] = char('a' + i % 26);  // files differ
      std::ofstream(source / ("file" + std::to_string(i) + ".dat"), std::ios::binary) << block;
    }
    platform::emulated::initMachineRoot(dir / "machine", platform::emulated::Preset::Win98, "bench");
  }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

std::string windowsForm(const fs::path& host) {
  std::string path = "Z:" + host.string();
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

void BM_GeneratePackage(benchmark::State& state) {
  Fixture& f = fixture();
  platform::MachineOptions options;
  options.hostDriveWritable = true;
  std::unique_ptr<platform::Machine> machine = platform::emulated::openMachine(f.dir / "machine", options);
  builder::CScriptDoc doc;
  doc.settings.ownUnInstall = 1;
  std::string source = windowsForm(f.source);
  for (int i = 0; i < kFiles; ++i) {
    builder::FileEntry file;
    file.sourceName = file.destName = "file" + std::to_string(i) + ".dat";
    file.size = std::int32_t(kFileSize);
    file.sourcePath = source;
    file.key = doc.newKey();
    doc.appendEntry(file);
  }
  builder::ScriptTree tree(doc);
  test::FakeInteraction ui;  // every question answered Yes, nothing kept
  ui.recording = false;
  builder::ProgressService progress(ui, machine->files());
  fs::create_directories(f.dir / "nobuilder");
  builder::BuilderContext context{machine->files(), ui, progress, windowsForm(f.dir / "nobuilder"),
                                  nullptr};
  int run = 0;
  for (auto _ : state) {
    fs::path out = f.dir / ("pkg" + std::to_string(run++));
    builder::PackageGenerator generator(doc, tree.entryOrder(), context);
    auto outcome = generator.generate({windowsForm(out), false});
    if (outcome != builder::GenerateOutcome::Complete && outcome != builder::GenerateOutcome::WithErrors) {
      state.SkipWithError("generation failed");
    }
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * kFiles * std::int64_t(kFileSize));
}

void BM_CopyTree(benchmark::State& state) {
  Fixture& f = fixture();
  int run = 0;
  for (auto _ : state) {
    fs::path out = f.dir / ("copy" + std::to_string(run++));
    std::string command = "cp -r '" + f.source.string() + "' '" + out.string() + "'";
    if (std::system(command.c_str()) != 0) state.SkipWithError("cp -r failed");
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * kFiles * std::int64_t(kFileSize));
}

BENCHMARK(BM_CopyTree)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GeneratePackage)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
