// The preferences sheet, the about box, the tip of the day and the splash window.
#include "builder/qt/app_dialogs.h"

#include <QApplication>

#include <QCheckBox>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QSplashScreen>
#include <QTabWidget>
#include <QTimer>
#include <QEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "builder/generate/headless_session.h"
#include "builder/prefs/preferences_sheet.h"
#include "builder/prefs/preferences_store.h"
#include "builder/prefs/tip_file.h"
#include "builder/qt/sheet_dialog.h"
#include "builder/strings/builder_strings.h"
#include "script/size_text.h"
#include "platform/web/browser_launcher.h"

namespace vandrel::builder::app {

namespace {

using qt::SheetDialog;
using ui::qt::fromCodePage;

qt::DialogContext contextOf(QWidget* parent, frame::BuilderCore& core) {
  return qt::dialogContext(parent, core.ui, &core.machine.files());
}

// A check box in the column, bound to the answers' field name.
QCheckBox* check(SheetDialog& sheet, QVBoxLayout* column, const std::string& name, const std::string& label,
                 bool checked) {
  auto* box = new QCheckBox(fromCodePage(label));
  box->setChecked(checked);
  column->addWidget(box);
  sheet.bind().check(name, label, box);
  return box;
}

// Radio buttons in a frame in the column, bound to the answers' field name by position.
qt::RadioFrame radios(SheetDialog& sheet, QWidget* page, QVBoxLayout* column, const std::string& name,
                      const std::string& title, const std::vector<std::string>& items, int selected) {
  qt::RadioFrame frame = qt::radioFrame(page, title, items, selected);
  column->addWidget(frame.box);
  sheet.bind().radios(name, title, frame.buttons);
  return frame;
}

// The colour swatch of the background page (48 by 20 pixels, its frame in the text colour):
// a double-click chooses another colour.
qt::ColourSwatch* swatch(SheetDialog& sheet, QWidget* page, const std::string& name, const std::string& label,
                         std::uint32_t colour) {
  const qt::DialogContext& context = sheet.context();
  auto* s = new qt::ColourSwatch(page, [context](std::uint32_t initial) { return qt::chooseColour(context, initial); });
  s->setFixedSize(48, 20);
  QPalette palette = s->palette();
  palette.setColor(QPalette::Dark, palette.color(QPalette::WindowText));
  s->setPalette(palette);
  s->setToolTip("Double-click to choose the colour");
  s->setColour(colour);
  sheet.bind().colour(name, label, s);
  return s;
}

struct MainControls {
  QCheckBox *confirm, *progress, *visible, *check, *load, *save;
  QLineEdit* defEdit;
  qt::RadioFrame icons;
};

MainControls mainPage(SheetDialog& sheet, const BuilderPreferences& p) {
  QWidget* page = sheet.addPage("Main");
  auto* m = new QVBoxLayout(page);
  MainControls c{};
  c.confirm = check(sheet, m, "ConfirmErase", "&Confirm deletion", p.confirmErase);
  c.progress = check(sheet, m, "EmbeddedProgress", "Show the &progress bar when embedded", p.showProgress);
  c.visible = check(sheet, m, "EnsureVisible", "Always ensure tree items &visibility", p.ensureVisible);
  c.check = check(sheet, m, "AutoCheck", "Check script &integrity after loading", p.autoCheck);
  const std::string editLabel = "Default text editor command line, where %1 represents the file to display:";
  m->addWidget(new QLabel(fromCodePage(editLabel)));
  // The command line goes in and out of the edit as the store's text, unconverted.
  c.defEdit = new QLineEdit(QString::fromStdString(p.defEdit));
  m->addWidget(c.defEdit);
  sheet.bind().text("DefEdit", editLabel, c.defEdit);
  c.icons = radios(sheet, page, m, "IconSize", "Icons Si&ze", {"16 Pixels", "32 Pixels"}, p.iconSize == 32 ? 1 : 0);
  c.load = check(sheet, m, "LoadOnOpen", "&Load the configuration on startup", p.loadOnOpen);
  c.save = check(sheet, m, "SaveOnExit", "&Save the configuration on exit", p.saveOnExit);
  m->addStretch();
  return c;
}

struct BackgroundControls {
  qt::RadioFrame mode, fill;
  QCheckBox* vertical;
  QSpinBox *x, *y;
  qt::ColourSwatch *first, *second;
  QLineEdit* bitmap;
};

QSpinBox* coordinate(SheetDialog& sheet, QFormLayout* form, const std::string& name, const std::string& label,
                     int value) {
  auto* spin = new QSpinBox;
  spin->setRange(0, 32767);
  spin->setValue(value);
  form->addRow(fromCodePage(label), spin);
  sheet.bind().number(name, label, spin);
  return spin;
}

BackgroundControls backgroundPage(SheetDialog& sheet, const prefs::BackgroundChoice& back) {
  QWidget* page = sheet.addPage("Background");
  auto* b = new QVBoxLayout(page);
  BackgroundControls c{};
  c.mode = radios(sheet, page, b, "BitmapMode", "Bitmap",
                  {"Centered bitmap", "Centered Tiled bitmap", "Tiled bitmap", "Static bitmap", "Stretched bitmap",
                   "Without bitmap"},
                  back.bitmapMode);
  c.fill = radios(sheet, page, b, "Fill", "Background", {"Color gradient", "Plain background"}, back.gradient ? 0 : 1);
  c.vertical = check(sheet, b, "GradDir", "Vertical &Gradient", back.vertical);
  auto* position = new QFormLayout;
  c.x = coordinate(sheet, position, "posX", "&X", back.posX);
  c.y = coordinate(sheet, position, "posY", "&Y", back.posY);
  c.first = swatch(sheet, page, "FirstColor", "1st Color:", back.firstColour);
  c.second = swatch(sheet, page, "SecondColor", "2nd Color:", back.secondColour);
  position->addRow("1st Color:", c.first);
  position->addRow("2nd Color:", c.second);
  b->addLayout(position);
  // The bitmap is named by its host path.
  c.bitmap = new QLineEdit(QString::fromStdString(back.bitmap));
  sheet.bind().text("BitmapFile", "&Select Bitmap...", c.bitmap);
  auto* pick = new QPushButton("&Select Bitmap...");
  QLineEdit* edit = c.bitmap;
  QObject::connect(pick, &QPushButton::clicked, &sheet, [&sheet, edit] {
    QString chosen = QFileDialog::getOpenFileName(&sheet, fromCodePage(str(sid::PickBitmapTitle)), edit->text(),
                                                  "Bitmap Files (*.bmp);; All (*.*)");
    if (!chosen.isEmpty()) edit->setText(chosen);
  });
  auto* row = new QHBoxLayout;
  row->addWidget(c.bitmap);
  row->addWidget(pick);
  b->addLayout(row);
  b->addStretch();
  return c;
}

struct DropControls {
  QCheckBox *props, *dirAdd, *dirInc, *dirSub, *summary;
  qt::RadioFrame dirMode;
};

DropControls dropPage(SheetDialog& sheet, const BuilderPreferences& p) {
  QWidget* page = sheet.addPage("File Drop");
  auto* d = new QVBoxLayout(page);
  DropControls c{};
  c.props = check(sheet, d, "DispProps", "Display file &properties after added", p.dispProps);
  c.dirMode = radios(sheet, page, d, "DirMode", "Destination",
                     {"Select a new directory", "Use the file's parent directory", "Just add the file"}, p.dirMode);
  c.dirAdd = check(sheet, d, "DropDirAdd", "&Add directory to script", p.dropDirAdd);
  c.dirInc = check(sheet, d, "DropDirInc", "Include files i&nto directory", p.dropDirInc);
  c.dirSub = check(sheet, d, "DropDirSub", "Include also its &subfolders and files", p.dropDirSub);
  c.summary = check(sheet, d, "DispSummary", "Display a s&ummary after completion", p.dispSummary);
  d->addStretch();
  return c;
}

// The set radio button's position; -1 when none is set.
int checkedIndex(const qt::RadioFrame& frame) {
  for (std::size_t i = 0; i < frame.buttons.size(); ++i) {
    if (frame.buttons[i]->isChecked()) return int(i);
  }
  return -1;
}

}  // namespace

bool runPreferences(QWidget* parent, frame::BuilderCore& core, const BackgroundTarget& background) {
  const BuilderPreferences& p = core.preferences;
  SheetDialog sheet(contextOf(parent, core), "Preferences", "preferences", "preferences");
  sheet.pageInShotName = false;
  MainControls main = mainPage(sheet, p);
  prefs::BackgroundChoice back = prefs::BackgroundChoice::of(core.window);
  BackgroundControls look = backgroundPage(sheet, back);
  DropControls drop = dropPage(sheet, p);
  sheet.showPage(std::clamp(core.preferencesPage, 0, 2));
  bool ok = sheet.run();
  core.preferencesPage = sheet.tabs()->currentIndex();
  if (!ok) return false;

  if (p.saveOnExit && !main.save->isChecked()) {
    if (auto settings = prefs::openSettings()) prefs::writeSaveOnExit(*settings, false);
  }
  BuilderPreferences edited = p;
  edited.confirmErase = main.confirm->isChecked();
  edited.showProgress = main.progress->isChecked();
  edited.ensureVisible = main.visible->isChecked();
  edited.autoCheck = main.check->isChecked();
  edited.defEdit = main.defEdit->text().toStdString();
  edited.iconSize = checkedIndex(main.icons) == 1 ? 32 : 16;
  edited.loadOnOpen = main.load->isChecked();
  edited.saveOnExit = main.save->isChecked();
  edited.dispProps = drop.props->isChecked();
  edited.dirMode = std::max(0, checkedIndex(drop.dirMode));
  edited.dropDirAdd = drop.dirAdd->isChecked();
  edited.dropDirInc = drop.dirInc->isChecked();
  edited.dropDirSub = drop.dirSub->isChecked();
  edited.dispSummary = drop.summary->isChecked();
  prefs::applyPreferences(core.preferences, edited);

  back.bitmapMode = checkedIndex(look.mode);
  back.gradient = checkedIndex(look.fill) == 0;
  back.vertical = look.vertical->isChecked();
  back.posX = look.x->value();
  back.posY = look.y->value();
  back.firstColour = look.first->colour();
  back.secondColour = look.second->colour();
  back.bitmap = look.bitmap->text().toStdString();
  // A new bitmap is tried on the previous state; the background is shown again when changed.
  prefs::WindowState probe = core.window;
  bool changed = prefs::applyBackground(core.window, back, background.showsBitmap, [&](const std::string& path) {
    probe.bitmap = path;
    return background.show(probe);
  });
  if (changed) background.show(core.window);
  return true;
}

void runAbout(QWidget* parent, frame::BuilderCore& core) {
  SheetDialog box(contextOf(parent, core), "About Corvix...", "about", "about", SheetDialog::Frame::Box);
  QVBoxLayout* layout = box.column();
  auto* title = new QLabel(fromCodePage(str(128)));
  QFont bold = title->font();
  bold.setBold(true);
  bold.setPointSize(bold.pointSize() + 4);
  title->setFont(bold);
  layout->addWidget(title);
  layout->addWidget(new QLabel("The installation builder of the Vandrel system."));
  std::string memory = script::FormatSize(double(core.machine.system().totalPhysicalMemory()));
  layout->addWidget(new QLabel(fromCodePage("Physical memory: " + memory)));
  std::string drive = "C:\\";
  std::optional<platform::DiskSpace> space = core.machine.files().diskFreeSpace(drive);
  layout->addWidget(new QLabel(
      fromCodePage("Free disk space: " + (space ? script::FormatSize(double(space->freeBytes())) : str(104)))));
  platform::BrowserLauncher browser(core.machine);
  bool found = browser.FindBrowser(std::nullopt, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  QPushButton* connectButton = buttons->addButton("&Connect", QDialogButtonBox::ActionRole);
  connectButton->setEnabled(found);
  QObject::connect(connectButton, &QPushButton::clicked, &box, [&] {
    browser.OpenInBrowser("http://www.vandrel.example/");
    box.accept();
  });
  QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
  layout->addWidget(buttons);
  box.setButtons(buttons->button(QDialogButtonBox::Ok), nullptr);
  box.run();
}

void runTipOfTheDay(QWidget* parent, frame::BuilderCore& core, bool atStartUp) {
  std::unique_ptr<QSettings> settings = prefs::openSettings();
  if (!settings) return;
  std::string folder = programFolderOf(core.machine);
  std::filesystem::path host = core.machine.files().hostPath(folder + "\\tips.txt").value_or("");
  prefs::TipFile tips(host, prefs::readTipPlace(*settings));
  if (atStartUp && !tips.showAtStartUp()) return;
  std::string tip = tips.next();
  if (tips.status() == prefs::TipFile::Status::Missing) tip = str(124);
  if (tips.status() == prefs::TipFile::Status::Unreadable) tip = str(125);

  SheetDialog box(contextOf(parent, core), "Tip of the Day", "tip", "tip", SheetDialog::Frame::Box);
  QVBoxLayout* layout = box.column();
  auto* heading = new QLabel("Did you know...");
  QFont bold = heading->font();
  bold.setBold(true);
  bold.setPointSize(bold.pointSize() + 2);
  heading->setFont(bold);
  layout->addWidget(heading);
  auto* text = new QLabel(fromCodePage(tip));
  text->setWordWrap(true);
  text->setMinimumSize(360, 80);
  text->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  text->setFrameShape(QFrame::StyledPanel);
  layout->addWidget(text);
  auto* startUp = new QCheckBox("&Show Tips on StartUp");
  startUp->setChecked(tips.showAtStartUp());
  box.bind().check("StartUp", "&Show Tips on StartUp", startUp);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  QPushButton* nextButton = buttons->addButton("&Next Tip", QDialogButtonBox::ActionRole);
  QObject::connect(nextButton, &QPushButton::clicked, &box, [&] { text->setText(fromCodePage(tips.next())); });
  QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::accept);
  auto* row = new QHBoxLayout;
  row->addWidget(startUp);
  row->addStretch();
  row->addWidget(buttons);
  layout->addLayout(row);
  box.setButtons(buttons->button(QDialogButtonBox::Close), nullptr);
  box.run();
  tips.setShowAtStartUp(startUp->isChecked());
  prefs::writeTipPlace(*settings, tips.place());
}

namespace {

// Closes the splash at the first key press or mouse click anywhere in the application.
class SplashCloser : public QObject {
 public:
  explicit SplashCloser(QWidget* splash) : QObject(splash), splash_(splash) {
    QApplication::instance()->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::MouseButtonPress:
      case QEvent::NonClientAreaMouseButtonPress:
        QTimer::singleShot(0, splash_, &QWidget::close);
        break;
      default: break;
    }
    return false;
  }

