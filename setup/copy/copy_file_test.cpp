// Copying one file: replacement questions over real version resources, backups, kept files,
// expansion failures, and the action log's line for each copy.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <regex>
#include <sstream>
#include <thread>

#include "platform/formats/szdd.h"
#include "setup/copy/copy_file.h"
#include "setup/install_phase.h"
#include "setup/testing/copy_fixture.h"
#include "setup/common/copy_progress.h"
#include "setup/common/setup_texts.h"
#include "tests/support/pe_builder.h"
#include "tests/support/temp_dir.h"
#include "tests/support/fake_interaction.h"

namespace vandrel::setup {
namespace {

using testing::CopyFixture;

constexpr std::uint16_t kEnglish = 0x0409, kFrench = 0x040c, kSwissFrench = 0x100c;

platform::Bytes pe(const std::string& fileVersion, const std::string& productVersion,
                   std::uint16_t language, const std::string& tag = "") {
  return test::buildPeWithVersion({1, 0, 0, 0}, {1, 0, 0, 0}, language, 0x04b0,
                                  {{"FileVersion", fileVersion},
                                   {"ProductVersion", productVersion},
                                   {"Comments", tag}},
                                  false);
}

class CopyFileTest : public CopyFixture {
 protected:
  CopyRequest request(const std::string& name, const std::string& force = "0",
                      const std::string& expand = "0") {
    CopyRequest r;
    r.sourceFolder = "C:\\Pkg\\Disk1\\";
    r.sourceName = name;
    r.destinationFolder = "C:\\App\\";
    r.targetName = name;
    r.force = force;
    r.expand = expand;
    return r;
  }
  // Source and destination with the given contents; the destination one day newer, so that
  // only the version findings can explain a question or its absence.
  void prepare(const std::string& name, const platform::Bytes& copied,
               const platform::Bytes& existing) {
    put("C:\\Pkg\\Disk1\\" + name, copied);
    put("C:\\App\\" + name, existing);
    files().setFileTimes("C:\\Pkg\\Disk1\\" + name, day(100), std::nullopt, day(100));
    files().setFileTimes("C:\\App\\" + name, day(101), std::nullopt, day(101));
  }
  static constexpr platform::FileTime kDay = 864000000000ull;
  // A day number as a date stamp, counted from 2012 (the machine keeps host file times).
  static constexpr platform::FileTime day(platform::FileTime n) { return 130000000000000000ull + n * kDay; }
};

TEST_F(CopyFileTest, VersionDecisionTable) {
  const std::string note = copyText(app().strings(), sid::LanguageNote);
  const std::string keep = copyText(app().strings(), sid::KeepRecommended);
  const std::string higher = copyText(app().strings(), sid::ExistingHigher, "lib.dll");
  const std::string older = copyText(app().strings(), sid::ProductOlder, "lib.dll");
  const std::string languageOnly = copyText(app().strings(), sid::LanguageOnly, "lib.dll");
  struct Case {
    const char* name;
    platform::Bytes copied, existing;
    std::string question;  // empty: overwritten without a question
  };
  const std::vector<Case> cases = {
      {"existing higher (2.0 sorts after 10.0)", pe("10.0", "1", kEnglish), pe("2.0", "1", kEnglish),
       higher + keep},
      {"existing higher, both language findings", pe("1.0", "1", kFrench), pe("1.1", "1", kEnglish),
       higher + note + keep},
      {"existing higher, product older too", pe("1.0", "1", kEnglish), pe("1.1", "2", kEnglish),
       higher + keep},
      {"product older", pe("1.0", "1.0", kEnglish), pe("1.0", "2.0", kEnglish), older + keep},
      {"product older, both language findings", pe("1.0", "1.0", kFrench), pe("1.0", "2.0", kEnglish),
       older + note + keep},
      {"language only", pe("1.0", "1", kFrench), pe("1.0", "1", kEnglish), languageOnly},
      {"copied higher, both language findings", pe("1.1", "1", kFrench), pe("1.0", "1", kEnglish),
       languageOnly},
      {"sublanguages share the primary language", pe("1.0", "1", kSwissFrench),
       pe("1.0", "1", kFrench), ""},
      {"foreign language alone", pe("1.0", "1", kFrench), pe("1.0", "1", kFrench), ""},
      {"languages differ alone", pe("1.0", "1", kEnglish), pe("1.0", "1", kFrench), ""},
      {"copied higher", pe("1.10", "1", kEnglish), pe("1.1", "1", kEnglish), ""},
      {"case is ignored", pe("1.0a", "1", kEnglish), pe("1.0A", "1", kEnglish), ""},
  };
  for (const Case& c : cases) {
    for (ui::Answer answer : {ui::Answer::No, ui::Answer::Yes}) {
      SCOPED_TRACE(std::string(c.name) + (answer == ui::Answer::Yes ? ", Yes" : ", No"));
      ui_.messages.clear();
      ui_.answers = {answer};
      prepare("lib.dll", c.copied, c.existing);
      long long result = copyOneFile(app(), request("lib.dll"));
      EXPECT_EQ(result, static_cast<long long>(c.copied.size()));
      if (c.question.empty()) {
        EXPECT_TRUE(ui_.messages.empty());
      } else {
        ASSERT_EQ(ui_.messages.size(), 1u);
        EXPECT_EQ(ui_.messages[0].text, c.question);
        EXPECT_EQ(ui_.messages[0].buttons, ui::Buttons::YesNo);
        EXPECT_EQ(ui_.messages[0].icon, ui::Icon::Question);
      }
      bool overwritten = c.question.empty() || answer == ui::Answer::Yes;
      const platform::Bytes& expected = overwritten ? c.copied : c.existing;
      EXPECT_EQ(get("C:\\App\\lib.dll"), std::string(expected.begin(), expected.end()));
      EXPECT_EQ(files().status("C:\\App\\lib.dll")->lastWriteTime,
                overwritten ? day(100) : day(101));
      if (c.question.empty()) break;
    }
  }
}

TEST_F(CopyFileTest, DateStampRuleWithoutUsableVersions) {
  platform::Bytes plain{'t', 'e', 'x', 't'};
  platform::Bytes damaged = test::buildPeWithResource(platform::Bytes(40, 0xff), kEnglish, false);
  platform::Bytes truncatedPe = pe("1.0", "1", kEnglish);
  truncatedPe.resize(truncatedPe.size() / 2);
  const std::string question = copyText(app().strings(), sid::NewerDateStamp, "f.dll");
  struct Case {
    const char* name;
    platform::Bytes copied, existing;
  };
  for (const Case& c : {Case{"plain files", plain, plain},
                        Case{"damaged resource section", damaged, pe("9.0", "9", kEnglish)},
                        Case{"truncated image", truncatedPe, pe("9.0", "9", kEnglish)},
                        Case{"only the copied file has versions", pe("1.0", "1", kEnglish), plain}}) {
    SCOPED_TRACE(c.name);
    // Existing file newer by modification time, by creation time only, then older.
    struct Stamp {
      platform::FileTime creation, write;
      bool asks;
    };
    for (Stamp s : {Stamp{5, 20, true}, Stamp{20, 5, true}, Stamp{5, 5, false}}) {
      ui_.messages.clear();
      ui_.answers = {ui::Answer::No};
      put("C:\\Pkg\\Disk1\\f.dll", c.copied);
      put("C:\\App\\f.dll", c.existing);
      files().setFileTimes("C:\\Pkg\\Disk1\\f.dll", day(10), std::nullopt, day(10));
      files().setFileTimes("C:\\App\\f.dll", day(s.creation), std::nullopt, day(s.write));
      copyOneFile(app(), request("f.dll"));
      EXPECT_EQ(ui_.texts(),
                s.asks ? std::vector<std::string>{question} : std::vector<std::string>{});
    }
  }
}

TEST_F(CopyFileTest, EachCopyIsLoggedWithItsDecisionAndRule) {
  test::TempDir dir;
  ui::ActionLog log(ui::Program::Setup, (dir / "actions.jsonl").string());
  SetupDialogs dialogs = app().dialogs();
  ReplacementJudge judge(machine().versionInfo(), kEnglish, dialogs);
  CopyTally tally;
  FileCopier copier(files(), machine().lz(), judge, CopyFolders{"C:\\WINDOWS\\", "C:\\App", false}, tally, log);
  put("C:\\Pkg\\Disk1\\new.txt", "new");
  prepare("kept.dll", pe("1.0", "1", kEnglish), pe("2.0", "1", kEnglish));
  prepare("yes.dll", pe("1.0", "1", kEnglish), pe("2.0", "1", kEnglish));
  prepare("forced.dll", pe("1.0", "1", kEnglish), pe("2.0", "1", kEnglish));
  ui_.answers = {ui::Answer::No, ui::Answer::Yes};
  struct Case {
    CopyRequest request;
    const char* decision;
    const char* rule;  // the start of the rule
  };
  CopyRequest inPlace = request("new.txt");
  inPlace.destinationFolder = "C:\\Pkg\\Disk1\\";
  const Case cases[] = {
      {request("new.txt"), "copied", "new file"},
      {request("kept.dll"), "kept", "asked \\\""},
      {request("yes.dll"), "replaced", "asked \\\""},
      {request("forced.dll", "1"), "replaced", "forced: replaced without comparing"},
      {request("absent.txt"), "missing", "the source file is not in the package folder"},
      {inPlace, "same-file", "the target is the source itself"},
  };
  for (const Case& c : cases) copier.copy(c.request);
  std::vector<std::string> lines;
  std::istringstream in(test::readFile(dir / "actions.jsonl"));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), std::size(cases));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Case& c = cases[i];
    std::string expected = "\"target\":\"" + c.request.destinationFolder + c.request.targetName + "\"";
    expected = std::regex_replace(expected, std::regex(R"(\\)"), R"(\\)");
    EXPECT_NE(lines[i].find(expected), std::string::npos) << lines[i];
    EXPECT_NE(lines[i].find(std::string("\"decision\":\"") + c.decision + "\",\"rule\":\"" + c.rule),
              std::string::npos) << lines[i];
  }
  EXPECT_NE(lines[1].find("the user answered No"), std::string::npos) << lines[1];
  EXPECT_NE(lines[2].find("the user answered Yes"), std::string::npos) << lines[2];
}

