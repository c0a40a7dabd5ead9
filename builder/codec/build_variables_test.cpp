// Tests of build variables: what $(NAME) becomes, the escape, what cannot be filled in, which
// lines of a document text are read, and the copy a package is built from.
#include "builder/codec/build_variables.h"

#include <gtest/gtest.h>

#include "builder/codec/document_text.h"

namespace vandrel::builder {
namespace {

CScriptDoc toolDoc() {
  CScriptDoc doc([] { return std::uint64_t(1); });
  doc.settings.appName = "Tool";
  doc.settings.ver = "1.2";
  doc.settings.title = "$(AppName) Setup";
  return doc;
}

struct ExpandCase {
  const char* name;
  BuildValues given;
  std::string text;
  std::string expanded;
  std::vector<std::string> problems;
};

TEST(BuildVariables, ExpandsNamesEscapesAndKeepsWhatCannotBeFilled) {
  const std::vector<ExpandCase> cases{
      {"no reference", {}, "Software\\Tool [u] %WINDIR% 100$ $x (y)", "Software\\Tool [u] %WINDIR% 100$ $x (y)", {}},
      {"a setting", {}, "Software\\$(AppName)\\$(Ver)", "Software\\Tool\\1.2", {}},
      {"names in any case", {}, "$(appname) $(VER)", "Tool 1.2", {}},
      {"a given value", {{"Build", "417"}}, "$(Ver).$(Build)", "1.2.417", {}},
      {"given before the setting, later before earlier",
       {{"Ver", "9"}, {"ver", "10"}}, "$(Ver)", "10", {}},
      {"a setting that refers to another", {}, "$(Title)", "Tool Setup", {}},
      {"a given value that refers to others", {{"Full", "$(AppName) $(Ver)"}, {"Label", "[$(Full)]"}},
       "$(Label)", "[Tool 1.2]", {}},
      {"the escape", {}, "$$(AppName) costs $$5", "$(AppName) costs $$5", {}},
      {"the escape in a value", {{"Doc", "see $$(HOME)"}}, "$(Doc)", "see $(HOME)", {}},
      {"special characters in a value", {{"Path", "C:\\Program Files\\[u] \"%WINDIR%\",1;=$"}},
       "x=$(Path)", "x=C:\\Program Files\\[u] \"%WINDIR%\",1;=$", {}},
      {"an unknown name", {}, "v$(Build)", "v$(Build)",
       {"unknown build variable $(Build): give it with --set Build=VALUE"}},
      {"a value that refers to itself", {{"A", "x$(B)"}, {"B", "$(a)"}}, "$(A)", "x$(a)",
       {"build variable $(a) refers to itself"}},
      {"no closing parenthesis", {}, "go $(AppName", "go $(AppName",
       {"\"$(\" without \")\" (write $$( for a plain \"$(\")"}},
      {"no name inside", {}, "$() $(1x) $(a b)", "$() $(1x) $(a b)",
       {"$() is no build variable: a name is a letter or _, then letters, digits and _ (write "
        "$$( for a plain \"$(\")",
        "$(1x) is no build variable: a name is a letter or _, then letters, digits and _ (write "
        "$$( for a plain \"$(\")",
        "$(a b) is no build variable: a name is a letter or _, then letters, digits and _ "
        "(write $$( for a plain \"$(\")"}},
  };
  CScriptDoc doc = toolDoc();
  for (const ExpandCase& c : cases) {
    BuildVariables variables(doc, c.given);
    std::vector<std::string> problems;
    EXPECT_EQ(variables.expand(c.text, problems), c.expanded) << c.name;
    EXPECT_EQ(problems, c.problems) << c.name;
  }
}

TEST(BuildVariables, NamesAreLettersDigitsAndUnderscores) {
  EXPECT_TRUE(isBuildVariableName("Ver"));
  EXPECT_TRUE(isBuildVariableName("_build2"));
  EXPECT_FALSE(isBuildVariableName(""));
  EXPECT_FALSE(isBuildVariableName("2nd"));
  EXPECT_FALSE(isBuildVariableName("a-b"));
  EXPECT_FALSE(isBuildVariableName("a b"));
}

// Each problem is an error on the line that holds it; only the fields a build fills in are
// read, so a settings value, a file's line, Reboot and StartURL are left alone.
TEST(BuildVariables, FindingsNameTheirLines) {
  const std::string text =
      "[Settings]\n"                                  // 1
      "AppName=$(Nothing)\n"                          // 2
      "[Registry]\r\n"                                // 3
      "0=2,Software\\$(AppName),Version,$(Ver),1\n"  // 4
      "1=2,Software\\$(Vendor),Build,$(Build),1\n"   // 5
      "[Files]\n"                                     // 6
      "0=$(Src).exe,4,1,a.exe,1,0,0,-1,-1,0,0,.,0\n"  // 7
      "[end]\n"                                       // 8
      "Reboot=$(R)\n"                                 // 9
      "0=notes.exe $(Args\n"                          // 10
      "[Web]\n"                                       // 11
      "StartURL=$(Site)\n"                            // 12
      "0=Home,http://$(Site)/\n";                     // 13
  CScriptDoc doc = toolDoc();
  BuildVariables variables(doc, {{"Vendor", "Orl"}});
  LoadDiagnostics findings = buildVariableFindings(text, variables, "app.txt");
  ASSERT_EQ(findings.size(), 3u);
  EXPECT_EQ(diagnosticText(findings[0]),
            "app.txt:5: error: unknown build variable $(Build): give it with --set Build=VALUE");
  EXPECT_EQ(diagnosticText(findings[1]),
            "app.txt:10: error: \"$(\" without \")\" (write $$( for a plain \"$(\")");
  EXPECT_EQ(diagnosticText(findings[2]),
            "app.txt:13: error: unknown build variable $(Site): give it with --set Site=VALUE");
  BuildVariables given(doc, {{"Vendor", "Orl"}, {"Build", "7"}, {"Site", "x"}, {"Args", ")"}});
  LoadDiagnostics none = buildVariableFindings(text, given, "app.txt");
  ASSERT_EQ(none.size(), 1u);  // the unclosed "$(" stays a finding whatever is given
  EXPECT_EQ(none[0].line, 10);
  EXPECT_EQ(given.unusedGiven(), std::vector<std::string>{"Args"});
}

// A value given that no field uses, directly or through another value, is told apart.
TEST(BuildVariables, ValuesGivenButNeverUsedAreKnown) {
  CScriptDoc doc = toolDoc();
  BuildVariables variables(doc, {{"Full", "$(AppName) $(Build)"}, {"Build", "7"}, {"Vr", "2"},
                                 {"build", "8"}});
  std::vector<std::string> problems;
  EXPECT_EQ(variables.expand("$(Full)", problems), "Tool 8");
  EXPECT_TRUE(problems.empty());
  EXPECT_EQ(variables.unusedGiven(), std::vector<std::string>{"Vr"});
}

// The copy a package is built from has its fields filled in; the document keeps what the
// author wrote, and files and messages are taken as they are.
TEST(BuildVariables, TheBuiltCopyIsExpandedAndTheDocumentIsNot) {
  CScriptDoc doc = toolDoc();
  auto add = [&doc](Entry entry) {
    std::visit([&doc](auto& record) { record.key = doc.newKey(); }, entry);
    doc.appendEntry(std::move(entry));
  };
  add(DirectoryRecord{"$(AppName)", 0, 1, "$(AppName) files"});
  add(DescriptionRecord{"Copying $(AppName)"});
  add(GroupRecord{"$(AppName) $(Ver)"});
  add(IniRecord{"$(AppName)", "Version", "$(Ver)"});
  add(RegistryRecord{2, "Software\\$(AppName)", "Version", "$(Ver).$(Build)", 1});
  FileRecord file;
  file.sourceName = "$(AppName).exe";
  file.destName = "$(AppName).exe";
  add(file);
  ShortcutRecord shortcut;
  shortcut.name = "$(AppName)";
  shortcut.commandLine = "/v $(Ver)";
  add(shortcut);
  doc.endOfInstall.launch = {"notes.exe $(Ver)"};
  doc.web.favoriteNames = {"$(AppName) home"};
  doc.web.favoriteUrls = {"http://example.invalid/$(Ver)"};
  const std::string before = documentText(doc);

  CScriptDoc built = expandedForBuild(doc, {{"Build", "417"}});
  EXPECT_EQ(documentText(doc), before);
  EXPECT_EQ(built.directories.at(0).name, "Tool");
  EXPECT_EQ(built.directories.at(0).description, "Tool files");
  EXPECT_EQ(built.descriptions.at(0).text, "Copying Tool");
  EXPECT_EQ(built.groups.at(0).name, "Tool 1.2");
  EXPECT_EQ(built.iniEntries.at(0).section, "Tool");
  EXPECT_EQ(built.iniEntries.at(0).value, "1.2");
  EXPECT_EQ(built.registryEntries.at(0).subkey, "Software\\Tool");
  EXPECT_EQ(built.registryEntries.at(0).value, "1.2.417");
  EXPECT_EQ(built.files.at(0).sourceName, "$(AppName).exe");
  EXPECT_EQ(built.files.at(0).destName, "$(AppName).exe");
  EXPECT_EQ(built.shortcuts.at(0).name, "Tool");
  EXPECT_EQ(built.shortcuts.at(0).commandLine, "/v 1.2");
  EXPECT_EQ(built.endOfInstall.launch.at(0), "notes.exe 1.2");
  EXPECT_EQ(built.web.favoriteNames.at(0), "Tool home");
  EXPECT_EQ(built.web.favoriteUrls.at(0), "http://example.invalid/1.2");
  EXPECT_EQ(built.settings.title, "$(AppName) Setup") << "settings are not entry fields";
  EXPECT_EQ(built.registryEntries.at(0).key, doc.registryEntries.at(0).key);
}

}  // namespace
}  // namespace vandrel::builder
