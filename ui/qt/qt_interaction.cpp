// The gui backend: the port's dialogs as Qt widgets.
#include "ui/qt/qt_interaction.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>
#include <functional>
#include <map>

#include "platform/file_system.h"
#include "paint/bitmap_resources.h"
#include "ui/answers.h"
#include "ui/dialog_text.h"
#include "ui/qt/dialog_kit.h"
#include "ui/qt/page_dialog.h"
#include "ui/qt/percent_bar_widget.h"
#include "ui/screenshot_names.h"

namespace vandrel::ui::qt {

namespace {

// Windows' labels of the message box buttons.
QString buttonLabel(Answer answer) {
  switch (answer) {
    case Answer::OK: return "OK";
    case Answer::Cancel: return "Cancel";
    case Answer::Yes: return "&Yes";
    case Answer::No: return "&No";
    case Answer::YesToAll: return "Yes to &All";
  }
  return "OK";
}

}  // namespace

// ---- screenshots ----

Screenshots::Screenshots(std::string folder, Program program)
    : folder_(std::move(folder)), program_(program == Program::Builder ? "corvix" : programName(program)) {}

std::string Screenshots::save(QWidget& window, const std::string& name) {
  if (folder_.empty()) return {};
  std::string file = nextScreenshotPath(folder_, program_, name, "png");
  if (file.empty()) {
    folder_.clear();
    return {};
  }
  QApplication::processEvents();
  if (!window.grab().save(QString::fromStdString(file), "PNG")) {
    std::fprintf(stderr, "vandrel: cannot write the screenshot %s\n", file.c_str());
    return {};
  }
  return file;
}

Screenshots& processScreenshots() {
  static Screenshots shots;
  return shots;
}

// ---- the progress window ----

// The copy-progress dialog (frame, "Copying" and the source, the middle line, "to" and the
// destination, the percentage bar, Cancel) and the uninstaller's window (picture, caption
// line, five disabled boxes, result line, bar, OK), each control at its dialog-unit position.
class QtInteraction::ProgressWindow : public QDialog {
 public:
  ProgressWindow(Program program, const Progress& model) {
    if (program == Program::Uninstall) {
      buildRemovalWindow(model);
    } else {
      buildCopyWindow(model);
    }
    show(model);
  }

  void show(const Progress& model) {
    setWindowTitle(qs(model.caption));
    if (copying_) {
      showCopyLines(model.lines);
    } else {
      for (std::size_t i = 0; i < lines_.size(); ++i) {
        lines_[i]->setText(i < model.lines.size() ? qs(model.lines[i]) : QString());
      }
    }
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
      boxes_[i]->setChecked(i < model.boxes.size() && model.boxes[i]);
    }
    QWidget* bar = percentBar_ ? static_cast<QWidget*>(percentBar_) : progressBar_;
    bar->setVisible(model.percent >= 0);
    if (model.percent >= 0) {
      if (percentBar_) percentBar_->setPos(model.percent);
      if (progressBar_) progressBar_->setValue(model.percent);
    }
    QDialog::show();
    QApplication::processEvents();
  }

  // Something to see: a line with text (the copying shows empty lines until its first file).
  bool showsText() const {
    for (const QLabel* label : lines_) {
      if (!label->text().isEmpty()) return true;
    }
    return false;
  }

  bool takeCancel() {
    bool pressed = cancelled_;
    cancelled_ = false;
    return pressed;
  }
  QPushButton* cancelButton() const { return cancel_; }
  QPushButton* okButton() const { return ok_; }

 private:
  QLabel* line(int x, int y, int w, int h, bool wrap) {
    QLabel* label = placeText(*this, du_, "", x, y, w, h);
    label->setWordWrap(wrap);
    lines_.push_back(label);
    return label;
  }

