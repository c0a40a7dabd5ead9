// Tests of a document window's commands: the keys of its tree, the edits that go through the
// undo history under their names, and the dialogs cancelled without leaving an edit.
#include "builder/frame/document_commands.h"

#include <gtest/gtest.h>

#include "builder/frame/frame_commands.h"
#include "builder/generate/headless_session.h"
#include "builder/strings/builder_strings.h"
#include "platform/emulated/machine_root.h"
#include "tests/support/fake_interaction.h"
#include "tests/support/temp_dir.h"

namespace vandrel::builder::frame {
namespace {

class NoEntryEditor : public EntryEditor {
 public:
  bool editEntry(int, Entry&, const std::string&, bool) override { return false; }
};

// A window whose dialogs do what the test says and which records what it was asked.
class FakeWindow : public DocumentView {
 public:
  ScriptDocument* document = nullptr;
  bool sheetsSayOk = true;
  std::vector<std::string> events;

  bool settingsSheet(int page) override {
    events.push_back("settings:" + std::to_string(page));
    return sheetsSayOk;
  }
  bool backgroundSheet() override {
    events.push_back("background");
    if (sheetsSayOk) {
      // As the sheet's OK does: the value written back, the document marked modified.
      document->doc.background.vert ^= 1;
      document->doc.setModifiedFlag(true);
    }
    return sheetsSayOk;
  }
  bool endSheet() override { return false; }
  bool summarySheet() override { return false; }
  bool assistant(int number) override {
    events.push_back("assistant:" + std::to_string(number));
    return false;
  }
  std::optional<std::string> chooseFile(const std::string&, const std::string&) override { return std::nullopt; }
  std::unique_ptr<dropimport::DropDialogs> dropDialogs() override { return nullptr; }
  void selectItem(ItemHandle) override { events.push_back("select"); }
  void iconSizeChanged() override { events.push_back("icons"); }
  void changed() override { events.push_back("changed"); }
};

struct DocumentFixture : ::testing::Test {
  test::TempDir dir;
  test::FakeInteraction ui;
  std::unique_ptr<platform::Machine> machine;
  std::unique_ptr<ProgressService> progress;
  std::unique_ptr<ScriptDocument> document;
  BuilderPreferences preferences;
  NoEntryEditor editor;
  std::unique_ptr<TreeCommands> tree;
  FakeWindow window;
  int escapes = 0;
  std::unique_ptr<DocumentCommands> commands;

  void SetUp() override {
    platform::emulated::initMachineRoot(dir / "m", platform::emulated::Preset::Win98, "ann");
    machine = platform::emulated::openMachine(dir / "m", platform::MachineOptions{});
    progress = std::make_unique<ProgressService>(ui, machine->files());
    document = std::make_unique<ScriptDocument>(machineContext(*machine, ui, *progress), *machine);
    document->createNew(1);
    window.document = document.get();
    tree = std::make_unique<TreeCommands>(document->tree(), preferences, ui, editor);
    commands = std::make_unique<DocumentCommands>(*document, *tree, window, preferences, ui, *progress,
                                                  [this] { ++escapes; });
  }
};

TEST_F(DocumentFixture, EnterOpensThePropertiesOfTheSelection) {
  document->tree().select(document->tree().categoryItem(category::Background));
  EXPECT_TRUE(commands->key(TreeKey::Enter));
  ASSERT_FALSE(window.events.empty());
  EXPECT_EQ(window.events.front(), "background");
  EXPECT_EQ(document->undo().undoName(), str(sid::PropertiesCaption));
}

TEST_F(DocumentFixture, EscapeCancelsTheRunningOperation) {
  EXPECT_TRUE(commands->key(TreeKey::Escape));
  EXPECT_TRUE(progress->cancelled());
  EXPECT_EQ(escapes, 1);
  EXPECT_TRUE(window.events.empty());
}

TEST_F(DocumentFixture, OtherKeysAreTheTreesOwn) {
  EXPECT_FALSE(commands->key(TreeKey::Other));
  EXPECT_FALSE(progress->cancelled());
  EXPECT_TRUE(window.events.empty());
}

TEST_F(DocumentFixture, SheetOkIsOneUndoStepUnderItsName) {
  int vert = document->doc.background.vert;
  ASSERT_TRUE(commands->run(builder::command::BackgroundSettings));
  EXPECT_EQ(document->undo().undoName(), "Background");
  EXPECT_TRUE(document->modified());
  EXPECT_NE(document->doc.background.vert, vert);
  EXPECT_TRUE(commands->state(command::Undo).enabled);
  EXPECT_TRUE(commands->run(command::Undo));
  EXPECT_EQ(document->doc.background.vert, vert);
  EXPECT_FALSE(document->modified());
  EXPECT_TRUE(commands->state(command::Redo).enabled);
  EXPECT_EQ(window.events.back(), "changed");
}

TEST_F(DocumentFixture, CancelledDialogLeavesNoEdit) {
  window.sheetsSayOk = false;
  EXPECT_FALSE(commands->run(builder::command::BackgroundSettings));
  EXPECT_FALSE(commands->run(builder::command::FirstAssistant + 2));
  EXPECT_EQ(window.events[window.events.size() - 3], "assistant:3");
  EXPECT_FALSE(document->undo().canUndo());
  EXPECT_FALSE(document->modified());
}

TEST_F(DocumentFixture, DisabledCommandDoesNothing) {
  // Nothing to undo in a new document.
  EXPECT_FALSE(commands->run(command::Undo));
  EXPECT_TRUE(window.events.empty());
}

}  // namespace
}  // namespace vandrel::builder::frame
