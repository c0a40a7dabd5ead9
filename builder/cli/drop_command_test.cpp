// Tests of `corvix add`: the folder rules without preferences, with their report and a second
// run that adds nothing; with --preferences the drop import with the stored preferences and
// scripted answers; the document saved afterwards.
#include <gtest/gtest.h>

#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace vandrel::builder {
namespace {

using test::readFile;
using test::writeFile;

struct AddCommand : ::testing::Test {
  test::TempDir dir;
  std::string doc = (dir / "d.cvx").string();

  void SetUp() override {
    std::filesystem::create_directories(dir / "src" / "Pkg" / "Sub");
    std::filesystem::create_directories(dir / "config");
    writeFile(dir / "src" / "Pkg" / "a.txt", "aaaa");
    writeFile(dir / "src" / "Pkg" / "b.txt", "bb");
    writeFile(dir / "src" / "Pkg" / "Sub" / "c.txt", "c");
    ASSERT_EQ(run({"new", doc}).exitStatus, 0);
  }
  void preferences(const std::string& text) {
    std::filesystem::create_directories(dir / "config" / "Orlwen");
    writeFile(dir / "config" / "Orlwen" / "Corvix v3.0.conf", text);
  }
  test::RunResult run(const std::vector<std::string>& args, const std::string& answers = "") {
    writeFile(dir / "answers.ini", answers);
    return test::runProgram("corvix", args,
                            {{"VANDREL_UI", "scripted"},
                             {"VANDREL_MACHINE", (dir / "machine").string()},
                             {"VANDREL_ANSWERS", (dir / "answers.ini").string()},
                             {"VANDREL_TRANSCRIPT", (dir / "transcript.jsonl").string()},
                             {"XDG_CONFIG_HOME", (dir / "config").string()}},
                            60);
  }
  std::string section(const std::string& name) {
    std::string text = run({"dump", doc}).out;
    std::size_t start = text.find("[" + name + "]\n");
    if (start == std::string::npos) return "";
    std::size_t end = text.find("\n\n", start);
    return text.substr(start, end - start);
  }
  int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  }
};

// Without --preferences: no dialog, a report of what was done, and nothing twice.
TEST_F(AddCommand, FolderRulesReportAndAddNothingTwice) {
  std::filesystem::create_directories(dir / "src" / "Pkg" / "Sub" / "Deep");
  writeFile(dir / "src" / "Pkg" / "Sub" / "Deep" / "d.txt", "dd");
  std::vector<std::string> args{"add",
                                doc,
                                (dir / "src" / "Pkg").string(),
                                "--recursive",
                                "--into",
                                "Windows Dir",
                                "--component",
                                "Samples",
                                "--disk",
                                "2"};
  test::RunResult added = run(args);
  ASSERT_EQ(added.exitStatus, 0) << added.err;
  EXPECT_EQ(section("Directories"),
            "[Directories]\n0=Pkg,3,0,Unavailable\n1=Pkg\\Sub,3,0,Unavailable\n"
            "2=Pkg\\Sub\\Deep,3,0,Unavailable");
  EXPECT_EQ(section("Descriptions"), "[Descriptions]\n0=Samples");
  std::string files = section("Files");
  EXPECT_NE(files.find("\n0=a.txt,a.txt,2,1,0,0,4,0,0,0,0,src\\Pkg,"), std::string::npos) << files;
  EXPECT_NE(files.find("\n3=d.txt,d.txt,2,1,0,0,2,2,0,0,0,src\\Pkg\\Sub\\Deep,"), std::string::npos)
      << files;
  EXPECT_NE(added.out.find("made directory Pkg\\Sub\n"), std::string::npos) << added.out;
  EXPECT_NE(added.out.find("made component Samples\n"), std::string::npos) << added.out;
  EXPECT_NE(added.out.find("\\src\\Pkg\\b.txt -> Pkg\n"), std::string::npos) << added.out;
  EXPECT_NE(added.out.find("\n4 file(s) added, 3 directorie(s) made, 0 skipped\n"),
            std::string::npos)
      << added.out;
  EXPECT_FALSE(std::filesystem::exists(dir / "transcript.jsonl")) << "no dialog at all";

  std::string before = readFile(doc);
  test::RunResult again = run(args);
  ASSERT_EQ(again.exitStatus, 0) << again.err;
  EXPECT_EQ(readFile(doc), before) << "nothing added, nothing saved";
  EXPECT_NE(again.out.find("\\src\\Pkg\\a.txt: already in the document\n"), std::string::npos)
      << again.out;
  EXPECT_NE(again.out.find("\n0 file(s) added, 0 directorie(s) made, 4 skipped\n"),
            std::string::npos)
      << again.out;

  // Not recursive: the sub-folder is named with the reason.
  test::RunResult flat = run({"add", doc, (dir / "src" / "Pkg").string(), "--no-save"});
  EXPECT_NE(flat.out.find("\\src\\Pkg\\Sub: a sub-folder (--recursive adds it)\n"),
            std::string::npos)
      << flat.out;
  EXPECT_EQ(run({"add", doc, (dir / "src").string(), "--disk", "0"}).exitStatus, 2);
  EXPECT_EQ(run({"add", "--preferences", doc, (dir / "src").string(), "--recursive"}).exitStatus,
            2);
}

