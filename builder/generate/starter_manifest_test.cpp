// The starter's execution level: written in place of the padded asInvoker the build leaves,
// the same number of bytes long, and only there.
#include "builder/generate/starter_manifest.h"

#include <gtest/gtest.h>

#include "builder/generate/generate_test_support.h"
#include "builder/generate/package_generator.h"
#include "builder/tree/script_tree.h"

namespace vandrel::builder {
namespace {

const std::string kBefore = "MZ...<assembly><requestedExecutionLevel ";
const std::string kPadded = "level=\"asInvoker\"           ";
const std::string kAfter = " uiAccess=\"false\"/></assembly>...";

std::string starter() { return kBefore + kPadded + kAfter; }

TEST(StarterManifest, EachLevelTakesThePaddedPlace) {
  struct Case {
    ExecutionLevel level;
    std::string attribute;
  };
  for (const Case& c : {Case{ExecutionLevel::Administrator, "level=\"requireAdministrator\""},
                        Case{ExecutionLevel::HighestAvailable, "level=\"highestAvailable\"    "},
                        Case{ExecutionLevel::Invoker, "level=\"asInvoker\"           "}}) {
    test::MemoryFileSystem files;
    files.makeDirectories("C:\\Pkg");
    files.writeFile("C:\\Pkg\\Setup.exe", starter());
    EXPECT_TRUE(setStarterExecutionLevel(files, "C:\\Pkg\\Setup.exe", c.level));
    EXPECT_EQ(*files.readFile("C:\\Pkg\\Setup.exe"), kBefore + c.attribute + kAfter);
  }
}

TEST(StarterManifest, AStarterWithoutTheManifestIsLeftAsItIs) {
  test::MemoryFileSystem files;
  files.makeDirectories("C:\\Pkg");
  files.writeFile("C:\\Pkg\\Setup.exe", "\x7f" "ELF a starter built for Linux");
  EXPECT_FALSE(setStarterExecutionLevel(files, "C:\\Pkg\\Setup.exe", ExecutionLevel::Administrator));
  EXPECT_EQ(*files.readFile("C:\\Pkg\\Setup.exe"), "\x7f" "ELF a starter built for Linux");
  // Two places would be a guess: neither is touched.
  files.writeFile("C:\\Pkg\\Twice.exe", starter() + starter());
  EXPECT_FALSE(setStarterExecutionLevel(files, "C:\\Pkg\\Twice.exe", ExecutionLevel::Administrator));
  EXPECT_EQ(*files.readFile("C:\\Pkg\\Twice.exe"), starter() + starter());
}

TEST(StarterManifest, TheLevelWordsOfTheCommandLine) {
  EXPECT_EQ(parseExecutionLevel("admin"), ExecutionLevel::Administrator);
  EXPECT_EQ(parseExecutionLevel("highest"), ExecutionLevel::HighestAvailable);
  EXPECT_EQ(parseExecutionLevel("invoker"), ExecutionLevel::Invoker);
  EXPECT_EQ(parseExecutionLevel("Admin"), std::nullopt);
  EXPECT_EQ(parseExecutionLevel(""), std::nullopt);
}

// Generation asks for elevation unless told otherwise; the builder's own Setup.exe stays as
// the build made it.
TEST(StarterManifest, GenerationWritesTheLevelIntoThePackagesStarter) {
  testing::MemoryBuilder b;
  b.companions();
  b.files.writeFile("C:\\Corvix\\Setup.exe", starter());
  CScriptDoc doc;
  doc.settings.appName = "App";
  testing::addGroup(doc, "App");
  for (auto [options, attribute] :
       {std::pair{GenerateOptions{}, std::string("level=\"requireAdministrator\"")},
        std::pair{GenerateOptions{.executionLevel = ExecutionLevel::Invoker}, kPadded}}) {
    options.firstFolder = "C:\\Pkg";
    options.eachDisk = false;
    PackageGenerator generator(doc, ScriptTree(doc).entryOrder(), b.context);
    ASSERT_EQ(generator.generate(options), GenerateOutcome::Complete);
    EXPECT_EQ(*b.files.readFile("C:\\Pkg\\Setup.exe"), kBefore + attribute + kAfter);
    EXPECT_EQ(*b.files.readFile("C:\\Corvix\\Setup.exe"), starter());
  }
}

}  // namespace
}  // namespace vandrel::builder
