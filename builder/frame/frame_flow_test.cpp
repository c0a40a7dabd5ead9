// Tests of the frame commands' flow: the save question's answers, saving under a chosen name,
// the recent files, and what runs when a command is disabled.
#include "builder/frame/frame_flow.h"

#include <gtest/gtest.h>

#include "builder/frame/frame_commands.h"
#include "builder/tree/tree_commands.h"
#include "tests/support/fake_interaction.h"

namespace vandrel::builder::frame {
namespace {

class FakeDocument : public FrameDocument {
 public:
  bool isModified = true;
  std::filesystem::path file;
  std::string name = "Script1";
  bool saveWorks = true;
  int saves = 0;
  std::vector<std::filesystem::path> savedAs;

  bool modified() const override { return isModified; }
  std::string windowTitle() const override { return name + (isModified ? " *" : ""); }
  bool hasFile() const override { return !file.empty(); }
  const std::filesystem::path& hostPath() const override { return file; }
  bool save() override {
    ++saves;
    if (saveWorks) isModified = false;
    return saveWorks;
  }
  bool saveAs(const std::filesystem::path& path) override {
    savedAs.push_back(path);
    if (!saveWorks) return false;
    file = path;
    isModified = false;
    return true;
  }
};

// A frame window that records what it was asked to do.
class FakeView : public FrameView {
 public:
  FrameState state;
  FakeDocument* document = nullptr;
  std::optional<std::string> chosenName;
  std::vector<std::string> events;
  std::vector<std::string> opened;
  FrameCommands* commands = nullptr;

  FrameState frameState() const override {
    FrameState out = state;
    out.document = document != nullptr;
    return out;
  }
  CommandState documentState(int) const override { return {true, false}; }
  FrameDocument* activeDocument() override { return document; }
  void newDocument() override { events.push_back("new"); }
  bool openDocument(const std::string& hostPath) override {
    opened.push_back(hostPath);
    return true;
  }
  std::optional<std::string> askFileName(bool save, const std::string& current) override {
    events.push_back(std::string(save ? "ask-save:" : "ask-open:") + current);
    return chosenName;
  }
  // As a window does: its close asks the frame's question first.
  bool closeActiveDocument() override {
    if (!commands->mayClose(*document)) return false;
    events.push_back("closed");
    document = nullptr;
    return true;
  }
  bool closeFrame() override { return true; }
  void showToolbar(bool shown) override { events.push_back(shown ? "toolbar-on" : "toolbar-off"); }
  void showStatusBar(bool shown) override { events.push_back(shown ? "status-on" : "status-off"); }
  bool showDialog(FrameDialog) override { return true; }
  void arrange(Arrangement) override {}
  bool runDocumentCommand(int cmd) override {
    events.push_back("document:" + std::to_string(cmd));
    return true;
  }
  void documentChanged(FrameDocument&) override { events.push_back("title"); }
  void recentFilesChanged() override { events.push_back("recent"); }
  void commandsChanged() override {}
};

struct FlowFixture : ::testing::Test {
  FakeDocument document;
  FakeView view;
  test::FakeInteraction ui;
  std::vector<std::string> recent;
  FrameCommands commands{view, ui, recent, "Corvix"};

