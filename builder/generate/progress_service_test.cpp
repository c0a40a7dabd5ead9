// The builder's file copy: on the emulated machine the copy takes its source's times and host
// permission bits through the open files, on other file systems by path; both end with the
// same bytes and the same stamps.
#include "builder/generate/progress_service.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/emulated/machine_root.h"
#include "tests/support/fake_interaction.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/temp_dir.h"

namespace vandrel::builder {
namespace {

namespace fs = std::filesystem;

struct Source {
  std::size_t size;
  fs::perms mode;
};

// Sizes below, at and above one copy block; a program, a private file, a read-only one.
const Source kSources[] = {
    {0, fs::perms(0644)}, {1, fs::perms(0755)}, {256 * 1024, fs::perms(0600)}, {300001, fs::perms(0444)}};

std::string contents(std::size_t size, int seed) {
  std::string data(size, '\0');
  for (std::size_t i = 0; i < size; ++i) data[i] = char(i * 31 + std::size_t(seed) * 7 + i / 4099);
  return data;
}

// Times that are not whole seconds, so that a tick lost on the way shows.
platform::FileTime writeTime(int i) { return 126000000000000123ULL + platform::FileTime(i) * 10000001; }
platform::FileTime accessTime(int i) { return 126100000000000457ULL + platform::FileTime(i) * 20000003; }

TEST(BuilderCopy, EmulatedCopiesKeepBytesTimesAndHostMode) {
  test::TempDir dir;
  platform::emulated::initMachineRoot(dir / "m", platform::emulated::Preset::Win98, "ann");
  platform::MachineOptions options;
  options.hostDriveWritable = true;
  auto machine = platform::emulated::openMachine(dir / "m", options);
  platform::FileSystem& files = machine->files();
  test::FakeInteraction ui;
  ProgressService progress(ui, files);
  fs::create_directories(dir / "src");
  fs::create_directories(dir / "out");
  const std::string src = *files.windowsPath(dir / "src"), out = *files.windowsPath(dir / "out");
  test::writeFile(dir / "out" / "f3.bin", "an older copy in the way");

  for (int i = 0; i < int(std::size(kSources)); ++i) {
    SCOPED_TRACE(i);
    const std::string name = "f" + std::to_string(i) + ".bin";
    const std::string data = contents(kSources[i].size, i);
    test::writeFile(dir / "src" / name, data);
    ASSERT_TRUE(files.setFileTimes(src + "\\" + name, std::nullopt, accessTime(i), writeTime(i)));
    fs::permissions(dir / "src" / name, kSources[i].mode);

    progress.setExpectedTotal(0);
    EXPECT_EQ(progress.CopyFileWithProgress(src + "\\" + name, out + "\\" + name, true),
              std::int64_t(data.size()));
    std::optional<platform::FileStatus> copy = files.status(out + "\\" + name);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->lastWriteTime, writeTime(i));
    EXPECT_EQ(copy->lastAccessTime, accessTime(i));
    EXPECT_EQ(fs::status(dir / "out" / name).permissions(), kSources[i].mode);
    // Read last: reading moves the access time of a file whose time lies in the past.
    EXPECT_EQ(test::readFile(dir / "out" / name), data);
    // The source was only read.
    EXPECT_EQ(files.status(src + "\\" + name)->lastWriteTime, writeTime(i));
  }
  // A missing source or a folder copies nothing and makes no file.
  EXPECT_EQ(progress.CopyFileWithProgress(src + "\\none.bin", out + "\\none.bin", true), -1);
  EXPECT_EQ(progress.CopyFileWithProgress(src, out + "\\folder.bin", true), -1);
  EXPECT_FALSE(fs::exists(dir / "out" / "none.bin"));
  EXPECT_FALSE(fs::exists(dir / "out" / "folder.bin"));
}

TEST(BuilderCopy, OtherFileSystemsTakeTheTimesByPath) {
  test::MemoryFileSystem files;
  test::FakeInteraction ui;
  ProgressService progress(ui, files);
  files.makeDirectories("C:\\Src");
  files.makeDirectories("C:\\Out");
  for (int i = 0; i < int(std::size(kSources)); ++i) {
    SCOPED_TRACE(i);
    const std::string name = "f" + std::to_string(i) + ".bin";
    const std::string data = contents(kSources[i].size, i);
    ASSERT_TRUE(files.writeFile("C:\\Src\\" + name, data));
    ASSERT_TRUE(files.setFileTimes("C:\\Src\\" + name, std::nullopt, accessTime(i), writeTime(i)));
    EXPECT_EQ(progress.CopyFileWithProgress("C:\\Src\\" + name, "C:\\Out\\" + name, false),
              std::int64_t(data.size()));
    EXPECT_EQ(files.readFile("C:\\Out\\" + name), data);
    std::optional<platform::FileStatus> copy = files.status("C:\\Out\\" + name);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->lastWriteTime, writeTime(i));
    EXPECT_EQ(copy->lastAccessTime, accessTime(i));
  }
  EXPECT_EQ(progress.CopyFileWithProgress("C:\\Src\\none.bin", "C:\\Out\\none.bin", false), -1);
  EXPECT_EQ(progress.CopyFileWithProgress("C:\\Src", "C:\\Out\\folder.bin", false), -1);
  EXPECT_FALSE(files.status("C:\\Out\\none.bin"));
  EXPECT_FALSE(files.status("C:\\Out\\folder.bin"));
}

}  // namespace
}  // namespace vandrel::builder
