// Tests of the emulated file system: mapping and jail, case, attributes, times, search, temp
// names, free space.
#include "platform/emulated/emulated_file_system.h"
#include "platform/copy_queue.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>
#include <set>
#include <thread>

#include "platform/emulated/staged_files.h"
#include "platform/ini/ini_profile.h"

#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace vandrel::platform::emulated {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

class FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(temp_ / "drive_c");
    fs::create_directories(temp_ / "host");
    fs::create_directories(temp_ / "cd");
    config_.root = temp_.path();
    config_.drives = {{'C', temp_ / "drive_c", false},
                      {'D', temp_ / "cd", true},
                      {'Z', temp_ / "host", true}};
    files_ = std::make_unique<EmulatedFileSystem>(config_, false);
  }
  EmulatedFileSystem& files() { return *files_; }
  fs::path c(const std::string& name) const { return temp_ / "drive_c" / name; }

  bool writeText(const std::string& path, const std::string& text) {
    auto file = files().create(path);
    return file && file->write(text.data(), text.size()) == std::int64_t(text.size());
  }
  std::string readText(const std::string& path) {
    auto file = files().open(path, OpenMode::Read);
    if (!file) return "<none>";
    std::string text(file->size(), '\0');
    file->read(text.data(), text.size());
    return text;
  }

  TempDir temp_;
  MachineConfig config_;
  std::unique_ptr<EmulatedFileSystem> files_;
};

TEST_F(FileSystemTest, MapsDrivesAndKeepsDotDotInsideTheDrive) {
  EXPECT_EQ(files().hostPath("C:\\Windows\\x.ini"), c("Windows/x.ini"));
  EXPECT_EQ(files().hostPath("c:/a/b/../../../../etc/passwd"), c("etc/passwd"));
  EXPECT_EQ(files().hostPath("C:\\"), temp_ / "drive_c");
  EXPECT_FALSE(files().hostPath("Q:\\x"));  // unmapped drive
  EXPECT_FALSE(files().hostPath("\\\\server\\share\\x"));
  EXPECT_FALSE(files().hostPath("C:\\NUL"));
  EXPECT_FALSE(files().create("C:\\dir\\aux.txt"));
  EXPECT_FALSE(files().status("LPT1"));
  EXPECT_EQ(files().windowsPath(c("Windows/x.ini")), "C:\\Windows\\x.ini");
  EXPECT_EQ(files().windowsPath(temp_ / "host" / "pkg"), "Z:\\pkg");
  EXPECT_FALSE(files().windowsPath(temp_ / "elsewhere"));
}

TEST_F(FileSystemTest, AbsoluteHostPathsAreNotWindowsPaths) {
  writeFile(temp_ / "secret.txt", "secret");
  // A host path read as a Windows path lands inside the current drive, never on the host.
  std::string hostLike = (temp_ / "secret.txt").string();
  EXPECT_EQ(readText(hostLike), "<none>");
  auto mapped = files().hostPath(hostLike);
  ASSERT_TRUE(mapped);
  EXPECT_EQ(mapped->string().rfind((temp_ / "drive_c").string(), 0), 0u);
}

TEST_F(FileSystemTest, SymbolicLinksCannotLeadOutOfADrive) {
  writeFile(temp_ / "outside.txt", "outside");
  fs::create_directory_symlink(temp_.path(), c("escape"));
  fs::create_symlink(temp_ / "outside.txt", c("link.txt"));
  EXPECT_FALSE(files().hostPath("C:\\escape\\outside.txt"));
  EXPECT_EQ(readText("C:\\link.txt"), "<none>");
  EXPECT_FALSE(files().create("C:\\escape\\new.txt"));
  EXPECT_FALSE(fs::exists(temp_ / "new.txt"));
  for (const auto& found : files().find("C:\\*.*")) {
    EXPECT_NE(found.name, "escape");
    EXPECT_NE(found.name, "link.txt");
  }
  // A link that stays inside the drive is followed.
  fs::create_directories(c("real"));
  writeFile(c("real/in.txt"), "inside");
  fs::create_directory_symlink(c("real"), c("alias"));
  EXPECT_EQ(readText("C:\\alias\\in.txt"), "inside");
}

TEST_F(FileSystemTest, DanglingLinksCannotLeadOutOfADrive) {
  // Links whose target does not exist (yet): anywhere on the path, relative or absolute,
  // one link leading to another; nothing may be created, listed or opened through them.
  fs::create_directories(temp_ / "outside");
  fs::create_directory_symlink(temp_ / "outside" / "missing", c("gone"));
  fs::create_directory_symlink("../outside/later", c("relative"));
  fs::create_symlink(temp_ / "outside" / "target.txt", c("dangling.txt"));
  fs::create_directory_symlink(c("gone"), c("chain"));
  fs::create_directories(c("deep"));
  fs::create_directory_symlink(temp_ / "outside" / "x", c("deep/hop"));
  struct Case {
    const char* path;
    fs::path outside;  // where a create through the link would land
  };
  for (const Case& t : {Case{"C:\\gone\\new.txt", temp_ / "outside/missing/new.txt"},
                        Case{"C:\\relative\\new.txt", temp_ / "outside/later/new.txt"},
                        Case{"C:\\dangling.txt", temp_ / "outside/target.txt"},
                        Case{"C:\\chain\\new.txt", temp_ / "outside/missing/new.txt"},
                        Case{"C:\\deep\\hop\\a\\b.txt", temp_ / "outside/x/a/b.txt"}}) {
    EXPECT_FALSE(files().hostPath(t.path)) << t.path;
    EXPECT_FALSE(files().create(t.path)) << t.path;
    EXPECT_EQ(files().replaceWholeFile(t.path, "x"), false) << t.path;
    // The folder the link leads to appears meanwhile: still refused.
    fs::create_directories(t.outside.parent_path());
    EXPECT_FALSE(files().create(t.path)) << t.path;
    EXPECT_FALSE(fs::exists(t.outside)) << t.path;
    fs::remove_all(temp_ / "outside");
    fs::create_directories(temp_ / "outside");
  }
  // A dangling link that stays inside the drive is followed as before.
  fs::create_directory_symlink(c("later"), c("soon"));
  fs::create_directories(c("later"));
  EXPECT_TRUE(writeText("C:\\soon\\in.txt", "inside"));
  EXPECT_EQ(readFile(c("later/in.txt")), "inside");
}

TEST_F(FileSystemTest, FilesWrittenOverLinksReplaceTheLinkAndLeaveItsTargetAlone) {
  // A hard link from outside the drive into it (made behind the machine's back) and a
  // symbolic link inside: a new file takes the name, the other file keeps its contents.
  writeFile(temp_ / "outside.txt", "outside");
  fs::create_hard_link(temp_ / "outside.txt", c("hard.txt"));
  writeFile(c("real.txt"), "real");
  fs::create_symlink(c("real.txt"), c("soft.txt"));
  struct Case {
    const char* path;
    fs::path other;
    const char* otherText;
  };
  for (const Case& t : {Case{"C:\\hard.txt", temp_ / "outside.txt", "outside"},
                        Case{"C:\\soft.txt", c("real.txt"), "real"}}) {
    ASSERT_TRUE(writeText(t.path, "new")) << t.path;
    EXPECT_EQ(readText(t.path), "new") << t.path;
    EXPECT_EQ(readFile(t.other), t.otherText) << t.path;
  }
  // Written in place: the name gets a copy of its own first.
  fs::create_hard_link(temp_ / "outside.txt", c("inplace.txt"));
  for (OpenMode mode : {OpenMode::Write, OpenMode::ReadWrite}) {
    auto file = files().open("C:\\inplace.txt", mode);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->write("IN", 2), 2);
    file.reset();
    EXPECT_EQ(readFile(temp_ / "outside.txt"), "outside");
  }
  EXPECT_EQ(readText("C:\\inplace.txt"), "INtside");
  fs::create_hard_link(temp_ / "outside.txt", c("hard.ini"));
  EXPECT_EQ(files().replaceWholeFile("C:\\hard.ini", "[a]\r\n"), true);
  EXPECT_EQ(readText("C:\\hard.ini"), "[a]\r\n");
  EXPECT_EQ(readFile(temp_ / "outside.txt"), "outside");
}

