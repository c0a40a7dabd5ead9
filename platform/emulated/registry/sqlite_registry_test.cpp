// Tests of the SQLite registry: the rules every registry keeps (tests/support/registry_contract),
// values kept across openings, handles, deletion rules, sharing, damage.
#include "platform/emulated/registry/sqlite_registry.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/emulated/registry/sqlite_db.h"
#include "platform/machine.h"
#include "tests/support/registry_contract.h"
#include "tests/support/temp_dir.h"

namespace vandrel::platform::emulated {
namespace {

using test::TempDir;


// The rules every registry keeps, on an NT machine's registry (its scratch key under
// HKEY_LOCAL_MACHINE); the folder goes with the registry.
test::RegistryUnderTest openNtRegistry() {
  auto dir = std::make_shared<TempDir>();
  std::shared_ptr<SqliteRegistry> registry = SqliteRegistry::open(dir->path() / "registry.db", true);
  HKey scratch = 0;
  EXPECT_EQ(registry->createKey(hkey::LocalMachine, "Scratch", scratch), error::Success);
  std::shared_ptr<Registry> held(registry.get(), [registry, dir](Registry*) mutable {
    registry.reset();
    dir.reset();
  });
  return {held, scratch};
}

using test::RegistryContract;
INSTANTIATE_TEST_SUITE_P(Sqlite, RegistryContract,
                         ::testing::Values(test::RegistryBackend{"sqlite", openNtRegistry}),
                         [](const auto& info) { return info.param.name; });

class RegistryTest : public ::testing::Test {
 protected:
  std::unique_ptr<SqliteRegistry> openRegistry(bool nt = false) {
    return SqliteRegistry::open(dir_ / "registry.db", nt);
  }
  HKey create(Registry& registry, HKey parent, const std::string& path) {
    HKey key = 0;
    EXPECT_EQ(registry.createKey(parent, path, key), error::Success) << path;
    return key;
  }
  std::vector<std::string> subkeys(Registry& registry, HKey key) {
    std::vector<std::string> names;
    std::string name;
    for (std::uint32_t i = 0; registry.enumKey(key, i, name) == error::Success; ++i)
      names.push_back(name);
    return names;
  }
  TempDir dir_;
};

TEST_F(RegistryTest, TypedValuesSurviveReopening) {
  using test::TypedValue;
  {
    auto registry = openRegistry();
    HKey key = create(*registry, hkey::CurrentUser, "Types");
    for (const TypedValue& c : test::typedValues())
      ASSERT_EQ(registry->setValue(key, c.name, c.type, c.data), 0);
  }
  auto registry = openRegistry();
  HKey key = 0;
  ASSERT_EQ(registry->openKey(hkey::CurrentUser, "types", key), error::Success);
  for (const TypedValue& c : test::typedValues()) {
    std::uint32_t type = 99;
    Bytes data{0xee};
    ASSERT_EQ(registry->queryValue(key, c.name, type, data), error::Success) << c.name;
    EXPECT_EQ(type, c.type) << c.name;
    EXPECT_EQ(data, c.data) << c.name;
  }
  std::uint32_t number = 0;
  EXPECT_EQ(registry->queryDword(key, "dword", number), error::Success);
  EXPECT_EQ(number, 10u);
}

TEST_F(RegistryTest, AKeyIsFoundOnlyUnderItsOwnRoot) {
  auto registry = openRegistry();
  create(*registry, hkey::LocalMachine, "A");
  HKey none = 0;
  EXPECT_EQ(registry->openKey(hkey::Users, "A", none), error::FileNotFound);
  EXPECT_EQ(registry->openKey(hkey::CurrentUser, "a", none), error::FileNotFound);
}

TEST_F(RegistryTest, BadHandlesAreRefusedAndRootsAlwaysWork) {
  auto registry = openRegistry();
  HKey key = create(*registry, hkey::LocalMachine, "A");
  ASSERT_EQ(registry->closeKey(key), error::Success);
  HKey result = 0;
  std::string name;
  std::uint32_t type = 0;
  Bytes data;
  for (HKey bad : {key, HKey(0), HKey(12345), HKey(0x80000005u)}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(registry->closeKey(bad), error::InvalidHandle);
    EXPECT_EQ(registry->createKey(bad, "X", result), error::InvalidHandle);
    EXPECT_EQ(registry->openKey(bad, "", result), error::InvalidHandle);
    EXPECT_EQ(registry->setDword(bad, "v", 1), error::InvalidHandle);
    EXPECT_EQ(registry->queryValue(bad, "v", type, data), error::InvalidHandle);
    EXPECT_EQ(registry->deleteValue(bad, "v"), error::InvalidHandle);
    EXPECT_EQ(registry->deleteKey(bad, "X"), error::InvalidHandle);
    EXPECT_EQ(registry->enumKey(bad, 0, name), error::InvalidHandle);
    EXPECT_EQ(registry->enumValue(bad, 0, name, type, data), error::InvalidHandle);
  }
  EXPECT_EQ(registry->closeKey(hkey::LocalMachine), error::Success);
  EXPECT_EQ(registry->enumKey(hkey::LocalMachine, 0, name), error::Success);
  EXPECT_EQ(registry->openHandleCount(), 0u);
}

TEST_F(RegistryTest, DeleteKeyFollowsTheMachinesRule) {
  struct Case {
    const char* label;
    bool nt;
    long deleteParent;
  };
  const Case cases[] = {{"95/98 removes the tree", false, error::Success},
                        {"NT refuses a key with subkeys", true, error::AccessDenied}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TempDir dir;
    auto registry = SqliteRegistry::open(dir / "registry.db", c.nt);
    HKey leaf = create(*registry, hkey::LocalMachine, "Software\\App\\Sub\\Leaf");
    ASSERT_EQ(registry->setString(leaf, "v", "1"), error::Success);
    EXPECT_EQ(registry->deleteKey(hkey::LocalMachine, "software\\app"), c.deleteParent);
    HKey probe = 0;
    bool gone = registry->openKey(hkey::LocalMachine, "Software\\App", probe) == error::FileNotFound;
    EXPECT_EQ(gone, c.deleteParent == error::Success);
    if (c.nt) {
      // Leaf first, then upwards, as NT programs have to.
      EXPECT_EQ(registry->deleteKey(hkey::LocalMachine, "Software\\App\\Sub\\Leaf"), 0);
      EXPECT_EQ(registry->deleteKey(hkey::LocalMachine, "Software\\App\\Sub"), 0);
      EXPECT_EQ(registry->deleteKey(hkey::LocalMachine, "Software\\App"), 0);
    }
    // A key made again under the same name starts empty: the old values went with the tree.
    HKey remade = create(*registry, hkey::LocalMachine, "Software\\App\\Sub\\Leaf");
    std::string value;
    EXPECT_EQ(registry->queryString(remade, "v", value), error::FileNotFound);
    EXPECT_EQ(registry->deleteKey(hkey::LocalMachine, ""), error::AccessDenied);
  }
}

TEST_F(RegistryTest, EnumerationIsSortedWithoutRegardToCase) {
  auto registry = openRegistry();
  HKey key = create(*registry, hkey::LocalMachine, "E");
  for (const char* name : {"delta", "Alpha", "charlie", "Bravo"}) {
    create(*registry, key, name);
    ASSERT_EQ(registry->setDword(key, name, 1), error::Success);
  }
  const std::vector<std::string> sorted = {"Alpha", "Bravo", "charlie", "delta"};
  EXPECT_EQ(subkeys(*registry, key), sorted);
  std::vector<std::string> values;
  std::string name;
  std::uint32_t type = 0;
  Bytes data;
  for (std::uint32_t i = 0; registry->enumValue(key, i, name, type, data) == 0; ++i)
    values.push_back(name);
  EXPECT_EQ(values, sorted);
  EXPECT_EQ(registry->enumKey(key, 4, name), error::NoMoreItems);
  EXPECT_EQ(registry->enumValue(key, 400, name, type, data), error::NoMoreItems);
}

TEST_F(RegistryTest, KeysDeeperThanWindowsAllowsAreRefused) {
  auto registry = openRegistry();
  std::string path;
  for (int i = 0; i < 511; ++i) path += "k\\";
  HKey deep = create(*registry, hkey::CurrentUser, path + "last");
  HKey refused = 0;
  EXPECT_EQ(registry->createKey(deep, "one more", refused), error::InvalidParameter);
  EXPECT_EQ(registry->createKey(hkey::CurrentUser, path + "a\\b", refused),
            error::InvalidParameter);
  EXPECT_EQ(registry->deleteKey(hkey::CurrentUser, "k"), error::Success);
}

TEST_F(RegistryTest, UnusableFilesGiveMachineError) {
  const std::vector<std::pair<const char*, std::string>> contents = {
      {"garbage", std::string(4096, '\x5a')},
      {"text", "HKEY_LOCAL_MACHINE\\Software\n"},
      {"torn header", std::string("SQLite format 3\0", 16) + std::string(200, '\x01')},
  };
  for (const auto& [label, content] : contents) {
    SCOPED_TRACE(label);
    test::writeFile(dir_ / label, content);
    EXPECT_THROW(SqliteRegistry::open(dir_ / label, false), MachineError);
    EXPECT_EQ(test::readFile(dir_ / label), content) << "a damaged file must not be altered";
  }
  std::filesystem::create_directories(dir_ / "folder");
  EXPECT_THROW(SqliteRegistry::open(dir_ / "folder", false), MachineError);
  EXPECT_THROW(SqliteRegistry::open(dir_ / "no such folder" / "registry.db", false), MachineError);
}

TEST_F(RegistryTest, AnotherSqliteDatabaseIsNotTakenForARegistry) {
  {
    SqliteDb other(dir_ / "other.db");
    other.exec("CREATE TABLE notes(text TEXT); INSERT INTO notes VALUES ('keep me');");
  }
  try {
    SqliteRegistry::open(dir_ / "other.db", false);
    FAIL() << "opened a foreign database";
  } catch (const MachineError& e) {
    EXPECT_NE(std::string(e.what()).find("not a registry"), std::string::npos) << e.what();
  }
}

TEST_F(RegistryTest, TruncatedFileIsReportedAsDamaged) {
  {
    auto registry = openRegistry();
    HKey key = create(*registry, hkey::LocalMachine, "Bulk");
    for (int i = 0; i < 400; ++i)
      ASSERT_EQ(registry->setString(key, "value" + std::to_string(i), std::string(200, 'x')), 0);
  }
  auto size = std::filesystem::file_size(dir_ / "registry.db");
  ASSERT_GT(size, 16384u);
  std::filesystem::resize_file(dir_ / "registry.db", size / 2);
  EXPECT_THROW(openRegistry(), MachineError);
}

TEST_F(RegistryTest, TwoConnectionsWritingAlternatelyLoseNothing) {
  auto first = openRegistry();
  auto second = openRegistry();
  HKey a = create(*first, hkey::LocalMachine, "Shared");
  HKey b = create(*second, hkey::LocalMachine, "shared");
  for (std::uint32_t i = 0; i < 50; ++i) {
    ASSERT_EQ(first->setDword(a, "first" + std::to_string(i), i), error::Success);
    ASSERT_EQ(second->setDword(b, "second" + std::to_string(i), i), error::Success);
  }
  // Each sees the other's writes at once.
  std::uint32_t value = 0;
  EXPECT_EQ(first->queryDword(a, "second49", value), error::Success);
  EXPECT_EQ(value, 49u);
  std::string name;
  std::uint32_t type = 0;
  Bytes data;
  EXPECT_EQ(second->enumValue(b, 99, name, type, data), error::Success);
  EXPECT_EQ(second->enumValue(b, 100, name, type, data), error::NoMoreItems);
}

// Statements are prepared once per connection and kept: none may keep an old view of the
// store after its call, also not a call that failed halfway through a key path.
TEST_F(RegistryTest, KeptStatementsNeverHoldAnOldViewOfTheStore) {
  auto writer = openRegistry();
  auto reader = openRegistry();
  HKey key = create(*writer, hkey::LocalMachine, "Software\\Kept");
  std::string value;
  for (int round = 0; round < 3; ++round) {
    ASSERT_EQ(writer->setString(key, "Value", "v" + std::to_string(round)), error::Success);
    HKey seen = 0;
    EXPECT_EQ(reader->openKey(hkey::LocalMachine, "Software\\Kept\\Missing\\Deeper", seen),
              error::FileNotFound);
    ASSERT_EQ(reader->openKey(hkey::LocalMachine, "Software\\Kept", seen), error::Success);
    EXPECT_EQ(reader->queryString(seen, "Value", value), error::Success);
    EXPECT_EQ(value, "v" + std::to_string(round));
    std::string name;
    EXPECT_EQ(reader->enumKey(hkey::LocalMachine, 0, name), error::Success);
    reader->closeKey(seen);
    // The writer's own kept statements let the reader's key deletion through and see it.
    HKey sub = create(*writer, key, "Sub" + std::to_string(round));
    writer->closeKey(sub);
    EXPECT_EQ(reader->deleteKey(hkey::LocalMachine, "Software\\Kept\\Sub" + std::to_string(round)),
              error::Success);
    HKey gone = 0;
    EXPECT_EQ(writer->openKey(key, "Sub" + std::to_string(round), gone), error::FileNotFound);
  }
  writer->closeKey(key);
}

// A call that fails inside an update (a count looked for and not found) undoes only itself:
// the update's changes before and after it are committed together, and neither connection is
// left holding the store, also after failing calls outside any update.
TEST_F(RegistryTest, AFailingCallInsideAnUpdateUndoesOnlyItself) {
  auto writer = openRegistry();
  auto reader = openRegistry();
  HKey key = create(*writer, hkey::LocalMachine, "Software\\Counts");
  for (int round = 0; round < 3; ++round) {
    const std::string name = "File" + std::to_string(round);
    long rc = writer->update([&] {
      EXPECT_EQ(writer->setDword(key, name, 2), error::Success);
      std::uint32_t count = 0;
      EXPECT_EQ(writer->queryDword(key, "Missing", count), error::FileNotFound);
      EXPECT_EQ(writer->deleteValue(key, "Missing"), error::FileNotFound);
      HKey none = 0;
      EXPECT_EQ(writer->openKey(key, "No\\Such\\Key", none), error::FileNotFound);
      return writer->setDword(key, name, 1);
    });
    EXPECT_EQ(rc, error::Success);
    HKey seen = 0;
    ASSERT_EQ(reader->openKey(hkey::LocalMachine, "Software\\Counts", seen), error::Success);
    std::uint32_t count = 0;
    EXPECT_EQ(reader->queryDword(seen, name, count), error::Success);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(reader->queryDword(seen, "Missing", count), error::FileNotFound);
    // The reader's failed read ended its transaction: the writer is not kept waiting.
    EXPECT_EQ(reader->deleteValue(seen, name), error::Success);
    reader->closeKey(seen);
    EXPECT_EQ(writer->queryDword(key, name, count), error::FileNotFound);
  }
  writer->closeKey(key);
}

TEST_F(RegistryTest, ABatchKeepsEachCallWholeAndShowsItsChangesToOthersWhenItEnds) {
  auto writer = openRegistry();
  auto reader = openRegistry();
  writer->beginBatch();
  HKey key = create(*writer, hkey::LocalMachine, "Software\\Batch");
  ASSERT_EQ(writer->setString(key, "First", "1"), error::Success);
  // A failing call undoes only itself; the calls before it stay, and later calls see them.
  EXPECT_EQ(writer->deleteValue(key, "Missing"), error::FileNotFound);
  std::string value;
  EXPECT_EQ(writer->queryString(key, "First", value), error::Success);
  EXPECT_EQ(value, "1");
  writer->beginBatch();  // batches nest: the inner end keeps the batch open
  ASSERT_EQ(writer->setString(key, "Second", "2"), error::Success);
  EXPECT_TRUE(writer->endBatch());
  HKey seen = 0;
  EXPECT_EQ(reader->openKey(hkey::LocalMachine, "Software\\Batch", seen), error::FileNotFound);
  EXPECT_TRUE(writer->endBatch());
  writer->closeKey(key);
  ASSERT_EQ(reader->openKey(hkey::LocalMachine, "Software\\Batch", seen), error::Success);
  EXPECT_EQ(reader->queryString(seen, "Second", value), error::Success);
  EXPECT_EQ(value, "2");
  EXPECT_TRUE(reader->endBatch());  // without a batch: nothing to end
}

TEST_F(RegistryTest, ALongBatchIsWrittenInPartsThatOthersSeeOnTheWay) {
  auto writer = openRegistry();
  auto reader = openRegistry();
  writer->beginBatch();
  HKey key = create(*writer, hkey::CurrentUser, "Batch");
  for (int i = 0; i < 1500; ++i) ASSERT_EQ(writer->setDword(key, "V" + std::to_string(i), std::uint32_t(i)), error::Success);
  // The first thousand calls were committed, the rest not yet.
  HKey seen = 0;
  ASSERT_EQ(reader->openKey(hkey::CurrentUser, "Batch", seen), error::Success);
  std::uint32_t number = 0;
  EXPECT_EQ(reader->queryDword(seen, "V900", number), error::Success);
  EXPECT_EQ(number, 900u);
  EXPECT_EQ(reader->queryDword(seen, "V1400", number), error::FileNotFound);
  EXPECT_TRUE(writer->endBatch());
  EXPECT_EQ(reader->queryDword(seen, "V1400", number), error::Success);
  EXPECT_EQ(number, 1400u);
  writer->closeKey(key);
  reader->closeKey(seen);
}

TEST_F(RegistryTest, TwoProcessesWritingAtOnceLoseNothing) {
  openRegistry();  // the schema exists before the processes race
  constexpr int kWrites = 150;
  std::vector<pid_t> children;
  for (int process = 0; process < 2; ++process) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      int failures = 0;
      auto registry = SqliteRegistry::open(dir_ / "registry.db", false);
      for (int i = 0; i < kWrites; ++i) {
        HKey key = 0;
        std::string path = "Race\\P" + std::to_string(process) + "\\K" + std::to_string(i % 7);
        if (registry->createKey(hkey::LocalMachine, path, key) != error::Success) ++failures;
        if (registry->setDword(key, "v" + std::to_string(i), std::uint32_t(i)) != 0) ++failures;
        registry->closeKey(key);
      }
      _exit(failures == 0 ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer saw a failure";
  }
  auto registry = openRegistry();
  for (int process = 0; process < 2; ++process) {
    for (int i = 0; i < kWrites; ++i) {
      HKey key = 0;
      std::string path = "Race\\P" + std::to_string(process) + "\\K" + std::to_string(i % 7);
      ASSERT_EQ(registry->openKey(hkey::LocalMachine, path, key), error::Success) << path;
      std::uint32_t value = 0;
      EXPECT_EQ(registry->queryDword(key, "v" + std::to_string(i), value), error::Success);
      EXPECT_EQ(value, std::uint32_t(i));
      registry->closeKey(key);
    }
  }
}

TEST_F(RegistryTest, AWriterKilledMidwayLeavesAConsistentFile) {
  openRegistry();
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    auto registry = SqliteRegistry::open(dir_ / "registry.db", false);
    HKey key = 0;
    if (registry->createKey(hkey::LocalMachine, "Killed", key) != error::Success) _exit(1);
    for (std::uint32_t i = 0;; ++i) {
      HKey sub = 0;
      registry->createKey(key, "K" + std::to_string(i), sub);
      registry->setDword(sub, "n", i);
      registry->closeKey(sub);
      registry->setDword(key, "last", i);
    }
  }
  {
    // Kill the writer once it is well under way, whatever it is doing at that moment.
    auto watcher = openRegistry();
    std::uint32_t last = 0;
    HKey key = 0;
    while (watcher->openKey(hkey::LocalMachine, "Killed", key) != error::Success ||
           watcher->queryDword(key, "last", last) != error::Success || last < 200) {
      watcher->closeKey(key);
      key = 0;
      ASSERT_EQ(waitpid(pid, nullptr, WNOHANG), 0) << "the writer stopped on its own";
    }
  }
  kill(pid, SIGKILL);
  ASSERT_EQ(waitpid(pid, nullptr, 0), pid);

  auto registry = openRegistry();  // checks the file through and through
  HKey key = 0;
  ASSERT_EQ(registry->openKey(hkey::LocalMachine, "Killed", key), error::Success);
  std::uint32_t last = 0;
  ASSERT_EQ(registry->queryDword(key, "last", last), error::Success);
  // Every write up to the last one recorded is there, each complete.
  for (std::uint32_t i = 0; i <= last; ++i) {
    HKey sub = 0;
    ASSERT_EQ(registry->openKey(key, "K" + std::to_string(i), sub), error::Success) << i;
    std::uint32_t n = 0;
    ASSERT_EQ(registry->queryDword(sub, "n", n), error::Success) << i;
    EXPECT_EQ(n, i);
    registry->closeKey(sub);
  }
}

}  // namespace
}  // namespace vandrel::platform::emulated