  void SetUp() override {
    view.document = &document;
    view.commands = &commands;
    document.file = "/work/tool.cvx";
  }
};

TEST_F(FlowFixture, UnmodifiedDocumentClosesWithoutQuestion) {
  document.isModified = false;
  EXPECT_TRUE(commands.run(command::FileClose));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(document.saves, 0);
  EXPECT_EQ(view.document, nullptr);
}

TEST_F(FlowFixture, YesSavesThenCloses) {
  ui.answers = {ui::Answer::Yes};
  EXPECT_TRUE(commands.run(command::FileClose));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Save changes to Script1?");
  EXPECT_EQ(ui.messages[0].caption, "Corvix");
  EXPECT_EQ(ui.messages[0].buttons, ui::Buttons::YesNoCancel);
  EXPECT_EQ(ui.messages[0].icon, ui::Icon::Exclamation);
  EXPECT_EQ(document.saves, 1);
  EXPECT_EQ(view.document, nullptr);
  EXPECT_EQ(recent, std::vector<std::string>{"/work/tool.cvx"});
}

TEST_F(FlowFixture, NoClosesWithoutSaving) {
  ui.answers = {ui::Answer::No};
  EXPECT_TRUE(commands.run(command::FileClose));
  EXPECT_EQ(document.saves, 0);
  EXPECT_EQ(view.document, nullptr);
  EXPECT_TRUE(recent.empty());
}

TEST_F(FlowFixture, CancelKeepsTheDocument) {
  ui.answers = {ui::Answer::Cancel};
  EXPECT_FALSE(commands.run(command::FileClose));
  EXPECT_EQ(document.saves, 0);
  EXPECT_EQ(view.document, &document);
}

TEST_F(FlowFixture, FailedSaveKeepsTheDocumentOpen) {
  ui.answers = {ui::Answer::Yes};
  document.saveWorks = false;
  EXPECT_FALSE(commands.run(command::FileClose));
  EXPECT_EQ(document.saves, 1);
  EXPECT_EQ(view.document, &document);
  EXPECT_TRUE(recent.empty());
}

TEST_F(FlowFixture, YesOnUnnamedDocumentAsksItsName) {
  document.file.clear();
  ui.answers = {ui::Answer::Yes};
  // The author cancels the file chooser: the window stays.
  EXPECT_FALSE(commands.mayClose(document));
  EXPECT_TRUE(document.savedAs.empty());
  ui.answers = {ui::Answer::Yes};
  view.chosenName = "/work/viewer";
  EXPECT_TRUE(commands.mayClose(document));
  EXPECT_EQ(document.savedAs, std::vector<std::filesystem::path>{"/work/viewer.cvx"});
}

TEST_F(FlowFixture, SaveAsAddsTheExtensionAndNotesTheFile) {
  recent = {"/a.cvx", "/b.cvx", "/work/other.cvx", "/c.cvx"};
  view.chosenName = "/work/other";
  EXPECT_TRUE(commands.run(command::FileSaveAs));
  EXPECT_EQ(view.events.front(), "ask-save:/work/tool.cvx");
  EXPECT_EQ(document.savedAs, std::vector<std::filesystem::path>{"/work/other.cvx"});
  EXPECT_EQ(recent, (std::vector<std::string>{"/work/other.cvx", "/a.cvx", "/b.cvx", "/c.cvx"}));
  EXPECT_EQ(document.saves, 0);
}

TEST_F(FlowFixture, SaveKeepsAnExtensionGiven) {
  view.chosenName = "/work/setup.txt";
  EXPECT_TRUE(commands.run(command::FileSaveAs));
  EXPECT_EQ(document.savedAs, std::vector<std::filesystem::path>{"/work/setup.txt"});
}

TEST_F(FlowFixture, SaveOfNamedDocumentWritesItsFile) {
  EXPECT_TRUE(commands.run(command::FileSave));
  EXPECT_EQ(document.saves, 1);
  EXPECT_EQ(view.events, (std::vector<std::string>{"recent", "title"}));
}

TEST_F(FlowFixture, FailedSaveLeavesRecentFiles) {
  document.saveWorks = false;
  EXPECT_FALSE(commands.run(command::FileSave));
  EXPECT_TRUE(recent.empty());
  EXPECT_EQ(view.events, std::vector<std::string>{"title"});
}

TEST_F(FlowFixture, WithoutDocumentSaveDoesNothing) {
  view.document = nullptr;
  EXPECT_FALSE(commands.run(command::FileSave));
  EXPECT_FALSE(commands.run(builder::command::Properties));
  EXPECT_TRUE(view.events.empty());
}

TEST_F(FlowFixture, RecentFileOpensThatFile) {
  recent = {"/a.cvx", "/b.cvx"};
  EXPECT_TRUE(commands.run(recentFileCommand(1)));
  EXPECT_EQ(view.opened, std::vector<std::string>{"/b.cvx"});
  EXPECT_FALSE(commands.run(recentFileCommand(2)));
  EXPECT_EQ(view.opened.size(), 1u);
}

TEST_F(FlowFixture, OpenCancelledDoesNothing) {
  EXPECT_FALSE(commands.run(command::FileOpen));
  EXPECT_TRUE(view.opened.empty());
  view.chosenName = "/work/x.cvx";
  EXPECT_TRUE(commands.run(command::FileOpen));
  EXPECT_EQ(view.opened, std::vector<std::string>{"/work/x.cvx"});
}

TEST_F(FlowFixture, BarsToggle) {
  view.state.toolbarShown = true;
  commands.run(command::ViewToolbar);
  commands.run(command::ViewStatusBar);
  EXPECT_EQ(view.events, (std::vector<std::string>{"toolbar-off", "status-on"}));
}

TEST_F(FlowFixture, OtherCommandsGoToTheDocumentsView) {
  EXPECT_TRUE(commands.run(builder::command::Generate));
  EXPECT_EQ(view.events,
            (std::vector<std::string>{"document:" + std::to_string(builder::command::Generate), "title"}));
}

TEST(RecentFiles, NewestFirstWithoutRepeatsAndAtMostFour) {
  std::vector<std::string> recent;
  for (const char* file : {"/1", "/2", "/3", "/4", "/5"}) noteRecentFile(recent, file);
  EXPECT_EQ(recent, (std::vector<std::string>{"/5", "/4", "/3", "/2"}));
  noteRecentFile(recent, "/3");
  EXPECT_EQ(recent, (std::vector<std::string>{"/3", "/5", "/4", "/2"}));
}

}  // namespace
}  // namespace vandrel::builder::frame
