// The folder picker over Qt's own file dialog.
#include "ui/qt/folder_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "ui/qt/dialog_kit.h"
#include "ui/scripted_interaction.h"

namespace vandrel::ui::qt {

FolderMapping hostFolderMapping() {
  FolderMapping mapping;
  mapping.toHost = [](const std::string& path) -> std::optional<std::filesystem::path> {
    if (path.size() < 2 || (path[0] != 'Z' && path[0] != 'z') || path[1] != ':') return std::nullopt;
    std::string host = path.substr(2);
    for (char& c : host) {
      if (c == '\\') c = '/';
    }
    return std::filesystem::path(host.empty() ? "/" : host);
  };
  mapping.toWindows = [](const std::filesystem::path& host) -> std::optional<std::string> {
    std::string path = "Z:" + host.lexically_normal().string();
    for (char& c : path) {
      if (c == '/') c = '\\';
    }
    return path;
  };
  mapping.currentFolder = [] { return std::string("Z:\\"); };
  return mapping;
}

FolderDialog::FolderDialog(const FolderPrompt& prompt, const FolderMapping& mapping)
    : prompt_(prompt), mapping_(mapping) {
  setOption(QFileDialog::DontUseNativeDialog, true);
  setOption(QFileDialog::ReadOnly, true);  // no new folders, renames or deletions here
  setFont(dialogFont());
  setFileMode(QFileDialog::AnyFile);
  setAcceptMode(QFileDialog::AcceptOpen);
  setNameFilter("(*.dum)");
  setWindowTitle(fromCodePage(prompt.caption));
  setLabelText(QFileDialog::FileName, fromCodePage(prompt.text));
  setLabelText(QFileDialog::Accept, "&OK");
  // The file name is the dummy name, kept out of sight with the file-type row.
  selectFile(fromCodePage(prompt.dummyName));
  for (const char* hidden : {"fileNameEdit", "fileTypeLabel", "fileTypeCombo"}) {
    if (QWidget* widget = findChild<QWidget*>(hidden)) widget->hide();
  }
  if (auto* label = findChild<QLabel*>("fileNameLabel")) {
    label->setWordWrap(true);
    label->setMinimumSize(300, 30);
  }
  // One list of the open folder's content, as the system's file-open dialog has it: no side
  // bar (its places would be host folders).
  if (QWidget* sidebar = findChild<QWidget*>("sidebar")) sidebar->hide();
  setViewMode(QFileDialog::Detail);
  connect(this, &QFileDialog::directoryEntered, this, [this](const QString& host) {
    if (std::optional<std::string> folder = mapping_.toWindows(host.toStdString())) folder_ = *folder;
  });
  showInFolder(prompt.initialFolder.empty() ? mapping_.currentFolder() : prompt.initialFolder);
  // 30 pixels less high than Qt makes it, centred on the screen.
  resize(width(), std::max(200, sizeHint().height() - 30));
  if (QScreen* screen = QGuiApplication::primaryScreen()) move(screen->availableGeometry().center() - rect().center());
}

void FolderDialog::showInFolder(const std::string& folder) {
  if (std::optional<std::filesystem::path> host = mapping_.toHost(folder)) {
    std::error_code error;
    if (std::filesystem::is_directory(*host, error)) setDirectory(QString::fromStdString(host->string()));
  }
  // The folder as asked for, even one that does not exist yet (a destination to be made).
  folder_ = folder;
  selectFile(fromCodePage(prompt_.dummyName));
}

void FolderDialog::openFolder(const std::string& folder) { showInFolder(folder); }

void FolderDialog::drive(const std::optional<std::string>& wanted) {
  auto* buttons = findChild<QDialogButtonBox*>();
  if (!wanted) {
    if (QPushButton* cancel = buttons ? buttons->button(QDialogButtonBox::Cancel) : nullptr) return cancel->click();
    return reject();
  }
  // The dialog opens the folder before the backslash.
  std::size_t slash = wanted->rfind('\\');
  openFolder(slash == std::string::npos ? *wanted : wanted->substr(0, slash + 1));
  QPushButton* ok = buttons ? buttons->button(QDialogButtonBox::Open) : nullptr;
  if (ok && ok->isEnabled()) return ok->click();
  accept();
}

void FolderDialog::accept() {
  // Whatever the list shows selected, OK takes the folder that is open.
  chosen_ = folder_.empty() ? std::string() : dummyFilePath(folder_, prompt_.dummyName);
  QDialog::accept();
}

}  // namespace vandrel::ui::qt
