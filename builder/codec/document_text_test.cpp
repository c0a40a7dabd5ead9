// Tests of the document text form: the exact lines written and the rules of the loader.
#include "builder/codec/document_text.h"

#include <gtest/gtest.h>

namespace vandrel::builder {
namespace {

const char* const kEmptyDocument =
    "\n"
    ";---> Corvix v3.0 Script file\n"
    ";<--- Script document of the Corvix installation builder\n"
    "\n"
    "[Settings]\nAppName=\nVer=\nTitle=\nLoadTxt=\nLoadBmp=\nDefDir=\nShowLicence=1\nType=0\n"
    "RegInfo=1\nOwnMsg=\nminCpu=1\nminWin=3\nnCompil=0\nnSyst=1\nOwnUnInstall=0\nArchiveSize=0\n"
    "Language=0\nLastGenPath=\n"
    "\n[Peskin]\nUnGroup=-1\nUnDesc=UnInstall\n"
    "\n[Background]\nGradient=1\nVert=1\nBitmap=0\nBmpName=\nBmpMode=0\nCaption=0\n"
    "Top=0x00000000\nBottom=0x00ff0000\n"
    "\n[Owner]\nAuthor=ann\nSubject=\nTemplate=\n"
    "\n[Directories]\n\n[Descriptions]\n\n[Groups]\n\n[AddINI]\n\n[Registry]\n\n[Files]\n"
    "\n[Shortcuts]\n\n[Messages]\n"
    "\n[End]\nReboot=0\n"
    "\n[Web]\nStartURL=\n";

CScriptDoc newDoc() {
  CScriptDoc doc([] { return std::uint64_t(1); });
  doc.onNewDocument("ann");
  return doc;
}

TEST(DocumentText, EmptyDocumentIsWrittenByteForByte) {
  CScriptDoc doc = newDoc();
  EXPECT_EQ(documentText(doc), kEmptyDocument);
  EXPECT_EQ(doc.uninstall.unDesc, "UnInstall") << "an empty UnDesc is filled in the document";
}

TEST(DocumentText, EmptyDocumentReloadsWithTheSameFields) {
  CScriptDoc doc = newDoc();
  doc.background.top = 0x123456;
  std::string text = documentText(doc);
  CScriptDoc loaded([] { return std::uint64_t(1); });
  EXPECT_EQ(loadDocumentText(loaded, text), 33);  // 18 + 2 + 8 + 3 + Reboot + StartURL
  EXPECT_EQ(documentText(loaded), text);
  EXPECT_EQ(loaded.background.top, 0x123456u);
}

// A document using every entry kind, with references between them.
CScriptDoc fullDoc() {
  CScriptDoc doc = newDoc();
  doc.settings.appName = "Tool";
  doc.settings.archiveSize = -5;
  DirectoryRecord d1{"One", 1, 1, "first"};
  d1.key = doc.newKey();
  DirectoryRecord d2{"Two", 0, 0, "second"};
  d2.key = doc.newKey();
  DescriptionRecord text{"Copying"};
  text.key = doc.newKey();
  GroupRecord group{"Tools"};
  group.key = doc.newKey();
  FileRecord file;
  file.sourceName = "A.EX_";
  file.destName = "a.exe";
  file.disk = 2;
  file.decompress = 1;
  file.size = 1234;
  file.directoryRef = d2.key;
  file.descriptionRef = text.key;
  file.platform = 3;
  file.sourcePath = "Z:\\src";
  file.shared = 1;
  file.key = doc.newKey();
  FileRecord loose;
  loose.sourceName = loose.destName = "b.txt";
  loose.key = doc.newKey();
  ShortcutRecord sc{file.key, group.key, "App", "[0]\\a.exe /x"};
  sc.key = doc.newKey();
  for (Entry e : {Entry(d1), Entry(d2), Entry(text), Entry(group), Entry(file), Entry(loose), Entry(sc)}) {
    doc.appendEntry(e);
  }
  IniRecord ini{"Ext", "txt", "v"};
  ini.key = doc.newKey();
  doc.appendEntry(ini);
  RegistryRecord reg{2, "Software\\Co", "", "x", 0};
  reg.key = doc.newKey();
  doc.appendEntry(reg);
  MessageRecord msg{"d2.txt", 2, "Z:\\m\\d2.txt"};
  msg.key = doc.newKey();
  doc.appendEntry(msg);
  doc.uninstall.groupKey = group.key;
  doc.endOfInstall.launch = {"[0]\\a.exe", "notepad"};
  doc.web.startUrl = "http://x";
  doc.web.favoriteNames = {"Home"};
  doc.web.favoriteUrls = {"http://x/h"};
  return doc;
}

TEST(DocumentText, EntrySectionsUseListIndexesForReferences) {
  CScriptDoc doc = fullDoc();
  std::string text = documentText(doc);
  for (const char* line : {"\n[Directories]\n0=One,1,1,first\n1=Two,0,0,second\n",
                           "\n[Files]\n0=A.EX_,a.exe,2,1,0,1,1234,1,0,0,3,Z:\\src,1\n"
                           "1=b.txt,b.txt,1,1,0,0,0,-1,-1,0,0,,0\n",
                           "\n[Shortcuts]\n0=App,[0]\\a.exe /x,0,0\n",
                           "\n[Registry]\n0=2,Software\\Co,,x,0\n", "\n[AddINI]\n0=Ext,txt,v\n",
                           "\n[Messages]\n0=d2.txt,2,Z:\\m\\d2.txt\n", "ArchiveSize=-5\n",
                           "UnGroup=0\nUnDesc=UnInstall Tool\n",
                           "\n[End]\nReboot=0\n0=[0]\\a.exe\n1=notepad\n",
                           "\n[Web]\nStartURL=http://x\n0=Home,http://x/h\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
}

TEST(DocumentText, ReferencesSurviveASaveAndLoad) {
  CScriptDoc doc = fullDoc();
  std::string text = documentText(doc);
  CScriptDoc loaded([] { return std::uint64_t(1); });
  loadDocumentText(loaded, text);
  EXPECT_EQ(documentText(loaded), text);
  const FileRecord& file = loaded.files.at(0);
  EXPECT_EQ(file.directoryRef, loaded.directories.at(1).key);
  EXPECT_EQ(file.descriptionRef, loaded.descriptions.at(0).key);
  EXPECT_EQ(loaded.files.at(1).directoryRef, 0u) << "-1 loads as no reference";
  EXPECT_EQ(loaded.shortcuts.at(0).fileRef, file.key);
  EXPECT_EQ(loaded.shortcuts.at(0).groupRef, loaded.groups.at(0).key);
  EXPECT_EQ(loaded.uninstall.groupKey, loaded.groups.at(0).key) << "UnGroup resolved";
}

TEST(DocumentText, ReferencesAcrossAnEraseAreWrittenAsMinusOne) {
  CScriptDoc doc = fullDoc();
  doc.eraseEntry(category::Descriptions, doc.descriptions.at(0).key);
  EntryKey first = doc.directories.at(0).key;
  doc.eraseEntry(category::Directories, first);  // the file's directory moves to index 0
  std::string text = documentText(doc);
  EXPECT_NE(text.find("0=A.EX_,a.exe,2,1,0,1,1234,0,-1,"), std::string::npos) << text;
}

TEST(DocumentText, ImportOffsetsReferencesByTheExistingEntries) {
  CScriptDoc other = newDoc();
  loadDocumentText(other, "[Directories]\n0=X,0,0,x\n1=Y,0,0,y\n[Files]\n0=f,f,1,1,0,0,0,1,-1,0,0,p,0\n");
  CScriptDoc doc = newDoc();
  loadDocumentText(doc, "[Directories]\n0=A,0,0,a\n1=B,0,0,b\n2=C,0,0,c\n");
  loadDocumentText(doc, documentText(other));
  ASSERT_EQ(doc.directories.count(), 5);
  ASSERT_EQ(doc.files.count(), 1);
  EXPECT_EQ(doc.files.at(0).directoryRef, doc.directories.at(4).key);
  EXPECT_EQ(doc.directories.at(4).name, "Y");
}

TEST(DocumentText, ImportedUninstallGroupDesignatesTheImportedGroup) {
  CScriptDoc doc = newDoc();
  loadDocumentText(doc, "[Groups]\n0=Mine\n");
  loadDocumentText(doc, "[Peskin]\nUnGroup=0\n[Groups]\n0=Theirs\n");
  EXPECT_EQ(doc.uninstall.groupKey, doc.groups.at(1).key);
}

TEST(DocumentText, MissingFieldsTakeTheirDefaults) {
  CScriptDoc doc = newDoc();
  loadDocumentText(doc, "[Files]\n0=src.exe,dst.exe\n[Directories]\n0=D\n[AddINI]\n0=S\n"
                        "[Registry]\n0=2\n[Shortcuts]\n0=N\n[Messages]\n0=m.txt\n");
  const FileRecord& f = doc.files.at(0);
  EXPECT_EQ(f.sourceName, "src.exe");
  EXPECT_EQ(f.destName, "dst.exe");
  EXPECT_EQ(f.disk, 1);
  EXPECT_EQ(f.uninstall, 1);
  EXPECT_EQ(f.decompress, 1);
  EXPECT_EQ(f.forceCopy, 0);
  EXPECT_EQ(f.size, 0);
  EXPECT_EQ(f.sourcePath, "?");
  EXPECT_EQ(doc.directories.at(0).description, "?");
  EXPECT_EQ(doc.iniEntries.at(0).value, "?");
  EXPECT_EQ(doc.registryEntries.at(0).subkey, "?");
  EXPECT_EQ(doc.registryEntries.at(0).removal, 0) << "a number read from ? is 0";
  EXPECT_EQ(doc.shortcuts.at(0).commandLine, "?");
  EXPECT_EQ(doc.messages.at(0).disk, 0);
}

TEST(DocumentText, LoaderRules) {
  CScriptDoc doc = newDoc();
  int lines = loadDocumentText(doc,
                               "ignored=before any section\r\n"
                               "[descriptions]\r\n0=Copying, please wait\r\n"
                               "[GROUPS]\nno equals sign here\n0=A,B\n"
                               "[Web]\n0=no comma\n1=Site,http://a,b\nstarturl=http://s\n"
                               "[settings]\nappname=Tool\nminCpu=2abc\nUnknown=1\n"
                               "[Background]\nTop=ff\nBottom=0x0000ff\n"
                               "[End]\nREBOOT=2\n7=run.exe\n"
                               " [Files]\n0=not,a,file\n");
  EXPECT_EQ(lines, 14);
  EXPECT_EQ(doc.descriptions.at(0).text, "Copying, please wait");
  EXPECT_EQ(doc.groups.at(0).name, "A,B");
  EXPECT_EQ(doc.web.favoriteNames, (std::vector<std::string>{"", "Site"}));
  EXPECT_EQ(doc.web.favoriteUrls, (std::vector<std::string>{"no comma", "http://a,b"}));
  EXPECT_EQ(doc.web.startUrl, "http://s");
  EXPECT_EQ(doc.settings.appName, "Tool");
  EXPECT_EQ(doc.settings.minCpu, 2);
  EXPECT_EQ(doc.background.top, 0u) << "no 0x prefix: unchanged";
  EXPECT_EQ(doc.background.bottom, 0xffu);
  EXPECT_EQ(doc.endOfInstall.reboot, 2);
  // " [Files]" is not a section line: the next line still belongs to [End].
  EXPECT_EQ(doc.endOfInstall.launch, (std::vector<std::string>{"run.exe", "not,a,file"}));
  EXPECT_EQ(doc.files.count(), 0);
  EXPECT_EQ(doc.count(category::Groups), 1);
}

TEST(DocumentText, TextWithCommasInTheLastTextFieldIsKept) {
  CScriptDoc doc = newDoc();
  doc.settings.appName = "A";
  DirectoryRecord d{"D", 0, 0, "one, two"};
  d.key = doc.newKey();
  doc.appendEntry(d);
  IniRecord ini{"S", "E", "a,b,c"};
  ini.key = doc.newKey();
  doc.appendEntry(ini);
  RegistryRecord reg{1, "K", "N", "x,y", 1};
  reg.key = doc.newKey();
  doc.appendEntry(reg);
  ShortcutRecord sc{0, 0, "Go", "/a,/b"};
  sc.key = doc.newKey();
  doc.appendEntry(sc);
  std::string text = documentText(doc);
  CScriptDoc loaded = newDoc();
  loadDocumentText(loaded, text);
  EXPECT_EQ(loaded.directories.at(0).description, "one, two");
  EXPECT_EQ(loaded.iniEntries.at(0).value, "a,b,c");
  EXPECT_EQ(loaded.registryEntries.at(0).value, "x,y");
  EXPECT_EQ(loaded.registryEntries.at(0).removal, 1);
  EXPECT_EQ(loaded.shortcuts.at(0).commandLine, "/a,/b");
}

TEST(DocumentText, LineBreaksInsideValuesCannotStartNewLines) {
  CScriptDoc doc = newDoc();
  doc.settings.appName = "A\n[Files]\n0=x";
  std::string text = documentText(doc);
  CScriptDoc loaded = newDoc();
  loadDocumentText(loaded, text);
  EXPECT_EQ(loaded.settings.appName, "A [Files] 0=x");
  EXPECT_EQ(loaded.files.count(), 0);
}

TEST(DocumentText, TextWithoutKeyLinesReadsNothing) {
  CScriptDoc doc = newDoc();
  EXPECT_EQ(loadDocumentText(doc, ""), 0);
  EXPECT_EQ(loadDocumentText(doc, "[Settings]\njust words\n\n"), 0);
  EXPECT_EQ(loadDocumentText(doc, std::string("\0\1\2[\xff", 5)), 0);
}

}  // namespace
}  // namespace vandrel::builder
