// The emulated Windows machine kept in a folder (the machine root): making one and opening it.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/machine.h"

namespace vandrel::platform::emulated {

enum class Preset { Win95, Win98, NT4, Win2000 };

// "win95", "win98", "nt4", "win2000" (any case).
std::optional<Preset> parsePreset(std::string_view name);

// Makes a fresh machine root: machine.ini, registry.db and drive C: with the preset's folders,
// "Shell Folders" values and standard keys. Throws MachineError.
void initMachineRoot(const std::filesystem::path& root, Preset preset, const std::string& userName);

// Opens an existing machine root. Throws MachineError with a clear message when machine.ini or
// registry.db is missing or damaged.
std::unique_ptr<Machine> openMachine(const std::filesystem::path& root, const MachineOptions& options);

// Throws MachineError, before anything is written, when one of the machine's own files or
// folders in root (machine.ini, machine.lock, install.lock, registry.db, filemeta.db and their
// SQLite journals, drive_c) is a symbolic link: followed, it would take the machine's writes
// to whatever host file or folder it names.
void refuseLinkedOwnFiles(const std::filesystem::path& root);

// VANDREL_MACHINE, else $XDG_DATA_HOME/vandrel/machine (~/.local/share/vandrel/machine).
std::filesystem::path defaultMachineRoot();

}  // namespace vandrel::platform::emulated
