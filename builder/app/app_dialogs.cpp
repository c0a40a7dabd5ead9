// The preferences sheet, the about box, the tip of the day and the splash window.
#include "builder/app/app_dialogs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QSplashScreen>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "builder/app/main_frame.h"
#include "builder/generate/headless_session.h"
#include "builder/prefs/preferences_sheet.h"
#include "builder/prefs/preferences_store.h"
#include "builder/prefs/tip_file.h"
#include "builder/strings/builder_strings.h"
#include "platform/code_page.h"
#include "script/size_text.h"
#include "platform/web/browser_launcher.h"
#include "ui/qt/gui_services.h"

namespace vandrel::builder::app {

namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

QColor fromColourRef(std::uint32_t c) { return QColor(int(c & 0xff), int((c >> 8) & 0xff), int((c >> 16) & 0xff)); }
std::uint32_t toColourRef(const QColor& c) {
  return std::uint32_t(c.red()) | (std::uint32_t(c.green()) << 8) | (std::uint32_t(c.blue()) << 16);
}

QCheckBox* box(QVBoxLayout* layout, const char* text, bool checked) {
  auto* b = new QCheckBox(QString::fromUtf8(text).replace("&&", "&"));
  b->setChecked(checked);
  layout->addWidget(b);
  return b;
}

// Radio buttons in a group box; the group's ids are the item indexes.
QButtonGroup* radios(QVBoxLayout* layout, const char* title, std::initializer_list<const char*> items,
                     int selected) {
  auto* group = new QGroupBox(QString::fromUtf8(title));
  auto* inner = new QVBoxLayout(group);
  auto* buttons = new QButtonGroup(group);
  int id = 0;
  for (const char* item : items) {
    auto* radio = new QRadioButton(QString::fromUtf8(item));
    buttons->addButton(radio, id);
    radio->setChecked(id == selected);
    inner->addWidget(radio);
    ++id;
  }
  layout->addWidget(group);
  return buttons;
}

// A colour swatch: double-click opens the colour chooser.
class Swatch : public QLabel {
 public:
  explicit Swatch(std::uint32_t colour) : colour_(colour) {
    setFixedSize(48, 20);
    setFrameShape(QFrame::Box);
    setToolTip("Double-click to choose the colour");
    paint();
  }
  std::uint32_t colour() const { return colour_; }

 protected:
  void mouseDoubleClickEvent(QMouseEvent*) override {
    QColor chosen = QColorDialog::getColor(fromColourRef(colour_), this);
    if (chosen.isValid()) {
      colour_ = toColourRef(chosen);
      paint();
    }
  }

 private:
  void paint() { setStyleSheet(QString("background-color: %1").arg(fromColourRef(colour_).name())); }
  std::uint32_t colour_;
};

}  // namespace

int execDialog(QDialog& dialog, BuilderCore& core, const char* name) {
  if (core.unattended) {
    dialog.show();
    QApplication::processEvents();
    ui::qt::processScreenshots().save(dialog, name);
    dialog.accept();
    return QDialog::Accepted;
  }
  QTimer::singleShot(0, &dialog, [&dialog, name] { ui::qt::processScreenshots().save(dialog, name); });
  return dialog.exec();
}