  void buildRemovalWindow(const Progress& model) {
    setUpDialog(*this, model.caption, du_, 287, 201);
    placePicture(*this, du_, paint::bitmap_id::Picture, 5, 5, 80, 160, true);
    line(90, 5, 190, 30, true);  // the caption line
    const int rows[] = {45, 60, 75, 90, 105};
    for (std::size_t i = 0; i < model.boxLabels.size() && i < 5; ++i) {
      auto* box = new QCheckBox(this);
      box->setEnabled(false);
      du_.place(box, 95, rows[i], 10, 10);
      boxes_.push_back(box);
      placeText(*this, du_, model.boxLabels[i], 110, rows[i], i == 4 ? 160 : 115, 10);
    }
    line(90, 135, 190, 30, true);  // the result line
    auto* separator = new QFrame(this);
    separator->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    du_.place(separator, 5, 172, 275, 1);
    progressBar_ = new QProgressBar(this);
    progressBar_->setRange(0, 100);
    progressBar_->setTextVisible(false);
    du_.place(progressBar_, 5, 180, 220, 15);
    ok_ = placeButton(*this, du_, "OK", 230, 180);
    ok_->setEnabled(false);
  }

  void buildCopyWindow(const Progress& model) {
    copying_ = true;
    setUpDialog(*this, model.caption, du_, 216, 98);
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    du_.place(frame, 5, 6, 205, 69);
    copyingLabel_ = placeText(*this, du_, "", 10, 15, 30, 9);
    line(46, 15, 154, 9, false);  // the source
    line(15, 25, 186, 9, false);  // the middle line
    toLabel_ = placeText(*this, du_, "", 10, 36, 30, 9);
    line(46, 35, 155, 9, false);  // the destination
    percentBar_ = new PercentBarWidget(this);
    du_.place(percentBar_, 10, 50, 194, 16);
    cancel_ = placeButton(*this, du_, "&Cancel", 82, 80);
    connect(cancel_, &QPushButton::clicked, this, [this] { cancelled_ = true; });
    cancel_->setVisible(model.cancellable);
  }

  // The copy model's lines are "Copying <source>", the middle line and "to <destination>":
  // the word before the first blank goes to its label, the rest to the line beside it; a
  // label shows only while its line has text.
  void showCopyLines(const std::vector<std::string>& lines) {
    auto at = [&lines](std::size_t i) { return i < lines.size() ? lines[i] : std::string(); };
    auto [copying, source] = splitFirstWord(at(0));
    auto [to, destination] = splitFirstWord(at(2));
    copyingLabel_->setText(qs(copying));
    lines_[0]->setText(qs(source));
    lines_[1]->setText(qs(at(1)));
    toLabel_->setText(qs(to));
    lines_[2]->setText(qs(destination));
  }

  DialogUnits du_;
  bool copying_ = false;
  std::vector<QLabel*> lines_;
  QLabel* copyingLabel_ = nullptr;
  QLabel* toLabel_ = nullptr;
  std::vector<QCheckBox*> boxes_;
  PercentBarWidget* percentBar_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* ok_ = nullptr;
  bool cancelled_ = false;
};

// ---- the backend ----

QtInteraction::QtInteraction(Program program, std::shared_ptr<ScriptedInteraction> autopilot)
    : program_(program), autopilot_(std::move(autopilot)) {}

QtInteraction::~QtInteraction() = default;

namespace {

// The uninstaller's shared-file question: "&Yes", "&Yes to all" and "&No" in a row under the
// text (202 x 81 units); Escape and the close box answer No.
Answer threeButtonQuestion(const Message& message, ScriptedInteraction* autopilot) {
  QDialog dialog;
  DialogUnits du;
  setUpDialog(dialog, message.caption, du, 202, 81);
  placeIcon(dialog, du, ownIcon(paint::icon_id::RemovalQuestion), 10, 5);
  std::string text = message.text;
  if (!message.detail.empty()) text += "\n" + message.detail;
  placeText(dialog, du, text, 40, 10, 155, 45);
  Answer answer = Answer::No;
  struct Key {
    const char* label;
    Answer answer;
    int x;
  };
  std::map<Answer, QPushButton*> buttons;
  for (const Key& key : {Key{"&Yes", Answer::Yes, 35}, Key{"&Yes to all", Answer::YesToAll, 91},
                         Key{"&No", Answer::No, 145}}) {
    QPushButton* button = placeButton(dialog, du, key.label, key.x, 60);
    QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, &answer, a = key.answer] {
      answer = a;
      dialog.accept();
    });
    buttons[key.answer] = button;
  }
  buttons[Answer::Yes]->setDefault(true);
  std::function<void()> drive;
  if (autopilot) {
    Answer wanted = autopilot->message(message);
    drive = [&buttons, wanted] {
      if (buttons.count(wanted)) buttons[wanted]->click();
    };
  }
  runModal(dialog, "question", drive);
  return answer;
}

}  // namespace

