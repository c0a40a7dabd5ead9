// The folder picker's logic over an in-memory machine: drives, typed paths, new folders and
// the refusals of a choice with their reasons.
#include "ui/folder_picker_model.h"

#include <gtest/gtest.h>

#include "tests/support/picker_machine.h"

namespace vandrel::ui {
namespace {

using test::destinationPrompt;

TEST(FolderPickerModel, ListsTheMachinesDrivesAndTheFoldersOfTheFolderShown) {
  test::PickerMachineFiles files;
  FolderPickerModel picker(&files, destinationPrompt());
  EXPECT_EQ(picker.drives(), (std::vector<std::string>{"C:", "D:", "Z:"}));
  EXPECT_FALSE(picker.driveReadOnly('C'));
  EXPECT_TRUE(picker.driveReadOnly('Z'));
  // The proposed folder is not there yet: the picker shows the nearest folder above it.
  EXPECT_EQ(picker.folder(), "C:\\");
  EXPECT_EQ(picker.subfolders(), (std::vector<std::string>{"Program Files", "WINDOWS"}));
  ASSERT_TRUE(picker.open("program files"));
  EXPECT_EQ(picker.folder(), "C:\\Program Files");
  EXPECT_EQ(picker.subfolders(), (std::vector<std::string>{"Accessories"}));
  EXPECT_TRUE(picker.up());
  EXPECT_EQ(picker.folder(), "C:\\");
  EXPECT_FALSE(picker.up());
}

TEST(FolderPickerModel, ATypedPathIsReadFromTheFolderShownAndNormalised) {
  test::PickerMachineFiles files;
  FolderPickerModel picker(&files, destinationPrompt());
  ASSERT_TRUE(picker.open("C:\\Program Files"));
  EXPECT_EQ(picker.resolve("Tool"), "C:\\Program Files\\Tool");
  EXPECT_EQ(picker.resolve("..\\WINDOWS\\"), "C:\\WINDOWS");
  EXPECT_EQ(picker.resolve("d:/apps/./x/../y"), "D:\\apps\\y");
  EXPECT_EQ(picker.resolve("  C:\\Program Files\\Tool  "), "C:\\Program Files\\Tool");
  std::string why;
  EXPECT_EQ(picker.resolve("C:\\a|b", &why), std::nullopt);
  EXPECT_NE(why.find("is not a valid folder"), std::string::npos) << why;
  EXPECT_EQ(picker.resolve("C:\\LPT1", &why), std::nullopt);
  EXPECT_EQ(picker.resolve("Q:\\Tool", &why), std::nullopt);
  EXPECT_EQ(why, "There is no drive Q: on this computer.");
  EXPECT_FALSE(picker.open("C:\\readme.txt", &why));
  EXPECT_EQ(why, "C:\\readme.txt is a file, not a folder.");
  EXPECT_FALSE(picker.open("C:\\Nowhere", &why));
  EXPECT_EQ(why, "There is no folder C:\\Nowhere.");
  EXPECT_EQ(picker.folder(), "C:\\Program Files");
}

TEST(FolderPickerModel, ANewFolderIsMadeWithTheFoldersAboveItAndShown) {
  test::PickerMachineFiles files;
  FolderPickerModel picker(&files, destinationPrompt());
  ASSERT_TRUE(picker.open("C:\\Program Files"));
  ASSERT_TRUE(picker.makeFolder("Tool"));
  EXPECT_TRUE(files.exists("C:\\Program Files\\Tool"));
  EXPECT_EQ(picker.folder(), "C:\\Program Files\\Tool");
  ASSERT_TRUE(picker.makeFolder("D:\\Apps\\Deep\\Tool"));
  EXPECT_TRUE(files.exists("D:\\Apps\\Deep\\Tool"));
  EXPECT_TRUE(madeByPicker("d:\\apps"));
  EXPECT_TRUE(madeByPicker("C:\\Program Files\\Tool"));
  EXPECT_FALSE(madeByPicker("C:\\Program Files"));

  std::string why;
  EXPECT_FALSE(picker.makeFolder("  ", &why));
  EXPECT_EQ(why, "Please type the name of the new folder first.");
  EXPECT_FALSE(picker.makeFolder("Z:\\tmp\\new", &why));
  EXPECT_EQ(why,
            "Drive Z: is read-only: nothing can be written there. Please choose a folder on "
            "another drive.");
  EXPECT_FALSE(files.exists("Z:\\tmp\\new"));
  EXPECT_FALSE(picker.makeFolder("C:\\readme.txt\\sub", &why));
  EXPECT_EQ(why, "C:\\readme.txt is a file, not a folder.");
  EXPECT_FALSE(picker.makeFolder("a?b", &why));
  EXPECT_NE(why.find("is not a valid folder"), std::string::npos);
  files.denyAccess("C:\\WINDOWS");
  EXPECT_FALSE(picker.makeFolder("C:\\WINDOWS\\Locked", &why));
  EXPECT_EQ(why, "The folder C:\\WINDOWS\\Locked could not be made.");
}

TEST(FolderPickerModel, ADestinationIsTakenWithTheDummyNameAndLeftForTheProgramToMake) {
  test::PickerMachineFiles files;
  FolderPickerModel picker(&files, destinationPrompt());
  EXPECT_EQ(picker.choose("C:\\Program Files\\Tool"), "C:\\Program Files\\Tool\\Junk");
  EXPECT_FALSE(files.exists("C:\\Program Files\\Tool"));
  ASSERT_TRUE(picker.open("C:\\Program Files"));
  // Nothing typed: the folder shown.
  EXPECT_EQ(picker.choose(""), "C:\\Program Files\\Junk");
  EXPECT_EQ(picker.folderOfAnswer("C:\\Program Files\\Tool\\Junk"), "C:\\Program Files\\Tool");
  EXPECT_EQ(picker.folderOfAnswer("C:\\Junk"), "C:\\");
}

TEST(FolderPickerModel, ADestinationOnAReadOnlyDriveOrFolderIsRefusedWithItsReason) {
  test::PickerMachineFiles files;
  FolderPickerModel picker(&files, destinationPrompt());
  std::string why;
  EXPECT_EQ(picker.choose("Z:\\tmp\\pkg", &why), std::nullopt);
  EXPECT_EQ(why,
            "Drive Z: is read-only: nothing can be written there. Please choose a folder on "
            "another drive.");
  files.setAttributes("C:\\WINDOWS", platform::attr::Directory | platform::attr::ReadOnly);
  EXPECT_EQ(picker.choose("C:\\WINDOWS", &why), std::nullopt);
  EXPECT_EQ(why,
            "The folder C:\\WINDOWS is read-only: nothing can be written there. Please choose "
            "another folder.");
  EXPECT_EQ(picker.choose("C:\\readme.txt", &why), std::nullopt);
  EXPECT_EQ(why, "C:\\readme.txt is a file, not a folder.");
  EXPECT_EQ(picker.choose("K:\\", &why), std::nullopt);
  EXPECT_EQ(why, "There is no drive K: on this computer.");
  EXPECT_EQ(picker.folder(), "C:\\");
}

TEST(FolderPickerModel, AFolderToReadFromMayBeOnAReadOnlyDriveAndIsNeverMade) {
  test::PickerMachineFiles files;
  FolderPickerModel picker(
      &files, FolderPrompt{"S\xE9lection de r\xE9pertoire", "Disk 2", "Junk", "Z:\\tmp"});
  EXPECT_EQ(picker.folder(), "Z:\\tmp");
  EXPECT_EQ(picker.choose("pkg"), "Z:\\tmp\\pkg\\Junk");
  // A disk folder not there is given as asked for: the caller looks for its files and asks again.
  EXPECT_EQ(picker.choose("Z:\\tmp\\Disk2"), "Z:\\tmp\\Disk2\\Junk");
  EXPECT_FALSE(files.exists("Z:\\tmp\\Disk2"));
}

TEST(FolderPickerModel, WithoutAMachineTypedPathsAreTakenAsGiven) {
  FolderPickerModel picker(nullptr, FolderPrompt{"Disk", "Where?", "Junk", "Z:\\"});
  EXPECT_TRUE(picker.drives().empty());
  EXPECT_EQ(picker.choose("Z:\\tmp\\Disk2\\"), "Z:\\tmp\\Disk2\\Junk");
}

}  // namespace
}  // namespace vandrel::ui
