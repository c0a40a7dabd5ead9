// The in-memory machine: its registry keeps Windows' rules and fails changes exactly where
// asked, and its shell and profile write through the memory file system.
#include "tests/support/memory_machine.h"

#include <gtest/gtest.h>

namespace vandrel::test {
namespace {

using platform::HKey;
namespace error = platform::error;
namespace hkey = platform::hkey;

TEST(MemoryRegistry, KeysAndValuesMatchWithoutRegardToCaseAndKeepTheirFirstSpelling) {
  MemoryRegistry registry;
  HKey key = 0;
  bool created = false;
  ASSERT_EQ(registry.createKey(hkey::CurrentUser, "Software\\Orlwen\\Tool", key, &created), 0);
  EXPECT_TRUE(created);
  EXPECT_EQ(registry.setString(key, "Path", "C:\\App"), 0);
  EXPECT_EQ(registry.setDword(key, "COUNT", 7), 0);
  registry.closeKey(key);

  ASSERT_EQ(registry.createKey(hkey::CurrentUser, "SOFTWARE\\orlwen\\TOOL", key, &created), 0);
  EXPECT_FALSE(created);
  std::string text;
  EXPECT_EQ(registry.queryString(key, "path", text), 0);
  EXPECT_EQ(text, "C:\\App");
  registry.closeKey(key);
  EXPECT_EQ(registry.listAll(), (std::vector<std::string>{"HKCU\\Software\\Orlwen\\Tool|COUNT=7",
                                                          "HKCU\\Software\\Orlwen\\Tool|Path=C:\\App"}));
  EXPECT_EQ(registry.openHandles(), 0u);
}

TEST(MemoryRegistry, DeletingAKeyWithSubkeysDependsOnTheSystem) {
  for (bool nt : {false, true}) {
    MemoryRegistry registry(nt);
    HKey key = 0;
    registry.createKey(hkey::LocalMachine, "Software\\A\\B", key);
    registry.closeKey(key);
    EXPECT_EQ(registry.deleteKey(hkey::LocalMachine, "Software\\A"),
              nt ? error::AccessDenied : error::Success) << "nt " << nt;
    EXPECT_EQ(registry.hasKey(hkey::LocalMachine, "Software\\A\\B"), nt) << "nt " << nt;
  }
}

TEST(MemoryRegistry, RefusesExactlyTheChangesAskedFor) {
  struct Case {
    const char* name;
    void (*arm)(MemoryRegistry&);
    std::vector<long> results;  // create App, set a, set b, delete a
  };
  const Case cases[] = {
      {"nothing", [](MemoryRegistry&) {}, {0, 0, 0, 0}},
      {"second change", [](MemoryRegistry& r) { r.failChange(2); },
       {0, error::AccessDenied, 0, error::FileNotFound}},
      {"disk full on the fourth", [](MemoryRegistry& r) { r.failChange(4, error::DiskFull); },
       {0, 0, 0, error::DiskFull}},
      {"below a locked key", [](MemoryRegistry& r) { r.denyChanges(hkey::CurrentUser, "software\\app"); },
       {0, error::AccessDenied, error::AccessDenied, error::AccessDenied}},
      {"a locked sibling", [](MemoryRegistry& r) { r.denyChanges(hkey::CurrentUser, "Software\\Ap"); },
       {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    MemoryRegistry registry;
    HKey parent = 0;
    registry.createKey(hkey::CurrentUser, "Software", parent);
    c.arm(registry);
    HKey key = 0;
    std::vector<long> results;
    results.push_back(registry.createKey(parent, "App", key));
    results.push_back(registry.setString(key, "a", "1"));
    results.push_back(registry.setString(key, "b", "2"));
    results.push_back(registry.deleteValue(key, "a"));
    EXPECT_EQ(results, c.results) << c.name;
    EXPECT_EQ(registry.hasValue(hkey::CurrentUser, "Software\\App", "a"),
              results[1] == 0 && results[3] != 0) << c.name;
  }
}

TEST(MemoryMachine, ShortcutsAndProfileWritesGoThroughTheFileSystemAndItsFailures) {
  MemoryMachine machine;
  const std::string programs = *machine.shell().specialFolder(platform::csidl::Programs);
  platform::ShellLink link;
  link.target = "C:\\App\\tool.exe";
  EXPECT_TRUE(machine.shell().createShortcut(programs + "\\Tool.lnk", link));
  EXPECT_TRUE(machine.memoryFiles().exists(programs + "\\Tool.lnk"));

  machine.memoryFiles().denyAccess(programs + "\\Locked.lnk");
  EXPECT_FALSE(machine.shell().createShortcut(programs + "\\Locked.lnk", link));
  machine.memoryShell().refuse(programs + "\\Refused.lnk");
  EXPECT_FALSE(machine.shell().createShortcut(programs + "\\Refused.lnk", link));
  EXPECT_EQ(machine.memoryShell().created, std::vector<std::string>{programs + "\\Tool.lnk"});

  EXPECT_TRUE(machine.profile().writeProfileString("Tool", "Key", std::string("1")));
  EXPECT_EQ(machine.profile().getProfileString(std::string("Tool"), std::string("Key"), "", 260), "1");
  machine.memoryFiles().denyAccess("C:\\WINDOWS\\WIN.INI");
  EXPECT_FALSE(machine.profile().writeProfileString("Tool", "Key", std::string("2")));
}

}  // namespace
}  // namespace vandrel::test
