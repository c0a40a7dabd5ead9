// Several processes working on one machine at the same moment: the machine's lock, INI files
// written by each, shared usage counts raised by each, the machine made by two at once.
#include "platform/emulated/machine_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <vector>

#include "platform/emulated/machine_root.h"
#include "platform/registry_update.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace vandrel::platform::emulated {
namespace {

using test::TempDir;

// Runs body(0) .. body(n-1) each in a process of its own, all let go at the same moment;
// the exit status of each (body's result; 100 + signal when it died).
std::vector<int> runTogether(int n, const std::function<int(int)>& body) {
  int gate[2];
  if (::pipe(gate) != 0) return {};
  std::vector<pid_t> children;
  for (int i = 0; i < n; ++i) {
    pid_t pid = ::fork();
    if (pid == 0) {
      ::close(gate[1]);
      char byte;
      while (::read(gate[0], &byte, 1) < 0) {
      }
      std::_Exit(body(i));
    }
    children.push_back(pid);
  }
  ::close(gate[0]);
  ::close(gate[1]);  // the gate opens: every child's read ends
  std::vector<int> statuses;
  for (pid_t pid : children) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    statuses.push_back(WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status));
  }
  return statuses;
}

const char* const kSharedDlls = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

TEST(MachineLock, AHoldOfAnotherProcessIsWaitedForThenGivenUp) {
  TempDir temp;
  const fs::path file = temp / "machine.lock";
  MachineLock mine(file, std::chrono::milliseconds(300));
  ASSERT_TRUE(mine.acquire());
  EXPECT_TRUE(mine.othersHeldIt()) << "a first hold knows nothing of the others";
  EXPECT_TRUE(mine.acquire()) << "a nested hold is counted";
  mine.release();
  mine.release();
  ASSERT_TRUE(mine.acquire());
  EXPECT_FALSE(mine.othersHeldIt());
  // Another process waits while this one holds the lock, and gives up after its wait.
  std::vector<int> other = runTogether(1, [&](int) {
    MachineLock theirs(file, std::chrono::milliseconds(200));
    return theirs.acquire() ? 1 : 0;
  });
  EXPECT_EQ(other, std::vector<int>{0});
  mine.release();
  other = runTogether(1, [&](int) {
    MachineLock theirs(file, std::chrono::milliseconds(200));
    if (!theirs.acquire()) return 1;
    theirs.release();
    return 0;
  });
  EXPECT_EQ(other, std::vector<int>{0});
  ASSERT_TRUE(mine.acquire());
  EXPECT_TRUE(mine.othersHeldIt()) << "the other process held it meanwhile";
  mine.release();
}

TEST(MachineLock, ProcessesWritingOneIniFileAtOnceKeepEveryKey) {
  TempDir temp;
  initMachineRoot(temp / "m", Preset::Win98, "ann");
  // Each process opens the machine, reads WIN.INI (so that it holds a parsed copy), then
  // writes its keys: half of them one by one, half as one gathered run.
  constexpr int kProcesses = 4, kKeys = 40;
  std::vector<int> statuses = runTogether(kProcesses, [&](int p) {
    auto machine = openMachine(temp / "m", {});
    Profile& profile = machine->profile();
    profile.getProfileString("windows", "load", "", 260);
    int failed = 0;
    for (int k = 0; k < kKeys / 2; ++k)
      failed += !profile.writeProfileString("Shared", "p" + std::to_string(p) + "k" + std::to_string(k), "v");
    profile.gatherWrites();
    for (int k = kKeys / 2; k < kKeys; ++k)
      failed += !profile.writeProfileString("Shared", "p" + std::to_string(p) + "k" + std::to_string(k), "v");
    failed += !profile.flush();
    return failed;
  });
  EXPECT_EQ(statuses, std::vector<int>(kProcesses, 0));
  auto machine = openMachine(temp / "m", {});
  for (int p = 0; p < kProcesses; ++p)
    for (int k = 0; k < kKeys; ++k)
      EXPECT_EQ(machine->profile().getProfileString("Shared", "p" + std::to_string(p) + "k" + std::to_string(k), "", 260), "v")
          << p << " " << k;
  EXPECT_EQ(machine->profile().getProfileString("windows", "load", "?", 260), "");
}

