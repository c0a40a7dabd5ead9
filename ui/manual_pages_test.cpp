// docs/answers.md and docs/unattended.md kept true: the answers page documents every section
// and key the programs read and no other, and the switch table of the unattended page is the
// programs' own.
#include <gtest/gtest.h>

#include <set>

#include "platform/command_switches.h"
#include "tests/support/temp_dir.h"
#include "ui/answers_check.h"

namespace vandrel::ui {
namespace {

// The source folder as the build names it (the Windows build runs these tests under Wine, which
// reads a Linux path as given).
std::string page(const char* name) { return test::readFile(std::string(VANDREL_SOURCE) + "/docs/" + name); }

// The part of the page from the heading up to the next heading of the same or a higher level.
std::string part(const std::string& text, const std::string& heading) {
  std::size_t at = text.find("\n" + heading + "\n");
  if (at == std::string::npos) return {};
  std::size_t end = text.find("\n### ", at + heading.size() + 2);
  std::size_t next = text.find("\n## ", at + heading.size() + 2);
  return text.substr(at, std::min(end, next) - at);
}

// The first cells of the table rows of text, the header and its rule left out.
std::vector<std::string> firstCells(const std::string& text) {
  std::vector<std::string> cells;
  std::size_t at = 0;
  bool header = true;
  while ((at = text.find("\n| ", at)) != std::string::npos) {
    std::size_t bar = text.find(" |", at + 3);
    std::string cell = text.substr(at + 3, bar - at - 3);
    std::size_t lineEnd = text.find('\n', at + 1);
    bool rule = text.compare(at + 1, 4, "|---") == 0;
    at = lineEnd == std::string::npos ? text.size() : lineEnd;
    if (header || rule) {
      header = false;
      continue;
    }
    cells.push_back(cell);
  }
  return cells;
}

// The cells of the table row whose first cell is first; empty when there is none.
std::vector<std::string> row(const std::string& text, const std::string& first) {
  std::size_t at = text.find("\n| " + first + " |");
  if (at == std::string::npos) return {};
  std::string line = text.substr(at + 1, text.find('\n', at + 1) - at - 1);
  std::vector<std::string> cells;
  for (std::size_t start = 1, bar; (bar = line.find(" |", start)) != std::string::npos; start = bar + 2) {
    cells.push_back(line.substr(start + 1, bar - start - 1));
  }
  return cells;
}

std::string code(const std::string& text) { return "`" + text + "`"; }

TEST(ManualPages, TheAnswersPageDocumentsEveryKeyTheProgramsRead) {
  std::string text = page("answers.md");
  for (const AnswersKey& key : answersKeys()) {
    std::string table = part(text, std::string("### [") + key.section + "]");
    ASSERT_FALSE(table.empty()) << "no part for [" << key.section << "]";
    EXPECT_FALSE(row(table, code(key.key)).empty()) << "[" << key.section << "] " << key.key << " is not documented";
  }
}

TEST(ManualPages, EveryKeyTheAnswersPageDocumentsIsOneTheProgramsRead) {
  std::string text = page("answers.md");
  std::set<std::string> sections;
  for (const AnswersKey& key : answersKeys()) sections.insert(key.section);
  std::size_t at = 0;
  int parts = 0;
  while ((at = text.find("\n### [", at)) != std::string::npos) {
    std::string section = text.substr(at + 6, text.find(']', at) - at - 6);
    at += 6;
    ASSERT_EQ(sections.count(section), 1u) << "[" << section << "] is documented but not read";
    ++parts;
    std::vector<std::string> keys = firstCells(part(text, "### [" + section + "]"));
    EXPECT_FALSE(keys.empty()) << section;
    for (const std::string& cell : keys) {
      bool known = false;
      for (const AnswersKey& key : answersKeys()) known = known || (key.section == section && code(key.key) == cell);
      EXPECT_TRUE(known) << "[" << section << "] " << cell << " is documented but not read";
    }
  }
  EXPECT_EQ(parts, static_cast<int>(sections.size()));
  // The pages Cancel= may name, each as the setup spells it.
  std::string wizard = part(text, "### [Wizard]");
  for (const std::string& name : answersPageNames()) {
    EXPECT_NE(row(wizard, "`Cancel`").at(2).find(code(name)), std::string::npos) << name;
  }
}

// A switch's cell as the page writes it: the name, then =VALUE for a switch with a value.
std::string switchCell(const char* name, const char* value) {
  return code(std::string(name) + (value ? std::string("=") + value : ""));
}

TEST(ManualPages, TheSwitchTableIsTheProgramsOwn) {
  std::string table = part(page("unattended.md"), "## Switches");
  ASSERT_FALSE(table.empty());
  std::vector<std::string> documented = firstCells(table.substr(0, table.find("\n\n", table.find("\n| "))));
  std::vector<std::string> expected;
  for (const platform::CommandSwitch& known : platform::commandSwitches()) {
    std::string first = switchCell(known.windowsName, known.valueName);
    expected.push_back(first);
    std::vector<std::string> cells = row(table, first);
    ASSERT_EQ(cells.size(), 4u) << first;
    EXPECT_EQ(cells[1], switchCell(known.linuxName, known.valueName)) << first;
    std::string variable = std::string(known.variable) + (known.setting ? std::string("=") + known.setting : "");
    EXPECT_EQ(cells[2], code(variable)) << first;
  }
  expected.push_back("`/?`");
  EXPECT_EQ(documented, expected);
  EXPECT_EQ(row(table, "`/?`").at(1), "`--help`");
}

}  // namespace
}  // namespace vandrel::ui
