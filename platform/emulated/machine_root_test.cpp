// Tests of making and opening machine roots: presets, identity, damaged roots, restart.
#include "platform/emulated/machine_root.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/emulated/machine_config.h"
#include "platform/formats/shell_link.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace vandrel::platform::emulated {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

struct PresetCase {
  const char* name;
  OsVersion version;
  const char* windowsDir;
  const char* systemDir;
  const char* programs;  // CSIDL 2
  const char* favorites;
  const char* commonStartup;  // CSIDL 24; nullptr: none
};

const PresetCase kPresets[] = {
    {"win95", {4, 0, 950, 1}, "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", "C:\\WINDOWS\\Start Menu\\Programs",
     "C:\\WINDOWS\\Favorites", nullptr},
    {"WIN98", {4, 10, 2222, 1}, "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", "C:\\WINDOWS\\Start Menu\\Programs",
     "C:\\WINDOWS\\Favorites", nullptr},
    {"nt4", {4, 0, 1381, 2}, "C:\\WINNT", "C:\\WINNT\\System32", "C:\\WINNT\\Profiles\\ann\\Start Menu\\Programs",
     "C:\\WINNT\\Profiles\\ann\\Favorites", "C:\\WINNT\\Profiles\\All Users\\Start Menu\\Programs\\StartUp"},
    {"win2000", {5, 0, 2195, 2}, "C:\\WINNT", "C:\\WINNT\\System32",
     "C:\\Documents and Settings\\ann\\Start Menu\\Programs", "C:\\Documents and Settings\\ann\\Favorites",
     "C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\StartUp"},
};

TEST(MachineRoot, EachPresetMakesItsFoldersAndIdentity) {
  for (const PresetCase& p : kPresets) {
    SCOPED_TRACE(p.name);
    TempDir temp;
    auto preset = parsePreset(p.name);
    ASSERT_TRUE(preset);
    initMachineRoot(temp / "m", *preset, "ann");
    auto machine = openMachine(temp / "m", {});
    OsVersion v = machine->system().version();
    EXPECT_EQ(v.majorVersion, p.version.majorVersion);
    EXPECT_EQ(v.minorVersion, p.version.minorVersion);
    EXPECT_EQ(v.buildNumber, p.version.buildNumber);
    EXPECT_EQ(v.platformId, p.version.platformId);
    EXPECT_EQ(machine->system().windowsDirectory(), p.windowsDir);
    EXPECT_EQ(machine->system().systemDirectory(), p.systemDir);
    EXPECT_EQ(machine->system().userName(), "ann");
    EXPECT_EQ(machine->shell().specialFolder(csidl::Programs), p.programs);
    EXPECT_EQ(machine->shell().specialFolder(csidl::Favorites), p.favorites);
    auto common = machine->shell().specialFolder(csidl::CommonStartup);
    EXPECT_EQ(common.has_value(), p.commonStartup != nullptr);
    if (p.commonStartup) {
      EXPECT_EQ(*common, p.commonStartup);
    }
    for (int id : {2, 6, 7, 11, 16, 22, 23, 24, 25}) {
      auto folder = machine->shell().specialFolder(id);
      if (folder) {
        EXPECT_TRUE(machine->files().status(*folder)->isDirectory()) << *folder;
      }
    }
    EXPECT_TRUE(machine->files().status(std::string(p.systemDir)));
    // The Windows folder's "System" folder exists on every preset: on NT it is the 16-bit
    // system folder beside System32, on 9x the system folder itself (one folder, not two).
    auto system16 = machine->files().status(std::string(p.windowsDir) + "\\System");
    EXPECT_TRUE(system16 && system16->isDirectory());
    EXPECT_EQ(machine->files().find(std::string(p.windowsDir) + "\\SYSTEM*").size(),
              std::string(p.systemDir).ends_with("32") ? 2u : 1u);
    EXPECT_TRUE(machine->files().status(std::string(p.windowsDir) + "\\win.ini"));
    HKey key = 0;
    for (const char* sub : {"SharedDLLs", "Run", "RunOnce", "Uninstall"}) {
      std::string path = std::string("Software\\Microsoft\\Windows\\CurrentVersion\\") + sub;
      EXPECT_EQ(machine->registry().openKey(hkey::LocalMachine, path, key), error::Success) << sub;
      machine->registry().closeKey(key);
    }
    // No web browser is registered.
    EXPECT_NE(machine->registry().openKey(hkey::ClassesRoot, "htmlfile\\shell\\open\\command", key),
              error::Success);
    EXPECT_EQ(machine->profile().getProfileString("Extensions", "htm", "none", 260), "none");
  }
}