// A source the caller opened where it looked for it is the file copied, counted and stamped,
// even when another file has taken its name since; one that is there but cannot be read
// gives a copy cut short, not a missing file, and leaves no new file behind.
TEST_F(CopyFileTest, AHandedSourceIsTheFileCopied) {
  CopyTally tally;
  InstallCopier copier(app(), tally);
  put("C:\\Pkg\\Disk1\\a.txt", "first");
  files().setFileTimes("C:\\Pkg\\Disk1\\a.txt", day(5), std::nullopt, day(5));
  auto opened = files().openForReading("C:\\Pkg\\Disk1\\a.txt");
  ASSERT_TRUE(opened);
  put("C:\\Pkg\\Disk1\\b.txt", "the second, longer");
  ASSERT_TRUE(files().replaceFile("C:\\Pkg\\Disk1\\b.txt", "C:\\Pkg\\Disk1\\a.txt"));
  EXPECT_EQ(copier.copy(request("a.txt"), std::move(opened)), 5);
  EXPECT_EQ(get("C:\\App\\a.txt"), "first");
  EXPECT_EQ(files().status("C:\\App\\a.txt")->lastWriteTime, day(5));
  EXPECT_EQ(tally.running, 5);

  put("C:\\Pkg\\Disk1\\locked.txt", "locked");
  auto status = files().status("C:\\Pkg\\Disk1\\locked.txt");
  ASSERT_TRUE(status);
  EXPECT_EQ(copier.copy(request("locked.txt"), platform::FileSystem::OpenedFile{nullptr, *status}),
            0);
  EXPECT_FALSE(exists("C:\\App\\locked.txt"));
}

