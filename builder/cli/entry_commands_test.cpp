// Tests of the entry commands: list, remove and the add-KIND commands, their refusals naming
// the option with the document left byte-identical, and references kept on removal.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace vandrel::builder {
namespace {

using test::readFile;
using test::writeFile;

struct EntryCommands : ::testing::Test {
  test::TempDir dir;
  std::string doc = (dir / "d.cvx").string();

  void SetUp() override {
    std::filesystem::create_directories(dir / "src");
    writeFile(dir / "src" / "app.exe", "MZ-app");
    writeFile(dir / "src" / "read.txt", "read me");
    ASSERT_EQ(run({"new", doc}).exitStatus, 0);
  }
  test::RunResult run(const std::vector<std::string>& args) {
    return test::runProgram("corvix", args,
                            {{"VANDREL_UI", "scripted"},
                             {"VANDREL_MACHINE", (dir / "machine").string()},
                             {"VANDREL_ANSWERS", ""},
                             {"VANDREL_TRANSCRIPT", ""}},
                            60);
  }
  std::string section(const std::string& name) {
    std::string text = run({"dump", doc}).out;
    std::size_t start = text.find("[" + name + "]\n");
    if (start == std::string::npos) return "";
    std::size_t end = text.find("\n\n", start);
    return text.substr(start, end - start);
  }
  // A refused command: usage status, the option named, the document file unchanged.
  void expectRefused(const std::vector<std::string>& args, const std::string& named) {
    std::string before = readFile(doc);
    test::RunResult result = run(args);
    EXPECT_EQ(result.exitStatus, 2) << args[0] << ": " << result.out << result.err;
    EXPECT_NE(result.err.find(named), std::string::npos) << result.err;
    EXPECT_TRUE(readFile(doc) == before) << args[0] << " changed the document";
  }
};

TEST_F(EntryCommands, RegistryValueAddedAndBadRootRefused) {
  test::RunResult made = run({"add-registry", doc, "--root", "hkey_local_machine", "--key",
                              "Software\\Ann\\Tool", "--entry", "Version", "--value", "1.2"});
  ASSERT_EQ(made.exitStatus, 0) << made.err;
  EXPECT_EQ(made.out.rfind("made registry 1: ", 0), 0u) << made.out;
  EXPECT_EQ(section("Registry"), "[Registry]\n0=2,Software\\Ann\\Tool,Version,1.2,1");
  ASSERT_EQ(run({"add-registry", doc, "--root", "1", "--key", "Software\\Ann", "--value", "x",
                 "--erase-whole-key"}).exitStatus, 0);
  EXPECT_EQ(section("Registry"),
            "[Registry]\n0=2,Software\\Ann\\Tool,Version,1.2,1\n1=1,Software\\Ann,,x,0");

  expectRefused({"add-registry", doc, "--root", "7", "--key", "K", "--value", "v"}, "--root");
  expectRefused({"add-registry", doc, "--root", "HKEY_NOWHERE", "--key", "K", "--value", "v"},
                "--root");
  expectRefused({"add-registry", doc, "--root", "0", "--key", "  ", "--value", "v"}, "--key");
  expectRefused({"add-registry", doc, "--root", "0", "--key", "K", "--value", ""}, "--value");
}

TEST_F(EntryCommands, WinIniEntryAddedAndBlankSectionRefused) {
  test::RunResult made =
      run({"add-winini", doc, "--section", "Tool", "--entry", "Path", "--value", "[Install]"});
  ASSERT_EQ(made.exitStatus, 0) << made.err;
  EXPECT_EQ(section("AddINI"), "[AddINI]\n0=Tool,Path,[Install]");
  expectRefused({"add-winini", doc, "--section", " ", "--entry", "Path"}, "--section");
  expectRefused({"add-winini", doc, "--section", "Tool", "--entry", ""}, "--entry");
}

TEST_F(EntryCommands, ShortcutsReferToListedEntriesAndRemovalKeepsReferences) {
  ASSERT_EQ(run({"add", doc, (dir / "src" / "app.exe").string(),
                 (dir / "src" / "read.txt").string()}).exitStatus, 0);
  test::RunResult group = run({"add-group", doc, "--name", "Ann Tool"});
  ASSERT_EQ(group.exitStatus, 0) << group.err;
  EXPECT_EQ(group.out, "made group 1: Create group Ann Tool\n");
  ASSERT_EQ(run({"add-group", doc, "--name", "[startup]"}).exitStatus, 0);

  test::RunResult link = run({"add-shortcut", doc, "--file", "app.exe", "--group", "Ann Tool",
                              "--name", "Tool", "--arguments", "/quiet"});
  ASSERT_EQ(link.exitStatus, 0) << link.err;
  ASSERT_EQ(run({"add-shortcut", doc, "--file", "2", "--group", "2", "--name", "Read me"})
                .exitStatus, 0);
  std::string shortcuts = section("Shortcuts");
  EXPECT_EQ(shortcuts, "[Shortcuts]\n0=Tool,/quiet,0,0\n1=Read me,,1,1") << shortcuts;

  expectRefused({"add-shortcut", doc, "--file", "3", "--group", "1", "--name", "X"}, "--file");
  expectRefused({"add-shortcut", doc, "--file", "1", "--group", "5", "--name", "X"}, "--group");
  expectRefused({"add-shortcut", doc, "--file", "1", "--group", "Nowhere", "--name", "X"},
                "--group");
  expectRefused({"add-group", doc, "--name", "   "}, "--name");

  test::RunResult listed = run({"list", doc, "groups"});
  ASSERT_EQ(listed.exitStatus, 0) << listed.err;
  EXPECT_EQ(listed.out, "1: Create group Ann Tool\n2: Create group [startup]\n");
  expectRefused({"remove", doc, "groups", "3"}, "beyond");
  expectRefused({"list", doc, "gadgets"}, "unknown entry kind");

  // The first group goes: its shortcut loses it, the other keeps [startup], renumbered.
  test::RunResult removed = run({"remove", doc, "group", "1"});
  ASSERT_EQ(removed.exitStatus, 0) << removed.err;
  EXPECT_EQ(removed.out, "removed group Create group Ann Tool\n");
  EXPECT_EQ(run({"list", doc, "groups"}).out, "1: Create group [startup]\n");
  EXPECT_EQ(section("Shortcuts"), "[Shortcuts]\n0=Tool,/quiet,0,-1\n1=Read me,,1,0");
}

TEST_F(EntryCommands, AddMarksFilesSharedExpandedAndOptional) {
  test::RunResult added = run({"add", doc, (dir / "src" / "app.exe").string(),
                               (dir / "src" / "read.txt").string(), "--into", "Extras",
                               "--shared", "--expand", "--optional"});
  ASSERT_EQ(added.exitStatus, 0) << added.err;
  EXPECT_EQ(section("Directories"), "[Directories]\n0=Extras,0,1,Unavailable");
  // expand 1, in directory 0, shared 1.
  EXPECT_EQ(section("Files"),
            "[Files]\n0=app.exe,app.exe,1,1,0,1,6,0,-1,0,0,src,1\n"
            "1=read.txt,read.txt,1,1,0,1,7,0,-1,0,0,src,1");

  expectRefused({"add", doc, (dir / "src" / "read.txt").string(), "--expand", "--no-expand"},
                "--no-expand");
  // Into the installation folder itself: nothing the user could leave out.
  std::filesystem::create_directories(dir / "other");
  writeFile(dir / "other" / "more.txt", "more");
  expectRefused({"add", doc, (dir / "other" / "more.txt").string(), "--optional"}, "--optional");
}

TEST_F(EntryCommands, OptionalDirectoryDescriptionAndMessage) {
  test::RunResult made = run({"add-directory", doc, "--name", "Samples", "--optional",
                              "--description", "Sample files"});
  ASSERT_EQ(made.exitStatus, 0) << made.err;
  ASSERT_EQ(run({"add-directory", doc, "--name", "Fonts", "--parent", "3"}).exitStatus, 0);
  EXPECT_EQ(section("Directories"), "[Directories]\n0=Samples,0,1,Sample files\n1=Fonts,3,0,Fonts");
  expectRefused({"add-directory", doc, "--name", "X", "--parent", "4"}, "--parent");
  expectRefused({"add-directory", doc, "--name", " "}, "--name");

  ASSERT_EQ(run({"add-description", doc, "--text", "Copying the tool"}).exitStatus, 0);
  EXPECT_EQ(section("Descriptions"), "[Descriptions]\n0=Copying the tool");
  expectRefused({"add-description", doc, "--text", ""}, "--text");

  writeFile(dir / "disk2.txt", "Insert disk 2");
  test::RunResult message =
      run({"add-message", doc, "--file", (dir / "disk2.txt").string(), "--disk", "2"});
  ASSERT_EQ(message.exitStatus, 0) << message.err;
  std::string messages = section("Messages");
  EXPECT_EQ(messages.rfind("[Messages]\n0=disk2.txt,2,", 0), 0u) << messages;
  expectRefused({"add-message", doc, "--file", (dir / "nowhere.txt").string()}, "--file");

  // A directory removed: nothing else refers to it here, the other keeps its place.
  ASSERT_EQ(run({"remove", doc, "directories", "Samples"}).exitStatus, 0);
  EXPECT_EQ(section("Directories"), "[Directories]\n0=Fonts,3,0,Fonts");
}

TEST_F(EntryCommands, LaunchCommandsAndFavorites) {
  test::RunResult launch = run({"add-launch", doc, "[0]\\app.exe /setup"});
  ASSERT_EQ(launch.exitStatus, 0) << launch.err;
  EXPECT_EQ(launch.out, "made launch 1: [0]\\app.exe /setup\n");
  ASSERT_EQ(run({"add-launch", doc, "notepad.exe"}).exitStatus, 0);
  expectRefused({"add-launch", doc, "  "}, "COMMAND");
  EXPECT_EQ(run({"list", doc, "launch"}).out,
            "1: [0]\\app.exe /setup\n2: notepad.exe\n");

  test::RunResult favorite =
      run({"add-favorite", doc, "--name", "Ann's page", "--url", "http://ann.example/"});
  ASSERT_EQ(favorite.exitStatus, 0) << favorite.err;
  EXPECT_EQ(favorite.out, "made favorite 1: Ann's page,http://ann.example/\n");
  expectRefused({"add-favorite", doc, "--name", "Ann", "--url", ""}, "--url");
  expectRefused({"add-favorite", doc, "--name", "a,b", "--url", "http://x/"}, "--name");
  std::string web = section("Web");
  EXPECT_NE(web.find("=Ann's page,http://ann.example/"), std::string::npos) << web;

  expectRefused({"remove", doc, "launch", "3"}, "beyond");
  ASSERT_EQ(run({"remove", doc, "launch", "1"}).exitStatus, 0);
  EXPECT_EQ(run({"list", doc, "launch"}).out, "1: notepad.exe\n");
  ASSERT_EQ(run({"remove", doc, "favorites", "1"}).exitStatus, 0);
  EXPECT_EQ(run({"list", doc, "favorites"}).out, "");
}

TEST_F(EntryCommands, SetReachesTheUninstallerEndAndWebSettings) {
  ASSERT_EQ(run({"add-group", doc, "--name", "One"}).exitStatus, 0);
  ASSERT_EQ(run({"add-group", doc, "--name", "Two"}).exitStatus, 0);
  test::RunResult set = run({"set", doc, "UnDesc=Remove the tool", "ungroup=1", "Reboot=2",
                             "StartURL=http://ann.example/"});
  ASSERT_EQ(set.exitStatus, 0) << set.err;
  EXPECT_EQ(run({"get", doc, "undesc"}).out, "Remove the tool\n");
  EXPECT_EQ(run({"get", doc, "UnGroup"}).out, "1\n");
  EXPECT_EQ(run({"get", doc, "Reboot"}).out, "2\n");
  EXPECT_EQ(run({"get", doc, "StartURL"}).out, "http://ann.example/\n");
  EXPECT_NE(section("Peskin").find("UnGroup=1\nUnDesc=Remove the tool"), std::string::npos)
      << section("Peskin");

  expectRefused({"set", doc, "UnGroup=2"}, "UnGroup");
  expectRefused({"set", doc, "Reboot=3"}, "Reboot");
  expectRefused({"set", doc, "UnDesc=ok", "Reboot=x"}, "Reboot");
  // The group the uninstaller's shortcut goes in is removed: back to the first group.
  ASSERT_EQ(run({"remove", doc, "groups", "2"}).exitStatus, 0);
  EXPECT_EQ(run({"get", doc, "UnGroup"}).out, "-1\n");
}

// Each entry command refuses what points nowhere or lies out of range, naming the option or
// argument, and leaves the document file as it was.
TEST_F(EntryCommands, RefusalsNameTheFieldAndChangeNothing) {
  ASSERT_EQ(run({"add", doc, (dir / "src" / "app.exe").string()}).exitStatus, 0);
  ASSERT_EQ(run({"add-group", doc, "--name", "Tool"}).exitStatus, 0);
  writeFile(dir / "disk.txt", "Insert the disk");
  expectRefused({"remove", doc, "directories", "Nowhere"}, "N: no Directory entry is called");
  expectRefused({"remove", doc, "registry", "1"}, "N: 1 is beyond the list");
  expectRefused({"remove", doc, "favorites", "1"}, "N: 1 is beyond the list");
  expectRefused({"add-shortcut", doc, "--file", "nowhere.exe", "--group", "1", "--name", "X"},
                "--file: no File to Copy entry is called");
  expectRefused({"add-shortcut", doc, "--file", "1", "--group", "0", "--name", "X"}, "--group");
  expectRefused({"add-directory", doc, "--name", "X", "--parent", "-1"}, "--parent");
  expectRefused({"add-message", doc, "--file", (dir / "disk.txt").string(), "--disk", "10000"},
                "--disk");
  expectRefused({"add-registry", doc, "--root", "4", "--key", "K", "--value", "v"}, "--root");
  expectRefused({"add-favorite", doc, "--name", " ", "--url", "http://x/"}, "--name");
  expectRefused({"add-winini", doc, "--section", "S", "--entry", " ", "--value", "v"}, "--entry");
}

// The example of docs/authoring.md runs as written, in a folder holding its files, and its
// package holds the version written once and the build number given.
TEST_F(EntryCommands, TheAuthoringExampleRuns) {
  std::string page = readFile(test::sourcePath() / "docs/authoring.md");
  std::size_t at = page.find("For example, a shared program with its shortcut");
  ASSERT_NE(at, std::string::npos);
  std::size_t start = page.find("```\n", at) + 4;
  std::size_t end = page.find("```", start);
  std::filesystem::create_directories(dir / "bin");
  std::filesystem::create_directories(dir / "samples");
  writeFile(dir / "bin" / "tool.exe", "MZ-tool");
  writeFile(dir / "samples" / "first.note", "note");
  writeFile(dir / "disk1.txt", "Insert disk 1");
  const std::set<std::string> local{"app.cvx", "disk1.txt", "pkg"};
  std::istringstream lines(page.substr(start, end - start));
  std::set<std::string> commands;
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::vector<std::string> args;
    for (std::string word; words >> word;) {
      // Quoted as a shell needs it; the example's relative paths taken in the test's folder.
      if (word.size() > 1 && word.front() == '\'' && word.back() == '\'')
        word = word.substr(1, word.size() - 2);
      if (local.count(word) || word.rfind("bin/", 0) == 0 || word.rfind("samples/", 0) == 0)
        word = (dir / word).string();
      args.push_back(word);
    }
    ASSERT_EQ(args.at(0), "corvix");
    args.erase(args.begin());
    test::RunResult result = run(args);
    ASSERT_EQ(result.exitStatus, 0) << line << "\n" << result.err;
    EXPECT_EQ(result.err, "") << line;
    commands.insert(args.at(0));
  }
  // Every entry command, list and remove, and the strict build with a build variable.
  EXPECT_EQ(commands, (std::set<std::string>{"new", "set", "add", "add-directory",
                                             "add-description", "add-group",
                                             "add-shortcut", "add-registry", "add-winini",
                                             "add-message", "add-launch", "add-favorite", "list",
                                             "remove", "generate"}));
  doc = (dir / "app.cvx").string();
  EXPECT_EQ(section("Shortcuts"), "[Shortcuts]\n0=Tool,,0,0");
  EXPECT_EQ(section("Registry"), "[Registry]\n0=2,Software\\Tool,Version,$(Ver),1\n"
                                 "1=2,Software\\Tool,Build,$(Ver).$(Build),1");
  EXPECT_EQ(section("End"), "[End]\nReboot=0");
  std::string script = readFile(dir / "pkg" / "Script.vrx");
  EXPECT_NE(script.find("=2,Software\\Tool,Version,1.2,1\r\n"), std::string::npos) << script;
  EXPECT_NE(script.find("=2,Software\\Tool,Build,1.2.417,1\r\n"), std::string::npos) << script;
  EXPECT_NE(script.find("\r\n0=Tool,Home,[1]\r\n"), std::string::npos) << script;
}

}  // namespace
}  // namespace vandrel::builder