bool runPreferences(QWidget* parent, BuilderCore& core, BackgroundArea& area) {
  const BuilderPreferences& p = core.preferences;
  QDialog dialog(parent);
  dialog.setWindowTitle("Preferences");
  auto* layout = new QVBoxLayout(&dialog);
  auto* tabs = new QTabWidget;
  layout->addWidget(tabs);

  auto* main = new QWidget;
  auto* m = new QVBoxLayout(main);
  QCheckBox* confirm = box(m, "&Confirm deletion", p.confirmErase);
  QCheckBox* progress = box(m, "Show the &progress bar when embedded", !p.showProgress);
  QCheckBox* visible = box(m, "Always ensure tree items &visibility", p.ensureVisible);
  QCheckBox* check = box(m, "Check script &integrity after loading", p.autoCheck);
  m->addWidget(new QLabel("Default text editor command line, where %1 represents the file to display:"));
  auto* defEdit = new QLineEdit(qs(p.defEdit));
  m->addWidget(defEdit);
  QButtonGroup* icons = radios(m, "Icons Si&ze", {"16 Pixels", "32 Pixels"}, p.iconSize == 32 ? 1 : 0);
  QCheckBox* load = box(m, "&Load the configuration on startup", p.loadOnOpen);
  QCheckBox* save = box(m, "&Save the configuration on exit", p.saveOnExit);
  m->addStretch();
  tabs->addTab(main, "Main");

  prefs::BackgroundChoice back = prefs::BackgroundChoice::of(core.window);
  auto* background = new QWidget;
  auto* b = new QVBoxLayout(background);
  QButtonGroup* mode = radios(b, "Bitmap",
                              {"Centered bitmap", "Centered Tiled bitmap", "Tiled bitmap",
                               "Static bitmap", "Stretched bitmap", "Without bitmap"},
                              back.bitmapMode);
  QButtonGroup* fill = radios(b, "Background", {"Color gradient", "Plain background"}, back.gradient ? 0 : 1);
  QCheckBox* vertical = box(b, "Vertical &Gradient", back.vertical);
  auto* position = new QFormLayout;
  auto* x = new QSpinBox;
  auto* y = new QSpinBox;
  x->setRange(0, 32767);
  y->setRange(0, 32767);
  x->setValue(back.posX);
  y->setValue(back.posY);
  position->addRow("&X", x);
  position->addRow("&Y", y);
  auto* first = new Swatch(back.firstColour);
  auto* second = new Swatch(back.secondColour);
  position->addRow("1st Color:", first);
  position->addRow("2nd Color:", second);
  b->addLayout(position);
  auto* bitmapPath = new QLineEdit(qs(back.bitmap));
  auto* pick = new QPushButton("&Select Bitmap...");
  QObject::connect(pick, &QPushButton::clicked, &dialog, [&dialog, bitmapPath] {
    QString chosen = QFileDialog::getOpenFileName(&dialog, qs(str(sid::PickBitmapTitle)), bitmapPath->text(),
                                                  "Bitmap Files (*.bmp);; All (*.*)");
    if (!chosen.isEmpty()) bitmapPath->setText(chosen);
  });
  auto* row = new QHBoxLayout;
  row->addWidget(bitmapPath);
  row->addWidget(pick);
  b->addLayout(row);
  b->addStretch();
  tabs->addTab(background, "Background");

  auto* drop = new QWidget;
  auto* d = new QVBoxLayout(drop);
  QCheckBox* props = box(d, "Display file &properties after added", p.dispProps);
  QButtonGroup* dirMode = radios(d, "Destination",
                                 {"Select a new directory", "Use the file's parent directory",
                                  "Just add the file"},
                                 p.dirMode);
  QCheckBox* dirAdd = box(d, "&Add directory to script", p.dropDirAdd);
  QCheckBox* dirInc = box(d, "Include files i&nto directory", p.dropDirInc);
  QCheckBox* dirSub = box(d, "Include also its &subfolders and files", p.dropDirSub);
  QCheckBox* summary = box(d, "Display a s&ummary after completion", p.dispSummary);
  d->addStretch();
  tabs->addTab(drop, "File Drop");
  tabs->setCurrentIndex(std::clamp(core.preferencesPage, 0, 2));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  bool ok = execDialog(dialog, core, "preferences") == QDialog::Accepted;
  core.preferencesPage = tabs->currentIndex();
  if (!ok) return false;

  if (p.saveOnExit && !save->isChecked()) {
    if (auto settings = prefs::openSettings()) prefs::writeSaveOnExit(*settings, false);
  }
  BuilderPreferences edited = p;
  edited.confirmErase = confirm->isChecked();
  edited.showProgress = !progress->isChecked();
  edited.ensureVisible = visible->isChecked();
  edited.autoCheck = check->isChecked();
  edited.defEdit = defEdit->text().toStdString();
  edited.iconSize = icons->checkedId() == 1 ? 32 : 16;
  edited.loadOnOpen = load->isChecked();
  edited.saveOnExit = save->isChecked();
  edited.dispProps = props->isChecked();
  edited.dirMode = std::max(0, dirMode->checkedId());
  edited.dropDirAdd = dirAdd->isChecked();
  edited.dropDirInc = dirInc->isChecked();
  edited.dropDirSub = dirSub->isChecked();
  edited.dispSummary = summary->isChecked();
  prefs::applyPreferences(core.preferences, edited);

  back.bitmapMode = mode->checkedId();
  back.gradient = fill->checkedId() == 0;
  back.vertical = vertical->isChecked();
  back.posX = x->value();
  back.posY = y->value();
  back.firstColour = first->colour();
  back.secondColour = second->colour();
  back.bitmap = bitmapPath->text().toStdString();
  bool hadBitmap = area.painter().bitmap() != nullptr;
  prefs::WindowState probe = core.window;
  bool changed = prefs::applyBackground(core.window, back, hadBitmap, [&](const std::string& path) {
    probe.bitmap = path;
    area.apply(probe);
    return area.painter().bitmapPath() == path && area.painter().bitmap() != nullptr;
  });
  if (changed) {
    area.apply(core.window);
    area.viewport()->update();
  }
  return true;
}

