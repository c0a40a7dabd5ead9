// Tests of the file steps: shared-file release, shared files, standard files, backups.
#include <gtest/gtest.h>

#include "platform/emulated/registry/sqlite_registry.h"
#include "uninstall/removal_steps.h"
#include "uninstall/testing/uninstall_fixture.h"

namespace vandrel::uninstall {
namespace {

using testing::UninstallFixture;
using ui::Answer;

TEST(ReleaseSharedFile, FollowsTheUsageCount) {
  struct Case {
    const char* name;
    std::optional<std::uint32_t> before;  // none: no value
    std::optional<Answer> answer;         // the question's answer, none: no question expected
    bool mayDelete;
    std::optional<std::uint32_t> after;   // none: the value is gone
  };
  const Case cases[] = {
      {"count 3 goes down", 3, std::nullopt, false, 2},
      {"count 2 goes down", 2, std::nullopt, false, 1},
      {"count 1 asks, yes", 1, Answer::Yes, true, std::nullopt},
      {"count 1 asks, no", 1, Answer::No, false, 0},
      {"count 0 asks, yes to all", 0, Answer::YesToAll, true, std::nullopt},
      {"no count deletes silently", std::nullopt, std::nullopt, true, std::nullopt},
      {"huge count is unsigned", 0x80000001u, std::nullopt, false, 0x80000000u},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UninstallFixture f;
    Removal& app = f.prepared();
    const std::string path = "C:\\WINDOWS\\SYSTEM\\shared.dll";
    if (c.before) f.setCount(path, *c.before);
    if (c.answer) f.ui.answers.push_back(*c.answer);
    EXPECT_EQ(ReleaseSharedFile(app, path), c.mayDelete);
    EXPECT_EQ(f.count(path), c.after);
    ASSERT_EQ(f.ui.questions().size(), c.answer ? 1u : 0u);
    if (c.answer) {
      const ui::Message& asked = f.ui.messages.back();
      EXPECT_EQ(asked.buttons, ui::Buttons::YesYesToAllNo);
      EXPECT_EQ(asked.caption, "Dallow v3.0");
      EXPECT_EQ(asked.text,
                "The shared file C:\\WINDOWS\\SYSTEM\\shared.dll has a zero usage-count and "
                "doesn't seems to be used anymore. Do you wish to erase it ?");
    }
    EXPECT_EQ(app.tally.yesToAll, c.answer == Answer::YesToAll);
  }
}

TEST(ReleaseSharedFile, YesToAllAnswersLaterQuestionsAndAMissingKeyAllowsDeletion) {
  UninstallFixture f;
  Removal& app = f.prepared();
  f.setCount("C:\\A\\one.dll", 1);
  app.tally.yesToAll = true;
  EXPECT_TRUE(ReleaseSharedFile(app, "C:\\A\\one.dll"));
  EXPECT_TRUE(f.ui.messages.empty());
  EXPECT_FALSE(f.count("C:\\A\\one.dll"));

  ASSERT_EQ(f.machine().registry().deleteKey(platform::hkey::LocalMachine, testing::kSharedDlls), 0);
  EXPECT_TRUE(ReleaseSharedFile(app, "C:\\A\\two.dll"));
}

// The counts key stays open for the whole removal: when another program deletes it and makes
// it again meanwhile, the new key's counts are the ones followed, and the key is closed with
// the removal.
TEST(ReleaseSharedFile, FollowsACountsKeyMadeAgainAndClosesItWithTheRemoval) {
  UninstallFixture f;
  auto* store = dynamic_cast<platform::emulated::SqliteRegistry*>(&f.machine().registry());
  ASSERT_NE(store, nullptr);
  {
    Removal& app = f.prepared();
    f.setCount("C:\\A\\one.dll", 2);
    EXPECT_FALSE(ReleaseSharedFile(app, "C:\\A\\one.dll"));
    EXPECT_EQ(store->openHandleCount(), 1u);

    ASSERT_EQ(f.machine().registry().deleteKey(platform::hkey::LocalMachine, testing::kSharedDlls), 0);
    f.setCount("C:\\A\\two.dll", 3);
    EXPECT_FALSE(ReleaseSharedFile(app, "C:\\A\\two.dll"));
    EXPECT_EQ(f.count("C:\\A\\two.dll"), 2u);
    EXPECT_TRUE(ReleaseSharedFile(app, "C:\\A\\three.dll"));
  }
  f.endRemoval();
  EXPECT_EQ(store->openHandleCount(), 0u);
}

TEST(RemoveSharedFiles, ReleasesFromTheHighestEntryDown) {
  UninstallFixture f;
  f.script(
      "[SharedFiles]\nnb=4\n0=C:\\WINDOWS\\SYSTEM\\a.dll\n1=C:\\WINDOWS\\SYSTEM\\b.dll\n"
      "2=\n3=C:\\WINDOWS\\SYSTEM\\c.dll\n");
  for (const char* name : {"a", "b", "c"}) {
    std::string path = std::string("C:\\WINDOWS\\SYSTEM\\") + name + ".dll";
    f.put(path);
    f.setCount(path, 1);
  }
  f.setCount("C:\\WINDOWS\\SYSTEM\\b.dll", 3);
  f.ui.answers = {Answer::No, Answer::Yes};
  Removal& app = f.prepared();

  EXPECT_TRUE(RemoveSharedFiles(app));
  std::vector<std::string> asked = f.ui.questions();
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_NE(asked[0].find("c.dll"), std::string::npos);
  EXPECT_NE(asked[1].find("a.dll"), std::string::npos);
  EXPECT_TRUE(f.exists("C:\\WINDOWS\\SYSTEM\\c.dll"));   // No: kept with a count of 0
  EXPECT_EQ(f.count("C:\\WINDOWS\\SYSTEM\\c.dll"), 0u);
  EXPECT_TRUE(f.exists("C:\\WINDOWS\\SYSTEM\\b.dll"));   // still used elsewhere
  EXPECT_EQ(f.count("C:\\WINDOWS\\SYSTEM\\b.dll"), 2u);
  EXPECT_FALSE(f.exists("C:\\WINDOWS\\SYSTEM\\a.dll"));  // Yes
  EXPECT_EQ(app.tally.done, 4);                        // the empty entry counts too
}

TEST(RemoveFiles, DeletesUninstallableFilesFromTheHighestEntryDown) {
  UninstallFixture f;
  f.script(
      "[Directories]\nnbDir=5\n0=Bin,0,0,\n1=,0,0,\n2=,1,0,\n3=,2,0,\n4=,3,0,\n"
      "[Files]\nnbFiles=5\n"
      "0=Peskin32.ex_,Peskin32.exe,4,1,1000,1,1,1,10,0,0\n"
      "1=a.exe,a.exe,0,1,0,1,0,0,10,0,0\n"
      "2=keep.txt,keep.txt,1,1,0,0,0,0,10,0,0\n"
      "3=b.dll,b.dll,0,1,0,1,0,0,10,0,1\n"
      "4=r.txt,r.txt,1\n");
  for (const char* path : {"C:\\WINDOWS\\Peskin32.exe", "C:\\App\\Bin\\a.exe", "C:\\App\\keep.txt",
                           "C:\\App\\Bin\\b.dll", "C:\\App\\r.txt"}) {
    f.put(path);
  }
  f.setCount("C:\\WINDOWS\\Peskin32.exe", 1);
  f.setCount("C:\\App\\keep.txt", 1);
  f.setCount("C:\\App\\Bin\\b.dll", 1);
  f.setCount("C:\\App\\Bin\\a.exe", 1);
  f.ui.answers = {Answer::Yes, Answer::No, Answer::Yes};
  Removal& app = f.prepared();

  EXPECT_TRUE(RemoveFiles(app));
  // Entries 4 (no count), 3, 1 and 0 in that order; entry 2 has no uninstall flag.
  std::vector<std::string> asked = f.ui.questions();
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_NE(asked[0].find("C:\\App\\Bin\\b.dll"), std::string::npos);
  EXPECT_NE(asked[1].find("C:\\App\\Bin\\a.exe"), std::string::npos);
  EXPECT_NE(asked[2].find("C:\\WINDOWS\\Peskin32.exe"), std::string::npos);
  EXPECT_FALSE(f.exists("C:\\App\\r.txt"));
  EXPECT_FALSE(f.exists("C:\\App\\Bin\\b.dll"));
  EXPECT_TRUE(f.exists("C:\\App\\Bin\\a.exe"));
  EXPECT_TRUE(f.exists("C:\\App\\keep.txt"));
  EXPECT_EQ(f.count("C:\\App\\keep.txt"), 1u);
  // The uninstaller's own entry: its count is processed, the file is never deleted.
  EXPECT_TRUE(f.exists("C:\\WINDOWS\\Peskin32.exe"));
  EXPECT_FALSE(f.count("C:\\WINDOWS\\Peskin32.exe"));
  EXPECT_EQ(app.tally.done, 5);
}

TEST(RemoveFiles, DamagedEntryAsksAndNoStopsAtOnce) {
  for (Answer answer : {Answer::Yes, Answer::No}) {
    SCOPED_TRACE(answer == Answer::Yes ? "yes" : "no");
    UninstallFixture f;
    f.script("[Files]\nnbFiles=4\n0=u,u.exe,0,1,0,0\n1=a,a.txt,0\n2=\n3=c,c.txt,0\n");
    f.put("C:\\App\\a.txt");
    f.put("C:\\App\\c.txt");
    f.put("C:\\App\\Backup\\old.txt");
    f.ui.answers = {answer};
    Removal& app = f.prepared();

    EXPECT_EQ(RemoveFiles(app), answer == Answer::Yes);
    ASSERT_EQ(f.ui.questions().size(), 1u);
    EXPECT_EQ(f.ui.questions()[0],
              "It seems that the script file used by Setup has been corrupted or altered. The "
              "uninstall process may not be complete. Do you still wish to proceed ?");
    EXPECT_FALSE(f.exists("C:\\App\\c.txt"));
    EXPECT_EQ(f.exists("C:\\App\\a.txt"), answer == Answer::No);
    EXPECT_EQ(f.exists("C:\\App\\Backup"), answer == Answer::No);
    EXPECT_EQ(app.tally.done, answer == Answer::Yes ? 4 : 1);
  }
}

TEST(RemoveFiles, MissingEntriesOfAnAbsurdCountAreOneQuestion) {
  UninstallFixture f;
  f.script("[Files]\nnbFiles=2000000000\n0=u,u.exe,0,1,0,0\n1=a,a.txt,0\n2=b,b.txt,0\n");
  f.put("C:\\App\\a.txt");
  f.put("C:\\App\\b.txt");
  Removal& app = f.prepared();

  EXPECT_TRUE(RemoveFiles(app));
  EXPECT_EQ(f.ui.questions().size(), 1u);
  EXPECT_FALSE(f.exists("C:\\App\\a.txt"));
  EXPECT_FALSE(f.exists("C:\\App\\b.txt"));
  EXPECT_EQ(app.tally.done, 2000000000);
}

TEST(SharedFileSteps, YesToAllLastsForBothSteps) {
  UninstallFixture f;
  f.script(
      "[SharedFiles]\nnb=2\n0=C:\\App\\s1.dll\n1=C:\\App\\s2.dll\n"
      "[Files]\nnbFiles=3\n0=x,x.exe,0,1,0,0\n1=f1,f1.dll,0,1,0,1\n2=f2,f2.dll,0,1,0,1\n");
  for (const char* name : {"s1.dll", "s2.dll", "f1.dll", "f2.dll"}) {
    f.put(std::string("C:\\App\\") + name);
    f.setCount(std::string("C:\\App\\") + name, 1);
  }
  f.ui.answers = {Answer::YesToAll};
  Removal& app = f.prepared();

  EXPECT_TRUE(RemoveSharedFiles(app));
  EXPECT_TRUE(RemoveFiles(app));
  EXPECT_EQ(f.ui.questions().size(), 1u);
  for (const char* name : {"s1.dll", "s2.dll", "f1.dll", "f2.dll"}) {
    EXPECT_FALSE(f.exists(std::string("C:\\App\\") + name)) << name;
    EXPECT_FALSE(f.count(std::string("C:\\App\\") + name)) << name;
  }
}

// A shared file that the setup counted once is released once, though it is listed both in
// [SharedFiles] and, with the uninstall flag, in [Files] (under another spelling).
TEST(SharedFileSteps, ASharedFileIsReleasedOncePerRemoval) {
  struct Case {
    std::optional<std::uint32_t> beforeInstall;  // none: no count before the install
    size_t questions;
    bool stays;
  };
  for (Case c : {Case{3, 0, true}, Case{1, 0, true}, Case{std::nullopt, 1, false}}) {
    SCOPED_TRACE(c.beforeInstall.value_or(0));
    UninstallFixture f;
    f.script(
        "[Directories]\nnbDir=4\n0=,0,0,\n1=,1,0,\n2=,2,0,\n3=,3,0,\n"
        "[SharedFiles]\nnb=1\n0=C:\\WINDOWS\\SYSTEM\\common.dll\n"
        "[Files]\nnbFiles=2\n0=x,x.exe,0,1,0,0\n1=common.dl_,COMMON.DLL,2,1,0,1,0,1,10,0,1\n");
    const std::string path = "C:\\WINDOWS\\SYSTEM\\common.dll";
    f.put(path);
    // The setup raised the count once; a file without a count started at 1.
    f.setCount(path, c.beforeInstall.value_or(0) + 1);
    Removal& app = f.prepared();

    EXPECT_TRUE(RemoveSharedFiles(app));
    EXPECT_TRUE(RemoveFiles(app));
    EXPECT_EQ(f.ui.questions().size(), c.questions);
    EXPECT_EQ(f.exists(path), c.stays);
    EXPECT_EQ(f.count(path), c.beforeInstall);
  }
}

TEST(RemoveFiles, BackupFolderGoesWithoutRestoring) {
  UninstallFixture f;
  f.script("[Files]\nnbFiles=1\n0=a,a.txt,0,1,0,0\n");
  f.put("C:\\App\\Backup\\old.dll", "saved");
  f.put("C:\\App\\Backup\\readme.txt");
  Removal& app = f.prepared();
  EXPECT_TRUE(RemoveFiles(app));
  EXPECT_FALSE(f.exists("C:\\App\\Backup"));

  // A subfolder is not descended into: the folder stays with it.
  f.put("C:\\App\\Backup\\old.dll");
  f.put("C:\\App\\Backup\\Deep\\inner.dll");
  EXPECT_TRUE(RemoveFiles(app));
  EXPECT_FALSE(f.exists("C:\\App\\Backup\\old.dll"));
  EXPECT_TRUE(f.exists("C:\\App\\Backup\\Deep\\inner.dll"));
}

TEST(SharedFileSteps, PathsLeadingOutOfTheMachineDeleteNothingThere) {
  UninstallFixture f;
  std::filesystem::path outside = f.root() / "outside.txt";
  vandrel::test::writeFile(outside, "host file");
  std::string hostForm = outside.string();
  for (char& c : hostForm) c = c == '/' ? '\\' : c;
  f.script("[SharedFiles]\nnb=3\n0=C:\\..\\..\\outside.txt\n1=C:\\..\\..\\..\\outside.txt\n2=Z:" +
           hostForm + "\n[Files]\nnbFiles=2\n0=x,x,0,1,0,0\n1=o,..\\..\\..\\outside.txt,0,1,0,1\n");
  Removal& app = f.prepared();
  EXPECT_TRUE(RemoveSharedFiles(app));
  EXPECT_TRUE(RemoveFiles(app));
  EXPECT_TRUE(std::filesystem::exists(outside));
}

}  // namespace
}  // namespace vandrel::uninstall
