// The graphical builder on the offscreen platform: a document edited through the main
// window's commands and their dialogs, undone and redone, saved, reopened and compared; a
// folder dropped on a tree view; a package generated from the menu and installed on a machine
// with Test install.
#include "builder/qt/builder_app.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScrollBar>
#include <QTest>
#include <QDropEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "builder/qt/testing/gui_fixture.h"
#include "builder/codec/document_text.h"
#include "builder/prefs/preferences_store.h"
#include "builder/prefs/window_state.h"
#include "platform/machine.h"
#include "tests/support/fake_interaction.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"
#include "ui/qt/text_fit.h"

namespace vandrel::builder::app {
namespace {

namespace fs = std::filesystem;
namespace b = builder::command;

// Fills the next window shown through its named controls (text for edits, an index for
// lists, "1"/"0" for boxes; a radio button by its name and index, "Parent3") and presses OK.
void answerNext(std::map<std::string, std::string> values) {
  qt::testing::whenShown([values](QWidget& w) {
    for (const auto& [name, value] : values) {
      QWidget* control = qt::testing::named<QWidget>(w, name.c_str());
      if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->setText(QString::fromStdString(value));
      else if (auto* list = qobject_cast<QComboBox*>(control)) list->setCurrentIndex(std::stoi(value));
      else if (auto* box = qobject_cast<QAbstractButton*>(control)) box->setChecked(value == "1");
    }
    qt::testing::press(w, "OK");
  });
}

// Picks a file in the file chooser the next window opens, as a person would.
void chooseInNextFileDialog(const fs::path& file) {
  qt::testing::whenShown([file](QWidget& w) {
    auto* chooser = qobject_cast<QFileDialog*>(&w);
    ASSERT_NE(chooser, nullptr) << w.windowTitle().toStdString();
    chooser->selectFile(QString::fromStdString(file.string()));
    QMetaObject::invokeMethod(chooser, "accept", Qt::DirectConnection);  // OK, as pressed
  });
}

struct BuilderFixture : ::testing::Test {
  test::TempDir dir;
  std::unique_ptr<platform::Machine> machine;
  test::FakeInteraction* ui = nullptr;
  std::unique_ptr<CBuilderApp> app;

