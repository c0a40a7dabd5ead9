// The drop import's windows: driven by answers they give the entries the console's dialogs
// give; a kept directory and the default settings ask only once; a selector without a choice
// is refused and stays open.
#include <algorithm>

#include "builder/dropimport/drop_import.h"
#include "builder/win32/sheet_ids.h"
#include "builder/win32/sheet_test_support.h"
#include "tests/support/memory_file_system.h"
#include "ui/scripted_interaction.h"

namespace vandrel::builder::win32 {
namespace {

using namespace testing;

// A dropped folder of two files.
struct DropDialogs : DialogFixture {
  test::MemoryFileSystem files;
  BuilderPreferences prefs;

  DropDialogs() {
    files.writeFile("C:\\Src\\Pkg\\a.txt", "aaaa");
    files.writeFile("C:\\Src\\Pkg\\b.txt", "bb");
  }
};

// The files of a document, sorted by name, as comparable text.
std::vector<std::string> describe(const CScriptDoc& doc) {
  std::vector<std::string> out;
  for (const FileRecord& f : doc.files) {
    out.push_back(f.sourceName + " dest=" + f.destName + " pre=" + std::to_string(f.predefinedDir) +
                  " dir=" + std::to_string(f.directoryRef != 0) +
                  " disk=" + std::to_string(f.disk) + " shared=" + std::to_string(f.shared));
  }
  std::sort(out.begin(), out.end());
  return out;
}

TEST_F(DropDialogs, AnswersGiveTheSameEntriesAsTheScriptedDialogs) {
  const char* answers = "[Choices]\n1=Windows Dir\n2=#1\n[Wizard]\nShared=1\nUseDefaults=0\n";
  // Over the interaction port.
  builder::testing::DocFixture scripted;
  ui::ScriptedInteraction port(ui::Answers::fromText(answers));
  dropimport::InteractionDropDialogs portDialogs(port);
  dropimport::DropImport(*scripted.tree, prefs, files, port, portDialogs).run({"C:\\Src\\Pkg"});

  // Through the windows.
  ui::ScriptedInteraction autopilot(ui::Answers::fromText(answers));
  DialogContext c = context();
  c.autopilot = &autopilot;
  std::unique_ptr<dropimport::DropDialogs> windows = makeDropDialogs(c);
  dropimport::DropImport(*tree, prefs, files, ui, *windows).run({"C:\\Src\\Pkg"});

  ASSERT_EQ(doc.files.count(), 2);
  std::vector<std::string> listed = describe(doc);
  EXPECT_EQ(listed, describe(scripted.doc));
  EXPECT_NE(std::find(listed.begin(), listed.end(), "a.txt dest=a.txt pre=3 dir=0 disk=1 shared=1"),
            listed.end());
}

TEST_F(DropDialogs, KeptDirectoryAndDefaultSettingsAskOnlyOnce) {
  int selectors = 0, filePages = 0;
  EachWindow each([&](HWND w) {
    if (caption(w) == "Directory Selector") {
      ++selectors;
      EXPECT_FALSE(IsWindowEnabled(GetDlgItem(w, IDCANCEL))) << "the file pages are on";
      press(w, IDOK);  // no selection: refused
      EXPECT_TRUE(IsWindowVisible(w));
      EXPECT_EQ(ui.beeps, 1);
      choose(w, IDC_SELECTOR_LIST, 2);  // "Root Drive", after Pkg
      tick(w, IDC_SELECTOR_KEEP, true);
      press(w, IDOK);
    } else {
      ++filePages;
      EXPECT_FALSE(enabled(w, IDC_FILE_BROWSE));
      EXPECT_FALSE(enabled(w, IDC_FILE_VALIDATE));
      tick(w, IDC_FILE_USEDEFAULTS, true);
      press(w, IDOK);
    }
  });
  std::unique_ptr<dropimport::DropDialogs> windows = makeDropDialogs(context());
  dropimport::DropImport(*tree, prefs, files, ui, *windows).run({"C:\\Src\\Pkg"});
  EXPECT_EQ(selectors, 1);
  EXPECT_EQ(filePages, 1);
  ASSERT_EQ(doc.files.count(), 2);
  for (const FileRecord& f : doc.files) EXPECT_EQ(f.predefinedDir, 1);
}

}  // namespace
}  // namespace vandrel::builder::win32
