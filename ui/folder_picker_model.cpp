// The folder picker's logic over the platform layer's file system.
#include "ui/folder_picker_model.h"

#include <algorithm>

#include "platform/file_system.h"
#include "platform/text/text_rules.h"
#include "platform/text/windows_path.h"
#include "ui/scripted_interaction.h"

namespace vandrel::ui {

namespace {

std::vector<std::string>& madeFolders() {
  static std::vector<std::string> folders;
  return folders;
}

const std::vector<std::string>*& foreignFolders() {
  static const std::vector<std::string>* folders = nullptr;
  return folders;
}

bool listed(const std::vector<std::string>& folders, const std::string& folder) {
  return std::any_of(folders.begin(), folders.end(),
                     [&](const std::string& made) { return text::equalsNoCase(made, folder); });
}

std::string driveRoot(char letter) { return std::string(1, letter) + ":\\"; }

// The folder a full path names as a WinPath (the path comes from resolve(), so it parses).
text::WinPath parsed(const std::string& full) {
  return text::resolveWindowsPath(full, text::WinPath{}).value_or(text::WinPath{});
}

bool isFolder(platform::FileSystem& files, const std::string& path) {
  std::optional<platform::FileStatus> status = files.status(path);
  return status && status->isDirectory();
}

// An existing folder's path as its names are stored ("program files" typed is shown as
// "Program Files").
std::string storedSpelling(platform::FileSystem& files, const std::string& full) {
  text::WinPath typed = parsed(full);
  text::WinPath stored{typed.drive, {}};
  for (const std::string& name : typed.parts) {
    std::string parent = stored.text();
    if (parent.back() != '\\') parent += '\\';
    std::vector<platform::FindData> found = files.find(parent + name);
    stored.parts.push_back(found.size() == 1 ? found.front().name : name);
  }
  return stored.text();
}

}  // namespace

FolderPickerModel::FolderPickerModel(platform::FileSystem* files, FolderPrompt prompt,
                                     FolderPickerTexts texts)
    : files_(files), prompt_(std::move(prompt)), texts_(std::move(texts)) {
  std::string start = prompt_.initialFolder.empty() ? prompt_.shownFolder : prompt_.initialFolder;
  if (start.empty() && files_) start = files_->currentDirectory();
  std::optional<std::string> full = resolve(start.empty() ? "C:\\" : start);
  folder_ = full ? *full : "C:\\";
  // A proposed folder not there yet (a destination still to be made) shows the nearest
  // folder above it that is.
  if (!files_) return;
  text::WinPath path = parsed(folder_);
  while (!path.parts.empty() && !isFolder(*files_, path.text())) path.parts.pop_back();
  folder_ = storedSpelling(*files_, path.text());
}

std::string FolderPickerModel::say(const std::string& text, const std::string& what) const {
  std::string out = text;
  std::size_t at = out.find("%1");
  if (at != std::string::npos) out.replace(at, 2, what);
  return out;
}

std::vector<std::string> FolderPickerModel::drives() const {
  std::vector<std::string> found;
  if (!files_) return found;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    if (isFolder(*files_, driveRoot(letter))) found.push_back(std::string(1, letter) + ":");
  }
  return found;
}

bool FolderPickerModel::driveReadOnly(char letter) const {
  return files_ && !files_->mayWrite(driveRoot(letter));
}

std::vector<std::string> FolderPickerModel::subfolders() const {
  std::vector<std::string> names;
  if (!files_) return names;
  std::string pattern = folder_.back() == '\\' ? folder_ + "*.*" : folder_ + "\\*.*";
  for (const platform::FindData& found : files_->find(pattern)) {
    if (found.name == "." || found.name == ".." || !found.status.isDirectory()) continue;
    names.push_back(found.name);
  }
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return text::lessNoCase(a, b); });
  return names;
}

std::optional<std::string> FolderPickerModel::resolve(const std::string& typed,
                                                      std::string* why) const {
  std::string trimmed = typed;
  trimmed.erase(0, trimmed.find_first_not_of(" \t"));
  trimmed.erase(trimmed.find_last_not_of(" \t") + 1);
  text::WinPath current = parsed(folder_.empty() ? "C:\\" : folder_);
  std::optional<text::WinPath> path = text::resolveWindowsPath(trimmed, current);
  if (!path || trimmed.empty()) {
    if (why) *why = say(texts_.invalidPath, typed);
    return std::nullopt;
  }
  if (files_ && !isFolder(*files_, driveRoot(path->drive))) {
    if (why) *why = say(texts_.noDrive, std::string(1, path->drive) + ":");
    return std::nullopt;
  }
  return path->text();
}