// A source that grew after it was opened is read to its new end, and the copy, longer than
// the size the open told, is reported short and leaves no file: it is not cut at the size
// seen and passed off as the package's file.
TEST_F(CopyFileTest, ASourceThatGrewSinceItWasOpenedIsNotCutAtTheSizeSeen) {
  CopyTally tally;
  InstallCopier copier(app(), tally);
  put("C:\\Pkg\\Disk1\\grows.txt", "first");
  auto opened = files().openForReading("C:\\Pkg\\Disk1\\grows.txt");
  ASSERT_TRUE(opened);
  ASSERT_EQ(opened->status.size, 5u);
  {
    auto appending = files().open("C:\\Pkg\\Disk1\\grows.txt", platform::OpenMode::Write);
    ASSERT_TRUE(appending && appending->seek(5));
    ASSERT_EQ(appending->write(" and more", 9), 9);
  }
  EXPECT_EQ(copier.copy(request("grows.txt"), std::move(opened)), 14);
  EXPECT_FALSE(exists("C:\\App\\grows.txt"));
  EXPECT_FALSE(copier.lastCopied());
}

// A copy takes the source's creation and last write times and normal attributes, whether it
// is new or replaces a file with records of its own, and whether it is copied or expanded.
TEST_F(CopyFileTest, ACopyTakesTheSourcesStampsAndNormalAttributes) {
  CopyTally tally;
  InstallCopier copier(app(), tally);
  for (const std::string expand : {"0", "1"}) {
    const std::string fresh = "new" + expand + ".txt", replaced = "old" + expand + ".txt";
    for (const std::string& name : {fresh, replaced}) {
      put("C:\\Pkg\\Disk1\\" + name, "package's " + name);
      ASSERT_TRUE(files().setFileTimes("C:\\Pkg\\Disk1\\" + name, day(3), std::nullopt, day(4)));
      ASSERT_TRUE(files().setAttributes("C:\\Pkg\\Disk1\\" + name, platform::attr::ReadOnly));
    }
    put("C:\\App\\" + replaced, "an older file");
    ASSERT_TRUE(files().setFileTimes("C:\\App\\" + replaced, day(1), std::nullopt, day(2)));
    ASSERT_TRUE(files().setAttributes("C:\\App\\" + replaced,
                                      platform::attr::Hidden | platform::attr::System));
    for (const std::string& name : {fresh, replaced}) {
      const long long size = static_cast<long long>(("package's " + name).size());
      EXPECT_EQ(copier.copy(request(name, "1", expand)), size) << name;
      EXPECT_EQ(get("C:\\App\\" + name), "package's " + name);
      auto st = files().status("C:\\App\\" + name);
      ASSERT_TRUE(st) << name;
      EXPECT_EQ(st->creationTime, day(3)) << name;
      EXPECT_EQ(st->lastWriteTime, day(4)) << name;
      EXPECT_EQ(st->attributes, platform::attr::Normal) << name;
    }
  }
}

