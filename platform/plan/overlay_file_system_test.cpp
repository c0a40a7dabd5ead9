// The files of a plan over an in-memory machine: this run's writes are read back, the
// machine's files never change, deletes and moves hide what they took away, folder listings
// merge both, and names match without regard to case.
#include "platform/plan/overlay_file_system.h"

#include <gtest/gtest.h>

#include "tests/support/fixed_clock.h"
#include "tests/support/memory_file_system.h"

namespace vandrel::platform {
namespace {

struct OverlayFiles : ::testing::Test {
  test::MemoryFileSystem machine;
  test::FixedClock clock;
  OverlayFileSystem plan{machine, clock};
  std::vector<std::string> before;

  OverlayFiles() {
    machine.writeFile("C:\\App\\old.txt", "old");
    machine.writeFile("C:\\App\\Sub\\deep.txt", "deep");
    machine.makeDirectories("C:\\Empty");
    before = machine.listAll();
  }
  void TearDown() override {
    EXPECT_EQ(machine.listAll(), before) << "the machine's files never change";
    EXPECT_EQ(machine.readFile("C:\\App\\old.txt"), "old");
  }
  bool write(const std::string& path, const std::string& text) {
    std::unique_ptr<File> file = plan.create(path);
    return file && file->write(text.data(), text.size()) == std::int64_t(text.size());
  }
  std::optional<std::string> read(const std::string& path) {
    std::unique_ptr<File> file = plan.open(path, OpenMode::Read);
    if (!file) return std::nullopt;
    std::string text;
    char block[7];  // small blocks: reads go on where the last one ended
    for (std::int64_t got; (got = file->read(block, sizeof block)) > 0;) text.append(block, std::size_t(got));
    return text;
  }
  std::vector<std::string> names(const std::string& pattern) {
    std::vector<std::string> result;
    for (const FindData& found : plan.find(pattern)) result.push_back(found.name);
    return result;
  }
};

TEST_F(OverlayFiles, ReadsSeeThisRunsWritesInAnyCase) {
  EXPECT_EQ(read("C:\\App\\old.txt"), "old");
  ASSERT_TRUE(write("C:\\app\\NEW.txt", "new text"));
  EXPECT_EQ(read("c:\\APP\\new.TXT"), "new text");
  EXPECT_EQ(plan.status("C:\\App\\New.txt")->size, 8u);
  EXPECT_TRUE(plan.holds("C:\\APP\\NEW.TXT"));
  EXPECT_FALSE(plan.holds("C:\\App\\old.txt"));

  // An existing file written in place: its copy changes, the machine's does not.
  std::unique_ptr<File> file = plan.open("C:\\APP\\OLD.TXT", OpenMode::ReadWrite);
  ASSERT_TRUE(file);
  ASSERT_TRUE(file->seek(3));
  ASSERT_EQ(file->write("er", 2), 2);
  file.reset();
  EXPECT_EQ(read("C:\\App\\old.txt"), "older");

  // Relative paths follow this run's current folder, which may be a folder of this run.
  ASSERT_TRUE(plan.createDirectory("C:\\App\\Made"));
  ASSERT_TRUE(plan.setCurrentDirectory("C:\\App\\Made"));
  EXPECT_EQ(plan.currentDirectory(), "C:\\App\\Made");
  ASSERT_TRUE(write("here.txt", "h"));
  EXPECT_EQ(read("C:\\App\\Made\\here.txt"), "h");
  EXPECT_EQ(read("..\\old.txt"), "older");
}

TEST_F(OverlayFiles, WritesFollowTheMachinesRules) {
  EXPECT_FALSE(plan.create("C:\\Missing\\a.txt")) << "no parent folder";
  EXPECT_FALSE(plan.create("C:\\App")) << "a folder is in the way";
  EXPECT_FALSE(plan.createDirectory("C:\\App")) << "already there";
  EXPECT_FALSE(plan.open("C:\\App\\none.txt", OpenMode::Write));
  ASSERT_TRUE(plan.setAttributes("C:\\App\\old.txt", attr::ReadOnly));
  EXPECT_FALSE(plan.open("C:\\App\\old.txt", OpenMode::Write)) << "read-only";
  EXPECT_FALSE(plan.deleteFile("C:\\App\\old.txt")) << "read-only";
  EXPECT_EQ(read("C:\\App\\old.txt"), "old") << "reading is never refused";
  EXPECT_FALSE(plan.removeDirectory("C:\\App")) << "not empty";
  EXPECT_TRUE(plan.setFileTimes("C:\\App\\Sub\\deep.txt", std::nullopt, std::nullopt, 42));
  EXPECT_EQ(plan.status("C:\\App\\Sub\\deep.txt")->lastWriteTime, 42u);
  EXPECT_EQ(read("C:\\App\\Sub\\deep.txt"), "deep");
  EXPECT_FALSE(plan.holds("C:\\App\\Sub\\deep.txt")) << "its contents are still the machine's";
}

TEST_F(OverlayFiles, DeletesAndMovesHideWhatTheyTookAway) {
  ASSERT_TRUE(plan.deleteFile("C:\\APP\\SUB\\DEEP.TXT"));
  EXPECT_FALSE(plan.status("C:\\App\\Sub\\deep.txt"));
  EXPECT_FALSE(read("C:\\App\\Sub\\deep.txt"));
  EXPECT_FALSE(plan.deleteFile("C:\\App\\Sub\\deep.txt")) << "gone already";
  ASSERT_TRUE(plan.removeDirectory("C:\\App\\Sub")) << "empty now";
  EXPECT_FALSE(plan.status("C:\\App\\Sub"));
  // Made anew, the folder is empty.
  ASSERT_TRUE(plan.createDirectory("C:\\App\\Sub"));
  EXPECT_EQ(names("C:\\App\\Sub\\*"), (std::vector<std::string>{".", ".."}));

  ASSERT_TRUE(write("C:\\App\\b.txt", "b"));
  EXPECT_FALSE(plan.moveFile("C:\\App\\old.txt", "C:\\App\\b.txt")) << "the target exists";
  ASSERT_TRUE(plan.moveFile("C:\\App\\old.txt", "C:\\Empty\\moved.txt"));
  EXPECT_FALSE(plan.status("C:\\App\\old.txt"));
  EXPECT_EQ(read("C:\\Empty\\moved.txt"), "old");
  ASSERT_TRUE(plan.replaceFile("C:\\App\\b.txt", "C:\\Empty\\moved.txt"));
  EXPECT_EQ(read("C:\\Empty\\moved.txt"), "b");
  EXPECT_FALSE(plan.status("C:\\App\\b.txt"));

  // A whole folder moves with what is in it.
  ASSERT_TRUE(plan.moveFile("C:\\Empty", "C:\\App\\Moved"));
  EXPECT_EQ(read("C:\\App\\Moved\\moved.txt"), "b");
  EXPECT_FALSE(plan.status("C:\\Empty"));
  EXPECT_FALSE(plan.moveFile("C:\\App", "C:\\App\\Moved\\Inside")) << "not into itself";
}

TEST_F(OverlayFiles, ListingsMergeTheMachineAndThisRun) {
  ASSERT_TRUE(write("C:\\App\\a.log", "1"));
  ASSERT_TRUE(write("C:\\App\\z.txt", "22"));
  ASSERT_TRUE(plan.deleteFile("C:\\App\\old.txt"));
  ASSERT_TRUE(plan.createDirectory("C:\\App\\New"));
  EXPECT_EQ(names("C:\\App\\*"), (std::vector<std::string>{".", "..", "a.log", "New", "Sub", "z.txt"}));
  EXPECT_EQ(names("C:\\app\\*.TXT"), (std::vector<std::string>{"z.txt"}));
  EXPECT_EQ(names("C:\\App\\New\\*.*"), (std::vector<std::string>{".", ".."}));
  for (const FindData& found : plan.find("C:\\App\\z.txt")) EXPECT_EQ(found.status.size, 2u);

  // A file of the machine rewritten is listed once, with its new size, under its own name.
  machine.writeFile("C:\\App\\Keep.TXT", "k");
  before = machine.listAll();
  ASSERT_TRUE(write("C:\\APP\\KEEP.TXT", "longer"));
  std::vector<FindData> found = plan.find("C:\\App\\keep.txt");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].name, "Keep.TXT");
  EXPECT_EQ(found[0].status.size, 6u);
}