void runAbout(QWidget* parent, BuilderCore& core) {
  QDialog dialog(parent);
  dialog.setWindowTitle("About Corvix...");
  auto* layout = new QVBoxLayout(&dialog);
  auto* title = new QLabel(qs(str(128)));
  QFont bold = title->font();
  bold.setBold(true);
  bold.setPointSize(bold.pointSize() + 4);
  title->setFont(bold);
  layout->addWidget(title);
  layout->addWidget(new QLabel("The installation builder of the Vandrel system."));
  std::string memory = script::FormatSize(double(core.machine.system().totalPhysicalMemory()));
  layout->addWidget(new QLabel(qs("Physical memory: " + memory)));
  std::string drive = "C:\\";
  std::optional<platform::DiskSpace> space = core.machine.files().diskFreeSpace(drive);
  layout->addWidget(new QLabel(
      qs("Free disk space: " + (space ? script::FormatSize(double(space->freeBytes())) : str(104)))));
  platform::BrowserLauncher browser(core.machine);
  bool found = browser.FindBrowser(std::nullopt, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  QPushButton* connectButton = buttons->addButton("&Connect", QDialogButtonBox::ActionRole);
  connectButton->setEnabled(found);
  QObject::connect(connectButton, &QPushButton::clicked, &dialog, [&] {
    browser.OpenInBrowser("http://www.vandrel.example/");
    dialog.accept();
  });
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  layout->addWidget(buttons);
  execDialog(dialog, core, "about");
}

void runTipOfTheDay(QWidget* parent, BuilderCore& core, bool atStartUp) {
  std::unique_ptr<QSettings> settings = prefs::openSettings();
  if (!settings) return;
  std::string folder = programFolderOf(core.machine);
  std::filesystem::path host = core.machine.files().hostPath(folder + "\\tips.txt").value_or("");
  prefs::TipFile tips(host, *settings);
  if (atStartUp && !tips.showAtStartUp()) return;
  std::string tip = tips.next();
  if (tips.status() == prefs::TipFile::Status::Missing) tip = str(124);
  if (tips.status() == prefs::TipFile::Status::Unreadable) tip = str(125);

  QDialog dialog(parent);
  dialog.setWindowTitle("Tip of the Day");
  auto* layout = new QVBoxLayout(&dialog);
  auto* heading = new QLabel("Did you know...");
  QFont bold = heading->font();
  bold.setBold(true);
  bold.setPointSize(bold.pointSize() + 2);
  heading->setFont(bold);
  layout->addWidget(heading);
  auto* text = new QLabel(qs(platform::cp1252ToUtf8(tip)));
  text->setWordWrap(true);
  text->setMinimumSize(360, 80);
  text->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  text->setFrameShape(QFrame::StyledPanel);
  layout->addWidget(text);
  auto* startUp = new QCheckBox("&Show Tips on StartUp");
  startUp->setChecked(tips.showAtStartUp());
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  QPushButton* nextButton = buttons->addButton("&Next Tip", QDialogButtonBox::ActionRole);
  QObject::connect(nextButton, &QPushButton::clicked, &dialog,
                   [&] { text->setText(qs(platform::cp1252ToUtf8(tips.next()))); });
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::accept);
  auto* row = new QHBoxLayout;
  row->addWidget(startUp);
  row->addStretch();
  row->addWidget(buttons);
  layout->addLayout(row);
  execDialog(dialog, core, "tip");
  tips.setShowAtStartUp(startUp->isChecked());
  tips.store();
}

void showSplash(BuilderCore& core) {
  if (core.unattended) return;
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
  painter.drawText(picture.rect(), Qt::AlignCenter, qs(str(128)));
  painter.end();
  auto* splash = new QSplashScreen(picture);
  splash->setAttribute(Qt::WA_DeleteOnClose);
  splash->show();
  QTimer::singleShot(4500, splash, &QWidget::close);
}

}  // namespace vandrel::builder::app
