// The folder picker's window over a machine: its drives and folders, a typed path, New Folder,
// OK giving the folder with the dummy name, and a read-only drive refused with its reason.
#include "ui/qt/folder_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "tests/support/picker_machine.h"
#include "ui/qt/dialog_kit.h"
#include "ui/qt/testing/offscreen_application.h"

namespace vandrel::ui::qt {
namespace {

using test::destinationPrompt;

QStringList listed(const QListWidget& list) {
  QStringList names;
  for (int i = 0; i < list.count(); ++i) names << list.item(i)->text();
  return names;
}

TEST(FolderDialog, ShowsTheMachinesDrivesAndFoldersWithThePromptAndCaption) {
  offscreenApplication();
  test::PickerMachineFiles files;
  FolderDialog dialog(destinationPrompt(), &files);
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("S\u00e9lection de r\u00e9pertoire"));
  bool promptShown = false;
  for (QLabel* label : dialog.findChildren<QLabel*>()) {
    if (label->text() == "Please select a folder where to install your new software.")
      promptShown = true;
  }
  EXPECT_TRUE(promptShown);
  QStringList drives;
  for (int i = 0; i < dialog.driveList()->count(); ++i) drives << dialog.driveList()->itemText(i);
  EXPECT_EQ(drives, (QStringList{"C:", "D:", "Z:"}));
  EXPECT_EQ(dialog.driveList()->currentText(), "C:");
  EXPECT_EQ(listed(*dialog.folderList()), (QStringList{"Program Files", "WINDOWS"}));
  // The proposed folder, not there yet, stands in the folder line.
  EXPECT_EQ(dialog.folderLine()->text(), "C:\\Install");
  EXPECT_EQ(dialog.okButton()->text(), "&OK");
  EXPECT_EQ(dialog.newFolderButton()->text(), "&New Folder");

  dialog.folderList()->setCurrentRow(0);
  EXPECT_EQ(dialog.folderLine()->text(), "C:\\Program Files");
  dialog.openFolder("C:\\Program Files");
  EXPECT_EQ(listed(*dialog.folderList()), (QStringList{"Accessories"}));
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.chosen(), "C:\\Program Files\\Junk");
}

TEST(FolderDialog, ATypedPathIsMadeWithNewFolderAndTakenByOk) {
  offscreenApplication();
  test::PickerMachineFiles files;
  FolderDialog dialog(destinationPrompt(), &files);
  dialog.folderLine()->setText("C:\\Program Files\\Tool");
  dialog.newFolderButton()->click();
  EXPECT_TRUE(files.exists("C:\\Program Files\\Tool"));
  EXPECT_TRUE(madeByPicker("C:\\Program Files\\Tool"));
  EXPECT_FALSE(madeByPicker("C:\\Program Files"));
  EXPECT_EQ(dialog.model().folder(), "C:\\Program Files\\Tool");
  EXPECT_EQ(dialog.folderLine()->text(), "C:\\Program Files\\Tool");
  dialog.okButton()->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.chosen(), "C:\\Program Files\\Tool\\Junk");
}

TEST(FolderDialog, AFolderOnAReadOnlyDriveIsRefusedWithItsReason) {
  offscreenApplication();
  test::PickerMachineFiles files;
  FolderDialog dialog(destinationPrompt(), &files);
  dialog.show();
  dialog.driveList()->setCurrentText("Z:");
  dialog.openFolder("Z:\\");
  EXPECT_EQ(listed(*dialog.folderList()), (QStringList{"tmp"}));
  dialog.folderLine()->setText("Z:\\tmp\\pkg");
  dialog.okButton()->click();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(dialog.chosen().empty());
  EXPECT_EQ(dialog.refusal(),
            "Drive Z: is read-only: nothing can be written there. Please choose a folder on "
            "another drive.");
  // New Folder there is refused the same way, and nothing is made.
  dialog.folderLine()->setText("Z:\\tmp\\new");
  dialog.newFolderButton()->click();
  EXPECT_FALSE(files.exists("Z:\\tmp\\new"));
  EXPECT_EQ(dialog.refusal(),
            "Drive Z: is read-only: nothing can be written there. Please choose a folder on "
            "another drive.");
  // A path no drive holds.
  dialog.folderLine()->setText("C:\\a|b");
  dialog.okButton()->click();
  EXPECT_TRUE(dialog.refusal().contains("is not a valid folder"));
  dialog.reject();
}

TEST(FolderDialog, AnAnswerIsTypedAndTakenAndARefusedOneCancels) {
  offscreenApplication();
  test::PickerMachineFiles files;
  FolderDialog taken(destinationPrompt(), &files);
  taken.drive(std::string("C:\\Program Files\\Tool\\Junk"));
  EXPECT_EQ(taken.result(), QDialog::Accepted);
  EXPECT_EQ(taken.chosen(), "C:\\Program Files\\Tool\\Junk");

  FolderDialog refused(destinationPrompt(), &files);
  refused.drive(std::string("Z:\\tmp\\pkg\\Junk"));
  EXPECT_EQ(refused.result(), QDialog::Rejected);
  EXPECT_TRUE(refused.chosen().empty());

  // An answer taken is given as written, as the scripted backend gives it.
  FolderDialog asWritten(destinationPrompt(), &files);
  asWritten.drive(std::string("c:\\program files\\Junk"));
  EXPECT_EQ(asWritten.chosen(), "c:\\program files\\Junk");

  // A disk's folder may be on a read-only drive.
  FolderDialog disk(FolderPrompt{"S\xE9lection de r\xE9pertoire", "Disk 2", "Junk", "Z:\\tmp"},
                    &files);
  EXPECT_EQ(disk.folderLine()->text(), "Z:\\tmp");
  disk.drive(std::string("Z:\\tmp\\pkg\\Junk"));
  EXPECT_EQ(disk.chosen(), "Z:\\tmp\\pkg\\Junk");
}

}  // namespace
}  // namespace vandrel::ui::qt