TEST(MachineRoot, MachineIniHasTheDocumentedKeys) {
  TempDir temp;
  initMachineRoot(temp.path(), Preset::Win98, "user");
  std::string text = readFile(temp / "machine.ini");
  for (const char* line : {"[System]\n", "Platform=1\n", "Major=4\n", "Minor=10\n", "Build=2222\n",
                           "Architecture=0\n", "ProcessorType=586\n", "UserName=user\n", "LanguageId=0x0409\n",
                           "WindowsDir=C:\\WINDOWS\n", "SystemDir=C:\\WINDOWS\\SYSTEM\n",
                           "TotalMemory=67108864\n", "[Drives]\n", "C=drive_c\n", "Z=/,readonly\n",
                           "[FreeSpace]\n", "[Programs]\n", "; Platform: 0 Win32s, 1 Windows 95/98, 2 Windows NT\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line;
  EXPECT_TRUE(fs::is_directory(temp / "drive_c" / "WINDOWS" / "Start Menu" / "Programs" / "StartUp"));
  EXPECT_TRUE(fs::exists(temp / "registry.db"));
}

TEST(MachineRoot, RefusesBadUsersAndExistingMachines) {
  TempDir temp;
  EXPECT_THROW(initMachineRoot(temp / "a", Preset::NT4, "..\\evil"), MachineError);
  EXPECT_THROW(initMachineRoot(temp / "a", Preset::NT4, "con"), MachineError);
  EXPECT_THROW(initMachineRoot(temp / "a", Preset::NT4, ""), MachineError);
  EXPECT_FALSE(fs::exists(temp / "a"));
  initMachineRoot(temp / "a", Preset::Win95, "bob");
  writeFile(temp / "a" / "drive_c" / "keep.txt", "data");
  EXPECT_THROW(initMachineRoot(temp / "a", Preset::Win98, "bob"), MachineError);
  EXPECT_EQ(readFile(temp / "a" / "drive_c" / "keep.txt"), "data");
  EXPECT_FALSE(parsePreset("win3"));
}

// The message of the MachineError that opening the machine gives.
std::string openError(const fs::path& root) {
  try {
    openMachine(root, {});
  } catch (const MachineError& e) {
    return e.what();
  }
  return "<opened>";
}

TEST(MachineRoot, DamagedRootsGiveClearErrors) {
  TempDir temp;
  EXPECT_NE(openError(temp / "none").find("does not exist"), std::string::npos);
  EXPECT_NE(openError(temp.path()).find("machine.ini is missing"), std::string::npos);
  initMachineRoot(temp.path(), Preset::Win98, "user");
  std::string good = readFile(temp / "machine.ini");
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    writeFile(temp / "machine.ini", text);
    return openError(temp.path());
  };
  EXPECT_NE(replaced("Platform=1", "Platform=seven").find("[System] Platform=seven is not a valid number"),
            std::string::npos);
  EXPECT_NE(replaced("Platform=1", "Platform=4294967296").find("Platform"), std::string::npos);
  EXPECT_NE(replaced("Platform=1", "Platform=-1").find("Platform"), std::string::npos);
  // Any identifier the version query can report makes a machine, known to the programs or not.
  for (const char* id : {"3", "4294967295"}) {
    replaced("Platform=1", std::string("Platform=") + id);
    EXPECT_EQ(std::to_string(openMachine(temp.path(), {})->system().version().platformId), id);
  }
  EXPECT_NE(replaced("UserName=user\n", "").find("[System] UserName is missing"), std::string::npos);
  EXPECT_NE(replaced("C=drive_c\n", "").find("[Drives] C is missing"), std::string::npos);
  EXPECT_NE(replaced("Z=/,readonly", "Z=/,fast").find("unknown option"), std::string::npos);
  EXPECT_NE(replaced("WindowsDir=C:\\WINDOWS", "WindowsDir=\\\\srv\\x").find("WindowsDir"), std::string::npos);
  writeFile(temp / "machine.ini", std::string("\0\1\2garbage", 10));
  EXPECT_NE(openError(temp.path()).find("missing"), std::string::npos);
  writeFile(temp / "machine.ini", good);
  writeFile(temp / "registry.db", std::string(4096, '\x5a'));
  EXPECT_NE(openError(temp.path()), "<opened>");
  fs::remove(temp / "registry.db");
  EXPECT_NE(openError(temp.path()).find("registry.db is missing"), std::string::npos);
}

TEST(MachineRoot, RebootIsRecordedAsAPendingRestart) {
  TempDir temp;
  initMachineRoot(temp.path(), Preset::Win98, "user");
  {
    auto machine = openMachine(temp.path(), {});
    EXPECT_TRUE(machine->system().exitWindows(exit_flags::Logoff));
    EXPECT_FALSE(loadMachineConfig(temp.path()).restartPending);
    EXPECT_TRUE(machine->system().exitWindows(exit_flags::Reboot));
  }
  MachineConfig config = loadMachineConfig(temp.path());
  EXPECT_TRUE(config.restartPending);
  EXPECT_EQ(config.windowsDir, "C:\\WINDOWS");  // the rest of the file is kept
  writeMachineIniValue(temp.path(), kStateSection, kRestartPendingKey, std::nullopt);
  EXPECT_FALSE(loadMachineConfig(temp.path()).restartPending);
}

TEST(MachineRoot, ShortcutsAndProfilesGoThroughTheMachine) {
  TempDir temp;
  initMachineRoot(temp.path(), Preset::Win98, "user");
  auto machine = openMachine(temp.path(), {});
  ShellLink link;
  link.target = "C:\\Program Files\\App\\app.exe";
  link.workingDirectory = "C:\\Program Files\\App";
  std::string lnk = *machine->shell().specialFolder(csidl::Programs) + "\\App.lnk";
  ASSERT_TRUE(machine->shell().createShortcut(lnk, link));
  std::string bytes = readFile(*machine->files().hostPath(lnk));
  ASSERT_GE(bytes.size(), 76u);
  EXPECT_EQ(bytes[0], 0x4C);  // the size of the shell link header
  EXPECT_NE(bytes.find("app.exe"), std::string::npos);
  EXPECT_FALSE(machine->shell().createShortcut("Z:\\tmp\\App.lnk", link));
  // Code page text in, the characters it stands for in the file.
  link.target = "C:\\Caf\xe9\\app.exe";
  link.description = "it\x92s \x80 5";
  ASSERT_TRUE(machine->shell().createShortcut(lnk, link));
  std::string written = readFile(*machine->files().hostPath(lnk));
  std::optional<ShellLink> read = decodeShellLink(Bytes(written.begin(), written.end()));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->target, "C:\\Caf\xc3\xa9\\app.exe");
  EXPECT_EQ(read->description, "it\xe2\x80\x99s \xe2\x82\xac 5");

  ASSERT_TRUE(machine->profile().writeString("app.ini", "Main", "Key", "Value"));
  EXPECT_TRUE(fs::exists(temp / "drive_c" / "WINDOWS" / "app.ini"));
  EXPECT_EQ(machine->profile().getString("C:\\WINDOWS\\APP.INI", "main", "KEY", "", 260), "Value");
}