// Links to folders are walked as folders, except a link back to a folder that holds it:
// that one would be walked for ever, and is named and left out.
TEST_F(AddCommand, RecursiveAddWalksNoLinkLoop) {
  std::filesystem::path pkg = dir / "src" / "Pkg";
  std::filesystem::create_directories(dir / "src" / "Ext");
  writeFile(dir / "src" / "Ext" / "e.txt", "e");
  std::filesystem::create_directory_symlink(pkg, pkg / "loop");
  std::filesystem::create_directory_symlink(pkg, pkg / "Sub" / "up");
  std::filesystem::create_directory_symlink(pkg / "Sub", pkg / "Sub" / "here");
  std::filesystem::create_directory_symlink(dir / "src" / "Ext", pkg / "ext");
  test::RunResult added = run({"add", doc, pkg.string(), "--recursive"});
  ASSERT_EQ(added.exitStatus, 0) << added.err;
  std::string files = section("Files");
  EXPECT_EQ(count(files, ",a.txt,"), 1) << files;
  EXPECT_EQ(count(files, ",c.txt,"), 1) << files;
  EXPECT_EQ(count(files, ",e.txt,"), 1) << "a link that is no loop is walked\n" << files;
  for (const char* link : {"\\Pkg\\loop: a link back to ", "\\Pkg\\Sub\\up: a link back to ",
                           "\\Pkg\\Sub\\here: a link back to "}) {
    EXPECT_NE(added.out.find(link), std::string::npos) << link << "\n" << added.out;
  }
  EXPECT_NE(added.out.find("\\src\\Pkg, which holds it: a loop, not walked\n"), std::string::npos)
      << added.out;
  EXPECT_NE(added.out.find("\\src\\Pkg\\Sub, which holds it: a loop, not walked\n"),
            std::string::npos)
      << added.out;
  EXPECT_NE(added.out.find("\n4 file(s) added, 3 directorie(s) made, 3 skipped\n"), std::string::npos)
      << added.out;
}

TEST_F(AddCommand, DefaultsAskADirectoryForEachFile) {
  std::string src = (dir / "src" / "Pkg").string();
  test::RunResult added =
      run({"add", "--preferences", doc, src}, "[Choices]\n1=#1\n2=Windows Dir\n");
  ASSERT_EQ(added.exitStatus, 0) << added.err;
  EXPECT_EQ(section("Directories"), "[Directories]\n0=Pkg,0,0,Unavailable");
  std::string files = section("Files");
  // Below the document's folder: recorded relative to it.
  EXPECT_NE(files.find("\n0=a.txt,a.txt,1,1,0,0,4,0,-1,0,0,src\\Pkg,"), std::string::npos) << files;
  EXPECT_NE(files.find("\n1=b.txt,b.txt,1,1,0,0,2,-1,-1,3,0,src\\Pkg,"), std::string::npos) << files;
  EXPECT_EQ(files.find("c.txt"), std::string::npos) << "the sub-folder is ignored";
  std::string transcript = readFile(dir / "transcript.jsonl");
  EXPECT_EQ(count(transcript, "\"kind\":\"choice\""), 2);
  EXPECT_EQ(count(transcript, "\"kind\":\"page\""), 2);
  EXPECT_EQ(transcript.find("were added"), std::string::npos)
      << "a first run reads the summary preference as off";
}

TEST_F(AddCommand, StoredPreferencesSteerTheImport) {
  preferences("[FileDrop]\nDirMode=1\nDropDirSub=1\nDispProps=0\nDispSummary=1\n");
  test::RunResult added = run({"add", "--preferences", doc, (dir / "src" / "Pkg").string()});
  ASSERT_EQ(added.exitStatus, 0) << added.err;
  EXPECT_EQ(section("Directories"), "[Directories]\n0=Pkg,0,0,Unavailable\n1=Pkg\\Sub,0,0,Unavailable");
  std::string files = section("Files");
  EXPECT_NE(files.find("\n2=c.txt,c.txt,1,1,0,0,1,1,-1,0,0,"), std::string::npos) << files;
  std::string transcript = readFile(dir / "transcript.jsonl");
  EXPECT_EQ(count(transcript, "\"kind\":\"choice\""), 0);
  EXPECT_EQ(count(transcript, "\"kind\":\"page\""), 0);
  EXPECT_NE(transcript.find("3 file(s) and 2 directorie(s) were added"), std::string::npos) << transcript;
}

