// The five assistants' windows: one page each in a sheet titled with the assistant's name.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

#include "builder/assistants/assistants.h"
#include "builder/qt/builder_dialogs.h"
#include "builder/qt/sheet_dialog.h"

namespace vandrel::builder::qt {

namespace {

using assistants::ProgramField;
using pages::Check;

// A column of labelled controls on the assistant's only page.
struct Form {
  SheetDialog& sheet;
  QWidget* page;
  QVBoxLayout* column;

  Form(SheetDialog& s, const std::string& title) : sheet(s), page(s.addPage(title)), column(new QVBoxLayout(page)) {}

  QLineEdit* edit(const std::string& name, const std::string& label, const std::string& value, bool digits = false) {
    auto* e = new QLineEdit(fromCodePage(value), page);
    if (digits) e->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,9}"), e));
    column->addWidget(labelled(page, label, e));
    column->addWidget(e);
    sheet.bind().text(name, label, e);
    return e;
  }
  QCheckBox* check(const std::string& name, const std::string& label, bool on) {
    auto* box = new QCheckBox(fromCodePage(label), page);
    box->setChecked(on);
    column->addWidget(box);
    sheet.bind().check(name, label, box);
    return box;
  }
  // An editable drop-down of the document's files.
  QComboBox* program(const std::string& name, const std::string& label, const std::vector<pages::EntryItem>& files,
                     const std::string& text) {
    auto* combo = new QComboBox(page);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    for (const pages::EntryItem& item : files) combo->addItem(fromCodePage(item.text));
    combo->setCurrentIndex(-1);
    combo->setEditText(fromCodePage(text));
    column->addWidget(labelled(page, label, combo));
    column->addWidget(combo);
    sheet.bind().text(name, label, combo);
    return combo;
  }
  void end() { column->addStretch(); }
};

// A file chosen from the list, or the typed text.
ProgramField programField(QComboBox* combo) {
  ProgramField field;
  int row = combo->currentIndex();
  if (row >= 0 && combo->itemText(row) == combo->currentText()) {
    field.file = row;
  } else {
    field.text = toCodePage(combo->currentText());
  }
  return field;
}

// OK: the assistant's check, then its entries.
template <typename Assistant>
void okAddsEntries(SheetDialog& sheet, Assistant& model, ScriptTree& tree, const BuilderPreferences& prefs,
                   std::function<void()> store) {
  sheet.onOk = [&sheet, &model, &tree, &prefs, store] {
    store();
    Check check = model.check();
    if (!check.ok()) {
      sheet.refuse(check);
      return false;
    }
    model.ok(tree, prefs);
    return true;
  };
}

bool extension(const DialogContext& context, ScriptTree& tree, const BuilderPreferences& prefs) {
  assistants::ExtensionAssistant model;
  SheetDialog sheet(context, assistants::assistantTitle(1), "assistant-extension", "assistant-extension");
  Form f(sheet, assistants::assistantTitle(1));
  QLineEdit* ext = f.edit("Extension", "File e&xtension to add, without dot (i.e TXT) :", model.extension);
  QLineEdit* type = f.edit("FileType", "File &Type / Description (registry only) :", model.fileType);
  QCheckBox* registry = f.check("UseRegistry", "Declare extension in &Registry", model.useRegistry);
  QCheckBox* ini = f.check("UseIni", "Declare extension in &WIN.INI", model.useIni);
  QLineEdit* path = f.edit("ProgramPath", "&Executable full path (directory indexes allowed, i.e. [0]) :", model.programPath);
  QCheckBox* newDocument = f.check("NewDocument", "&Add to Windows \"New Document\" list", model.newDocument);
  QLineEdit* icon = f.edit("IconIndex", "&Icon index from executable :", std::to_string(model.iconIndex), true);
  f.end();
  QTimer::singleShot(0, ext, [ext] { ext->setFocus(); });
  okAddsEntries(sheet, model, tree, prefs, [&] {
    model.extension = toCodePage(ext->text());
    model.fileType = toCodePage(type->text());
    model.useRegistry = registry->isChecked();
    model.useIni = ini->isChecked();
    model.programPath = toCodePage(path->text());
    model.newDocument = newDocument->isChecked();
    model.iconIndex = icon->text().toInt();
  });
  return sheet.run();
}

bool autostart(const DialogContext& context, ScriptTree& tree, const BuilderPreferences& prefs) {
  assistants::AutostartAssistant model(tree);
  SheetDialog sheet(context, assistants::assistantTitle(2), "assistant-autostart", "assistant-autostart");
  Form f(sheet, assistants::assistantTitle(2));
  QComboBox* program = f.program("Program", "&Program or file to launch:", model.files, model.program.text);
  QLineEdit* title = f.edit("Title", "Application &Title:", model.title);
  auto* box = new QGroupBox("Registry settings", f.page);
  auto* inside = new QVBoxLayout(box);
  auto* group = new QButtonGroup(box);
  std::vector<QAbstractButton*> when = {new QRadioButton("Launch program/file &next time Windows starts only", box),
                                        new QRadioButton("Launch program/file &EACH time Windows starts", box)};
  for (QAbstractButton* b : when) {
    group->addButton(b);
    inside->addWidget(b);
  }
  when[model.eachTime ? 1 : 0]->setChecked(true);
  f.column->addWidget(box);
  sheet.bind().radios("Launch", "Registry settings", when);
  QCheckBox* shortcut = f.check(
      "AddShortcut", "&Add a shortcut for this file to a program group (you will need to link the group yourself)",
      model.addShortcut);
  f.end();
  okAddsEntries(sheet, model, tree, prefs, [&] {
    model.program = programField(program);
    model.title = toCodePage(title->text());
    model.eachTime = when[1]->isChecked();
    model.addShortcut = shortcut->isChecked();
  });
  return sheet.run();
}

bool pathRegistration(const DialogContext& context, ScriptTree& tree, const BuilderPreferences& prefs) {
  assistants::PathAssistant model(tree);
  SheetDialog sheet(context, assistants::assistantTitle(3), "assistant-path", "assistant-path");
  Form f(sheet, assistants::assistantTitle(3));
  auto* list = new QListWidget(f.page);
  for (const pages::EntryItem& item : model.files) list->addItem(fromCodePage(item.text));
  f.column->addWidget(new QLabel("Files:", f.page));
  f.column->addWidget(list, 1);
  auto* addNow = new QPushButton("&Add now", f.page);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(addNow);
  f.column->addLayout(row);
  // "&Add now" is the page's default button; it acts at once.
  sheet.okButton()->setDefault(false);
  sheet.okButton()->setAutoDefault(false);
  addNow->setDefault(true);
  sheet.bind().choice("PathFile", "Files:", list);
  static ui::ScriptedInteraction quiet;  // beeps when no port is given
  ui::Interaction& port = context.ui ? *context.ui : static_cast<ui::Interaction&>(quiet);
  QObject::connect(addNow, &QPushButton::clicked, f.page, [&] {
    model.selected = list->selectedItems().isEmpty() ? -1 : list->currentRow();
    model.addNow(port);
  });
  // An answer that selects a file stands for one press of "&Add now".
  sheet.afterFill = [&](const ui::PageResult&) {
    if (!list->selectedItems().isEmpty()) addNow->click();
  };
  sheet.onOk = [&] {
    model.close(prefs);
    return true;
  };
  sheet.onCancel = [&] { model.close(prefs); };
  return sheet.run();
}

bool product(const DialogContext& context, ScriptTree& tree, const BuilderPreferences& prefs) {
  assistants::ProductAssistant model(tree.document());
  SheetDialog sheet(context, assistants::assistantTitle(4), "assistant-product", "assistant-product");
  Form f(sheet, assistants::assistantTitle(4));
  QLineEdit* company = f.edit("Company", "&Your name or company:", model.company);
  QLineEdit* name = f.edit("Product", "&Product name:", model.product);
  QLineEdit* version = f.edit("Version", "Product &version info:", model.version);
  QCheckBox* local = f.check("LocalMachine", "Add registry keys into &Local Machine (user independent)", model.localMachine);
  QCheckBox* user = f.check("CurrentUser", "Add registry keys into &Current user parameters", model.currentUser);
  QCheckBox* info = f.check("UserInfo", "Fill keys with &user information (name and company)", model.userInfo);
  QCheckBox* serial = f.check("Serial", "Fill keys with &serial/license number", model.serial);
  f.end();
  okAddsEntries(sheet, model, tree, prefs, [&] {
    model.company = toCodePage(company->text());
    model.product = toCodePage(name->text());
    model.version = toCodePage(version->text());
    model.localMachine = local->isChecked();
    model.currentUser = user->isChecked();
    model.userInfo = info->isChecked();
    model.serial = serial->isChecked();
  });
  return sheet.run();
}

bool desktop(const DialogContext& context, ScriptTree& tree, const BuilderPreferences& prefs) {
  assistants::DesktopAssistant model(tree);
  SheetDialog sheet(context, assistants::assistantTitle(5), "assistant-desktop", "assistant-desktop");
  Form f(sheet, assistants::assistantTitle(5));
  QComboBox* wallpaper =
      f.program("Wallpaper", "Desktop &Wallpaper (runtime dir variables allowed):", model.files, model.wallpaper.text);
  QComboBox* saver =
      f.program("ScreenSaver", "Screen Saver file (runtime dir allowed, NT only):", model.files, model.screenSaver.text);
  QLineEdit* delay = f.edit("Delay", "Screen Saver activation delay in seconds:", std::to_string(model.delay), true);
  QCheckBox* activate = f.check("Activate", "&Activate Screen Saver", model.activate);
  QCheckBox* secure = f.check("Secure", "Activate Screen Saver &security", model.secure);
  QCheckBox* drag = f.check("DragFullWindows", "Display &windows while dragged (95 MsPlus/98/NT4)", model.dragFullWindows);
  QCheckBox* tile = f.check("Tile", "&Tile Wallpaper", model.tile);
  f.end();
  okAddsEntries(sheet, model, tree, prefs, [&] {
    model.wallpaper = programField(wallpaper);
    model.screenSaver = programField(saver);
    model.delay = delay->text().toInt();
    model.activate = activate->isChecked();
    model.secure = secure->isChecked();
    model.dragFullWindows = drag->isChecked();
    model.tile = tile->isChecked();
  });
  return sheet.run();
}

}  // namespace

bool runAssistant(const DialogContext& context, int number, ScriptTree& tree, const BuilderPreferences& prefs) {
  switch (number) {
    case 1: return extension(context, tree, prefs);
    case 2: return autostart(context, tree, prefs);
    case 3: return pathRegistration(context, tree, prefs);
    case 4: return product(context, tree, prefs);
    case 5: return desktop(context, tree, prefs);
  }
  return false;
}

}  // namespace vandrel::builder::qt
