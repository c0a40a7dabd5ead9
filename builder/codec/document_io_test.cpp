// Tests of .cvx files: the compound file and its summary, open, save and import with their
// messages, and damaged files.
#include "builder/codec/document_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "builder/codec/cvx_file.h"
#include "builder/codec/document_text.h"
#include "builder/codec/summary_stream.h"
#include "builder/tree/script_tree.h"
#include "builder/codec/testing/document_files.h"

namespace vandrel::builder {
namespace {

using test::readFile;
using test::writeFile;
using testing::DocumentFiles;

TEST_F(DocumentFiles, SaveWritesACompoundFileThatOpensAgain) {
  CScriptDoc doc(clock);
  doc.onNewDocument("ann");
  doc.settings.appName = "Tool";
  loadDocumentText(doc, "[Groups]\n0=G\n[Peskin]\nUnGroup=0\n");
  std::string path = saved(doc, "a.cvx");
  EXPECT_FALSE(doc.isModified());
  EXPECT_EQ(isCompoundFile(path), true);

  CScriptDoc opened(clock);
  ASSERT_TRUE(openDocument(opened, path, ui));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(opened.settings.appName, "Tool");
  EXPECT_EQ(opened.title(), "Tool Install script");
  EXPECT_EQ(opened.uninstall.groupKey, opened.groups.at(0).key);
  EXPECT_EQ(opened.summary.revision, "1");
  EXPECT_EQ(opened.summary.appName, "Corvix v3.0");
  EXPECT_EQ(opened.summary.author, "ann");
  EXPECT_EQ(opened.summary.title, "Tool ");
  EXPECT_EQ(documentText(opened), documentText(doc));
  saved(opened, "a.cvx");
  EXPECT_EQ(opened.summary.revision, "2");
}

TEST_F(DocumentFiles, SummaryInformationRoundTrip) {
  SummaryInfo info;
  info.title = "App 1.0";
  info.author = "ann";
  info.revision = "7";
  info.editingTime = 123456789;
  info.created = 0x01D0000000000000;
  info.pageCount = 1;
  info.appName = "Corvix v3.0";
  std::string bytes = encodeSummaryInfo(info);
  EXPECT_EQ(decodeSummaryInfo(bytes), info);
  // Damaged streams give nothing or what can be read, never a crash.
  for (std::size_t cut = 0; cut < bytes.size(); cut += 7) {
    std::optional<SummaryInfo> partial = decodeSummaryInfo(bytes.substr(0, cut));
    if (partial) {
      EXPECT_EQ(partial->codePage, 1252);
    }
  }
  EXPECT_FALSE(decodeSummaryInfo("not a property set at all, but long enough to look at it"));
}

TEST_F(DocumentFiles, OpenFailures) {
  struct Case { const char* name; std::string content; const char* message; };
  std::string compound = std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  const Case cases[] = {
      {"words.cvx", "no key line here\n[Settings]\n", "This file doesn't seem to be a Corvix"},
      {"truncated.cvx", compound + std::string(100, '\0'), "This file doesn't seem to be a Corvix"},
      {"binary.cvx", std::string("\x01\x02\0\xff[", 5), "This file doesn't seem to be a Corvix"},
  };
  for (const Case& c : cases) {
    writeFile(dir / c.name, c.content);
    CScriptDoc doc(clock);
    EXPECT_FALSE(openDocument(doc, dir / c.name, ui)) << c.name;
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().text.rfind(c.message, 0), 0u) << c.name;
    EXPECT_EQ(ui.messages.back().icon, ui::Icon::Stop);
    EXPECT_EQ(ui.messages.back().detail.rfind((dir / c.name).string() + ": ", 0), 0u)
        << "names the file and why: " << ui.messages.back().detail;
    EXPECT_EQ(readFile(dir / c.name), c.content) << "the file read is never written";
  }
  CScriptDoc doc(clock);
  EXPECT_FALSE(openDocument(doc, dir / "missing.cvx", ui));
  EXPECT_EQ(ui.messages.back().text.rfind("An error occured while trying to access this file.", 0), 0u);
  EXPECT_EQ(ui.messages.back().detail, (dir / "missing.cvx").string() + ": no such file")
      << "the message names the file and the reason";
  EXPECT_FALSE(openDocument(doc, dir.path(), ui));
  EXPECT_EQ(ui.messages.back().detail, dir.path().string() + ": a folder, not a document");
}

TEST_F(DocumentFiles, TruncatedSavedFileNeverCrashes) {
  CScriptDoc doc(clock);
  doc.onNewDocument("ann");
  for (int i = 0; i < 300; ++i) loadDocumentText(doc, "[Groups]\n0=Group number " + std::to_string(i) + "\n");
  std::string whole = readFile(saved(doc, "full.cvx"));
  for (std::size_t cut : {std::size_t(0), std::size_t(512), whole.size() / 2, whole.size() - 1}) {
    writeFile(dir / "cut.cvx", whole.substr(0, cut));
    CScriptDoc opened(clock);
    bool ok = openDocument(opened, dir / "cut.cvx", ui);
    if (ok) {
      EXPECT_LE(opened.groups.count(), 300);
    }
  }
}

TEST_F(DocumentFiles, EmptyOrMissingContentsLeavesTheNewDocument) {
  CScriptDoc doc(clock);
  ASSERT_EQ(writeCvx(dir / "empty.cvx", "", SummaryInfo{}), "");
  EXPECT_TRUE(openDocument(doc, dir / "empty.cvx", ui));
  EXPECT_EQ(doc.settings.minWin, 3);
  EXPECT_TRUE(ui.messages.empty());
}

// A directory that names the document's stream, whose blocks cannot be found, is damage: it
// must not open as an empty new document that a save would then write over the file.
TEST_F(DocumentFiles, ADamagedContentsStreamIsNotReadAsAMissingOne) {
  CScriptDoc doc(clock);
  doc.onNewDocument("ann");
  std::string whole = readFile(saved(doc, "whole.cvx"));
  const std::string entryName("C\0o\0n\0t\0e\0n\0t\0s\0", 16);
  std::size_t entry = whole.find(entryName);
  ASSERT_NE(entry, std::string::npos);
  // The entry's first block (offset 0x74 in the 128-byte entry) points past the file.
  std::string damaged = whole;
  for (int i = 0; i < 4; ++i) damaged[entry + 0x74 + i] = char(0xF0 | (i ? 0xFF : 0));
  writeFile(dir / "start.cvx", damaged);
  CScriptDoc opened(clock);
  EXPECT_FALSE(openDocument(opened, dir / "start.cvx", ui));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages.back().text.rfind("This file doesn't seem to be a Corvix", 0), 0u);
  EXPECT_EQ(readFile(dir / "start.cvx"), damaged) << "the file read is never written";
}