Answer QtInteraction::message(const Message& message) {
  if (message.buttons == Buttons::YesYesToAllNo) return threeButtonQuestion(message, autopilot_.get());
  QMessageBox box(QMessageBox::NoIcon, qs(message.caption), qs(message.text));
  box.setFont(dialogFont());
  box.setIconPixmap(messageIcon(message.icon, box));
  if (!message.detail.empty()) box.setInformativeText(qs(message.detail));
  std::map<QAbstractButton*, Answer> answers;
  std::vector<Answer> buttons = buttonsOf(message.buttons);
  Answer preset = defaultAnswer(message);
  for (Answer answer : buttons) {
    QPushButton* button = box.addButton(buttonLabel(answer), QMessageBox::AcceptRole);
    answers[button] = answer;
    if (answer == preset) box.setDefaultButton(button);
    if (answer == Answer::Cancel || (buttons.size() == 1)) box.setEscapeButton(button);
  }
  std::function<void()> drive;
  if (autopilot_) {
    Answer wanted = autopilot_->message(message);
    drive = [&box, &answers, wanted] {
      for (auto& [button, answer] : answers) {
        if (answer == wanted) return button->click();
      }
    };
  }
  QTimer::singleShot(0, &box, [&box, &drive, question = isQuestion(message)] {
    processScreenshots().save(box, question ? "question" : "message");
    if (drive) drive();
  });
  box.exec();
  auto chosen = answers.find(box.clickedButton());
  if (chosen != answers.end()) return chosen->second;
  // Closed without a button: Cancel where there is one, else the default.
  return hasButton(message, Answer::Cancel) ? Answer::Cancel : preset;
}

namespace {

// A dialog with a text, a body widget and OK (and Cancel).
struct SimpleDialog {
  QDialog dialog;
  QVBoxLayout* layout;
  QPushButton* ok;
  QPushButton* cancel = nullptr;

  SimpleDialog(const std::string& caption, const std::string& text, bool withCancel)
      : layout(new QVBoxLayout(&dialog)) {
    dialog.setFont(dialogFont());
    dialog.setWindowTitle(qs(caption));
    dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    if (!text.empty()) {
      auto* label = new QLabel(qs(text), &dialog);
      label->setWordWrap(true);
      label->setTextFormat(Qt::PlainText);
      layout->addWidget(label);
    }
    body = new QVBoxLayout;
    layout->addLayout(body, 1);
    auto* row = new QHBoxLayout;
    row->addStretch();
    ok = new QPushButton("OK", &dialog);
    row->addWidget(ok);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    if (withCancel) {
      cancel = new QPushButton("Cancel", &dialog);
      row->addWidget(cancel);
      QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    }
    layout->addLayout(row);
  }
  QVBoxLayout* body;
};

}  // namespace

PageResult QtInteraction::page(const Page& page) {
  PageDialog dialog(page);
  std::function<void()> drive;
  if (autopilot_) {
    PageResult wanted = autopilot_->page(page);
    drive = [&dialog, wanted] { dialog.drive(wanted); };
  }
  runModal(dialog, "page-" + page.id, drive);
  return dialog.result();
}

