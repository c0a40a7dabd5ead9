// The gui backend: the port's dialogs as Qt widgets.
#include "ui/qt/qt_interaction.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>
#include <functional>
#include <map>

#include "platform/code_page.h"
#include "setup/window/bitmap_resources.h"
#include "setup/window/qt/qt_canvas.h"
#include "ui/answers.h"
#include "ui/dialog_text.h"

namespace vandrel::ui::qt {

namespace {

// The models' texts are in the Windows code page; Qt wants Unicode.
QString qs(const std::string& text) { return QString::fromStdString(platform::cp1252ToUtf8(text)); }
std::string fromQs(const QString& text) { return platform::utf8ToCp1252(text.toStdString()); }

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// Shows a modal dialog; once it is up, saves its screenshot and lets drive press its buttons.
int runModal(QDialog& dialog, const std::string& shotName, const std::function<void()>& drive) {
  QTimer::singleShot(0, &dialog, [&dialog, shotName, drive] {
    processScreenshots().save(dialog, shotName);
    if (drive) drive();
  });
  return dialog.exec();
}

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

QMessageBox::Icon boxIcon(Icon icon) {
  switch (icon) {
    case Icon::Question: return QMessageBox::Question;
    case Icon::Stop: return QMessageBox::Critical;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Information: return QMessageBox::Information;
    case Icon::None: break;
  }
  return QMessageBox::NoIcon;
}

// One of the programs' pictures as a label; null when the picture is missing.
QLabel* pictureLabel(int id, QWidget* parent) {
  std::span<const std::uint8_t> bytes = setup::window::bitmapResource(id);
  setup::window::DibImage picture;
  if (bytes.empty() || picture.read(bytes.data(), bytes.size()) != 0) return nullptr;
  auto* label = new QLabel(parent);
  label->setPixmap(QPixmap::fromImage(setup::window::toQImage(picture)));
  return label;
}

QPushButton* addButton(QBoxLayout* row, QDialog& dialog, const std::string& label) {
  auto* button = new QPushButton(qs(label), &dialog);
  row->addWidget(button);
  return button;
}

}  // namespace

// ---- screenshots ----

Screenshots::Screenshots(std::string folder, Program program)
    : folder_(std::move(folder)), program_(program == Program::Builder ? "corvix" : programName(program)) {}

std::string Screenshots::save(QWidget& window, const std::string& name) {
  if (folder_.empty()) return {};
  QDir dir(QString::fromStdString(folder_));
  if (!dir.exists() && !dir.mkpath(".")) {
    std::fprintf(stderr, "vandrel: cannot make the screenshot folder %s\n", folder_.c_str());
    folder_.clear();
    return {};
  }
  int highest = 0;
  static const QRegularExpression numbered("^(\\d+)-.*\\.png$");
  for (const QString& entry : dir.entryList({"*.png"}, QDir::Files)) {
    QRegularExpressionMatch match = numbered.match(entry);
    if (match.hasMatch()) highest = std::max(highest, match.captured(1).toInt());
  }
  QString file = dir.filePath(QString("%1-%2-%3.png")
                                  .arg(highest + 1, 3, 10, QChar('0'))
                                  .arg(QString::fromStdString(program_))
                                  .arg(QString::fromStdString(name)));
  QApplication::processEvents();
  if (!window.grab().save(file, "PNG")) {
    std::fprintf(stderr, "vandrel: cannot write the screenshot %s\n", file.toStdString().c_str());
    return {};
  }
  return file.toStdString();
}

Screenshots& processScreenshots() {
  static Screenshots shots;
  return shots;
}

// ---- the progress window ----

namespace {

// Dialog units to pixels with the dialog font's base units: the average width of the letters
// (a quarter of it per horizontal unit) and the font's height (an eighth per vertical unit).
class DialogUnits {
 public:
  explicit DialogUnits(const QWidget& dialog) {
    QFontMetrics metrics(dialog.font());
    QString letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    baseX_ = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    baseY_ = metrics.height();
  }
  QRect rect(int x, int y, int w, int h) const { return QRect(px(x), py(y), px(w), py(h)); }
  QSize size(int w, int h) const { return QSize(px(w), py(h)); }
  void place(QWidget* widget, int x, int y, int w, int h) const { widget->setGeometry(rect(x, y, w, h)); }

