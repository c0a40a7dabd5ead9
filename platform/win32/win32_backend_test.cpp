// Tests of the Windows backend on the system it runs on (under Wine in the build's tests):
// files and folders, the registry's rules, the system's identity, special folders, programs.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/program_start.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_process.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_system.h"
#include "tests/support/registry_contract.h"
#include "tests/support/temp_dir.h"

namespace vandrel::platform::win32 {
namespace {

std::string windowsPathOf(const test::TempDir& dir, const std::string& name = {}) {
  std::string path = dir.path().string();
  std::replace(path.begin(), path.end(), '/', '\\');
  return name.empty() ? path : path + "\\" + name;
}

TEST(Win32FileSystemTest, FilesAreWrittenReadAndListed) {
  test::TempDir dir;
  Win32FileSystem fs;
  const std::string folder = windowsPathOf(dir, "App");
  ASSERT_TRUE(fs.createDirectory(folder));
  EXPECT_FALSE(fs.createDirectory(folder));
  {
    auto file = fs.create(folder + "\\a.txt");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->write("hello", 5), 5);
  }
  auto file = fs.open(folder + "\\A.TXT", OpenMode::Read);  // names match without case
  ASSERT_TRUE(file);
  char text[8] = {};
  EXPECT_EQ(file->read(text, sizeof text), 5);
  EXPECT_EQ(std::string(text), "hello");
  EXPECT_EQ(file->size(), 5u);
  file.reset();
  EXPECT_FALSE(fs.open(folder + "\\missing.txt", OpenMode::Read));
  EXPECT_FALSE(fs.open(folder, OpenMode::Read));  // a folder is not a file

  std::vector<std::string> names;
  for (const FindData& found : fs.find(folder + "\\*.*")) names.push_back(found.name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "a.txt"}));
  auto status = fs.status(folder + "\\a.txt");
  ASSERT_TRUE(status);
  EXPECT_EQ(status->size, 5u);
  EXPECT_FALSE(status->isDirectory());
  EXPECT_TRUE(fs.status(folder)->isDirectory());

  EXPECT_FALSE(fs.removeDirectory(folder));  // not empty
  EXPECT_TRUE(fs.moveFile(folder + "\\a.txt", folder + "\\b.txt"));
  EXPECT_TRUE(fs.deleteFile(folder + "\\b.txt"));
  EXPECT_TRUE(fs.removeDirectory(folder));
}

// (Whether a read-only file refuses writing is not asked here: Wine keeps the attribute in
// the file's permissions, which the superuser the tests may run as does not heed.)
TEST(Win32FileSystemTest, AttributesAndTimesAreKept) {
  test::TempDir dir;
  Win32FileSystem fs;
  const std::string path = windowsPathOf(dir, "r.dll");
  fs.create(path).reset();
  ASSERT_TRUE(fs.setAttributes(path, attr::ReadOnly));
  EXPECT_TRUE(fs.status(path)->attributes & attr::ReadOnly);
  ASSERT_TRUE(fs.setAttributes(path, attr::Normal));
  EXPECT_FALSE(fs.status(path)->attributes & attr::ReadOnly);
  const FileTime stamp = 125911584000000000ull;  // 1999-12-31
  ASSERT_TRUE(fs.setFileTimes(path, std::nullopt, std::nullopt, stamp));
  EXPECT_EQ(fs.status(path)->lastWriteTime, stamp);
}

TEST(Win32FileSystemTest, TemporaryNamesPathsAndFreeSpace) {
  test::TempDir dir;
  Win32FileSystem fs;
  std::string name;
  unsigned used = fs.tempFileName(windowsPathOf(dir), "KVBxyz", 0, name);
  ASSERT_NE(used, 0u);
  EXPECT_TRUE(fs.status(name));  // made
  EXPECT_NE(name.find("\\KVB"), std::string::npos) << name;
  EXPECT_EQ(name.substr(name.size() - 4), ".tmp") << name;
  EXPECT_EQ(fs.tempFileName(windowsPathOf(dir), "KVB", 0x1234, name), 0x1234u);
  EXPECT_FALSE(fs.status(name));  // only named

  ASSERT_TRUE(fs.setCurrentDirectory(windowsPathOf(dir)));
  EXPECT_EQ(fs.fullPath("sub\\..\\x.txt"), windowsPathOf(dir, "x.txt"));
  auto space = fs.diskFreeSpace(fs.fullPath("\\"));
  ASSERT_TRUE(space);
  EXPECT_GT(space->bytesPerSector, 0u);
}

