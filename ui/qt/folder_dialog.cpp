// The folder picker's window over the picker's model.
#include "ui/qt/folder_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/qt/dialog_kit.h"

namespace vandrel::ui::qt {

FolderDialog::FolderDialog(const FolderPrompt& prompt, platform::FileSystem* files)
    : model_(files, prompt) {
  build();
  // The proposed folder stands in the folder line, so that OK takes it as it is.
  const std::string& start =
      prompt.initialFolder.empty() ? prompt.shownFolder : prompt.initialFolder;
  std::optional<std::string> proposed = start.empty() ? std::nullopt : model_.resolve(start);
  showFolder();
  if (proposed) line_->setText(fromCodePage(*proposed));
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

void FolderDialog::build() {
  const FolderPickerTexts& texts = model_.texts();
  setFont(dialogFont());
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setWindowTitle(fromCodePage(model_.prompt().caption));
  auto* layout = new QVBoxLayout(this);

  auto* prompt = new QLabel(fromCodePage(model_.prompt().text), this);
  prompt->setWordWrap(true);
  layout->addWidget(prompt);

  auto* row = new QHBoxLayout;
  drives_ = new QComboBox(this);
  drives_->setObjectName("drives");
  for (const std::string& drive : model_.drives()) drives_->addItem(QString::fromStdString(drive));
  row->addWidget(drives_);
  shown_ = new QLabel(this);
  shown_->setObjectName("shownFolder");
  shown_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  row->addWidget(shown_, 1);
  up_ = new QPushButton(fromCodePage(texts.up), this);
  row->addWidget(up_);
  newFolder_ = new QPushButton(fromCodePage(texts.newFolder), this);
  newFolder_->setObjectName("newFolder");
  newFolder_->setAutoDefault(false);
  row->addWidget(newFolder_);
  layout->addLayout(row);

  list_ = new QListWidget(this);
  list_->setObjectName("folders");
  list_->setMinimumSize(360, 180);
  layout->addWidget(list_, 1);

  auto* nameRow = new QHBoxLayout;
  auto* nameLabel = new QLabel(fromCodePage(texts.folderLabel), this);
  line_ = new QLineEdit(this);
  line_->setObjectName("folderLine");
  nameLabel->setBuddy(line_);
  nameRow->addWidget(nameLabel);
  nameRow->addWidget(line_, 1);
  layout->addLayout(nameRow);

  message_ = new QLabel(this);
  message_->setObjectName("refusal");
  message_->setWordWrap(true);
  message_->hide();
  layout->addWidget(message_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  ok_->setText("&OK");
  buttons->button(QDialogButtonBox::Cancel)->setText("Cancel");
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &FolderDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &FolderDialog::reject);

  connect(drives_, &QComboBox::textActivated, this,
          [this](const QString& drive) { openFolder(drive.toStdString() + "\\"); });
  connect(up_, &QPushButton::clicked, this, [this] {
    if (model_.up()) showFolder();
  });
  connect(newFolder_, &QPushButton::clicked, this, &FolderDialog::makeNewFolder);
  connect(list_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { openFolder(toCodePage(item->text())); });
  // A folder picked in the list is the one OK takes.
  connect(list_, &QListWidget::currentTextChanged, this, [this](const QString& name) {
    if (name.isEmpty()) return;
    if (std::optional<std::string> full = model_.resolve(toCodePage(name)))
      line_->setText(fromCodePage(*full));
  });
  line_->setFocus();
}

void FolderDialog::showFolder() {
  const std::string& folder = model_.folder();
  shown_->setText(fromCodePage(folder));
  int drive = drives_->findText(QString::fromStdString(folder.substr(0, 2)), Qt::MatchFixedString);
  if (drive >= 0) drives_->setCurrentIndex(drive);
  list_->blockSignals(true);
  list_->clear();
  QIcon icon = style()->standardIcon(QStyle::SP_DirIcon);
  for (const std::string& name : model_.subfolders())
    list_->addItem(new QListWidgetItem(icon, fromCodePage(name)));
  list_->blockSignals(false);
  up_->setEnabled(folder.size() > 3);
  line_->setText(fromCodePage(folder));
  message_->hide();
  message_->clear();
}

void FolderDialog::refuse(const std::string& why) {
  message_->setText(fromCodePage(why));
  message_->show();
  QApplication::beep();
}

void FolderDialog::openFolder(const std::string& folder) {
  std::string why;
  if (model_.open(folder, &why)) {
    showFolder();
  } else {
    refuse(why);
  }
}

void FolderDialog::makeNewFolder() {
  std::string why;
  if (model_.makeFolder(toCodePage(line_->text()), &why)) {
    showFolder();
  } else {
    refuse(why);
  }
}

QString FolderDialog::refusal() const {
  return message_->isVisible() || !message_->text().isEmpty() ? message_->text() : QString();
}

void FolderDialog::drive(const std::optional<std::string>& wanted) {
  if (!wanted) return reject();
  line_->setText(fromCodePage(model_.folderOfAnswer(*wanted)));
  ok_->click();
  // Taken, the answer is given as written, as the scripted backend gives it.
  if (result() == QDialog::Accepted && !chosen_.empty()) {
    chosen_ = *wanted;
    return;
  }
  reject();
}

void FolderDialog::accept() {
  std::string why;
  std::optional<std::string> answer = model_.choose(toCodePage(line_->text()), &why);
  if (!answer) return refuse(why);
  chosen_ = *answer;
  QDialog::accept();
}

}  // namespace vandrel::ui::qt