TEST(MachineLock, ProcessesRaisingOneUsageCountAtOnceCountEveryRaise) {
  TempDir temp;
  initMachineRoot(temp / "m", Preset::Win98, "ann");
  constexpr int kProcesses = 4, kRaises = 50;
  std::vector<int> statuses = runTogether(kProcesses, [&](int) {
    auto machine = openMachine(temp / "m", {});
    Registry& registry = machine->registry();
    HKey key = 0;
    if (registry.openKey(hkey::LocalMachine, kSharedDlls, key) != error::Success) return 50;
    int failed = 0;
    for (int i = 0; i < kRaises; ++i) {
      long result = updateRegistry(registry, [&] {
        std::uint32_t count = 0;
        if (registry.queryDword(key, "C:\\WINDOWS\\SYSTEM\\COMMON.DLL", count) != error::Success) count = 0;
        return registry.setDword(key, "C:\\WINDOWS\\SYSTEM\\COMMON.DLL", count + 1);
      });
      failed += result != error::Success;
    }
    registry.closeKey(key);
    return failed;
  });
  EXPECT_EQ(statuses, std::vector<int>(kProcesses, 0));
  auto machine = openMachine(temp / "m", {});
  HKey key = 0;
  ASSERT_EQ(machine->registry().openKey(hkey::LocalMachine, kSharedDlls, key), error::Success);
  std::uint32_t count = 0;
  EXPECT_EQ(machine->registry().queryDword(key, "C:\\WINDOWS\\SYSTEM\\COMMON.DLL", count), error::Success);
  EXPECT_EQ(count, std::uint32_t(kProcesses * kRaises));
}

TEST(MachineLock, UpdatesNestAndKeepWhatTheirCallsMade) {
  // An update returns its body's result; a call failing inside it undoes nothing else.
  TempDir temp;
  initMachineRoot(temp / "m", Preset::Win98, "ann");
  auto machine = openMachine(temp / "m", {});
  Registry& registry = machine->registry();
  HKey key = 0;
  ASSERT_EQ(registry.createKey(hkey::CurrentUser, "Software\\Test", key), error::Success);
  long result = updateRegistry(registry, [&] {
    registry.setString(key, "first", "1");
    updateRegistry(registry, [&] { return registry.setString(key, "second", "2"); });
    return registry.deleteValue(key, "missing");
  });
  EXPECT_EQ(result, error::FileNotFound);
  std::string value;
  EXPECT_EQ(registry.queryString(key, "first", value), error::Success);
  EXPECT_EQ(registry.queryString(key, "second", value), error::Success);
  EXPECT_EQ(value, "2");
  registry.closeKey(key);
}

TEST(MachineLock, ProgramsFindingNoMachineAtOnceMakeItOnce) {
  TempDir temp;
  const char* saved = std::getenv("VANDREL_MACHINE");
  const std::string savedText = saved ? saved : "";
  for (int round = 0; round < 10; ++round) {
    const fs::path root = temp / ("m" + std::to_string(round));
    if (round % 2) fs::create_directory(root);  // an empty folder, or none
    ::setenv("VANDREL_MACHINE", root.c_str(), 1);
    std::vector<int> statuses = runTogether(3, [&](int) {
      bool made = false;
      MachineOptions options;
      options.madeNewMachine = [&](const fs::path&) { made = true; };
      try {
        auto machine = openHostMachine(options);
        if (machine->system().windowsDirectory() != "C:\\WINDOWS") return 3;
      } catch (const MachineError&) {
        return 2;
      }
      return made ? 1 : 0;
    });
    ::unsetenv("VANDREL_MACHINE");
    int makers = 0;
    for (int status : statuses) {
      EXPECT_LE(status, 1) << "round " << round;
      makers += status == 1;
    }
    EXPECT_EQ(makers, 1) << "round " << round;
  }
  if (saved) ::setenv("VANDREL_MACHINE", savedText.c_str(), 1);
}

}  // namespace
}  // namespace vandrel::platform::emulated
