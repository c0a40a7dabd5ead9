// Tests of the corvix program: new, dump, convert, set, get and merge, their exit status and
// damaged input.
#include <gtest/gtest.h>

#include <filesystem>

#include "builder/codec/cvx_file.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace vandrel::builder {
namespace {

using test::readFile;
using test::writeFile;

struct Corvix : ::testing::Test {
  test::TempDir dir;
  test::RunResult run(const std::vector<std::string>& args) {
    return test::runProgram("corvix", args,
                            {{"VANDREL_UI", "scripted"},
                             {"VANDREL_MACHINE", (dir / "machine").string()},
                             {"VANDREL_ANSWERS", ""},
                             {"VANDREL_TRANSCRIPT", ""}},
                            60);
  }
};

TEST_F(Corvix, NewDumpAndConvert) {
  std::string doc = (dir / "a.cvx").string();
  test::RunResult made = run({"new", doc});
  ASSERT_EQ(made.exitStatus, 0) << made.err;
  EXPECT_EQ(isCompoundFile(doc), true);

  test::RunResult dumped = run({"dump", doc});
  ASSERT_EQ(dumped.exitStatus, 0) << dumped.err;
  EXPECT_EQ(dumped.out.rfind("\n;---> Corvix v3.0 Script file\n", 0), 0u);
  EXPECT_NE(dumped.out.find("\n[Settings]\nAppName=\nVer=\n"), std::string::npos);
  EXPECT_NE(dumped.out.find("\nBottom=0x00ff0000\n"), std::string::npos);
  EXPECT_NE(dumped.out.find("\n[Web]\nStartURL=\n"), std::string::npos);

  // Text form out, edited, back into a compound file, and dumped again.
  std::string text = (dir / "a.txt").string();
  ASSERT_EQ(run({"convert", doc, text}).exitStatus, 0);
  EXPECT_EQ(readFile(text), dumped.out);
  std::string edited = readFile(text);
  edited.replace(edited.find("AppName=\n"), 9, "AppName=Tool\n");
  edited += "\n[files]\n0=a.exe,a.exe\n";
  writeFile(text, edited);
  std::string back = (dir / "b.CVX").string();
  test::RunResult converted = run({"convert", text, back});
  ASSERT_EQ(converted.exitStatus, 0) << converted.err;
  EXPECT_EQ(isCompoundFile(back), true);
  std::string redumped = run({"dump", back}).out;
  EXPECT_NE(redumped.find("AppName=Tool\n"), std::string::npos);
  EXPECT_NE(redumped.find("\n[Files]\n0=a.exe,a.exe,1,1,0,1,0,-1,-1,0,0,?,0\n"), std::string::npos);
}

TEST_F(Corvix, ATruncatedDocumentGivesOnlyOurMessage) {
  std::string doc = (dir / "a.cvx").string();
  ASSERT_EQ(run({"new", doc}).exitStatus, 0);
  std::string whole = readFile(doc);
  std::string cut = (dir / "cut.cvx").string();
  writeFile(cut, whole.substr(0, whole.size() / 2));
  test::RunResult dumped = run({"dump", cut});
  EXPECT_EQ(dumped.exitStatus, 1);
  EXPECT_NE(dumped.err.find("corrupted"), std::string::npos) << dumped.err;
  // The compound-file library's own complaints about the blocks do not reach the user.
  EXPECT_EQ(dumped.err.find("CRITICAL"), std::string::npos) << dumped.err;
  EXPECT_EQ(dumped.err.find("libgsf"), std::string::npos) << dumped.err;
}

TEST_F(Corvix, UsageErrorsAndFailures) {
  EXPECT_EQ(run({"new"}).exitStatus, 2);
  // Neither a subcommand nor an existing document: a mistyped subcommand, not the GUI.
  test::RunResult typo = run({"dumpp", (dir / "missing.cvx").string()});
  EXPECT_EQ(typo.exitStatus, 2);
  EXPECT_NE(typo.err.find("unknown subcommand"), std::string::npos) << typo.err;
  test::RunResult version = run({"--version"});
  EXPECT_EQ(version.exitStatus, 0) << version.err;
  EXPECT_EQ(version.out.rfind("corvix 3.", 0), 0u) << version.out;
  EXPECT_EQ(run({"dump", "a", "b"}).exitStatus, 2);
  EXPECT_EQ(run({"--no-such-option"}).exitStatus, 2);

  writeFile(dir / "bad.cvx", "nothing a document would hold\n");
  test::RunResult bad = run({"dump", (dir / "bad.cvx").string()});
  EXPECT_EQ(bad.exitStatus, 1);
  EXPECT_NE(bad.err.find("This file doesn't seem to be a Corvix script document"), std::string::npos)
      << bad.err;
  EXPECT_EQ(run({"dump", (dir / "missing.cvx").string()}).exitStatus, 1);

  std::string truncated = std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(600, '\x7f');
  writeFile(dir / "t.cvx", truncated);
  test::RunResult t = run({"convert", (dir / "t.cvx").string(), (dir / "t.cvx").string()});
  EXPECT_EQ(t.exitStatus, 1);
  EXPECT_EQ(readFile(dir / "t.cvx"), truncated) << "the file read is not written";
}

TEST_F(Corvix, NewRefusesAnExistingFileUnlessForced) {
  std::string doc = (dir / "a.cvx").string();
  writeFile(doc, "keep me\n");
  test::RunResult refused = run({"new", doc});
  EXPECT_EQ(refused.exitStatus, 1);
  EXPECT_NE(refused.err.find("a.cvx exists already"), std::string::npos) << refused.err;
  EXPECT_EQ(readFile(doc), "keep me\n");
  ASSERT_EQ(run({"new", doc, "--force"}).exitStatus, 0);
  EXPECT_EQ(isCompoundFile(doc), true);
}

TEST_F(Corvix, SetAndGetEverySettingKind) {
  // A compound document and a text-form one: each is written back in its own form.
  std::string cvx = (dir / "a.cvx").string();
  ASSERT_EQ(run({"new", cvx}).exitStatus, 0);
  std::string text = (dir / "a.txt").string();
  ASSERT_EQ(run({"convert", cvx, text}).exitStatus, 0);
  struct Case { const char* set; const char* key; const char* shown; };
  const Case cases[] = {
      {"AppName=Tool 2", "AppName", "Tool 2"},
      {"ver=1.0=final", "Ver", "1.0=final"},  // keys in any case; a value may hold '='
      {"Type=2", "TYPE", "2"},
      {"ArchiveSize=+1440", "ArchiveSize", "1440"},
      {"minWin=5", "minwin", "5"},
      {"Top=0x00112233", "Top", "0x00112233"},
      {"Bottom=0xFF", "bottom", "0x000000ff"},
      {"Author=Jos\xc3\xa9 \xe2\x82\xac", "Author", "Jos\xc3\xa9 \xe2\x82\xac"},  // UTF-8 typed
      {"DefDir=", "DefDir", ""},
  };
  for (const std::string& doc : {cvx, text}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(doc + " " + c.set);
      test::RunResult set = run({"set", doc, c.set});
      ASSERT_EQ(set.exitStatus, 0) << set.err;
      test::RunResult got = run({"get", doc, c.key});
      ASSERT_EQ(got.exitStatus, 0) << got.err;
      EXPECT_EQ(got.out, std::string(c.shown) + "\n");
    }
    EXPECT_EQ(isCompoundFile(doc), doc == cvx);
  }
  EXPECT_NE(readFile(text).find("\nAppName=Tool 2\nVer=1.0=final\n"), std::string::npos);
  EXPECT_NE(readFile(text).find("\nAuthor=Jos\xe9 \x80\n"), std::string::npos) << "kept in the code page";

