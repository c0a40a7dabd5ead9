// Tests of the corvix program: new, dump and convert, their exit status and damaged input.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vandrel::builder
