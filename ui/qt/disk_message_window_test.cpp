// The disk-message window's place: 20 pixels from the right and bottom edges of the screen.
#include "ui/qt/disk_message_window.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "ui/qt/testing/offscreen_application.h"

namespace vandrel::ui::qt {
namespace {

TEST(DiskMessageWindow, Stands20PixelsAboveTheBottomAndLeftOfTheRightEdge) {
  offscreenApplication();
  std::unique_ptr<QWidget> window = showDiskMessageWindow({"Messages", "Insert disk 2"});
  QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  QRect frame = window->frameGeometry();
  EXPECT_EQ(area.bottom() - frame.bottom(), 20);
  EXPECT_EQ(area.right() - frame.right(), 20);
}

}  // namespace
}  // namespace vandrel::ui::qt