  // Several pairs at once; one refused pair changes nothing, and names what was refused.
  std::string before = readFile(text);
  struct Refusal { std::vector<std::string> args; const char* named; };
  const Refusal refusals[] = {
      {{"AppName=New", "Colour=1"}, "unknown setting \"Colour\""},
      {{"AppName=New", "Type=two"}, "Type: \"two\" is not a whole number"},
      {{"minWin=3.5"}, "minWin: \"3.5\" is not a whole number"},
      {{"nCompil=99999999999"}, "nCompil"},
      // Numbers are held to the choices the settings pages offer.
      {{"Type=4"}, "Type: 4 is out of range (0 to 3)"},
      {{"ShowLicence=2"}, "ShowLicence: 2 is out of range (0 to 1)"},
      {{"BmpMode=-1"}, "BmpMode: -1 is out of range (0 to 4)"},
      {{"ArchiveSize=-5"}, "ArchiveSize: -5 is out of range (0 or more)"},
      {{"Top=blue"}, "Top: \"blue\" is not a colour"},
      {{"Top=0x123456789"}, "Top"},
      {{"AppName"}, "\"AppName\" is not KEY=VALUE"},
      {{"=x"}, "\"=x\" is not KEY=VALUE"},
  };
  for (const Refusal& r : refusals) {
    std::vector<std::string> args{"set", text};
    args.insert(args.end(), r.args.begin(), r.args.end());
    test::RunResult refused = run(args);
    EXPECT_EQ(refused.exitStatus, 2) << r.named;
    EXPECT_NE(refused.err.find(r.named), std::string::npos) << refused.err;
  }
  EXPECT_EQ(readFile(text), before);
  ASSERT_EQ(run({"set", text, "AppName=New", "Caption=1"}).exitStatus, 0);
  EXPECT_EQ(run({"get", text, "AppName"}).out, "New\n");
  EXPECT_EQ(run({"get", text, "Caption"}).out, "1\n");

