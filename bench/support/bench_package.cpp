// Benchmark packages, machine roots and unattended setups.
#include "bench/support/bench_package.h"

#include <random>

#include "tests/support/run_program.h"

namespace vandrel::bench {

namespace fs = std::filesystem;

std::unique_ptr<Package> makePackage(const std::string& sections,
                                     const std::function<std::string(const fs::path&)>& addFiles) {
  auto pkg = std::make_unique<Package>();
  pkg->disk = pkg->dir.path() / "Disk1";
  fs::create_directories(pkg->disk);
  std::string listed = addFiles ? addFiles(pkg->disk) : std::string();
  test::writeFile(pkg->disk / "Script.vrx", "[Settings]\r\nAppName=Bench\r\nRegInfo=0\r\n" + sections + listed);
  fs::copy_file(test::binPath("Setup.exe"), pkg->disk / "Setup.exe");
  fs::path engine = fs::exists(test::binPath("Tam32E.ex_")) ? test::binPath("Tam32E.ex_") : test::binPath("tamsin32");
  fs::copy_file(engine, pkg->disk / "Tamsin32.ex_");
  return pkg;
}

namespace {

// The uninstaller's registration under the name kRemovableName: its program in the Windows
// folder (directory 7), started on the installation folder (directory 4).
const std::string kRegistration =
    "[Registry]\r\nnbReg=2\r\n"
    "0=2,Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Bench 1.0,DisplayName,Bench 1.0,1\r\n"
    "1=2,Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Bench 1.0,UninstallString,[7]\\Peskin32.exe [4],0\r\n";

// With removable, the package also installs the uninstaller (the compressed Pes32E.ex_ as
// Peskin32.exe in the Windows folder) and registers it, as a generated package does.
std::unique_ptr<Package> makeFilesPackage(int count, std::size_t size, bool removable = false) {
  const std::string directories =
      "[Directories]\r\nnbDir=8\r\n0=A,0,0,\r\n1=B,0,0,\r\n2=C,0,0,\r\n3=D,0,0,\r\n4=,0,0,\r\n"
      "5=,1,0,\r\n6=,2,0,\r\n7=,3,0,\r\n";
  return makePackage(directories + (removable ? kRegistration : ""), [count, size, removable](const fs::path& disk) {
    std::mt19937 gen(12345);
    std::string content(size, '\0');
    std::string files = "[Files]\r\nnbFiles=" + std::to_string(count + (removable ? 1 : 0)) + "\r\n";
    if (removable) {
      fs::copy_file(test::binPath("Pes32E.ex_"), disk / "Peskin32.ex_");
      files += std::to_string(count) + "=Peskin32.ex_,Peskin32.exe,7,1,1000,0,1,1," +
               std::to_string(fs::file_size(disk / "Peskin32.ex_")) + ",0,0\r\n";
    }
    for (int i = 0; i < count; ++i) {
      for (std::size_t k = 0; k < content.size(); k += 64) content[k] = static_cast<char>(gen());
      std::string name = "f" + std::to_string(i) + ".dat";
      test::writeFile(disk / name, content);
      // Entry 0 goes to the Windows folder, where the uninstaller's entry stays on removal.
      files += std::to_string(i) + "=" + name + "," + name + "," + std::to_string(i == 0 ? 7 : i % 4) +
               ",1,0,1,1,0," + std::to_string(size) + ",0,0\r\n";
    }
    return files;
  });
}

}  // namespace

Package& filesPackage(int count, std::size_t size) {
  static std::map<std::pair<int, std::size_t>, std::unique_ptr<Package>> made;
  auto& slot = made[{count, size}];
  if (!slot) slot = makeFilesPackage(count, size);
  return *slot;
}

Package& removablePackage(int count, std::size_t size) {
  static std::map<std::pair<int, std::size_t>, std::unique_ptr<Package>> made;
  auto& slot = made[{count, size}];
  if (!slot) slot = makeFilesPackage(count, size, true);
  return *slot;
}

const fs::path& workArea() {
  static test::TempDir dir;
  return dir.path();
}

fs::path freshMachine() {
  static int made = 0;
  fs::path root = workArea() / ("machine" + std::to_string(made++));
  test::runProgram("vandrel-machine", {"init", root.string(), "--preset", "win98"});
  return root;
}

std::string runSetup(const Package& package, const fs::path& machine,
                     const std::map<std::string, std::string>& env) {
  std::map<std::string, std::string> all = env;
  all["VANDREL_MACHINE"] = machine.string();
  all["VANDREL_UI"] = "scripted";
  auto result = test::runProgram((package.disk / "Setup.exe").string(), {}, all, 3600);
  return result.exitStatus == 0 ? std::string() : "setup failed: " + result.err;
}

std::string runRemoval(const fs::path& machine, const std::map<std::string, std::string>& env) {
  std::map<std::string, std::string> all = env;
  all["VANDREL_UI"] = "scripted";
  auto result = test::runProgram("vandrel-machine", {"uninstall", machine.string(), kRemovableName}, all, 3600);
  return result.exitStatus == 0 ? std::string() : "removal failed: " + result.err;
}

}  // namespace vandrel::bench