// The id of a process that has ended (and been waited for).
pid_t endedProcess() {
  pid_t child = ::fork();
  if (child == 0) _exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

std::string stagedBy(pid_t pid, int n) { return ".vandrel:staged-" + std::to_string(pid) + "-" + std::to_string(n); }

TEST_F(FileSystemTest, StagedFilesOfKilledWritesAreHiddenAndGoWithTheirFolder) {
  ASSERT_TRUE(files().createDirectory("C:\\App"));
  ASSERT_EQ(files().replaceWholeFile("C:\\App\\app.ini", "[Set]\r\nA=1\r\n"), true);
  EXPECT_EQ(readText("C:\\App\\app.ini"), "[Set]\r\nA=1\r\n");
  // What a killed write leaves behind, after this program's first write in the folder.
  const std::string leftover = stagedBy(endedProcess(), 0);
  writeFile(c("App/" + leftover), "[Set]\r\n");
  std::set<std::string> names;
  for (const FindData& found : files().find("C:\\App\\*.*")) names.insert(found.name);
  EXPECT_EQ(names, (std::set<std::string>{".", "..", "app.ini"}));
  EXPECT_FALSE(files().removeDirectory("C:\\App"));  // app.ini is still there
  EXPECT_TRUE(fs::exists(c("App/" + leftover)));
  ASSERT_TRUE(files().deleteFile("C:\\App\\app.ini"));
  EXPECT_TRUE(files().removeDirectory("C:\\App"));
  EXPECT_FALSE(fs::exists(c("App")));
}

TEST_F(FileSystemTest, TheFirstWriteInAFolderRemovesWhatKilledWritesLeftThere) {
  ASSERT_TRUE(files().createDirectory("C:\\WINDOWS"));
  const pid_t living = ::getppid();  // started before this test, and running still
  const std::string ended = stagedBy(endedProcess(), 3);
  // A program that has ended but was not yet waited for (a killed program's child, until the
  // system reaps it).
  const pid_t unreaped = ::fork();
  if (unreaped == 0) _exit(0);
  siginfo_t info{};
  ASSERT_EQ(::waitid(P_PID, id_t(unreaped), &info, WEXITED | WNOWAIT), 0);
  const std::string zombie = stagedBy(unreaped, 5);
  const std::string reused = stagedBy(living, 7);  // its id now a running program's, but nobody writes it
  const std::string current = stagedBy(living, 8);  // a write of a running program: it holds the file
  const std::string unnamed = ".vandrel:staged-x";
  for (const std::string& name : {ended, zombie, reused, current, unnamed}) writeFile(c("WINDOWS/" + name), "half");
  writeFile(c("WINDOWS/other.txt"), "kept");
  // A write still going on holds its staged file's lock, whatever process table its writer
  // sees (a confined program has its own, where ids repeat).
  int writing = ::open(c("WINDOWS/" + current).c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(writing, 0);
  ASSERT_EQ(::flock(writing, LOCK_EX), 0);
  fs::path own;
  int ownFd = createLockedStaged(c("WINDOWS"), &own);
  ASSERT_GE(ownFd, 0);

  ASSERT_EQ(files().replaceWholeFile("C:\\WINDOWS\\win.ini", "[windows]\r\n"), true);
  EXPECT_FALSE(fs::exists(c("WINDOWS/" + ended))) << "its program has ended";
  EXPECT_FALSE(fs::exists(c("WINDOWS/" + zombie))) << "its program has ended, unreaped";
  ::waitpid(unreaped, nullptr, 0);
  EXPECT_FALSE(fs::exists(c("WINDOWS/" + reused))) << "no program holds it, whoever has its id";
  EXPECT_TRUE(fs::exists(c("WINDOWS/" + current))) << "its program may still rename it";
  EXPECT_TRUE(fs::exists(own)) << "this program's own write";
  EXPECT_TRUE(fs::exists(c("WINDOWS/" + unnamed))) << "not a name this system makes";
  EXPECT_EQ(readFile(c("WINDOWS/other.txt")), "kept");
  EXPECT_EQ(readText("C:\\WINDOWS\\win.ini"), "[windows]\r\n");
  // Let go of, by a writer that ended or closed it, a staged file is abandoned.
  ::close(writing);
  EXPECT_TRUE(removeIfAbandoned(c("WINDOWS/" + current)));
  EXPECT_FALSE(removeIfAbandoned(own));
  ::close(ownFd);

  // Once per folder and program: a leftover that comes later stays until the next program.
  const std::string later = stagedBy(endedProcess(), 4);
  writeFile(c("WINDOWS/" + later), "half");
  ASSERT_EQ(files().replaceWholeFile("C:\\WINDOWS\\win.ini", "[windows]\r\nrun=\r\n"), true);
  EXPECT_TRUE(fs::exists(c("WINDOWS/" + later)));
}

// A write killed in a program with a process table of its own (as confined programs have)
// is found abandoned by a program outside it, and a live one there is not: the writer's
// lock tells, never its process id.
TEST_F(FileSystemTest, StagedFilesOfProgramsWithTheirOwnProcessTableAreJudgedByTheirLock) {
  ASSERT_TRUE(files().createDirectory("C:\\WINDOWS"));
  // Named with this very process's id, as a writer inside another table may be.
  const std::string killed = stagedBy(::getpid(), 900001), live = stagedBy(::getpid(), 900002);
  writeFile(c("WINDOWS/" + killed), "half");
  writeFile(c("WINDOWS/" + live), "half");
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  pid_t holder = ::fork();
  if (holder == 0) {
    int fd = ::open(c("WINDOWS/" + live).c_str(), O_RDWR);
    ::flock(fd, LOCK_EX);
    char ready = 1;
    if (::write(pipeFds[1], &ready, 1) != 1) _exit(1);
    ::pause();
    _exit(0);
  }
  char ready = 0;
  ASSERT_EQ(::read(pipeFds[0], &ready, 1), 1);
  ASSERT_EQ(files().replaceWholeFile("C:\\WINDOWS\\win.ini", "[windows]\r\n"), true);
  EXPECT_FALSE(fs::exists(c("WINDOWS/" + killed)));
  EXPECT_TRUE(fs::exists(c("WINDOWS/" + live)));
  ::kill(holder, SIGKILL);
  ::waitpid(holder, nullptr, 0);
  EXPECT_TRUE(removeIfAbandoned(c("WINDOWS/" + live)));
  ::close(pipeFds[0]);
  ::close(pipeFds[1]);
}

TEST_F(FileSystemTest, ProfileWritesKilledHalfwayLeaveNothingInTheFolder) {
  ASSERT_TRUE(files().createDirectory("C:\\App"));
  {
    IniProfile profile(files(), [] { return std::string("C:\\WINDOWS"); });
    ASSERT_TRUE(profile.writeString("C:\\App\\app.ini", "Set", "Small", std::string("1")));
  }
  std::mt19937 random(7);
  for (int round = 0; round < 12; ++round) {
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // Writes of a large profile one after another, until killed.
      EmulatedFileSystem own(config_, false);
      IniProfile profile(own, [] { return std::string("C:\\WINDOWS"); });
      for (int i = 0;; ++i) {
        profile.writeString("C:\\App\\app.ini", "Set", "Big", std::string(1 << 21, char('a' + i % 26)));
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5 + random() % 120));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
  }
  std::set<std::string> names;
  for (const FindData& found : files().find("C:\\App\\*.*")) names.insert(found.name);
  EXPECT_EQ(names, (std::set<std::string>{".", "..", "app.ini"}));
  ASSERT_TRUE(files().deleteFile("C:\\App\\app.ini"));
  EXPECT_TRUE(files().removeDirectory("C:\\App"));
}

TEST_F(FileSystemTest, NamesMatchWithoutRegardToCaseAndNewNamesKeepTheirCase) {
  ASSERT_TRUE(files().createDirectory("C:\\Program Files"));
  ASSERT_TRUE(writeText("C:\\PROGRAM FILES\\ReadMe.TXT", "hello"));
  EXPECT_TRUE(fs::exists(c("Program Files/ReadMe.TXT")));
  EXPECT_FALSE(fs::exists(c("PROGRAM FILES")));
  EXPECT_EQ(readText("c:\\program files\\readme.txt"), "hello");
  // Writing through another spelling reuses the existing file.
  ASSERT_TRUE(writeText("C:\\program files\\README.txt", "again"));
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(c("Program Files"))) names.insert(e.path().filename());
  EXPECT_EQ(names, (std::set<std::string>{"ReadMe.TXT"}));
  EXPECT_FALSE(files().createDirectory("C:\\program files"));  // it exists
}

