// The engine and uninstaller files of a package: which files a document needs, under which
// names they lie beside the builder and under which names they go on the first disk.
#pragma once

#include <string>
#include <vector>

#include "builder/model/settings.h"

namespace vandrel::builder {

// One file copied from the builder's folder to the first disk.
struct EnginePair {
  std::string source;  // name in the builder's folder ("Tam32E.ex_")
  std::string onDisk;  // name on the first disk ("Tamsin32.ex_")
};

// The pairs of a generation, in copy order: the starter, the setup engines of the kinds that
// nSyst asks for, then (built-in uninstaller only) the uninstallers of those kinds.
std::vector<EnginePair> enginePairs(const ScriptSettings& settings);

// The uninstaller that the script installs: 16-bit when nSyst is 0 or 2, else 32-bit.
struct UninstallerFiles {
  std::string source;     // language-specific name in the builder's folder ("Pes32E.ex_")
  std::string onDisk;     // "Peskin32.ex_"
  std::string installed;  // "Peskin32.exe"
};
UninstallerFiles uninstallerFiles(const ScriptSettings& settings);

// The component files whose sizes make the engine overhead of a package (summary).
std::vector<std::string> overheadFiles(const ScriptSettings& settings);

}  // namespace vandrel::builder