TEST_F(DocumentFiles, PlainTextDocumentsOpenAndLongLinesAreHandled) {
  std::string text = "[Settings]\nAppName=" + std::string(10 << 20, 'x') + "\n[Groups]\n0=G\n";
  writeFile(dir / "plain.cvx", text);
  CScriptDoc doc(clock);
  ASSERT_TRUE(openDocument(doc, dir / "plain.cvx", ui));
  EXPECT_EQ(doc.settings.appName.size(), std::size_t(10 << 20));
  EXPECT_EQ(doc.groups.count(), 1);
}

TEST_F(DocumentFiles, ImportChecks) {
  CScriptDoc other(clock);
  loadDocumentText(other, "[Directories]\n0=X,0,0,x\n1=Y,0,0,y\n[Files]\n0=f,f,1,1,0,0,0,1,-1,0,0,p,0\n");
  std::string otherPath = saved(other, "other.cvx");
  writeFile(dir / "script.vrx", "[Settings]\nAppName=x\n");
  writeFile(dir / "readme.txt", "[Settings]\nAppName=x\n");

  CScriptDoc doc(clock);
  doc.onNewDocument("ann");
  loadDocumentText(doc, "[Directories]\n0=A,0,0,a\n1=B,0,0,b\n2=C,0,0,c\n");
  std::string own = saved(doc, "own.cvx");
  ScriptTree tree(doc);

  struct Case { std::string path; const char* message; };
  const Case refusals[] = {
      {own, "This script is the one you are currently editing"},
      {(dir / "OWN.CVX").string(), nullptr},  // another file: does not exist
      {(dir / "readme.txt").string(), "Unknow file extension type."},
      {(dir / "script.vrx").string(), "Function not yet implemented !"},
      {(dir / "none.cvx").string(), "An error occured while trying to access this file."},
  };
  for (const Case& c : refusals) {
    EXPECT_FALSE(importScript(doc, c.path, ui)) << c.path;
    if (c.message) {
      EXPECT_EQ(ui.messages.back().text.rfind(c.message, 0), 0u) << ui.messages.back().text;
    }
  }
  EXPECT_FALSE(importScript(doc, std::nullopt, ui));
  EXPECT_EQ(doc.directories.count(), 3);
  EXPECT_FALSE(doc.isModified());

  ASSERT_TRUE(importScript(doc, otherPath, ui));
  tree.syncFromDocument();  // what the merge command does after a successful import
  EXPECT_TRUE(doc.isModified());
  ASSERT_EQ(doc.directories.count(), 5);
  EXPECT_EQ(doc.files.at(0).directoryRef, doc.directories.at(4).key);
  EXPECT_EQ(tree.children(tree.categoryItem(category::Directories)).size(), 9u);
  EXPECT_EQ(tree.item(doc.files.at(0).key)->label, "Disk 1:f copied to [Install]\\Y\\f");
}