TEST_F(CopyFileTest, ForcedCopyNeverAsksAndBacksUpFirst) {
  app().state().backup = true;
  prepare("lib.dll", pe("1.0", "1", kEnglish, "new"), pe("9.0", "9", kEnglish, "old"));
  auto old = get("C:\\App\\lib.dll");
  long long result = copyOneFile(app(), request("lib.dll", "1"));
  EXPECT_TRUE(ui_.messages.empty());
  EXPECT_EQ(result, static_cast<long long>(files().status("C:\\Pkg\\Disk1\\lib.dll")->size));
  EXPECT_EQ(get("C:\\App\\Backup\\lib.dll"), old);
  EXPECT_EQ(files().status("C:\\App\\Backup\\lib.dll")->lastWriteTime, day(101));
  EXPECT_EQ(get("C:\\App\\lib.dll"), get("C:\\Pkg\\Disk1\\lib.dll"));
}

TEST_F(CopyFileTest, KeptFilesAreNeverTouchedNorBackedUp) {
  app().state().backup = true;
  CopyTally tally{0, 100};
  InstallCopier copier(app(), tally);
  prepare("lib.dll", pe("1.0", "1", kEnglish), pe("2.0", "1", kEnglish));
  files().setAttributes("C:\\App\\lib.dll", platform::attr::Hidden);
  auto before = files().status("C:\\App\\lib.dll");
  ui_.answers = {ui::Answer::No};
  long long result = copier.copy(request("lib.dll"));
  EXPECT_EQ(result, static_cast<long long>(files().status("C:\\Pkg\\Disk1\\lib.dll")->size));
  EXPECT_EQ(tally.running, result) << "the kept file counts as done";
  auto after = files().status("C:\\App\\lib.dll");
  EXPECT_EQ(after->attributes, before->attributes);
  EXPECT_EQ(after->lastWriteTime, before->lastWriteTime);
  EXPECT_FALSE(exists("C:\\App\\Backup\\lib.dll"));
}