// The registry contract on the real registry, under a scratch key of the current user that
// goes with its contents after each case.
void removeTree(Registry& registry, HKey parent, const std::string& name) {
  HKey key = 0;
  if (registry.openKey(parent, name, key) != error::Success) return;
  std::string child;
  while (registry.enumKey(key, 0, child) == error::Success) {
    std::size_t before = child.size();
    removeTree(registry, key, child);
    if (before == 0) break;
  }
  registry.closeKey(key);
  registry.deleteKey(parent, name);
}

test::RegistryUnderTest openScratch() {
  static int serial = 0;
  const std::string name =
      "Software\\Vandrel tests\\" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
  auto registry = std::make_shared<Win32Registry>();
  HKey scratch = 0;
  EXPECT_EQ(registry->createKey(hkey::CurrentUser, name, scratch), error::Success);
  std::shared_ptr<Registry> held(registry.get(), [registry, name, scratch](Registry*) {
    registry->closeKey(scratch);
    removeTree(*registry, hkey::CurrentUser, name);
    registry->deleteKey(hkey::CurrentUser, "Software\\Vandrel tests");  // when it is empty
  });
  return {held, scratch};
}

using test::RegistryContract;
INSTANTIATE_TEST_SUITE_P(Win32, RegistryContract,
                         ::testing::Values(test::RegistryBackend{"win32", openScratch}),
                         [](const auto& info) { return info.param.name; });

TEST(Win32RegistryTest, PredefinedRootsAndUnknownHandles) {
  Win32Registry registry;
  std::string name;
  EXPECT_EQ(registry.enumKey(hkey::LocalMachine, 0, name), error::Success);
  EXPECT_EQ(registry.closeKey(hkey::LocalMachine), error::Success);
  HKey result = 0;
  EXPECT_EQ(registry.openKey(HKey(12345), "x", result), error::InvalidHandle);
  EXPECT_EQ(registry.closeKey(HKey(12345)), error::InvalidHandle);
}

TEST(Win32SystemTest, IdentityAndFolders) {
  Win32System system;
  OsVersion version = system.version();
  EXPECT_GE(version.majorVersion, 4u);
  EXPECT_TRUE(version.platformId == platform_id::NT || version.platformId == platform_id::Windows);
  EXPECT_EQ(system.processor().architecture, 0);  // what a 32-bit program is told, in both builds
  EXPECT_GE(system.processor().processorType, 386u);
  EXPECT_GT(system.totalPhysicalMemory(), 0u);
  std::string windows = system.windowsDirectory();
  ASSERT_GE(windows.size(), 3u);
  EXPECT_NE(windows.back(), '\\');
  EXPECT_EQ(system.systemDirectory().substr(0, windows.size()), windows);
  EXPECT_TRUE(system.userName());
}

TEST(Win32ShellTest, SpecialFoldersOfTheUser) {
  Win32Shell shell;
  for (int folder : {csidl::Programs, csidl::StartMenu, csidl::DesktopDirectory, csidl::Startup}) {
    auto path = shell.specialFolder(folder);
    ASSERT_TRUE(path) << folder;
    EXPECT_EQ((*path)[1], ':') << *path;
  }
  EXPECT_FALSE(shell.specialFolder(0x7777));
}

TEST(Win32ProcessTest, ProgramsRunAndTheirStatusComesBack) {
  Win32Process process;
  std::string self = process.moduleFileName();
  EXPECT_EQ(self.substr(self.size() - 4), ".exe") << self;
  EXPECT_EQ(process.runAndWait("cmd.exe /c exit 3"), 3);
  EXPECT_EQ(process.runAndWait("no-such-program-here.exe"), std::nullopt);
  EXPECT_LE(process.winExec("no-such-program-here.exe", show::Normal), 31u);
}

TEST(Win32LibraryLoaderTest, SystemLibrariesAndTheirFunctions) {
  Win32LibraryLoader loader;
  auto library = loader.load("kernel32.dll");
  ASSERT_TRUE(library);
  EXPECT_NE(library->symbol("GetVersionExA"), nullptr);
  EXPECT_EQ(library->symbol("NoSuchFunction"), nullptr);
  EXPECT_FALSE(loader.load("C:\\no\\such.dll"));
}

// The tools' --help on Windows (corvix.exe) names only the variables that apply there.
TEST(Win32HelpTest, TheEnvironmentHelpIsWindowss) {
  EXPECT_EQ(kBuildMachine, MachineKind::Windows);
  const std::string help = environmentHelp();
  EXPECT_EQ(help.find("VANDREL_MACHINE"), std::string::npos) << help;
  EXPECT_EQ(help.find("VANDREL_PLAN"), std::string::npos) << help;
  EXPECT_NE(help.find("VANDREL_ANSWERS"), std::string::npos) << help;
}

}  // namespace
}  // namespace vandrel::platform::win32
