// The document commands of corvix on the command line, over the document of the builder
// scenario "basic" (tests/e2e/builder/basic).
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace vandrel::builder {
namespace {

namespace fs = std::filesystem;

using test::windowsForm;

std::vector<std::string> split(const std::string& text, char sep) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  for (std::string part; std::getline(in, part, sep);) parts.push_back(part);
  return parts;
}

// The scenario's document with its source folder and file sizes filled in.
std::string scenarioDocument(const fs::path& scenario) {
  std::string text = test::withScenarioFiles(test::readFile(scenario / "document.txt"), scenario / "files");
  return text;
}

// The files of a package folder by their path below it.
std::map<std::string, std::string> packageFiles(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) {
      files[fs::relative(entry.path(), folder).string()] = test::readFile(entry.path());
    }
  }
  return files;
}

// check, summary, versions, script and check-files on the scenario's document.
TEST(CorvixCommands, ScriptCheckSummaryVersions) {
  test::TempDir dir;
  fs::path scenario = test::sourcePath() / "tests/e2e/builder/basic";
  std::string document = scenarioDocument(scenario);
  document.replace(document.find("[Messages]\n0=disk2.txt,2,"), 26, "[Messages]\n0=disk2.txt,3,");
  test::writeFile(dir / "tool.txt", document);
  std::map<std::string, std::string> env{{"VANDREL_UI", "scripted"},
                                         {"VANDREL_MACHINE", (dir / "machine").string()},
                                         {"VANDREL_ANSWERS", ""},
                                         {"VANDREL_TRANSCRIPT", ""}};
  auto corvix = [&](const std::vector<std::string>& args) {
    return test::runProgram("corvix", args, env, 120);
  };
  std::string doc = (dir / "tool.txt").string();

  // Never generated: nowhere to write the script.
  EXPECT_EQ(corvix({"script", doc}).exitStatus, 1);

  // The message now names disk 3, which holds no file: the check says so for disk 1 and 2,
  // and these findings make it fail unless --warn-only is given.
  test::RunResult checked = corvix({"check", doc, "--log", (dir / "log.txt").string()});
  EXPECT_EQ(checked.exitStatus, 1) << checked.err;
  EXPECT_NE(checked.err.find("the check has 3 finding(s)"), std::string::npos) << checked.err;
  EXPECT_NE(checked.out.find("Messages, disk 1: files are copied from this disk but it has no message\n"),
            std::string::npos) << checked.out;
  EXPECT_EQ(test::readFile(dir / "log.txt"), checked.out);
  test::RunResult warned = corvix({"check", doc, "--warn-only", "--log", (dir / "log.txt").string()});
  EXPECT_EQ(warned.exitStatus, 0) << warned.err;
  EXPECT_EQ(warned.out, checked.out);
  // A new document has two findings, which its settings put right: then the check passes.
  std::string fresh = (dir / "fresh.cvx").string();
  ASSERT_EQ(corvix({"new", fresh}).exitStatus, 0);
  EXPECT_EQ(corvix({"check", fresh, "--log", (dir / "fresh.log").string()}).exitStatus, 1);
  ASSERT_EQ(corvix({"set", fresh, "AppName=Tool", "ShowLicence=0"}).exitStatus, 0);
  test::RunResult clean = corvix({"check", fresh, "--log", (dir / "fresh.log").string()});
  EXPECT_EQ(clean.exitStatus, 0) << clean.err << clean.out;
  EXPECT_NE(clean.out.find("; 0 finding(s)\n"), std::string::npos) << clean.out;

  // Typed in UTF-8, kept in the code page, shown in UTF-8.
  test::RunResult summary = corvix(
      {"summary", doc, "--subject", "Tools", "--author", "Jos\xc3\xa9 \xe2\x82\xac", "--save"});
  ASSERT_EQ(summary.exitStatus, 0) << summary.err;
  EXPECT_NE(summary.out.find("\nAuthor: Jos\xc3\xa9 \xe2\x82\xac\n"), std::string::npos)
      << summary.out;
  EXPECT_NE(test::readFile(dir / "tool.txt").find("\nAuthor=Jos\xe9 \x80\n"), std::string::npos);
  EXPECT_EQ(summary.out.rfind("This installation will require at least a 486 computer running "
                              "Windows 95/98. ", 0), 0u);
  EXPECT_NE(summary.out.find("\nNumber of files copied: 4\n"), std::string::npos);
  EXPECT_NE(summary.out.find("\nDisk/Archive\tSize (in MB)\nDisk 1\t"), std::string::npos);
  EXPECT_NE(test::readFile(dir / "tool.txt").find("\nSubject=Tools\n"), std::string::npos);

  test::RunResult versions = corvix({"versions"});
  ASSERT_EQ(versions.exitStatus, 0);
  EXPECT_EQ(split(versions.out, '\n').size(), 9u);
  EXPECT_NE(versions.out.find("\nTam32E.ex_\t32 Bits Installer (US)\t"), std::string::npos);
  EXPECT_NE(versions.out.find("\nTam16E.ex_\t16 Bits Installer (US)\t[File Not Found]\t\n"),
            std::string::npos);

  std::string before = test::readFile(dir / "tool.txt");
  // A text-form document is the author's source: a run writes into it only with --save.
  for (bool noSave : {true, false}) {
    std::vector<std::string> args{"generate", doc, "--out", (dir / "unsaved").string()};
    if (noSave) args.push_back("--no-save");
    ASSERT_EQ(corvix(args).exitStatus, 0);
    EXPECT_EQ(test::readFile(dir / "tool.txt"), before) << "--no-save: " << noSave;
  }
  ASSERT_EQ(corvix({"generate", doc, "--out", (dir / "pkg").string(), "--save"}).exitStatus, 0);
  // What the document keeps of the run, written back in its text form: the first disk's
  // folder and the group the uninstaller's shortcut went into (the first group).
  std::string kept = test::readFile(dir / "tool.txt");
  EXPECT_EQ(kept.rfind("\n;---> Corvix v3.0 Script file\n", 0), 0u);
  EXPECT_NE(kept.find("\nLastGenPath=" + windowsForm(dir / "pkg") + "\\Disk1\\\n"),
            std::string::npos) << kept;
  EXPECT_NE(kept.find("\n[Peskin]\nUnGroup=0\nUnDesc=UnInstall Tool\n"), std::string::npos) << kept;
  // Settings overridden for one build reach its script and leave the document's own alone; a
  // refused override builds nothing.
  test::RunResult stamped = corvix({"generate", doc, "--out", (dir / "ci").string(), "--set",
                                    "Ver=2.5", "--set", "appname=Tool CI", "--save"});
  ASSERT_EQ(stamped.exitStatus, 0) << stamped.err;
  std::string script = test::readFile(dir / "ci/Disk1/Script.vrx");
  EXPECT_NE(script.find("\nAppName=Tool CI\r\nVer=2.5\r\n"), std::string::npos) << script;
  std::string afterCi = test::readFile(dir / "tool.txt");
  EXPECT_NE(afterCi.find("\nAppName=Tool\nVer=1.0\n"), std::string::npos) << afterCi;
  EXPECT_NE(afterCi.find("\nLastGenPath=" + windowsForm(dir / "ci") + "\\Disk1\\\n"),
            std::string::npos) << afterCi;
  test::RunResult badSet = corvix({"generate", doc, "--out", (dir / "bad").string(), "--set", "Type=x"});
  EXPECT_EQ(badSet.exitStatus, 2);
  EXPECT_NE(badSet.err.find("Type: \"x\" is not a whole number"), std::string::npos) << badSet.err;
  EXPECT_FALSE(fs::exists(dir / "bad"));
  ASSERT_EQ(corvix({"generate", doc, "--out", (dir / "pkg").string(), "--save"}).exitStatus, 0);
  fs::remove(dir / "pkg/Disk1/Script.vrx");
  EXPECT_EQ(corvix({"script", doc}).exitStatus, 0);
  EXPECT_TRUE(fs::exists(dir / "pkg/Disk1/Script.vrx"));

  test::RunResult files = corvix({"check-files", doc});
  ASSERT_EQ(files.exitStatus, 0) << files.err;
  EXPECT_EQ(files.out.rfind("Files scanned: 4\nFiles corrected: 0\nFiles missing: 0\n", 0), 0u);
}

