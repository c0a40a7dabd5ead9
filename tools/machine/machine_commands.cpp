// The commands of vandrel-machine over an emulated machine root.
#include "tools/machine/machine_commands.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>

#include "platform/bounded_read.h"
#include "platform/code_page.h"
#include "platform/emulated/installation_lock.h"
#include "platform/emulated/machine_config.h"
#include "platform/emulated/registry/regedit_text.h"
#include "platform/text/text_rules.h"
#include "platform/text/windows_path.h"
#include "platform/formats/version_resource.h"
#include "platform/plan/plan_machine.h"
#include "platform/plan/plan_programs.h"
#include "platform/program_start.h"
#include "tools/machine/run_once.h"

namespace fs = std::filesystem;

namespace vandrel::tools {

using namespace vandrel::platform;
using platform::emulated::openMachine;

namespace {

const char* kCurrentVersion = "Software\\Microsoft\\Windows\\CurrentVersion";

bool planning() { return planSetting() == PlanSetting::On; }

// The machine of a command. In a plan (VANDREL_PLAN=1) it is a plan over the machine: what a
// command changes stays in memory and is dropped at its end, and only this system's own
// programs are started, as plans themselves (plan_programs.h).
std::unique_ptr<Machine> open(const fs::path& root) {
  std::unique_ptr<Machine> machine = openMachine(root, MachineOptions{});
  if (!planning()) return machine;
  return makePlan(std::move(machine));
}

// Starts a command and waits for it. In a plan, a program that does not plan itself is not
// started: the command line is printed on standard output ("would run: ...") instead, and
// counts as run with status 0.
std::optional<int> startAndWait(Machine& machine, const std::string& commandLine) {
  std::cout.flush();
  if (!planning()) return machine.process().runAndWait(commandLine);
  auto& plan = static_cast<PlanMachine&>(machine);
  const std::size_t before = plan.commandsPlanned().size();
  std::optional<int> status = machine.process().runAndWait(commandLine);
  if (status || plan.commandsPlanned().size() == before) return status;
  std::cout << "would run: " << cp1252ToUtf8(commandLine) << std::endl;
  return 0;
}

// Names and values live in the machine in code page 1252; the terminal speaks UTF-8. Text
// typed in UTF-8 is taken into the code page (text that is not UTF-8 is taken as it is), and
// text shown is given in UTF-8.
std::string typed(const std::string& text) { return utf8ToCp1252(text); }
std::optional<std::string> typed(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  return utf8ToCp1252(*text);
}

// The subkey names of a key; empty when the key is missing.
std::vector<std::string> subkeys(Registry& reg, HKey root, const std::string& path) {
  std::vector<std::string> names;
  HKey key = 0;
  if (reg.openKey(root, path, key) != error::Success) return names;
  std::string name;
  for (std::uint32_t i = 0; reg.enumKey(key, i, name) == error::Success; ++i) names.push_back(name);
  reg.closeKey(key);
  return names;
}

std::optional<std::string> stringValue(Registry& reg, HKey root, const std::string& path, const std::string& name) {
  HKey key = 0;
  if (reg.openKey(root, path, key) != error::Success) return std::nullopt;
  std::string value;
  long rc = reg.queryString(key, name, value);
  reg.closeKey(key);
  if (rc != error::Success) return std::nullopt;
  return value;
}

// Runs a command line from the Windows folder, as the system starts its programs. Such a
// command (an UninstallString, a Run or RunOnce value) comes from a package: it runs confined.
bool runFromWindowsFolder(Machine& machine, const std::string& commandLine, int& status) {
  machine.files().setCurrentDirectory(machine.system().windowsDirectory());
  machine.process().confineStartedPrograms("vandrel-machine");
  auto result = startAndWait(machine, commandLine);
  if (!result) return false;
  status = *result;
  return true;
}

}  // namespace

void reportError(const std::string& message) { std::cerr << "vandrel-machine: " << message << std::endl; }

int initCommand(const fs::path& root, platform::emulated::Preset preset, const std::string& user) {
  if (planning()) {
    reportError("VANDREL_PLAN: a plan makes no machine; init is not done");
    return 1;
  }
  platform::emulated::initMachineRoot(root, preset, user);
  return 0;
}

int regExportCommand(const fs::path& root, const std::string& key) {
  auto machine = open(root);
  std::cout << cp1252ToUtf8(platform::emulated::exportRegedit4(machine->registry(), typed(key)));
  return std::cout.flush() ? 0 : 1;
}

int regImportCommand(const fs::path& root, const fs::path& file) {
  auto machine = open(root);
  std::string reason;
  std::optional<std::string> text = platform::readHostFileBounded(file, platform::kTextFileLimit, &reason);
  if (!text) {
    reportError("the file " + file.string() + " " + reason);
    return 1;
  }
  // The text as the export writes it (UTF-8), or as regedit writes it (the code page).
  std::string content = std::move(*text);
  if (isUtf8(content)) content = utf8ToCp1252(content);
  std::string error;
  if (!platform::emulated::importRegedit4(machine->registry(), content, error)) {
    reportError(file.string() + ": " + error);
    return 1;
  }
  return 0;
}

int pathCommand(const fs::path& root, const std::string& winPath) {
  auto machine = open(root);
  auto host = machine->files().hostPath(winPath);
  if (!host) {
    reportError("\"" + winPath + "\" is not a path of this machine");
    return 1;
  }
  std::cout << host->string() << "\n";
  return 0;
}

int iniGetCommand(const fs::path& root, const std::string& file, const std::string& section,
                  const std::string& key, const std::optional<std::string>& def, std::size_t size) {
  auto machine = open(root);
  std::cout << cp1252ToUtf8(machine->profile().getString(file, typed(section), typed(key),
                                                         typed(def.value_or("")), size))
            << "\n";
  return 0;
}

int iniIntCommand(const fs::path& root, const std::string& file, const std::string& section,
                  const std::string& key, int def) {
  auto machine = open(root);
  std::cout << machine->profile().getInt(file, typed(section), typed(key), def) << "\n";
  return 0;
}

int iniSetCommand(const fs::path& root, const std::string& file, const std::string& section,
                  const std::string& key, const std::optional<std::string>& value) {
  auto machine = open(root);
  if (!machine->profile().writeString(file, typed(section), typed(key), typed(value))) {
    reportError("cannot write " + file);
    return 1;
  }
  return 0;
}

int iniDeleteCommand(const fs::path& root, const std::string& file, const std::string& section) {
  auto machine = open(root);
  if (!machine->profile().writeString(file, section, std::nullopt, std::nullopt)) {
    reportError("cannot write " + file);
    return 1;
  }
  return 0;
}

int versionCommand(const fs::path& root, const std::string& winPath) {
  auto machine = open(root);
  Bytes block;
  if (!machine->versionInfo().info(winPath, block)) {
    reportError(winPath + " has no version information");
    return 1;
  }
  std::vector<Translation> translations = queryTranslations(block);
  std::optional<FixedFileInfo> fixed = queryFixedFileInfo(block);
  auto dotted = [](const std::array<std::uint16_t, 4>& v) {
    return std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]) + "." +
           std::to_string(v[3]);
  };
  std::optional<std::string> fileVersion, productVersion;
  if (!translations.empty()) {
    std::string table = "\\StringFileInfo\\" + translations[0].blockName() + "\\";
    fileVersion = queryString(block, table + "FileVersion");
    productVersion = queryString(block, table + "ProductVersion");
  }
  if (!fileVersion && fixed) fileVersion = dotted(fixed->fileVersion());
  if (!productVersion && fixed) productVersion = dotted(fixed->productVersion());
  if (translations.empty() && !fileVersion && !productVersion) {
    reportError(winPath + " has no version information");
    return 1;
  }
  if (!translations.empty()) std::cout << "Translation=" << translations[0].blockName() << "\n";
  if (fileVersion) std::cout << "FileVersion=" << cp1252ToUtf8(*fileVersion) << "\n";
  if (productVersion) std::cout << "ProductVersion=" << cp1252ToUtf8(*productVersion) << "\n";
  return 0;
}

