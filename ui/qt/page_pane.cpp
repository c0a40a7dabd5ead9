// The wizard's pages, each a pane of the wizard's frame.
#include "ui/qt/page_pane.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "ui/page_layout.h"

namespace vandrel::ui::qt {

namespace {

// The page's place in the frame, and the buttons' row.
constexpr int kPageLeft = 7;
constexpr int kPageTop = 7;
constexpr int kButtonTop = 179;

// A check list whose boxes stand on the right of each item's description, the text staying
// on the left.
class CheckOnTheRight : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  // Public: the page tells tests where a row's box is drawn from the same option.
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->direction = Qt::RightToLeft;
    option->displayAlignment = Qt::AlignAbsolute | Qt::AlignLeft | Qt::AlignVCenter;
  }
};

}  // namespace

PagePane::PagePane(const Page& page, QWidget* parent)
    : QWidget(parent), page_(page), origin_(kPageLeft, kPageTop) {
  setFont(dialogFont());
  setFixedSize(du_.size(kWizardWidth, kWizardHeight));
  widgets_.resize(page.fields.size());
  placePicture(*this, du_, pagePicture(page), 0, 0, 80, 160, false, origin_);
  layOut(pageLayout(page));
  auto* line = new QFrame(this);
  line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  du_.place(line, kPageLeft, kButtonTop - 7, kWizardWidth - 2 * kPageLeft, 1);
  addButtons();
}

void PagePane::layOut(PageLayout layout) {
  switch (layout) {
    case PageLayout::First: return layOutFirst();
    case PageLayout::Notice: return layOutNotice();
    case PageLayout::Licence: return layOutLicence();
    case PageLayout::Registration: return layOutRegistration();
    case PageLayout::Components: return layOutComponents();
    case PageLayout::Sharing: return layOutSharing();
    case PageLayout::Destination: return layOutDestination();
    case PageLayout::Stacked: return layOutStacked();
  }
}

QLabel* PagePane::text(const std::string& line, int x, int y, int w, int h) {
  return placeText(*this, du_, line, x, y, w, h, origin_);
}

// A paragraph of the page, or nothing where the page has fewer.
const std::string& PagePane::paragraph(std::size_t k) const {
  static const std::string none;
  return k < page_.paragraphs.size() ? page_.paragraphs[k] : none;
}

QLabel* PagePane::boldText(const std::string& line, int x, int y, int w, int h) {
  QLabel* label = text(line, x, y, w, h);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  return label;
}

// Five texts of the setup's own: a bold welcome, three lines about the wizard and the hint
// to press Next at the page's foot.
void PagePane::layOutFirst() {
  boldText(page_.heading, 85, 0, 175, 20);
  const int tops[] = {30, 55, 85};
  const std::vector<std::string>& lines = page_.paragraphs;
  for (std::size_t i = 0; i < 3 && i < lines.size(); ++i) {
    // The third box holds every line from the third on.
    std::string shown = lines[i];
    for (std::size_t more = 3; i == 2 && more < lines.size(); ++more) shown += "\n" + lines[more];
    text(shown, 85, tops[i], 175, 25);
  }
  text(page_.footer, 85, 150, 175, 10);
}

void PagePane::layOutNotice() {
  boldText(page_.heading, 85, 0, 175, 20);  // "Welcome to " and the name
  text(paragraph(0), 85, 30, 175, 45);     // the advice, two sentences on two lines
  text(paragraph(1), 85, 80, 175, 65);     // the notice the script chose
  text(page_.footer, 85, 150, 145, 10);
}

void PagePane::layOutLicence() {
  text(page_.heading, 85, 0, 175, 25);
  auto* box = new QPlainTextEdit(fromCodePage(page_.longText), this);
  box->setReadOnly(true);
  box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  du_.place(box, 85, 30, 175, 130, origin_);
}

void PagePane::layOutRegistration() {
  text(page_.heading, 85, 0, 177, 25);
  const int editTops[] = {45, 75, 105};
  for (int i = 0; i < 3; ++i) {
    QLabel* label = text(page_.fields[i].label, 85, editTops[i] - 10, 165, 9);
    label->setTextFormat(Qt::AutoText);
    QLineEdit* edit = makeEdit(i);
    label->setBuddy(edit);
    du_.place(edit, 85, editTops[i], 165, 12, origin_);
  }
  text(page_.footer, 85, 150, 145, 10);
}

