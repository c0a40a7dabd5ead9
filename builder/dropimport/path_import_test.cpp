// The command-line import of files and folders over an in-memory machine: the folder rules,
// --into, --component and --disk, what is skipped and why, and that a second run of the same
// import adds nothing.
#include "builder/dropimport/path_import.h"

#include <gtest/gtest.h>

#include "builder/pages/pages_fixture_test.h"
#include "tests/support/memory_file_system.h"

namespace vandrel::builder::dropimport {
namespace {

struct Import : ::testing::Test, testing::DocFixture {
  test::MemoryFileSystem files;
  PathImportOptions options;

  Import() {
    // Pkg: a.txt, b.txt and Sub (c.txt and Deep with d.txt); loose.txt beside it.
    files.writeFile("C:\\Src\\Pkg\\a.txt", "aaaa");
    files.writeFile("C:\\Src\\Pkg\\b.txt", "bb");
    files.writeFile("C:\\Src\\Pkg\\Sub\\c.txt", "c");
    files.writeFile("C:\\Src\\Pkg\\Sub\\Deep\\d.txt", "d");
    files.writeFile("C:\\Src\\loose.txt", "l");
  }
  PathImportReport run(const std::vector<std::string>& paths) {
    return PathImport(*tree, files).run(paths, options);
  }
  const FileRecord& file(const std::string& name) {
    for (const FileRecord& f : doc.files)
      if (f.sourceName == name) return f;
    throw std::runtime_error("no file " + name);
  }
  const DirectoryRecord& dir(EntryKey key) { return *doc.directories.findEntry(key); }
  std::vector<std::string> directoryNames() {
    std::vector<std::string> names;
    for (const DirectoryRecord& d : doc.directories) names.push_back(d.name);
    return names;
  }
};

TEST_F(Import, AFolderIsADirectoryHoldingItsFilesAndItsSubFoldersAreReported) {
  PathImportReport r = run({"C:\\Src\\Pkg", "C:\\Src\\loose.txt"});
  EXPECT_EQ(directoryNames(), std::vector<std::string>{"Pkg"});
  EXPECT_EQ(r.directoriesMade, std::vector<std::string>{"Pkg"});
  ASSERT_EQ(r.files.size(), 3u);
  EXPECT_EQ(r.files[0].path, "C:\\Src\\loose.txt") << "named items first, then the walk";
  EXPECT_EQ(r.files[0].directory, "Install Path");
  EXPECT_EQ(r.files[1].path, "C:\\Src\\Pkg\\a.txt");
  EXPECT_EQ(r.files[1].directory, "Pkg");
  EXPECT_EQ(dir(file("a.txt").directoryRef).name, "Pkg");
  EXPECT_EQ(file("a.txt").sourcePath, "C:\\Src\\Pkg");
  EXPECT_EQ(file("a.txt").size, 4);
  EXPECT_EQ(file("loose.txt").directoryRef, 0u);
  EXPECT_EQ(file("loose.txt").predefinedDir, 0);
  ASSERT_EQ(r.skipped.size(), 1u);
  EXPECT_EQ(r.skipped[0].path, "C:\\Src\\Pkg\\Sub");
  EXPECT_EQ(r.skipped[0].why, "a sub-folder (--recursive adds it)");
  EXPECT_TRUE(doc.isModified());
}

TEST_F(Import, RecursiveSubFoldersExtendTheirFoldersDirectory) {
  options.recursive = true;
  PathImportReport r = run({"C:\\Src\\Pkg"});
  EXPECT_EQ(directoryNames(), (std::vector<std::string>{"Pkg", "Pkg\\Sub", "Pkg\\Sub\\Deep"}));
  EXPECT_EQ(dir(file("d.txt").directoryRef).name, "Pkg\\Sub\\Deep");
  EXPECT_EQ(r.files.size(), 4u);
  EXPECT_TRUE(r.skipped.empty());
}

// Added later, a sub-folder or a file of a folder already imported goes below its directory.
TEST_F(Import, ItemsOfAnImportedFolderGoBelowItsDirectory) {
  run({"C:\\Src\\Pkg"});
  files.writeFile("C:\\Src\\Pkg\\new.dll", "n");
  run({"C:\\Src\\Pkg\\Sub", "C:\\Src\\Pkg\\new.dll"});
  EXPECT_EQ(directoryNames(), (std::vector<std::string>{"Pkg", "Pkg\\Sub"}));
  EXPECT_EQ(dir(file("c.txt").directoryRef).name, "Pkg\\Sub");
  EXPECT_EQ(dir(file("new.dll").directoryRef).name, "Pkg");
}

TEST_F(Import, TheSameImportTwiceAddsNothingTheSecondTime) {
  options.recursive = true;
  run({"C:\\Src\\Pkg"});
  doc.setModifiedFlag(false);
  // A file recorded relative to the document's folder is the same file.
  doc.setPathName("C:\\Src\\app.cvx");
  files.writeFile("C:\\Src\\app.cvx", "the document");
  for (FileRecord& f : doc.files)
    f.sourcePath = f.sourcePath.substr(std::string("C:\\Src\\").size());
  PathImportReport again = run({"C:\\Src\\Pkg", "C:\\Src\\app.cvx"});
  EXPECT_FALSE(again.changed());
  EXPECT_FALSE(doc.isModified());
  EXPECT_EQ(doc.files.count(), 4);
  EXPECT_EQ(doc.directories.count(), 3);
  ASSERT_EQ(again.skipped.size(), 5u);
  EXPECT_EQ(again.skipped[0].why, "the document itself");
  for (std::size_t i = 1; i < again.skipped.size(); ++i)
    EXPECT_EQ(again.skipped[i].why, "already in the document") << again.skipped[i].path;
}

TEST_F(Import, IntoAnExistingADirectoryOrAPredefinedFolder) {
  EntryKey app = addDir("Program\\App", 2);
  options.into = "app";  // the last part of a directory's name, any case
  run({"C:\\Src\\Pkg", "C:\\Src\\loose.txt"});
  EXPECT_EQ(file("loose.txt").directoryRef, app);
  const DirectoryRecord& pkg = dir(file("a.txt").directoryRef);
  EXPECT_EQ(pkg.name, "Program\\App\\Pkg");
  EXPECT_EQ(pkg.parent, 2) << "below the same root as the directory it extends";

  options.into = "windows system";
  files.writeFile("C:\\Other\\sys.dll", "s");
  files.writeFile("C:\\Other\\Drv\\x.drv", "x");
  options.recursive = true;
  PathImportReport r = run({"C:\\Other\\sys.dll", "C:\\Other\\Drv"});
  EXPECT_EQ(file("sys.dll").predefinedDir, 2);
  EXPECT_EQ(r.files[0].directory, "Windows System");
  EXPECT_EQ(dir(file("x.drv").directoryRef).name, "Drv");
  EXPECT_EQ(dir(file("x.drv").directoryRef).parent, 2);

  options = {};
  options.into = "Tools";
  PathImportReport made = run({"C:\\Other\\sys.dll"});
  EXPECT_EQ(made.directoriesMade, std::vector<std::string>{"Tools"}) << "a new directory";
  EXPECT_EQ(made.skipped.size(), 1u) << "already added above, wherever it went";
}

TEST_F(Import, ComponentAndDiskOfEveryFileAdded) {
  EntryKey docs = add(DescriptionRecord{"Documentation", 0});
  options.component = "documentation";
  options.disk = 3;
  PathImportReport r = run({"C:\\Src\\Pkg"});
  EXPECT_TRUE(r.componentsMade.empty());
  EXPECT_EQ(file("a.txt").descriptionRef, docs);
  EXPECT_EQ(file("b.txt").disk, 3);

  options = {};
  options.component = "Samples";
  run({"C:\\Src\\loose.txt"});
  EXPECT_EQ(doc.descriptions.count(), 2);
  EXPECT_EQ(doc.descriptions.at(1).text, "Samples");
  EXPECT_EQ(file("loose.txt").disk, 3) << "without --disk: the highest disk in use, as a drop";
}

}  // namespace
}  // namespace vandrel::builder::dropimport
