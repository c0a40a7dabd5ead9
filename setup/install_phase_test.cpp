// The copy step over a fresh emulated machine: entries, skips, disk folders, questions,
// disk messages, expansion, shared files, cancel and status codes.
#include <gtest/gtest.h>

#include "platform/formats/szdd.h"
#include "setup/install_phase.h"
#include "setup/testing/copy_fixture.h"
#include "setup/common/setup_texts.h"

namespace vandrel::setup {
namespace {

using testing::CopyFixture;

std::string entry(const std::string& source, const std::string& target, int dir, int disk,
                  long long size, const std::string& flags = "1,1,0", int platform = 0,
                  int shared = 0, int desc = 0) {
  // flags: uninstall, force, expand
  return source + "," + target + "," + std::to_string(dir) + "," + std::to_string(disk) + "," +
         std::to_string(desc) + "," + flags + "," + std::to_string(size) + "," +
         std::to_string(platform) + "," + std::to_string(shared);
}

std::string filesSection(const std::vector<std::string>& entries) {
  std::string text = "[Files]\r\nnbFiles=" + std::to_string(entries.size()) + "\r\n";
  for (std::size_t i = 0; i < entries.size(); ++i) {
    text += std::to_string(i) + "=" + entries[i] + "\r\n";
  }
  return text;
}

// Directories: 0 Bin (optional component "Binaries"), 1 Docs, then the four fixed entries
// (2 install folder, 3 drive root, 4 system folder, 5 Windows folder).
const char* kDirectories =
    "[Directories]\r\nnbDir=6\r\n0=Bin,0,1,Binaries\r\n1=Docs,0,0,\r\n2=,0,0,\r\n3=,1,0,\r\n"
    "4=,2,0,\r\n5=,3,0,\r\n";

class InstallFilesTest : public CopyFixture {
 protected:
  void SetUp() override {
    files().createDirectory("C:\\App\\Bin");
    files().createDirectory("C:\\App\\Docs");
    app().state().optionalDirectories = {0};
    app().state().selectedDirectories = {0};
  }
  void install(const std::vector<std::string>& entries, const std::string& more = "") {
    writeScript(std::string(kDirectories) + "[Descriptions]\r\nnbDesc=1\r\n0=Help files\r\n" +
                filesSection(entries) + more);
    phase_ = std::make_unique<InstallPhase>(app());
    status_ = phase_->run();
  }
  std::unique_ptr<InstallPhase> phase_;
  int status_ = -1;
};

TEST_F(InstallFilesTest, CopiesPlainAndExpandedFilesAndSwitchesToTheInstalledScript) {
  std::string text(10000, 'x');
  for (std::size_t i = 0; i < text.size(); ++i) text[i] = char('a' + (i * 7 + i / 13) % 26);
  platform::Bytes packed = platform::szdd::compress(platform::Bytes(text.begin(), text.end()));
  put("C:\\Pkg\\Disk1\\a.txt", text);
  put("C:\\Pkg\\Disk1\\b.tx_", packed);
  put("C:\\Pkg\\Disk1\\c.txt", "plain text, not compressed");
  files().setFileTimes("C:\\Pkg\\Disk1\\a.txt", 130000000000000000ull, std::nullopt,
                       130000000010000000ull);
  files().setAttributes("C:\\Pkg\\Disk1\\a.txt", platform::attr::ReadOnly);

  install({entry("a.txt", "", 1, 1, text.size()),
           entry("b.tx_", "b.txt", 0, 1, packed.size(), "1,1,1"),
           entry("c.txt", "c.txt", 2, 1, 26, "1,1,1")});

  EXPECT_EQ(status_, 0);
  EXPECT_EQ(get("C:\\App\\Docs\\a.txt"), text);
  EXPECT_EQ(get("C:\\App\\Bin\\b.txt"), text) << "compressed file expanded";
  EXPECT_EQ(get("C:\\App\\c.txt"), "plain text, not compressed") << "expand on a plain file";
  auto st = files().status("C:\\App\\Docs\\a.txt");
  ASSERT_TRUE(st);
  EXPECT_EQ(st->creationTime, 130000000000000000ull);
  EXPECT_EQ(st->lastWriteTime, 130000000010000000ull);
  EXPECT_EQ(st->attributes & platform::attr::ReadOnly, 0u) << "attributes cleared";
  EXPECT_TRUE(files().find("C:\\WINDOWS\\KVB*.TMP").empty()) << "temporary files removed";
  EXPECT_FALSE(exists("C:\\WINDOWS\\KVB.LST")) << "the copy phase's record removed";
  EXPECT_EQ(app().script().path(), "C:\\App\\Script.vrx");
  EXPECT_TRUE(exists("C:\\App\\Script.vrx"));
  EXPECT_TRUE(ui_.messages.empty());
  EXPECT_EQ(ui_.percents.back(), 100);
  EXPECT_EQ(ui_.progressEnds, 1);
}

TEST_F(InstallFilesTest, CopyTotalCountsOnlyThisPlatformAndTheSelectedComponents) {
  struct Case {
    std::vector<long> selected;
    int platform;
    long long total;
  };
  const std::vector<std::string> entries = {
      entry("a", "", 1, 1, 100), entry("b", "", 0, 1, 20), entry("c", "", 1, 1, 3, "1,1,0", 2),
      entry("d", "", 1, 1, 4000, "1,1,0", 3)};
  for (const Case& c : {Case{{0}, 3, 4120}, Case{{}, 3, 4100}, Case{{0}, 2, 123},
                        Case{{}, 1, 100}}) {
    app().state().selectedDirectories = c.selected;
    app().state().platform = c.platform;
    writeScript(std::string(kDirectories) + filesSection(entries));
    EXPECT_EQ(computeCopyTotal(app()), c.total) << "platform " << c.platform;
  }
}

TEST_F(InstallFilesTest, SkipsOtherPlatformsAndDeselectedComponents) {
  put("C:\\Pkg\\Disk1\\bin.dll", "bin");
  put("C:\\Pkg\\Disk1\\nt.dll", "nt");
  put("C:\\Pkg\\Disk1\\doc.txt", "doc");
  app().state().selectedDirectories = {};
  install({entry("bin.dll", "", 0, 1, 3), entry("nt.dll", "", 1, 1, 2, "1,1,0", 2),
           entry("doc.txt", "", 1, 1, 3, "1,1,0", 3)});
  EXPECT_EQ(status_, 0);
  EXPECT_FALSE(exists("C:\\App\\Bin\\bin.dll"));
  EXPECT_FALSE(exists("C:\\App\\Docs\\nt.dll"));
  EXPECT_EQ(get("C:\\App\\Docs\\doc.txt"), "doc");
  EXPECT_EQ(phase_->tally().running, 3);
  EXPECT_EQ(phase_->tally().total, 3);
}

TEST_F(InstallFilesTest, FollowsNumberedDiskFoldersThenAsksForTheThird) {
  put("C:\\Pkg\\Disk1\\one.txt", "1");
  put("C:\\Pkg\\Disk2\\two.txt", "22");
  put("C:\\Elsewhere\\three.txt", "333");
  put("C:\\Elsewhere\\four.txt", "4444");
  ui_.folders = {"C:\\Nowhere\\Junk", "C:\\Elsewhere\\Junk"};
  install({entry("one.txt", "", 1, 1, 1), entry("two.txt", "", 1, 2, 2),
           entry("three.txt", "", 1, 3, 3), entry("four.txt", "", 1, 3, 4)});
  EXPECT_EQ(status_, 0);
  EXPECT_EQ(get("C:\\App\\Docs\\two.txt"), "22");
  EXPECT_EQ(get("C:\\App\\Docs\\three.txt"), "333");
  EXPECT_EQ(get("C:\\App\\Docs\\four.txt"), "4444");
  // The first answer shows a folder without the file: the prompt comes back.
  ASSERT_EQ(ui_.folderPrompts.size(), 2u);
  EXPECT_NE(ui_.folderPrompts[0].text.find("locate the files from disk 3"), std::string::npos)
      << ui_.folderPrompts[0].text;
  EXPECT_EQ(phase_->sourceFolder(), "C:\\Elsewhere\\");
}

TEST_F(InstallFilesTest, CancelledFolderPromptEndsAsCancelled) {
  put("C:\\Pkg\\Disk1\\one.txt", "1");
  install({entry("one.txt", "", 1, 1, 1), entry("gone.txt", "", 1, 2, 2),
           entry("never.txt", "", 1, 1, 1)});
  EXPECT_EQ(status_, 1);
  EXPECT_EQ(ui_.folderPrompts.size(), 1u);
  EXPECT_EQ(ui_.progressEnds, 1);
}

TEST_F(InstallFilesTest, MissingFileQuestion) {
  put("C:\\Pkg\\Disk1\\zero.txt", "abc");
  put("C:\\Pkg\\Disk1\\after.txt", "after");
  // No: the installation stops with the missing-file status.
  ui_.answers = {ui::Answer::No};
  install({entry("zero.txt", "", 1, 1, 0), entry("after.txt", "", 1, 1, 5)});
  EXPECT_EQ(status_, 2);
  EXPECT_FALSE(exists("C:\\App\\Docs\\after.txt"));
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text, copyText(app().strings(), sid::MissingFile));
  EXPECT_EQ(ui_.messages[0].buttons, ui::Buttons::YesNo);
  EXPECT_EQ(ui_.messages[0].icon, ui::Icon::Question);
}

TEST_F(InstallFilesTest, MissingFileAcceptedThenShortCopyQuestion) {
  put("C:\\Pkg\\Disk1\\zero.txt", "abc");
  put("C:\\Pkg\\Disk1\\after.txt", "after");
  ui_.answers = {ui::Answer::Yes, ui::Answer::Yes, ui::Answer::Yes, ui::Answer::Yes};
  install({entry("zero.txt", "", 1, 1, 0), entry("", "", 1, 1, 7), entry("after.txt", "", 1, 1, 5)});
  // The entry without a source was not copied: the run ends with errors (status 5).
  EXPECT_EQ(status_, 5);
  EXPECT_EQ(get("C:\\App\\Docs\\zero.txt"), "abc");
  EXPECT_EQ(get("C:\\App\\Docs\\after.txt"), "after");
  // zero.txt: missing, then 3 bytes instead of 0; the empty source: missing, then nothing.
  std::vector<std::string> expected = {
      copyText(app().strings(), sid::MissingFile), copyText(app().strings(), sid::ShortCopy),
      copyText(app().strings(), sid::MissingFile), copyText(app().strings(), sid::ShortCopy)};
  EXPECT_EQ(ui_.texts(), expected);
  EXPECT_TRUE(ui_.folderPrompts.empty());
}

// The reads of one entry share one look at the installed script, but a question between
// them looks again: a change another program makes to the script while the user reads the
// missing-file question is seen by the entry's folder, read after it.
TEST_F(InstallFilesTest, AScriptChangedWhileTheUserAnswersIsReadAfresh) {
  files().createDirectory("C:\\App\\Other");
  put("C:\\Pkg\\Disk1\\zero.txt", "abc");
  ui_.answers = {ui::Answer::Yes, ui::Answer::Yes};
  ui_.whileShown = [this](const ui::Message& message) {
    if (message.text != copyText(app().strings(), sid::MissingFile)) return;
    std::string text = *get("C:\\App\\Script.vrx");
    std::size_t docs = text.find("1=Docs,");
    ASSERT_NE(docs, std::string::npos);
    put("C:\\App\\Script.vrx", text.replace(docs, 7, "1=Other,"));
  };
  install({entry("zero.txt", "", 1, 1, 0)});
  EXPECT_EQ(status_, 0);
  EXPECT_EQ(get("C:\\App\\Other\\zero.txt"), "abc");
  EXPECT_FALSE(exists("C:\\App\\Docs\\zero.txt"));
}

TEST_F(InstallFilesTest, ShortCopyOnReadOnlyDestination) {
  put("C:\\Pkg\\Disk1\\locked.txt", "new content");
  put("C:\\Pkg\\Disk1\\next.txt", "next");
  put("C:\\App\\Docs\\locked.txt", "old");
  files().setAttributes("C:\\App\\Docs\\locked.txt", platform::attr::ReadOnly);
  for (ui::Answer answer : {ui::Answer::Yes, ui::Answer::No}) {
    ui_.messages.clear();
    ui_.answers = {answer};
    files().deleteFile("C:\\App\\Script.vrx");
    files().setAttributes("C:\\App\\Docs\\next.txt", platform::attr::Normal);
    files().deleteFile("C:\\App\\Docs\\next.txt");
    install({entry("locked.txt", "", 1, 1, 11), entry("next.txt", "", 1, 1, 4)});
    ASSERT_EQ(ui_.texts(), std::vector<std::string>{copyText(app().strings(), sid::ShortCopy)});
    // Going on leaves the installation without the locked file: it ends with errors.
    EXPECT_EQ(status_, answer == ui::Answer::Yes ? 5 : 1);
    EXPECT_EQ(exists("C:\\App\\Docs\\next.txt"), answer == ui::Answer::Yes);
    // The file that could not be written is left exactly as it was.
    EXPECT_EQ(get("C:\\App\\Docs\\locked.txt"), "old");
    EXPECT_NE(files().status("C:\\App\\Docs\\locked.txt")->attributes & platform::attr::ReadOnly, 0u);
    app().script().setPath("C:\\WINDOWS\\Script.vrx");
  }
}

TEST_F(InstallFilesTest, DiskMessagesShownWhenCopyingReachesEachDisk) {
  put("C:\\Pkg\\Disk1\\one.txt", "1");
  put("C:\\Pkg\\Disk1\\uno.txt", "1");
  put("C:\\Pkg\\Disk1\\disk1.txt", std::string("Insert the first disk.\0hidden", 29));
  put("C:\\Pkg\\Disk2\\two.txt", "2");
  put("C:\\Pkg\\Disk2\\disk2.txt", "Now the second disk.");
  put("C:\\Pkg\\Disk3\\three.txt", "3");
  install({entry("one.txt", "", 1, 1, 1), entry("uno.txt", "", 1, 1, 1),
           entry("two.txt", "", 1, 2, 1), entry("three.txt", "", 1, 3, 1)},
          "[Messages]\r\nnbMsg=3\r\n1=disk1.txt\r\n2=disk2.txt\r\n3=nofile.txt\r\n");
  EXPECT_EQ(status_, 0);
  ASSERT_EQ(ui_.diskMessages.size(), 2u);
  EXPECT_EQ(ui_.diskMessages[0].disk, 1);
  EXPECT_EQ(ui_.diskMessages[0].text, "Insert the first disk.");
  EXPECT_EQ(ui_.diskMessages[0].caption, copyText(app().strings(), sid::MessagesCaption));
  EXPECT_EQ(ui_.diskMessages[1].disk, 2);
  EXPECT_EQ(ui_.diskMessages[1].text, "Now the second disk.");
}

TEST_F(InstallFilesTest, SharedFileListedTwiceIsCountedTwice) {
  put("C:\\Pkg\\Disk1\\common.dll", "common");
  install({entry("common.dll", "", 2, 1, 6, "1,1,0", 0, 1),
           entry("common.dll", "", 2, 1, 6, "1,1,0", 0, 1)});
  EXPECT_EQ(status_, 0);
  const std::string path = "C:\\App\\common.dll";
  EXPECT_EQ(phase_->sharedFiles(), (std::vector<std::string>{path, path}));
  EXPECT_EQ(scriptValue("SharedFiles", "nb"), "2");
  EXPECT_EQ(scriptValue("SharedFiles", "0"), path);
  EXPECT_EQ(scriptValue("SharedFiles", "1"), path);
  platform::HKey key = 0;
  ASSERT_EQ(machine().registry().openKey(platform::hkey::LocalMachine,
                                         "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
                                         key),
            platform::error::Success);
  std::uint32_t count = 0;
  EXPECT_EQ(machine().registry().queryDword(key, path, count), platform::error::Success);
  EXPECT_EQ(count, 2u);
  machine().registry().closeKey(key);
  // The engine folder's script is left as the builder wrote it.
  EXPECT_EQ(machine().profile().getString("C:\\WINDOWS\\Script.vrx", "SharedFiles", "nb", "", 9), "");
}

TEST_F(InstallFilesTest, CancelDuringCopyStopsTheLoop) {
  put("C:\\Pkg\\Disk1\\first.txt", "1");
  put("C:\\Pkg\\Disk1\\second.txt", "2");
  put("C:\\Pkg\\Disk1\\third.txt", "3");
  for (ui::Answer confirm : {ui::Answer::No, ui::Answer::Yes}) {
    const std::string key = confirm == ui::Answer::Yes ? "AfterYes" : "AfterNo";
    ui_.messages.clear();
    ui_.cancelOn = "second.txt";
    ui_.answers = {confirm};
    files().deleteFile("C:\\App\\Docs\\second.txt");
    files().deleteFile("C:\\App\\Docs\\third.txt");
    install({entry("first.txt", "", 1, 1, 1), entry("second.txt", "", 1, 1, 1),
             entry("third.txt", "", 1, 1, 1)},
            "[AddINI]\r\nnbINI=1\r\n0=Tool," + key + ",written\r\n");
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_NE(ui_.messages[0].text.find("Are you sure you want to quit now"), std::string::npos);
    EXPECT_EQ(status_, confirm == ui::Answer::Yes ? 1 : 0);
    EXPECT_EQ(exists("C:\\App\\Docs\\third.txt"), confirm == ui::Answer::No);
    // The file being copied when the cancel came was written whole (one block): it stays.
    EXPECT_EQ(get("C:\\App\\Docs\\second.txt"), "2");
    // A confirmed cancel skips the later steps.
    EXPECT_EQ(machine().profile().getProfileString("Tool", key, "", 99),
              confirm == ui::Answer::No ? "written" : "");
    app().script().setPath("C:\\WINDOWS\\Script.vrx");
  }
}

TEST_F(InstallFilesTest, NoFilesStillRunsTheLaterSteps) {
  install({}, "[AddINI]\r\nnbINI=1\r\n0=Tool,Path,[2]\r\n");
  EXPECT_EQ(status_, 0);
  EXPECT_EQ(ui_.percents.back(), 100);
  EXPECT_EQ(machine().profile().getProfileString("Tool", "Path", "", 260), "C:\\App");
}

TEST_F(InstallFilesTest, UnsafeTargetNamesAreNeverWritten) {
  put("C:\\Pkg\\Disk1\\evil.txt", "evil");
  ui_.defaultAnswer = ui::Answer::Yes;
  install({entry("evil.txt", "..\\..\\WINDOWS\\evil.txt", 2, 1, 4),
           entry("evil.txt", "CON", 2, 1, 4), entry("evil.txt", "nul.txt", 2, 1, 4),
           entry("evil.txt", "C:\\evil.txt", 2, 1, 4), entry("..\\Disk1\\evil.txt", "x.txt", 2, 1, 4)});
  EXPECT_EQ(status_, 5);  // the files refused were not copied
  EXPECT_FALSE(exists("C:\\WINDOWS\\evil.txt"));
  EXPECT_FALSE(exists("C:\\evil.txt"));
  EXPECT_FALSE(exists("C:\\App\\x.txt"));
  EXPECT_EQ(ui_.texts(),
            std::vector<std::string>(5, copyText(app().strings(), sid::ShortCopy)));
}

TEST_F(InstallFilesTest, InstallingIntoTheEngineFolderKeepsTheScript) {
  app().state().installFolder = "C:\\WINDOWS";
  install({});
  EXPECT_EQ(status_, 0);
  EXPECT_EQ(app().script().path(), "C:\\WINDOWS\\Script.vrx");
  EXPECT_NE(get("C:\\WINDOWS\\Script.vrx")->find("[Directories]"), std::string::npos);
}

TEST_F(InstallFilesTest, UnwritableInstallFolderIsNotASuccess) {
  app().state().installFolder = "C:\\No\\Such\\Folder";
  install({});
  EXPECT_EQ(status_, 5);
  EXPECT_EQ(app().script().path(), "C:\\WINDOWS\\Script.vrx");
}

TEST_F(InstallFilesTest, DescriptionsShownWhileLocating) {
  put("C:\\Pkg\\Disk1\\a.txt", "a");
  ui_.cancelOn = "Help files";  // the progress shows the description of entry 0
  ui_.answers = {ui::Answer::No};
  install({entry("a.txt", "", 1, 1, 1, "1,1,0", 0, 0, 0)});
  EXPECT_EQ(ui_.messages.size(), 1u) << "the cancel confirmation was asked";
  ui_.cancelOn = copyText(app().strings(), sid::EngineComponent);
  ui_.messages.clear();
  app().script().setPath("C:\\WINDOWS\\Script.vrx");
  install({entry("a.txt", "", 1, 1, 1, "1,1,0", 0, 0, 1000)});
  EXPECT_EQ(ui_.messages.size(), 1u);
  ui_.cancelOn = copyText(app().strings(), sid::UnknownFileType);
  ui_.messages.clear();
  app().script().setPath("C:\\WINDOWS\\Script.vrx");
  install({entry("a.txt", "", 1, 1, 1, "1,1,0", 0, 0, 7)});
  EXPECT_EQ(ui_.messages.size(), 1u);
}

}  // namespace
}  // namespace vandrel::setup
