// The installation lock of a machine named by its root, for the machine's own tools, which
// work on the machine their command line names rather than the default one.
#pragma once

#include <filesystem>
#include <string>

namespace vandrel::platform::emulated {

// holdInstallationLock (platform/program_start.h) for the machine at root.
bool holdInstallationLockOf(const std::filesystem::path& root, const std::string& program);

}  // namespace vandrel::platform::emulated