TEST(DocumentText, IsKnownByItsFirstSectionLine) {
  EXPECT_TRUE(isDocumentText(";---> header\n\n  \n[files]\n0=a,a\n"));
  EXPECT_FALSE(isDocumentText("[Files] \n0=a,a\n"));
  EXPECT_TRUE(isDocumentText("[Settings]\r\nAppName=x\r\n"));
  EXPECT_FALSE(isDocumentText("AppName=x\n[Settings]\n"));
  EXPECT_FALSE(isDocumentText("[Unknown]\nx=1\n"));
  EXPECT_FALSE(isDocumentText("; only a comment\n"));
  EXPECT_FALSE(isDocumentText(""));
}

TEST_F(DocumentFiles, MergeRefusesItselfReadsTextFragmentsAndCanKeepTheSettings) {
  CScriptDoc doc(clock);
  doc.onNewDocument("ann");
  loadDocumentText(doc, "[Settings]\nAppName=Mine\n[Web]\nStartURL=http://mine\n"
                        "[Directories]\n0=A,0,0,a\n");
  std::string own = saved(doc, "own.cvx");
  std::vector<std::filesystem::path> sames{std::filesystem::path(own), dir / "." / "own.cvx"};
  // A link to it too, where the system makes links (Wine does not).
  std::error_code linkError;
  std::filesystem::create_symlink(own, dir / "link.cvx", linkError);
  if (!linkError) sames.push_back(dir / "link.cvx");
  for (const std::filesystem::path& same : sames) {
    EXPECT_FALSE(mergeDocumentFile(doc, own, same, {}, ui)) << same;
    EXPECT_EQ(ui.messages.back().text, "This script is the one you are currently editing");
  }
  EXPECT_EQ(doc.directories.count(), 1);
  EXPECT_FALSE(doc.isModified());

  writeFile(dir / "notes.txt", "AppName=Other\n");
  EXPECT_FALSE(mergeDocumentFile(doc, own, dir / "notes.txt", {}, ui));
  EXPECT_EQ(ui.messages.back().text.rfind("Unknow file extension type.", 0), 0u);

  writeFile(dir / "dirs.fragment", "[Settings]\nAppName=\n[Web]\nStartURL=\n"
                                   "[Directories]\n0=X,0,0,x\n");
  MergeOptions entriesOnly;
  entriesOnly.entriesOnly = true;
  ASSERT_TRUE(mergeDocumentFile(doc, own, dir / "dirs.fragment", entriesOnly, ui));
  EXPECT_EQ(doc.directories.count(), 2);
  EXPECT_EQ(doc.settings.appName, "Mine");
  EXPECT_EQ(doc.web.startUrl, "http://mine");
  ASSERT_TRUE(mergeDocumentFile(doc, own, dir / "dirs.fragment", {}, ui));
  EXPECT_EQ(doc.directories.count(), 3);
  EXPECT_EQ(doc.settings.appName, "");
  EXPECT_EQ(doc.web.startUrl, "");
}

