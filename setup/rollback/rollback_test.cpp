// Installations over the in-memory machine that end without success (cancelled at every point
// of the copy, the groups and the system changes, a file that cannot be written, a full disk,
// a refused change): afterwards the machine holds what it held before the run.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "setup/driver.h"
#include "setup/rollback/journaling_machine.h"
#include "setup/rollback/rollback.h"
#include "setup/strings/setup_strings.h"
#include "setup/testing/backup_interaction.h"
#include "tests/support/fake_interaction.h"
#include "tests/support/memory_machine.h"
#include "tests/support/temp_dir.h"

namespace vandrel::setup::rollback {
namespace {

using test::MemoryMachine;

constexpr std::size_t kSmall = 100;
constexpr std::size_t kLarge = 60000;
constexpr platform::HKey kLm = platform::hkey::LocalMachine;
const char* kSharedKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// Three files (the second large, the third shared), a group with one shortcut, two Win.ini
// entries and three registry entries, one of them replacing a value already there.
std::string packageScript() {
  auto file = [](const char* name, std::size_t size, int shared) {
    return std::string(name) + "," + name + ",0,1,0,1,1,0," + std::to_string(size) + ",0," +
           std::to_string(shared);
  };
  return "[Settings]\r\nAppName=Tool\r\nRegInfo=0\r\nDefDir=App\r\n"
         "[Directories]\r\nnbDir=5\r\n0=Bin,0,0,\r\n1=,0,0,\r\n2=,1,0,\r\n3=,2,0,\r\n4=,3,0,\r\n"
         "[Files]\r\nnbFiles=3\r\n0=" + file("small.dat", kSmall, 0) + "\r\n1=" +
         file("large.dat", kLarge, 0) + "\r\n2=" + file("shared.dll", kSmall, 1) + "\r\n"
         "[Groups]\r\nnbGrp=1\r\n0=Tool\r\n"
         "[Shortcuts]\r\nnbAdd=1\r\n0=small.dat,0,0,Tool,,0\r\n"
         "[AddINI]\r\nnbINI=2\r\n0=Tool,Folder,[0]\r\n1=Desktop,Wallpaper,tool.bmp\r\n"
         "[Registry]\r\nnbReg=3\r\n0=2,Software\\Orlwen\\Tool,Path,[0]\r\n"
         "1=2,Software\\Orlwen\\Tool,Version,1.0\r\n2=2,Software\\Old,Owner,Tool\r\n";
}

// Every file and folder with its contents, size, attributes and write times, and every
// registry value; the setup's clean-up registration, made before anything else, is left out.
std::vector<std::string> machineState(MemoryMachine& machine) {
  std::vector<std::string> lines;
  test::MemoryFileSystem& files = machine.memoryFiles();
  for (const std::string& path : files.listAll()) {
    std::optional<platform::FileStatus> status = files.status(path);
    if (!status) continue;
    std::string line = path + " attributes " + std::to_string(status->attributes);
    if (!status->isDirectory()) {
      line += " size " + std::to_string(status->size) + " written " +
              std::to_string(status->lastWriteTime) + " created " +
              std::to_string(status->creationTime) + " contents " +
              std::to_string(std::hash<std::string>{}(files.readFile(path).value_or("?")));
    }
    lines.push_back(line);
  }
  for (const std::string& value : machine.memoryRegistry().listAll()) {
    if (value.find("Vandrel file Clean-up") == std::string::npos) lines.push_back(value);
  }
  return lines;
}

using testing::BackupInteraction;

struct Installation {
  MemoryMachine machine;
  JournalingMachine journaled{machine};
  BackupInteraction ui;
  DriverOutcome outcome;
  std::vector<std::string> before;