  void SetUp() override {
    testing::application();
    setenv("XDG_CONFIG_HOME", (dir.path() / "config").c_str(), 1);
    setenv("VANDREL_MACHINE", (dir.path() / "machine").c_str(), 1);
    platform::MachineOptions options;
    options.hostDriveWritable = true;
    options.executable = test::binPath("corvix");
    machine = platform::openHostMachine(options);
    auto fake = std::make_unique<test::FakeInteraction>();
    ui = fake.get();
    ui->addDummyName = true;
    app = std::make_unique<CBuilderApp>(*machine, std::move(fake), true);
    ASSERT_TRUE(app->start({}));
  }
  void TearDown() override {
    // Nothing is left to save: the windows close without a question.
    for (CChildFrame* child : frame().children()) child->document().doc.setModifiedFlag(false);
    frame().close();
    app.reset();
  }
  CMainFrame& frame() { return app->frame(); }
  CChildFrame& active() { return *frame().activeChild(); }
  ScriptTree& tree() { return active().document().tree(); }
  QStringList labels(int category) {
    QStringList out;
    for (ItemHandle h : tree().children(tree().categoryItem(category))) {
      out << QString::fromStdString(tree().item(h)->label);
    }
    return out;
  }
  fs::path sourceFile(const std::string& name, const std::string& body) {
    fs::create_directories(dir.path() / "src");
    std::ofstream(dir.path() / "src" / name) << body;
    return dir.path() / "src" / name;
  }
  // A document with an application, a directory, a file in it, a group and a shortcut, each
  // made through its command and window.
  void author() {
    ASSERT_NE(frame().newDocument(), nullptr);
    answerNext({{"AppName", "Tool"}, {"Ver", "2.0"}});
    EXPECT_TRUE(frame().run(b::GeneralSettings));
    answerNext({{"DirName", "App"}});
    EXPECT_TRUE(frame().run(b::AddDirectory));
    fs::path tool = sourceFile("tool.exe", "program bytes");
    qt::testing::whenShown([tool](QWidget& w) {
      chooseInNextFileDialog(tool);
      qt::testing::press(w, "&Browse...");
      EXPECT_EQ(qt::testing::named<QLineEdit>(w, "SourceName")->text(), "tool.exe");
      EXPECT_EQ(qt::testing::named<QLineEdit>(w, "Size")->text(), "13");
      qt::testing::named<QComboBox>(w, "Directory")->setCurrentIndex(0);
      qt::testing::press(w, "OK");
    });
    EXPECT_TRUE(frame().run(b::AddDirectory + 5));
    answerNext({{"GroupName", "Tools"}});
    EXPECT_TRUE(frame().run(b::AddDirectory + 2));
    answerNext({{"ShortcutFile", "0"}, {"ShortcutGroup", "0"}, {"ShortcutName", "Run Tool"}});
    EXPECT_TRUE(frame().run(b::AddDirectory + 6));
  }
};

TEST_F(BuilderFixture, AuthoredDocumentSurvivesUndoRedoSaveAndReopen) {
  author();
  EXPECT_EQ(active().windowTitle(), "Tool 2.0 Install script *");
  EXPECT_EQ(labels(category::Files), QStringList{"Disk 1:tool.exe copied to [Install]\\App\\tool.exe"});
  EXPECT_EQ(labels(category::ProgramAdds),
            QStringList{"Declare [Install]\\App\\tool.exe in group Tools as Run Tool"});
  EXPECT_EQ(frame().action(command::Undo)->text(), "&Undo New Shortcut");

  // Undo the shortcut and the group, then redo both.
  EXPECT_TRUE(frame().run(command::Undo));
  EXPECT_TRUE(frame().run(command::Undo));
  EXPECT_EQ(labels(category::Groups), QStringList{});
  EXPECT_EQ(labels(category::ProgramAdds), QStringList{});
  EXPECT_TRUE(frame().run(command::Redo));
  EXPECT_TRUE(frame().run(command::Redo));
  EXPECT_FALSE(frame().run(command::Redo));
  EXPECT_EQ(labels(category::ProgramAdds).size(), 1);

  fs::path saved = dir.path() / "tool.cvx";
  ASSERT_TRUE(active().document().saveAs(saved));
  active().updateTitle();
  EXPECT_EQ(active().windowTitle(), "Tool 2.0 Install script");
  std::string text = documentText(active().document().doc);
  ASSERT_TRUE(active().close());
  EXPECT_TRUE(frame().children().empty());

  CChildFrame* reopened = frame().openDocument(saved);
  ASSERT_NE(reopened, nullptr);
  EXPECT_EQ(documentText(reopened->document().doc), text);
  EXPECT_EQ(app->core().recentFiles.front(), fs::weakly_canonical(saved).string());
  EXPECT_EQ(reopened->document().doc.settings.appName, "Tool");
}

// The main title names the active document, maximised or not; the document's window shows
// the title the document builds from its application name and version.
TEST_F(BuilderFixture, TitlesShowTheActiveDocument) {
  EXPECT_EQ(frame().windowTitle(), "Corvix v3.0");
  frame().newDocument();
  EXPECT_EQ(active().windowTitle(), "Untitled Install script");
  EXPECT_EQ(frame().windowTitle(), "Corvix v3.0 - Untitled Install script");
  answerNext({{"AppName", "Tool"}, {"Ver", "1.1"}});
  EXPECT_TRUE(frame().run(b::GeneralSettings));
  EXPECT_EQ(active().windowTitle(), "Tool 1.1 Install script *");
  EXPECT_EQ(frame().windowTitle(), "Corvix v3.0 - Tool 1.1 Install script *");
  active().showMaximized();
  QApplication::processEvents();
  EXPECT_EQ(frame().windowTitle(), "Corvix v3.0 - [Tool 1.1 Install script *]");
  active().showNormal();
  QApplication::processEvents();
  EXPECT_EQ(frame().windowTitle(), "Corvix v3.0 - Tool 1.1 Install script *");
  frame().newDocument();
  EXPECT_EQ(frame().windowTitle(), "Corvix v3.0 - Untitled Install script");
}

// The Window menu lists the open documents, the active one checked; choosing one activates it.
TEST_F(BuilderFixture, WindowMenuListsAndActivatesTheDocuments) {
  CChildFrame* first = frame().newDocument();
  answerNext({{"AppName", "Tool"}});
  frame().run(b::GeneralSettings);
  CChildFrame* second = frame().newDocument();
  ASSERT_EQ(frame().activeChild(), second);
  frame().fillWindowMenu();
  QStringList texts;
  QList<QAction*> documents;
  for (QAction* a : frame().windowMenu()->actions()) {
    if (a->isSeparator()) continue;
    texts << a->text() + (a->isChecked() ? "+" : "");
    if (a->isCheckable()) documents << a;
  }
  EXPECT_EQ(texts, (QStringList{"&Cascade", "&Tile", "&1 Tool Install script *", "&2 Untitled Install script+"}));
  ASSERT_EQ(documents.size(), 2);
  documents[0]->trigger();
  EXPECT_EQ(frame().activeChild(), first);
  // Filled again, the list is not doubled.
  frame().fillWindowMenu();
  int items = 0;
  for (QAction* a : frame().windowMenu()->actions()) items += a->isCheckable() ? 1 : 0;
  EXPECT_EQ(items, 2);
}

// A document window moved beyond the area's right edge is reached through a scroll bar.
TEST_F(BuilderFixture, DocumentAreaScrollsToAWindowMovedOutside) {
  CChildFrame* child = frame().newDocument();
  QMdiArea& area = frame().area();
  QApplication::processEvents();
  child->move(area.viewport()->width() + 200, 10);
  QApplication::processEvents();
  EXPECT_GT(area.horizontalScrollBar()->maximum(), 0);
  EXPECT_TRUE(area.horizontalScrollBar()->isVisible());
}

// The assistants are in the Tools menu, after the package commands; no menu of their own.
TEST_F(BuilderFixture, AssistantsAreInTheToolsMenu) {
  QStringList menus;
  QMenu* tools = nullptr;
  for (QAction* a : frame().menuBar()->actions()) {
    menus << a->text();
    if (a->text() == "&Tools") tools = a->menu();
  }
  EXPECT_FALSE(menus.contains("&Assistants")) << menus.join(",").toStdString();
  ASSERT_NE(tools, nullptr);
  QList<QAction*> items = tools->actions();
  ASSERT_GE(items.size(), 5);
  QStringList last;
  for (qsizetype i = items.size() - 5; i < items.size(); ++i) last << items[i]->text();
  EXPECT_EQ(last, (QStringList{"E&xtension maker...", "&Autostart programs...", "&Path registration...",
                               "Product &registration...", "Desktop settings..."}));
  EXPECT_TRUE(items[items.size() - 6]->isSeparator());
}

// "Show the progress bar when embedded" is ShowProgress itself, ticked when it is 1.
TEST_F(BuilderFixture, EmbeddedProgressBoxIsShowProgress) {
  ASSERT_TRUE(app->core().preferences.showProgress);
  qt::testing::whenShown([](QWidget& w) {
    auto* box = qt::testing::named<QCheckBox>(w, "EmbeddedProgress");
    EXPECT_TRUE(box->isChecked());
    box->setChecked(false);
    qt::testing::press(w, "OK");
  });
  EXPECT_TRUE(frame().run(command::Preferences));
  EXPECT_FALSE(app->core().preferences.showProgress);
}

// An interactive start shows the splash on top first; the tip of the day comes only once the
// splash has closed (here at a key press).
TEST_F(BuilderFixture, SplashComesFirstAndTheTipAfterIt) {
  CBuilderApp interactive(*machine, std::make_unique<test::FakeInteraction>(), false);
  ASSERT_TRUE(interactive.start({}));
  interactive.greet();
  auto splash = [] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() == "splash" && w->isVisible()) return w;
    }
    return static_cast<QWidget*>(nullptr);
  };
  QWidget* shown = splash();
  ASSERT_NE(shown, nullptr);
  EXPECT_TRUE(shown->windowFlags() & Qt::WindowStaysOnTopHint);
  QApplication::processEvents();
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the tip came with the splash";

  QString tip;
  bool splashGone = false;
  qt::testing::EachWindow closeTip([&](QWidget& w) {
    tip = w.windowTitle();
    splashGone = splash() == nullptr;
    qt::testing::press(w, "Close");
  });
  QTest::keyClick(shown, Qt::Key_Space);
  for (int i = 0; i < 100 && tip.isEmpty(); ++i) QApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_EQ(tip, "Tip of the Day");
  EXPECT_TRUE(splashGone);
  interactive.frame().close();
}

