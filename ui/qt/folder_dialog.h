// The folder picker: the file-open dialog turned into a folder chooser. Its file name is the
// dummy name, its filter shows only "*.dum" files, the prompt stands where the file-name
// label was, the file-name box and the file-type row are hidden and OK reads "&OK". OK gives
// the folder that is open, a backslash and the dummy name.
//
// The dialog browses the host folders behind the machine's Windows paths; the paths it
// returns are Windows paths.
#pragma once

#include <QFileDialog>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "ui/interaction.h"

namespace vandrel::ui::qt {

// Windows paths to host paths and back; empty when a path has no counterpart.
struct FolderMapping {
  std::function<std::optional<std::filesystem::path>(const std::string&)> toHost;
  std::function<std::optional<std::string>(const std::filesystem::path&)> toWindows;
  // The folder shown first when the prompt names none (the current folder).
  std::function<std::string()> currentFolder;
};

// Without a machine: drive Z: is the host's root, as the emulated machines have it.
FolderMapping hostFolderMapping();

class FolderDialog : public QFileDialog {
 public:
  FolderDialog(const FolderPrompt& prompt, const FolderMapping& mapping);

  // Opens the folder (a Windows path), as the user would by walking to it.
  void openFolder(const std::string& folder);
  // Answers the picker as the user would: the folder of the answer opened and OK pressed, or
  // Cancel for no answer. The answer is a folder, a backslash and the dummy name.
  void drive(const std::optional<std::string>& wanted);
  // The result of OK: the open folder, a backslash and the dummy name.
  const std::string& chosen() const { return chosen_; }

  void accept() override;

 private:
  void showInFolder(const std::string& folder);

  FolderPrompt prompt_;
  const FolderMapping& mapping_;
  std::string folder_;  // the Windows path of the open folder
  std::string chosen_;
};

}  // namespace vandrel::ui::qt