  Installation() {
    test::MemoryFileSystem& files = machine.memoryFiles();
    files.writeFile("C:\\WINDOWS\\Script.vrx", packageScript());
    files.writeFile("C:\\Pkg\\small.dat", std::string(kSmall, 's'));
    files.writeFile("C:\\Pkg\\large.dat", std::string(kLarge, 'l'));
    files.writeFile("C:\\Pkg\\shared.dll", std::string(kSmall, 'd'));
    // An earlier copy of the shared file, used by two programs, and values the run replaces.
    files.writeFile("C:\\App\\Bin\\shared.dll", "earlier library");
    files.writeFile("C:\\App\\Bin\\small.dat", "earlier small");
    files.setAttributes("C:\\App\\Bin\\small.dat", platform::attr::ReadOnly);
    machine.profile().writeProfileString("Desktop", std::string("Wallpaper"), std::string("sky.bmp"));
    platform::HKey key = 0;
    machine.registry().createKey(kLm, kSharedKey, key);
    machine.registry().setDword(key, "C:\\App\\Bin\\shared.dll", 2);
    machine.registry().closeKey(key);
    machine.registry().createKey(kLm, "Software\\Old", key);
    machine.registry().setString(key, "Owner", "Earlier");
    machine.registry().closeKey(key);
  }
  void install() {
    before = machineState(machine);
    SetupApp app(journaled, ui, setupStrings());
    DriverSteps steps;
    steps.journal = &journaled.journal();
    outcome = runInstallation(app, "C:\\Pkg\\", steps);
  }
  void expectMachineAsBefore() {
    std::vector<std::string> after = machineState(machine);
    EXPECT_EQ(after, before);
    EXPECT_FALSE(machine.memoryRegistry().hasKey(kLm, "Software\\Orlwen"));
    EXPECT_FALSE(machine.memoryFiles().exists("C:\\WINDOWS\\Vandrel Rollback"));
  }
};

TEST(Rollback, ACompletedInstallationIsKeptAndLeavesNoPrivateCopies) {
  Installation run;
  // Every file can be written: a file left uncopied would make the run one that failed.
  run.machine.memoryFiles().setAttributes("C:\\App\\Bin\\small.dat", platform::attr::Normal);
  run.install();
  ASSERT_EQ(run.outcome.closingStatus, status::Completed);
  EXPECT_EQ(run.machine.memoryFiles().readFile("C:\\App\\Bin\\large.dat"), std::string(kLarge, 'l'));
  EXPECT_EQ(run.machine.memoryRegistry().dwordValue(kLm, kSharedKey, "C:\\App\\Bin\\shared.dll"), 3u);
  EXPECT_EQ(run.machine.memoryRegistry().stringValue(kLm, "Software\\Old", "Owner"), "Tool");
  EXPECT_FALSE(run.machine.memoryFiles().exists("C:\\WINDOWS\\Vandrel Rollback"));
}

// Cancel pressed after each update of the progress window in turn: in the copy of each file,
// in the groups and in the system changes. Every run that does not complete leaves the machine
// as it was, with the cancel's own status.
TEST(Rollback, ACancelAtAnyPointLeavesTheMachineAsItWas) {
  int cancelled = 0;
  for (int updates = 1; updates < 500; ++updates) {
    SCOPED_TRACE("cancel after " + std::to_string(updates) + " updates");
    Installation run;
    run.ui.cancelAfterUpdates = updates;
    run.install();
    if (run.outcome.closingStatus == status::Completed) break;
    ++cancelled;
    EXPECT_TRUE(run.outcome.closingStatus == status::Fatal ||
                run.outcome.closingStatus == status::GroupsFailed);
    run.expectMachineAsBefore();
  }
  EXPECT_GT(cancelled, 5);
}

TEST(Rollback, AFailedCopyAnsweredNoLeavesTheMachineAsItWas) {
  struct Case {
    const char* name;
    std::function<void(Installation&)> arm;
  };
  const Case cases[] = {
      {"a full disk in the middle of the large file",
       [](Installation& r) { r.machine.memoryFiles().setFreeSpace('C', 40000); }},
      {"writes failing after a budget",
       [](Installation& r) { r.machine.memoryFiles().failWritesAfter(30000); }},
      {"a locked destination file",
       [](Installation& r) {
         r.machine.memoryFiles().writeFile("C:\\App\\Bin\\large.dat", "old");
         r.machine.memoryFiles().denyAccess("C:\\App\\Bin\\large.dat");
       }},
      {"a folder in the place of a file",
       [](Installation& r) { r.machine.memoryFiles().makeDirectories("C:\\App\\Bin\\large.dat"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Installation run;
    c.arm(run);
    run.ui.answers = {ui::Answer::No};
    run.install();
    EXPECT_EQ(run.outcome.closingStatus, status::Fatal);
    run.machine.memoryFiles().clearFailures();
    run.expectMachineAsBefore();
  }
}

TEST(Rollback, ARefusedChangeAfterTheCopyLeavesTheMachineAsItWas) {
  struct Case {
    const char* name;
    std::function<void(Installation&)> arm;
  };
  const Case cases[] = {
      {"a shortcut the shell refuses",
       [](Installation& r) { r.machine.memoryShell().refuse("C:\\WINDOWS\\Start Menu\\Programs\\Tool\\Tool.lnk"); }},
      {"Win.ini that cannot be written",
       [](Installation& r) { r.machine.memoryFiles().denyAccess("C:\\WINDOWS\\WIN.INI"); }},
      {"a registry key that refuses changes",
       [](Installation& r) { r.machine.memoryRegistry().denyChanges(kLm, "Software\\Old"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Installation run;
    c.arm(run);
    run.install();
    EXPECT_EQ(run.outcome.closingStatus, status::GroupsFailed);
    run.machine.memoryFiles().clearFailures();
    run.machine.memoryRegistry().clearFailures();
    run.expectMachineAsBefore();
  }
}

// The replaced files come back from the journal's own copies also when the user asked for
// backups: the backup folder the run made goes too.
TEST(Rollback, BackupsMadeByTheRunGoWithIt) {
  Installation run;
  run.ui.backup = true;
  run.ui.cancelOn = "shared.dll";
  run.install();
  EXPECT_EQ(run.outcome.closingStatus, status::Fatal);
  run.expectMachineAsBefore();
}

// What cannot be undone is named: a replaced file that is locked when the run is taken back.
TEST(Rollback, WhatCannotBeUndoneIsNamed) {
  MemoryMachine machine;
  JournalingMachine journaled(machine);
  machine.memoryFiles().writeFile("C:\\App\\a.txt", "before");
  ChangeJournal& journal = journaled.journal();
  journal.start("C:\\WINDOWS\\Vandrel Rollback");
  auto file = journaled.files().create("C:\\App\\a.txt");
  file->write("after", 5);
  file.reset();
  journaled.files().create("C:\\App\\new.txt");
  machine.memoryFiles().denyAccess("C:\\App\\a.txt");
  std::FILE* err = std::tmpfile();
  test::TempDir dir;
  const std::string logPath = (dir.path() / "actions.jsonl").string();
  std::optional<ui::ActionLog> log(std::in_place, ui::Program::Setup, logPath);
  EXPECT_FALSE(undoInstallation(journal, *log, err));
  log.reset();
  std::string logged = test::readFile(logPath);
  EXPECT_NE(logged.find("\"action\":\"rollback\",\"not-undone\":\"C:\\\\App\\\\a.txt could not be restored\""),
            std::string::npos) << logged;
  EXPECT_NE(logged.find("\"result\":\"the changes made by this installation could not all be undone\""),
            std::string::npos) << logged;
  std::rewind(err);
  char text[512] = {};
  std::size_t got = std::fread(text, 1, sizeof text - 1, err);
  std::fclose(err);
  EXPECT_EQ(std::string(text, got),
            "tamsin32: the changes made by this installation could not all be undone:\n"
            "tamsin32: not undone: C:\\App\\a.txt could not be restored\n");
  EXPECT_FALSE(machine.memoryFiles().exists("C:\\App\\new.txt"));
  EXPECT_FALSE(machine.memoryFiles().exists("C:\\WINDOWS\\Vandrel Rollback"));
}

TEST(Rollback, AnInstallationThatChangedNothingSaysNothing) {
  MemoryMachine machine;
  JournalingMachine journaled(machine);
  journaled.journal().start("C:\\WINDOWS\\Vandrel Rollback");
  std::FILE* err = std::tmpfile();
  ui::ActionLog log;
  EXPECT_TRUE(undoInstallation(journaled.journal(), log, err));
  EXPECT_EQ(std::ftell(err), 0);
  std::fclose(err);
}

}  // namespace
}  // namespace vandrel::setup::rollback

namespace vandrel::setup::rollback {
namespace {

// Changes of an installation made through a journaling machine that is then dropped without
// finishing, as a killed run leaves them; the last journal line cut in the middle.
void changeAndDie(MemoryMachine& machine) {
  JournalingMachine killed(machine);
  killed.journal().start("C:\\WINDOWS\\Vandrel Rollback");
  platform::FileSystem& files = killed.files();
  files.createDirectory("C:\\Fresh");
  auto made = files.create("C:\\Fresh\\new.txt");
  made->write("new", 3);
  made.reset();
  auto replaced = files.create("C:\\App\\Bin\\shared.dll");
  replaced->write("new library", 11);
  replaced.reset();
  platform::HKey key = 0;
  killed.registry().createKey(kLm, kSharedKey, key);
  killed.registry().setDword(key, "C:\\App\\Bin\\shared.dll", 3);
  killed.registry().closeKey(key);
  killed.registry().createKey(kLm, "Software\\Orlwen\\Tool", key);
  killed.registry().setString(key, "Path", "C:\\Fresh");
  killed.registry().closeKey(key);
  killed.profile().writeProfileString("Desktop", std::string("Wallpaper"), std::string("new.bmp"));
  auto journal = machine.files().open("C:\\WINDOWS\\Vandrel Rollback\\journal.txt", platform::OpenMode::ReadWrite);
  ASSERT_TRUE(journal);
  journal->seek(journal->size());
  journal->write("0\tC:\\Never", 10);
}

TEST(Rollback, AnInstallationKilledMidwayIsTakenBackByTheNextRun) {
  Installation run;
  std::vector<std::string> before = machineState(run.machine);
  changeAndDie(run.machine);
  ASSERT_NE(machineState(run.machine), before);

  JournalingMachine next(run.machine);
  std::FILE* err = std::tmpfile();
  ui::ActionLog log;
  EXPECT_TRUE(undoInterruptedInstallation(next.journal(), "C:\\WINDOWS\\Vandrel Rollback", log, err));
  std::rewind(err);
  char text[256] = {};
  std::size_t got = std::fread(text, 1, sizeof text - 1, err);
  std::fclose(err);
  EXPECT_EQ(std::string(text, got),
            "tamsin32: the changes made by an installation that was stopped before its end were undone\n");
  EXPECT_EQ(machineState(run.machine), before);
  EXPECT_FALSE(run.machine.memoryRegistry().hasKey(kLm, "Software\\Orlwen"));
  EXPECT_FALSE(run.machine.memoryFiles().exists("C:\\WINDOWS\\Vandrel Rollback"));
}

// The next installation through the driver: the killed one is taken back before it begins,
// then it installs as on a machine the killed one never touched.
TEST(Rollback, TheDriverTakesAKilledInstallationBackBeforeItBegins) {
  Installation run;
  std::vector<std::string> untouched = machineState(run.machine);
  changeAndDie(run.machine);
  run.ui.cancelOn = "large.dat";
  SetupApp app(run.journaled, run.ui, setupStrings());
  DriverSteps steps;
  steps.journal = &run.journaled.journal();
  steps.holdsInstallationLock = true;
  run.outcome = runInstallation(app, "C:\\Pkg\\", steps);
  EXPECT_EQ(run.outcome.closingStatus, status::Fatal);
  EXPECT_EQ(machineState(run.machine), untouched);
}

// A copy that has just seen its destination missing spares the journal a second look; a name
// seen missing in one folder and created after the current folder changed is another file,
// which the journal still looks at, saves and brings back.
TEST(Rollback, AFileSeenMissingIsNotedAsNewOnlyWhereItWasSeen) {
  MemoryMachine machine;
  test::MemoryFileSystem& plain = machine.memoryFiles();
  plain.createDirectory("C:\\One");
  plain.writeFile("C:\\Two\\a.txt", "kept");
  std::vector<std::string> before = machineState(machine);
  JournalingMachine run(machine);
  run.journal().start("C:\\WINDOWS\\Vandrel Rollback");
  platform::FileSystem& files = run.files();
  ASSERT_TRUE(files.setCurrentDirectory("C:\\One"));
  EXPECT_FALSE(files.status("a.txt"));
  ASSERT_TRUE(files.setCurrentDirectory("C:\\Two"));
  auto replaced = files.create("a.txt");
  ASSERT_TRUE(replaced);
  replaced->write("new", 3);
  replaced.reset();
  EXPECT_FALSE(files.status("C:\\One\\b.txt"));
  auto made = files.create("C:\\One\\b.txt");
  ASSERT_TRUE(made);
  made.reset();
  ASSERT_TRUE(files.setCurrentDirectory("C:\\"));
  ui::ActionLog log;
  EXPECT_TRUE(undoInstallation(run.journal(), log, nullptr));
  EXPECT_EQ(plain.readFile("C:\\Two\\a.txt"), std::optional<std::string>("kept"));
  EXPECT_FALSE(plain.exists("C:\\One\\b.txt"));
  EXPECT_EQ(machineState(machine), before);
}

TEST(Rollback, WithoutAJournalNothingIsUndone) {
  MemoryMachine machine;
  JournalingMachine next(machine);
  ui::ActionLog log;
  EXPECT_TRUE(undoInterruptedInstallation(next.journal(), "C:\\WINDOWS\\Vandrel Rollback", log, nullptr));
}

}  // namespace
}  // namespace vandrel::setup::rollback
