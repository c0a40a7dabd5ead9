// Removing an installed package of N files from an emulated machine: the whole removal
// (script check, six steps, result) must grow linearly with the number of entries.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/emulated/machine_root.h"
#include "tests/support/fake_interaction.h"
#include "tests/support/temp_dir.h"
#include "ui/interaction.h"
#include "uninstall/driver.h"
#include "uninstall/strings/uninstall_strings.h"

namespace {

namespace fs = std::filesystem;
using namespace vandrel;


// Installs the package's trace by hand: N entries of files spread over ten folders, one win.ini key and
// one registry value per hundred files, and the script that lists them all.
void install(const fs::path& drive, int files) {
  fs::path app = drive / "App";
  std::string script = "[Settings]\r\nAppName=Bench\r\n[Directories]\r\nnbDir=14\r\n";
  for (int d = 0; d < 10; ++d) {
    fs::create_directories(app / ("Dir" + std::to_string(d)));
    script += std::to_string(d) + "=Dir" + std::to_string(d) + ",0,0,\r\n";
  }
  script += "10=,0,0,\r\n11=,1,0,\r\n12=,2,0,\r\n13=,3,0,\r\n";
  script += "[Files]\r\nnbFiles=" + std::to_string(files) + "\r\n";
  // Entry 0 is the uninstaller itself, which stays in the Windows folder.
  script += "0=Peskin32.ex_,Peskin32.exe,13,1,1000,0,1,1,1,0,0\r\n";
  for (int i = 1; i < files; ++i) {
    std::string name = "file" + std::to_string(i) + ".dat";
    int d = i % 10;
    std::ofstream(app / ("Dir" + std::to_string(d)) / name) << "x";
    script += std::to_string(i) + "=" + name + "," + name + "," + std::to_string(d) +
              ",1,0,1,0,0,1,0,0\r\n";
  }
  int keys = files / 100;
  script += "[AddINI]\r\nnbINI=" + std::to_string(keys) + "\r\n";
  for (int i = 0; i < keys; ++i) script += std::to_string(i) + "=Bench,Key" + std::to_string(i) + "\r\n";
  script += "[Registry]\r\nnbReg=" + std::to_string(keys) + "\r\n";
  for (int i = 0; i < keys; ++i) {
    script += std::to_string(i) + "=2,Software\\Bench,Value" + std::to_string(i) + ",x,1\r\n";
  }
  std::ofstream(app / "Script.vrx", std::ios::binary) << script;
}

void BM_RemovePackage(benchmark::State& state) {
  const int files = static_cast<int>(state.range(0));
  vandrel::test::TempDir dir;
  fs::path root = dir / "machine";
  platform::emulated::initMachineRoot(root, platform::emulated::Preset::Win98, "user");
  test::FakeInteraction quiet;  // every question answered Yes, nothing kept
  quiet.recording = false;
  for (auto _ : state) {
    state.PauseTiming();
    install(root / "drive_c", files);
    std::unique_ptr<platform::Machine> machine = platform::emulated::openMachine(root, {});
    uninstall::UninstallApp app(*machine, quiet, uninstall::uninstallStrings());
    state.ResumeTiming();
    uninstall::Ending ending = uninstall::runUninstaller(app, "C:\\App");
    state.PauseTiming();
    machine.reset();
    state.ResumeTiming();
    if (ending != uninstall::Ending::Completed) {
      state.SkipWithError(("the removal ended with " + std::to_string(int(ending))).c_str());
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * files);
  state.SetComplexityN(files);
}
BENCHMARK(BM_RemovePackage)
    ->Arg(2000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Complexity(benchmark::oN);

}  // namespace
BENCHMARK_MAIN();