// A tree label wider than the view is not cut with "...": the view scrolls sideways to it.
TEST_F(BuilderFixture, LongTreeLabelsAreShownWholeWithAScrollBar) {
  frame().newDocument();
  answerNext({{"DirName", "A directory whose name is much longer than the window that shows the tree of the script"}});
  EXPECT_TRUE(frame().run(b::AddDirectory));
  CMyTreeView& view = active().view();
  view.resize(200, 300);
  QApplication::processEvents();
  EXPECT_GT(view.horizontalScrollBar()->maximum(), 0);
  std::vector<ui::qt::CutText> cuts = ui::qt::cutTexts(view);
  EXPECT_TRUE(cuts.empty()) << ui::qt::describe("tree", cuts);
}

// The status bar shows a long progress text whole, the bar after it.
TEST_F(BuilderFixture, StatusBarProgressTextIsWhole) {
  const std::string text = "Copying Vandrel File: C:\\Program Files\\Tool\\Uninstall.exe";
  ASSERT_TRUE(frame().showStatusProgress(text, 10));
  QApplication::processEvents();
  for (const ui::qt::CutText& cut : ui::qt::cutTexts(frame())) {
    EXPECT_EQ(cut.text.find("Copying"), std::string::npos) << ui::qt::describe("frame", {cut});
  }
  auto* bar = frame().statusBar()->findChild<QProgressBar*>();
  ASSERT_NE(bar, nullptr);
  EXPECT_GE(bar->x(), 200);
  frame().endStatusProgress();
}

