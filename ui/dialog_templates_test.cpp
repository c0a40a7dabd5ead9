// The Win32 dialog templates (ui/win32/dialogs.rc), read as text: no two controls of one
// dialog share an accelerator, nor a wizard page's controls and its frame's buttons as the
// frame shows them over the page.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <sstream>

#include "tests/support/temp_dir.h"
#include "ui/accelerators.h"

namespace vandrel::ui {
namespace {

// Each dialog's control texts that can carry an accelerator (static texts marked SS_NOPREFIX
// show "&" as it is), in template order.
std::map<std::string, std::vector<std::string>> templateLabels() {
  std::istringstream rc(test::readFile(std::string(VANDREL_SOURCE) + "/ui/win32/dialogs.rc"));
  const std::regex start(R"(^(\w+)\s+DIALOGEX\b)");
  const std::regex control(
      R"(^\s*(CONTROL|[LRC]TEXT|(DEF)?PUSHBUTTON|(AUTO)?RADIOBUTTON|(AUTO)?CHECKBOX|GROUPBOX)\s+\"((?:[^\"]|\"\")*)\")");
  std::map<std::string, std::vector<std::string>> dialogs;
  std::string line, current;
  std::smatch match;
  while (std::getline(rc, line)) {
    if (std::regex_search(line, match, start)) {
      current = match[1];
      dialogs[current];
    } else if (line.rfind("END", 0) == 0) {
      current.clear();
    } else if (!current.empty() && std::regex_search(line, match, control) &&
               line.find("SS_NOPREFIX") == std::string::npos && match[5].length() > 0) {
      dialogs[current].push_back(match[5]);
    }
  }
  return dialogs;
}

std::string joined(const std::vector<std::string>& labels) {
  std::string out;
  for (const std::string& label : labels) out += " [" + label + "]";
  return out;
}

TEST(DialogTemplates, NoTwoControlsOfADialogShareAnAccelerator) {
  std::map<std::string, std::vector<std::string>> dialogs = templateLabels();
  ASSERT_GE(dialogs.size(), 14u);  // every template of the file was read
  for (const auto& [name, labels] : dialogs) {
    std::vector<char> shared = sharedAccelerators(labels);
    // The shared-file question keeps the texts it has always had: "&Yes" and "&Yes to all"
    // share Y (the key moves between them); no other letter may be shared there either.
    if (name == "IDD_THREE_BUTTONS") {
      EXPECT_EQ(shared.size(), 1u) << name << ":" << joined(labels);
      continue;
    }
    EXPECT_TRUE(shared.empty()) << name << ":" << joined(labels);
  }
}

TEST(DialogTemplates, EveryPageWithItsFramesButtonsGivesEachLetterToOneControl) {
  std::map<std::string, std::vector<std::string>> dialogs = templateLabels();
  const std::vector<std::string>& frame = dialogs["IDD_WIZARD_FRAME"];
  ASSERT_EQ(frame, (std::vector<std::string>{kBackLabel, "&Next >", "Cancel"}));
  int pages = 0;
  for (const auto& [name, labels] : dialogs) {
    if (name.rfind("IDD_PAGE_", 0) != 0) continue;
    ++pages;
    Page page;  // the template's controls as the page's own, the frame's texts as its buttons
    page.actions = labels;
    page.next = frame[1];
    page.cancel = frame[2];
    settleFrameAccelerators(page);
    EXPECT_TRUE(sharedAccelerators(shownLabels(page)).empty()) << name << ":" << joined(shownLabels(page));
  }
  EXPECT_EQ(pages, 7);
}

}  // namespace
}  // namespace vandrel::ui
