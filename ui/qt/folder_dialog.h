// The folder picker over the machine's drives and folders: the prompt, a drive list, the
// folders of the folder shown, a folder line to type a path in, New Folder, OK and Cancel.
// OK gives the folder, a backslash and the dummy name; a refused choice keeps the picker open
// with the reason shown under the folder line.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "ui/folder_picker_model.h"
#include "ui/interaction.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vandrel::platform {
class FileSystem;
}

namespace vandrel::ui::qt {

class FolderDialog : public QDialog {
 public:
  // files: the machine whose folders are shown; null shows none and takes typed paths as given.
  FolderDialog(const FolderPrompt& prompt, platform::FileSystem* files);

  // Shows the folder (a Windows path), as the user would by walking to it.
  void openFolder(const std::string& folder);
  // Answers the picker as the user would: the answer's folder typed and OK pressed, or Cancel
  // for no answer. An answer the picker refuses is cancelled, its reason left in refusal().
  void drive(const std::optional<std::string>& wanted);
  // The result of OK: the folder, a backslash and the dummy name.
  const std::string& chosen() const { return chosen_; }
  // The reason shown for the last refusal (empty when none).
  QString refusal() const;

  QLineEdit* folderLine() const { return line_; }
  QListWidget* folderList() const { return list_; }
  QComboBox* driveList() const { return drives_; }
  QPushButton* newFolderButton() const { return newFolder_; }
  QPushButton* okButton() const { return ok_; }
  const FolderPickerModel& model() const { return model_; }

  void accept() override;

 private:
  void build();
  void showFolder();
  void refuse(const std::string& why);
  void makeNewFolder();

  FolderPickerModel model_;
  std::string chosen_;
  QComboBox* drives_ = nullptr;
  QLabel* shown_ = nullptr;
  QListWidget* list_ = nullptr;
  QLineEdit* line_ = nullptr;
  QLabel* message_ = nullptr;
  QPushButton* up_ = nullptr;
  QPushButton* newFolder_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace vandrel::ui::qt