// A text document with mistakes of every kind: check lists each with its line among its
// findings, generate, script and test refuse to build from it, set will not write it back;
// once only warnings are left, generation goes ahead and check still fails without
// --warn-only.
TEST(CorvixCommands, LoadingMistakesAreFindingsAndStopBuilding) {
  test::TempDir dir;
  fs::create_directories(dir / "files");
  test::writeFile(dir / "files/tool.exe", "tool");
  test::writeFile(dir / "files/a.dat", "abc");
  std::map<std::string, std::string> env{{"VANDREL_UI", "scripted"},
                                         {"VANDREL_MACHINE", (dir / "machine").string()},
                                         {"VANDREL_ANSWERS", ""},
                                         {"VANDREL_TRANSCRIPT", ""}};
  auto corvix = [&](const std::vector<std::string>& args) {
    return test::runProgram("corvix", args, env, 120);
  };
  std::string doc = (dir / "doc.txt").string();
  const std::string warnings =
      "[Settings]\n"                                  // 1
      "AppName=Tool\n"                                // 2
      "Ver=1.0\n"                                     // 3
      "ShowLicence=0\n"                               // 4
      "Titel=Tool setup\n"                            // 5: unknown key
      "Ver=1.1\n"                                     // 6: duplicate key, this one wins
      "[Groups]\n"                                    // 7
      "0=Tool\n"                                      // 8
      "[Files]\n"                                     // 9
      "0=tool.exe,tool.exe,1,1,0,0,4,-1,-1,0,0,files,0\n"  // 10
      "1=a.dat,a.dat,1,1,0,0,3,-1,-1,0,0,files,0\n"        // 11
      "[Shortcuts]\n"                                 // 12
      "0=Tool,/a,/b,0,0\n";                           // 13: a comma in the command line
  const std::string errors =
      "[Settings]\nAppName=Tool\nVer=1.0\n"
      "ShowLicence=no\n"                              // 4: not a number
      "Titel=Tool setup\nVer=1.1\n[Groups]\n0=Tool\n[Files]\n"
      "0=tool.exe,tool.exe\n"                         // 10: too few fields
      "1=a.dat,a.dat,1,1,0,0,3,-1,-1,0,0,files,0,0\n"  // 11: one field too many
      "[Shortcut]\n"                                  // 12: unknown section
      "0=Tool,,0,0\n";                                // 13: read as a file entry
  test::writeFile(doc, errors);
  const std::vector<std::string> named{
      doc + ":4: error: ShowLicence \"no\" is not a whole number; read as 0",
      doc + ":5: warning: unknown key \"Titel\" in [Settings] is ignored",
      doc + ":6: warning: duplicate key \"Ver\" in [Settings] (first on line 3): the value on "
            "this line replaces it",
      doc + ":10: error: [Files] entry has 2 field(s), 13 expected; the missing ones from disk on "
            "take their defaults",
      doc + ":11: warning: [Files] entry has 14 fields, 13 expected; the extra commas are read "
            "as part of its sourcePath \"files,0\"",
      doc + ":12: error: unknown section [Shortcut]; the lines below it are read as part of "
            "[Files] until the next known section",
      doc + ":13: warning: [Files] entry \"0\" is entry 2 of the section: references count "
            "entries in the order written, not by their keys",
      doc + ":13: error: [Files] entry has 4 field(s), 13 expected; the missing ones from "
            "force on take their defaults"};

  test::RunResult checked = corvix({"check", doc, "--log", (dir / "log.txt").string()});
  EXPECT_EQ(checked.exitStatus, 1);
  std::size_t at = 0;
  for (const std::string& line : named) {
    std::size_t found = checked.out.find(line + "\n", at);
    EXPECT_NE(found, std::string::npos) << "not in order: " << line << "\n" << checked.out;
    if (found != std::string::npos) at = found;
  }
  EXPECT_NE(checked.err.find("finding(s), 8 of them in loading the document\n"), std::string::npos)
      << checked.err;
  EXPECT_EQ(checked.err.find(":4: error:"), std::string::npos) << "listed once, among the findings";
  EXPECT_EQ(corvix({"check", doc, "--warn-only"}).exitStatus, 0);

  for (const std::vector<std::string>& build :
       {std::vector<std::string>{"generate", doc, "--out", (dir / "pkg").string()},
        std::vector<std::string>{"script", doc}, std::vector<std::string>{"test", doc}}) {
    test::RunResult refused = corvix(build);
    EXPECT_EQ(refused.exitStatus, 1) << build[0];
    for (const std::string& line : named) {
      EXPECT_NE(refused.err.find("corvix: " + line + "\n"), std::string::npos) << build[0] << ": "
                                                                              << refused.err;
    }
    EXPECT_NE(refused.err.find("corvix: nothing is built from " + doc +
                               ": loading it found 4 error(s), listed above\n"),
              std::string::npos) << refused.err;
  }
  EXPECT_FALSE(fs::exists(dir / "pkg"));
  test::RunResult set = corvix({"set", doc, "Ver=2.0"});
  EXPECT_EQ(set.exitStatus, 1);
  EXPECT_NE(set.err.find("is not written back"), std::string::npos) << set.err;
  EXPECT_EQ(test::readFile(doc), errors) << "the author's lines are kept";
  // Merged from, the same text changes nothing in the receiving document.
  std::string target = (dir / "target.cvx").string(), other = (dir / "other.cvx").string();
  ASSERT_EQ(corvix({"new", target}).exitStatus, 0);
  test::writeFile(other, errors);
  std::string untouched = test::readFile(target);
  test::RunResult merged = corvix({"merge", target, other});
  EXPECT_EQ(merged.exitStatus, 1);
  EXPECT_NE(merged.err.find("corvix: " + other + ":10: error: [Files] entry has 2 field(s)"),
            std::string::npos) << merged.err;
  EXPECT_NE(merged.err.find("nothing is merged from " + other), std::string::npos) << merged.err;
  EXPECT_EQ(test::readFile(target), untouched);
  test::RunResult dumped = corvix({"dump", doc});
  EXPECT_EQ(dumped.exitStatus, 0);
  EXPECT_NE(dumped.err.find("corvix: " + named[0] + "\n"), std::string::npos) << dumped.err;

  // Warnings alone: the package is built, as the loader read the document.
  test::writeFile(doc, warnings);
  test::RunResult generated = corvix({"generate", doc, "--out", (dir / "pkg").string()});
  ASSERT_EQ(generated.exitStatus, 0) << generated.err;
  EXPECT_NE(generated.err.find("corvix: " + named[1] + "\n"), std::string::npos) << generated.err;
  EXPECT_NE(generated.err.find("corvix: " + doc + ":13: warning: [Shortcuts] entry has 5 fields, 4 "
                               "expected; the extra commas are read as part of its arguments "
                               "\"/a,/b\"\n"),
            std::string::npos) << generated.err;
  std::string script = test::readFile(dir / "pkg/Script.vrx");
  EXPECT_NE(script.find("\r\nVer=1.1\r\n"), std::string::npos) << script;
  EXPECT_EQ(corvix({"check", doc, "--log", (dir / "log.txt").string()}).exitStatus, 1);
  EXPECT_EQ(corvix({"check", doc, "--warn-only"}).exitStatus, 0);
}

