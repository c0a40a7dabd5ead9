// Making, opening and finding machine roots.
#include "platform/emulated/machine_root.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "platform/emulated/emulated_machine.h"
#include "platform/emulated/emulated_shell.h"
#include "platform/emulated/machine_lock.h"
#include "platform/emulated/registry/sqlite_registry.h"

namespace fs = std::filesystem;

namespace vandrel::platform::emulated {

namespace {

struct Folder {
  int csidl;
  std::string path;
};

// What a preset is: its identity in machine.ini and its special folders.
struct PresetLayout {
  MachineConfig identity;
  std::vector<Folder> folders;
};

PresetLayout layoutOf(Preset preset, const std::string& user) {
  PresetLayout l;
  MachineConfig& c = l.identity;
  c.userName = user;
  bool nt = preset == Preset::NT4 || preset == Preset::Win2000;
  if (!nt) {
    c.platform = 1;
    c.major = 4;
    c.minor = preset == Preset::Win95 ? 0 : 10;
    c.build = preset == Preset::Win95 ? 950 : 2222;
    c.windowsDir = "C:\\WINDOWS";
    c.systemDir = "C:\\WINDOWS\\SYSTEM";
    c.totalMemory = preset == Preset::Win95 ? 33554432 : 67108864;
    const std::string w = c.windowsDir;
    l.folders = {{csidl::StartMenu, w + "\\Start Menu"},
                 {csidl::Programs, w + "\\Start Menu\\Programs"},
                 {csidl::Startup, w + "\\Start Menu\\Programs\\StartUp"},
                 {csidl::DesktopDirectory, w + "\\Desktop"},
                 {csidl::Favorites, w + "\\Favorites"}};
    return l;
  }
  c.platform = 2;
  c.major = preset == Preset::NT4 ? 4 : 5;
  c.minor = 0;
  c.build = preset == Preset::NT4 ? 1381 : 2195;
  c.windowsDir = "C:\\WINNT";
  c.systemDir = "C:\\WINNT\\System32";
  c.totalMemory = preset == Preset::NT4 ? 67108864 : 134217728;
  const std::string profiles = preset == Preset::NT4 ? "C:\\WINNT\\Profiles" : "C:\\Documents and Settings";
  const std::string mine = profiles + "\\" + user, all = profiles + "\\All Users";
  l.folders = {{csidl::StartMenu, mine + "\\Start Menu"},
               {csidl::Programs, mine + "\\Start Menu\\Programs"},
               {csidl::Startup, mine + "\\Start Menu\\Programs\\StartUp"},
               {csidl::DesktopDirectory, mine + "\\Desktop"},
               {csidl::Favorites, mine + "\\Favorites"},
               {csidl::CommonStartMenu, all + "\\Start Menu"},
               {csidl::CommonPrograms, all + "\\Start Menu\\Programs"},
               {csidl::CommonStartup, all + "\\Start Menu\\Programs\\StartUp"},
               {csidl::CommonDesktopDirectory, all + "\\Desktop"}};
  return l;
}

// Creates a folder and the folders above it.
void makeFolders(FileSystem& files, const std::string& path) {
  std::string sofar;
  std::size_t pos = 0;
  while (pos != std::string::npos) {
    pos = path.find('\\', pos + 1);
    sofar = path.substr(0, pos);
    if (sofar.size() <= 2) continue;  // "C:"
    if (!files.status(sofar) && !files.createDirectory(sofar))
      throw MachineError("cannot create " + sofar + " in the machine");
  }
}

void writeMachineFile(FileSystem& files, const std::string& path, const std::string& text) {
  auto file = files.create(path);
  if (!file || file->write(text.data(), text.size()) != std::int64_t(text.size()))
    throw MachineError("cannot write " + path + " in the machine");
}

void setKeyValues(Registry& reg, HKey root, const std::string& key,
                  const std::vector<std::pair<std::string, std::string>>& values) {
  HKey handle = 0;
  if (reg.createKey(root, key, handle) != error::Success)
    throw MachineError("cannot create the registry key " + key);
  for (const auto& [name, value] : values) {
    if (reg.setString(handle, name, value) != error::Success) {
      reg.closeKey(handle);
      throw MachineError("cannot write the registry value " + key + "\\" + name);
    }
  }
  reg.closeKey(handle);
}

void writeRegistry(Registry& reg, const PresetLayout& layout) {
  const std::string cv = "Software\\Microsoft\\Windows\\CurrentVersion";
  setKeyValues(reg, hkey::LocalMachine, cv, {{"ProgramFilesDir", "C:\\Program Files"}});
  for (const char* sub : {"SharedDLLs", "Run", "RunOnce", "Uninstall"})
    setKeyValues(reg, hkey::LocalMachine, cv + "\\" + sub, {});
  std::vector<std::pair<std::string, std::string>> user, common;
  for (const Folder& f : layout.folders) {
    HKey root = 0;
    std::string name;
    if (!shellFolderValue(f.csidl, root, name)) continue;
    (root == hkey::CurrentUser ? user : common).emplace_back(name, f.path);
  }
  setKeyValues(reg, hkey::CurrentUser, kShellFoldersKey, user);
  if (!common.empty()) setKeyValues(reg, hkey::LocalMachine, kShellFoldersKey, common);
}

void validateUserName(const std::string& user) {
  auto win = text::resolveWindowsPath(user, text::WinPath{});
  if (user.empty() || !win || win->parts.size() != 1 || win->parts[0] != user)
    throw MachineError("\"" + user + "\" is not a valid user name");
}

void buildMachine(const fs::path& root, Preset preset, const std::string& user) {
  PresetLayout layout = layoutOf(preset, user);
  fs::create_directories(root / "drive_c");
  MachineConfig& config = layout.identity;
  config.root = root;
  {
    std::ofstream out(root / "machine.ini", std::ios::binary | std::ios::trunc);
    out << machineIniText(config);
    if (!out.flush()) throw MachineError("cannot write " + (root / "machine.ini").string());
  }
  config = loadMachineConfig(root);
  EmulatedFileSystem files(config, false);
  // NT keeps its 16-bit system folder "System" beside System32; programs that name the
  // Windows folder + "\System" (the setup engine's system directory) rely on it. On the 9x
  // presets it is the system folder itself.
  for (const std::string& folder :
       {config.windowsDir, config.systemDir, config.windowsDir + "\\System",
        config.windowsDir + "\\TEMP", std::string("C:\\Program Files")})
    makeFolders(files, folder);
  for (const Folder& f : layout.folders) makeFolders(files, f.path);
  writeMachineFile(files, config.windowsDir + "\\WIN.INI", "[windows]\r\nload=\r\nrun=\r\n");
  auto registry = SqliteRegistry::open(root / "registry.db", config.platform == platform_id::NT);
  writeRegistry(*registry, layout);
}

}  // namespace

std::optional<Preset> parsePreset(std::string_view name) {
  if (text::equalsNoCase(name, "win95")) return Preset::Win95;
  if (text::equalsNoCase(name, "win98")) return Preset::Win98;
  if (text::equalsNoCase(name, "nt4")) return Preset::NT4;
  if (text::equalsNoCase(name, "win2000")) return Preset::Win2000;
  return std::nullopt;
}

void refuseLinkedOwnFiles(const fs::path& root) {
  static const char* const ownNames[] = {
      "machine.ini",     kMachineLockName,  "install.lock",        "registry.db",     "registry.db-journal",
      "registry.db-wal", "registry.db-shm", "filemeta.db",         "filemeta.db-journal", "filemeta.db-wal",
      "filemeta.db-shm", "drive_c"};
  for (const char* name : ownNames) {
    std::error_code ec;
    const fs::path entry = root / name;
    if (!fs::is_symlink(fs::symlink_status(entry, ec))) continue;
    throw MachineError("the machine at " + root.string() + " has a symbolic link in place of its own " + name +
                       " (to " + fs::read_symlink(entry, ec).string() +
                       "); links there are not followed: remove it");
  }
}

namespace {

// The files a machine root holds besides the machine: the locks programs take in it.
bool isLockFile(const fs::path& entry) {
  const std::string name = entry.filename().string();
  return name == kMachineLockName || name == "install.lock";
}

// Makes a machine in root unless one is there already (machine.ini or registry.db); true
// when it made it. The machine's lock is held throughout, so that of two processes making
// the same machine at the same moment one makes it and the other finds it made.
bool makeMachineRoot(const fs::path& root, Preset preset, const std::string& userName) {
  if (fs::exists(root) && !fs::is_directory(root))
    throw MachineError(root.string() + " is not a folder");
  const bool made = !fs::exists(root);
  if (!made) refuseLinkedOwnFiles(root);
  std::error_code ec;
  fs::create_directories(root, ec);
  if (ec) throw MachineError("cannot make the folder " + root.string() + ": " + ec.message());
  MachineLock lock(root / kMachineLockName);
  if (!lock.acquire()) throw MachineError("cannot make a machine in " + root.string() + " now: its lock is held");
  struct Release {
    MachineLock& lock;
    ~Release() { lock.release(); }
  } release{lock};
  // An existing machine is never overwritten: its files and registry would be lost.
  if (fs::exists(root / "machine.ini") || fs::exists(root / "registry.db")) return false;
  try {
    buildMachine(root, preset, userName);
  } catch (const std::exception& e) {
    // A half-made machine must not pass for a machine.
    if (made) {
      fs::remove_all(root, ec);
    } else {
      fs::remove(root / "machine.ini", ec);
      fs::remove(root / "registry.db", ec);
    }
    if (dynamic_cast<const MachineError*>(&e)) throw;
    throw MachineError("cannot make a machine in " + root.string() + ": " + e.what());
  }
  return true;
}

// No machine yet: the folder is missing, or holds nothing but lock files.
bool holdsNoMachine(const fs::path& root) {
  std::error_code ec;
  if (!fs::exists(root, ec)) return true;
  if (!fs::is_directory(root, ec)) return false;
  for (const auto& entry : fs::directory_iterator(root, ec))
    if (!isLockFile(entry.path())) return false;
  return !ec;
}

}  // namespace

void initMachineRoot(const fs::path& rootIn, Preset preset, const std::string& userName) {
  validateUserName(userName);
  std::error_code ec;
  const fs::path root = fs::absolute(rootIn, ec);
  if (ec) throw MachineError("cannot use " + rootIn.string() + " as a machine root");
  if (!makeMachineRoot(root, preset, userName)) throw MachineError(root.string() + " already holds a machine");
}

std::unique_ptr<Machine> openMachine(const fs::path& rootIn, const MachineOptions& options) {
  std::error_code ec;
  const fs::path root = fs::absolute(rootIn, ec);
  if (ec || !fs::is_directory(root))
    throw MachineError("no machine at " + rootIn.string() + ": the folder does not exist");
  refuseLinkedOwnFiles(root);
  if (!fs::exists(root / "machine.ini"))
    throw MachineError("no machine at " + root.string() + ": machine.ini is missing");
  if (!fs::exists(root / "registry.db"))
    throw MachineError("damaged machine at " + root.string() + ": registry.db is missing");
  return std::make_unique<EmulatedMachine>(loadMachineConfig(root), options);
}

fs::path defaultMachineRoot() {
  if (const char* machine = std::getenv("VANDREL_MACHINE"); machine && *machine) return machine;
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/')
    return fs::path(data) / "vandrel" / "machine";
  const char* home = std::getenv("HOME");
  if (!home || !*home) {
    const passwd* pw = ::getpwuid(::getuid());
    home = pw ? pw->pw_dir : "/tmp";
  }
  return fs::path(home) / ".local" / "share" / "vandrel" / "machine";
}

}  // namespace vandrel::platform::emulated

namespace vandrel::platform {

std::unique_ptr<Machine> openHostMachine(const MachineOptions& options) {
  std::error_code ec;
  const fs::path root = fs::absolute(emulated::defaultMachineRoot(), ec);
  // Made on first use. Of two programs starting at once, one makes it and the other waits
  // for it to be made, then opens it.
  if (emulated::holdsNoMachine(root)) {
    if (emulated::makeMachineRoot(root, emulated::Preset::Win98, "user") && options.madeNewMachine)
      options.madeNewMachine(root);
  } else {
    emulated::MachineLock::waitWhileHeld(root / emulated::kMachineLockName);
  }
  return emulated::openMachine(root, options);
}

}  // namespace vandrel::platform
