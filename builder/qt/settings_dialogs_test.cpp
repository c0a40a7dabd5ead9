// The settings, background and end-of-install sheets filled through their controls.
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include "builder/qt/dialogs_test_support.h"
#include "builder/qt/sheet_dialog.h"
#include "builder/strings/builder_strings.h"

namespace vandrel::builder::qt {
namespace {

using namespace testing;

struct SettingsDialogs : DialogFixture {
  pages::SettingsViewState view;
  bool shown(unsigned id) const {
    for (const ui::Message& m : ui.messages) {
      if (m.text == str(id)) return true;
    }
    return false;
  }
};

TEST_F(SettingsDialogs, GeneralAndSystemWrittenOnOkWithTheTitleAndTheWarning) {
  EntryKey tools = addGroup("Tools");
  whenShown([](QWidget& w) {
    type(w, "AppName", "Tool");
    type(w, "Ver", "2.0");
    tick(w, "minCpu2", true);
    tick(w, "nSyst2", true);
    type(w, "nCompil", "12");
    named<QComboBox>(w, "UninstallGroup")->setCurrentIndex(0);
    press(w, "OK");
  });
  ASSERT_TRUE(runSettingsSheet(context(), *tree, 0, view));
  EXPECT_EQ(doc.settings.appName, "Tool");
  EXPECT_EQ(doc.settings.minCpu, 2);
  EXPECT_EQ(doc.settings.nSyst, 2);
  EXPECT_EQ(doc.settings.nCompil, 12);
  EXPECT_EQ(doc.uninstall.groupKey, tools);
  EXPECT_EQ(doc.uninstall.unDesc, "UnInstall Tool");
  EXPECT_EQ(doc.title(), "Tool 2.0 Install script");
  EXPECT_TRUE(shown(sid::SixteenBitWarning));
}

TEST_F(SettingsDialogs, ArchiveSizeOutOfRangeKeepsTheSheetOpen) {
  whenShown([this](QWidget& w) {
    EXPECT_FALSE(named<QLineEdit>(w, "ArchiveSize")->isEnabled());
    tick(w, "Archive", true);
    EXPECT_TRUE(named<QLineEdit>(w, "ArchiveSize")->isEnabled());
    type(w, "ArchiveSize", "16000001");
    press(w, "OK");
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("16000000"), std::string::npos);
    type(w, "ArchiveSize", "1440");
    press(w, "OK");
  });
  ASSERT_TRUE(runSettingsSheet(context(), *tree, 0, view));
  EXPECT_EQ(doc.settings.archiveSize, 1440);
}

TEST_F(SettingsDialogs, WelcomeGroupFollowsTheLicenceBoxAtOpeningAndCancelWritesNothing) {
  doc.settings.showLicence = 0;
  whenShown([](QWidget& w) {
    EXPECT_FALSE(named<QAbstractButton>(w, "Type0")->isEnabled());
    type(w, "AppName", "Changed");
    press(w, "Cancel");
  });
  EXPECT_FALSE(runSettingsSheet(context(), *tree, 1, view));
  EXPECT_NE(doc.settings.appName, "Changed");
  EXPECT_FALSE(doc.isModified());
}

// The sheet opens with the focus on the first field of its page, not on the page tabs;
// Ctrl+Tab and Ctrl+Shift+Tab turn the pages, each again on its first field.
TEST_F(SettingsDialogs, OpensOnTheFirstFieldAndCtrlTabTurnsThePages) {
  QStringList seen;
  whenShown([&seen](QWidget& w) {
    auto* tabs = w.findChild<QTabWidget*>();
    w.activateWindow();
    QApplication::processEvents();
    auto look = [&] {
      seen << tabs->tabText(tabs->currentIndex()) + ":" + (w.focusWidget() ? w.focusWidget()->objectName() : "none");
    };
    look();
    QTest::keyClick(w.focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    look();
    QTest::keyClick(w.focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    look();
    QTest::keyClick(w.focusWidget(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    look();
    QTest::keyClick(w.focusWidget(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    look();
    press(w, "Cancel");
  });
  runSettingsSheet(context(), *tree, 0, view);
  ASSERT_EQ(seen.size(), 5);
  EXPECT_EQ(seen[0], "General:AppName");
  EXPECT_TRUE(seen[1].startsWith("System:")) << seen[1].toStdString();
  EXPECT_TRUE(seen[2].startsWith("UnInstall:")) << seen[2].toStdString();
  EXPECT_EQ(seen[3], seen[1]);
  EXPECT_EQ(seen[4], seen[0]);
  for (const QString& s : seen) EXPECT_FALSE(s.endsWith(":qt_tabwidget_tabbar")) << s.toStdString();
}

TEST_F(SettingsDialogs, BackgroundEnablingSwatchesAndWriteBack) {
  DialogContext c = context();
  c.chooseColour = [](std::uint32_t) -> std::optional<std::uint32_t> { return 0x00336699u; };
  whenShown([](QWidget& w) {
    QGroupBox* direction = nullptr;
    for (QGroupBox* box : w.findChildren<QGroupBox*>()) {
      if (box->title() == "&Gradient") direction = box;
    }
    ASSERT_NE(direction, nullptr);
    tick(w, "Gradient0", true);
    EXPECT_FALSE(direction->isEnabled());
    tick(w, "Gradient1", true);
    EXPECT_TRUE(direction->isEnabled());
    EXPECT_FALSE(named<QLineEdit>(w, "BmpName")->isEnabled());
    tick(w, "Bitmap", true);
    EXPECT_TRUE(named<QLineEdit>(w, "BmpName")->isEnabled());
    type(w, "BmpName", "back.bmp");
    tick(w, "BmpMode2", true);
    QWidget* swatch = named<QWidget>(w, "Bottom");
    QMouseEvent click(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(swatch, &click);
    press(w, "OK");
  });
  ASSERT_TRUE(runBackgroundSheet(c, doc));
  EXPECT_EQ(doc.background.gradient, 1);
  EXPECT_EQ(doc.background.bottom, 0x00336699u);
  EXPECT_EQ(doc.background.bitmap, 1);
  EXPECT_EQ(doc.background.bmpName, "back.bmp");
  EXPECT_EQ(doc.background.bmpMode, 2);
  EXPECT_TRUE(doc.isModified());
}

TEST_F(SettingsDialogs, EndOfInstallListsAndFavourites) {
  doc.endOfInstall.launch = {"old.exe"};
  doc.web.favoriteNames = {"Home"};
  doc.web.favoriteUrls = {"http://old/"};
  whenShown([this](QWidget& w) {
    tick(w, "Reboot2", true);
    auto* launch = named<QListWidget>(w, "Launch");
    type(w, "NewCommand", "  setup2.exe /s");
    press(w, "AddCommand");
    ASSERT_EQ(launch->count(), 2);
    EXPECT_EQ(launch->item(1)->text(), "setup2.exe /s");
    launch->setCurrentRow(0);
    press(w, "DeleteCommand");
    EXPECT_EQ(launch->count(), 1);
    // The favourites page: a name already listed gets the new URL.
    auto* favourites = named<QTreeWidget>(w, "Favorites");
    QPushButton* addFavourite = named<QPushButton>(w, "AddFavorite");
    type(w, "FavoriteName", "home");
    addFavourite->click();
    EXPECT_EQ(ui.beeps, 1) << "both edits are needed";
    type(w, "FavoriteURL", "http://new/");
    addFavourite->click();
    EXPECT_EQ(favourites->topLevelItemCount(), 1);
    type(w, "FavoriteName", "Docs");
    type(w, "FavoriteURL", "http://docs/");
    addFavourite->click();
    EXPECT_EQ(favourites->topLevelItem(0)->text(0), "Docs");
    press(w, "OK");
  });
  ASSERT_TRUE(runEndSheet(context(), doc));
  EXPECT_EQ(doc.endOfInstall.reboot, 2);
  EXPECT_EQ(doc.endOfInstall.launch, (std::vector<std::string>{"setup2.exe /s"}));
  EXPECT_EQ(doc.web.favoriteNames, (std::vector<std::string>{"Docs", "Home"}));
  EXPECT_EQ(doc.web.favoriteUrls, (std::vector<std::string>{"http://docs/", "http://new/"}));
}

}  // namespace
}  // namespace vandrel::builder::qt
