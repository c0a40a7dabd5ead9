// The sheet frame, the named-field binding and the choosers.
#include "builder/qt/sheet_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QRadioButton>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeView>
#include <QScrollBar>
#include <QStyle>
#include <QAbstractSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

#include "builder/strings/builder_strings.h"
#include "ui/qt/gui_services.h"

namespace vandrel::builder::qt {

// ---- colour swatch ----

ColourSwatch::ColourSwatch(QWidget* parent, std::function<std::optional<std::uint32_t>(std::uint32_t)> choose)
    : QWidget(parent), choose_(std::move(choose)) {
  setMinimumSize(40, 20);
}

void ColourSwatch::setColour(std::uint32_t colour) {
  colour_ = colour & 0x00ffffffu;
  update();
}

void ColourSwatch::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QColor fill(int(colour_ & 0xff), int((colour_ >> 8) & 0xff), int((colour_ >> 16) & 0xff));
  painter.fillRect(rect(), fill);
  painter.setPen(palette().color(QPalette::Dark));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ColourSwatch::mouseDoubleClickEvent(QMouseEvent*) {
  if (!choose_) return;
  if (std::optional<std::uint32_t> chosen = choose_(colour_)) {
    setColour(*chosen);
    if (changed) changed(colour_);
  }
}

// ---- field binding ----

namespace {

ui::Field field(ui::Field::Kind kind, const std::string& name, const std::string& label) {
  ui::Field f;
  f.kind = kind;
  f.name = name;
  f.label = label;
  return f;
}

int listSelection(QListWidget* list) {
  return list->selectedItems().isEmpty() ? -1 : list->currentRow();
}

}  // namespace

void FieldBinding::text(const std::string& name, const std::string& label, QLineEdit* edit) {
  edit->setObjectName(fromCodePage(name));
  bound_.push_back({[=] {
                      ui::Field f = field(ui::Field::Kind::Text, name, label);
                      f.value = toCodePage(edit->text());
                      return f;
                    },
                    [=](const ui::Field& f) { edit->setText(fromCodePage(f.value)); }});
}

void FieldBinding::text(const std::string& name, const std::string& label, QComboBox* combo) {
  combo->setObjectName(fromCodePage(name));
  bound_.push_back({[=] {
                      ui::Field f = field(ui::Field::Kind::Text, name, label);
                      f.value = toCodePage(combo->currentText());
                      return f;
                    },
                    [=](const ui::Field& f) {
                      // A typed text that names a list item chooses that item.
                      int row = combo->findText(fromCodePage(f.value));
                      if (row >= 0) {
                        combo->setCurrentIndex(row);
                      } else {
                        combo->setCurrentIndex(-1);
                        combo->setEditText(fromCodePage(f.value));
                      }
                    }});
}

void FieldBinding::colour(const std::string& name, const std::string& label, ColourSwatch* swatch) {
  swatch->setObjectName(fromCodePage(name));
  bound_.push_back({[=] {
                      ui::Field f = field(ui::Field::Kind::Text, name, label);
                      f.value = std::to_string(swatch->colour());
                      return f;
                    },
                    [=](const ui::Field& f) {
                      char* end = nullptr;
                      unsigned long v = std::strtoul(f.value.c_str(), &end, 0);
                      if (!f.value.empty() && end && *end == '\0' && v <= 0xffffffu && v != swatch->colour()) {
                        swatch->setColour(std::uint32_t(v));
                        if (swatch->changed) swatch->changed(swatch->colour());
                      }
                    }});
}

void FieldBinding::check(const std::string& name, const std::string& label, QCheckBox* box) {
  box->setObjectName(fromCodePage(name));
  bound_.push_back({[=] {
                      ui::Field f = field(ui::Field::Kind::Check, name, label);
                      f.checked = box->isChecked();
                      return f;
                    },
                    [=](const ui::Field& f) { box->setChecked(f.checked); }});
}

void FieldBinding::chosen(const std::string& name, const std::string& label,
                          std::function<std::string()> current, std::function<void(const std::string&)> choose) {
  bound_.push_back({[=] {
                      ui::Field f = field(ui::Field::Kind::Text, name, label);
                      f.value = current();
                      return f;
                    },
                    [=](const ui::Field& f) {
                      if (!f.value.empty() && f.value != current()) choose(f.value);
                    }});
}

void FieldBinding::radios(const std::string& name, const std::string& label,
                          std::vector<QAbstractButton*> buttons) {
  for (std::size_t i = 0; i < buttons.size(); ++i) buttons[i]->setObjectName(fromCodePage(name + std::to_string(i)));
  bound_.push_back({[=] {
                      ui::Field f = field(ui::Field::Kind::Radio, name, label);
                      f.selected = -1;
                      for (std::size_t i = 0; i < buttons.size(); ++i) {
                        f.items.push_back(toCodePage(buttons[i]->text()));
                        if (buttons[i]->isChecked()) f.selected = int(i);
                      }
                      return f;
                    },
                    [=](const ui::Field& f) {
                      if (f.selected >= 0 && f.selected < int(buttons.size())) buttons[f.selected]->setChecked(true);
                    }});
}

void FieldBinding::number(const std::string& name, const std::string& label, QSpinBox* spin) {
  spin->setObjectName(fromCodePage(name));
  bound_.push_back({[=] {
                      ui::Field f = field(ui::Field::Kind::Text, name, label);
                      f.value = std::to_string(spin->value());
                      return f;
                    },
                    [=](const ui::Field& f) {
                      char* end = nullptr;
                      long v = std::strtol(f.value.c_str(), &end, 10);
                      if (!f.value.empty() && end && *end == '\0') spin->setValue(int(std::clamp<long>(v, spin->minimum(), spin->maximum())));
                    }});
}

void FieldBinding::choice(const std::string& name, const std::string& label, QComboBox* combo,
                          const std::string& none) {
  combo->setObjectName(fromCodePage(name));
  int shift = none.empty() ? 0 : 1;
  bound_.push_back({[=] {
                      ui::Field f = field(ui::Field::Kind::Radio, name, label);
                      if (shift) f.items.push_back(none);
                      for (int i = 0; i < combo->count(); ++i) f.items.push_back(toCodePage(combo->itemText(i)));
                      f.selected = combo->currentIndex() + shift;
                      return f;
                    },
                    [=](const ui::Field& f) {
                      int row = f.selected - shift;
                      if (row >= -1 && row < combo->count()) combo->setCurrentIndex(row);
                    }});
}

void FieldBinding::choice(const std::string& name, const std::string& label, QListWidget* list) {
  list->setObjectName(fromCodePage(name));
  bound_.push_back({[=] {
                      ui::Field f = field(ui::Field::Kind::Radio, name, label);
                      for (int i = 0; i < list->count(); ++i) f.items.push_back(toCodePage(list->item(i)->text()));
                      f.selected = listSelection(list);
                      return f;
                    },
                    [=](const ui::Field& f) {
                      if (f.selected >= 0 && f.selected < list->count()) {
                        list->setCurrentRow(f.selected);
                      } else if (f.selected == -1) {
                        list->clearSelection();
                        list->setCurrentRow(-1);
                      }
                    }});
}

void FieldBinding::choice(const std::string& name, const std::string& label, QTreeWidget* list) {
  list->setObjectName(fromCodePage(name));
  bound_.push_back({[=] {
                      ui::Field f = field(ui::Field::Kind::Radio, name, label);
                      for (int i = 0; i < list->topLevelItemCount(); ++i) {
                        f.items.push_back(toCodePage(list->topLevelItem(i)->text(0)));
                      }
                      f.selected = list->selectedItems().isEmpty()
                                       ? -1
                                       : list->indexOfTopLevelItem(list->currentItem());
                      return f;
                    },
                    [=](const ui::Field& f) {
                      if (f.selected >= 0 && f.selected < list->topLevelItemCount()) {
                        list->setCurrentItem(list->topLevelItem(f.selected));
                      } else if (f.selected == -1) {
                        list->clearSelection();
                      }
                    }});
}

std::vector<ui::Field> FieldBinding::fields() const {
  std::vector<ui::Field> out;
  for (const Bound& b : bound_) out.push_back(b.read());
  return out;
}

namespace {

bool sameAnswer(const ui::Field& a, const ui::Field& b) {
  return a.value == b.value && a.checked == b.checked && a.selected == b.selected;
}

}  // namespace

void FieldBinding::drive(const std::vector<ui::Field>& answer, const std::vector<ui::Field>& asked) const {
  for (const Bound& b : bound_) {
    std::string name = b.read().name;
    auto was = std::find_if(asked.begin(), asked.end(), [&](const ui::Field& f) { return f.name == name; });
    for (const ui::Field& f : answer) {
      // A field the answer left as asked keeps what the controls show now: an earlier field
      // (a file chosen) may have changed it.
      if (f.name == name && (was == asked.end() || !sameAnswer(f, *was))) b.write(f);
    }
  }
}

// ---- the sheet ----

SheetDialog::SheetDialog(const DialogContext& context, const std::string& caption, std::string id, std::string shot,
                         Frame frame)
    : QDialog(context.parent), context_(context), id_(std::move(id)), shot_(std::move(shot)) {
  setWindowTitle(fromCodePage(caption));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  column_ = new QVBoxLayout(this);
  if (frame == Frame::Box) return;
  tabs_ = new QTabWidget(this);
  column_->addWidget(tabs_, 1);
  auto* row = new QHBoxLayout;
  row->addStretch();
  ok_ = new QPushButton("OK", this);
  ok_->setDefault(true);
  cancel_ = new QPushButton("Cancel", this);
  row->addWidget(ok_);
  row->addWidget(cancel_);
  column_->addLayout(row);
  connect(ok_, &QPushButton::clicked, this, &SheetDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &SheetDialog::reject);
  // Ctrl+Tab and Ctrl+Shift+Tab turn the pages, wherever the focus is in the sheet.
  auto turn = [this](int step) {
    int count = tabs_->count();
    if (count < 2) return;
    tabs_->setCurrentIndex((tabs_->currentIndex() + step + count) % count);
  };
  auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
  connect(next, &QShortcut::activated, this, [turn] { turn(1); });
  for (QKeySequence keys : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)}) {
    auto* previous = new QShortcut(keys, this);
    connect(previous, &QShortcut::activated, this, [turn] { turn(-1); });
  }
  // A page that comes to the front puts the focus on its first field.
  connect(tabs_, &QTabWidget::currentChanged, this, [this] {
    if (isVisible()) focusFirstField();
  });
}