std::optional<std::string> QtInteraction::folder(const FolderPrompt& prompt) {
  FolderDialog dialog(prompt, folders_);
  std::function<void()> drive;
  if (autopilot_) {
    std::optional<std::string> wanted = autopilot_->folder(prompt);
    drive = [&dialog, wanted] {
      auto* buttons = dialog.findChild<QDialogButtonBox*>();
      if (!wanted) {
        if (QPushButton* cancel = buttons ? buttons->button(QDialogButtonBox::Cancel) : nullptr) return cancel->click();
        return dialog.reject();
      }
      // The answer is a folder, a backslash and the dummy name: the dialog opens the folder.
      std::size_t slash = wanted->rfind('\\');
      dialog.openFolder(slash == std::string::npos ? *wanted : wanted->substr(0, slash + 1));
      QPushButton* ok = buttons ? buttons->button(QDialogButtonBox::Open) : nullptr;
      if (ok && ok->isEnabled()) return ok->click();
      dialog.accept();
    };
  }
  if (runModal(dialog, "folder", drive) != QDialog::Accepted || dialog.chosen().empty()) return std::nullopt;
  return dialog.chosen();
}

std::optional<int> QtInteraction::choose(const Choice& choice) {
  if (choice.items.empty()) return std::nullopt;
  SimpleDialog d(choice.caption, choice.text, true);
  auto* list = new QListWidget(&d.dialog);
  for (const std::string& item : choice.items) list->addItem(qs(item));
  int count = static_cast<int>(choice.items.size());
  list->setCurrentRow(choice.initial >= 0 && choice.initial < count ? choice.initial : 0);
  d.body->addWidget(list);
  QObject::connect(list, &QListWidget::itemDoubleClicked, &d.dialog, &QDialog::accept);
  std::function<void()> drive;
  if (autopilot_) {
    std::optional<int> wanted = autopilot_->choose(choice);
    drive = [&d, list, wanted] {
      if (!wanted) return d.cancel->click();
      list->setCurrentRow(*wanted);
      d.ok->click();
    };
  }
  if (runModal(d.dialog, "choice", drive) != QDialog::Accepted) return std::nullopt;
  int row = list->currentRow();
  if (row < 0 || row >= count) return std::nullopt;
  return row;
}

void QtInteraction::diskMessage(const DiskMessage& message) {
  // A window beside the copying, left open until the copying ends.
  auto window = std::make_unique<QDialog>();
  DialogUnits du;
  setUpDialog(*window, message.caption, du, 196, 87);
  auto* text = new QPlainTextEdit(qs(message.text), window.get());
  text->setReadOnly(true);
  text->setTextInteractionFlags(Qt::TextSelectableByMouse);  // no caret
  du.place(text, 5, 5, 185, 77);
  // The bottom-right corner of the screen, 20 pixels from its edges.
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect area = screen->availableGeometry();
    window->move(area.right() - 20 - window->width(), area.bottom() - 20 - window->height());
  }
  window->show();
  QApplication::processEvents();
  processScreenshots().save(*window, "disk-message");
  diskMessage_ = std::move(window);
}

