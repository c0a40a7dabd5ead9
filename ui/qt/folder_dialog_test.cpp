// The folder picker: the file dialog's changes, and OK giving the open folder as a Windows
// path with the dummy name.
#include "ui/qt/folder_dialog.h"

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>

#include "tests/support/temp_dir.h"
#include "ui/qt/testing/offscreen_application.h"

namespace vandrel::ui::qt {
namespace {

TEST(FolderDialog, ShowsThePromptInPlaceOfTheFileNameAndGivesTheOpenFolder) {
  offscreenApplication();
  test::TempDir dir;
  std::filesystem::create_directories(dir / "Disk 2");
  FolderMapping mapping = hostFolderMapping();
  std::string start = *mapping.toWindows(dir.path());
  FolderDialog dialog(FolderPrompt{"S\xE9lection de r\xE9pertoire", "Where is disk 2?", "Junk", start}, mapping);
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("S\u00e9lection de r\u00e9pertoire"));
  auto* label = dialog.findChild<QLabel*>("fileNameLabel");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), "Where is disk 2?");
  for (const char* hidden : {"fileNameEdit", "fileTypeLabel", "fileTypeCombo", "sidebar"}) {
    QWidget* widget = dialog.findChild<QWidget*>(hidden);
    ASSERT_NE(widget, nullptr) << hidden;
    EXPECT_TRUE(widget->isHidden()) << hidden;
  }
  QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open);
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->text(), "&OK");

  dialog.openFolder(start + "\\Disk 2");
  EXPECT_EQ(std::filesystem::path(dialog.directory().absolutePath().toStdString()), dir / "Disk 2");
  dialog.accept();
  EXPECT_EQ(dialog.chosen(), start + "\\Disk 2\\Junk");
  // A folder that is not there yet is given as asked for (a destination still to be made).
  dialog.openFolder("Z:\\nowhere\\new\\");
  dialog.accept();
  EXPECT_EQ(dialog.chosen(), "Z:\\nowhere\\new\\Junk");
}

}  // namespace
}  // namespace vandrel::ui::qt
