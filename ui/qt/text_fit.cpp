// The measure of each visible text against the room its widget gives it.
#include "ui/qt/text_fit.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTextDocument>
#include <QToolButton>
#include <QTreeView>

#include <algorithm>

namespace vandrel::ui::qt {

namespace {

// Room left to a one-line field's text by its frame and margins.
constexpr int kFieldPadding = 8;
// Room left to an item's text by the view's margins.
constexpr int kItemPadding = 6;

std::string nameOf(const QWidget& w) {
  std::string name = w.metaObject()->className();
  if (!w.objectName().isEmpty() && !w.objectName().startsWith("qt_")) name += " " + w.objectName().toStdString();
  return name;
}

// The text as shown: mnemonic ampersands dropped ("&&" shows one).
QString shown(QString text) {
  text.replace("&&", QChar(0x1));
  text.remove('&');
  text.replace(QChar(0x1), "&");
  return text;
}

int widest(const QFontMetrics& metrics, const QString& text) {
  int width = 0;
  for (const QString& line : text.split('\n')) width = std::max(width, metrics.horizontalAdvance(line));
  return width;
}

// A long value may run past its field when the field's tooltip gives it whole.
bool toldWhole(const QWidget& w, const QString& text) { return w.toolTip().contains(text); }

void add(std::vector<CutText>& out, const QWidget& w, const QString& text, int needed, int available) {
  if (needed > available) out.push_back({nameOf(w), text.toStdString(), needed, available});
}

void label(std::vector<CutText>& out, const QLabel& l) {
  if (l.text().isEmpty() || !l.pixmap().isNull()) return;
  QString text = l.buddy() ? shown(l.text()) : l.text();
  QRect room = l.contentsRect().adjusted(l.margin(), l.margin(), -l.margin(), -l.margin());
  if (l.wordWrap()) {
    // Wrapped: the lines must fit in the height.
    add(out, l, text, l.heightForWidth(l.width()), l.height());
    return;
  }
  int needed = 0;
  if (Qt::mightBeRichText(text) && l.textFormat() != Qt::PlainText) {
    QTextDocument document;
    document.setDefaultFont(l.font());
    document.setDocumentMargin(0);
    document.setHtml(text);
    needed = int(document.idealWidth());
    text = document.toPlainText();
  } else {
    needed = widest(l.fontMetrics(), text);
  }
  int indent = l.indent() > 0 ? l.indent() : 0;
  add(out, l, text, needed, room.width() - indent);
  int lines = int(text.count('\n')) + 1;
  add(out, l, text, lines * l.fontMetrics().height(), room.height() + 1);
}

void button(std::vector<CutText>& out, const QAbstractButton& b) {
  if (b.text().isEmpty()) return;
  QString text = shown(b.text());
  if (qobject_cast<const QCheckBox*>(&b) || qobject_cast<const QRadioButton*>(&b)) {
    add(out, b, text, b.sizeHint().width(), b.width());
    return;
  }
  if (auto* tool = qobject_cast<const QToolButton*>(&b); tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly) {
    return;
  }
  int icon = b.icon().isNull() ? 0 : b.iconSize().width() + 4;
  add(out, b, text, b.fontMetrics().horizontalAdvance(text) + icon, b.width() - kFieldPadding);
}

void lineEdit(std::vector<CutText>& out, const QLineEdit& e) {
  if (e.text().isEmpty() || e.echoMode() != QLineEdit::Normal || toldWhole(e, e.text())) return;
  // A spin box's number is measured with its box.
  if (qobject_cast<const QAbstractSpinBox*>(e.parentWidget())) return;
  // An editable drop-down's text is its box's.
  if (qobject_cast<const QComboBox*>(e.parentWidget())) return;
  QMargins margins = e.textMargins();
  add(out, e, e.text(), e.fontMetrics().horizontalAdvance(e.text()),
      e.width() - kFieldPadding - margins.left() - margins.right());
}

void comboBox(std::vector<CutText>& out, const QComboBox& c) {
  QString text = c.currentText();
  if (text.isEmpty() || toldWhole(c, text)) return;
  QStyleOptionComboBox option;
  option.initFrom(&c);
  option.editable = c.isEditable();
  option.currentText = text;
  QRect field = c.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &c);
  int icon = c.itemIcon(c.currentIndex()).isNull() ? 0 : c.iconSize().width() + 4;
  add(out, c, text, c.fontMetrics().horizontalAdvance(text) + icon, field.width() - 2);
}

void groupBox(std::vector<CutText>& out, const QGroupBox& g) {
  if (g.title().isEmpty()) return;
  QString text = shown(g.title());
  int indicator = g.isCheckable() ? g.style()->pixelMetric(QStyle::PM_IndicatorWidth) + 6 : 0;
  add(out, g, text, g.fontMetrics().horizontalAdvance(text) + indicator + 12, g.width());
}

void tabBar(std::vector<CutText>& out, const QTabBar& t) {
  int space = t.style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, &t);
  for (int i = 0; i < t.count(); ++i) {
    QString text = shown(t.tabText(i));
    QRect tab = t.tabRect(i);
    int visible = std::min(tab.right(), t.width() - 1) - std::max(tab.left(), 0) + 1;
    add(out, t, text, t.fontMetrics().horizontalAdvance(text) + space / 2, visible);
  }
}

