// The settings sheet (General, System, UnInstall), the background sheet and the
// end-of-install sheet (End of Install, Web favorites).
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "builder/pages/end_pages.h"
#include "builder/qt/builder_dialogs.h"
#include "builder/qt/sheet_dialog.h"
#include "builder/strings/builder_strings.h"

namespace vandrel::builder::qt {

namespace {

using pages::Check;

QCheckBox* checkBox(QWidget* page, const std::string& label, bool checked) {
  auto* box = new QCheckBox(fromCodePage(label), page);
  box->setChecked(checked);
  return box;
}

QLineEdit* digitsOnly(QLineEdit* edit) {
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
  return edit;
}

// ---- General, System, UnInstall ----

struct GeneralControls {
  QLineEdit *appName, *ver, *title, *loadTxt, *defDir, *loadBmp, *ownMsg, *archiveSize;
  QCheckBox *regInfo, *showLicence, *archive;
  RadioFrame type;
};

GeneralControls generalPage(SheetDialog& sheet, pages::CGeneralPage& page) {
  QWidget* w = sheet.addPage("General");
  auto* grid = new QGridLayout(w);
  GeneralControls c{};
  int row = 0;
  auto line = [&](const std::string& label, const std::string& key, const std::string& value) {
    auto* e = new QLineEdit(fromCodePage(value), w);
    grid->addWidget(labelled(w, label, e), row, 0);
    grid->addWidget(e, row++, 1, 1, 2);
    sheet.bind().text(key, label, e);
    return e;
  };
  c.appName = line("Application &name:", "AppName", page.appName);
  c.ver = line("&Version:", "Ver", page.ver);
  c.title = line("Install Window &Title:", "Title", page.title);
  c.loadTxt = line("&Loading text while preparing Setup:", "LoadTxt", page.loadTxt);
  c.defDir = line("Default &directory:", "DefDir", page.defDir);
  c.loadBmp = line("&Bitmap to display while loading:", "LoadBmp", page.loadBmp);
  c.regInfo = checkBox(w, "Show the &register window", page.regInfo);
  c.showLicence = checkBox(w, "&Show licence agreement", page.showLicence);
  grid->addWidget(c.regInfo, row++, 0, 1, 3);
  grid->addWidget(c.showLicence, row++, 0, 1, 3);
  // The welcome message: four choices, the owner's text beside "Owner:".
  c.type = radioFrame(w, "&Welcome window message", {"Freeware", "Shareware", "Copyright", "Owner:"}, page.type, 4);
  c.ownMsg = new QLineEdit(fromCodePage(page.ownMsg), c.type.box);
  auto* inside = static_cast<QGridLayout*>(c.type.box->layout());
  inside->addWidget(c.ownMsg, 1, 0, 1, 4);
  c.type.box->setEnabled(page.welcomeEnabled());
  grid->addWidget(c.type.box, row++, 0, 1, 3);
  c.archive = checkBox(w, "Split files in &archives (indicate size in KB:)", page.archive);
  c.archiveSize = digitsOnly(new QLineEdit(fromCodePage(page.archiveSize), w));
  c.archiveSize->setEnabled(page.archiveSizeEnabled());
  QObject::connect(c.archive, &QCheckBox::toggled, c.archiveSize, &QLineEdit::setEnabled);
  grid->addWidget(c.archive, row, 0, 1, 2);
  grid->addWidget(c.archiveSize, row++, 2);
  grid->setRowStretch(row, 1);
  grid->setColumnStretch(1, 1);
  sheet.bind().check("RegInfo", "Show the &register window", c.regInfo);
  sheet.bind().check("ShowLicence", "&Show licence agreement", c.showLicence);
  sheet.bind().radios("Type", "&Welcome window message", c.type.buttons);
  sheet.bind().text("OwnMsg", "Owner:", c.ownMsg);
  sheet.bind().check("Archive", "Split files in &archives (indicate size in KB:)", c.archive);
  sheet.bind().text("ArchiveSize", "Split files in &archives (indicate size in KB:)", c.archiveSize);
  return c;
}

void store(const GeneralControls& c, pages::CGeneralPage& page) {
  page.appName = toCodePage(c.appName->text());
  page.ver = toCodePage(c.ver->text());
  page.title = toCodePage(c.title->text());
  page.loadTxt = toCodePage(c.loadTxt->text());
  page.defDir = toCodePage(c.defDir->text());
  page.loadBmp = toCodePage(c.loadBmp->text());
  page.regInfo = c.regInfo->isChecked();
  page.showLicence = c.showLicence->isChecked();
  page.type = c.type.selected();
  page.ownMsg = toCodePage(c.ownMsg->text());
  page.archive = c.archive->isChecked();
  page.archiveSize = toCodePage(c.archiveSize->text());
}

struct SystemControls {
  RadioFrame cpu, windows, platforms, language;
  QLineEdit* build;
};

SystemControls systemPage(SheetDialog& sheet, pages::CSystemPage& page) {
  QWidget* w = sheet.addPage("System");
  auto* grid = new QGridLayout(w);
  SystemControls c{};
  c.cpu = radioFrame(w, "&Processor required", {"386", "486", "Pentium"}, page.minCpu);
  c.windows = radioFrame(w, "&Windows version",
                         {"3.1", "3.11", "3.1x w/ Win32s", "Win'95/98", "NT 3.51", "NT 4 and up"}, page.minWin);
  c.platforms = radioFrame(w, "&Install platforms", {"Windows 16 Bits", "Windows 32 Bits", "Both"}, page.nSyst);
  c.language = radioFrame(w, "Installer &Language", {"English", "French"}, page.language);
  c.build = digitsOnly(new QLineEdit(fromCodePage(page.nCompil), w));
  grid->addWidget(c.cpu.box, 0, 0);
  grid->addWidget(c.windows.box, 0, 1, 2, 1);
  grid->addWidget(c.platforms.box, 1, 0);
  grid->addWidget(c.language.box, 2, 0);
  auto* buildRow = new QHBoxLayout;
  buildRow->addWidget(labelled(w, "Special &build:", c.build));
  buildRow->addWidget(c.build);
  grid->addLayout(buildRow, 2, 1, Qt::AlignTop);
  grid->setRowStretch(3, 1);
  sheet.bind().radios("minCpu", "&Processor required", c.cpu.buttons);
  sheet.bind().radios("minWin", "&Windows version", c.windows.buttons);
  sheet.bind().radios("nSyst", "&Install platforms", c.platforms.buttons);
  sheet.bind().text("nCompil", "Special &build:", c.build);
  sheet.bind().radios("Language", "Installer &Language", c.language.buttons);
  return c;
}

void store(const SystemControls& c, pages::CSystemPage& page) {
  page.minCpu = c.cpu.selected();
  page.minWin = c.windows.selected();
  page.nSyst = c.platforms.selected();
  page.nCompil = toCodePage(c.build->text());
  page.language = c.language.selected();
}

struct UninstallControls {
  RadioFrame which;
  QComboBox* group;
  QLineEdit* unDesc;
};

UninstallControls uninstallPage(SheetDialog& sheet, pages::CUnInstallPage& page) {
  QWidget* w = sheet.addPage("UnInstall");
  auto* column = new QVBoxLayout(w);
  UninstallControls c{};
  c.which = radioFrame(w, "UnInstaller", {"Use &Dallow", "Use your &own UnInstaller"}, page.ownUnInstall);
  column->addWidget(c.which.box);
  c.group = new QComboBox(w);
  for (const pages::EntryItem& item : page.groups) c.group->addItem(fromCodePage(item.text));
  c.group->setCurrentIndex(page.group);
  c.unDesc = new QLineEdit(fromCodePage(page.unDesc), w);
  auto* grid = new QGridLayout;
  grid->addWidget(labelled(w, "&Group to use for Dallow :", c.group), 0, 0);
  grid->addWidget(c.group, 0, 1);
  grid->addWidget(labelled(w, "&Shortcut name :", c.unDesc), 1, 0);
  grid->addWidget(c.unDesc, 1, 1);
  grid->setColumnStretch(1, 1);
  column->addLayout(grid);
  column->addStretch();
  sheet.bind().radios("OwnUnInstall", "UnInstaller", c.which.buttons);
  sheet.bind().choice("UninstallGroup", "&Group to use for Dallow :", c.group);
  sheet.bind().text("UnDesc", "&Shortcut name :", c.unDesc);
  return c;
}

void store(const UninstallControls& c, pages::CUnInstallPage& page) {
  page.ownUnInstall = c.which.selected();
  page.group = c.group->currentIndex();
  page.unDesc = toCodePage(c.unDesc->text());
}

}  // namespace

bool runSettingsSheet(const DialogContext& context, ScriptTree& tree, int startPage,
                      pages::SettingsViewState& view) {
  pages::SettingsSheet model(tree, startPage);
  SheetDialog sheet(context, str(sid::SettingsCaption), "settings", "settings");
  GeneralControls general = generalPage(sheet, model.general);
  SystemControls system = systemPage(sheet, model.system);
  UninstallControls uninstall = uninstallPage(sheet, model.uninstall);
  sheet.showPage(model.startPage());
  sheet.onOk = [&] {
    store(general, model.general);
    store(system, model.system);
    store(uninstall, model.uninstall);
    auto [page, check] = model.check();
    if (page >= 0) {
      sheet.showPage(page);
      sheet.refuse(check);
      return false;
    }
    static ui::ScriptedInteraction quiet;  // only when no port is given
    return model.ok(context.ui ? *context.ui : static_cast<ui::Interaction&>(quiet), view);
  };
  return sheet.run();
}

bool runBackgroundSheet(const DialogContext& context, CScriptDoc& doc) {
  pages::SetBackDlg model;
  model.fill(doc.background);
  SheetDialog sheet(context, str(sid::BackgroundCaption), "background", "background");
  QWidget* w = sheet.addPage("Main Window");
  auto* grid = new QGridLayout(w);
  RadioFrame background = radioFrame(w, "&Background", {"One Color", "Gradient fill"}, model.gradient);
  RadioFrame direction = radioFrame(w, "&Gradient", {"Horizontal", "Vertical"}, model.vert);
  auto chooser = [context](std::uint32_t initial) { return chooseColour(context, initial); };
  auto* top = new ColourSwatch(w, chooser);
  auto* bottom = new ColourSwatch(w, chooser);
  top->setColour(model.top);
  bottom->setColour(model.bottom);
  top->changed = [&model](std::uint32_t c) { model.chooseColour(0, c); };
  bottom->changed = [&model](std::uint32_t c) { model.chooseColour(1, c); };
  auto* secondLabel = new QLabel("Second color:", w);
  auto* colours = new QGridLayout;
  colours->addWidget(new QLabel("First color:", w), 0, 0);
  colours->addWidget(top, 0, 1);
  colours->addWidget(secondLabel, 1, 0);
  colours->addWidget(bottom, 1, 1);
  auto* bitmap = checkBox(w, "&Show a bitmap picture", model.bitmap);
  auto* bitmapBox = new QGroupBox("Bitmap", w);
  auto* bitmapGrid = new QGridLayout(bitmapBox);
  auto* nameLabel = new QLabel("&Name (must be on 1st disk) :", bitmapBox);
  auto* bmpName = new QLineEdit(fromCodePage(model.bmpName), bitmapBox);
  nameLabel->setBuddy(bmpName);
  RadioFrame mode = radioFrame(bitmapBox, "&Drawing attributes",
                               {"Centered", "Stretched", "Mosaic", "Centered Mosaic", "All Screen"}, model.bmpMode);
  bitmapGrid->addWidget(nameLabel, 0, 0);
  bitmapGrid->addWidget(bmpName, 0, 1);
  bitmapGrid->addWidget(mode.box, 1, 0, 1, 2);
  auto* caption = checkBox(w, "Show Main Window's &caption", model.caption);
  grid->addWidget(background.box, 0, 0);
  grid->addWidget(direction.box, 0, 1);
  grid->addLayout(colours, 1, 0, 1, 2);
  grid->addWidget(bitmap, 2, 0, 1, 2);
  grid->addWidget(bitmapBox, 3, 0, 1, 2);
  grid->addWidget(caption, 4, 0, 1, 2);
  grid->setRowStretch(5, 1);

  // The enabling follows the model: the gradient's direction and second colour, the bitmap's
  // name and drawing attributes.
  auto enable = [&] {
    model.gradient = background.selected();
    model.bitmap = bitmap->isChecked();
    direction.box->setEnabled(model.gradientControlsEnabled());
    secondLabel->setEnabled(model.gradientControlsEnabled());
    bitmapBox->setEnabled(model.bitmapControlsEnabled());
  };
  enable();
  for (QAbstractButton* b : background.buttons) QObject::connect(b, &QAbstractButton::toggled, w, enable);
  QObject::connect(bitmap, &QCheckBox::toggled, w, enable);

  sheet.bind().radios("Gradient", "&Background", background.buttons);
  sheet.bind().radios("Vert", "&Gradient", direction.buttons);
  sheet.bind().colour("Top", "First color:", top);
  sheet.bind().colour("Bottom", "Second color:", bottom);
  sheet.bind().check("Bitmap", "&Show a bitmap picture", bitmap);
  sheet.bind().text("BmpName", "&Name (must be on 1st disk) :", bmpName);
  sheet.bind().radios("BmpMode", "&Drawing attributes", mode.buttons);
  sheet.bind().check("Caption", "Show Main Window's &caption", caption);
  sheet.onOk = [&] {
    model.gradient = background.selected();
    model.vert = direction.selected();
    model.bitmap = bitmap->isChecked();
    model.bmpName = toCodePage(bmpName->text());
    model.bmpMode = mode.selected();
    model.caption = caption->isChecked();
    model.ok(doc);
    return true;
  };
  return sheet.run();
}

bool runEndSheet(const DialogContext& context, CScriptDoc& doc, int startPage) {
  pages::EndSheet model(doc);
  SheetDialog sheet(context, str(sid::SettingsCaption), "end-of-install", "end-sheet");

  // "End of Install".
  QWidget* w = sheet.addPage("End of Install");
  auto* grid = new QGridLayout(w);
  RadioFrame reboot = radioFrame(w, "&Reboot", {"No", "Computer", "Windows"}, model.end.reboot);
  auto* launch = new QListWidget(w);
  auto* command = new QLineEdit(w);
  auto* add = new QPushButton("&Add", w);
  auto* remove = new QPushButton("&Delete", w);
  add->setObjectName("AddCommand");
  remove->setObjectName("DeleteCommand");
  launch->setObjectName("Launch");
  grid->addWidget(reboot.box, 0, 0, 1, 2);
  grid->addWidget(new QLabel("Programs to Launch:", w), 1, 0, 1, 2);
  grid->addWidget(launch, 2, 0, 3, 1);
  grid->addWidget(remove, 2, 1);
  grid->addWidget(labelled(w, "New &Command Line:", command), 5, 0, 1, 2);
  grid->addWidget(command, 6, 0);
  grid->addWidget(add, 6, 1);
  grid->setRowStretch(4, 1);
  auto showLaunch = [&] {
    launch->clear();
    for (const std::string& line : model.end.launch) launch->addItem(fromCodePage(line));
    command->setText(fromCodePage(model.end.edit));
  };
  showLaunch();
  QObject::connect(add, &QPushButton::clicked, w, [&] {
    model.end.edit = toCodePage(command->text());
    model.end.add();
    showLaunch();
  });
  QObject::connect(remove, &QPushButton::clicked, w, [&] {
    model.end.selected = launch->selectedItems().isEmpty() ? -1 : launch->currentRow();
    model.end.edit = toCodePage(command->text());
    model.end.remove();
    showLaunch();
  });
  QObject::connect(launch, &QListWidget::itemDoubleClicked, w, [&](QListWidgetItem* item) {
    model.end.pick(launch->row(item));
    command->setText(fromCodePage(model.end.edit));
  });

  // "Web favorites".
  QWidget* web = sheet.addPage("Web favorites");
  auto* webGrid = new QGridLayout(web);
  auto* startUrl = new QLineEdit(fromCodePage(model.web.startUrl), web);
  QTreeWidget* rows = columnList(web, pages::CWebUrlDlg::columns(), {135, 135});
  auto* name = new QLineEdit(web);
  auto* url = new QLineEdit(web);
  auto* addFavourite = new QPushButton("&Add", web);
  auto* removeFavourite = new QPushButton("&Delete", web);
  addFavourite->setObjectName("AddFavorite");
  removeFavourite->setObjectName("DeleteFavorite");
  rows->setObjectName("Favorites");
  webGrid->addWidget(labelled(web, "&Start default browser with specified URL :", startUrl), 0, 0, 1, 2);
  webGrid->addWidget(startUrl, 1, 0, 1, 2);
  webGrid->addWidget(rows, 2, 0, 3, 1);
  webGrid->addWidget(removeFavourite, 2, 1);
  webGrid->addWidget(labelled(web, "Favorite shortcut name :", name), 5, 0);
  webGrid->addWidget(name, 6, 0);
  webGrid->addWidget(labelled(web, "Favorite URL :", url), 7, 0);
  webGrid->addWidget(url, 8, 0);
  webGrid->addWidget(addFavourite, 8, 1);
  webGrid->setRowStretch(4, 1);
  auto showRows = [&] {
    rows->clear();
    for (const auto& [n, u] : model.web.rows) rows->addTopLevelItem(new QTreeWidgetItem({fromCodePage(n), fromCodePage(u)}));
    name->setText(fromCodePage(model.web.nameEdit));
    url->setText(fromCodePage(model.web.urlEdit));
  };
  showRows();
  static ui::ScriptedInteraction quiet;  // beeps when no port is given
  ui::Interaction& port = context.ui ? *context.ui : static_cast<ui::Interaction&>(quiet);
  QObject::connect(addFavourite, &QPushButton::clicked, web, [&] {
    model.web.nameEdit = toCodePage(name->text());
    model.web.urlEdit = toCodePage(url->text());
    if (model.web.add(port)) showRows();
  });
  QObject::connect(removeFavourite, &QPushButton::clicked, web, [&] {
    model.web.selected = rows->selectedItems().isEmpty() ? -1 : rows->indexOfTopLevelItem(rows->currentItem());
    if (model.web.remove(port)) showRows();
  });
  QObject::connect(rows, &QTreeWidget::itemClicked, web, [&](QTreeWidgetItem* item) {
    model.web.pick(rows->indexOfTopLevelItem(item));
    name->setText(fromCodePage(model.web.nameEdit));
    url->setText(fromCodePage(model.web.urlEdit));
  });

  sheet.bind().radios("Reboot", "&Reboot", reboot.buttons);
  sheet.bind().text("NewCommand", "New &Command Line:", command);
  sheet.bind().text("StartURL", "&Start default browser with specified URL :", startUrl);
  sheet.bind().text("FavoriteName", "Favorite shortcut name :", name);
  sheet.bind().text("FavoriteURL", "Favorite URL :", url);
  // An answer that types a command line or a favourite stands for pressing its "&Add".
  sheet.afterFill = [&](const ui::PageResult&) {
    if (!command->text().isEmpty()) add->click();
    if (!name->text().isEmpty() && !url->text().isEmpty()) addFavourite->click();
  };
  sheet.showPage(startPage);
  sheet.onOk = [&] {
    model.end.reboot = reboot.selected();
    model.web.startUrl = toCodePage(startUrl->text());
    model.ok(doc);
    return true;
  };
  return sheet.run();
}

}  // namespace vandrel::builder::qt
