// Tests of starting programs in the emulated machine: search, the one argument, the folder,
// host program mappings, failure codes and our own module name.
#include "platform/emulated/emulated_process.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/emulated/confinement.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace vandrel::platform::emulated {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

class ProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(c("WINDOWS/SYSTEM"));
    fs::create_directories(c("Program Files/My App"));
    fs::create_directories(c("Work"));
    config_.root = temp_.path();
    config_.windowsDir = "C:\\WINDOWS";
    config_.systemDir = "C:\\WINDOWS\\SYSTEM";
    config_.drives = {{'C', temp_ / "drive_c", false}, {'Z', "/", true}};
    config_.programs["NOTEPAD.EXE"] = "/bin/true";
    config_.programs["FAILER.EXE"] = "/bin/false";
    files_ = std::make_unique<EmulatedFileSystem>(config_, false);
    process_ = std::make_unique<EmulatedProcess>(config_, *files_, temp_ / "drive_c" / "WINDOWS" / "hobvane.exe");
    ASSERT_TRUE(files_->setCurrentDirectory("C:\\Work"));
  }
  fs::path c(const std::string& name) const { return temp_ / "drive_c" / name; }
  // Places the probe program in the machine without its execute bit, as a copy would.
  void placeProbe(const std::string& relative) {
    fs::copy_file(MACHINE_PROBE, c(relative), fs::copy_options::overwrite_existing);
    ::chmod(c(relative).c_str(), 0644);
  }
  std::string probeLog() { return readFile(c("Work/probe.log")); }

  TempDir temp_;
  MachineConfig config_;
  std::unique_ptr<EmulatedFileSystem> files_;
  std::unique_ptr<EmulatedProcess> process_;
};

TEST_F(ProcessTest, RunsANativeProgramWithTheRestAsOneArgumentInTheCurrentFolder) {
  placeProbe("Program Files/My App/probe.exe");
  auto status = process_->runAndWait("C:\\Program Files\\My App\\probe.exe  C:\\src dir\\ \"q\" exit=7");
  ASSERT_TRUE(status);
  EXPECT_EQ(*status, 7);
  EXPECT_EQ(probeLog(), "argc=2|arg=C:\\src dir\\ \"q\" exit=7|cwd=" + c("Work").string() +
                            "|machine=" + temp_.path().string() + "\n");
}

TEST_F(ProcessTest, FindsProgramsTheWindowsWay) {
  placeProbe("WINDOWS/SYSTEM/sysprobe.exe");
  placeProbe("WINDOWS/winprobe.exe");
  placeProbe("Work/here.exe");
  EXPECT_EQ(process_->runAndWait("SYSPROBE exit=3"), 3);    // system folder, ".exe" added
  EXPECT_EQ(process_->runAndWait("winprobe.exe exit=4"), 4);  // Windows folder
  EXPECT_EQ(process_->runAndWait("here"), 0);                 // current folder, no argument
  EXPECT_EQ(process_->runAndWait("\"C:\\Program Files\\..\\WINDOWS\\winprobe.exe\"exit=5"), 5);
  EXPECT_EQ(probeLog().substr(probeLog().rfind("argc=1")).substr(0, 12), "argc=1|arg=|");
}

TEST_F(ProcessTest, StartsMappedHostProgramsOnlyByTheirMapping) {
  EXPECT_EQ(process_->runAndWait("Notepad.exe C:\\log.txt"), 0);
  EXPECT_EQ(process_->runAndWait("C:\\Some\\Where\\FAILER.EXE"), 1);
  EXPECT_GT(process_->winExec("notepad C:\\x.txt", 1), 31u);
  // A host program reached through Z: without a mapping is not a program of the machine
  // unless it is native; a text file never is.
  writeFile(c("Work/readme.txt"), "text");
  EXPECT_EQ(process_->winExec("readme.txt", 1), 11u);
}