 private:
  int px(int units) const { return (units * baseX_ + 2) / 4; }
  int py(int units) const { return (units * baseY_ + 4) / 8; }
  int baseX_ = 6;
  int baseY_ = 13;
};

}  // namespace

// The copy-progress dialog (frame, the three lines, the bar, Cancel) and the uninstaller's
// window (picture, caption line, five disabled boxes, result line, bar, OK), each placed at
// its dialog-unit positions.
class QtInteraction::ProgressWindow : public QDialog {
 public:
  ProgressWindow(Program program, const Progress& model) {
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    DialogUnits du(*this);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 100);
    bar_->setTextVisible(program != Program::Uninstall);
    auto line = [this](bool wrap) {
      auto* label = new QLabel(this);
      label->setTextFormat(Qt::PlainText);
      label->setWordWrap(wrap);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      lines_.push_back(label);
      return label;
    };
    if (program == Program::Uninstall) {
      setFixedSize(du.size(287, 201));
      auto* frame = new QFrame(this);
      frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
      du.place(frame, 5, 5, 80, 160);
      if (QLabel* picture = pictureLabel(setup::window::bitmap_id::Picture, this)) {
        picture->move(frame->pos());
        picture->resize(picture->sizeHint());
      }
      du.place(line(true), 90, 5, 190, 30);
      const int rows[] = {45, 60, 75, 90, 105};
      for (std::size_t i = 0; i < model.boxLabels.size() && i < 5; ++i) {
        auto* box = new QCheckBox(qs(model.boxLabels[i]), this);
        box->setEnabled(false);
        du.place(box, 95, rows[i], i == 4 ? 175 : 130, 10);
        boxes_.push_back(box);
      }
      du.place(line(true), 90, 135, 190, 30);
      auto* separator = new QFrame(this);
      separator->setFrameStyle(QFrame::HLine | QFrame::Sunken);
      du.place(separator, 5, 172, 275, 1);
      du.place(bar_, 5, 180, 220, 15);
      ok_ = new QPushButton("OK", this);
      ok_->setEnabled(false);
      du.place(ok_, 230, 180, 50, 14);
    } else {
      setFixedSize(du.size(216, 98));
      auto* frame = new QFrame(this);
      frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
      du.place(frame, 5, 6, 205, 69);
      du.place(line(false), 10, 15, 195, 9);
      du.place(line(false), 15, 25, 186, 9);
      du.place(line(false), 10, 36, 195, 9);
      du.place(bar_, 10, 50, 194, 16);
      cancel_ = new QPushButton("&Cancel", this);
      du.place(cancel_, 82, 80, 50, 14);
      connect(cancel_, &QPushButton::clicked, this, [this] { cancelled_ = true; });
      cancel_->setVisible(model.cancellable);
    }
    show(model);
  }

  void show(const Progress& model) {
    setWindowTitle(qs(model.caption));
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      lines_[i]->setText(i < model.lines.size() ? qs(model.lines[i]) : QString());
    }
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
      boxes_[i]->setChecked(i < model.boxes.size() && model.boxes[i]);
    }
    bar_->setVisible(model.percent >= 0);
    if (model.percent >= 0) bar_->setValue(model.percent);
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
  std::vector<QLabel*> lines_;
  std::vector<QCheckBox*> boxes_;
  QProgressBar* bar_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* ok_ = nullptr;
  bool cancelled_ = false;
};

// ---- the backend ----

QtInteraction::QtInteraction(Program program, std::unique_ptr<ScriptedInteraction> autopilot)
    : program_(program), autopilot_(std::move(autopilot)) {}

QtInteraction::~QtInteraction() = default;