void SheetDialog::focusFirstField() {
  QWidget* area = tabs_ ? tabs_->currentWidget() : this;

  if (!area) return;
  // The focus chain runs in the order the controls were made, which is their reading order.
  for (QWidget* w = area->nextInFocusChain(); w && w != area; w = w->nextInFocusChain()) {
    if (!area->isAncestorOf(w)) continue;
    if (!(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled() || !w->isVisibleTo(this)) continue;
    if (auto* edit = qobject_cast<QLineEdit*>(w); edit && edit->isReadOnly()) continue;
    if (qobject_cast<QTabBar*>(w)) continue;
    w->setFocus(Qt::TabFocusReason);
    return;
  }
}

void SheetDialog::setButtons(QPushButton* ok, QPushButton* cancel) {
  ok_ = ok;
  cancel_ = cancel;
}

QWidget* SheetDialog::addPage(const std::string& title) {
  auto* page = new QWidget(tabs_);
  tabs_->addTab(page, fromCodePage(title));
  return page;
}

void SheetDialog::showPage(int index) {
  if (tabs_ && index >= 0 && index < tabs_->count()) tabs_->setCurrentIndex(index);
}

bool SheetDialog::run() {
  QTimer::singleShot(0, this, [this] {
    std::string name = shot_;
    if (pageInShotName && tabs_ && tabs_->count() > 1) {
      QString page = tabs_->tabText(tabs_->currentIndex()).remove('&').toLower();
      page.replace(QRegularExpression("[^a-z0-9]+"), "-");
      name += "-" + page.toStdString();
    }
    ui::qt::processScreenshots().save(*this, name);
    if (context_.autopilot) drive();
  });
  bool ok = exec() == QDialog::Accepted;
  if (context_.autopilot) context_.autopilot->windowClosed();
  return ok;
}

void SheetDialog::showEvent(QShowEvent* event) {
  fitToTexts();
  // Before the dialog gives the focus to the first control of its chain (the tabs).
  focusFirstField();
  QDialog::showEvent(event);
}

void SheetDialog::fitToTexts() {
  for (QLineEdit* edit : findChildren<QLineEdit*>()) {
    if (qobject_cast<QAbstractSpinBox*>(edit->parentWidget()) || qobject_cast<QComboBox*>(edit->parentWidget())) {
      continue;
    }
    showsWholeValue(edit);
  }
  // The size the texts need, even beyond the share of the screen a window is given by
  // default; wrapped texts get the height they need at that width.
  QSize wanted = sizeHint().expandedTo(minimumSizeHint());
  if (layout() && layout()->hasHeightForWidth()) {
    wanted.setHeight(std::max(wanted.height(), layout()->totalHeightForWidth(wanted.width())));
  }
  resize(size().expandedTo(wanted));
}

ui::Page SheetDialog::describe() const {
  ui::Page page;
  page.id = id_;
  page.caption = toCodePage(windowTitle());
  page.text = text;
  page.fields = binding_.fields();
  page.next.clear();
  page.finish = "OK";
  return page;
}

void SheetDialog::drive() {
  if (!isVisible()) return;
  ui::Page asked = describe();
  ui::PageResult wanted = context_.autopilot->page(asked);
  binding_.drive(wanted.fields, asked.fields);
  if (wanted.action == ui::PageResult::Action::Cancel) {
    if (cancel_) cancel_->click();
    else reject();
    return;
  }
  if (afterFill) afterFill(wanted);
  if (ok_) ok_->click();
  else accept();
}

void SheetDialog::accept() {
  if (onOk && !onOk()) {
    // Refused: the sheet stays open; the answers are asked again (and give up on repeats).
    if (context_.autopilot) QTimer::singleShot(0, this, [this] { drive(); });
    return;
  }
  QDialog::accept();
}

void SheetDialog::reject() {
  if (onCancel) onCancel();
  QDialog::reject();
}

void SheetDialog::refuse(const pages::Check& check) {
  if (context_.ui) {
    pages::showRefusal(*context_.ui, check);
  } else if (check.kind == pages::Check::Kind::Beep || check.kind == pages::Check::Kind::Message) {
    QApplication::beep();
  }
}

void showsWholeValue(QLineEdit* edit) {
  if (edit->property("showsWholeValue").toBool()) return;
  edit->setProperty("showsWholeValue", true);
  // A value the field cannot show whole is given whole by its tooltip; a read-only value is
  // given the width it needs, up to that of 48 average characters.
  auto fit = [edit] {
    QFontMetrics metrics = edit->fontMetrics();
    int needed = metrics.horizontalAdvance(edit->text()) + 12;
    if (edit->isReadOnly()) {
      edit->setMinimumWidth(std::max(edit->minimumWidth(), std::min(needed, metrics.averageCharWidth() * 48)));
    }
    edit->setToolTip(needed > std::max(edit->width(), edit->minimumWidth()) ? edit->text() : QString());
  };
  QObject::connect(edit, &QLineEdit::textChanged, edit, fit);
  fit();
}

void sizeForValues(QLineEdit* edit, int characters) {
  edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * characters);
}

