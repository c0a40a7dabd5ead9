// Packages and machines for the benchmarks that run the real programs: a package folder with
// the starter, the setup engine and a script, fresh machine roots, and setups run on them.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "tests/support/temp_dir.h"

namespace vandrel::bench {

struct Package {
  test::TempDir dir;
  std::filesystem::path disk;  // the first disk folder, with Setup.exe, the engine and Script.vrx
};

// A package whose script holds the [Settings] of an application "Bench" and the given
// sections; addFiles (when given) puts the package's files into the disk folder and returns
// the sections that list them.
std::unique_ptr<Package> makePackage(
    const std::string& sections,
    const std::function<std::string(const std::filesystem::path&)>& addFiles = {});

// A package of count files of size bytes each (different contents): the first in the Windows
// folder (where a removal leaves the uninstaller's entry), the others spread over four
// folders below the installation folder; made once per size for the whole program.
Package& filesPackage(int count, std::size_t size);

// The same package that also installs the uninstaller and registers it as kRemovableName,
// so that `vandrel-machine uninstall` removes it as a user would.
Package& removablePackage(int count, std::size_t size);
inline constexpr const char* kRemovableName = "Bench 1.0";

// The installation folder of the packages above, as the setup chooses it.
inline constexpr const char* kInstallFolder = "C:\\Install";

// Where every run installs or copies, for the whole program: the temporary folder (TMPDIR).
// A host file system without a journal (ext4 here) passes over the inodes freed in the last
// half minute each time it makes a file, so a tree removed between runs would make the next
// run's creations cost more with every file removed before it, whichever side ran last.
// Trees stay until the program ends.
const std::filesystem::path& workArea();

// A fresh Windows 98 machine root in the work area.
std::filesystem::path freshMachine();

// Runs the package's Setup.exe unattended on the machine: empty when it succeeded, else why
// not. env entries are added to the setup's environment.
std::string runSetup(const Package& package, const std::filesystem::path& machine,
                     const std::map<std::string, std::string>& env = {});

// Removes the removable package from the machine through `vandrel-machine uninstall`
// unattended (the whole process, as a user starts it): empty when it succeeded, else why not.
std::string runRemoval(const std::filesystem::path& machine, const std::map<std::string, std::string>& env = {});

}  // namespace vandrel::bench
