// The progress windows of the setup and the uninstaller as Qt widgets.
#include "ui/qt/progress_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "paint/bitmap_resources.h"
#include "ui/page_lines.h"
#include "ui/qt/gui_services.h"
#include "ui/qt/percent_bar_widget.h"

namespace vandrel::ui::qt {

ProgressWindow::ProgressWindow(Program program, const Progress& model) {
  if (program == Program::Uninstall) {
    buildRemovalWindow(model);
  } else {
    buildCopyWindow(model);
  }
  show(model);
}

void ProgressWindow::show(const Progress& model) {
  setWindowTitle(fromCodePage(model.caption));
  if (copying_) {
    showCopyLines(model.lines);
  } else {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      lines_[i]->setText(i < model.lines.size() ? fromCodePage(model.lines[i]) : QString());
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

bool ProgressWindow::showsText() const {
  for (const QLabel* label : lines_) {
    if (!label->text().isEmpty()) return true;
  }
  return false;
}

bool ProgressWindow::takeCancel() {
  bool pressed = cancelled_;
  cancelled_ = false;
  return pressed;
}

void ProgressWindow::waitForOk(bool pressOk) {
  ok_->setEnabled(true);
  ok_->setDefault(true);
  QEventLoop loop;
  QObject::connect(ok_, &QPushButton::clicked, &loop, &QEventLoop::quit);
  QObject::connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
  QTimer::singleShot(0, &loop, [this, pressOk] {
    processScreenshots().save(*this, "progress-done");
    if (pressOk) ok_->click();
  });
  loop.exec();
}

QLabel* ProgressWindow::line(int x, int y, int w, int h, bool wrap) {
  QLabel* label = placeText(*this, du_, "", x, y, w, h);
  label->setWordWrap(wrap);
  lines_.push_back(label);
  return label;
}

void ProgressWindow::buildRemovalWindow(const Progress& model) {
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

void ProgressWindow::buildCopyWindow(const Progress& model) {
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
void ProgressWindow::showCopyLines(const std::vector<std::string>& lines) {
  auto at = [&lines](std::size_t i) { return i < lines.size() ? lines[i] : std::string(); };
  auto [copying, source] = splitFirstWord(at(0));
  auto [to, destination] = splitFirstWord(at(2));
  copyingLabel_->setText(fromCodePage(copying));
  lines_[0]->setText(fromCodePage(source));
  lines_[1]->setText(fromCodePage(at(1)));
  toLabel_->setText(fromCodePage(to));
  lines_[2]->setText(fromCodePage(destination));
}

}  // namespace vandrel::ui::qt