  test::RunResult unknown = run({"get", text, "Colour"});
  EXPECT_EQ(unknown.exitStatus, 2);
  EXPECT_NE(unknown.err.find("unknown setting \"Colour\""), std::string::npos) << unknown.err;
  EXPECT_EQ(run({"get", (dir / "missing.cvx").string(), "AppName"}).exitStatus, 1);
}

TEST_F(Corvix, MergeImportsEntriesAndSettings) {
  std::string doc = (dir / "a.txt").string();
  writeFile(doc, "[Settings]\nAppName=Mine\n[Directories]\n0=A,0,0,a\n");
  // The import reads .cvx files, in either form.
  std::string other = (dir / "other.cvx").string();
  writeFile(other, "[Settings]\nVer=2.0\n[Directories]\n0=X,0,0,x\n1=Y,0,0,y\n"
                   "[Files]\n0=f,f,1,1,0,0,0,1,-1,0,0,p,0\n");
  test::RunResult merged = run({"merge", doc, other});
  ASSERT_EQ(merged.exitStatus, 0) << merged.err;
  std::string dumped = run({"dump", doc}).out;
  EXPECT_NE(dumped.find("\n[Directories]\n0=A,0,0,a\n1=X,0,0,x\n2=Y,0,0,y\n"), std::string::npos)
      << dumped;
  // The file's directory reference follows its directory to its new index.
  EXPECT_NE(dumped.find("\n[Files]\n0=f,f,1,1,0,0,0,2,-1,"), std::string::npos) << dumped;
  EXPECT_NE(dumped.find("\nVer=2.0\n"), std::string::npos);
  EXPECT_EQ(readFile(doc).rfind("\n;---> Corvix v3.0 Script file\n", 0), 0u) << "kept in text form";

  std::string before = readFile(doc);
  // A file that is neither a .cvx nor a document text is refused by its extension.
  writeFile(dir / "other.txt", "Ver=3\n[Settings]\nVer=3\n");
  test::RunResult refused = run({"merge", doc, (dir / "other.txt").string()});
  EXPECT_EQ(refused.exitStatus, 1);
  EXPECT_NE(refused.err.find("Unknow file extension type."), std::string::npos) << refused.err;
  EXPECT_EQ(run({"merge", doc, (dir / "none.cvx").string()}).exitStatus, 1);
  EXPECT_EQ(run({"merge", doc}).exitStatus, 2);
  EXPECT_EQ(readFile(doc), before);
}

