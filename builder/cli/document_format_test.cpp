// docs/document-format.md kept true: its key tables give the defaults a document starts
// with, its field tables the fields of every entry in their order, and its complete example
// loads without a note, reads as the page explains and generates a package; its build
// variables' example gives the values it says.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "builder/codec/build_variables.h"
#include "builder/codec/document_settings.h"
#include "builder/codec/document_text.h"
#include "builder/codec/text_fields.h"
#include "script/schema.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace vandrel::builder {
namespace {

namespace fs = std::filesystem;

std::string page() { return test::readFile(test::sourcePath() / "docs/document-format.md"); }

// The part of the page from the heading up to the next heading of the same or a higher level.
std::string part(const std::string& text, const std::string& heading) {
  std::size_t at = text.find("\n" + heading + "\n");
  if (at == std::string::npos) return {};
  std::size_t end = text.find("\n### ", at + heading.size() + 2);
  std::size_t next = text.find("\n## ", at + heading.size() + 2);
  return text.substr(at, std::min(end, next) - at);
}

// The cells of the table row that starts with "| first |" in text; empty when there is none.
std::vector<std::string> row(const std::string& text, const std::string& first) {
  std::size_t at = text.find("\n| " + first + " |");
  if (at == std::string::npos) return {};
  std::string line = text.substr(at + 1, text.find('\n', at + 1) - at - 1);
  std::vector<std::string> cells;
  for (std::size_t start = 1, bar; (bar = line.find(" |", start)) != std::string::npos;
       start = bar + 2) {
    cells.push_back(line.substr(start + 1, bar - start - 1));
  }
  return cells;
}

// The default column as the document holds it: `value`, or (empty).
std::string documented(const std::string& cell) {
  if (cell == "(empty)") return "";
  if (cell.size() >= 2 && cell.front() == '`' && cell.back() == '`') return cell.substr(1, cell.size() - 2);
  return "<" + cell + ">";
}

template <typename S>
void expectKeyTable(const std::string& text, const std::string& section,
                    const std::vector<KeyField<S>>& keys) {
  std::string table = part(text, "### [" + section + "]");
  ASSERT_FALSE(table.empty()) << section;
  const CScriptDoc fresh;  // what a key left out of a text document keeps
  for (const KeyField<S>& key : keys) {
    std::vector<std::string> cells = row(table, std::string("`") + key.name + "`");
    ASSERT_EQ(cells.size(), 4u) << section << ": no row for " << key.name;
    EXPECT_EQ(documented(cells[2]), *settingValue(fresh, key.name)) << key.name;
  }
}

TEST(CorvixDocumentFormat, KeyTablesGiveEveryKeyWithItsDefault) {
  std::string text = page();
  expectKeyTable(text, "Settings", settingsKeys());
  expectKeyTable(text, "Background", backgroundKeys());
  expectKeyTable(text, "Owner", ownerKeys());
  std::string peskin = part(text, "### [Peskin]");
  EXPECT_EQ(documented(row(peskin, "`UnGroup`").at(2)), decimal(CScriptDoc().uninstall.unGroup));
  EXPECT_EQ(documented(row(peskin, "`UnDesc`").at(2)), CScriptDoc().uninstall.unDesc);
}

// Each field of the form in order, numbered from 1, with the default the loader gives an
// absent field where the page states one.
template <typename View>
void expectFieldTable(const std::string& text, const std::string& section) {
  std::string table = part(text, "### [" + section + "]");
  ASSERT_FALSE(table.empty()) << section;
  for (const auto& field : script::EntryForm<View>::fields) {
    std::vector<std::string> cells = row(table, std::to_string(field.position));
    ASSERT_GE(cells.size(), 3u) << section << ": no row " << field.position;
    EXPECT_EQ(cells[1], std::string("`") + field.name + "`") << section << " " << field.position;
  }
  EXPECT_TRUE(row(table, std::to_string(std::size(script::EntryForm<View>::fields) + 1)).empty())
      << section << ": a row too many";
}

TEST(CorvixDocumentFormat, FieldTablesFollowTheEntryForms) {
  std::string text = page();
  expectFieldTable<script::DirectoryEntry>(text, "Directories");
  expectFieldTable<script::IniEntry>(text, "AddINI");
  expectFieldTable<script::RegistryEntry>(text, "Registry");
  expectFieldTable<script::DocumentFileEntry>(text, "Files");
  expectFieldTable<script::DocumentShortcutEntry>(text, "Shortcuts");
  expectFieldTable<script::DocumentMessageEntry>(text, "Messages");

  // The "when absent" column of [Files], against a line with the source name alone.
  CScriptDoc doc;
  loadDocumentText(doc, "[Files]\n0=a.exe\n");
  const FileRecord& f = doc.files.at(0);
  std::string files = part(text, "### [Files]");
  std::map<std::string, int> loaded{{"disk", f.disk},          {"uninstall", f.uninstall},
                                    {"force", f.forceCopy},    {"expand", f.decompress},
                                    {"size", f.size},          {"predefinedDir", f.predefinedDir},
                                    {"platform", f.platform},  {"shared", f.shared}};
  for (const auto& [name, value] : loaded) {
    bool found = false;
    for (int position = 1; position <= 13; ++position) {
      std::vector<std::string> cells = row(files, std::to_string(position));
      if (cells.size() < 3 || cells[1] != "`" + name + "`") continue;
      found = true;
      EXPECT_EQ(cells[2], "`" + std::to_string(value) + "`") << name;
    }
    EXPECT_TRUE(found) << name;
  }
}

// The first ```ini block after the example marker.
std::string exampleDocument() {
  std::string text = page();
  std::size_t marker = text.find("<!-- example-document");
  if (marker == std::string::npos) return {};
  std::size_t start = text.find("```ini\n", marker);
  if (start == std::string::npos) return {};
  start += 7;
  return text.substr(start, text.find("```", start) - start);
}

TEST(CorvixDocumentFormat, TheExampleLoadsReadsAsExplainedAndGenerates) {
  std::string example = exampleDocument();
  ASSERT_FALSE(example.empty());
  CScriptDoc doc;
  LoadDiagnostics notes;
  loadDocumentText(doc, example, notes, "example");
  for (const LoadDiagnostic& note : notes) ADD_FAILURE() << diagnosticText(note);

  EXPECT_EQ(doc.settings.appName, "Notes");
  EXPECT_EQ(doc.settings.regInfo, 0);
  EXPECT_EQ(doc.background.bottom, 0x00800000u);
  ASSERT_EQ(doc.directories.count(), 2);
  ASSERT_EQ(doc.files.count(), 4);
  // References are positions: first.note names entry 0 (Samples), notes.hlp entry 1 (Help).
  EXPECT_EQ(doc.directories.at(0).name, "Samples");
  EXPECT_EQ(doc.files.at(3).directoryRef, doc.directories.at(0).key);
  EXPECT_EQ(doc.files.at(2).directoryRef, doc.directories.at(1).key);
  EXPECT_EQ(doc.files.at(0).directoryRef, 0u) << "-1: the predefined directory";
  EXPECT_EQ(doc.files.at(1).descriptionRef, 0u);
  EXPECT_EQ(doc.files.at(3).sourcePath, "files\\samples");
  ASSERT_EQ(doc.shortcuts.count(), 2);
  EXPECT_EQ(doc.shortcuts.at(1).commandLine, "[0]\\notes.hlp");
  EXPECT_EQ(doc.uninstall.groupKey, doc.groups.at(0).key);
  EXPECT_EQ(doc.web.favoriteNames, std::vector<std::string>{"Notes home page"});

  // Beside it, the files it names with the sizes it gives.
  test::TempDir dir;
  fs::path project = dir / "project";
  for (const FileRecord& file : doc.files) {
    std::string folder = file.sourcePath;
    for (char& c : folder) c = c == '\\' ? '/' : c;
    fs::create_directories(project / folder);
    test::writeFile(project / folder / file.sourceName, std::string(std::size_t(file.size), 'n'));
  }
  test::writeFile(project / "notes.txt", example);
  std::map<std::string, std::string> env{{"VANDREL_UI", "scripted"},
                                         {"VANDREL_MACHINE", (dir / "machine").string()},
                                         {"VANDREL_ANSWERS", ""},
                                         {"VANDREL_TRANSCRIPT", ""}};
  std::string document = (project / "notes.txt").string();
  test::RunResult checked = test::runProgram(
      "corvix", {"check", document, "--log", (dir / "log.txt").string()}, env, 120);
  EXPECT_EQ(checked.exitStatus, 0) << checked.out << checked.err;
  EXPECT_NE(checked.out.find("; 0 finding(s)\n"), std::string::npos) << checked.out;
  test::RunResult generated = test::runProgram(
      "corvix", {"generate", document, "--out", (dir / "pkg").string()}, env, 120);
  ASSERT_EQ(generated.exitStatus, 0) << generated.err;
  EXPECT_EQ(generated.err.find("warning"), std::string::npos) << generated.err;
  // The placeholders as the page explains them: Help [0], Samples [1], the installation
  // folder [2], the Windows folder [5].
  std::string script = test::readFile(dir / "pkg/Script.vrx");
  EXPECT_NE(script.find("\r\n[Directories]\r\nnbDir=6\r\n0=Help,0,0,Help pages\r\n"
                        "1=Samples,0,1,Sample notes\r\n2=,0,0,\r\n3=,1,0,\r\n4=,2,0,\r\n5=,3,0,\r\n"),
            std::string::npos) << script;
  for (const FileRecord& file : doc.files) {
    EXPECT_EQ(test::readFile(dir / "pkg" / file.sourceName).size(), std::size_t(file.size))
        << file.sourceName;
  }
}

// The version written once: the example of "Build variables" loads without a note, and the
// package's fields get the values the page gives while the document keeps what it wrote.
TEST(CorvixDocumentFormat, TheBuildVariablesExampleGivesTheValuesItSays) {
  std::string text = part(page(), "## Build variables");
  ASSERT_FALSE(text.empty());
  std::size_t start = text.find("```ini\n");
  ASSERT_NE(start, std::string::npos);
  start += 7;
  std::string example = text.substr(start, text.find("```", start) - start);
  CScriptDoc doc;
  LoadDiagnostics notes;
  loadDocumentText(doc, example, notes, "example");
  for (const LoadDiagnostic& note : notes) ADD_FAILURE() << diagnosticText(note);
  ASSERT_EQ(doc.registryEntries.count(), 2);
  ASSERT_NE(text.find("--set Build=417` writes `Version=1.0` and\n`Build=1.0.417` under "
                      "`Software\\Orlwen\\Notes`"),
            std::string::npos);
  CScriptDoc built = expandedForBuild(doc, {{"Build", "417"}});
  EXPECT_EQ(built.registryEntries.at(0).subkey, "Software\\Orlwen\\Notes");
  EXPECT_EQ(built.registryEntries.at(0).value, "1.0");
  EXPECT_EQ(built.registryEntries.at(1).value, "1.0.417");
  EXPECT_EQ(doc.registryEntries.at(1).value, "$(Ver).$(Build)");
  // Without the build number, the page's finding.
  LoadDiagnostics findings =
      buildVariableFindings(example, BuildVariables(doc, {}), "notes.txt");
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_NE(text.find("(`$(Build)` without `--set Build=...`)"), std::string::npos);
  EXPECT_EQ(findings[0].message, "unknown build variable $(Build): give it with --set Build=VALUE");
}

}  // namespace
}  // namespace vandrel::builder
