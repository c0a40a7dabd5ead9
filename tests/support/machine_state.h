// What a machine holds, for comparing it before and after a run.
#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace vandrel::test {

// Everything that makes up a machine: each file below its root with its contents (the
// drives, every INI file, machine.ini, the registry and file stores; not SQLite's scratch
// files), and the registry as regedit exports it (under "<registry export>").
std::map<std::string, std::string> machineState(const std::filesystem::path& root);

}  // namespace vandrel::test