void QtInteraction::closing(const Closing& closing) {
  if (progress_ && progress_->okButton()) {
    // The uninstaller's window itself ends the removal: its result line is shown, OK waits.
    QPushButton* ok = progress_->okButton();
    ok->setEnabled(true);
    ok->setDefault(true);
    QEventLoop loop;
    QObject::connect(ok, &QPushButton::clicked, &loop, &QEventLoop::quit);
    QObject::connect(progress_.get(), &QDialog::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(0, &loop, [this, ok] {
      processScreenshots().save(*progress_, "progress-done");
      if (autopilot_) ok->click();
    });
    loop.exec();
    return;
  }
  // The setup's closing dialog (185 x 128 units): the icon, the upper text beside it, the
  // lower text below, OK.
  QDialog dialog;
  DialogUnits du;
  setUpDialog(dialog, closing.caption, du, 185, 128);
  placeIcon(dialog, du, ownIcon(paint::icon_id::Setup), 10, 10);
  bool twoTexts = !closing.upper.empty() || !closing.lower.empty();
  placeText(dialog, du, twoTexts ? closing.upper : closing.text, 40, 12, 136, 25);
  if (twoTexts) placeText(dialog, du, closing.lower, 10, 50, 163, 40);
  QPushButton* ok = placeButton(dialog, du, "&OK", 67, 104);
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  std::function<void()> drive;
  if (autopilot_) drive = [ok] { ok->click(); };
  runModal(dialog, "closing", drive);
}

void QtInteraction::beep() { QApplication::beep(); }

void QtInteraction::progress(const Progress& progress) {
  if (!progress_) {
    progress_ = std::make_unique<ProgressWindow>(program_, progress);
    progressSaved_ = false;
  } else {
    progress_->show(progress);
  }
  // Saved once, as soon as it shows some text.
  if (!progressSaved_ && progress_->showsText()) {
    processScreenshots().save(*progress_, program_ == Program::Uninstall ? "progress" : "copy-progress");
    progressSaved_ = true;
  }
  if (autopilot_) {
    autopilot_->progress(progress);
    if (autopilot_->cancelPressed() && progress_->cancelButton()) progress_->cancelButton()->click();
  }
}

bool QtInteraction::cancelPressed() {
  if (!progress_) return false;
  QApplication::processEvents();
  return progress_->takeCancel();
}

void QtInteraction::endProgress() {
  progress_.reset();
  diskMessage_.reset();
  QApplication::processEvents();
}

// ---- registration ----

namespace {

// The machine's folders: Windows paths through its file system, the current folder first.
FolderMapping machineFolderMapping(platform::FileSystem& files) {
  FolderMapping mapping;
  mapping.toHost = [&files](const std::string& path) { return files.hostPath(path); };
  mapping.toWindows = [&files](const std::filesystem::path& host) { return files.windowsPath(host); };
  mapping.currentFolder = [&files] { return files.currentDirectory(); };
  return mapping;
}

int* gArgc = nullptr;
char** gArgv = nullptr;
bool gActive = false;
std::shared_ptr<ScriptedInteraction> gAutopilot;

std::unique_ptr<ScriptedInteraction> autopilotFor(Program program, const std::string& path) {
  if (path.empty()) return nullptr;
  std::string error;
  std::optional<Answers> answers = Answers::fromFile(path, &error);
  if (!answers) {
    std::fprintf(stderr, "%s: %s; every question takes its default answer.\n", commandName(program),
                 error.c_str());
    answers = Answers();
  }
  return std::make_unique<ScriptedInteraction>(std::move(*answers), stderr, commandName(program));
}

// Qt's own notes that say nothing about the run (the offscreen platform's missing window
// sizing, the runtime folder's default) are dropped; everything else goes to standard error.
void qtMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtDebugMsg || text.contains("propagateSizeHints") || text.contains("XDG_RUNTIME_DIR")) return;
  (void)context;
  std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

}  // namespace

void registerQtBackend(int& argc, char** argv, platform::FileSystem* files) {
  gArgc = &argc;
  gArgv = argv;
  registerGuiBackend([files](Program program, const InteractionSettings& settings) -> std::unique_ptr<Interaction> {
    if (!displayAvailable()) {
      std::fprintf(stderr, "%s: no display (DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM); using the console.\n",
                   commandName(program));
      return nullptr;
    }
    // The application stays to the process's end: destroyed among the exit handlers, after
    // Qt's own globals, it would crash.
    [[maybe_unused]] static QApplication* application = nullptr;
    if (!QApplication::instance()) {
      qInstallMessageHandler(qtMessages);
      application = new QApplication(*gArgc, gArgv);
    }
    processScreenshots() = Screenshots(settings.screenshotFolder, program);
    gActive = true;
    gAutopilot = autopilotFor(program, settings.answersFile);
    auto gui = std::make_unique<QtInteraction>(program, gAutopilot);
    if (files) gui->setFolderMapping(machineFolderMapping(*files));
    return gui;
  });
}

bool guiActive() { return gActive; }

ScriptedInteraction* processAutopilot() { return gAutopilot.get(); }

}  // namespace vandrel::ui::qt

#if defined(__SANITIZE_ADDRESS__)
// Fontconfig, which Qt asks for the fonts, keeps what it read to the process's end; the leak
// checker of the sanitizer builds is told not to count it.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
#endif
