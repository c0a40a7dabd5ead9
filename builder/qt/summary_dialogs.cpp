// The installation summary (Summary, Statistics) and the version information sheet.
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "builder/generate/summary.h"
#include "builder/qt/builder_dialogs.h"
#include "builder/qt/sheet_dialog.h"
#include "builder/qt/tree_pictures.h"
#include "builder/strings/builder_strings.h"

namespace vandrel::builder::qt {

namespace {

// Cells that lose the middle of a text too wide for them, keeping both ends.
class MiddleElision : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->textElideMode = Qt::ElideMiddle;
  }
};

QLineEdit* shown(QWidget* parent, const std::string& text, bool readOnly = true) {
  auto* e = new QLineEdit(fromCodePage(text), parent);
  e->setReadOnly(readOnly);
  return e;
}

}  // namespace

bool runSummarySheet(const DialogContext& context, CScriptDoc& doc, platform::FileSystem& files,
                     const std::string& programFolder, int startPage) {
  SummaryPage model = summaryPage(doc, files);
  Statistics stats = statistics(doc, files, programFolder);
  SheetDialog sheet(context, str(sid::SummaryCaption), "summary", "summary");

  QWidget* w = sheet.addPage("Summary");
  auto* grid = new QGridLayout(w);
  int row = 0;
  auto line = [&](const std::string& label, QLineEdit* edit) {
    grid->addWidget(labelled(w, label, edit), row, 0);
    grid->addWidget(edit, row++, 1);
    return edit;
  };
  line("Install script for:", shown(w, model.scriptFor));
  line("Version Info:", shown(w, model.version));
  line("Created on:", shown(w, model.created));
  line("Last modified on:", shown(w, model.modified));
  QLineEdit* subject = line("&Subject:", shown(w, model.subject, false));
  QLineEdit* templ = line("&Template:", shown(w, model.templateName, false));
  QLineEdit* author = line("&Author:", shown(w, model.author, false));
  auto* comments = new QPlainTextEdit(fromCodePage(model.comments), w);
  comments->setReadOnly(true);
  grid->addWidget(new QLabel("Comments:", w), row++, 0, 1, 2);
  grid->addWidget(comments, row++, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  sheet.bind().text("Subject", "&Subject:", subject);
  sheet.bind().text("Template", "&Template:", templ);
  sheet.bind().text("Author", "&Author:", author);

  QWidget* s = sheet.addPage("Statistics");
  auto* stat = new QGridLayout(s);
  row = 0;
  stat->addWidget(new QLabel("Size for each disk/archive:", s), row++, 0, 1, 2);
  QTreeWidget* disks = columnList(s, {strItem(sid::SummaryDiskColumns, 1), strItem(sid::SummaryDiskColumns, 2)}, {195, 75});
  QIcon filesIcon = treeIcons(16).at(std::size_t(entryKind(category::Files).picture));
  for (const DiskSize& d : stats.disks) {
    auto* item = new QTreeWidgetItem({fromCodePage(d.disk), fromCodePage(d.size)});
    item->setIcon(0, filesIcon);
    disks->addTopLevelItem(item);
  }
  disks->setMinimumHeight(90);
  stat->addWidget(disks, row++, 0, 1, 2);
  auto number = [&](const std::string& label, long long value) {
    stat->addWidget(new QLabel(fromCodePage(label), s), row, 0);
    stat->addWidget(shown(s, std::to_string(value)), row++, 1);
  };
  number("Total Size needed to generate install (in KB):", stats.totalKb);
  number("Number of files copied:", stats.files);
  number("Number of Directories created:", stats.directories);
  number("Number of shell groups created:", stats.groups);
  number("Number of shortcuts added:", stats.shortcuts);
  stat->addWidget(new QLabel("Last generation path:", s), row, 0);
  stat->addWidget(shown(s, stats.lastGenPath), row++, 1);
  auto* note = new QLabel(fromCodePage(stats.overhead), s);
  note->setWordWrap(true);
  stat->addWidget(note, row++, 0, 1, 2);
  stat->setRowStretch(row, 1);
  stat->setColumnStretch(1, 1);

  sheet.showPage(startPage);
  sheet.onOk = [&] {
    model.subject = toCodePage(subject->text());
    model.templateName = toCodePage(templ->text());
    model.author = toCodePage(author->text());
    applySummaryPage(doc, model);
    return true;
  };
  return sheet.run();
}

void runVersionSheet(const DialogContext& context, platform::FileSystem& files, const std::string& programFolder) {
  SheetDialog sheet(context, str(sid::VersionInfoCaption), "version", "version-info");
  QWidget* w = sheet.addPage("Components");
  auto* column = new QVBoxLayout(w);
  std::vector<std::string> titles;
  for (int i = 1; i <= 4; ++i) titles.push_back(strItem(sid::VersionColumns, i));
  QTreeWidget* list = columnList(w, titles, {80, 150, 120, 75});
  // The descriptions differ only at their ends ("(US)", "(French)"): a description wider than
  // its column loses its middle, and every cell carries its whole text as a tip.
  list->setItemDelegateForColumn(1, new MiddleElision(list));
  for (const VersionRow& r : versionRows(files, programFolder)) {
    auto* item = new QTreeWidgetItem({fromCodePage(r.file), fromCodePage(r.description), fromCodePage(r.dateStamp), fromCodePage(r.sizeKb)});
    for (int column = 0; column < 4; ++column) item->setToolTip(column, item->text(column));
    list->addTopLevelItem(item);
  }
  column->addWidget(list);
  sheet.resize(480, 300);
  sheet.run();
}

}  // namespace vandrel::builder::qt