bool FolderPickerModel::open(const std::string& typed, std::string* why) {
  std::optional<std::string> full = resolve(typed, why);
  if (!full) return false;
  if (files_ && !isFolder(*files_, *full)) {
    if (why)
      *why = files_->status(*full) ? say(texts_.notAFolder, *full) : say(texts_.noFolder, *full);
    return false;
  }
  folder_ = files_ ? storedSpelling(*files_, *full) : *full;
  return true;
}

bool FolderPickerModel::up() {
  text::WinPath path = parsed(folder_);
  if (path.parts.empty()) return false;
  path.parts.pop_back();
  folder_ = path.text();
  return true;
}

bool FolderPickerModel::makeFolder(const std::string& typed, std::string* why) {
  std::string trimmed = typed;
  trimmed.erase(0, trimmed.find_first_not_of(" \t"));
  if (trimmed.empty()) {
    if (why) *why = texts_.noName;
    return false;
  }
  std::optional<std::string> full = resolve(typed, why);
  if (!full) return false;
  if (!files_) {
    folder_ = *full;
    return true;
  }
  text::WinPath path = parsed(*full);
  if (!files_->mayWrite(driveRoot(path.drive))) {
    if (why) *why = say(texts_.readOnlyDrive, std::string(1, path.drive) + ":");
    return false;
  }
  // Every missing level, from the drive's root down.
  text::WinPath level{path.drive, {}};
  for (const std::string& name : path.parts) {
    level.parts.push_back(name);
    std::string step = level.text();
    if (std::optional<platform::FileStatus> status = files_->status(step)) {
      if (status->isDirectory()) continue;
      if (why) *why = say(texts_.notAFolder, step);
      return false;
    }
    if (!files_->createDirectory(step)) {
      if (why) *why = say(texts_.cannotMake, step);
      return false;
    }
    madeFolders().push_back(step);
  }
  folder_ = storedSpelling(*files_, *full);
  return true;
}

std::optional<std::string> FolderPickerModel::choose(const std::string& typed, std::string* why) {
  std::string trimmed = typed;
  trimmed.erase(0, trimmed.find_first_not_of(" \t"));
  std::optional<std::string> full = trimmed.empty() ? std::optional(folder_) : resolve(typed, why);
  if (!full) return std::nullopt;
  if (files_) {
    std::optional<platform::FileStatus> status = files_->status(*full);
    if (status && !status->isDirectory()) {
      if (why) *why = say(texts_.notAFolder, *full);
      return std::nullopt;
    }
    if (prompt_.forWriting) {
      char drive = parsed(*full).drive;
      if (!files_->mayWrite(driveRoot(drive))) {
        if (why) *why = say(texts_.readOnlyDrive, std::string(1, drive) + ":");
        return std::nullopt;
      }
      if (status && (status->attributes & platform::attr::ReadOnly) != 0) {
        if (why) *why = say(texts_.readOnlyFolder, *full);
        return std::nullopt;
      }
    }
  }
  if (files_ && isFolder(*files_, *full)) *full = storedSpelling(*files_, *full);
  if (!files_ || isFolder(*files_, *full)) folder_ = *full;
  return dummyFilePath(*full, prompt_.dummyName);
}

std::string FolderPickerModel::folderOfAnswer(const std::string& answer) const {
  std::string tail = "\\" + prompt_.dummyName;
  if (answer.size() >= tail.size() &&
      text::equalsNoCase(answer.substr(answer.size() - tail.size()), tail)) {
    std::string folder = answer.substr(0, answer.size() - tail.size());
    return folder.size() == 2 ? folder + "\\" : folder;
  }
  return answer;
}

const std::vector<std::string>& foldersMadeByPickers() { return madeFolders(); }

bool madeByPicker(const std::string& folder) {
  const std::vector<std::string>* elsewhere = foreignFolders();
  return listed(madeFolders(), folder) || (elsewhere && elsewhere != &madeFolders() && listed(*elsewhere, folder));
}

void countFoldersMadeIn(const std::vector<std::string>* elsewhere) { foreignFolders() = elsewhere; }

}  // namespace vandrel::ui
