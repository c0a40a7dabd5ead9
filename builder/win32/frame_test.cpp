// The builder's Win32 frame, run on Windows (under Wine in the tests): its menus made from the
// menu model, the items' states and texts before a menu opens, the tree control following the
// tree through an edit, undo and redo, the "*" in the titles, and the save question answered
// through an answers file. The documents stand on an in-memory machine.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "builder/frame/frame_commands.h"
#include "builder/frame/menu_model.h"
#include "builder/prefs/registry_store.h"
#include "builder/tree/tree_commands.h"
#include "builder/win32/builder_run.h"
#include "builder/win32/document_window.h"
#include "builder/win32/frame_ids.h"
#include "builder/win32/main_frame.h"
#include "tests/support/memory_machine.h"
#include "tests/support/temp_dir.h"
#include "ui/answers.h"
#include "ui/win32/win32_interaction.h"

namespace vandrel::builder::win32 {
namespace {

namespace fs = std::filesystem;
namespace command = frame::command;

std::string menuText(HMENU menu, UINT position) {
  char text[256] = {};
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

std::string windowText(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

bool grayed(HMENU menu, int cmd) { return (GetMenuState(menu, UINT(cmd), MF_BYCOMMAND) & MF_GRAYED) != 0; }
bool checked(HMENU menu, int cmd) { return (GetMenuState(menu, UINT(cmd), MF_BYCOMMAND) & MF_CHECKED) != 0; }

std::string fileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class NoEditor : public EntryEditor {
 public:
  bool editEntry(int, Entry&, const std::string&, bool) override { return false; }
};

// The tree as the model holds it, in the control's outline form.
void outlineOf(const ScriptTree& tree, ItemHandle handle, int depth, std::string& out) {
  const TreeItem* item = tree.item(handle);
  out += std::string(std::size_t(depth) * 2, ' ') + item->label + " [" + std::to_string(item->image) + "]\n";
  for (ItemHandle child : tree.children(handle)) outlineOf(tree, child, depth + 1, out);
}
std::string modelOutline(const ScriptTree& tree) {
  std::string out;
  outlineOf(tree, tree.root(), 0, out);
  return out;
}

// A frame over an in-memory machine, its windows driven by answers.
struct Frame : ::testing::Test {
  test::TempDir dir;
  test::MemoryMachine machine;
  std::unique_ptr<ui::win32::Win32Interaction> backend;
  std::unique_ptr<FrameCore> core;
  std::unique_ptr<MainFrame> frame;
  std::vector<std::string> shown;

  void start(const std::string& answers = "[Answers]\nDefault=No\n") {
    auto autopilot = std::make_shared<ui::ScriptedInteraction>(ui::Answers::fromText(answers), stderr, "corvix");
    backend = std::make_unique<ui::win32::Win32Interaction>(ui::Program::Builder, autopilot);
    backend->setWatcher([this](HWND window, const std::string& name) { shown.push_back(name + ":" + windowText(window)); });
    core = std::make_unique<FrameCore>(machine, *backend);
    core->unattended = true;
    core->preferences.confirmErase = false;
    frame = std::make_unique<MainFrame>(*core);
    ASSERT_TRUE(frame->create());
    ShowWindow(frame->handle(), SW_SHOWNORMAL);
  }
  void TearDown() override {
    frame.reset();
    pumpAll();
  }
  // A popup of the menu bar by its text in the model ("&File").
  HMENU popup(const std::string& text) {
    HMENU bar = frame->menuBar();
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
      if (menuText(bar, UINT(i)) == text) {
        HMENU menu = GetSubMenu(bar, i);
        frame->initMenu(menu);
        return menu;
      }
    }
    ADD_FAILURE() << "no menu " << text;
    return nullptr;
  }
  // A copy of the example document.
  fs::path example() {
    fs::path copy = dir.path() / "tool.cvx";
    fs::copy_file(fs::path(VANDREL_SOURCE) / "examples" / "tool.cvx", copy);
    return copy;
  }
};

TEST_F(Frame, TheMenuBarIsTheModelsWithItsShortcuts) {
  start();
  HMENU bar = frame->menuBar();
  const std::vector<frame::Menu>& model = frame::frameMenus();
  ASSERT_EQ(GetMenuItemCount(bar), int(model.size()));
  for (std::size_t m = 0; m < model.size(); ++m) {
    EXPECT_EQ(menuText(bar, UINT(m)), model[m].text);
    HMENU menu = GetSubMenu(bar, int(m));
    ASSERT_NE(menu, nullptr);
    // Every command item of the model is there, with its id.
    for (const frame::MenuItem& item : model[m].items) {
      if (item.kind != frame::MenuItem::Kind::Command) continue;
      EXPECT_NE(GetMenuState(menu, UINT(item.command), MF_BYCOMMAND), UINT(-1)) << item.text;
    }
  }
  HMENU file = GetSubMenu(bar, 0);
  EXPECT_EQ(menuText(file, 0), "&New\tCtrl+N");
  EXPECT_EQ(menuText(file, 3), "&Save\tCtrl+S");
  HMENU recent = GetSubMenu(file, 8);
  ASSERT_NE(recent, nullptr) << "Recent Files is a submenu";
  EXPECT_EQ(menuText(file, 8), "Recent &Files");
  EXPECT_EQ(menuText(GetSubMenu(bar, 3), 0), "Ge&neral settings...");
}

TEST_F(Frame, ItemStatesFollowTheFrameBeforeAMenuOpens) {
  start();
  HMENU file = popup("&File");
  EXPECT_FALSE(grayed(file, command::FileNew));
  EXPECT_TRUE(grayed(file, command::FileSave)) << "no document";
  EXPECT_TRUE(grayed(file, command::FileClose));
  HMENU view = popup("&View");
  EXPECT_TRUE(checked(view, command::ViewToolbar));
  EXPECT_TRUE(checked(view, command::ViewStatusBar));
  EXPECT_EQ(SendMessageA(frame->toolbar(), TB_ISBUTTONENABLED, command::FileSave, 0), 0);

  ASSERT_TRUE(frame->run(command::FileNew));
  ASSERT_NE(frame->activeDocument(), nullptr);
  file = popup("&File");
  EXPECT_FALSE(grayed(file, command::FileSave));
  EXPECT_FALSE(grayed(file, command::FileClose));
  EXPECT_NE(SendMessageA(frame->toolbar(), TB_ISBUTTONENABLED, command::FileSave, 0), 0);
  HMENU edit = popup("&Edit");
  EXPECT_TRUE(grayed(edit, command::Undo)) << "nothing to undo yet";
  EXPECT_EQ(menuText(edit, 0), "&Undo\tCtrl+Z");

  // The status bar hidden through its command: its item no longer checked.
  ASSERT_TRUE(frame->run(command::ViewStatusBar));
  EXPECT_FALSE(IsWindowVisible(frame->statusBar()));
  EXPECT_FALSE(checked(popup("&View"), command::ViewStatusBar));
  EXPECT_EQ(frame->windowState().barState, "Toolbar=1 StatusBar=0");
}

TEST_F(Frame, TheTreeControlFollowsAnEditUndoAndRedo) {
  start();
  DocumentWindow* document = frame->openDocument(example());
  ASSERT_NE(document, nullptr);
  std::string before = document->tree().outline();
  EXPECT_EQ(before, modelOutline(document->document().tree()));
  // The root and its categories, each with its picture.
  EXPECT_NE(before.find("\n  Directories ["), std::string::npos) << before;
  ScriptTree& tree = document->document().tree();
  ItemHandle category = tree.categoryItem(5);
  ASSERT_FALSE(tree.children(category).empty()) << before;
  ItemHandle entry = tree.children(category).front();
  std::string label = tree.item(entry)->label;
  document->selectItem(entry);
  EXPECT_EQ(document->tree().handleOf(TreeView_GetSelection(document->tree().handle())), entry);

  ASSERT_TRUE(frame->run(builder::command::Erase));
  std::string erased = document->tree().outline();
  EXPECT_EQ(erased, modelOutline(tree));
  EXPECT_EQ(erased.find("    " + label + " ["), std::string::npos) << erased;
  EXPECT_NE(windowText(document->handle()).find('*'), std::string::npos) << windowText(document->handle());
  HMENU edit = popup("&Edit");
  EXPECT_FALSE(grayed(edit, command::Undo));
  EXPECT_NE(menuText(edit, 0).find("&Undo "), std::string::npos) << menuText(edit, 0);

  // Undo and redo give the document back as it was: the control shows the tree's items in
  // the tree's order.
  ASSERT_TRUE(frame->run(command::Undo));
  EXPECT_EQ(document->tree().outline(), modelOutline(tree));
  EXPECT_NE(document->tree().outline().find("    " + label + " ["), std::string::npos);
  EXPECT_EQ(windowText(document->handle()).find('*'), std::string::npos) << windowText(document->handle());
  ASSERT_TRUE(frame->run(command::Redo));
  EXPECT_EQ(document->tree().outline(), modelOutline(tree));
  EXPECT_EQ(document->tree().outline().find("    " + label + " ["), std::string::npos);
}

TEST_F(Frame, TheSaveQuestionIsAnsweredFromTheAnswersFile) {
  // Cancel keeps the document and the frame; No closes without saving.
  start("[Answers]\n1=Cancel\n2=No\n");
  fs::path file = example();
  std::string stored = fileText(file);
  DocumentWindow* document = frame->openDocument(file);
  ASSERT_NE(document, nullptr);
  document->selectItem(document->document().tree().children(document->document().tree().categoryItem(5)).front());
  ASSERT_TRUE(frame->run(builder::command::Erase));
  HWND window = frame->handle();
  frame->run(command::Exit);
  EXPECT_TRUE(IsWindow(window)) << "Cancel keeps the frame";
  EXPECT_EQ(frame->documents().size(), 1u);
  frame->run(command::Exit);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(fileText(file), stored);
  ASSERT_GE(shown.size(), 2u);
  EXPECT_EQ(shown[0].rfind("question:", 0), 0u) << shown[0];
}

TEST_F(Frame, TheSaveQuestionStandsOverTheFrame) {
  // The port's windows are owned by the frame: modal to it while they are up, and the frame
  // is the active window again once they close.
  start("[Answers]\nDefault=No\n");
  std::vector<HWND> owners;
  backend->setWatcher([&](HWND window, const std::string&) { owners.push_back(GetWindow(window, GW_OWNER)); });
  DocumentWindow* document = frame->openDocument(example());
  ASSERT_NE(document, nullptr);
  document->selectItem(document->document().tree().children(document->document().tree().categoryItem(5)).front());
  ASSERT_TRUE(frame->run(builder::command::Erase));
  HWND window = frame->handle();
  frame->run(command::Exit);
  ASSERT_EQ(owners.size(), 1u);
  EXPECT_EQ(owners[0], window);
}

// A drop as Explorer makes it: a DROPFILES block followed by the names, each ended by a
// zero, and a final zero.
HDROP dropOf(const std::vector<fs::path>& files) {
  std::string names;
  for (const fs::path& file : files) names += file.string() + '\0';
  names += '\0';
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size());
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size());
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

// Documents dropped on the frame's background are opened, each in its window, in the order
// dropped; one already open is not opened twice.
TEST_F(Frame, DocumentsDroppedOnTheFrameAreOpened) {
  start();
  fs::path first = example();
  fs::path second = dir.path() / "second.cvx";
  fs::copy_file(first, second);
  SendMessageA(frame->handle(), WM_DROPFILES, WPARAM(dropOf({first, second, first})), 0);
  ASSERT_EQ(frame->documents().size(), 2u);
  ASSERT_EQ(core->recentFiles.size(), 2u);
  EXPECT_EQ(fs::path(core->recentFiles[0]).filename(), "second.cvx") << "the last opened goes first";
  EXPECT_EQ(fs::path(core->recentFiles[1]).filename(), "tool.cvx");
}

TEST_F(Frame, YesToTheSaveQuestionSavesTheDocument) {
  start("[Answers]\nDefault=Yes\n");
  fs::path file = example();
  std::string stored = fileText(file);
  DocumentWindow* document = frame->openDocument(file);
  ASSERT_NE(document, nullptr);
  document->selectItem(document->document().tree().children(document->document().tree().categoryItem(5)).front());
  ASSERT_TRUE(frame->run(builder::command::Erase));
  HWND window = frame->handle();
  frame->run(command::Exit);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_NE(fileText(file), stored);
  EXPECT_EQ(core->recentFiles.size(), 1u);
}

TEST_F(Frame, ProgressGoesToTheStatusBarWhileItIsShown) {
  start();
  FrameInteraction port(std::make_unique<ui::win32::Win32Interaction>(ui::Program::Builder, nullptr));
  port.setFrame(frame.get());
  ui::Progress progress;
  progress.lines = {"Copying", "tool.exe"};
  progress.percent = 40;
  port.progress(progress);
  ASSERT_TRUE(frame->statusProgressShown());
  HWND bar = GetDlgItem(frame->statusBar(), ids::StatusProgress);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 40);
  // The bar is in its simple mode, one pane holding the text.
  EXPECT_NE(SendMessageA(frame->statusBar(), SB_ISSIMPLE, 0, 0), 0);
  char text[128] = {};
  SendMessageA(frame->statusBar(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Copying tool.exe");
  RECT box;
  GetWindowRect(bar, &box);
  MapWindowPoints(nullptr, frame->statusBar(), reinterpret_cast<POINT*>(&box), 2);
  EXPECT_GE(box.left, 200);
  EXPECT_EQ(box.right - box.left, 300);
  // Escape pressed: the next poll reports Cancel, once.
  port.escape();
  EXPECT_TRUE(port.cancelPressed());
  EXPECT_FALSE(port.cancelPressed());
  port.endProgress();
  EXPECT_FALSE(frame->statusProgressShown());
  SendMessageA(frame->statusBar(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Ready");
  // A hidden status bar shows none.
  frame->run(command::ViewStatusBar);
  EXPECT_FALSE(frame->showStatusProgress("Copying", 10));
}

TEST_F(Frame, EscapeInTheTreeCancelsAndTheContextMenuIsTheTreesOwn) {
  start();
  int escapes = 0;
  core->escape = [&escapes] { ++escapes; };
  DocumentWindow* document = frame->openDocument(example());
  ASSERT_NE(document, nullptr);
  SendMessageA(document->tree().handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(escapes, 1);

  ScriptTree& tree = document->document().tree();
  document->selectItem(tree.children(tree.categoryItem(8)).front());
  HMENU menu = document->makeContextMenu();
  NoEditor editor;
  TreeCommands commands(tree, core->preferences, *backend, editor);
  ContextMenu model = commands.contextMenu();
  ASSERT_EQ(GetMenuItemCount(menu), int(model.items.size()));
  for (std::size_t i = 0; i < model.items.size(); ++i) {
    EXPECT_EQ(menuText(menu, UINT(i)), model.items[i].text);
    EXPECT_EQ(GetMenuItemID(menu, int(i)), UINT(model.items[i].command));
    EXPECT_EQ(grayed(menu, model.items[i].command), !model.items[i].enabled) << model.items[i].text;
  }
  DestroyMenu(menu);
}

// The frame placed as the registry says at start-up, and its state written back at exit.
TEST(BuilderRunState, TheFramesStateComesFromTheRegistryAndGoesBackAtExit) {
  test::TempDir dir;
  test::MemoryMachine machine;
  prefs::WindowState stored;
  stored.left = 30;
  stored.top = 40;
  stored.width = 700;
  stored.height = 500;
  stored.status = 0;
  stored.kind = 128;
  stored.firstColour = 0x808000;
  stored.barState = "Toolbar=0 StatusBar=1";
  ASSERT_TRUE(prefs::writeRegistryWindowState(machine.registry(), stored));
  ASSERT_TRUE(prefs::writeRegistryRecentFiles(machine.registry(), {"C:\\old.cvx"}));
  fs::path file = dir.path() / "tool.cvx";
  fs::copy_file(fs::path(VANDREL_SOURCE) / "examples" / "tool.cvx", file);
  {
    auto answers = std::make_shared<ui::ScriptedInteraction>(ui::Answers::fromText("[Answers]\nDefault=No\n"), stderr,
                                                             "corvix");
    BuilderRun run(machine, std::make_unique<ui::win32::Win32Interaction>(ui::Program::Builder, answers), true);
    ASSERT_TRUE(run.start({file.string()}));
    RECT box;
    GetWindowRect(run.frame().handle(), &box);
    EXPECT_EQ(box.left, 30);
    EXPECT_EQ(box.top, 40);
    EXPECT_EQ(box.right - box.left, 700);
    EXPECT_EQ(box.bottom - box.top, 500);
    EXPECT_FALSE(IsWindowVisible(run.frame().toolbar()));
    EXPECT_TRUE(IsWindowVisible(run.frame().statusBar()));
    EXPECT_EQ(run.frame().painter().mode, 128);
    ASSERT_EQ(run.core().recentFiles.size(), 2u) << "the document opened goes first";
    MoveWindow(run.frame().handle(), 50, 60, 640, 480, TRUE);
    run.frame().run(frame::command::ViewToolbar);
    run.frame().run(frame::command::Exit);
    run.exit();
  }
  prefs::WindowState back = prefs::readRegistryWindowState(machine.registry());
  EXPECT_EQ(back.left, 50);
  EXPECT_EQ(back.top, 60);
  EXPECT_EQ(back.width, 640);
  EXPECT_EQ(back.height, 480);
  EXPECT_EQ(back.status, 0);
  EXPECT_EQ(back.kind, 128);
  EXPECT_EQ(back.barState, "Toolbar=1 StatusBar=1");
  std::vector<std::string> recent = prefs::readRegistryRecentFiles(machine.registry());
  ASSERT_EQ(recent.size(), 2u);
  EXPECT_EQ(recent[1], "C:\\old.cvx");
}

}  // namespace
}  // namespace vandrel::builder::win32
