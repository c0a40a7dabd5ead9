// The tip of the day's place in the tips file and the recent files, kept in the settings.
#include "builder/prefs/tip_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include <QSettings>

#include "tests/support/temp_dir.h"

namespace vandrel::builder::prefs {
namespace {

struct TipFixture : ::testing::Test {
  test::TempDir dir;
  std::filesystem::path tips = dir.path() / "tips.txt";
  std::unique_ptr<QSettings> settings;
  void SetUp() override {
    settings = std::make_unique<QSettings>(QString::fromStdString((dir.path() / "c.conf").string()),
                                           QSettings::IniFormat);
  }
};

TEST_F(TipFixture, TipsFollowEachOtherAcrossRunsAndWrapAround) {
  std::ofstream(tips) << "First tip.\r\n\r\nSecond tip.\r\nThird tip.";
  {
    TipFile file(tips, readTipPlace(*settings));
    EXPECT_EQ(file.next(), "First tip.");
    EXPECT_EQ(file.next(), "Second tip.");
    writeTipPlace(*settings, file.place());
  }
  TipFile again(tips, readTipPlace(*settings));
  EXPECT_EQ(again.next(), "Third tip.");
  EXPECT_EQ(again.next(), "First tip.");
  EXPECT_EQ(again.status(), TipFile::Status::Ok);
}

TEST_F(TipFixture, AChangedFileStartsAtTheTop) {
  std::ofstream(tips) << "One\nTwo\n";
  {
    TipFile file(tips, readTipPlace(*settings));
    file.next();
    writeTipPlace(*settings, file.place());
  }
  std::filesystem::last_write_time(tips, std::filesystem::last_write_time(tips) + std::chrono::seconds(5));
  TipFile changed(tips, readTipPlace(*settings));
  EXPECT_EQ(changed.next(), "One");
}

TEST_F(TipFixture, MissingFileAndTheStartUpBoxStoredInverted) {
  TipFile file(tips, readTipPlace(*settings));
  EXPECT_EQ(file.status(), TipFile::Status::Missing);
  EXPECT_EQ(file.next(), "");
  EXPECT_TRUE(file.showAtStartUp());
  file.setShowAtStartUp(false);
  writeTipPlace(*settings, file.place());
  EXPECT_EQ(settings->value("Tip/StartUp").toInt(), 1);
  EXPECT_FALSE(TipFile(tips, readTipPlace(*settings)).showAtStartUp());
}

TEST_F(TipFixture, LongLinesAreCutAndRecentFilesKeepFour) {
  std::ofstream(tips) << std::string(1500, 'x') << "\n";
  TipFile file(tips, readTipPlace(*settings));
  EXPECT_EQ(file.next().size(), TipFile::kMaxLine);

  writeRecentFiles(*settings, {"/a.cvx", "/b.cvx", "/c.cvx"});
  EXPECT_EQ(readRecentFiles(*settings), (std::vector<std::string>{"/a.cvx", "/b.cvx", "/c.cvx"}));
  writeRecentFiles(*settings, {"/d.cvx"});
  EXPECT_EQ(readRecentFiles(*settings), (std::vector<std::string>{"/d.cvx"}));
}

}  // namespace
}  // namespace vandrel::builder::prefs