void PagePane::layOutComponents() {
  text(page_.heading, 85, 0, 175, 25);
  du_.place(makeCheckList(0), 85, 30, 170, 75, origin_);
  text(page_.footer, 85, 110, 175, 30);
}

void PagePane::layOutSharing() {
  text(page_.heading, 85, 0, 175, 25);
  makeRadios(0);
  du_.place(widgets_[0].radios[0], 95, 35, 160, 10, origin_);
  du_.place(widgets_[0].radios[1], 95, 50, 160, 10, origin_);
  text(page_.footer, 85, 75, 175, 25);
}

void PagePane::layOutDestination() {
  text(paragraph(0), 85, 0, 175, 25);
  text(paragraph(1), 85, 28, 175, 18);
  text(paragraph(2), 85, 46, 175, 18);
  auto* box = new QGroupBox(fromCodePage(page_.fields[0].label), this);
  du_.place(box, 85, 66, 175, 44, origin_);
  QLineEdit* folder = makeEdit(0);
  // The folder is a line of text, changed only through Change.
  folder->setReadOnly(true);
  folder->setFrame(false);
  QPalette plain = folder->palette();
  plain.setColor(QPalette::Base, plain.color(QPalette::Window));
  folder->setPalette(plain);
  du_.place(folder, 90, 78, 165, 10, origin_);
  folder->raise();
  du_.place(makePageButton(0, *this), 205, 91, 50, 14, origin_);
  Widgets& backup = widgets_[1];
  backup.check = new QCheckBox(fromCodePage(page_.fields[1].label), this);
  backup.check->setChecked(page_.fields[1].checked);
  du_.place(backup.check, 85, 115, 160, 10, origin_);
  const int tops[] = {132, 144};
  for (std::size_t k = 0; k < 2; ++k) {
    text(page_.rows[k].label, 85, tops[k], 110, 9);
    text(page_.rows[k].value, 195, tops[k], 60, 9)->setAlignment(Qt::AlignRight | Qt::AlignTop);
  }
}

// Any other page: its text right of the picture, then its fields one under the other.
void PagePane::layOutStacked() {
  auto* area = new QWidget(this);
  du_.place(area, 85, 0, 175, 161, origin_);
  auto* column = new QVBoxLayout(area);
  column->setContentsMargins(0, 0, 0, 0);
  if (!page_.text.empty()) {
    auto* label = new QLabel(fromCodePage(page_.text), area);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    column->addWidget(label);
  }
  for (std::size_t i = 0; i < page_.fields.size(); ++i) addFieldTo(column, static_cast<int>(i));
  column->addStretch();
}

void PagePane::addFieldTo(QVBoxLayout* column, int index) {
  const Field& field = page_.fields[index];
  Widgets& w = widgets_[index];
  QWidget* area = column->parentWidget();
  switch (field.kind) {
    case Field::Kind::Text: {
      QLineEdit* edit = makeEdit(index);
      edit->setParent(area);
      auto* row = new QHBoxLayout;
      auto* label = new QLabel(fromCodePage(field.label), area);
      label->setBuddy(edit);
      row->addWidget(label);
      row->addWidget(edit, 1);
      column->addLayout(row);
      break;
    }
    case Field::Kind::Check:
      w.check = new QCheckBox(fromCodePage(field.label), area);
      w.check->setChecked(field.checked);
      column->addWidget(w.check);
      break;
    case Field::Kind::CheckList:
      column->addWidget(makeCheckList(index));
      w.list->setParent(area);
      break;
    case Field::Kind::Radio:
      makeRadios(index);
      for (QRadioButton* radio : w.radios) {
        radio->setParent(area);
        column->addWidget(radio);
      }
      break;
  }
  // Page buttons beside the first text field (the builder's pages have none).
  if (field.kind == Field::Kind::Text && actions_.empty()) {
    for (std::size_t k = 0; k < page_.actions.size(); ++k) column->addWidget(makePageButton(k, *area));
  }
}

QLineEdit* PagePane::makeEdit(int index) {
  Widgets& w = widgets_[index];
  w.edit = new QLineEdit(fromCodePage(page_.fields[index].value), this);
  return w.edit;
}