TEST_F(FileSystemTest, LinksReachedThroughAnotherSpellingAreCheckedToo) {
  writeFile(temp_ / "outside.txt", "outside");
  fs::create_directory_symlink(temp_.path(), c("Escape"));
  fs::create_symlink(temp_ / "outside.txt", c("Link.txt"));
  EXPECT_FALSE(files().hostPath("C:\\ESCAPE\\outside.txt"));
  EXPECT_FALSE(files().status("C:\\escape\\OUTSIDE.TXT"));
  EXPECT_EQ(readText("C:\\LINK.TXT"), "<none>");
  EXPECT_FALSE(files().create("C:\\eScApE\\new.txt"));
  EXPECT_FALSE(files().createDirectory("C:\\ESCAPE\\made"));
  EXPECT_FALSE(fs::exists(temp_ / "new.txt"));
  EXPECT_FALSE(fs::exists(temp_ / "made"));
  // A link inside the drive that leads back inside is followed under any spelling.
  fs::create_directories(c("real"));
  writeFile(c("real/in.txt"), "inside");
  fs::create_directory_symlink(c("real"), c("Alias"));
  EXPECT_EQ(readText("C:\\ALIAS\\IN.TXT"), "inside");
}

// Opening a file for reading with its status answers as status() and open() do, for every
// kind of path: one inside the drive, one through a link that stays inside, and every one
// they refuse.
TEST_F(FileSystemTest, OpenForReadingAnswersAsStatusAndOpenDo) {
  ASSERT_TRUE(writeText("C:\\Plain.txt", "plain"));
  ASSERT_TRUE(writeText("C:\\kept.dll", "kept dll"));
  ASSERT_TRUE(files().setFileTimes("C:\\kept.dll", 125911584000000000ULL, std::nullopt,
                                   126000000000000123ULL));
  ASSERT_TRUE(files().setAttributes("C:\\kept.dll", attr::ReadOnly | attr::Hidden));
  ASSERT_TRUE(files().createDirectory("C:\\Real"));
  ASSERT_TRUE(writeText("C:\\Real\\in.txt", "inside"));
  fs::create_directory_symlink(c("Real"), c("alias"));
  fs::create_symlink(c("Plain.txt"), c("same.txt"));
  writeFile(temp_ / "outside.txt", "outside");
  fs::create_directory_symlink(temp_.path(), c("escape"));
  fs::create_symlink(temp_ / "outside.txt", c("out.txt"));
  ASSERT_EQ(::mkfifo(c("pipe").c_str(), 0644), 0);
  writeFile(temp_ / "host" / "pkg.txt", "on z");
  for (const char* path :
       {"C:\\Plain.txt", "c:\\PLAIN.TXT", "C:\\kept.dll", "C:\\alias\\IN.TXT", "C:\\same.txt",
        "Z:\\pkg.txt", "C:\\Real", "C:\\", "C:\\missing.txt", "C:\\escape\\outside.txt",
        "C:\\out.txt", "C:\\pipe", "Q:\\x.txt", "C:\\NUL"}) {
    SCOPED_TRACE(path);
    std::optional<FileSystem::OpenedFile> opened = files().openForReading(path);
    std::optional<FileStatus> st = files().status(path);
    bool readable = st && !st->isDirectory();
    ASSERT_EQ(opened.has_value(), readable);
    if (!opened) continue;
    EXPECT_EQ(opened->status.size, st->size);
    EXPECT_EQ(opened->status.attributes, st->attributes);
    EXPECT_EQ(opened->status.creationTime, st->creationTime);
    EXPECT_EQ(opened->status.lastWriteTime, st->lastWriteTime);
    ASSERT_TRUE(opened->file);
    std::string text(st->size, '\0');
    EXPECT_EQ(opened->file->read(text.data(), text.size()), std::int64_t(text.size()));
    EXPECT_EQ(text, readText(path));
  }
}