void header(std::vector<CutText>& out, const QHeaderView& h) {
  if (h.orientation() != Qt::Horizontal || !h.model()) return;
  int margin = 2 * h.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &h);
  QFont font = h.font();
  font.setBold(true);  // some styles draw the titles bold: measured as the wider
  QFontMetrics metrics(font);
  for (int i = 0; i < h.count(); ++i) {
    if (h.isSectionHidden(i)) continue;
    QString text = h.model()->headerData(i, Qt::Horizontal).toString();
    if (text.isEmpty()) continue;
    add(out, h, text, metrics.horizontalAdvance(text) + margin, h.sectionSize(i));
  }
}

// The items of a list or tree, each against its cell; a view that scrolls sideways shows a
// long item whole by scrolling.
void items(std::vector<CutText>& out, const QAbstractItemView& v) {
  QAbstractItemModel* model = v.model();
  if (!model) return;
  QScrollBar* sideways = v.horizontalScrollBar();
  bool scrolls = v.horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff && sideways &&
                 sideways->maximum() > 0;
  auto* tree = qobject_cast<const QTreeView*>(&v);
  std::vector<QModelIndex> parents{QModelIndex()};
  int seen = 0;
  while (!parents.empty() && seen < 1000) {
    QModelIndex parent = parents.back();
    parents.pop_back();
    for (int row = 0; row < model->rowCount(parent) && seen < 1000; ++row, ++seen) {
      for (int column = 0; column < model->columnCount(parent); ++column) {
        QModelIndex index = model->index(row, column, parent);
        QRect cell = v.visualRect(index);
        QString text = index.data(Qt::DisplayRole).toString();
        if (cell.isEmpty() || text.isEmpty()) continue;
        if (index.data(Qt::ToolTipRole).toString().contains(text)) continue;
        if (scrolls && (!tree || tree->header()->sectionResizeMode(column) == QHeaderView::ResizeToContents)) continue;
        int icon = index.data(Qt::DecorationRole).isNull() ? 0 : v.iconSize().width() + 4;
        QFont font = v.font();
        if (QVariant f = index.data(Qt::FontRole); f.isValid()) font = f.value<QFont>();
        add(out, v, text, QFontMetrics(font).horizontalAdvance(text) + icon + kItemPadding, cell.width());
      }
      QModelIndex first = model->index(row, 0, parent);
      if (tree && tree->isExpanded(first)) parents.push_back(first);
    }
  }
}

}  // namespace

std::vector<CutText> cutTexts(const QWidget& window) {
  std::vector<CutText> out;
  QList<const QWidget*> widgets = window.findChildren<const QWidget*>();
  widgets.prepend(&window);
  for (const QWidget* w : widgets) {
    if ((w != &window && !w->isVisibleTo(&window)) || w->width() <= 0 || w->window() != &window) continue;
    if (auto* l = qobject_cast<const QLabel*>(w)) label(out, *l);
    else if (auto* b = qobject_cast<const QAbstractButton*>(w)) button(out, *b);
    else if (auto* e = qobject_cast<const QLineEdit*>(w)) lineEdit(out, *e);
    else if (auto* c = qobject_cast<const QComboBox*>(w)) comboBox(out, *c);
    else if (auto* t = qobject_cast<const QTabBar*>(w)) tabBar(out, *t);
    else if (auto* h = qobject_cast<const QHeaderView*>(w)) header(out, *h);
    else if (auto* v = qobject_cast<const QAbstractItemView*>(w)) items(out, *v);
    if (auto* g = qobject_cast<const QGroupBox*>(w)) groupBox(out, *g);
  }
  return out;
}

std::string describe(const std::string& window, const std::vector<CutText>& cuts) {
  std::string text;
  for (const CutText& cut : cuts) {
    text += window + ": " + cut.widget + " \"" + cut.text + "\" needs " + std::to_string(cut.needed) + ", has " +
            std::to_string(cut.available) + "\n";
  }
  return text;
}

}  // namespace vandrel::ui::qt
