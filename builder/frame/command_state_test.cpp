// Tests of the frame's command states: what a frame without a document allows, the recent
// files' items, the bars' check marks, and the document's Undo and Redo.
#include "builder/frame/command_state.h"

#include <gtest/gtest.h>

#include "builder/frame/frame_commands.h"
#include "builder/tree/testing/tree_fixture.h"

namespace vandrel::builder::frame {
namespace {

namespace b = builder::command;

TEST(FrameCommandState, WithoutDocumentOnlyTheFramesCommandsRun) {
  FrameState frame;
  for (int cmd : {command::FileNew, command::FileOpen, command::Exit, command::Preferences,
                  command::VersionInfo, command::About, command::TipOfTheDay}) {
    EXPECT_TRUE(frameCommandState(cmd, frame)->enabled) << cmd;
  }
  for (int cmd : {command::FileClose, command::FileSave, command::FileSaveAs, command::WindowCascade,
                  command::WindowTile, command::Undo, command::Redo, b::Properties, b::Generate,
                  b::SmallIcons}) {
    std::optional<CommandState> state = frameCommandState(cmd, frame);
    ASSERT_TRUE(state) << cmd;
    EXPECT_FALSE(state->enabled) << cmd;
  }
}

TEST(FrameCommandState, WithDocumentItsViewAnswersForItsCommands) {
  FrameState frame;
  frame.document = true;
  for (int cmd : {command::FileClose, command::FileSave, command::FileSaveAs, command::WindowCascade,
                  command::WindowTile}) {
    EXPECT_TRUE(frameCommandState(cmd, frame)->enabled) << cmd;
  }
  for (int cmd : {command::Undo, command::Redo, b::Properties, b::Generate, b::MergeScript, b::SmallIcons}) {
    EXPECT_FALSE(frameCommandState(cmd, frame)) << cmd;
  }
}

TEST(FrameCommandState, RecentFileItemsFollowTheList) {
  FrameState frame;
  frame.recentFiles = 2;
  EXPECT_TRUE(frameCommandState(recentFileCommand(0), frame)->enabled);
  EXPECT_TRUE(frameCommandState(recentFileCommand(1), frame)->enabled);
  EXPECT_FALSE(frameCommandState(recentFileCommand(2), frame)->enabled);
  EXPECT_FALSE(frameCommandState(recentFileCommand(3), frame)->enabled);
  // The command after the last slot is not a recent file's.
  EXPECT_EQ(recentFileSlot(recentFileCommand(kRecentFiles)), -1);
}

TEST(FrameCommandState, BarsAreCheckedWhileShown) {
  FrameState frame;
  frame.toolbarShown = true;
  EXPECT_TRUE(frameCommandState(command::ViewToolbar, frame)->checked);
  EXPECT_FALSE(frameCommandState(command::ViewStatusBar, frame)->checked);
  frame.toolbarShown = false;
  frame.statusBarShown = true;
  EXPECT_FALSE(frameCommandState(command::ViewToolbar, frame)->checked);
  EXPECT_TRUE(frameCommandState(command::ViewStatusBar, frame)->checked);
  EXPECT_TRUE(frameCommandState(command::ViewToolbar, frame)->enabled);
}

class OkEditor : public EntryEditor {
 public:
  bool editEntry(int, Entry&, const std::string&, bool) override { return true; }
};

struct DocumentStateFixture : builder::testing::TreeFixture {
  OkEditor editor;
  std::unique_ptr<UndoStack> undo;
  void SetUp() override {
    load(builder::testing::kOneOfEachScript, editor);
    undo = std::make_unique<UndoStack>(*tree);
    prefs.confirmErase = false;
  }
};

TEST_F(DocumentStateFixture, UndoAndRedoFollowTheHistory) {
  EXPECT_FALSE(documentCommandState(command::Undo, *undo, *commands).enabled);
  EXPECT_FALSE(documentCommandState(command::Redo, *undo, *commands).enabled);
  tree->select(tree->children(tree->categoryItem(category::Groups)).front());
  ASSERT_TRUE(undo->perform("Erase", [&] { return commands->erase(); }));
  EXPECT_TRUE(documentCommandState(command::Undo, *undo, *commands).enabled);
  EXPECT_FALSE(documentCommandState(command::Redo, *undo, *commands).enabled);
  EXPECT_EQ(undoText(undo->undoName()), "&Undo Erase");
  EXPECT_EQ(redoText(undo->redoName()), "&Redo");
  ASSERT_TRUE(undo->undo());
  EXPECT_FALSE(documentCommandState(command::Undo, *undo, *commands).enabled);
  EXPECT_TRUE(documentCommandState(command::Redo, *undo, *commands).enabled);
  EXPECT_EQ(redoText(undo->redoName()), "&Redo Erase");
}

TEST_F(DocumentStateFixture, TreeCommandsComeFromTheTree) {
  tree->select(tree->root());
  EXPECT_EQ(documentCommandState(b::ToggleShared, *undo, *commands).enabled,
            commands->state(b::ToggleShared).enabled);
  EXPECT_EQ(documentCommandState(b::Properties, *undo, *commands).enabled,
            commands->state(b::Properties).enabled);
}

TEST(FrameTitle, MaximisedDocumentGoesInBrackets) {
  EXPECT_EQ(frameTitle("Corvix", std::nullopt, false), "Corvix");
  EXPECT_EQ(frameTitle("Corvix", "Tool 1.1 Install script *", false), "Corvix - Tool 1.1 Install script *");
  EXPECT_EQ(frameTitle("Corvix", "Tool", true), "Corvix - [Tool]");
}

TEST(UndoText, NoNameLeavesNoTrailingBlank) {
  EXPECT_EQ(undoText(""), "&Undo");
  EXPECT_EQ(undoText("New Shortcut"), "&Undo New Shortcut");
  EXPECT_EQ(redoText("Drop "), "&Redo Drop");
}

}  // namespace
}  // namespace vandrel::builder::frame
