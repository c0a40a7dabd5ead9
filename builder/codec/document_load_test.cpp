// Tests of what the document text loader notes about the lines it cannot read as written:
// each kind of mistake with its line, severity and message, and what the document holds.
#include <gtest/gtest.h>

#include "builder/codec/document_text.h"

namespace vandrel::builder {
namespace {

CScriptDoc emptyDoc() { return CScriptDoc([] { return std::uint64_t(1); }); }

struct Expected {
  int line;
  Severity severity;
  std::string message;
};

struct Case {
  const char* name;
  std::string text;
  std::vector<Expected> notes;
};

constexpr Severity W = Severity::Warning;
constexpr Severity E = Severity::Error;

const std::vector<Case>& cases() {
  static const std::vector<Case> all{
      {"unknown section inside another", "[Settings]\n[Setings]\nAppName=x\n",
       {{2, E, "unknown section [Setings]; the lines below it are read as part of [Settings] "
               "until the next known section"}}},
      {"unknown section first", "[Setings]\nAppName=x\n",
       {{1, E, "unknown section [Setings]; the lines below it are ignored until the next known "
               "section"},
        {2, W, "a line before the first section is ignored"}}},
      {"section line with a blank", "[Settings]\n[Files] \n0=a\n",
       {{2, E, "section line \"[Files] \" has blanks around it and is not read as [Files]; the "
               "lines below it are read as part of [Settings]"},
        {3, W, "unknown key \"0\" in [Settings] is ignored"}}},
      {"unknown key", "[Settings]\nAppNme=Tool\n[Owner]\nAuthr=me\n",
       {{2, W, "unknown key \"AppNme\" in [Settings] is ignored"},
        {4, W, "unknown key \"Authr\" in [Owner] is ignored"}}},
      {"key with a blank", "[Settings]\nAppName =Tool\n",
       {{2, W, "unknown key \"AppName \" in [Settings] is ignored"}}},
      {"unknown key of [Peskin]", "[Peskin]\nUnGrp=1\n",
       {{2, W, "unknown key \"UnGrp\" in [Peskin] is ignored"}}},
      {"duplicate key, the later wins", "[Settings]\nAppName=First\nVer=1\nappname=Second\n",
       {{4, W, "duplicate key \"AppName\" in [Settings] (first on line 2): the value on this "
               "line replaces it"}}},
      {"duplicate Reboot and StartURL", "[End]\nReboot=1\nReboot=2\n[Web]\nStartURL=a\nStartUrl=b\n",
       {{3, W, "duplicate key \"Reboot\" in [End] (first on line 2): the value on this line "
               "replaces it"},
        {6, W, "duplicate key \"StartURL\" in [Web] (first on line 5): the value on this line "
               "replaces it"}}},
      {"too few fields", "[Files]\n0=a.exe,a.exe\n[Directories]\n0=Bin\n",
       {{2, E, "[Files] entry has 2 field(s), 13 expected; the missing ones from disk on take "
               "their defaults"},
        {4, E, "[Directories] entry has 1 field(s), 4 expected; the missing ones from root on "
               "take their defaults"}}},
      {"empty entry", "[Shortcuts]\n0=\n",
       {{2, E, "[Shortcuts] entry has 0 field(s), 4 expected; the missing ones from name on take "
               "their defaults"}}},
      {"too many fields in a file", "[Files]\n0=a.exe,a.exe,1,1,0,0,5,-1,-1,0,0,src,1,0\n",
       {{2, W, "[Files] entry has 14 fields, 13 expected; the extra commas are read as part of "
               "its sourcePath \"src,1\""}}},
      {"too many fields in a shortcut",
       "[Groups]\n0=G\n[Files]\n0=a,a,1,1,0,0,5,-1,-1,0,0,src,0\n[Shortcuts]\n0=Tool,/a,/b,0,0\n",
       {{6, W, "[Shortcuts] entry has 5 fields, 4 expected; the extra commas are read as part of "
               "its arguments \"/a,/b\""}}},
      {"commas in free texts that end their line or hold values",
       "[Directories]\n0=Bin,0,0,Programs, tools\n[Descriptions]\n0=a,b\n[AddINI]\n0=S,K,a,b\n"
       "[Registry]\n0=0,.txt\\DefaultIcon,,a.exe,0,1\n[Messages]\n0=m.txt,2,C:\\a,b\\m.txt\n"
       "[Web]\n0=Home,http://x/?a=1,2\n",
       {}},
      {"non-number settings", "[Settings]\nShowLicence=yes\nnCompil=12a\nminCpu=\n",
       {{2, E, "ShowLicence \"yes\" is not a whole number; read as 0"},
        {3, E, "nCompil \"12a\" is not a whole number; read as 12"},
        {4, E, "minCpu \"\" is not a whole number; read as 0"}}},
      {"numbers with a sign and blanks", "[Settings]\nArchiveSize=-5\nnCompil= +7 \n", {}},
      {"beyond 32 bits", "[Settings]\nArchiveSize=99999999999\n",
       {{2, E, "ArchiveSize 99999999999 is beyond the 32-bit range; read as 2147483647"}}},
      {"non-number fields", "[Files]\n0=a.exe,a.exe,one,1,0,0,5,-1,-1,0,0,src,0\n"
                            "[Registry]\n0=HKLM,Software\\A,v,x,1\n[Messages]\n0=m.txt,two,m.txt\n",
       {{2, E, "field disk \"one\" is not a whole number; read as 0"},
        {4, E, "field root \"HKLM\" is not a whole number; read as 0"},
        {6, E, "field disk \"two\" is not a whole number; read as 0"}}},
      {"colours", "[Background]\nTop=ff0000\nBottom=0x00ff0000zz\n",
       {{2, E, "Top \"ff0000\" is not a colour written 0x00BBGGRR; read as 0x00000000"},
        {3, E, "Bottom \"0x00ff0000zz\" is not a colour written 0x00BBGGRR; read as 0x00ff0000"}}},
      {"numbers of [Peskin] and [End]", "[Peskin]\nUnGroup=first\n[End]\nReboot=no\n",
       {{2, E, "UnGroup \"first\" is not a whole number; read as 0"},
        {4, E, "Reboot \"no\" is not a whole number; read as 0"},
        {2, W, "UnGroup 0 names no entry of [Groups] (0 read); it is not used"}}},
      {"entry keys that are not positions", "[Groups]\n1=A\n2=B\n[Descriptions]\n0=X\n0=Y\n",
       {{2, W, "[Groups] entry \"1\" is entry 0 of the section: references count entries in the "
               "order written, not by their keys"},
        {3, W, "[Groups] entry \"2\" is entry 1 of the section: references count entries in the "
               "order written, not by their keys"},
        {6, W, "[Descriptions] entry \"0\" is entry 1 of the section: references count entries in "
               "the order written, not by their keys"}}},
      {"references to entries not read", "[Files]\n0=a,a,1,1,0,0,5,0,-1,0,0,src,0\n[Directories]\n"
       "0=Bin,0,0,x\n[Files]\n1=b,b,1,1,0,0,5,0,1,0,0,src,0\n[Shortcuts]\n0=S,,2,-2\n"
       "[Peskin]\nUnGroup=0\n",
       {{2, E, "field dir 0 names no entry of [Directories] (0 read so far); read as none"},
        {5, W, "section [Files] appears again (first on line 1); its lines are read as part of it"},
        {6, E, "field desc 1 names no entry of [Descriptions] (0 read so far); read as none"},
        {8, E, "field file 2 names no entry of [Files] (2 read so far); read as none"},
        {8, E, "field group -2 names no entry of [Groups] (0 read so far); read as none"},
        {10, W, "UnGroup 0 names no entry of [Groups] (0 read); it is not used"}}},
      {"keys of [End] and [Web]", "[End]\nRebot=1\n0=run.exe\n[Web]\nHome=Site,http://x\n",
       {{2, W, "key \"Rebot\" in [End] is neither Reboot nor a number; its value is read as a "
               "command to run at the end"},
        {5, W, "key \"Home\" in [Web] is neither StartURL nor a number; its value is read as a "
               "favourite"}}},
      {"lines without =", "AppName Tool\n[Settings]\nVer 1.0\n; a comment\n   \n",
       {{1, W, "line without \"=\" is ignored: \"AppName Tool\""},
        {3, W, "line without \"=\" is ignored: \"Ver 1.0\""}}},
      {"comments holding =", "; x=1\n[Settings]\n;AppName=Old\n[Groups]\n; 0=G\n",
       {{1, W, "a comment holding \"=\" is read as a key line: \"; x=1\""},
        {3, W, "a comment holding \"=\" is read as a key line: \";AppName=Old\""},
        {5, W, "a comment holding \"=\" is read as a key line: \"; 0=G\""}}},
      {"a section given twice", "[Groups]\n0=A\n[Settings]\nVer=1\n[groups]\n1=B\n",
       {{5, W, "section [Groups] appears again (first on line 1); its lines are read as part of "
               "it"}}},
      {"carriage returns", "[Settings]\r\nAppName=a\r\nAppNam=b\r\n",
       {{3, W, "unknown key \"AppNam\" in [Settings] is ignored"}}},
  };
  return all;
}

TEST(DocumentLoadNotes, EachMistakeWithItsLine) {
  for (const Case& c : cases()) {
    CScriptDoc doc = emptyDoc();
    LoadDiagnostics notes;
    loadDocumentText(doc, c.text, notes, "doc.txt");
    std::vector<std::string> got, want;
    for (const LoadDiagnostic& d : notes) {
      EXPECT_EQ(d.file, "doc.txt");
      got.push_back(std::to_string(d.line) + (d.severity == E ? " E " : " W ") + d.message);
    }
    for (const Expected& e : c.notes) {
      want.push_back(std::to_string(e.line) + (e.severity == E ? " E " : " W ") + e.message);
    }
    EXPECT_EQ(got, want) << c.name;

    // The notes change nothing in what is loaded.
    CScriptDoc plain = emptyDoc(), noted = emptyDoc();
    LoadDiagnostics again;
    EXPECT_EQ(loadDocumentText(plain, c.text), loadDocumentText(noted, c.text, again)) << c.name;
    EXPECT_EQ(documentText(plain), documentText(doc)) << c.name;
  }
}

TEST(DocumentLoadNotes, WhatIsKeptIsWhatTheNotesSay) {
  CScriptDoc doc = emptyDoc();
  LoadDiagnostics notes;
  loadDocumentText(doc,
                   "[Settings]\nAppName=First\nappname=Second\nShowLicence=yes\n"
                   "[Background]\nTop=ff0000\n[Files]\n0=a.exe,a.exe\n"
                   "1=b.exe,b.exe,1,1,0,0,5,-1,-1,0,0,src,1,0\n",
                   notes);
  EXPECT_EQ(doc.settings.appName, "Second");
  EXPECT_EQ(doc.settings.showLicence, 0);
  EXPECT_EQ(doc.background.top, 0u);
  ASSERT_EQ(doc.files.count(), 2);
  EXPECT_EQ(doc.files.at(0).disk, 1);
  EXPECT_EQ(doc.files.at(0).decompress, 1);
  EXPECT_EQ(doc.files.at(1).sourcePath, "src,1");
  EXPECT_EQ(doc.files.at(1).shared, 0);
  EXPECT_EQ(errorCount(notes), 3);
  EXPECT_EQ(notes.size(), 5u);
  EXPECT_EQ(diagnosticText(notes[0]), "line 3: warning: duplicate key \"AppName\" in [Settings] "
                                      "(first on line 2): the value on this line replaces it");
  notes[2].file = "a.txt";
  EXPECT_EQ(diagnosticText(notes[2]),
            "a.txt:6: error: Top \"ff0000\" is not a colour written 0x00BBGGRR; read as 0x00000000");
}

// A file that is no document gives a note per line: the first 200 are kept, the rest is
// counted in one last note, an error when any of them is.
TEST(DocumentLoadNotes, ManyNotesEndInACount) {
  std::string text = "[Settings]\n";
  for (int i = 0; i < 250; ++i) text += "junk\n";
  text += "ShowLicence=x\n";
  CScriptDoc doc = emptyDoc();
  LoadDiagnostics notes;
  loadDocumentText(doc, text, notes);
  ASSERT_EQ(notes.size(), 201u);
  EXPECT_EQ(errorCount(notes), 1);
  EXPECT_EQ(diagnosticText(notes.back()), "line 252: error: 51 more note(s) left out, 1 of them error(s)");

  text.clear();
  for (int i = 0; i < 201; ++i) text += "junk\n";
  LoadDiagnostics warnings;
  loadDocumentText(doc, text, warnings);
  ASSERT_EQ(warnings.size(), 201u);
  EXPECT_EQ(errorCount(warnings), 0);
  EXPECT_EQ(warnings.back().message, "1 more note(s) left out, 0 of them error(s)");
}

// What the writer puts down, the loader reads without a note: every entry kind, references,
// commas where a free text may hold them, launch commands and favourites.
TEST(DocumentLoadNotes, TheWrittenFormLoadsWithoutNotes) {
  CScriptDoc doc = emptyDoc();
  doc.onNewDocument("ann");
  loadDocumentText(doc,
                   "[Settings]\nAppName=Tool\n[Directories]\n0=Bin,0,1,Programs, tools\n"
                   "[Descriptions]\n0=Copying, please wait\n[Groups]\n0=Tool\n"
                   "[AddINI]\n0=Tool,Path,[1]\n[Registry]\n0=0,Tool\\DefaultIcon,,[0]\\t.exe,0,1\n"
                   "[Files]\n0=t.exe,t.exe,1,1,0,0,5,0,0,0,0,.,0\n[Shortcuts]\n0=Tool,/x,0,0\n"
                   "[Messages]\n0=m.txt,1,m.txt\n[End]\nReboot=0\n0=[0]\\t.exe\n"
                   "[Web]\nStartURL=http://x\n0=Home,http://x/?a,b\n");
  std::string text = documentText(doc);
  CScriptDoc loaded = emptyDoc();
  LoadDiagnostics notes;
  loadDocumentText(loaded, text, notes);
  EXPECT_TRUE(notes.empty()) << diagnosticText(notes.front());
  EXPECT_EQ(documentText(loaded), text);
}

}  // namespace
}  // namespace vandrel::builder