TEST_F(CopyFileTest, BackupsKeepEveryReplacedFileRecoverable) {
  app().state().backup = true;
  CopyTally tally;
  InstallCopier copier(app(), tally);
  // A compressed file installed as it is: its backup is the same bytes, not their expansion.
  platform::Bytes packed = platform::szdd::compress(platform::Bytes(3000, 'z'));
  put("C:\\App\\tool.ex_", packed);
  put("C:\\Pkg\\Disk1\\tool.ex_", "replacement");
  EXPECT_EQ(copier.copy(request("tool.ex_", "1")), 11);
  EXPECT_EQ(get("C:\\App\\Backup\\tool.ex_"), std::string(packed.begin(), packed.end()));

  // The same destination replaced twice in one run: the backup still holds the original.
  put("C:\\App\\readme.txt", "original");
  put("C:\\Pkg\\Disk1\\readme.txt", "first");
  copier.copy(request("readme.txt", "1"));
  put("C:\\Pkg\\Disk1\\readme.txt", "second");
  copier.copy(request("readme.txt", "1"));
  EXPECT_EQ(get("C:\\App\\readme.txt"), "second");
  EXPECT_EQ(get("C:\\App\\Backup\\readme.txt"), "original");

  // Two folders with a file of the same name: neither backup overwrites the other.
  files().createDirectory("C:\\App\\Sub");
  put("C:\\App\\Sub\\readme.txt", "sub original");
  CopyRequest sub = request("readme.txt", "1");
  sub.destinationFolder = "C:\\App\\Sub\\";
  copier.copy(sub);
  EXPECT_EQ(get("C:\\App\\Sub\\readme.txt"), "second");
  EXPECT_EQ(get("C:\\App\\Backup\\readme.txt"), "original");
  EXPECT_EQ(get("C:\\App\\Backup\\readme.txt.1"), "sub original");
}

TEST_F(CopyFileTest, NoReplacementWhenTheBackupCannotBeMade) {
  app().state().backup = true;
  put("C:\\App\\Backup", "a file where the backup folder belongs");
  put("C:\\App\\data.txt", "precious");
  put("C:\\Pkg\\Disk1\\data.txt", "new data");
  EXPECT_EQ(copyOneFile(app(), request("data.txt", "1")), 0);
  EXPECT_EQ(get("C:\\App\\data.txt"), "precious");
}

TEST_F(CopyFileTest, DamagedCompressedFilesAreReportedShort) {
  platform::Bytes packed = platform::szdd::compress(platform::Bytes(20000, 'q'));
  platform::Bytes truncated(packed.begin(), packed.begin() + packed.size() / 2);
  platform::Bytes headerOnly(packed.begin(), packed.begin() + 14);
  for (const platform::Bytes& stored : {truncated, headerOnly}) {
    put("C:\\Pkg\\Disk1\\data.da_", stored);
    long long result = copyOneFile(app(), request("data.da_", "1", "1"));
    EXPECT_NE(result, static_cast<long long>(stored.size()));
    EXPECT_TRUE(files().find("C:\\WINDOWS\\KVB*.TMP").empty());
    EXPECT_FALSE(exists("C:\\App\\data.da_")) << "no half-expanded file is left";
  }
}

TEST_F(CopyFileTest, ExpansionNeverTouchesAnExistingTemporaryName) {
  platform::Bytes original(5000, 'e');
  platform::Bytes packed = platform::szdd::compress(original);
  put("C:\\Pkg\\Disk1\\data.da_", packed);
  // The name made from the stored file's size belongs to another program, and the next
  // number's name to a folder: the expansion goes through the first free name after them.
  char taken[32], folder[32];
  std::snprintf(taken, sizeof taken, "C:\\WINDOWS\\KVB%04X.TMP", unsigned(packed.size()) & 0xFFFF);
  std::snprintf(folder, sizeof folder, "C:\\WINDOWS\\KVB%04X.TMP",
                unsigned(packed.size() + 1) & 0xFFFF);
  put(taken, "another program's file");
  ASSERT_TRUE(files().createDirectory(folder));
  EXPECT_EQ(copyOneFile(app(), request("data.da_", "1", "1")),
            static_cast<long long>(packed.size()));
  EXPECT_EQ(get("C:\\App\\data.da_"), std::string(original.begin(), original.end()));
  EXPECT_EQ(get(taken), "another program's file");
  EXPECT_TRUE(files().status(folder) && files().status(folder)->isDirectory());
  EXPECT_EQ(files().find("C:\\WINDOWS\\KVB*.TMP").size(), 2u) << "the temporary file is gone";
}