 private:
  QWidget* splash_;
};

// The splash window, which says when it closes.
class SplashWindow : public QSplashScreen {
 public:
  SplashWindow(const QPixmap& picture, std::function<void()> closed)
      : QSplashScreen(picture, Qt::WindowStaysOnTopHint), closed_(std::move(closed)) {}

 protected:
  void closeEvent(QCloseEvent* event) override {
    QSplashScreen::closeEvent(event);
    if (!closed_) return;
    // Once only, after the window is gone from the screen.
    QTimer::singleShot(0, std::exchange(closed_, nullptr));
  }

 private:
  std::function<void()> closed_;
};

}  // namespace

QWidget* showSplash(frame::BuilderCore& core, std::function<void()> closed) {
  if (core.unattended) return nullptr;
  QPixmap picture(420, 240);
  QPainter painter(&picture);
  QLinearGradient gradient(0, 0, 0, 240);
  gradient.setColorAt(0, QColor(0, 0, 160));
  gradient.setColorAt(1, QColor(0, 128, 128));
  painter.fillRect(picture.rect(), gradient);
  painter.setPen(Qt::white);
  QFont font = painter.font();
  font.setPixelSize(40);
  font.setBold(true);
  font.setItalic(true);
  painter.setFont(font);
  painter.drawText(picture.rect(), Qt::AlignCenter, fromCodePage(str(128)));
  painter.end();
  // Above the main window, which was shown just before it.
  auto* splash = new SplashWindow(picture, std::move(closed));
  splash->setObjectName("splash");
  splash->setAttribute(Qt::WA_DeleteOnClose);
  new SplashCloser(splash);
  splash->show();
  splash->raise();
  splash->activateWindow();
  QTimer::singleShot(4500, splash, &QWidget::close);
  return splash;
}

}  // namespace vandrel::builder::app