TEST_F(Corvix, MergeRefusesTheDocumentItself) {
  std::string doc = (dir / "a.txt").string();
  writeFile(doc, "[Settings]\nAppName=Mine\n[Directories]\n0=A,0,0,a\n");
  std::filesystem::create_symlink(doc, dir / "link.txt");
  const std::string before = readFile(doc);
  for (std::string same : {doc, (dir / "." / "a.txt").string(), (dir / "link.txt").string()}) {
    test::RunResult refused = run({"merge", doc, same});
    EXPECT_EQ(refused.exitStatus, 1) << same;
    EXPECT_NE(refused.err.find("This script is the one you are currently editing"),
              std::string::npos) << refused.err;
    EXPECT_EQ(readFile(doc), before) << same;
  }
  // A compound file as well: refused before anything is read, left byte for byte.
  std::string cvx = (dir / "b.cvx").string();
  ASSERT_EQ(run({"new", cvx}).exitStatus, 0);
  const std::string stored = readFile(cvx);
  test::RunResult refused = run({"merge", cvx, cvx});
  EXPECT_EQ(refused.exitStatus, 1);
  EXPECT_NE(refused.err.find("This script is the one you are currently editing"),
            std::string::npos) << refused.err;
  EXPECT_TRUE(readFile(cvx) == stored);
}

TEST_F(Corvix, MergeReadsATextFragmentUnderAnyName) {
  std::string doc = (dir / "a.txt").string();
  writeFile(doc, "[Settings]\nAppName=Mine\n[Directories]\n0=A,0,0,a\n");
  std::string fragment = (dir / "dirs.fragment").string();
  writeFile(fragment, "; the data folders\n\n[Directories]\n0=X,0,0,x\n");
  test::RunResult merged = run({"merge", doc, fragment});
  ASSERT_EQ(merged.exitStatus, 0) << merged.err;
  std::string dumped = run({"dump", doc}).out;
  EXPECT_NE(dumped.find("\n[Directories]\n0=A,0,0,a\n1=X,0,0,x\n"), std::string::npos) << dumped;
  EXPECT_NE(dumped.find("\nAppName=Mine\n"), std::string::npos) << dumped;
}

TEST_F(Corvix, MergeEntriesOnlyKeepsTheSettings) {
  std::string doc = (dir / "a.txt").string();
  writeFile(doc, "[Settings]\nAppName=Mine\nVer=1.0\n[Web]\nStartURL=http://mine\n"
                 "[Directories]\n0=A,0,0,a\n");
  std::string converted = (dir / "other.txt").string();
  // A converted document carries every setting, blank ones included.
  writeFile(converted, "[Settings]\nAppName=\nVer=\nTitle=Other\n[Web]\nStartURL=\n"
                       "[Directories]\n0=X,0,0,x\n");
  test::RunResult merged = run({"merge", "--entries-only", doc, converted});
  ASSERT_EQ(merged.exitStatus, 0) << merged.err;
  std::string dumped = run({"dump", doc}).out;
  EXPECT_NE(dumped.find("\n[Settings]\nAppName=Mine\nVer=1.0\nTitle=\n"), std::string::npos)
      << dumped;
  EXPECT_NE(dumped.find("\nStartURL=http://mine\n"), std::string::npos) << dumped;
  EXPECT_NE(dumped.find("\n0=A,0,0,a\n1=X,0,0,x\n"), std::string::npos) << dumped;

  // Without the option every key present replaces.
  ASSERT_EQ(run({"merge", doc, converted}).exitStatus, 0);
  dumped = run({"dump", doc}).out;
  EXPECT_NE(dumped.find("\n[Settings]\nAppName=\nVer=\nTitle=Other\n"), std::string::npos)
      << dumped;
}

}  // namespace
}  // namespace vandrel::builder