QWidget* labelled(QWidget* parent, const std::string& label, QWidget* buddy) {
  auto* l = new QLabel(fromCodePage(label), parent);
  l->setBuddy(buddy);
  return l;
}

int RadioFrame::selected() const {
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    if (buttons[i]->isChecked()) return int(i);
  }
  return 0;
}

RadioFrame radioFrame(QWidget* parent, const std::string& title, const std::vector<std::string>& items,
                      int selected, int columns) {
  RadioFrame frame{new QGroupBox(fromCodePage(title), parent), {}};
  auto* grid = new QGridLayout(frame.box);
  auto* group = new QButtonGroup(frame.box);
  int rows = (int(items.size()) + columns - 1) / columns;
  for (std::size_t i = 0; i < items.size(); ++i) {
    auto* radio = new QRadioButton(fromCodePage(items[i]), frame.box);
    radio->setChecked(int(i) == selected);
    group->addButton(radio);
    grid->addWidget(radio, int(i) % rows, int(i) / rows);
    frame.buttons.push_back(radio);
  }
  return frame;
}

QTreeWidget* columnList(QWidget* parent, const std::vector<std::string>& titles, const std::vector<int>& widths) {
  auto* list = new QTreeWidget(parent);
  list->setRootIsDecorated(false);
  QStringList header;
  for (const std::string& t : titles) header << fromCodePage(t);
  list->setHeaderLabels(header);
  list->header()->setStretchLastSection(false);
  for (std::size_t i = 0; i < widths.size(); ++i) list->setColumnWidth(int(i), widths[i]);
  // Each column is as wide as its widest text, its title included, and at least as given; the
  // list asks for the room its columns take.
  auto fit = [list, widths] {
    int total = 0;
    QFont bold = list->header()->font();
    bold.setBold(true);
    int margin = 2 * list->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, list->header()) + 4;
    for (int column = 0; column < list->columnCount(); ++column) {
      int width = std::size_t(column) < widths.size() ? widths[std::size_t(column)] : 0;
      width = std::max(width, QFontMetrics(bold).horizontalAdvance(list->headerItem()->text(column)) + margin);
      list->resizeColumnToContents(column);
      width = std::max(width, list->columnWidth(column));
      list->setColumnWidth(column, width);
      total += width;
    }
    list->setMinimumWidth(total + 2 * list->frameWidth() + list->verticalScrollBar()->sizeHint().width());
  };
  QObject::connect(list->model(), &QAbstractItemModel::rowsInserted, list, fit);
  QObject::connect(list->model(), &QAbstractItemModel::dataChanged, list, fit);
  fit();
  return list;
}