// The machine's own files and folders replaced by symbolic links are refused before anything
// is written: the host file or folder they name stays as it was, or is not made.
TEST(MachineRoot, LinksInPlaceOfTheMachinesOwnFilesAreRefused) {
  for (const char* name : {"machine.ini", "machine.lock", "install.lock", "registry.db", "registry.db-journal",
                           "filemeta.db", "filemeta.db-wal", "drive_c"}) {
    SCOPED_TRACE(name);
    TempDir temp;
    initMachineRoot(temp / "m", Preset::Win98, "user");
    writeFile(temp / "outside" / "victim.txt", "canary");
    fs::path entry = temp / "m" / name;
    if (fs::is_directory(entry)) fs::rename(entry, temp / "outside" / "moved");
    else if (fs::exists(entry)) fs::copy(entry, temp / "outside" / "copy");
    fs::remove(entry);
    // A link to a copy of the real file (the machine would work on it), or to a file not there.
    const fs::path target = fs::is_directory(temp / "outside" / "moved") ? temp / "outside" / "moved"
                            : fs::exists(temp / "outside" / "copy") ? temp / "outside" / "copy"
                                                                    : temp / "outside" / "made";
    fs::create_symlink(target, entry);
    const std::string expected = "the machine at " + (temp / "m").string() +
                                 " has a symbolic link in place of its own " + name + " (to " + target.string() +
                                 "); links there are not followed: remove it";
    auto listing = [&] {
      std::string all;
      for (const auto& e : fs::recursive_directory_iterator(temp / "outside"))
        all += e.path().string() + " " + std::to_string(fs::last_write_time(e.path()).time_since_epoch().count()) + "\n";
      return all;
    };
    const std::string before = listing();
    EXPECT_EQ(openError(temp / "m"), expected);
    const char* saved = std::getenv("VANDREL_MACHINE");
    std::string savedText = saved ? saved : "";
    ::setenv("VANDREL_MACHINE", (temp / "m").c_str(), 1);
    try {
      openHostMachine({});
      ADD_FAILURE() << "opened";
    } catch (const MachineError& e) {
      EXPECT_EQ(std::string(e.what()), expected);
    }
    if (saved) ::setenv("VANDREL_MACHINE", savedText.c_str(), 1);
    else ::unsetenv("VANDREL_MACHINE");
    EXPECT_EQ(listing(), before);
    EXPECT_FALSE(fs::exists(temp / "outside" / "made"));
  }
  // The same on a root that holds only a linked lock: no machine is made through it.
  TempDir temp;
  fs::create_directories(temp / "m");
  fs::create_symlink(temp / "made.lock", temp / "m" / "machine.lock");
  EXPECT_THROW(initMachineRoot(temp / "m", Preset::Win98, "user"), MachineError);
  EXPECT_FALSE(fs::exists(temp / "made.lock"));
}