int runCommand(const fs::path& root, const std::string& commandLine) {
  auto machine = open(root);
  auto status = startAndWait(*machine, commandLine);
  if (!status) {
    reportError("cannot start \"" + commandLine + "\"");
    return 1;
  }
  return *status & 0xFF;
}

int programsCommand(const fs::path& root) {
  auto machine = open(root);
  const std::string uninstall = std::string(kCurrentVersion) + "\\Uninstall";
  for (const std::string& name : subkeys(machine->registry(), hkey::LocalMachine, uninstall)) {
    const std::string path = uninstall + "\\" + name;
    auto display = stringValue(machine->registry(), hkey::LocalMachine, path, "DisplayName");
    if (display && !display->empty()) {
      std::cout << cp1252ToUtf8(*display) << "\n";
      continue;
    }
    // A registration without its name but with its command (a removal stopped between the
    // two) is listed by its key's name, which `uninstall` takes too, so that it can be
    // removed again.
    auto command = stringValue(machine->registry(), hkey::LocalMachine, path, "UninstallString");
    if (command && !command->empty()) std::cout << cp1252ToUtf8(name) << "\n";
  }
  return 0;
}

int uninstallCommand(const fs::path& root, const std::string& typedName) {
  const std::string name = typed(typedName);
  auto machine = open(root);
  Registry& reg = machine->registry();
  const std::string uninstall = std::string(kCurrentVersion) + "\\Uninstall";
  for (const std::string& key : subkeys(reg, hkey::LocalMachine, uninstall)) {
    const std::string path = uninstall + "\\" + key;
    auto display = stringValue(reg, hkey::LocalMachine, path, "DisplayName");
    bool named = text::equalsNoCase(key, name) ||
                 (display && text::equalsNoCase(*display, name));
    if (!named) continue;
    auto command = stringValue(reg, hkey::LocalMachine, path, "UninstallString");
    if (!command || command->empty()) {
      reportError("\"" + typedName + "\" has no UninstallString");
      return 1;
    }
    // The uninstaller is started holding the installation lock, which it takes over: an
    // installation running meanwhile could otherwise replace the very program being started.
    // A plan starts nothing and takes no turn.
    if (!planning() && !platform::emulated::holdInstallationLockOf(fs::absolute(root), "vandrel-machine")) return 1;
    if (!planning()) platform::handInstallationLockDown();
    int status = 0;
    if (!runFromWindowsFolder(*machine, *command, status)) {
      reportError("cannot start \"" + cp1252ToUtf8(*command) + "\"");
      return 1;
    }
    return status & 0xFF;
  }
  reportError("no installed program named \"" + typedName + "\"");
  return 1;
}

int bootCommand(const fs::path& root) {
  auto machine = open(root);
  // Cleared first, so that a program run below may ask for another restart. A plan leaves it,
  // and deletes the RunOnce values below only in its own memory.
  if (!planning())
    platform::emulated::writeMachineIniValue(fs::absolute(root), platform::emulated::kStateSection,
                                             platform::emulated::kRestartPendingKey, std::nullopt);
  Registry& reg = machine->registry();
  bool allStarted = true;
  auto start = [&](const std::string& command) {
    int status = 0;
    if (command.empty() || runFromWindowsFolder(*machine, command, status)) return;
    reportError("cannot start \"" + command + "\"");
    allStarted = false;
  };
  runOnceCommands(reg, start, [](const std::string& command) {
    reportError("the RunOnce command \"" + cp1252ToUtf8(command) +
                "\" was cut off twice by a stopped restart; it is not started again");
  });
  const std::string run = std::string(kCurrentVersion) + "\\Run";
  for (HKey rootKey : {hkey::LocalMachine, hkey::CurrentUser})
    for (const auto& entry : commandValues(reg, rootKey, run)) start(entry.second);
  return allStarted ? 0 : 1;
}

}  // namespace vandrel::tools
