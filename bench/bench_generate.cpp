// Generating packages on the emulated machine, in the program, against `cp -r` of the
// author's files on the host, taking turns: 2,000 files of 100 KB (200 MB), and 20,000 small
// files against 2,000 (the cost per file must stay flat as the document grows).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "bench/support/bench_package.h"
#include "bench/support/turns.h"
#include "builder/generate/package_generator.h"
#include "builder/generate/progress_service.h"
#include "builder/tree/script_tree.h"
#include "platform/emulated/machine_root.h"
#include "tests/support/fake_interaction.h"
#include "tests/support/run_program.h"

namespace {

namespace fs = std::filesystem;
using namespace vandrel;
using namespace vandrel::bench;
using test::windowsForm;

constexpr std::size_t kLarge = 100 * 1024;  // 2,000 x 100 KB = 200 MB
constexpr std::size_t kSmall = 512;

// The author's files (each different) and a document that lists them, made once per size.
struct Authored {
  fs::path source;
  builder::CScriptDoc doc;
};

Authored& authored(int count, std::size_t size) {
  static std::map<std::pair<int, std::size_t>, std::unique_ptr<Authored>> made;
  auto& slot = made[{count, size}];
  if (slot) return *slot;
  slot = std::make_unique<Authored>();
  slot->source = workArea() / ("src" + std::to_string(count) + "x" + std::to_string(size));
  fs::create_directories(slot->source);
  std::string block(size, 'v');
  slot->doc.settings.appName = "Bench";
  slot->doc.settings.ownUnInstall = 1;
  for (int i = 0; i < count; ++i) {
    block[std::size_t(i) % size] = char('a' + i % 26);
    std::string name = "file" + std::to_string(i) + ".dat";
    test::writeFile(slot->source / name, block);
    builder::FileRecord file;
    file.sourceName = file.destName = name;
    file.size = std::int32_t(size);
    file.sourcePath = windowsForm(slot->source);
    file.key = slot->doc.newKey();
    slot->doc.appendEntry(file);
  }
  return *slot;
}

// The machine the builder runs on, made once.
const fs::path& builderMachine() {
  static const fs::path root = [] {
    fs::path r = workArea() / "builder-machine";
    platform::emulated::initMachineRoot(r, platform::emulated::Preset::Win98, "bench");
    fs::create_directories(workArea() / "nobuilder");
    return r;
  }();
  return root;
}

fs::path freshOutput() {
  static int made = 0;
  return workArea() / ("out" + std::to_string(made++));
}

// The generation of the document into a new package folder; the time includes opening the
// machine.
// The document is the tree's to read and keep in order; generation leaves it as it is.
Turn generating(Authored& authored) {
  auto out = std::make_shared<fs::path>();
  return {[out] { *out = freshOutput(); },
          [&authored, out]() -> std::string {
            platform::MachineOptions options;
            options.hostDriveWritable = true;
            auto machine = platform::emulated::openMachine(builderMachine(), options);
            builder::ScriptTree tree(authored.doc);
            test::FakeInteraction ui;  // every question answered Yes; what it was shown is kept
            ui.recording = true;
            builder::ProgressService progress(ui, machine->files());
            builder::BuilderContext context{machine->files(), ui, progress,
                                            windowsForm(workArea() / "nobuilder"), nullptr};
            builder::PackageGenerator generator(authored.doc, tree.entryOrder(), context);
            builder::GenerateOptions generateOptions;
            generateOptions.firstFolder = windowsForm(*out);
            generateOptions.eachDisk = false;
            auto outcome = generator.generate(generateOptions);
            bool done = outcome == builder::GenerateOutcome::Complete || outcome == builder::GenerateOutcome::WithErrors;
            if (done) return std::string();
            std::vector<std::string> shown = ui.texts();
            return "generation failed (outcome " + std::to_string(int(outcome)) + ")" +
                   (shown.empty() ? std::string() : ": " + shown.back());
          }};
}

void generationVersusCopy(benchmark::State& state, int count, std::size_t size) {
  Authored& files = authored(count, size);
  builderMachine();
  auto out = std::make_shared<fs::path>();
  Turn copy{[out] { *out = freshOutput(); },
            [&files, out] {
              auto result = test::runProgram("/bin/cp", {"-r", files.source.string(), out->string()}, {}, 3600);
              return result.exitStatus == 0 ? std::string() : "cp -r failed: " + result.err;
            }};
  takeTurns(state, generating(files), copy);
  state.counters["files"] = count;
}

void generationManyVersusFew(benchmark::State& state, int few) {
  Authored& many = authored(few * 10, kSmall);
  Authored& fewer = authored(few, kSmall);
  builderMachine();
  takeTurns(state, generating(many), generating(fewer));
  state.counters["files"] = few * 10;
}

void registerAll() {
  const int files = scaled(2000, 200);
  benchmark::RegisterBenchmark("generation_vs_cp/large", generationVersusCopy, files, kLarge)
      ->Unit(benchmark::kMillisecond)
      ->UseManualTime()
      ->Iterations(scaled(5, 3));
  benchmark::RegisterBenchmark("generation_many_vs_few", generationManyVersusFew, files)
      ->Unit(benchmark::kMillisecond)
      ->UseManualTime()
      ->Iterations(3);
}

}  // namespace

int main(int argc, char** argv) { return runBenchmarks(argc, argv, registerAll); }