// A pipe or a device where a file is named is refused without being opened: opening some
// devices does something (a watchdog, a tape), and a package may name any host path on Z:.
// A pipe shows it: its writer's open returns only once a reader has opened it.
TEST_F(FileSystemTest, APipeInAFilesPlaceIsNeverOpened) {
  ASSERT_EQ(::mkfifo(c("pipe").c_str(), 0644), 0);
  ASSERT_TRUE(files().createDirectory("C:\\a"));
  ASSERT_TRUE(files().createDirectory("C:\\a\\b"));
  ASSERT_TRUE(files().createDirectory("C:\\a\\b\\c"));
  ASSERT_EQ(::mkfifo(c("a/b/c/pipe").c_str(), 0644), 0);
  for (const char* name : {"pipe", "a/b/c/pipe"}) {
    SCOPED_TRACE(name);
    std::atomic<bool> writerIn{false};
    const std::string host = c(name).string();
    std::thread writer([&] {
      int fd = ::open(host.c_str(), O_WRONLY | O_CLOEXEC);  // waits for a reader
      writerIn = true;
      if (fd >= 0) ::close(fd);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the writer waits in its open
    const std::string path = std::string("C:\\") + (name[0] == 'a' ? "a\\b\\c\\pipe" : "pipe");
    EXPECT_FALSE(files().open(path, OpenMode::Read));
    EXPECT_FALSE(files().openForReading(path));
    EXPECT_FALSE(files().status(path));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(writerIn) << "the pipe was opened";
    int reader = ::open(host.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);  // lets the writer go
    writer.join();
    if (reader >= 0) ::close(reader);
  }
}

// The status is the open file's own: a file put in its place after the open changes neither
// what is read nor what is told, and the next open finds the new file.
TEST_F(FileSystemTest, OpenForReadingKeepsTheFileItFound) {
  ASSERT_TRUE(writeText("C:\\src.txt", "first"));
  auto opened = files().openForReading("C:\\src.txt");
  ASSERT_TRUE(opened && opened->file);
  writeFile(c("other.txt"), "the second, longer");
  fs::rename(c("other.txt"), c("src.txt"));
  EXPECT_EQ(opened->status.size, 5u);
  char text[32] = {};
  EXPECT_EQ(opened->file->read(text, sizeof text), 5);
  EXPECT_EQ(std::string(text), "first");
  auto again = files().openForReading("C:\\src.txt");
  ASSERT_TRUE(again);
  EXPECT_EQ(again->status.size, 18u);
}

// A folder of the path replaced by a link that leads out of the drive is caught: between two
// opens, and while an open walks the path (the link swapped in and out all the time).
TEST_F(FileSystemTest, FoldersSwappedForLinksWhileReadingAreCaught) {
  fs::create_directories(temp_ / "outside");
  writeFile(temp_ / "outside" / "a.txt", "outside");
  ASSERT_TRUE(files().createDirectory("C:\\pkg"));
  ASSERT_TRUE(writeText("C:\\pkg\\a.txt", "inside"));
  ASSERT_TRUE(files().openForReading("C:\\pkg\\a.txt"));
  fs::rename(c("pkg"), c("kept"));
  fs::create_directory_symlink(temp_ / "outside", c("pkg"));
  EXPECT_FALSE(files().openForReading("C:\\pkg\\a.txt"));
  fs::remove(c("pkg"));
  fs::rename(c("kept"), c("pkg"));

  fs::create_directory_symlink(temp_ / "outside", c("swap"));
  std::atomic<bool> stop{false};
  std::thread swapper([&] {
    while (!stop)
      ::renameat2(AT_FDCWD, c("pkg").c_str(), AT_FDCWD, c("swap").c_str(), RENAME_EXCHANGE);
  });
  int read = 0, refused = 0;
  std::string wrong;  // what an open gave that it should not have, the swapper stopped first
  for (int i = 0; i < 20000 && wrong.empty(); ++i) {
    auto opened = files().openForReading("C:\\pkg\\a.txt");
    if (!opened) {
      ++refused;
      continue;
    }
    char text[16] = {};
    if (opened->file) opened->file->read(text, sizeof text - 1);
    if (std::string(text) != "inside" || opened->status.size != 6u) {
      wrong = "open " + std::to_string(i) + " read \"" + text + "\", size " +
              std::to_string(opened->status.size);
    }
    ++read;
  }
  stop = true;
  swapper.join();
  EXPECT_EQ(wrong, "");
  EXPECT_GT(read, 0);
  EXPECT_GT(refused, 0);
}

// A name another program gives the folder between our look and our create, in another
// spelling, is the file the create writes: the folder's listing is checked again at the
// create, in a long run of file work too, so no second file of that name is made.
TEST_F(FileSystemTest, ANameAddedBetweenTheLookAndTheCreateIsTheFileWritten) {
  ASSERT_TRUE(files().createDirectory("C:\\App"));
  ASSERT_TRUE(files().createDirectory("C:\\App\\Bin"));
  ASSERT_TRUE(writeText("C:\\App\\Bin\\first.dat", "1"));
  files().beginBatch();
  ASSERT_TRUE(files().status("C:\\App\\Bin\\first.dat"));
  ASSERT_FALSE(files().status("C:\\App\\Bin\\new.dat"));
  std::this_thread::sleep_for(std::chrono::milliseconds(30));  // past the folder's clock tick
  writeFile(c("App/Bin/NEW.DAT"), "the other program's");
  ASSERT_TRUE(writeText("C:\\App\\Bin\\new.dat", "ours"));
  EXPECT_TRUE(files().endBatch());
  EXPECT_FALSE(fs::exists(c("App/Bin/new.dat")));
  EXPECT_EQ(readFile(c("App/Bin/NEW.DAT")), "ours");
}

// Names are matched through kept folder listings: what we create, remove and move, and what
// other programs change in the folder, is seen at once.
// Deep paths are walked by the host in one call, shallow ones name by name: both must give
// the same answers. The same tree is planted at the drive's top and three folders down, and
// every path below it is asked for both ways, also through a differently spelled or linked
// way down, where the name-by-name walk takes over.
TEST_F(FileSystemTest, DeepPathsAnswerAsShallowOnes) {
  writeFile(temp_ / "outside.txt", "outside");
  fs::create_directories(temp_ / "outside");
  auto plant = [&](const fs::path& base) {
    fs::create_directories(base / "Sub");
    fs::create_directories(base / "real");
    writeFile(base / "Sub/ReadMe.TXT", "hello");
    writeFile(base / "Top.txt", "top");
    writeFile(base / "real/in.txt", "inside");
    fs::create_directory_symlink(temp_.path(), base / "escape");
    fs::create_symlink(temp_ / "outside.txt", base / "link.txt");
    fs::create_directory_symlink(temp_ / "outside/missing", base / "gone");
    fs::create_symlink(temp_ / "outside/target.txt", base / "dangling.txt");
    fs::create_directory_symlink(base / "real", base / "alias");
    fs::create_symlink(base / "real/in.txt", base / "in-link.txt");
    fs::create_directory_symlink("real", base / "relative");
  };
  plant(c(""));
  plant(c("one/two/three"));
  fs::create_directory_symlink(c("one"), c("hop"));
  fs::create_directory_symlink("one", c("near"));
  const char* paths[] = {"Sub\\readme.txt", "SUB\\ReadMe.TXT", "sub\\x\\y.txt", "Top.txt",
                         "TOP.TXT", "escape\\outside.txt", "ESCAPE\\outside.txt", "link.txt",
                         "LINK.TXT", "gone\\new.txt", "dangling.txt", "alias\\in.txt",
                         "ALIAS\\IN.TXT", "real\\IN.txt", "in-link.txt", "IN-LINK.TXT",
                         "missing\\a.txt", "Sub", "sub\\New.txt", "relative\\in.txt"};
  // What a path answers, with host paths told below the folder its prefix leads to.
  auto answers = [&](const std::string& prefix, const std::string& rel) {
    std::string below = files().hostPath(prefix)->string() + "/";
    std::optional<fs::path> host = files().hostPath(prefix + rel);
    std::optional<FileStatus> st = files().status(prefix + rel);
    std::string text = host ? host->string() : "-";
    if (text.rfind(below, 0) == 0) text = text.substr(below.size());
    return text + " | " + (st ? std::to_string(st->size) + " " + std::to_string(st->attributes) : "-") +
           " | " + readText(prefix + rel) + " | " + (files().openForReading(prefix + rel) ? "opens" : "-");
  };
  for (const char* deep : {"C:\\one\\two\\three\\", "C:\\ONE\\Two\\three\\", "C:\\hop\\two\\three\\",
                           "C:\\near\\two\\three\\"}) {
    for (const char* rel : paths) EXPECT_EQ(answers(deep, rel), answers("C:\\", rel)) << deep << rel;
  }
  // Creates: the same ones succeed, an existing spelling is written over, nothing leaves.
  for (const char* rel : paths) {
    bool shallow = writeText(std::string("C:\\") + rel, "new");
    EXPECT_EQ(writeText(std::string("C:\\ONE\\two\\Three\\") + rel, "new"), shallow) << rel;
  }
  EXPECT_EQ(readFile(c("one/two/three/Sub/ReadMe.TXT")), "new");
  EXPECT_FALSE(fs::exists(c("one/two/three/Sub/readme.txt")));
  EXPECT_EQ(readFile(temp_ / "outside.txt"), "outside");
  EXPECT_TRUE(fs::is_empty(temp_ / "outside"));
  EXPECT_FALSE(fs::exists(temp_ / "new.txt"));
}

TEST_F(FileSystemTest, NameMatchingFollowsChangesToTheFolder) {
  ASSERT_TRUE(files().createDirectory("C:\\Dir"));
  for (int i = 0; i < 200; ++i) ASSERT_TRUE(writeText("C:\\Dir\\File" + std::to_string(i) + ".Txt", "x"));
  for (int i = 0; i < 200; ++i) ASSERT_TRUE(files().status("c:\\dir\\FILE" + std::to_string(i) + ".TXT"));
  EXPECT_FALSE(files().status("C:\\DIR\\FILE200.TXT"));

  ASSERT_TRUE(files().deleteFile("C:\\DIR\\FILE7.TXT"));
  EXPECT_FALSE(files().status("C:\\dir\\file7.txt"));
  ASSERT_TRUE(writeText("C:\\DIR\\FILE7.TXT", "again"));  // a new file takes the new spelling
  EXPECT_TRUE(fs::exists(c("Dir/FILE7.TXT")));
  EXPECT_EQ(readText("C:\\dir\\file7.txt"), "again");
  ASSERT_TRUE(files().moveFile("C:\\dir\\file8.txt", "C:\\Dir\\Eight.txt"));
  EXPECT_FALSE(files().status("C:\\DIR\\FILE8.TXT"));
  EXPECT_EQ(readText("C:\\DIR\\EIGHT.TXT"), "x");

  // Another program adds and removes files behind our back.
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  writeFile(c("Dir/Other.Dat"), "other");
  fs::remove(c("Dir/File9.Txt"));
  EXPECT_EQ(readText("C:\\DIR\\OTHER.DAT"), "other");
  EXPECT_FALSE(files().status("C:\\DIR\\FILE9.TXT"));

  // A folder moved away takes its names along; one made again in its place starts empty.
  ASSERT_TRUE(files().createDirectory("C:\\Dir\\Sub"));
  ASSERT_TRUE(writeText("C:\\Dir\\Sub\\Deep.txt", "deep"));
  ASSERT_EQ(readText("C:\\DIR\\SUB\\DEEP.TXT"), "deep");
  ASSERT_TRUE(files().moveFile("C:\\DIR", "C:\\Moved"));
  EXPECT_EQ(readText("C:\\MOVED\\SUB\\DEEP.TXT"), "deep");
  EXPECT_FALSE(files().status("C:\\DIR\\SUB\\DEEP.TXT"));
  ASSERT_TRUE(files().createDirectory("C:\\Dir"));
  ASSERT_TRUE(files().createDirectory("C:\\Dir\\Sub"));
  EXPECT_FALSE(files().status("C:\\DIR\\SUB\\DEEP.TXT"));
}

TEST_F(FileSystemTest, AttributesTheHostShowsAnywayAreNotStored) {
  ASSERT_TRUE(writeText("C:\\plain.txt", "p"));
  ASSERT_TRUE(files().createDirectory("C:\\Folder"));
  ASSERT_TRUE(files().setAttributes("C:\\plain.txt", attr::Hidden));
  ASSERT_TRUE(files().setAttributes("C:\\plain.txt", attr::Archive));
  ASSERT_TRUE(files().setAttributes("C:\\Folder", attr::Normal));
  EXPECT_EQ(files().status("C:\\plain.txt")->attributes, attr::Archive);
  EXPECT_EQ(files().status("C:\\Folder")->attributes, attr::Directory);
  files_.reset();
  FileMetaStore store(temp_ / "filemeta.db");
  EXPECT_EQ(store.get(c("plain.txt")), FileMeta{});
  EXPECT_EQ(store.get(c("Folder")), FileMeta{});
}

TEST_F(FileSystemTest, ReadOnlyDrivesAreNeverWritten) {
  writeFile(temp_ / "host" / "pkg.txt", "package");
  writeFile(temp_ / "cd" / "disk.txt", "disk");
  EXPECT_EQ(readText("Z:\\pkg.txt"), "package");
  EXPECT_EQ(readText("D:\\DISK.TXT"), "disk");
  EXPECT_FALSE(files().create("Z:\\new.txt"));
  EXPECT_FALSE(files().open("Z:\\pkg.txt", OpenMode::ReadWrite));
  EXPECT_FALSE(files().deleteFile("Z:\\pkg.txt"));
  EXPECT_FALSE(files().deleteFile("D:\\disk.txt"));
  EXPECT_FALSE(files().createDirectory("Z:\\dir"));
  EXPECT_FALSE(files().moveFile("Z:\\pkg.txt", "C:\\pkg.txt"));
  EXPECT_FALSE(files().setAttributes("Z:\\pkg.txt", attr::Hidden));
  std::string name;
  EXPECT_EQ(files().tempFileName("Z:\\", "KVB", 0, name), 0u);
  EXPECT_EQ(readFile(temp_ / "host" / "pkg.txt"), "package");
  EXPECT_FALSE(fs::exists(temp_ / "host" / "new.txt"));

  // The builder may write to Z:, never to a drive marked read-only.
  EmulatedFileSystem builder(config_, true);
  EXPECT_TRUE(builder.create("Z:\\new.txt"));
  EXPECT_FALSE(builder.create("D:\\new.txt"));
}

TEST_F(FileSystemTest, ReadOnlyAttributeHoldsEvenForTheHostSuperuser) {
  ASSERT_TRUE(writeText("C:\\locked.dll", "v1"));
  ASSERT_TRUE(files().setAttributes("C:\\locked.dll", attr::ReadOnly | attr::Archive));
  EXPECT_EQ(files().status("C:\\LOCKED.DLL")->attributes, attr::ReadOnly | attr::Archive);
  EXPECT_FALSE(files().open("C:\\locked.dll", OpenMode::Write));
  EXPECT_FALSE(files().open("C:\\locked.dll", OpenMode::ReadWrite));
  EXPECT_FALSE(files().create("C:\\locked.dll"));
  EXPECT_FALSE(files().deleteFile("C:\\locked.dll"));
  EXPECT_EQ(readText("C:\\locked.dll"), "v1");
  // Moving keeps the attribute with the file.
  ASSERT_TRUE(files().moveFile("C:\\locked.dll", "C:\\moved.dll"));
  EXPECT_TRUE(files().status("C:\\moved.dll")->attributes & attr::ReadOnly);
  ASSERT_TRUE(files().setAttributes("C:\\moved.dll", attr::Normal));
  EXPECT_EQ(files().status("C:\\moved.dll")->attributes, attr::Normal);
  EXPECT_TRUE(files().deleteFile("C:\\moved.dll"));
  // A new file of the same name starts without the old record.
  ASSERT_TRUE(writeText("C:\\moved.dll", "v2"));
  EXPECT_EQ(files().status("C:\\moved.dll")->attributes, attr::Archive);
}

TEST_F(FileSystemTest, AttributesSurviveReopeningAndADamagedStoreIsReplaced) {
  ASSERT_TRUE(writeText("C:\\a.txt", "a"));
  ASSERT_TRUE(files().setAttributes("C:\\a.txt", attr::Hidden | attr::System));
  files_ = std::make_unique<EmulatedFileSystem>(config_, false);
  EXPECT_EQ(files().status("C:\\a.txt")->attributes, attr::Hidden | attr::System);

  files_.reset();
  writeFile(temp_ / "filemeta.db", std::string(3000, 'x'));
  files_ = std::make_unique<EmulatedFileSystem>(config_, false);
  EXPECT_EQ(files().status("C:\\a.txt")->attributes, attr::Archive);
  EXPECT_TRUE(files().setAttributes("C:\\a.txt", attr::ReadOnly));
  EXPECT_EQ(files().status("C:\\a.txt")->attributes, attr::ReadOnly);
  EXPECT_TRUE(fs::exists(temp_ / "filemeta.db.damaged"));
}

TEST_F(FileSystemTest, FileTimesIncludingCreationAreKept) {
  ASSERT_TRUE(writeText("C:\\t.txt", "t"));
  const FileTime creation = 125911584000000000ULL;  // 1999-12-31
  const FileTime write = 126000000000000000ULL;
  const FileTime access = 126100000000000000ULL;
  ASSERT_TRUE(files().setFileTimes("C:\\t.txt", creation, access, write));
  auto st = files().status("C:\\t.txt");
  EXPECT_EQ(st->creationTime, creation);
  EXPECT_EQ(st->lastWriteTime, write);
  EXPECT_EQ(st->lastAccessTime, access);
  // Times left out are not changed.
  ASSERT_TRUE(files().setFileTimes("C:\\t.txt", std::nullopt, std::nullopt, write + 10000000));
  st = files().status("C:\\t.txt");
  EXPECT_EQ(st->creationTime, creation);
  EXPECT_EQ(st->lastAccessTime, access);
  EXPECT_EQ(st->lastWriteTime, write + 10000000);
  // Times before 1970 survive too.
  const FileTime old = 100000000000000000ULL;  // 1917
  ASSERT_TRUE(files().setFileTimes("C:\\t.txt", std::nullopt, std::nullopt, old));
  EXPECT_EQ(files().status("C:\\t.txt")->lastWriteTime, old);
  EXPECT_FALSE(files().setFileTimes("C:\\missing.txt", creation, std::nullopt, std::nullopt));
}

// An open file tells and takes the times status() and setFileTimes() give and take by path,
// to the 100-nanosecond tick, and takes another host file's permission bits.
TEST_F(FileSystemTest, OpenFilesTellAndTakeTimesAsTheirPathsDo) {
  ASSERT_TRUE(writeText("C:\\src.txt", "s"));
  const FileTime write = 126000000000000123ULL;
  const FileTime access = 126100000000000456ULL;
  ASSERT_TRUE(files().setFileTimes("C:\\src.txt", std::nullopt, access, write));
  auto in = files().open("C:\\src.txt", OpenMode::Read);
  ASSERT_TRUE(in);
  std::optional<FileTimes> told = in->times();
  ASSERT_TRUE(told);
  EXPECT_EQ(told->lastWrite, files().status("C:\\src.txt")->lastWriteTime);
  EXPECT_EQ(told->lastAccess, files().status("C:\\src.txt")->lastAccessTime);
  EXPECT_EQ(told->lastWrite, write);

  auto out = files().create("C:\\dst.txt");
  ASSERT_TRUE(out);
  EXPECT_TRUE(out->setTimes(std::nullopt, std::nullopt));  // nothing to change
  ASSERT_TRUE(out->setTimes(told->lastAccess, told->lastWrite));
  auto st = files().status("C:\\dst.txt");
  EXPECT_EQ(st->lastWriteTime, write);
  EXPECT_EQ(st->lastAccessTime, access);
  // A time left out stays; times before 1970 survive too.
  const FileTime old = 100000000000000000ULL;
  ASSERT_TRUE(out->setTimes(std::nullopt, old));
  st = files().status("C:\\dst.txt");
  EXPECT_EQ(st->lastWriteTime, old);
  EXPECT_EQ(st->lastAccessTime, access);

  // The permission bits of the host file, as a copy on the host keeps them.
  ASSERT_EQ(::chmod(c("src.txt").c_str(), 0751), 0);
  ASSERT_TRUE(out->takeHostMode(*in));
  EXPECT_EQ(fs::status(c("dst.txt")).permissions(), fs::perms(0751));
  struct NoHostFile : File {
    std::int64_t read(void*, std::size_t) override { return 0; }
    std::int64_t write(const void*, std::size_t) override { return 0; }
    bool seek(std::uint64_t) override { return true; }
    std::uint64_t size() override { return 0; }
  } other;
  EXPECT_FALSE(out->takeHostMode(other));
  EXPECT_FALSE(other.times());
  EXPECT_FALSE(other.setTimes(access, write));
}

// A copy's stamps in one call end as the two calls they stand for leave them.
TEST_F(FileSystemTest, CopyStampsAreTheTimesThenTheAttributes) {
  const FileTime creation = 125911584000000000ULL;
  const FileTime write = 126000000000000000ULL;
  ASSERT_TRUE(writeText("C:\\one.txt", "1"));
  ASSERT_TRUE(writeText("C:\\two.txt", "2"));
  ASSERT_TRUE(files().setAttributes("C:\\one.txt", attr::Hidden | attr::System));
  ASSERT_TRUE(files().setAttributes("C:\\two.txt", attr::Hidden | attr::System));
  ASSERT_TRUE(files().setFileTimes("C:\\one.txt", creation, std::nullopt, write));
  ASSERT_TRUE(files().setAttributes("C:\\one.txt", attr::Normal));
  ASSERT_TRUE(files().setCopyStamps("C:\\two.txt", creation, write, attr::Normal));
  auto one = files().status("C:\\one.txt"), two = files().status("C:\\two.txt");
  ASSERT_TRUE(one && two);
  EXPECT_EQ(two->creationTime, one->creationTime);
  EXPECT_EQ(two->lastWriteTime, one->lastWriteTime);
  EXPECT_EQ(two->attributes, one->attributes);
  EXPECT_EQ(two->attributes, attr::Normal);
  // Attributes the host shows anyway leave no record; the creation time stays.
  ASSERT_TRUE(files().setCopyStamps("C:\\two.txt", std::nullopt, write, attr::Archive));
  EXPECT_EQ(files().status("C:\\two.txt")->attributes, attr::Archive);
  EXPECT_EQ(files().status("C:\\two.txt")->creationTime, creation);
  EXPECT_FALSE(files().setCopyStamps("C:\\missing.txt", creation, write, attr::Normal));
  EXPECT_FALSE(files().setCopyStamps("D:\\cd.txt", creation, write, attr::Normal));  // read-only drive
}

// The stamps set through the file create() made end as those set by its path: for a new
// file, one over a record its removed namesake left, and a replaced file with a record of its
// own; in a batch and alone.
TEST_F(FileSystemTest, CopyStampsThroughTheCreatedFileAreThoseSetByPath) {
  const FileTime creation = 125911584000000000ULL;
  const FileTime write = 126000000000000000ULL;
  const FileTime oldCreation = 125000000000000000ULL;
  auto stampBoth = [&](const std::string& name, std::uint32_t attributes) {
    const std::string byPath = "C:\\path-" + name, byFile = "C:\\file-" + name;
    auto a = files().create(byPath);
    auto b = files().create(byFile);
    ASSERT_TRUE(a && b) << name;
    ASSERT_EQ(a->write("abc", 3), 3);
    ASSERT_EQ(b->write("abc", 3), 3);
    a.reset();
    ASSERT_TRUE(files().setCopyStamps(byPath, creation, write, attributes)) << name;
    EXPECT_EQ(b->setCopyStamps(creation, write, attributes), std::optional<bool>(true)) << name;
    b.reset();
    auto one = files().status(byPath), two = files().status(byFile);
    ASSERT_TRUE(one && two) << name;
    EXPECT_EQ(two->creationTime, creation) << name;
    EXPECT_EQ(two->lastWriteTime, write) << name;
    EXPECT_EQ(two->creationTime, one->creationTime) << name;
    EXPECT_EQ(two->lastWriteTime, one->lastWriteTime) << name;
    EXPECT_EQ(two->attributes, one->attributes) << name;
    EXPECT_EQ(two->size, 3u) << name;
  };
  auto cases = [&](const std::string& run) {
    stampBoth(run + "new", attr::Normal);
    stampBoth(run + "archive", attr::Archive);
    for (const char* prefix : {"C:\\path-", "C:\\file-"}) {
      // A namesake with a record of its own, removed behind the file system's back.
      const std::string stale = prefix + run + "stale";
      ASSERT_TRUE(writeText(stale, "old"));
      ASSERT_TRUE(files().setFileTimes(stale, oldCreation, std::nullopt, std::nullopt));
      ASSERT_TRUE(files().setAttributes(stale, attr::Hidden | attr::System));
      ASSERT_TRUE(fs::remove(c(stale.substr(3))));
      // A file to replace, with hidden and system attributes and a creation time recorded.
      const std::string old = prefix + run + "old";
      ASSERT_TRUE(writeText(old, "old file"));
      ASSERT_TRUE(files().setFileTimes(old, oldCreation, std::nullopt, std::nullopt));
      ASSERT_TRUE(files().setAttributes(old, attr::Hidden | attr::System));
    }
    stampBoth(run + "stale", attr::Normal);
    stampBoth(run + "old", attr::Normal);
    EXPECT_EQ(files().status("C:\\file-" + run + "old")->attributes, attr::Normal);
    EXPECT_EQ(files().status("C:\\file-" + run + "stale")->attributes, attr::Normal);
  };
  cases("alone-");
  {
    FileBatch batch(files());
    cases("batch-");
  }
  // The records outlive the file system.
  files_ = std::make_unique<EmulatedFileSystem>(config_, false);
  for (const char* run : {"alone-", "batch-"}) {
    for (const char* name : {"new", "archive", "stale", "old"}) {
      auto one = files().status(std::string("C:\\path-") + run + name);
      auto two = files().status(std::string("C:\\file-") + run + name);
      ASSERT_TRUE(one && two) << run << name;
      EXPECT_EQ(two->creationTime, one->creationTime) << run << name;
      EXPECT_EQ(two->attributes, one->attributes) << run << name;
    }
  }
}

TEST_F(FileSystemTest, FindListsMatchesWithDotsForSubfolders) {
  ASSERT_TRUE(files().createDirectory("C:\\App"));
  for (const char* name : {"C:\\App\\b.txt", "C:\\App\\A.TXT", "C:\\App\\c.dll", "C:\\App\\noext"})
    ASSERT_TRUE(writeText(name, "1234"));
  ASSERT_TRUE(files().createDirectory("C:\\App\\Sub"));
  auto names = [](const std::vector<FindData>& found) {
    std::vector<std::string> result;
    for (const auto& f : found) result.push_back(f.name);
    return result;
  };
  using Names = std::vector<std::string>;
  EXPECT_EQ(names(files().find("C:\\App\\*.*")), (Names{".", "..", "A.TXT", "b.txt", "c.dll", "noext", "Sub"}));
  EXPECT_EQ(names(files().find("c:/app/*.TXT")), (Names{"A.TXT", "b.txt"}));
  EXPECT_EQ(names(files().find("C:\\App\\*.")), (Names{".", "..", "noext", "Sub"}));
  EXPECT_EQ(names(files().find("C:\\App\\a.txt")), (Names{"A.TXT"}));
  EXPECT_TRUE(files().find("C:\\App\\*.exe").empty());
  EXPECT_TRUE(files().find("C:\\Missing\\*.*").empty());
  auto found = files().find("C:\\App\\c.dll");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].status.size, 4u);
  EXPECT_TRUE(files().find("C:\\App\\Sub")[0].status.isDirectory());
  // The drive root lists no "." or "..".
  EXPECT_EQ(names(files().find("C:\\*")), (Names{"App"}));
}

