// The eight entry pages: directory, description, group, Win.ini, registry, file, shortcut
// and disk message.
#include "builder/qt/entry_page_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "builder/qt/sheet_dialog.h"
#include "builder/strings/builder_strings.h"

namespace vandrel::builder::qt {

namespace {

using pages::Check;

// A kind's sheet goes by the kind's name in kEntryKinds, its picture by "page-" and that name.
std::string sheetId(int category) { return entryKind(category).name; }
std::string shotName(int category) { return "page-" + sheetId(category); }

// An edit wide enough for the values an author types: registry keys, win.ini values, descriptions.
QLineEdit* edit(QWidget* parent, const std::string& text) {
  auto* e = new QLineEdit(fromCodePage(text), parent);
  sizeForValues(e, 52);
  return e;
}

// An edit under its label in a column.
QLineEdit* labelledEdit(QVBoxLayout* column, QWidget* page, const std::string& label, const std::string& text) {
  QLineEdit* e = edit(page, text);
  column->addWidget(labelled(page, label, e));
  column->addWidget(e);
  return e;
}

// Runs a sheet whose controls write the page through store; OK passes only with its check.
template <typename Page>
bool runPage(SheetDialog& sheet, Page& page, const std::function<void()>& store) {
  sheet.onOk = [&sheet, &page, store] {
    store();
    Check check = page.check();
    if (check.ok()) return true;
    sheet.refuse(check);
    return false;
  };
  return sheet.run();
}

bool show(const DialogContext& context, pages::CDirPropDlg& page, const std::string& caption) {
  SheetDialog sheet(context, caption, sheetId(category::Directories),
                    shotName(category::Directories));
  QWidget* w = sheet.addPage("Directories");
  auto* column = new QVBoxLayout(w);
  QLineEdit* name = labelledEdit(column, w, "Directory &name:", page.name);
  RadioFrame parents = radioFrame(w, "&Parent directory", pages::CDirPropDlg::parentChoices(), page.parent);
  column->addWidget(parents.box);
  auto* optional = new QCheckBox("&User can decide not to install files located in this directory", w);
  optional->setChecked(page.optional);
  column->addWidget(optional);
  QLineEdit* description = labelledEdit(column, w, "Directory's &description:", page.description);
  column->addStretch();
  sheet.bind().text("DirName", "Directory &name:", name);
  sheet.bind().radios("Parent", "&Parent directory", parents.buttons);
  sheet.bind().check("Optional", optional->text().toStdString(), optional);
  sheet.bind().text("DirDescription", "Directory's &description:", description);
  return runPage(sheet, page, [&] {
    page.name = toCodePage(name->text());
    page.parent = parents.selected();
    page.optional = optional->isChecked();
    page.description = toCodePage(description->text());
  });
}

bool show(const DialogContext& context, pages::CSetDescDlg& page, const std::string& caption) {
  SheetDialog sheet(context, caption, sheetId(category::Descriptions),
                    shotName(category::Descriptions));
  QWidget* w = sheet.addPage("Description");
  auto* column = new QVBoxLayout(w);
  QLineEdit* text = labelledEdit(column, w, "&Description", page.text);
  column->addStretch();
  sheet.bind().text("DescText", "&Description", text);
  return runPage(sheet, page, [&] { page.text = toCodePage(text->text()); });
}

bool show(const DialogContext& context, pages::CGrpPropDlg& page, const std::string& caption) {
  SheetDialog sheet(context, caption, sheetId(category::Groups), shotName(category::Groups));
  QWidget* w = sheet.addPage("Groups");
  auto* column = new QVBoxLayout(w);
  QLineEdit* name = labelledEdit(column, w, "Group &name:", page.name);
  auto* note = new QLabel(pages::CGrpPropDlg::kNote, w);
  note->setWordWrap(true);
  column->addWidget(note);
  column->addStretch();
  sheet.bind().text("GroupName", "Group &name:", name);
  return runPage(sheet, page, [&] { page.name = toCodePage(name->text()); });
}

bool show(const DialogContext& context, pages::CINIPropDlg& page, const std::string& caption) {
  SheetDialog sheet(context, caption, sheetId(category::WinIni), shotName(category::WinIni));
  QWidget* w = sheet.addPage("Win.ini adds");
  auto* grid = new QGridLayout(w);
  QLineEdit* section = gridRow(grid, 0, "&Section:", edit(w, page.section));
  QLineEdit* entry = gridRow(grid, 1, "&Entry:", edit(w, page.entry));
  QLineEdit* value = gridRow(grid, 2, "&Value:", edit(w, page.value));
  grid->setRowStretch(3, 1);
  sheet.bind().text("IniSection", "&Section:", section);
  sheet.bind().text("IniEntry", "&Entry:", entry);
  sheet.bind().text("IniValue", "&Value:", value);
  return runPage(sheet, page, [&] {
    page.section = toCodePage(section->text());
    page.entry = toCodePage(entry->text());
    page.value = toCodePage(value->text());
  });
}

bool show(const DialogContext& context, pages::CRegPropDlg& page, const std::string& caption) {
  SheetDialog sheet(context, caption, sheetId(category::Registry), shotName(category::Registry));
  QWidget* w = sheet.addPage("Registry adds");
  auto* grid = new QGridLayout(w);
  auto* mainKey = new QComboBox(w);
  mainKey->setEditable(true);
  mainKey->setInsertPolicy(QComboBox::NoInsert);
  for (const std::string& name : pages::CRegPropDlg::mainKeyChoices()) mainKey->addItem(fromCodePage(name));
  int row = mainKey->findText(fromCodePage(page.mainKey), Qt::MatchFixedString);
  mainKey->setCurrentIndex(row);
  if (row < 0) mainKey->setEditText(fromCodePage(page.mainKey));
  gridRow(grid, 0, "&Main key:", mainKey);
  QLineEdit* subkey = gridRow(grid, 1, "&Subkey:", edit(w, page.subkey));
  QLineEdit* entry = gridRow(grid, 2, "&Entry:", edit(w, page.entry));
  QLineEdit* value = gridRow(grid, 3, "&Value:", edit(w, page.value));
  auto* erase = new QCheckBox("Erase this whole key when uninstalling", w);
  erase->setChecked(page.eraseWholeKey);
  grid->addWidget(erase, 4, 0, 1, 2);
  grid->setRowStretch(5, 1);
  grid->setColumnStretch(1, 1);
  sheet.bind().text("MainKey", "&Main key:", mainKey);
  sheet.bind().text("Subkey", "&Subkey:", subkey);
  sheet.bind().text("RegEntry", "&Entry:", entry);
  sheet.bind().text("RegValue", "&Value:", value);
  sheet.bind().check("EraseKey", "Erase this whole key when uninstalling", erase);
  return runPage(sheet, page, [&] {
    page.mainKey = toCodePage(mainKey->currentText());
    page.subkey = toCodePage(subkey->text());
    page.entry = toCodePage(entry->text());
    page.value = toCodePage(value->text());
    page.eraseWholeKey = erase->isChecked();
  });
}

QComboBox* entryList(QWidget* parent, const std::vector<pages::EntryItem>& items, int selected) {
  auto* combo = new QComboBox(parent);
  for (const pages::EntryItem& item : items) combo->addItem(fromCodePage(item.text));
  combo->setCurrentIndex(selected);
  return combo;
}

bool show(const DialogContext& context, pages::CAddGroupDlg& page, const std::string& caption) {
  SheetDialog sheet(context, caption, sheetId(category::ProgramAdds),
                    shotName(category::ProgramAdds));
  QWidget* w = sheet.addPage("Progman Add");
  auto* grid = new QGridLayout(w);
  QComboBox* file = gridRow(grid, 0, "&Destination File:", entryList(w, page.files, page.file));
  QComboBox* group = gridRow(grid, 1, "Add in &Group:", entryList(w, page.groups, page.group));
  QLineEdit* commandLine = gridRow(grid, 2, "&Command Line:", edit(w, page.commandLine));
  QLineEdit* name = gridRow(grid, 3, "Short&cut Name:", edit(w, page.name));
  grid->setRowStretch(4, 1);
  grid->setColumnStretch(1, 1);
  sheet.bind().choice("ShortcutFile", "&Destination File:", file);
  sheet.bind().choice("ShortcutGroup", "Add in &Group:", group);
  sheet.bind().text("CommandLine", "&Command Line:", commandLine);
  sheet.bind().text("ShortcutName", "Short&cut Name:", name);
  return runPage(sheet, page, [&] {
    page.file = file->currentIndex();
    page.group = group->currentIndex();
    page.commandLine = toCodePage(commandLine->text());
    page.name = toCodePage(name->text());
  });
}

bool show(const DialogContext& context, pages::CMsgPropDlg& page, const std::string& caption) {
  SheetDialog sheet(context, caption, sheetId(category::Messages), shotName(category::Messages));
  QWidget* w = sheet.addPage("Messages");
  auto* grid = new QGridLayout(w);
  QLineEdit* name = edit(w, page.destName);
  QLineEdit* path = edit(w, page.filePath);
  auto* disk = new QSpinBox(w);
  disk->setRange(0, 999);
  disk->setValue(page.disk);
  auto* browse = new QPushButton("&Browse...", w);
  grid->addWidget(labelled(w, "Destination File &Name:", name), 0, 0);
  grid->addWidget(name, 0, 1, 1, 2);
  grid->addWidget(labelled(w, "File &Path:", path), 1, 0);
  grid->addWidget(path, 1, 1);
  grid->addWidget(browse, 1, 2);
  grid->addWidget(labelled(w, "Corresponding Disk number:", disk), 2, 0);
  grid->addWidget(disk, 2, 1, Qt::AlignLeft);
  grid->setRowStretch(3, 1);
  grid->setColumnStretch(1, 1);
  sheet.bind().text("MsgName", "Destination File &Name:", name);
  sheet.bind().text("MsgPath", "File &Path:", path);
  sheet.bind().number("MsgDisk", "Corresponding Disk number:", disk);
  QObject::connect(browse, &QPushButton::clicked, &sheet, [&] {
    page.filePath = toCodePage(path->text());
    FileRequest request{str(sid::PickTextFileTitle), str(sid::TextFileFilter), "txt", page.browseFolder()};
    if (std::optional<std::string> chosen = chooseFile(context, request)) {
      page.browse(*chosen);
      name->setText(fromCodePage(page.destName));
      path->setText(fromCodePage(page.filePath));
    }
  });
  return runPage(sheet, page, [&] {
    page.destName = toCodePage(name->text());
    page.filePath = toCodePage(path->text());
    page.disk = disk->value();
  });
}

}  // namespace

bool showFilePage(const DialogContext& context, pages::CAddFileDlg& page, const std::string& caption,
                  const std::string& id) {
  SheetDialog sheet(context, caption, id,
                    page.dropImport() ? "drop-file-page" : shotName(category::Files));
  QWidget* w = sheet.addPage("File");
  auto* grid = new QGridLayout(w);
  // What Browse fills in: shown, selectable by a click, but passed over by Tab.
  auto readOnly = [w] {
    auto* e = new QLineEdit(w);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::ClickFocus);
    return e;
  };
  QLineEdit* sourceName = readOnly();
  QLineEdit* size = readOnly();
  QLineEdit* sourcePath = readOnly();
  sourceName->setObjectName("SourceName");
  size->setObjectName("Size");
  sourcePath->setObjectName("SourcePath");
  auto* disk = new QSpinBox(w);
  disk->setRange(0, 999);
  QLineEdit* destName = edit(w, {});
  auto* uninstall = new QCheckBox("&Uninstall this file", w);
  auto* forceCopy = new QCheckBox("&Force copy if file exists", w);
  auto* decompress = new QCheckBox("LZ method Deco&mpress", w);
  auto* shared = new QCheckBox("Declare as S&hared File", w);
  auto* directory = new QComboBox(w);
  for (const std::string& item : page.directoryChoices()) directory->addItem(fromCodePage(item));
  auto* platform = new QComboBox(w);
  for (const std::string& item : pages::stringItems(sid::PlatformNames, 4)) platform->addItem(fromCodePage(item));
  auto* description = entryList(w, page.descriptions, -1);
  auto* browse = new QPushButton("&Browse...", w);
  auto* validate = new QPushButton("&Validate and Add new file", w);
  auto* useDefaults = new QCheckBox("Use d&efault settings for other dropped files", w);
  browse->setEnabled(page.browseEnabled());
  validate->setEnabled(page.validateAndAddEnabled());
  useDefaults->setEnabled(page.useDefaultsEnabled());

