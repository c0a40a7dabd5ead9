// The commands of vandrel-machine, each returning the tool's exit status (0 success, 1 failure).
// A failure is reported as one line on standard error.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/emulated/machine_root.h"

namespace vandrel::tools {

int initCommand(const std::filesystem::path& root, platform::emulated::Preset preset, const std::string& user);
int regExportCommand(const std::filesystem::path& root, const std::string& key);
int regImportCommand(const std::filesystem::path& root, const std::filesystem::path& file);
int pathCommand(const std::filesystem::path& root, const std::string& winPath);
int iniGetCommand(const std::filesystem::path& root, const std::string& file, const std::string& section,
                  const std::string& key, const std::optional<std::string>& def, std::size_t size);
int iniIntCommand(const std::filesystem::path& root, const std::string& file, const std::string& section,
                  const std::string& key, int def);
int iniSetCommand(const std::filesystem::path& root, const std::string& file, const std::string& section,
                  const std::string& key, const std::optional<std::string>& value);
int iniDeleteCommand(const std::filesystem::path& root, const std::string& file, const std::string& section);
int versionCommand(const std::filesystem::path& root, const std::string& winPath);
int runCommand(const std::filesystem::path& root, const std::string& commandLine);
int programsCommand(const std::filesystem::path& root);
int uninstallCommand(const std::filesystem::path& root, const std::string& name);
int bootCommand(const std::filesystem::path& root);

// Prints "vandrel-machine: message" on standard error.
void reportError(const std::string& message);

}  // namespace vandrel::tools
