// The identity and drive map of an emulated machine, read from its machine.ini.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vandrel::platform::emulated {

struct DriveMapping {
  char letter = 'C';
  std::filesystem::path host;  // absolute host folder
  bool readOnly = false;
};

struct MachineConfig {
  std::filesystem::path root;
  std::uint32_t platform = 1;
  std::uint32_t major = 4;
  std::uint32_t minor = 10;
  std::uint32_t build = 2222;
  std::uint16_t architecture = 0;
  std::uint32_t processorType = 586;
  std::string userName = "user";
  std::uint16_t languageId = 0x0409;
  std::string windowsDir = "C:\\WINDOWS";
  std::string systemDir = "C:\\WINDOWS\\SYSTEM";
  std::uint64_t totalMemory = 67108864;
  std::vector<DriveMapping> drives;
  std::map<char, std::uint64_t> freeSpace;                 // drive letter -> bytes free
  std::map<std::string, std::filesystem::path> programs;  // upper-case file name -> host program
  bool restartPending = false;
};

// Reads ROOT/machine.ini. Throws MachineError naming the file and the faulty entry.
MachineConfig loadMachineConfig(const std::filesystem::path& root);

// machine.ini for a new machine, with the explaining comments.
std::string machineIniText(const MachineConfig& config);

// Sets (or, without a value, removes) one key of ROOT/machine.ini, replacing the file
// atomically. Throws MachineError.
void writeMachineIniValue(const std::filesystem::path& root, const std::string& section,
                          const std::string& key, const std::optional<std::string>& value);

// Where the pending restart is kept in machine.ini.
inline constexpr const char* kStateSection = "State";
inline constexpr const char* kRestartPendingKey = "RestartPending";

}  // namespace vandrel::platform::emulated