TEST_F(FileSystemTest, FoldersAndMoves) {
  EXPECT_FALSE(files().createDirectory("C:\\a\\b"));  // one level only
  ASSERT_TRUE(files().createDirectory("C:\\a"));
  ASSERT_TRUE(writeText("C:\\a\\f.txt", "f"));
  EXPECT_FALSE(files().removeDirectory("C:\\a"));  // not empty
  EXPECT_FALSE(files().removeDirectory("C:\\"));
  EXPECT_FALSE(files().moveFile("C:\\a", "C:\\a\\inner"));  // into itself
  ASSERT_TRUE(writeText("C:\\other.txt", "o"));
  EXPECT_FALSE(files().moveFile("C:\\other.txt", "C:\\a\\F.TXT"));  // the target exists
  EXPECT_TRUE(files().moveFile("C:\\a\\f.txt", "C:\\a\\F.TXT"));  // a change of case
  EXPECT_TRUE(fs::exists(c("a/F.TXT")));
  EXPECT_TRUE(files().moveFile("C:\\a", "C:\\b"));
  EXPECT_EQ(readText("C:\\b\\f.txt"), "f");
  EXPECT_TRUE(files().deleteFile("C:\\b\\f.txt"));
  EXPECT_FALSE(files().deleteFile("C:\\b"));  // a folder is not a file
  EXPECT_TRUE(files().removeDirectory("C:\\b"));
  EXPECT_FALSE(files().status("C:\\b"));
}