TEST_F(BuilderFixture, ClosingAModifiedDocumentAsksToSave) {
  frame().newDocument();
  answerNext({{"GroupName", "Tools"}});
  frame().run(b::AddDirectory + 2);
  ui->answers = {ui::Answer::Cancel};
  EXPECT_FALSE(active().close());
  EXPECT_EQ(ui->questions().back(), "Save changes to Script1?");
  ui->answers = {ui::Answer::No};
  EXPECT_TRUE(active().close());
  EXPECT_TRUE(frame().children().empty());
}

TEST_F(BuilderFixture, ContextMenuShowsTheFileFlagsAndGreysWhatDoesNotApply) {
  author();
  CMyTreeView& view = active().view();
  view.selectItem(active().document().doc.files.at(0).key);
  std::unique_ptr<QMenu> menu = view.makeContextMenu();
  QStringList texts;
  for (QAction* a : menu->actions()) texts << a->text() + (a->isChecked() ? "+" : "");
  EXPECT_EQ(texts, (QStringList{"&New", "&Properties", "&Uninstall file+", "&LZ Expand",
                                "&Force copy", "&Shared file", "&Erase"}));
  view.selectItem(tree().categoryItem(category::Settings));
  menu = view.makeContextMenu();
  ASSERT_EQ(menu->actions().size(), 3);
  EXPECT_FALSE(menu->actions()[0]->isEnabled());
  EXPECT_FALSE(menu->actions()[1]->isEnabled());
  EXPECT_FALSE(menu->actions()[2]->isEnabled());

  // Toggling from the menu checks the item, and Small Icons switches the view's pictures.
  view.selectItem(active().document().doc.files.at(0).key);
  EXPECT_TRUE(frame().run(b::ToggleShared));
  EXPECT_TRUE(frame().action(b::ToggleShared)->isChecked());
  EXPECT_TRUE(frame().action(b::SmallIcons)->isChecked());
  frame().run(b::SmallIcons);
  EXPECT_EQ(view.iconSize(), QSize(32, 32));
  EXPECT_EQ(app->core().preferences.iconSize, 16);
}