// A project whose document names its sources relative to its own folder: generated, checked
// and file-checked from another current folder, generated from its own folder with relative
// names, and generated again after the project folder moved, it finds its sources and gives
// the same package, byte for byte.
TEST(CorvixCommands, RelativeSourcesFollowTheDocument) {
  test::TempDir dir;
  fs::path examples = test::sourcePath() / "examples";
  fs::create_directories(dir / "project");
  fs::create_directories(dir / "elsewhere");
  fs::copy(examples / "tool.txt", dir / "project/tool.txt");
  fs::copy(examples / "files", dir / "project/files", fs::copy_options::recursive);
  std::map<std::string, std::string> env{{"VANDREL_UI", "scripted"},
                                         {"VANDREL_MACHINE", (dir / "machine").string()},
                                         {"VANDREL_ANSWERS", ""},
                                         {"VANDREL_TRANSCRIPT", ""}};
  auto corvixIn = [&](const fs::path& folder, std::vector<std::string> args) {
    args.insert(args.begin(), {"-c", "cd \"$1\" && shift && exec \"$@\"", "sh", folder.string(),
                               test::binPath("corvix").string()});
    return test::runProgram("/bin/sh", args, env, 120);
  };
  std::string doc = (dir / "project/tool.txt").string();
  std::string before = test::readFile(doc);

  test::RunResult first = corvixIn(dir / "elsewhere", {"generate", doc, "--out", (dir / "a").string()});
  ASSERT_EQ(first.exitStatus, 0) << first.err;
  EXPECT_EQ(test::readFile(doc), before) << "a text-form document is written back only with --save";
  test::RunResult checked = corvixIn(dir / "elsewhere", {"check", doc, "--warn-only"});
  EXPECT_EQ(checked.out.find("does not exist"), std::string::npos) << checked.out;
  test::RunResult files = corvixIn(dir / "elsewhere", {"check-files", doc});
  EXPECT_NE(files.out.find("\nFiles missing: 0\n"), std::string::npos) << files.out << files.err;

  // From the project folder itself, the document and the package folder named relatively.
  test::RunResult inside = corvixIn(dir / "project", {"generate", "tool.txt", "--out", "../c"});
  ASSERT_EQ(inside.exitStatus, 0) << inside.err;

  fs::create_directories(dir / "moved");
  fs::rename(dir / "project", dir / "moved/project");
  std::string movedDoc = (dir / "moved/project/tool.txt").string();
  test::RunResult second = corvixIn(dir / "moved", {"generate", movedDoc, "--out", (dir / "b").string()});
  ASSERT_EQ(second.exitStatus, 0) << second.err;

  std::map<std::string, std::string> a = packageFiles(dir / "a"), b = packageFiles(dir / "b");
  bool hasScript = false;
  for (const auto& [name, bytes] : a) hasScript |= fs::path(name).filename() == "Script.vrx";
  EXPECT_TRUE(hasScript);
  for (const auto& [name, bytes] : a) {
    fs::path source = dir / "moved/project/files" / fs::path(name).filename();
    if (fs::exists(source)) {
      EXPECT_EQ(bytes, test::readFile(source)) << name;
    }
  }
  for (const auto& other : {b, packageFiles(dir / "c")}) {
    ASSERT_EQ(a.size(), other.size());
    for (const auto& [name, bytes] : a) EXPECT_TRUE(other.count(name) && other.at(name) == bytes) << name;
  }
}