namespace {

// An icon of the style at the given dialog-unit position, 32 pixels square.
void placeIcon(QDialog& dialog, const DialogUnits& du, QStyle::StandardPixmap icon, int x, int y) {
  auto* label = new QLabel(&dialog);
  label->setPixmap(dialog.style()->standardIcon(icon).pixmap(32, 32));
  QRect at = du.rect(x, y, 0, 0);
  label->setGeometry(at.x(), at.y(), 32, 32);
}

QLabel* placeText(QDialog& dialog, const DialogUnits& du, const std::string& text, int x, int y, int w, int h) {
  auto* label = new QLabel(qs(text), &dialog);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  du.place(label, x, y, w, h);
  return label;
}

// The uninstaller's shared-file question: "&Yes", "&Yes to all" and "&No" in a row under the
// text (202 x 81 units); Escape and the close box answer No.
Answer threeButtonQuestion(const Message& message, ScriptedInteraction* autopilot) {
  QDialog dialog;
  dialog.setWindowTitle(qs(message.caption));
  dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  DialogUnits du(dialog);
  dialog.setFixedSize(du.size(202, 81));
  placeIcon(dialog, du, QStyle::SP_MessageBoxQuestion, 10, 5);
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
    auto* button = new QPushButton(key.label, &dialog);
    du.place(button, key.x, 60, 50, 14);
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
  QMessageBox box(boxIcon(message.icon), qs(message.caption), qs(message.text));
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

// A wizard page: its texts in reading order with each field where its label stands, then the
// fields no line names, then Back, Next or Finish, and Cancel.
class PageDialog : public QDialog {
 public:
  explicit PageDialog(const Page& page) : page_(page) {
    setWindowTitle(qs(page.caption));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 8, 8);
    // The first page shows the program's picture, the others the side picture.
    int picture = page.id == "first" ? setup::window::bitmap_id::Picture
                                     : setup::window::bitmap_id::SidePicture;
    if (QLabel* side = pictureLabel(picture, this)) {
      side->setAlignment(Qt::AlignTop);
      outer->addWidget(side);
    }
    auto* column = new QVBoxLayout;
    outer->addLayout(column, 1);
    widgets_.resize(page.fields.size());
    std::vector<bool> placed(page.fields.size(), false);
    std::vector<std::string> lines = splitLines(page.text);
    if (page.id == "licence" && !lines.empty()) {
      column->addWidget(wrapped(lines[0]));
      std::string licence;
      for (std::size_t i = 1; i < lines.size(); ++i) licence += (i > 1 ? "\n" : "") + lines[i];
      auto* text = new QPlainTextEdit(qs(licence), this);
      text->setReadOnly(true);
      column->addWidget(text, 1);
      lines.clear();
    }
    std::vector<std::string> consumed;  // item lines shown by a list or radio field
    for (const std::string& line : lines) {
      int field = fieldAt(line, placed);
      if (field >= 0) {
        placed[field] = true;
        addField(column, field);
        const Field& f = page.fields[field];
        if (f.kind == Field::Kind::Radio || f.kind == Field::Kind::CheckList) {
          consumed.insert(consumed.end(), f.items.begin(), f.items.end());
          // The line that placed a check list is its first item.
          if (f.kind == Field::Kind::CheckList) eraseOne(consumed, line);
        }
        continue;
      }
      if (eraseOne(consumed, line)) continue;
      QLabel* label = wrapped(line);
      // The notice page's welcome line stands in the bold font.
      if (page.id == "notice" && &line == &lines.front()) {
        QFont bold = label->font();
        bold.setWeight(QFont::Bold);
        label->setFont(bold);
      }
      column->addWidget(label);
    }
    for (std::size_t i = 0; i < page.fields.size(); ++i) {
      if (!placed[i]) addField(column, static_cast<int>(i));
    }
    column->addStretch();

    auto* row = new QHBoxLayout;
    row->addStretch();
    back_ = addButton(row, *this, "< &Back");
    back_->setEnabled(page.back);
    connect(back_, &QPushButton::clicked, this, [this] { leave(PageResult::Action::Back); });
    if (!page.next.empty()) {
      forward_ = addButton(row, *this, page.next);
      connect(forward_, &QPushButton::clicked, this, [this] { leave(PageResult::Action::Next); });
    }
    if (!page.finish.empty()) {
      forward_ = addButton(row, *this, page.finish);
      connect(forward_, &QPushButton::clicked, this, [this] { leave(PageResult::Action::Finish); });
    }
    if (forward_) forward_->setDefault(true);
    cancel_ = addButton(row, *this, page.cancel);
    connect(cancel_, &QPushButton::clicked, this, [this] { leave(PageResult::Action::Cancel); });
    column->addLayout(row);
    // The page's 262 x 161 units, grown where this font needs more room.
    setMinimumSize(DialogUnits(*this).size(262, 161));
  }

  // The page left by the window's close box or Escape is cancelled.
  void reject() override {
    if (!left_) result_.action = PageResult::Action::Cancel;
    left_ = true;
    QDialog::reject();
  }

  PageResult result() {
    result_.fields = page_.fields;
    for (std::size_t i = 0; i < page_.fields.size(); ++i) {
      Field& field = result_.fields[i];
      const Widgets& w = widgets_[i];
      if (w.edit) field.value = fromQs(w.edit->text());
      if (w.check) field.checked = w.check->isChecked();
      if (w.list) {
        field.itemChecked.assign(field.items.size(), false);
        for (int row = 0; row < w.list->count() && row < static_cast<int>(field.items.size()); ++row) {
          field.itemChecked[row] = w.list->item(row)->checkState() == Qt::Checked;
        }
      }
      for (std::size_t k = 0; k < w.radios.size(); ++k) {
        if (w.radios[k]->isChecked()) field.selected = static_cast<int>(k);
      }
    }
    return result_;
  }

  // Puts the fields as given into the widgets, then presses the button of the action.
  void drive(const PageResult& wanted) {
    for (std::size_t i = 0; i < wanted.fields.size() && i < widgets_.size(); ++i) {
      const Field& field = wanted.fields[i];
      Widgets& w = widgets_[i];
      if (w.edit) w.edit->setText(qs(field.value));
      if (w.check) w.check->setChecked(field.checked);
      if (w.list) {
        for (int row = 0; row < w.list->count(); ++row) {
          bool on = row < static_cast<int>(field.itemChecked.size()) && field.itemChecked[row];
          w.list->item(row)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
        }
      }
      if (field.selected >= 0 && field.selected < static_cast<int>(w.radios.size())) {
        w.radios[field.selected]->setChecked(true);
      }
    }
    switch (wanted.action) {
      case PageResult::Action::Back: back_->click(); break;
      case PageResult::Action::Next:
      case PageResult::Action::Finish:
        if (forward_) forward_->click();
        break;
      case PageResult::Action::Cancel: cancel_->click(); break;
      case PageResult::Action::PageButton:
        if (wanted.pageButton >= 0 && wanted.pageButton < static_cast<int>(actions_.size())) {
          actions_[wanted.pageButton]->click();
        }
        break;
    }
  }

 private:
  struct Widgets {
    QLineEdit* edit = nullptr;
    QCheckBox* check = nullptr;
    QListWidget* list = nullptr;
    std::vector<QRadioButton*> radios;
  };

  static bool eraseOne(std::vector<std::string>& list, const std::string& line) {
    for (auto it = list.begin(); it != list.end(); ++it) {
      if (*it == line) {
        list.erase(it);
        return true;
      }
    }
    return false;
  }

  QLabel* wrapped(const std::string& line) {
    auto* label = new QLabel(qs(line), this);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
  }

  // The field whose place a text line marks: a text field's label (alone, or followed by a
  // colon and its value), a radio group's question, a check list's first item.
  int fieldAt(const std::string& line, const std::vector<bool>& placed) const {
    for (std::size_t i = 0; i < page_.fields.size(); ++i) {
      if (placed[i]) continue;
      const Field& f = page_.fields[i];
      switch (f.kind) {
        case Field::Kind::Text:
          if (!f.label.empty() && (line == f.label || line.rfind(f.label + ":", 0) == 0)) return static_cast<int>(i);
          break;
        case Field::Kind::Radio:
          if (!f.label.empty() && line == f.label) return static_cast<int>(i);
          break;
        case Field::Kind::CheckList:
          if (!f.items.empty() && line == f.items[0]) return static_cast<int>(i);
          break;
        case Field::Kind::Check:
          if (line == f.label) return static_cast<int>(i);
          break;
      }
    }
    return -1;
  }

  void addField(QVBoxLayout* column, int index) {
    const Field& field = page_.fields[index];
    Widgets& w = widgets_[index];
    switch (field.kind) {
      case Field::Kind::Text: {
        w.edit = new QLineEdit(qs(field.value), this);
        if (!page_.actions.empty() && actions_.empty()) {
          // The folder box: the folder shown, changed through the page's buttons.
          auto* box = new QGroupBox(qs(field.label), this);
          auto* inside = new QHBoxLayout(box);
          w.edit->setReadOnly(true);
          w.edit->setFrame(false);
          inside->addWidget(w.edit, 1);
          for (std::size_t k = 0; k < page_.actions.size(); ++k) {
            auto* button = new QPushButton(qs(page_.actions[k]), box);
            connect(button, &QPushButton::clicked, this, [this, k] {
              result_.pageButton = static_cast<int>(k);
              leave(PageResult::Action::PageButton);
            });
            actions_.push_back(button);
            inside->addWidget(button);
          }
          column->addWidget(box);
        } else {
          auto* row = new QHBoxLayout;
          auto* label = new QLabel(qs(field.label), this);
          label->setBuddy(w.edit);
          label->setMinimumWidth(110);
          row->addWidget(label);
          row->addWidget(w.edit, 1);
          column->addLayout(row);
        }
        break;
      }
      case Field::Kind::Check:
        w.check = new QCheckBox(qs(field.label), this);
        w.check->setChecked(field.checked);
        column->addWidget(w.check);
        break;
      case Field::Kind::CheckList:
        if (!field.label.empty()) column->addWidget(wrapped(field.label));
        w.list = new QListWidget(this);
        for (std::size_t k = 0; k < field.items.size(); ++k) {
          auto* item = new QListWidgetItem(qs(field.items[k]), w.list);
          item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
          bool on = k < field.itemChecked.size() && field.itemChecked[k];
          item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
        }
        column->addWidget(w.list);
        break;
      case Field::Kind::Radio: {
        if (!field.label.empty()) column->addWidget(wrapped(field.label));
        auto* group = new QButtonGroup(this);
        for (std::size_t k = 0; k < field.items.size(); ++k) {
          auto* radio = new QRadioButton(qs(field.items[k]), this);
          radio->setChecked(static_cast<int>(k) == field.selected);
          group->addButton(radio);
          w.radios.push_back(radio);
          column->addWidget(radio);
        }
        break;
      }
    }
  }

  void leave(PageResult::Action action) {
    if (left_) return;
    left_ = true;
    result_.action = action;
    accept();
  }

  const Page& page_;
  std::vector<Widgets> widgets_;
  std::vector<QPushButton*> actions_;
  QPushButton* back_ = nullptr;
  QPushButton* forward_ = nullptr;
  QPushButton* cancel_ = nullptr;
  PageResult result_;
  bool left_ = false;
};

// A dialog with a text, a body widget and OK (and Cancel).
struct SimpleDialog {
  QDialog dialog;
  QVBoxLayout* layout;
  QPushButton* ok;
  QPushButton* cancel = nullptr;

