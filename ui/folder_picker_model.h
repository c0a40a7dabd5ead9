// The folder picker's logic, without a window: the machine's drives and folders, the typed path,
// new folders, and whether a choice may be taken (with the reason when it may not).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/interaction.h"

namespace vandrel::platform {
class FileSystem;
}

namespace vandrel::ui {

// The picker's own texts. %1 stands for the folder, the drive or the text typed.
struct FolderPickerTexts {
  std::string newFolder = "&New Folder";
  std::string folderLabel = "&Folder:";
  std::string up = "&Up";
  std::string readOnlyDrive =
      "Drive %1 is read-only: nothing can be written there. Please choose a folder on another "
      "drive.";
  std::string readOnlyFolder =
      "The folder %1 is read-only: nothing can be written there. Please choose another folder.";
  std::string invalidPath =
      "\"%1\" is not a valid folder: a name may not hold any of \\ / : * ? \" < > | and may not be "
      "a "
      "device name such as CON or LPT1.";
  std::string noDrive = "There is no drive %1 on this computer.";
  std::string notAFolder = "%1 is a file, not a folder.";
  std::string noFolder = "There is no folder %1.";
  std::string cannotMake = "The folder %1 could not be made.";
  std::string noName = "Please type the name of the new folder first.";
};

// The state of one picker: the folder it shows, what it lists there, and its answers.
class FolderPickerModel {
 public:
  // files may be null (no machine): then no drive is listed and typed paths are taken as
  // given, without looking at any disk.
  FolderPickerModel(platform::FileSystem* files, FolderPrompt prompt, FolderPickerTexts texts = {});

  const FolderPrompt& prompt() const { return prompt_; }
  const FolderPickerTexts& texts() const { return texts_; }

  // The drives of the machine ("C:", "D:", ...), in letter order.
  std::vector<std::string> drives() const;
  bool driveReadOnly(char letter) const;

  // The folder shown, a full Windows path ("C:\" for a root, else without trailing backslash).
  const std::string& folder() const { return folder_; }
  // The folders in the folder shown, by name without regard to case.
  std::vector<std::string> subfolders() const;

  // Text typed by the user (a path from the folder shown, or a full one) as a full path;
  // empty with the reason when it names no folder a drive can hold.
  std::optional<std::string> resolve(const std::string& typed, std::string* why = nullptr) const;

  // Shows a folder named by typed text; false with the reason when it is no existing folder.
  bool open(const std::string& typed, std::string* why = nullptr);
  // Shows the folder above; false at a drive's root.
  bool up();

  // Makes the folder typed (a name in the folder shown, or a path) and every missing folder
  // above it, and shows it; false with the reason when that cannot be done.
  bool makeFolder(const std::string& typed, std::string* why = nullptr);

  // The answer OK gives for the text typed (the folder shown when nothing is typed): the
  // folder, a backslash and the dummy name. Empty with the reason when the choice is refused.
  // A prompt for writing refuses a read-only drive or folder; a folder not there yet is
  // given as typed, for the program to make (the setup makes its destination).
  std::optional<std::string> choose(const std::string& typed, std::string* why = nullptr);

  // The folder of an answer: the answer without its backslash and dummy name.
  std::string folderOfAnswer(const std::string& answer) const;

 private:
  std::string say(const std::string& text, const std::string& what) const;

  platform::FileSystem* files_;
  FolderPrompt prompt_;
  FolderPickerTexts texts_;
  std::string folder_;
};

// The folders the pickers of this process made. The setup counts them among the folders an
// installation made, so that its removal takes them away again.
const std::vector<std::string>& foldersMadeByPickers();
bool madeByPicker(const std::string& folder);
// The list of another copy of this library in the process (the gui module carries its own,
// and its pickers make the folders of a run with windows): its folders count too.
void countFoldersMadeIn(const std::vector<std::string>* elsewhere);

}  // namespace vandrel::ui