TEST_F(BuilderFixture, FolderDroppedOnAViewBecomesADirectoryWithItsFiles) {
  frame().newDocument();
  fs::create_directories(dir.path() / "drop" / "data" / "sub");
  std::ofstream(dir.path() / "drop" / "data" / "a.txt") << "a";
  std::ofstream(dir.path() / "drop" / "data" / "b.txt") << "bb";
  app->core().preferences.dirMode = 1;  // the file's parent directory
  app->core().preferences.dispProps = true;
  app->core().preferences.dispSummary = true;
  // The drop's file page asks for the first file; its extra box gives the second the same
  // settings without asking.
  QStringList asked;
  qt::testing::EachWindow filePages([&asked](QWidget& w) {
    asked << qt::testing::named<QLineEdit>(w, "SourceName")->text();
    EXPECT_FALSE(qt::testing::button(w, "&Browse...")->isEnabled());
    qt::testing::tick(w, "UseDefaults", true);
    qt::testing::press(w, "OK");
  });

  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QString::fromStdString((dir.path() / "drop" / "data").string()))});
  CMyTreeView& view = active().view();
  QPoint at = view.visualRect(view.treeModel().indexOf(tree().root())).center();
  QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view.viewport(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view.viewport(), &drop);

  EXPECT_EQ(asked, QStringList{"a.txt"});
  EXPECT_EQ(labels(category::Directories).filter("data").size(), 1);
  EXPECT_EQ(labels(category::Files), (QStringList{"Disk 1:a.txt copied to [Install]\\data\\a.txt",
                                                  "Disk 1:b.txt copied to [Install]\\data\\b.txt"}));
  ASSERT_FALSE(ui->texts().empty());
  EXPECT_EQ(ui->texts().back(), "2 file(s) and 1 directorie(s) were added to the script though this drop operation.");
  // The whole drop is one edit.
  EXPECT_TRUE(frame().run(command::Undo));
  EXPECT_EQ(labels(category::Files), QStringList{});
  EXPECT_FALSE(frame().state(command::Undo).enabled);
}

// The toolbar's place and visibility are kept at exit and taken again at the next start, but
// not when the next start loads nothing.
TEST_F(BuilderFixture, ToolbarLayoutIsKeptWithTheWindowState) {
  auto toolbar = [this] { return frame().findChild<QToolBar*>("Standard"); };
  ASSERT_NE(toolbar(), nullptr);
  EXPECT_EQ(frame().toolBarArea(toolbar()), Qt::TopToolBarArea);
  frame().addToolBar(Qt::LeftToolBarArea, toolbar());
  ASSERT_TRUE(frame().close());
  app->exit();

  auto restart = [this] {
    app = std::make_unique<CBuilderApp>(*machine, std::make_unique<test::FakeInteraction>(), true);
    ASSERT_TRUE(app->start({}));
  };
  restart();
  EXPECT_EQ(frame().toolBarArea(toolbar()), Qt::LeftToolBarArea);

  app->core().preferences.loadOnOpen = false;
  ASSERT_TRUE(frame().close());
  app->exit();
  restart();
  EXPECT_EQ(frame().toolBarArea(toolbar()), Qt::TopToolBarArea);
}