TEST(MachineRoot, DefaultRootFollowsTheEnvironmentAndIsMadeOnFirstUse) {
  TempDir temp;
  const char* saved = std::getenv("VANDREL_MACHINE");
  std::string savedText = saved ? saved : "";
  ::setenv("VANDREL_MACHINE", (temp / "default").c_str(), 1);
  EXPECT_EQ(defaultMachineRoot(), temp / "default");
  auto machine = openHostMachine({});
  EXPECT_EQ(machine->system().windowsDirectory(), "C:\\WINDOWS");
  EXPECT_TRUE(fs::exists(temp / "default" / "machine.ini"));
  // A folder holding something other than a machine is not taken over.
  fs::create_directories(temp / "busy");
  writeFile(temp / "busy" / "notes.txt", "mine");
  ::setenv("VANDREL_MACHINE", (temp / "busy").c_str(), 1);
  EXPECT_THROW(openHostMachine({}), MachineError);
  ::unsetenv("VANDREL_MACHINE");
  ::setenv("XDG_DATA_HOME", temp.path().c_str(), 1);
  EXPECT_EQ(defaultMachineRoot(), temp / "vandrel" / "machine");
  ::unsetenv("XDG_DATA_HOME");
  if (saved) ::setenv("VANDREL_MACHINE", savedText.c_str(), 1);
}

}  // namespace
}  // namespace vandrel::platform::emulated