  SimpleDialog(const std::string& caption, const std::string& text, bool withCancel)
      : layout(new QVBoxLayout(&dialog)) {
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
    ok = addButton(row, dialog, "OK");
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    if (withCancel) {
      cancel = addButton(row, dialog, "Cancel");
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
  // The machine's folders are Windows paths: the folder is typed or driven into its line.
  SimpleDialog d(prompt.caption, prompt.text, true);
  auto* edit = new QLineEdit(qs(prompt.initialFolder), &d.dialog);
  d.body->addWidget(edit);
  d.dialog.setMinimumWidth(420);
  std::function<void()> drive;
  if (autopilot_) {
    std::optional<std::string> wanted = autopilot_->folder(prompt);
    drive = [&d, edit, wanted] {
      if (!wanted) return d.cancel->click();
      // The line holds the folder; the dialog adds the dummy file name as it returns.
      std::string folder = *wanted;
      std::size_t slash = folder.rfind('\\');
      if (slash != std::string::npos) folder = folder.substr(0, slash + 1);
      edit->setText(qs(folder));
      d.ok->click();
    };
  }
  if (runModal(d.dialog, "folder", drive) != QDialog::Accepted) return std::nullopt;
  std::string folder = fromQs(edit->text());
  if (folder.empty()) return std::nullopt;
  return dummyFilePath(folder, prompt.dummyName);
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
  window->setWindowTitle(qs(message.caption));
  DialogUnits du(*window);
  window->setFixedSize(du.size(196, 87));
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
  dialog.setWindowTitle(qs(closing.caption));
  dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  DialogUnits du(dialog);
  dialog.setFixedSize(du.size(185, 128));
  placeIcon(dialog, du, QStyle::SP_MessageBoxInformation, 10, 10);
  bool twoTexts = !closing.upper.empty() || !closing.lower.empty();
  placeText(dialog, du, twoTexts ? closing.upper : closing.text, 40, 12, 136, 25);
  if (twoTexts) placeText(dialog, du, closing.lower, 10, 50, 163, 40);
  auto* ok = new QPushButton("&OK", &dialog);
  du.place(ok, 67, 104, 50, 14);
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

int* gArgc = nullptr;
char** gArgv = nullptr;
bool gActive = false;

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

void registerQtBackend(int& argc, char** argv) {
  gArgc = &argc;
  gArgv = argv;
  registerGuiBackend([](Program program, const InteractionSettings& settings) -> std::unique_ptr<Interaction> {
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
    return std::make_unique<QtInteraction>(program, autopilotFor(program, settings.answersFile));
  });
}

bool guiActive() { return gActive; }

}  // namespace vandrel::ui::qt

#if defined(__SANITIZE_ADDRESS__)
// Fontconfig, which Qt asks for the fonts, keeps what it read to the process's end; the leak
// checker of the sanitizer builds is told not to count it.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
#endif