  grid->addWidget(new QLabel("Source name:", w), 0, 0);
  grid->addWidget(sourceName, 0, 1);
  grid->addWidget(browse, 0, 2);
  grid->addWidget(new QLabel("Size (in bytes):", w), 1, 0);
  grid->addWidget(size, 1, 1);
  grid->addWidget(labelled(w, "&Source Disk:", disk), 2, 0);
  grid->addWidget(disk, 2, 1, Qt::AlignLeft);
  grid->addWidget(labelled(w, "&Destination name:", destName), 3, 0);
  grid->addWidget(destName, 3, 1, 1, 2);
  auto* flags = new QGridLayout;
  flags->addWidget(uninstall, 0, 0);
  flags->addWidget(forceCopy, 0, 1);
  flags->addWidget(decompress, 1, 0);
  flags->addWidget(shared, 1, 1);
  grid->addLayout(flags, 4, 0, 1, 3);
  grid->addWidget(labelled(w, "Destination D&irectory:", directory), 5, 0);
  grid->addWidget(directory, 5, 1, 1, 2);
  grid->addWidget(labelled(w, "Destination &Platform:", platform), 6, 0);
  grid->addWidget(platform, 6, 1, 1, 2);
  grid->addWidget(labelled(w, "File Des&cription:", description), 7, 0);
  grid->addWidget(description, 7, 1, 1, 2);
  grid->addWidget(new QLabel("Source path:", w), 8, 0);
  grid->addWidget(sourcePath, 8, 1, 1, 2);
  grid->addWidget(useDefaults, 9, 0, 1, 2);
  grid->addWidget(validate, 9, 2);
  grid->setRowStretch(10, 1);
  grid->setColumnStretch(1, 1);
  // Tab runs through the controls in reading order, Browse first, beside the source name.
  const std::vector<QWidget*> order = {browse, disk, destName, uninstall, forceCopy, decompress, shared,
                                       directory, platform, description, useDefaults, validate};
  for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);

  auto load = [&] {
    sourceName->setText(fromCodePage(page.sourceName));
    size->setText(QString::number(page.size));
    sourcePath->setText(fromCodePage(page.sourcePath));
    disk->setValue(std::clamp(page.disk, 0, 999));
    destName->setText(fromCodePage(page.destName));
    uninstall->setChecked(page.uninstall);
    forceCopy->setChecked(page.forceCopy);
    decompress->setChecked(page.decompress);
    shared->setChecked(page.shared);
    directory->setCurrentIndex(page.directory);
    platform->setCurrentIndex(page.platform);
    description->setCurrentIndex(page.description);
    useDefaults->setChecked(page.useDefaults);
  };
  auto store = [&] {
    page.disk = disk->value();
    page.destName = toCodePage(destName->text());
    page.uninstall = uninstall->isChecked();
    page.forceCopy = forceCopy->isChecked();
    page.decompress = decompress->isChecked();
    page.shared = shared->isChecked();
    page.directory = directory->currentIndex();
    page.platform = platform->currentIndex();
    page.description = description->currentIndex();
    page.useDefaults = useDefaults->isChecked();
  };
  load();

  // The file "&Browse..." picked: the page takes its name, folder and size, and the controls
  // show what the page made of it.
  auto take = [&](const std::string& chosen) {
    store();
    std::int64_t bytes = 0;
    if (context.files) {
      if (auto status = context.files->status(chosen)) bytes = std::int64_t(status->size);
    }
    page.browse(chosen, bytes);
    load();
  };
  // The answers' Source is the file Browse would pick; it comes first, since the page fills
  // the other controls from the file it takes.
  if (page.browseEnabled()) {
    sheet.bind().chosen(
        "Source", "Source file:",
        [&] { return page.sourceName.empty() ? std::string() : page.sourcePath + "\\" + page.sourceName; },
        take);
  }
  sheet.bind().number("Disk", "&Source Disk:", disk);
  sheet.bind().text("DestName", "&Destination name:", destName);
  sheet.bind().check("Uninstall", "&Uninstall this file", uninstall);
  sheet.bind().check("ForceCopy", "&Force copy if file exists", forceCopy);
  sheet.bind().check("Decompress", "LZ method Deco&mpress", decompress);
  sheet.bind().check("Shared", "Declare as S&hared File", shared);
  sheet.bind().choice("Directory", "Destination D&irectory:", directory);
  sheet.bind().choice("Platform", "Destination &Platform:", platform);
  sheet.bind().choice("Description", "File Des&cription:", description, "(none)");
  if (page.useDefaultsEnabled()) {
    sheet.bind().check("UseDefaults", "Use d&efault settings for other dropped files", useDefaults);
  }
  sheet.text = "Source name: " + page.sourceName + "\nSize (in bytes): " + std::to_string(page.size) +
               "\nSource path: " + page.sourcePath;

  QObject::connect(browse, &QPushButton::clicked, &sheet, [&] {
    FileRequest request{str(sid::PickFileTitle), str(sid::AddFileFilter), {}, page.browseFolder()};
    if (std::optional<std::string> chosen = chooseFile(context, request)) take(*chosen);
  });
  QObject::connect(validate, &QPushButton::clicked, &sheet, [&] {
    store();
    Check check = page.validateAndAddNew();
    if (!check.ok()) return sheet.refuse(check);
    load();
  });
  return runPage(sheet, page, store);
}

bool showEntryPage(const DialogContext& context, pages::EntryPage& page, const std::string& caption) {
  return std::visit(
      [&](auto& p) {
        if constexpr (std::is_same_v<std::decay_t<decltype(p)>, pages::CAddFileDlg>) {
          return showFilePage(context, p, caption, sheetId(category::Files));
        } else {
          return show(context, p, caption);
        }
      },
      page);
}

namespace {

class QtEntryPageView : public pages::EntryPageView {
 public:
  explicit QtEntryPageView(DialogContext context) : context_(std::move(context)) {}
  bool show(pages::EntryPage& page, const std::string& caption) override {
    return showEntryPage(context_, page, caption);
  }

 private:
  DialogContext context_;
};

}  // namespace

std::unique_ptr<pages::EntryPageView> makeEntryPageView(const DialogContext& context) {
  return std::make_unique<QtEntryPageView>(context);
}

}  // namespace vandrel::builder::qt
