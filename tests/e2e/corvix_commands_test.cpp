// The document commands of corvix on the command line, over the document of the builder
// scenario "basic" (tests/e2e/builder/basic).
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <sstream>

#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace vandrel::builder {
namespace {

namespace fs = std::filesystem;

std::string windowsForm(const fs::path& host) {
  std::string path = "Z:" + host.string();
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::vector<std::string> split(const std::string& text, char sep) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  for (std::string part; std::getline(in, part, sep);) parts.push_back(part);
  return parts;
}

// The scenario's document with its source folder and file sizes filled in.
std::string scenarioDocument(const fs::path& scenario) {
  std::string text = test::readFile(scenario / "document.txt");
  std::string source = windowsForm(scenario / "files");
  for (std::size_t at; (at = text.find("@SRC@")) != std::string::npos;) text.replace(at, 5, source);
  std::regex size("@SIZE:([^@]+)@");
  std::smatch m;
  while (std::regex_search(text, m, size)) {
    std::string bytes = std::to_string(fs::file_size(scenario / "files" / m[1].str()));
    text.replace(std::size_t(m.position(0)), std::size_t(m.length(0)), bytes);
  }
  return text;
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
  test::RunResult summary =
      corvix({"summary", doc, "--subject", "Tools", "--author", "Jos\xc3\xa9 \xe2\x82\xac"});
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

// A project whose document names its sources relative to its own folder: generated, checked
// and file-checked from another current folder, and generated again after the project folder
// moved, it finds its sources and gives the same package, byte for byte.
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
    if (fs::exists(source)) EXPECT_EQ(bytes, test::readFile(source)) << name;
  }
  ASSERT_EQ(a.size(), b.size());
  for (const auto& [name, bytes] : a) EXPECT_TRUE(b.count(name) && b[name] == bytes) << name;
}

}  // namespace
}  // namespace vandrel::builder