TEST_F(BuilderFixture, GenerateFromTheMenuThenTestInstallOnTheMachine) {
  author();
  fs::path out = dir.path() / "pkg";
  fs::create_directories(out);
  ui->folders.push_back(test::windowsForm(out) + "\\");
  EXPECT_TRUE(frame().state(b::Generate).enabled);
  EXPECT_TRUE(frame().run(b::Generate));
  EXPECT_TRUE(fs::exists(out / "Script.vrx"));
  EXPECT_TRUE(fs::exists(out / "Setup.exe"));
  EXPECT_TRUE(fs::exists(out / "tool.exe"));
  // The progress went through the status bar, which shows its idle text again.
  EXPECT_FALSE(frame().statusProgressShown());
  EXPECT_EQ(active().document().doc.settings.lastGenPath, test::windowsForm(out) + "\\");

  // Test install starts the package's setup on the machine, unattended, and leaves the
  // builder running; the installed program shows up in the machine.
  setenv("VANDREL_UI", "scripted", 1);
  setenv("VANDREL_ANSWERS", (test::sourcePath() / "examples" / "answers.ini").c_str(), 1);
  EXPECT_TRUE(frame().run(b::TestInstall));
  unsetenv("VANDREL_ANSWERS");
  bool installed = false;
  for (int i = 0; i < 300 && !installed; ++i) {
    test::RunResult programs = test::runProgram("vandrel-machine", {"programs", (dir.path() / "machine").string()});
    installed = programs.out.find("Tool") != std::string::npos;
    if (!installed) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_TRUE(installed);
}

// corvix with an answers file: the [Builder] commands run unattended, their windows filled
// from [Wizard] (a file page's Source standing for Browse), and the document saved on the
// answers' Yes.
TEST(UnattendedBuilder, AnsweredCommandsEditAndSaveTheDocument) {
  test::TempDir dir;
  fs::path document = dir.path() / "app.cvx";
  ASSERT_EQ(test::runProgram("corvix", {"new", document.string()}).exitStatus, 0);
  fs::create_directories(dir.path() / "src");
  std::ofstream(dir.path() / "src" / "tool.exe") << "program bytes";
  fs::path answers = dir.path() / "answers.ini";
  std::ofstream(answers) << "[Answers]\nDefault=Yes\n[Builder]\nCommands=directory,file,save\n"
                         << "[Wizard]\nDirName=bin\nSource=" << test::windowsForm(dir.path() / "src" / "tool.exe")
                         << "\nShared=1\n";
  test::RunResult run = test::runProgram(
      "corvix", {document.string()},
      {{"QT_QPA_PLATFORM", "offscreen"}, {"VANDREL_ANSWERS", answers.string()},
       {"VANDREL_MACHINE", (dir.path() / "machine").string()}, {"XDG_CONFIG_HOME", (dir.path() / "config").string()}});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  std::string dump = test::runProgram("corvix", {"dump", document.string()}).out;
  EXPECT_NE(dump.find("\n0=bin,0,"), std::string::npos) << dump;
  EXPECT_NE(dump.find("\n0=tool.exe,tool.exe,"), std::string::npos) << dump;
}

// The builder's own windows driven by an answers file as its dialogs are: the preferences
// changed on all three pages and written at exit, the about box closed with OK, the tip of
// the day no longer shown at start-up.
TEST(UnattendedBuilder, AnswersDriveThePreferencesTheAboutBoxAndTheTip) {
  test::TempDir dir;
  fs::path answers = dir.path() / "answers.ini";
  std::ofstream(answers) << "[Answers]\nDefault=No\n[Builder]\nCommands=preferences,about,tip\n"
                         << "[Wizard]\nConfirmErase=0\nDefEdit=Editor.exe\nIconSize=1\n"
                         << "Fill=1\nposX=12\nFirstColor=255\nDirMode=2\nDropDirSub=1\nStartUp=0\n";
  fs::path shots = dir.path() / "shots";
  fs::create_directories(shots);
  test::RunResult run = test::runProgram(
      "corvix", {},
      {{"QT_QPA_PLATFORM", "offscreen"}, {"VANDREL_ANSWERS", answers.string()},
       {"VANDREL_SCREENSHOTS", shots.string()}, {"VANDREL_MACHINE", (dir.path() / "machine").string()},
       {"XDG_CONFIG_HOME", (dir.path() / "config").string()}});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  // Each window was shown, and closed so that the next command could run.
  EXPECT_TRUE(fs::exists(shots / "002-corvix-preferences.png"));
  EXPECT_TRUE(fs::exists(shots / "003-corvix-about.png"));
  EXPECT_TRUE(fs::exists(shots / "004-corvix-tip.png"));

  QSettings settings(QString::fromStdString((dir.path() / "config" / "Orlwen" / "Corvix v3.0.conf").string()),
                     QSettings::IniFormat);
  BuilderPreferences p = prefs::readPreferences(settings);
  EXPECT_FALSE(p.confirmErase);
  EXPECT_EQ(p.defEdit, "Editor.exe %1");
  EXPECT_EQ(p.iconSize, 32);
  EXPECT_EQ(p.dirMode, 2);
  EXPECT_TRUE(p.dropDirSub);
  EXPECT_TRUE(p.saveOnExit);
  prefs::WindowState window = prefs::readWindowState(settings);
  EXPECT_EQ(window.kind & 128, 128) << window.kind;
  EXPECT_EQ(window.posX, 12);
  EXPECT_EQ(window.firstColour, 255u);
  // "Show Tips on StartUp" unticked: stored as 1.
  EXPECT_EQ(settings.value("Tip/StartUp").toInt(), 1);
}

}  // namespace
}  // namespace vandrel::builder::app