TEST_F(ProcessTest, FailuresReturnSmallCodes) {
  writeFile(c("Work/script.exe"), "#!/bin/sh\nexit 0\n");
  EXPECT_EQ(process_->winExec("missing.exe", 1), 2u);
  EXPECT_EQ(process_->winExec("C:\\NoFolder\\missing.exe", 1), 3u);
  EXPECT_EQ(process_->winExec("C:\\Work\\missing.exe", 1), 2u);
  EXPECT_EQ(process_->winExec("script.exe", 1), 11u);  // not a native program
  EXPECT_EQ(process_->winExec("", 1), 2u);
  EXPECT_EQ(process_->winExec("\\\\server\\share\\a.exe", 1), 3u);
  EXPECT_FALSE(process_->runAndWait("missing.exe"));
  EXPECT_FALSE(process_->runAndWait("script.exe"));
}

TEST_F(ProcessTest, WinExecDoesNotWaitAndLeavesNoZombie) {
  placeProbe("Work/probe.exe");
  EXPECT_GT(process_->winExec("probe.exe detached", 5), 31u);
  // The program runs on its own: wait until its line is whole, not merely begun.
  for (int i = 0; i < 300 && (!fs::exists(c("Work/probe.log")) || probeLog().find('\n') == std::string::npos); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_NE(probeLog().find("arg=detached|"), std::string::npos);
  // The program was not our child: nothing is left to reap.
  int status = 0;
  EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST_F(ProcessTest, ModuleFileNameIsTheExecutableSeenThroughTheDrives) {
  EXPECT_EQ(process_->moduleFileName(), "C:\\WINDOWS\\hobvane.exe");
  EmulatedProcess self(config_, *files_, {});
  std::string expected = "Z:" + fs::read_symlink("/proc/self/exe").string();
  for (char& ch : expected)
    if (ch == '/') ch = '\\';
  EXPECT_EQ(self.moduleFileName(), expected);
}

// Programs a package starts, confined: the host read-only, the machine writable.
class ConfinedProcessTest : public ProcessTest {
 protected:
  void SetUp() override {
    ProcessTest::SetUp();
    ::unsetenv(kConfinedVariable);
    fs::copy_file("/usr/bin/touch", c("WINDOWS/touch.exe"));
    process_->confineStartedPrograms("test");
  }
  TempDir outside_;
};

TEST_F(ConfinedProcessTest, WritesInsideTheMachineOnly) {
  std::string why;
  if (!canConfine(why)) GTEST_SKIP() << "programs cannot be confined here: " << why;
  auto escaped = process_->runAndWait("touch.exe " + (outside_ / "escaped").string());
  ASSERT_TRUE(escaped);
  EXPECT_NE(*escaped, 0);
  EXPECT_FALSE(fs::exists(outside_ / "escaped"));
  auto inside = process_->runAndWait("touch.exe " + c("Work/inside").string());
  ASSERT_TRUE(inside);
  EXPECT_EQ(*inside, 0);
  EXPECT_TRUE(fs::exists(c("Work/inside")));
  // Started without waiting, the same.
  EXPECT_GT(process_->winExec("touch.exe " + (outside_ / "later").string(), show::Normal), 31u);
  EXPECT_GT(process_->winExec("touch.exe " + c("Work/later").string(), show::Normal), 31u);
  for (int i = 0; i < 100 && !fs::exists(c("Work/later")); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_TRUE(fs::exists(c("Work/later")));
  EXPECT_FALSE(fs::exists(outside_ / "later"));
}

TEST_F(ConfinedProcessTest, ProgramsTheOwnerMappedRunAsMapped) {
  config_.programs["TOUCHER.EXE"] = "/usr/bin/touch";
  EmulatedProcess process(config_, *files_, {});
  process.confineStartedPrograms("test");
  testing::internal::CaptureStderr();
  auto status = process.runAndWait("toucher.exe " + (outside_ / "mapped").string());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  ASSERT_TRUE(status);
  EXPECT_EQ(*status, 0);
  EXPECT_TRUE(fs::exists(outside_ / "mapped"));
}

TEST_F(ConfinedProcessTest, WithoutBwrapTheProgramRunsAndThatIsSaid) {
  setLauncherFolders({outside_.path()});  // no bwrap in the folders searched
  testing::internal::CaptureStderr();
  auto status = process_->runAndWait("touch.exe " + (outside_ / "unconfined").string());
  std::string said = testing::internal::GetCapturedStderr();
  setLauncherFolders({"/usr/bin", "/bin", "/usr/local/bin"});
  ASSERT_TRUE(status);
  EXPECT_EQ(*status, 0);
  EXPECT_TRUE(fs::exists(outside_ / "unconfined"));
  EXPECT_EQ(said, "test: " + c("WINDOWS/touch.exe").string() +
                      " runs unconfined, with the user's rights (bwrap (Debian package bubblewrap) is "
                      "not installed): it can write outside the machine\n");
}

// A bwrap in a folder of PATH (".", the package's folder) is never taken for the launcher.
TEST_F(ConfinedProcessTest, TheLauncherIsNotSearchedInPath) {
  std::string why;
  if (!canConfine(why)) GTEST_SKIP() << "programs cannot be confined here: " << why;
  TempDir planted;
  writeFile(planted / "bwrap", "#!/bin/sh\ntouch '" + (outside_ / "planted-ran").string() + "'\n");
  ::chmod((planted / "bwrap").c_str(), 0755);
  std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  ::setenv("PATH", (planted.path().string() + ":" + path).c_str(), 1);
  auto status = process_->runAndWait("touch.exe " + c("Work/confined").string());
  ::setenv("PATH", path.c_str(), 1);
  ASSERT_TRUE(status);
  EXPECT_EQ(*status, 0);
  EXPECT_TRUE(fs::exists(c("Work/confined")));
  EXPECT_FALSE(fs::exists(outside_ / "planted-ran"));
}

// Started by root, a confined program keeps no capability: no write through /proc/<pid>/root
// of a host process, no remount of the read-only host.
TEST_F(ConfinedProcessTest, NoCapabilityNoHostProcessNoRemount) {
  std::string why;
  if (!canConfine(why)) GTEST_SKIP() << "programs cannot be confined here: " << why;
  fs::copy_file("/bin/sh", c("WINDOWS/sh.exe"));
  const std::string self = std::to_string(::getpid());
  // A process of the host's, which would hold no capability either: this test itself.
  writeFile(c("Work/walls.sh"),
            "grep CapEff /proc/self/status > walls.out\n"
            "echo x > '/proc/" + self + "/root" + (outside_ / "through-proc").string() + "'\n"
            "for p in /proc/[0-9]*; do echo x > \"$p/root" + (outside_ / "through-any").string() + "\"; done 2>/dev/null\n"
            "ls /proc/" + self + " > /dev/null 2>&1 && echo host > seen.out\n"
            "tr '\\0' '\\n' < /proc/1/cmdline | head -n 1 > init.out\n"
            "mount -o remount,rw / 2>/dev/null && touch '" + (outside_ / "after-remount").string() + "'\n"
            "exit 0\n");
  auto status = process_->runAndWait("sh.exe " + c("Work/walls.sh").string());
  ASSERT_TRUE(status);
  EXPECT_EQ(readFile(c("Work/walls.out")), "CapEff:\t0000000000000000\n");
  EXPECT_FALSE(fs::exists(outside_ / "through-proc"));
  EXPECT_FALSE(fs::exists(outside_ / "through-any"));
  EXPECT_FALSE(fs::exists(outside_ / "after-remount"));
  // Its own process table: the host's processes are not there, its own /proc shows itself.
  EXPECT_FALSE(fs::exists(c("Work/seen.out"))) << "the host's process " << self << " was seen inside";
  EXPECT_EQ(fs::path(readFile(c("Work/init.out"))).filename(), "bwrap\n") << "the first process inside is the sandbox's";
}

// The owner's machine.ini (mapped programs, drives) is read-only inside, and stays in place.
TEST_F(ConfinedProcessTest, MachineIniIsReadOnlyInside) {
  std::string why;
  if (!canConfine(why)) GTEST_SKIP() << "programs cannot be confined here: " << why;
  const std::string owners = "[Programs]\nnotepad.exe=/bin/true\n";
  writeFile(temp_ / "machine.ini", owners);
  fs::copy_file("/bin/sh", c("WINDOWS/sh.exe"));
  const std::string ini = (temp_ / "machine.ini").string();
  writeFile(c("Work/ini.sh"),
            "echo 'evil.exe=/usr/bin/touch' >> '" + ini + "'\n"
            "printf '[Programs]\\nevil.exe=/usr/bin/touch\\n' > replacement\n"
            "mv -f replacement '" + ini + "'\n"
            "rm -f '" + ini + "'\n"
            "exit 0\n");
  auto status = process_->runAndWait("sh.exe " + c("Work/ini.sh").string());
  ASSERT_TRUE(status);
  EXPECT_EQ(readFile(temp_ / "machine.ini"), owners);
  // The rest of the machine stays writable.
  EXPECT_TRUE(fs::exists(c("Work/replacement")));
}

// No host service listening on a Unix socket is reached, wherever its socket is.
TEST_F(ConfinedProcessTest, NoUnixSocketOfTheHost) {
  std::string why;
  if (!canConfine(why)) GTEST_SKIP() << "programs cannot be confined here: " << why;
  const fs::path socketPath = outside_ / "service.sock";
  int service = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  ASSERT_GE(service, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(service, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(service, 4), 0);
  placeProbe("Work/probe.exe");
  auto status = process_->runAndWait("probe.exe connect=" + socketPath.string());
  ASSERT_TRUE(status);
  EXPECT_NE(probeLog().find("\nconnect=no\n"), std::string::npos) << probeLog();
  EXPECT_LT(::accept(service, nullptr, nullptr), 0);  // nobody called
  ::close(service);
}

// A machine kept below /dev (on the host's tmpfs /dev/shm): the confinement's own /dev must
// not hide it from the program started there.
TEST(ConfinedBelowDev, AMachineOnDevShmIsWritableInside) {
  std::string why;
  if (!canConfine(why)) GTEST_SKIP() << "programs cannot be confined here: " << why;
  char name[] = "/dev/shm/vandrel-test-XXXXXX";
  if (!fs::is_directory("/dev/shm") || !::mkdtemp(name)) GTEST_SKIP() << "no /dev/shm here";
  struct Removed {
    fs::path root;
    ~Removed() { fs::remove_all(root); }
  } machine{name};
  fs::create_directories(machine.root / "drive_c" / "WINDOWS");
  fs::create_directories(machine.root / "drive_c" / "Work");
  fs::copy_file("/usr/bin/touch", machine.root / "drive_c" / "WINDOWS" / "touch.exe");
  MachineConfig config;
  config.root = machine.root;
  config.windowsDir = "C:\\WINDOWS";
  config.systemDir = "C:\\WINDOWS";
  config.drives = {{'C', machine.root / "drive_c", false}, {'Z', "/", true}};
  EmulatedFileSystem files(config, false);
  ASSERT_TRUE(files.setCurrentDirectory("C:\\Work"));
  EmulatedProcess process(config, files, machine.root / "drive_c" / "WINDOWS" / "hobvane.exe");
  ::unsetenv(kConfinedVariable);
  process.confineStartedPrograms("test");
  fs::path inside = machine.root / "drive_c" / "Work" / "inside";
  auto status = process.runAndWait("touch.exe " + inside.string());
  ASSERT_TRUE(status);
  EXPECT_EQ(*status, 0);
  EXPECT_TRUE(fs::exists(inside));
}

TEST(CommandLine, SplitsTheWindowsWay) {
  using Split = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(splitCommandLine("prog.exe"), (Split{{"prog.exe", ""}}));
  EXPECT_EQ(splitCommandLine("  \"C:\\Program Files\\App\\a.exe\"   C:\\src\\  "),
            (Split{{"C:\\Program Files\\App\\a.exe", "C:\\src\\  "}}));
  EXPECT_EQ(splitCommandLine("C:\\Program Files\\App\\a.exe /x y"),
            (Split{{"C:\\Program", "Files\\App\\a.exe /x y"},
                   {"C:\\Program Files\\App\\a.exe", "/x y"},
                   {"C:\\Program Files\\App\\a.exe /x", "y"},
                   {"C:\\Program Files\\App\\a.exe /x y", ""}}));
  EXPECT_EQ(splitCommandLine("\"unterminated arg"), (Split{{"unterminated arg", ""}}));
  EXPECT_TRUE(splitCommandLine("   ").empty());
  EXPECT_TRUE(splitCommandLine("\"\" x").empty());
}

}  // namespace
}  // namespace vandrel::platform::emulated