TEST_F(FileSystemTest, ReplaceSwapsInTheNewFileAndKeepsTheStoredName) {
  ASSERT_TRUE(writeText("C:\\WIN.INI", "old"));
  ASSERT_TRUE(writeText("C:\\new.tmp", "new"));
  EXPECT_TRUE(files().replaceFile("C:\\new.tmp", "c:\\win.ini"));
  EXPECT_EQ(readFile(c("WIN.INI")), "new");
  EXPECT_FALSE(fs::exists(c("win.ini")) && !fs::equivalent(c("win.ini"), c("WIN.INI")));
  EXPECT_FALSE(files().status("C:\\new.tmp"));

  // A read-only target, a missing target and a folder are refused and left as they were.
  ASSERT_TRUE(writeText("C:\\ro.txt", "kept"));
  ASSERT_TRUE(files().setAttributes("C:\\ro.txt", attr::ReadOnly));
  ASSERT_TRUE(writeText("C:\\x.tmp", "x"));
  EXPECT_FALSE(files().replaceFile("C:\\x.tmp", "C:\\ro.txt"));
  EXPECT_EQ(readFile(c("ro.txt")), "kept");
  EXPECT_FALSE(files().replaceFile("C:\\x.tmp", "C:\\missing.txt"));
  ASSERT_TRUE(files().createDirectory("C:\\dir"));
  EXPECT_FALSE(files().replaceFile("C:\\x.tmp", "C:\\dir"));
  EXPECT_EQ(readText("C:\\x.tmp"), "x");
}