TEST_F(OverlayFiles, TheChangesCanBeCarriedToAnotherRun) {
  ASSERT_TRUE(plan.createDirectory("C:\\Tools"));
  ASSERT_TRUE(write("C:\\Tools\\t.exe", "program"));
  ASSERT_TRUE(plan.deleteFile("C:\\App\\old.txt"));
  std::vector<OverlayFileSystem::Change> changes = plan.changes();
  ASSERT_EQ(changes.size(), 3u);

  OverlayFileSystem next(machine, clock);
  for (const auto& change : changes) ASSERT_TRUE(next.apply(change));
  EXPECT_TRUE(next.status("C:\\Tools")->isDirectory());
  std::unique_ptr<File> file = next.open("C:\\Tools\\t.exe", OpenMode::Read);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->size(), 7u);
  EXPECT_FALSE(next.status("C:\\App\\old.txt"));
}

TEST_F(OverlayFiles, TemporaryNamesAreTakenInThisRun) {
  std::string first, second;
  EXPECT_NE(plan.tempFileName("C:\\Empty", "vandrel", 0, first), 0u);
  EXPECT_NE(plan.tempFileName("C:\\Empty", "vandrel", 0, second), 0u);
  EXPECT_NE(first, second);
  EXPECT_EQ(first.rfind("C:\\Empty\\van", 0), 0u) << first;
  EXPECT_TRUE(plan.status(first));
  std::string named;
  EXPECT_EQ(plan.tempFileName("C:\\Empty", "abc", 0x1f, named), 0x1fu);
  EXPECT_EQ(named, "C:\\Empty\\abc001F.TMP");
  EXPECT_FALSE(plan.status(named));
}

}  // namespace
}  // namespace vandrel::platform
