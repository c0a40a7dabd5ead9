// The installation summary and the version information as Win32 sheets: the same cases as
// the Qt windows'.
#include <windows.h>

#include <commctrl.h>

#include "builder/strings/builder_strings.h"
#include "builder/win32/app_dialog_ids.h"
#include "builder/win32/sheet_test_support.h"
#include "tests/support/memory_file_system.h"

namespace vandrel::builder::win32 {
namespace {

using namespace testing;

std::string cell(HWND list, int row, int column) {
  char buffer[256] = {};
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = sizeof buffer;
  SendMessageA(list, LVM_GETITEMTEXTA, WPARAM(row), reinterpret_cast<LPARAM>(&item));
  return buffer;
}

int rows(HWND list) { return int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

struct SummaryDialogs : DialogFixture {
  test::MemoryFileSystem files;
  SummaryDialogs() {
    files.addDrive('C');
    files.writeFile("C:\\Corvix\\Setup.exe", std::string(2048, 'x'));
  }
};

TEST_F(SummaryDialogs, PropertiesWrittenBackOnOkAndStatisticsShown) {
  addFile("a.exe", 0, 1);
  addFile("b.exe", 0, 3);
  doc.files.at(0).size = 3 << 20;
  whenShown([](HWND w) {
    EXPECT_EQ(caption(w), "Install Summary");
    HWND disks = find(w, IDC_STAT_DISKS);
    ASSERT_EQ(rows(disks), 3);
    EXPECT_EQ(cell(disks, 0, 0), "Disk 1");
    EXPECT_EQ(cell(disks, 0, 1), "3.000 Mb");
    EXPECT_EQ(cell(disks, 1, 1), "0 Mb");
    EXPECT_EQ(text(w, IDC_STAT_FILES), "2");
    EXPECT_EQ(text(w, IDC_SUM_CREATED), "Unavailable") << "a document never saved has no dates";
    EXPECT_EQ(text(w, IDC_SUM_MODIFIED), "Unavailable");
    EXPECT_TRUE(GetWindowLongA(find(w, IDC_SUM_SCRIPT_FOR), GWL_STYLE) & ES_READONLY);
    type(w, IDC_SUM_SUBJECT, "The tool");
    type(w, IDC_SUM_AUTHOR, "Ann");
    press(w, IDOK);
  });
  ASSERT_TRUE(runSummarySheet(context(), doc, files, "C:\\Corvix"));
  EXPECT_EQ(doc.properties.subject, "The tool");
  EXPECT_EQ(doc.properties.author, "Ann");
}

TEST_F(SummaryDialogs, CancelKeepsTheProperties) {
  doc.properties.subject = "old";
  whenShown([](HWND w) {
    EXPECT_EQ(text(w, IDC_SUM_SUBJECT), "old");
    type(w, IDC_SUM_SUBJECT, "new");
    press(w, IDCANCEL);
  });
  EXPECT_FALSE(runSummarySheet(context(), doc, files, "C:\\Corvix"));
  EXPECT_EQ(doc.properties.subject, "old");
  EXPECT_FALSE(doc.isModified());
}

TEST_F(SummaryDialogs, AnswersWriteTheProperties) {
  ui::ScriptedInteraction answers(ui::Answers::fromText("[Wizard]\nTemplate=Tools\nAuthor=Bo\n"));
  DialogContext c = context();
  c.autopilot = &answers;
  ASSERT_TRUE(runSummarySheet(c, doc, files, "C:\\Corvix", 1));
  EXPECT_EQ(doc.properties.templateName, "Tools");
  EXPECT_EQ(doc.properties.author, "Bo");
}

TEST_F(SummaryDialogs, VersionSheetListsTheEightComponents) {
  files.writeFile("C:\\Corvix\\Tam32E.ex_", std::string(4096, 'x'));
  whenShown([](HWND w) {
    EXPECT_EQ(caption(w), "Version Info");
    HWND list = find(w, IDC_VERSION_LIST);
    ASSERT_EQ(rows(list), 8);
    EXPECT_EQ(cell(list, 2, 0), "Tam32E.ex_");
    EXPECT_EQ(cell(list, 2, 3), "4");
    EXPECT_EQ(cell(list, 0, 2), "[File Not Found]");
    EXPECT_EQ(cell(list, 3, 1), "32 Bits Installer (French)");
    // The columns are at least as wide as given, and as wide as their widest text.
    for (int column = 0; column < 4; ++column) {
      int width = int(SendMessageA(list, LVM_GETCOLUMNWIDTH, WPARAM(column), 0));
      for (int row = 0; row < rows(list); ++row) {
        std::string value = cell(list, row, column);
        int needed = int(SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(value.c_str())));
        EXPECT_GE(width, needed) << value;
      }
    }
    press(w, IDOK);
  });
  runVersionSheet(context(), files, "C:\\Corvix");
}

}  // namespace
}  // namespace vandrel::builder::win32