// The drop import walks sub-folders too when the preferences say so, and no link loop.
TEST_F(AddCommand, TheDropImportWalksNoLinkLoop) {
  preferences("[FileDrop]\nDirMode=1\nDropDirSub=1\nDispProps=0\nDispSummary=0\n");
  std::filesystem::path pkg = dir / "src" / "Pkg";
  std::filesystem::create_directory_symlink(pkg, pkg / "loop");
  std::filesystem::create_directory_symlink(pkg, pkg / "Sub" / "up");
  test::RunResult added = run({"add", "--preferences", doc, pkg.string()});
  ASSERT_EQ(added.exitStatus, 0) << added.err;
  std::string files = section("Files");
  EXPECT_EQ(count(files, ",a.txt,"), 1) << files;
  EXPECT_EQ(count(files, ",c.txt,"), 1) << files;
}

TEST_F(AddCommand, NothingAddedLeavesTheDocumentAlone) {
  preferences("[FileDrop]\nDropDirAdd=0\nDropDirInc=0\n");
  std::string before = readFile(doc);
  test::RunResult added = run({"add", "--preferences", doc, (dir / "src" / "Pkg").string()});
  EXPECT_EQ(added.exitStatus, 0) << added.err;
  EXPECT_NE(readFile(dir / "transcript.jsonl").find("nothing was added to the script"), std::string::npos);
  EXPECT_EQ(readFile(doc), before);
}

TEST_F(AddCommand, CancelKeepsWhatWasAddedAndFails) {
  preferences("[FileDrop]\nDispProps=0\n");
  test::RunResult added =
      run({"add", "--preferences", doc, (dir / "src" / "Pkg" / "a.txt").string(),
           (dir / "src" / "Pkg" / "b.txt").string()},
          "[Choices]\n1=\n");
  EXPECT_EQ(added.exitStatus, 1);
  std::string files = section("Files");
  EXPECT_NE(files.find("a.txt"), std::string::npos);
  EXPECT_EQ(files.find("b.txt"), std::string::npos);
}

TEST_F(AddCommand, BadArguments) {
  std::string before = readFile(doc);
  EXPECT_EQ(run({"add", "--preferences", doc}).exitStatus, 2);
  test::RunResult missing =
      run({"add", "--preferences", doc, (dir / "src" / "Pkg" / "a.txt").string(),
           (dir / "src" / "none.txt").string()});
  EXPECT_EQ(missing.exitStatus, 1);
  EXPECT_NE(missing.err.find("none.txt"), std::string::npos);
  EXPECT_EQ(readFile(doc), before) << "nothing is added when one path is wrong";
  EXPECT_EQ(run({"add", "--preferences", (dir / "missing.cvx").string(), (dir / "src").string()})
                .exitStatus,
            1);
  EXPECT_FALSE(std::filesystem::exists(dir / "missing.cvx"));

  test::RunResult kept =
      run({"add", "--preferences", "--no-save", doc, (dir / "src" / "Pkg" / "a.txt").string()},
          "[Choices]\n1=#2\n");
  EXPECT_EQ(kept.exitStatus, 0) << kept.err;
  EXPECT_EQ(readFile(doc), before);
}

// A file outside the document's folder keeps its full path; one beside it is named by ".".
TEST_F(AddCommand, OnlyFilesBelowTheDocumentAreRecordedRelatively) {
  std::filesystem::create_directories(dir / "src" / "inner");
  std::string inner = (dir / "src" / "inner" / "i.cvx").string();
  ASSERT_EQ(run({"new", inner}).exitStatus, 0);
  writeFile(dir / "src" / "inner" / "here.txt", "h");
  test::RunResult added =
      run({"add", "--preferences", inner, (dir / "src" / "Pkg" / "a.txt").string(),
           (dir / "src" / "inner" / "here.txt").string()},
          "[Choices]\n1=#2\n2=#2\n");
  ASSERT_EQ(added.exitStatus, 0) << added.err;
  std::string text = run({"dump", inner}).out;
  std::string full = "Z:" + (dir / "src" / "Pkg").string();
  for (char& c : full) c = c == '/' ? '\\' : c;
  EXPECT_NE(text.find("\n0=a.txt,a.txt,1,1,0,0,4,-1,-1,1,0," + full + ",0\n"), std::string::npos)
      << text;
  EXPECT_NE(text.find("\n1=here.txt,here.txt,1,1,0,0,1,-1,-1,1,0,.,0\n"), std::string::npos) << text;
}

TEST_F(AddCommand, ATextFormDocumentIsSavedInTheTextForm) {
  std::string text = (dir / "d.txt").string();
  ASSERT_EQ(run({"convert", doc, text}).exitStatus, 0);
  test::RunResult added =
      run({"add", "--preferences", text, (dir / "src" / "Pkg" / "a.txt").string()},
          "[Choices]\n1=#2\n");
  ASSERT_EQ(added.exitStatus, 0) << added.err;
  std::string saved = readFile(text);
  EXPECT_EQ(saved.rfind("\n;---> Corvix v3.0 Script file\n", 0), 0u) << "not a compound file";
  EXPECT_NE(saved.find("\n[Files]\n0=a.txt,a.txt,"), std::string::npos) << saved;
}

}  // namespace
}  // namespace vandrel::builder