QListWidget* PagePane::makeCheckList(int index) {
  const Field& field = page_.fields[index];
  Widgets& w = widgets_[index];
  w.list = new QListWidget(this);
  w.list->setItemDelegate(new CheckOnTheRight(w.list));
  for (std::size_t k = 0; k < field.items.size(); ++k) {
    auto* item = new QListWidgetItem(fromCodePage(field.items[k]), w.list);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    bool on = k < field.itemChecked.size() && field.itemChecked[k];
    item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
  }
  return w.list;
}

void PagePane::makeRadios(int index) {
  const Field& field = page_.fields[index];
  Widgets& w = widgets_[index];
  auto* group = new QButtonGroup(this);
  for (std::size_t k = 0; k < field.items.size(); ++k) {
    auto* radio = new QRadioButton(fromCodePage(field.items[k]), this);
    radio->setChecked(static_cast<int>(k) == field.selected);
    group->addButton(radio);
    w.radios.push_back(radio);
  }
}

QPushButton* PagePane::makePageButton(std::size_t action, QWidget& parent) {
  auto* button = new QPushButton(fromCodePage(page_.actions[action]), &parent);
  connect(button, &QPushButton::clicked, this, [this, action] {
    result_.pageButton = static_cast<int>(action);
    leave(PageResult::Action::PageButton);
  });
  actions_.push_back(button);
  return button;
}

// Back and Next side by side, Cancel apart on the right, as a wizard has them.
void PagePane::addButtons() {
  const int cancelLeft = kWizardWidth - kPageLeft - 50;
  back_ = placeButton(*this, du_, "< &Back", cancelLeft - 107, kButtonTop);
  back_->setEnabled(page_.back);
  connect(back_, &QPushButton::clicked, this, [this] { leave(PageResult::Action::Back); });
  bool finishes = page_.next.empty() && !page_.finish.empty();
  if (!page_.next.empty() || finishes) {
    forward_ = placeButton(*this, du_, finishes ? page_.finish : page_.next, cancelLeft - 57, kButtonTop);
    PageResult::Action action = finishes ? PageResult::Action::Finish : PageResult::Action::Next;
    connect(forward_, &QPushButton::clicked, this, [this, action] { leave(action); });
    forward_->setDefault(true);
  }
  cancel_ = placeButton(*this, du_, page_.cancel, cancelLeft, kButtonTop);
  connect(cancel_, &QPushButton::clicked, this, [this] { leave(PageResult::Action::Cancel); });
}

void PagePane::leave(PageResult::Action action) {
  if (left_) return;
  left_ = true;
  result_.action = action;
  if (onLeave_) onLeave_();
}

void PagePane::cancel() { leave(PageResult::Action::Cancel); }

QWidget* PagePane::firstField() const {
  // The focus chain runs in the order the controls were made, which is the reading order.
  for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
    if (!isAncestorOf(w) || qobject_cast<QPushButton*>(w)) continue;
    if (auto* line = qobject_cast<QLineEdit*>(w); line && line->isReadOnly()) continue;  // the folder line
    if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(this)) return w;
  }
  return forward_ ? static_cast<QWidget*>(forward_) : cancel_;
}

PageResult PagePane::result() const {
  PageResult result = result_;
  result.fields = page_.fields;
  for (std::size_t i = 0; i < page_.fields.size(); ++i) {
    Field& field = result.fields[i];
    const Widgets& w = widgets_[i];
    if (w.edit) field.value = toCodePage(w.edit->text());
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
  return result;
}

void PagePane::drive(const PageResult& wanted) {
  for (std::size_t i = 0; i < wanted.fields.size() && i < widgets_.size(); ++i) {
    const Field& field = wanted.fields[i];
    Widgets& w = widgets_[i];
    if (w.edit) w.edit->setText(fromCodePage(field.value));
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

QRect PagePane::checkBoxOfRow(int field, int row) const {
  if (field < 0 || field >= static_cast<int>(widgets_.size()) || !widgets_[field].list) return {};
  QListWidget* list = widgets_[field].list;
  QModelIndex index = list->model()->index(row, 0);
  auto* delegate = dynamic_cast<CheckOnTheRight*>(list->itemDelegate());
  if (!delegate) return {};
  // The delegate's own option, as it paints and takes clicks.
  QStyleOptionViewItem option;
  option.initFrom(list->viewport());
  option.rect = list->visualRect(index);
  delegate->initStyleOption(&option, index);
  return list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
}

}  // namespace vandrel::ui::qt