TEST_F(FileSystemTest, CopyToMovesDataBetweenOpenFilesInBlocks) {
  std::string data(300000, '\0');
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = char(i * 7 + i / 1000);
  ASSERT_TRUE(writeText("C:\\src.bin", data));
  auto in = files().open("C:\\src.bin", OpenMode::Read);
  auto out = files().create("C:\\dst.bin");
  ASSERT_TRUE(in && out);
  std::vector<std::int64_t> blocks;
  for (std::int64_t n; (n = in->copyTo(*out, 128 * 1024)) > 0;) blocks.push_back(n);
  EXPECT_EQ(blocks, (std::vector<std::int64_t>{131072, 131072, 37856}));
  EXPECT_EQ(in->copyTo(*out, 10), 0);  // at the end of the source
  out.reset();
  EXPECT_EQ(readText("C:\\dst.bin"), data);
}

// The copy queue copies on its own thread in the order queued, gives each copy's count in
// that order, tells a copy that failed, and finishes what is queued when it ends.
TEST_F(FileSystemTest, TheCopyQueueCopiesInOrderAndFinishesWhatIsQueued) {
  CopyQueue* queue = files().copyQueue();
  ASSERT_TRUE(queue);
  const std::vector<std::size_t> sizes{70000, 0, 1, 4096};
  std::vector<std::unique_ptr<File>> ins, outs;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    std::string name = "C:\\q" + std::to_string(i);
    ASSERT_TRUE(writeText(name + ".src", std::string(sizes[i], char('a' + i))));
    ins.push_back(files().open(name + ".src", OpenMode::Read));
    outs.push_back(files().create(name + ".dst"));
    ASSERT_TRUE(ins.back() && outs.back());
    ASSERT_TRUE(queue->accepts(*ins.back(), *outs.back()));
    queue->push(*ins.back(), *outs.back(), 1 << 20);
  }
  // A copy into a file opened for reading fails.
  ASSERT_TRUE(writeText("C:\\ro.dst", ""));
  auto readOnly = files().open("C:\\ro.dst", OpenMode::Read);
  queue->push(*ins[0], *readOnly, 1 << 20);
  for (std::size_t size : sizes) EXPECT_EQ(queue->takeOldest(true), std::int64_t(size));
  EXPECT_EQ(queue->takeOldest(true), -1);
  EXPECT_EQ(queue->takeOldest(false), std::nullopt) << "nothing is queued";
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    outs[i].reset();
    EXPECT_EQ(readText("C:\\q" + std::to_string(i) + ".dst"), std::string(sizes[i], char('a' + i)));
  }

  // Copies whose results nobody took are finished before the file system goes.
  std::string data(200000, 'z');
  ASSERT_TRUE(writeText("C:\\last.src", data));
  {
    auto other = std::make_unique<EmulatedFileSystem>(config_, false);
    auto in = other->open("C:\\last.src", OpenMode::Read);
    auto out = other->create("C:\\last.dst");
    ASSERT_TRUE(in && out);
    other->copyQueue()->push(*in, *out, 1 << 20);
    other.reset();  // the file system ends first, then the files close
  }
  EXPECT_EQ(readText("C:\\last.dst"), data);
}