TEST_F(CopyFileTest, MissingSourceAndSafeNames) {
  EXPECT_EQ(copyOneFile(app(), request("absent.txt")), kSourceMissing);
  struct Case {
    const char* name;
    bool safe;
  };
  for (Case c : {Case{"a.txt", true}, Case{"sub\\a.txt", true}, Case{"..\\a.txt", false},
                 Case{"sub\\..\\..\\a.txt", false}, Case{"CON", false}, Case{"con.txt", false},
                 Case{"Com1", false}, Case{"LPT9.log", false}, Case{"com10", true},
                 Case{"NUL ", false}, Case{"D:a.txt", false}, Case{"", false}, Case{"dir\\", false},
                 Case{"...", true}, Case{"a..b", true}}) {
    EXPECT_EQ(isSafeFileName(c.name), c.safe) << c.name;
  }
}

TEST_F(CopyFileTest, ProgressFollowsTheRunningTotal) {
  SetupDialogs dialogs = app().dialogs();
  CopyProgress progress(dialogs);
  CopyTally tally{0, 40000};
  InstallCopier copier(app(), tally);
  put("C:\\Pkg\\Disk1\\big.bin", std::string(20000, 'b'));
  CopyRequest r = request("big.bin", "1");
  r.progress = &progress;
  EXPECT_EQ(copier.copy(r), 20000);
  // 4096-byte blocks of 40000: 10, 20, 30, 40, 50 percent, each shown once.
  EXPECT_EQ(ui_.percents, (std::vector<int>{0, 10, 20, 30, 40, 50}));
}

// A large installation copies in pieces of one percent of its total, not in small blocks:
// the bar still shows every percentage on the way, in order.
TEST_F(CopyFileTest, LargeCopiesStillShowEveryPercentage) {
  SetupDialogs dialogs = app().dialogs();
  CopyProgress progress(dialogs);
  CopyTally tally{0, 1000003};
  InstallCopier copier(app(), tally);
  std::string content(500001, 'b');
  for (std::size_t i = 0; i < content.size(); i += 997) content[i] = char(i);
  put("C:\\Pkg\\Disk1\\big.bin", content);
  CopyRequest r = request("big.bin", "1");
  r.progress = &progress;
  EXPECT_EQ(copier.copy(r), 500001);
  std::vector<int> every;
  for (int p = 0; p <= 49; ++p) every.push_back(p);
  EXPECT_EQ(ui_.percents, every);
  auto copied = files().open("C:\\App\\big.bin", platform::OpenMode::Read);
  ASSERT_TRUE(copied);
  std::string back(content.size(), '\0');
  EXPECT_EQ(copied->read(back.data(), back.size()), std::int64_t(content.size()));
  EXPECT_EQ(back, content);
}

// The installation's copy of its script is written whole: a copy killed at any moment leaves
// the script that was there or the new one, never a cut one (an earlier installation's
// uninstaller reads it).
TEST_F(CopyFileTest, AWholeCopyKilledAtAnyMomentLeavesTheOldFileOrTheNewOne) {
  const std::string first = "[Settings]\r\nAppName=First\r\n" + std::string(4 << 20, 'a');
  const std::string second = "[Settings]\r\nAppName=Second\r\n" + std::string(4 << 20, 'b');
  put("C:\\First\\Script.vrx", first);
  put("C:\\Second\\Script.vrx", second);
  put("C:\\App\\Script.vrx", first);
  std::mt19937 random(7);
  for (int round = 0; round < 12; ++round) {
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // A machine and a setup of the child's own: the parent's store connections stay its own.
      std::unique_ptr<platform::Machine> own = platform::emulated::openMachine(machineRoot(), {});
      test::FakeInteraction ui;
      SetupApp setup(*own, ui, setupStrings());
      setup.state() = app().state();
      for (int i = 0;; ++i) {
        CopyRequest r = request("Script.vrx", "1");
        r.sourceFolder = i % 2 ? "C:\\First\\" : "C:\\Second\\";
        r.whole = true;
        copyOneFile(setup, r);
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5 + random() % 60));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    std::string text = get("C:\\App\\Script.vrx").value_or("");
    EXPECT_TRUE(text == first || text == second) << "round " << round << ": " << text.size() << " bytes";
  }
}

}  // namespace
}  // namespace vandrel::setup