TEST_F(DocumentFiles, FailedSaveKeepsTheOldFileAndTheRevision) {
  CScriptDoc doc(clock);
  doc.onNewDocument("ann");
  std::filesystem::create_directories(dir / "sub");
  EXPECT_FALSE(saveDocument(doc, dir / "sub", ui));
  EXPECT_EQ(ui.messages.back().text,
            "An error has occured during the saving process. Please check your save device and try again.");
  // The file and why: "cannot replace <path>: Is a directory".
  EXPECT_NE(ui.messages.back().detail.find((dir / "sub").string() + ": "), std::string::npos)
      << ui.messages.back().detail;
  EXPECT_EQ(doc.summary.revision, "0");
  EXPECT_TRUE(std::filesystem::is_directory(dir / "sub"));
}

TEST_F(DocumentFiles, ADocumentFileIsWrittenBackInTheFormItWasReadIn) {
  struct Case {
    const char* name;
    DocumentForm form;
  };
  for (const Case& c : {Case{"text.cvx", DocumentForm::Text}, Case{"compound.txt", DocumentForm::Compound}}) {
    SCOPED_TRACE(c.name);
    std::filesystem::path path = dir / c.name;
    CScriptDoc source(clock);
    loadDocumentText(source, "[Settings]\nAppName=Tool\n[Groups]\n0=G\n");
    if (c.form == DocumentForm::Compound) saved(source, c.name);
    else writeFile(path, documentText(source));

    CScriptDoc doc(clock);
    DocumentFile file;
    ASSERT_TRUE(file.open(doc, path, ui));
    EXPECT_EQ(file.form(), c.form) << "the name does not decide the form";
    std::string before = readFile(path);
    EXPECT_TRUE(file.saveIfModified(doc, ui));
    EXPECT_EQ(readFile(path), before) << "an unmodified document is not written";

    doc.settings.ver = "2.0";
    doc.setModifiedFlag();
    ASSERT_TRUE(file.saveIfModified(doc, ui));
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(isCompoundFile(path), c.form == DocumentForm::Compound);
    CScriptDoc again(clock);
    ASSERT_TRUE(openDocument(again, path, ui));
    EXPECT_EQ(again.settings.appName, "Tool");
    EXPECT_EQ(again.settings.ver, "2.0");
    EXPECT_EQ(again.groups.count(), 1);
  }

  // A text form that cannot be written fails with the save message and stays modified.
  DocumentFile unwritable(dir / "no-such-folder" / "d.txt", DocumentForm::Text);
  CScriptDoc doc(clock);
  doc.setModifiedFlag();
  EXPECT_FALSE(unwritable.saveIfModified(doc, ui));
  EXPECT_EQ(ui.messages.back().text,
            "An error has occured during the saving process. Please check your save device and try again.");
  EXPECT_TRUE(doc.isModified());
  EXPECT_FALSE(std::filesystem::exists(dir / "no-such-folder"));
}

}  // namespace
}  // namespace vandrel::builder