// A generation that fails half way leaves the package folder as it was, and says which file
// and why; a file whose size changed stops an unattended generation unless --refresh-sizes
// records the new size; check-files writes a text-form document back only with --save; test
// waits for the setup and passes on its exit status.
TEST(CorvixCommands, SafeGenerationChangedSizesAndTest) {
  test::TempDir dir;
  fs::path scenario = test::sourcePath() / "tests/e2e/builder/basic";
  fs::copy(scenario / "files", dir / "files", fs::copy_options::recursive);
  std::string document = scenarioDocument(scenario);
  std::string source = windowsForm(scenario / "files");
  for (std::size_t at; (at = document.find(source)) != std::string::npos;) {
    document.replace(at, source.size(), windowsForm(dir / "files"));
  }
  test::writeFile(dir / "tool.txt", document);
  test::writeFile(dir / "answers.ini", test::readFile(scenario / "answers.ini"));
  std::map<std::string, std::string> env{{"VANDREL_UI", "scripted"},
                                         {"VANDREL_MACHINE", (dir / "machine").string()},
                                         {"VANDREL_ANSWERS", (dir / "answers.ini").string()},
                                         {"VANDREL_TRANSCRIPT", ""}};
  auto corvix = [&](const std::vector<std::string>& args) {
    return test::runProgram("corvix", args, env, 120);
  };
  auto leftovers = [&] {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
      if (entry.path().filename().string().find(".partial") != std::string::npos)
        names.push_back(entry.path().string());
    return names;
  };
  std::string doc = (dir / "tool.txt").string();
  std::string pkg = (dir / "pkg").string();

  ASSERT_EQ(corvix({"generate", doc, "--out", pkg}).exitStatus, 0);
  test::writeFile(dir / "pkg/Disk1/notes.txt", "the author's own file");
  std::map<std::string, std::string> before = packageFiles(pkg);

  // more.dat, on disk 2, is gone: disk 1 was written aside and is given up.
  fs::rename(dir / "files/more.dat", dir / "more.dat");
  test::RunResult missing = corvix({"generate", doc, "--out", pkg});
  EXPECT_EQ(missing.exitStatus, 1);
  std::string more = windowsForm(dir / "files/more.dat");
  EXPECT_NE(missing.err.find("corvix: The last file wasn't copied completely or wasn't found. "),
            std::string::npos)
      << missing.err;
  EXPECT_NE(missing.err.find("(" + more + ": not found)"), std::string::npos) << missing.err;
  EXPECT_EQ(packageFiles(pkg), before);
  EXPECT_EQ(leftovers(), std::vector<std::string>{});
  EXPECT_NE(
      missing.out.find("exit status 1: the generation was cancelled; nothing was put in place\n"),
      std::string::npos)
      << missing.out;
  // A package folder that does not exist yet is not made either.
  EXPECT_EQ(corvix({"generate", doc, "--out", (dir / "fresh").string()}).exitStatus, 1);
  EXPECT_FALSE(fs::exists(dir / "fresh"));

  // more.dat comes back larger: stopped with both sizes, or the new size recorded.
  std::string grown = test::readFile(dir / "more.dat") + "more";
  fs::remove(dir / "more.dat");
  test::writeFile(dir / "files/more.dat", grown);
  std::string recorded = std::to_string(grown.size() - 4), actual = std::to_string(grown.size());
  test::RunResult changed = corvix({"generate", doc, "--out", pkg});
  EXPECT_EQ(changed.exitStatus, 1);
  EXPECT_NE(changed.err.find("corvix: " + more + ": size changed since it was added: recorded " +
                             recorded + " bytes, now " + actual + " bytes\n"),
            std::string::npos)
      << changed.err;
  EXPECT_NE(changed.err.find("--refresh-sizes"), std::string::npos);
  EXPECT_EQ(packageFiles(pkg), before);
  test::RunResult refreshed = corvix({"generate", doc, "--out", pkg, "--refresh-sizes"});
  ASSERT_EQ(refreshed.exitStatus, 0) << refreshed.err;
  EXPECT_EQ(test::readFile(dir / "pkg/Disk2/more.dat"), grown);
  EXPECT_EQ(test::readFile(dir / "pkg/Disk1/notes.txt"), "the author's own file");
  std::string script = test::readFile(dir / "pkg/Disk1/Script.vrx");
  std::size_t line = script.find("=more.dat,more.dat,");
  ASSERT_NE(line, std::string::npos) << script;
  EXPECT_NE(script.substr(line, script.find('\r', line) - line).find("," + actual + ","),
            std::string::npos)
      << script;
  EXPECT_EQ(test::readFile(doc), document)
      << "a text-form document is written back only with --save";

  // check-files corrects the size in a text-form document only with --save.
  test::RunResult checked = corvix({"check-files", doc});
  ASSERT_EQ(checked.exitStatus, 0) << checked.err;
  EXPECT_NE(checked.out.find("\nFiles corrected: 1\n"), std::string::npos) << checked.out;
  EXPECT_EQ(test::readFile(doc), document);
  test::RunResult summary = corvix({"summary", doc, "--subject", "Not kept"});
  ASSERT_EQ(summary.exitStatus, 0) << summary.err;
  EXPECT_EQ(test::readFile(doc), document);
  EXPECT_NE(summary.err.find("not written back (a text-form document is written back only with "
                             "--save)"),
            std::string::npos)
      << summary.err;
  ASSERT_EQ(corvix({"check-files", doc, "--save"}).exitStatus, 0);
  EXPECT_NE(test::readFile(doc).find(",more.dat,2,1,0,0," + actual + ","), std::string::npos);

  // Test install on another machine: the setup is waited for, and its exit status is corvix's.
  ASSERT_EQ(corvix({"generate", doc, "--out", pkg, "--save"}).exitStatus, 0);
  test::RunResult installed = corvix({"test", doc, "--machine", (dir / "other").string()});
  EXPECT_EQ(installed.exitStatus, 0) << installed.err;
  EXPECT_TRUE(fs::exists(dir / "other/drive_c/Apps/Tool/tool.exe"));
  test::writeFile(dir / "answers.ini", "[Wizard]\nCancel=first\n[Answers]\nDefault=Yes\n");
  test::RunResult cancelled = corvix({"test", doc, "--machine", (dir / "third").string()});
  EXPECT_GE(cancelled.exitStatus, 10) << "the setup's own status, " << cancelled.err;
}

