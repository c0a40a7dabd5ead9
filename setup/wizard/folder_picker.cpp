// The folder picker and the destination page's reading of its result.
#include "setup/wizard/folder_picker.h"

#include "setup/strings/string_ids.h"

namespace vandrel::setup {

std::optional<std::string> PickFolder(ui::Interaction& ui, const script::StringTable& strings,
                                      int disk, const std::string& shown) {
  ui::FolderPrompt prompt;
  prompt.caption = strings.get(sid::PickerCaption);
  prompt.text = disk != 0 ? strings.get(sid::PickDiskFolder) + std::to_string(disk)
                          : strings.get(sid::PickInstallFolder);
  prompt.dummyName = "Junk";
  // The installation folder is written into; a disk's folder is only read.
  prompt.forWriting = disk == 0;
  prompt.shownFolder = shown;
  return ui.folder(prompt);
}

std::optional<std::string> installFolderFromPick(const std::string& picked) {
  // The result ends in "\Junk": five characters that are not part of the folder.
  if (picked.size() <= 5) return std::nullopt;
  std::string folder = picked.substr(0, picked.size() - 5);
  if (folder.size() == 2) return std::nullopt;  // "D:", the root of a drive
  return folder;
}

}  // namespace vandrel::setup