// A large file's storage is given back on another thread: the file is gone at once, a
// second name of it keeps its data, and no descriptor stays open once the file system ends.
TEST_F(FileSystemTest, RemovedLargeFilesAreGoneAtOnceAndLeaveNoDescriptorOpen) {
  // The descriptors of this process that lead to one of the removed files.
  auto heldRemoved = [] {
    int held = 0;
    for (const auto& fd : fs::directory_iterator("/proc/self/fd")) {
      std::error_code ec;
      if (fs::read_symlink(fd.path(), ec).filename().string().rfind("big", 0) == 0) ++held;
    }
    return held;
  };
  const std::string large(100 * 1024, 'x');
  ASSERT_TRUE(writeText("C:\\kept.dat", large));
  ASSERT_TRUE(files().setAttributes("C:\\kept.dat", attr::ReadOnly));
  {
    auto other = std::make_unique<EmulatedFileSystem>(config_, false);
    for (int i = 0; i < 300; ++i) {
      const std::string name = "C:\\big" + std::to_string(i) + ".dat";
      auto file = other->create(name);
      ASSERT_TRUE(file && file->write(large.data(), large.size()) == std::int64_t(large.size()));
    }
    fs::create_hard_link(c("big0.dat"), c("second-name.dat"));
    for (int i = 0; i < 300; ++i) {
      const std::string name = "C:\\big" + std::to_string(i) + ".dat";
      ASSERT_TRUE(other->deleteFile(name)) << name;
      EXPECT_FALSE(other->status(name)) << name;
      EXPECT_FALSE(fs::exists(c("big" + std::to_string(i) + ".dat")));
    }
    // A read-only file is refused and stays.
    EXPECT_FALSE(other->deleteFile("C:\\kept.dat"));
  }
  EXPECT_EQ(heldRemoved(), 0);
  EXPECT_EQ(readFile(c("second-name.dat")), large);
  EXPECT_EQ(readFile(c("kept.dat")), large);
}

TEST_F(FileSystemTest, CurrentFolderIsPerProcessAndMustExist) {
  ASSERT_TRUE(files().createDirectory("C:\\Work"));
  EXPECT_FALSE(files().setCurrentDirectory("C:\\Nowhere"));
  ASSERT_TRUE(files().setCurrentDirectory("c:\\work"));
  EXPECT_EQ(files().currentDirectory(), "C:\\work");
  EXPECT_EQ(files().fullPath("..\\x\\.\\y"), "C:\\x\\y");
  ASSERT_TRUE(writeText("rel.txt", "r"));
  EXPECT_TRUE(fs::exists(c("Work/rel.txt")));
  EXPECT_EQ(files().currentHostDirectory(), c("Work"));
  EXPECT_EQ(files().fullPath("Q:\\x"), "");
}

TEST_F(FileSystemTest, TempFileNames) {
  std::string name;
  EXPECT_EQ(files().tempFileName("C:\\", "KVBEXTRA", 0x12ABCD, name), 0x12ABCDu);
  EXPECT_EQ(name, "C:\\KVBABCD.TMP");
  EXPECT_FALSE(files().status(name));  // a given number creates nothing
  std::set<std::string> made;
  for (int i = 0; i < 3; ++i) {
    unsigned n = files().tempFileName("C:\\", "~x", 0, name);
    ASSERT_NE(n, 0u);
    char expected[32];
    std::snprintf(expected, sizeof expected, "C:\\~x%04X.TMP", n & 0xFFFF);
    EXPECT_EQ(name, expected);
    EXPECT_TRUE(files().status(name)) << name;
    made.insert(name);
  }
  EXPECT_EQ(made.size(), 3u);
  EXPECT_EQ(files().tempFileName("C:\\Missing", "KVB", 0, name), 0u);
}

TEST_F(FileSystemTest, FreeSpaceFromTheHostOrTheOverride) {
  auto host = files().diskFreeSpace("C:\\");
  ASSERT_TRUE(host);
  EXPECT_GT(host->freeBytes(), 0u);
  EXPECT_GE(host->totalClusters, host->freeClusters);
  config_.freeSpace['C'] = 524288000;
  config_.freeSpace['Z'] = 5'000'000'000'000ULL;  // larger than 32 bits of sectors
  EmulatedFileSystem overridden(config_, false);
  EXPECT_EQ(overridden.diskFreeSpace("c:\\windows")->freeBytes(), 524288000u);
  EXPECT_EQ(overridden.diskFreeSpace("Z:\\")->freeBytes(), 5'000'000'000'000ULL);
  EXPECT_FALSE(overridden.diskFreeSpace("Q:\\"));
}

TEST_F(FileSystemTest, OpenFilesReadWriteAndSeek) {
  ASSERT_TRUE(writeText("C:\\data.bin", "0123456789"));
  auto file = files().open("C:\\data.bin", OpenMode::ReadWrite);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->size(), 10u);
  ASSERT_TRUE(file->seek(4));
  char buffer[3] = {};
  EXPECT_EQ(file->read(buffer, 3), 3);
  EXPECT_EQ(std::string(buffer, 3), "456");
  EXPECT_EQ(file->write("xy", 2), 2);
  file.reset();
  EXPECT_EQ(readText("C:\\data.bin"), "0123456xy9");
  auto reader = files().open("C:\\data.bin", OpenMode::Read);
  EXPECT_EQ(reader->write("z", 1), -1);
  EXPECT_FALSE(files().open("C:\\", OpenMode::Read));
  EXPECT_FALSE(files().open("C:\\missing", OpenMode::Read));
}

}  // namespace
}  // namespace vandrel::platform::emulated
