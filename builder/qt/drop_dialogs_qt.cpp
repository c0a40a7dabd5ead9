// The drop import's "Directory Selector" and file page as windows.
#include <QApplication>
#include <QGuiApplication>
#include <QCheckBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "builder/qt/builder_dialogs.h"
#include "builder/qt/entry_page_dialogs.h"
#include "builder/qt/sheet_dialog.h"
#include "builder/strings/builder_strings.h"
#include "ui/qt/gui_services.h"

namespace vandrel::builder::qt {

namespace {

// Answers that leave the selector without a choice while it cannot be cancelled are asked
// this many times, as over the console, before the selector gives up.
constexpr int kMaxAttempts = 3;

class SelectorDialog : public QDialog {
 public:
  SelectorDialog(const DialogContext& context, dropimport::DirectorySelector& selector)
      : QDialog(context.parent), context_(context), selector_(selector) {
    setWindowTitle("Directory Selector");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(fromCodePage(selector.text()), this);
    text->setWordWrap(true);
    layout->addWidget(text);
    auto* middle = new QHBoxLayout;
    list_ = new QListWidget(this);
    list_->setObjectName("Directory");
    middle->addWidget(list_, 1);
    auto* buttons = new QVBoxLayout;
    ok_ = new QPushButton("&OK", this);
    ok_->setDefault(true);
    cancel_ = new QPushButton("&Cancel", this);
    cancel_->setEnabled(selector.cancelEnabled());
    auto* add = new QPushButton("&Add directory...", this);
    add->setEnabled(bool(selector.addDirectoryCommand));
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addSpacing(12);
    buttons->addWidget(add);
    buttons->addStretch();
    middle->addLayout(buttons);
    layout->addLayout(middle, 1);
    keep_ = new QCheckBox("&Keep same directory for all dropped files", this);
    keep_->setObjectName("Keep");
    keep_->setChecked(selector.keep);
    layout->addWidget(keep_);
    fill();
    connect(ok_, &QPushButton::clicked, this, &SelectorDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &SelectorDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &SelectorDialog::accept);
    connect(add, &QPushButton::clicked, this, [this] {
      if (selector_.addDirectory()) fill();
    });
    resize(360, 260);
  }

  bool run() {
    QTimer::singleShot(0, this, [this] {
      // Brought to the top (a window system without stacking has nothing to raise).
      if (QGuiApplication::platformName() != "offscreen") {
        raise();
        activateWindow();
      }
      ui::qt::processScreenshots().save(*this, "directory-selector");
      if (context_.autopilot) drive();
    });
    return exec() == QDialog::Accepted;
  }

  void accept() override {
    selector_.selected = list_->selectedItems().isEmpty() ? -1 : list_->currentRow();
    selector_.keep = keep_->isChecked();
    if (!selector_.choice()) {
      beep();
      if (context_.autopilot) QTimer::singleShot(0, this, [this] { drive(); });
      return;
    }
    QDialog::accept();
  }

  // Escape and the close box count as Cancel only where Cancel is enabled.
  void reject() override {
    if (cancel_->isEnabled() || gaveUp_) QDialog::reject();
  }

 private:
  void fill() {
    list_->clear();
    for (const std::string& item : selector_.items()) list_->addItem(fromCodePage(item));
    if (selector_.selected >= 0) list_->setCurrentRow(selector_.selected);
  }

  void beep() {
    if (context_.ui) {
      context_.ui->beep();
    } else {
      QApplication::beep();
    }
  }

  void drive() {
    if (!isVisible()) return;
    if (++attempts_ > kMaxAttempts) {
      gaveUp_ = true;
      return reject();
    }
    ui::Choice choice;
    choice.caption = "Directory Selector";
    choice.text = selector_.text();
    choice.items = selector_.items();
    choice.initial = selector_.selected < 0 ? 0 : selector_.selected;
    std::optional<int> answer = context_.autopilot->choose(choice);
    if (!answer && cancel_->isEnabled()) return cancel_->click();
    if (answer && *answer >= 0 && *answer < list_->count()) {
      list_->setCurrentRow(*answer);
    } else {
      list_->clearSelection();
    }
    ok_->click();
  }

  DialogContext context_;
  dropimport::DirectorySelector& selector_;
  QListWidget* list_;
  QCheckBox* keep_;
  QPushButton* ok_;
  QPushButton* cancel_;
  int attempts_ = 0;
  bool gaveUp_ = false;
};

class QtDropDialogs : public dropimport::DropDialogs {
 public:
  explicit QtDropDialogs(DialogContext context) : context_(std::move(context)) {}

  bool selectDirectory(dropimport::DirectorySelector& selector) override {
    SelectorDialog dialog(context_, selector);
    return dialog.run();
  }

  bool editFile(pages::CAddFileDlg& page) override {
    return showFilePage(context_, page, str(sid::PropertiesCaption),
                        "file:" + page.sourcePath + "\\" + page.sourceName);
  }

 private:
  DialogContext context_;
};

}  // namespace

std::unique_ptr<dropimport::DropDialogs> makeDropDialogs(const DialogContext& context) {
  return std::make_unique<QtDropDialogs>(context);
}

}  // namespace vandrel::builder::qt