// Every subcommand that fails says why on standard error: a document that is not there, a
// subcommand or argument that is not known, a test install whose package is missing.
TEST(CorvixCommands, FailuresSayWhyOnStandardError) {
  test::TempDir dir;
  fs::path scenario = test::sourcePath() / "tests/e2e/builder/basic";
  test::writeFile(dir / "tool.txt", scenarioDocument(scenario));
  std::map<std::string, std::string> env{{"VANDREL_UI", "scripted"},
                                         {"VANDREL_MACHINE", (dir / "machine").string()},
                                         {"VANDREL_ANSWERS", ""},
                                         {"VANDREL_TRANSCRIPT", ""}};
  auto corvix = [&](const std::vector<std::string>& args) {
    return test::runProgram("corvix", args, env, 120);
  };
  std::string missing = (dir / "nothere.txt").string();
  for (const char* command : {"check", "check-files", "summary", "script", "generate", "test", "dump"}) {
    SCOPED_TRACE(command);
    std::vector<std::string> args{command, missing};
    if (std::string(command) == "generate") args.insert(args.end(), {"--out", (dir / "out").string()});
    test::RunResult run = corvix(args);
    EXPECT_NE(run.exitStatus, 0);
    EXPECT_NE(run.err.find("nothere.txt"), std::string::npos) << "the document is named\n" << run.err;
  }
  test::RunResult unknown = corvix({"bogus"});
  EXPECT_EQ(unknown.exitStatus, 2);
  EXPECT_NE(unknown.err.find("bogus"), std::string::npos) << unknown.err;
  test::RunResult noArgument = corvix({"set", (dir / "tool.txt").string()});
  EXPECT_EQ(noArgument.exitStatus, 2);
  EXPECT_NE(noArgument.err.find("KEY=VALUE"), std::string::npos) << noArgument.err;

  // The package was generated once and has gone since: the unattended test install does not
  // start a setup, and says so, naming the folder it looked in.
  fs::path pkg = dir / "pkg";
  ASSERT_EQ(corvix({"generate", (dir / "tool.txt").string(), "--out", pkg.string(), "--save"}).exitStatus, 0);
  fs::remove_all(pkg);
  test::RunResult untested = corvix({"test", (dir / "tool.txt").string()});
  EXPECT_EQ(untested.exitStatus, 1);
  EXPECT_NE(untested.err.find("corvix: the setup of "), std::string::npos) << untested.err;
  EXPECT_NE(untested.err.find("was not started: no package was found in the folder it was last "
                              "generated to (" + windowsForm(pkg)),
            std::string::npos)
      << untested.err;
  EXPECT_NE(untested.err.find("To do: generate its package first"), std::string::npos) << untested.err;
}

}  // namespace
}  // namespace vandrel::builder
