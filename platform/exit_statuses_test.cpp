// docs/exit-codes.md kept true: each program's table on the page is the program's table of
// exit statuses, row for row; and the tables themselves give every status words and, for every
// failure, something to do.
#include "platform/exit_statuses.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

namespace vandrel::platform {
namespace {

std::string page() {
  std::ifstream in(std::string(VANDREL_SOURCE) + "/docs/exit-codes.md", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The table rows below the heading "## <programs>", up to the next heading.
std::vector<std::string> rowsUnder(const std::string& text, const std::string& programs) {
  std::size_t at = text.find("\n## " + programs + "\n");
  if (at == std::string::npos) return {};
  std::size_t end = text.find("\n## ", at + 4);
  std::istringstream part(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
  std::vector<std::string> rows;
  for (std::string line; std::getline(part, line);) {
    if (line.rfind("| ", 0) == 0 && line.find("---") == std::string::npos &&
        line.rfind("| status |", 0) != 0) {
      rows.push_back(line);
    }
  }
  return rows;
}

// A row as the page writes it: the status (or "other"), what happened, what to do.
std::string pageRow(const ExitStatus& entry) {
  std::string status = entry.status == kOtherStatus ? "other" : "`" + std::to_string(entry.status) + "`";
  return "| " + status + " | " + entry.happened + " | " + (*entry.toDo ? entry.toDo : "nothing") + " |";
}

TEST(ExitCodesPage, EveryProgramsTableIsOnThePageRowForRow) {
  std::string text = page();
  ASSERT_FALSE(text.empty()) << "docs/exit-codes.md";
  for (const ProgramExits& table : allExitStatuses()) {
    std::vector<std::string> expected;
    for (const ExitStatus& entry : table.statuses) expected.push_back(pageRow(entry));
    std::string wanted;
    for (const std::string& row : expected) wanted += row + "\n";
    EXPECT_EQ(rowsUnder(text, table.programs), expected)
        << "the section \"## " << table.programs << "\" of docs/exit-codes.md should list:\n"
        << wanted;
  }
}

TEST(ExitStatuses, EveryFailureSaysWhatHappenedAndWhatToDo) {
  for (const ProgramExits& table : allExitStatuses()) {
    std::set<int> seen;
    for (const ExitStatus& entry : table.statuses) {
      EXPECT_TRUE(seen.insert(entry.status).second) << table.key << ": " << entry.status << " twice";
      EXPECT_NE(std::string(entry.happened), "") << table.key << " " << entry.status;
      if (entry.status != 0) {
        EXPECT_NE(std::string(entry.toDo), "") << table.key << " " << entry.status;
      }
    }
  }
}

TEST(ExitStatuses, TheSetupsStatusesAreTheClosingDialogsPlusTen) {
  // 0 for success, 1 before any closing dialog, 2 for a refused command line, and 10 + every
  // closing status but success (4).
  std::set<int> statuses;
  for (const ExitStatus& entry : exitStatusesOf("tamsin32")->statuses) statuses.insert(entry.status);
  EXPECT_EQ(statuses, (std::set<int>{0, 1, 2, 10, 11, 12, 13, 15, 16, 17}));
  std::set<int> removal;
  for (const ExitStatus& entry : exitStatusesOf("peskin32")->statuses) removal.insert(entry.status);
  EXPECT_EQ(removal, (std::set<int>{0, 1, 2, 3, 4, 5}));
}

TEST(ExitStatuses, TheUsagePartListsEveryStatusWrapped) {
  std::string help = exitStatusHelp("peskin32");
  EXPECT_EQ(help.rfind("Exit status:\n  0   the removal completed", 0), 0u) << help;
  for (int status : {1, 2, 3, 4, 5}) {
    EXPECT_NE(help.find("\n  " + std::to_string(status) + "   "), std::string::npos) << status << "\n" << help;
  }
  std::istringstream lines(help);
  for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 79u) << line;
  EXPECT_EQ(exitStatusHelp("no-such-program"), "");
}

}  // namespace
}  // namespace vandrel::platform