QString qtFilters(const std::string& filters) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start < filters.size()) {
    std::size_t bar = filters.find('|', start);
    if (bar == std::string::npos) bar = filters.size();
    parts.push_back(filters.substr(start, bar - start));
    start = bar + 1;
  }
  QStringList out;
  // Pairs of name and patterns; the names already show their patterns.
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].empty()) break;
    QString patterns = fromCodePage(parts[i + 1]).replace(';', ' ');
    out << fromCodePage(parts[i]).section('(', 0, 0).trimmed() + " (" + patterns + ")";
  }
  return out.join(";;");
}

std::optional<std::string> chooseFile(const DialogContext& context, const FileRequest& request) {
  if (context.chooseFile) return context.chooseFile(request);
  QString start;
  if (context.files && !request.startFolder.empty()) {
    if (auto host = context.files->hostPath(request.startFolder)) start = QString::fromStdString(host->string());
  }
  QFileDialog dialog(context.parent, fromCodePage(request.title), start, qtFilters(request.filters));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(fromCodePage(request.defaultExtension));
  // The names in the detail view are shown whole; the list scrolls sideways when they are long.
  if (auto* details = dialog.findChild<QTreeView*>("treeView")) {
    details->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  std::string host = dialog.selectedFiles().front().toStdString();
  if (!context.files) return host;
  return context.files->windowsPath(host);
}

std::optional<std::uint32_t> chooseColour(const DialogContext& context, std::uint32_t initial) {
  if (context.chooseColour) return context.chooseColour(initial);
  QColor start(int(initial & 0xff), int((initial >> 8) & 0xff), int((initial >> 16) & 0xff));
  QColor chosen = QColorDialog::getColor(start, context.parent, QString(), QColorDialog::DontUseNativeDialog);
  if (!chosen.isValid()) return std::nullopt;
  return std::uint32_t(chosen.red()) | (std::uint32_t(chosen.green()) << 8) | (std::uint32_t(chosen.blue()) << 16);
}

DialogContext dialogContext(QWidget* parent, ui::Interaction& ui, platform::FileSystem* files) {
  DialogContext context;
  context.parent = parent;
  context.ui = &ui;
  context.files = files;
  context.autopilot = ui::qt::processAutopilot();
  return context;
}

}  // namespace vandrel::builder::qt
