// Script.vrx written from documents: the whole text of a typical document, then one rule at
// a time (tree order, the fixed directories, the built-in uninstaller, references that
// designate no entry, texts of minCpu and minWin, messages, failures).
#include "builder/generate/script_writer.h"

#include <gtest/gtest.h>

#include "builder/generate/generate_test_support.h"
#include "builder/tree/script_tree.h"

namespace vandrel::builder {
namespace {

using testing::addDescription;
using testing::addDirectory;
using testing::addFile;
using testing::addGroup;
using testing::addIni;
using testing::addMessage;
using testing::addRegistry;
using testing::addShortcut;
using testing::crlfLines;

// The lines of one section: from its "[name]" line up to the next empty line.
std::vector<std::string> sectionLines(const std::string& text, const std::string& name) {
  std::vector<std::string> all = crlfLines(text), out;
  bool in = false;
  for (const std::string& line : all) {
    if (line == "[" + name + "]") in = true;
    else if (in && line.empty()) break;
    else if (in) out.push_back(line);
  }
  return out;
}

std::string generated(CScriptDoc& doc, std::int64_t uninstallerSize = 100) {
  return scriptText(doc, ScriptTree(doc).entryOrder(), uninstallerSize);
}

TEST(ScriptText, TypicalDocumentLineByLine) {
  CScriptDoc doc;
  doc.settings.appName = "Tool";
  doc.settings.ver = "2.0";
  doc.settings.defDir = "Tool";
  doc.properties.author = "ann";
  EntryKey data = addDirectory(doc, "Data", 0, 1, "Samples");
  EntryKey bin = addDirectory(doc, "Bin", 0, 0, "Programs");
  EntryKey desc = addDescription(doc, "Program files");
  EntryKey group = addGroup(doc, "Tool");
  addIni(doc, "Tool", "Path", "[0]");
  addRegistry(doc, 1, "Software\\Orlwen\\Tool", "Dir", "[1]");
  EntryKey tool = addFile(doc, "tool.exe", 1000, 1, bin);
  doc.files.at(0).descriptionRef = desc;
  addFile(doc, "sample.dat", 20, 1, data);
  addShortcut(doc, tool, group, "Tool");
  doc.endOfInstall.launch = {"[0]\\tool.exe /first"};
  doc.web.startUrl = "http://example.org/";
  doc.web.favoriteNames = {"Tool home"};
  doc.web.favoriteUrls = {"http://example.org/"};

  std::vector<std::string> expected{
      "",
      ";---> Vandrel v3.0 Script file",
      ";<--- Install script written by the Corvix installation builder",
      "",
      "[Settings]",
      "AppName=Tool", "Ver=2.0", "Title=", "LoadTxt=", "LoadBmp=", "DefDir=Tool",
      "ShowLicence=1", "Type=0", "RegInfo=1", "OwnMsg=", "minCpu=486", "minWin=95", "nCompil=0",
      "",
      "[Background]",
      "Gradient=1", "Vert=1", "Bitmap=0", "BmpName=", "BmpMode=0", "Caption=0",
      "Top=0x00000000", "Bottom=0x00ff0000",
      "",
      "[Owner]",
      "Author=ann", "Subject=", "Template=",
      "",
      "[Directories]",
      "nbDir=6", "0=Bin,0,0,Programs", "1=Data,0,1,Samples", "2=,0,0,", "3=,1,0,", "4=,2,0,",
      "5=,3,0,",
      "",
      "[Descriptions]",
      "nbDesc=1", "0=Program files",
      "",
      "[Groups]",
      "nbGrp=1", "0=Tool",
      "",
      "[AddINI]",
      "nbINI=1", "0=Tool,Path,[0]",
      "",
      "[Registry]",
      "nbReg=6", "0=1,Software\\Orlwen\\Tool,Dir,[1],1",
      "1=2,Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool 2.0,DisplayName,Tool 2.0,1",
      "2=2,Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool 2.0,UninstallString,"
      "[5]\\Peskin32.exe [2],0",
      // What Apps & features shows besides: the version, the publisher, the icon.
      "3=2,Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool 2.0,DisplayVersion,2.0,1",
      "4=2,Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool 2.0,Publisher,ann,1",
      "5=2,Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool 2.0,DisplayIcon,"
      "[5]\\Peskin32.exe,1",
      "",
      "[Files]",
      "nbFiles=3", "0=Peskin32.ex_,Peskin32.exe,5,1,1000,0,1,1,100,0,0",
      // No description: the rule for a reference without entry gives the last one.
      "1=sample.dat,sample.dat,1,1,0,1,0,0,20,0,0",
      "2=tool.exe,tool.exe,0,1,0,1,0,0,1000,0,0",
      "",
      "[Shortcuts]",
      "nbAdd=2", "0=Peskin32.exe,5,0,UnInstall Tool,[2],0", "1=tool.exe,0,0,Tool,,0",
      "",
      "[Messages]",
      "nbMsg=0",
      "",
      "[End]",
      "Reboot=0", "0=[0]\\tool.exe /first",
      "",
      "[Web]",
      "StartURL=http://example.org/", "0=Tool home,http://example.org/",
  };
  EXPECT_EQ(crlfLines(generated(doc)), expected);
  // The uninstaller's group was not set: the script takes the first group, and the document
  // stays as it was until the edit that goes with a composed script stores that choice.
  EXPECT_EQ(doc.uninstall.groupKey, 0u);
  EXPECT_FALSE(doc.isModified());
  EXPECT_EQ(doc.uninstall.unDesc, "");
  doc.settleUninstaller();
  EXPECT_EQ(doc.uninstall.groupKey, group);
  EXPECT_TRUE(doc.isModified());
  EXPECT_EQ(doc.uninstall.unDesc, "UnInstall Tool");
  EXPECT_EQ(crlfLines(generated(doc)), expected) << "the stored choice gives the same script";
}

TEST(ScriptText, EntriesAreNumberedInLabelOrderAndReferencedByPosition) {
  CScriptDoc doc;
  doc.settings.ownUnInstall = 1;
  // Appended in the order z, a, M: labels sort without regard to case.
  EntryKey gz = addGroup(doc, "zeta");
  EntryKey ga = addGroup(doc, "alpha");
  addGroup(doc, "Mid");
  EntryKey dWin = addDirectory(doc, "Alpha", 3);  // "Create [Windows]\Alpha"
  EntryKey dIns = addDirectory(doc, "Zulu", 0);   // "Create [Install]\Zulu"
  EntryKey b = addFile(doc, "b.exe", 1, 1, dWin);
  EntryKey a = addFile(doc, "a.exe", 2, 1, dIns);
  addShortcut(doc, b, gz, "B link");
  addShortcut(doc, a, ga, "A link", "[0]\\x");
  std::string text = generated(doc);
  EXPECT_EQ(sectionLines(text, "Groups"),
            (std::vector<std::string>{"nbGrp=3", "0=alpha", "1=Mid", "2=zeta"}));
  EXPECT_EQ(sectionLines(text, "Directories"),
            (std::vector<std::string>{"nbDir=6", "0=Zulu,0,0,d", "1=Alpha,3,0,d", "2=,0,0,",
                                      "3=,1,0,", "4=,2,0,", "5=,3,0,"}));
  EXPECT_EQ(sectionLines(text, "Files"),
            (std::vector<std::string>{"nbFiles=2", "0=a.exe,a.exe,0,1,-1,1,0,0,2,0,0",
                                      "1=b.exe,b.exe,1,1,-1,1,0,0,1,0,0"}));
  // "Declare [Install]\Zulu\a.exe ..." sorts before "Declare [Windows]\Alpha\b.exe ...".
  EXPECT_EQ(sectionLines(text, "Shortcuts"),
            (std::vector<std::string>{"nbAdd=2", "0=a.exe,0,0,A link,[0]\\x,0",
                                      "1=b.exe,1,2,B link,,0"}));
  doc.settleUninstaller();
  EXPECT_FALSE(doc.isModified()) << "an own uninstaller takes no group";
}

TEST(ScriptText, FixedDirectoriesFollowTheAuthorsOnes) {
  CScriptDoc doc;
  doc.settings.ownUnInstall = 1;
  addDirectory(doc, "A");
  addDirectory(doc, "B");
  addDirectory(doc, "C");
  addFile(doc, "sys.dll", 5, 1, 0, 2);
  addFile(doc, "win.ini", 5, 1, 0, 3);
  std::string text = generated(doc);
  std::vector<std::string> dirs = sectionLines(text, "Directories");
  ASSERT_EQ(dirs.size(), 8u);
  EXPECT_EQ(dirs[0], "nbDir=7");
  EXPECT_EQ(std::vector<std::string>(dirs.begin() + 4, dirs.end()),
            (std::vector<std::string>{"3=,0,0,", "4=,1,0,", "5=,2,0,", "6=,3,0,"}));
  std::vector<std::string> files = sectionLines(text, "Files");
  EXPECT_EQ(files[1], "0=sys.dll,sys.dll,5,1,-1,1,0,0,5,0,0");
  EXPECT_EQ(files[2], "1=win.ini,win.ini,6,1,-1,1,0,0,5,0,0");

  CScriptDoc empty;
  EXPECT_EQ(sectionLines(generated(empty), "Directories"),
            (std::vector<std::string>{"nbDir=4", "0=,0,0,", "1=,1,0,", "2=,2,0,", "3=,3,0,"}));
}

struct KindCase {
  int nSyst;
  int language;
  std::vector<std::string> registry;
  std::string uninstallerFile;
  std::string uninstallerLink;
};

TEST(ScriptText, BuiltInUninstallerByEngineKind) {
  const std::string key = "2,Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App 1,";
  const std::vector<KindCase> cases{
      // 16 bits only: the registrations are counted but never written.
      {0, 0, {"nbReg=3", "0=0,.x,,x,1"}, "0=Peskin16.ex_,Peskin16.exe,3,1,1000,0,1,1,7,0,0",
       "0=Peskin16.exe,3,-1,UnInstall App,[0],0"},
      {1, 0,
       {"nbReg=5", "0=0,.x,,x,1", "1=" + key + "DisplayName,App 1,1",
        "2=" + key + "UninstallString,[3]\\Peskin32.exe [0],0", "3=" + key + "DisplayVersion,1,1",
        "4=" + key + "DisplayIcon,[3]\\Peskin32.exe,1"},
       "0=Peskin32.ex_,Peskin32.exe,3,1,1000,0,1,1,7,0,0", "0=Peskin32.exe,3,-1,UnInstall App,[0],0"},
      // Both kinds: the 16-bit uninstaller is installed, the 32-bit one is registered.
      {2, 1,
       {"nbReg=5", "0=0,.x,,x,1", "1=" + key + "DisplayName,App 1,1",
        "2=" + key + "UninstallString,[3]\\Peskin32.exe [0],0", "3=" + key + "DisplayVersion,1,1",
        "4=" + key + "DisplayIcon,[3]\\Peskin32.exe,1"},
       "0=Peskin16.ex_,Peskin16.exe,3,1,1000,0,1,1,7,0,0", "0=Peskin16.exe,3,-1,UnInstall App,[0],0"},
  };
  for (const KindCase& c : cases) {
    SCOPED_TRACE("nSyst " + std::to_string(c.nSyst));
    CScriptDoc doc;
    doc.settings.appName = "App";
    doc.settings.ver = "1";
    doc.settings.nSyst = c.nSyst;
    doc.settings.language = c.language;
    addRegistry(doc, 0, ".x", "", "x");
    std::string text = generated(doc, 7);
    EXPECT_EQ(sectionLines(text, "Registry"), c.registry);
    EXPECT_EQ(sectionLines(text, "Files"), (std::vector<std::string>{"nbFiles=1", c.uninstallerFile}));
    EXPECT_EQ(sectionLines(text, "Shortcuts"), (std::vector<std::string>{"nbAdd=1", c.uninstallerLink}));
  }
}

TEST(ScriptText, OwnUninstallerAddsNothing) {
  CScriptDoc doc;
  doc.settings.ownUnInstall = 1;
  addRegistry(doc, 2, "Software\\A", "v", "1", 0);
  EntryKey f = addFile(doc, "a.exe", 3);
  addShortcut(doc, f, 0, "A");
  std::string text = generated(doc);
  EXPECT_EQ(sectionLines(text, "Registry"),
            (std::vector<std::string>{"nbReg=1", "0=2,Software\\A,v,1,0"}));
  EXPECT_EQ(sectionLines(text, "Files"),
            (std::vector<std::string>{"nbFiles=1", "0=a.exe,a.exe,0,1,-1,1,0,0,3,0,0"}));
  EXPECT_EQ(sectionLines(text, "Shortcuts"), (std::vector<std::string>{"nbAdd=1", "0=a.exe,0,-1,A,,0"}));
}

TEST(ScriptText, UninstallerGroupAndName) {
  CScriptDoc doc;
  doc.settings.appName = "App";
  EntryKey first = addGroup(doc, "Zed");   // first declared, last in label order
  EntryKey chosen = addGroup(doc, "Able");
  doc.uninstall.groupKey = chosen;
  doc.uninstall.unDesc = "Remove App  ";
  std::vector<std::string> links = sectionLines(generated(doc), "Shortcuts");
  EXPECT_EQ(links[1], "0=Peskin32.exe,3,0,Remove App,[0],0");
  doc.settleUninstaller();
  EXPECT_EQ(doc.uninstall.groupKey, chosen);
  EXPECT_FALSE(doc.isModified()) << "the choice stands";

  // A group that was erased no longer counts as chosen: the first declared one is taken.
  doc.eraseEntry(category::Groups, chosen);
  doc.setModifiedFlag(false);
  links = sectionLines(generated(doc), "Shortcuts");
  EXPECT_EQ(links[1], "0=Peskin32.exe,3,0,Remove App,[0],0");
  EXPECT_EQ(doc.uninstall.groupKey, chosen) << "the script alone changes nothing";
  doc.settleUninstaller();
  EXPECT_EQ(doc.uninstall.groupKey, first);
  EXPECT_TRUE(doc.isModified());
}

TEST(ScriptText, ReferencesWithoutEntry) {
  CScriptDoc doc;
  doc.settings.ownUnInstall = 1;
  addDescription(doc, "b text");
  addDescription(doc, "a text");
  addGroup(doc, "G1");
  addGroup(doc, "G2");
  EntryKey f = addFile(doc, "a.exe", 1);
  doc.files.at(0).descriptionRef = 9999;  // a description that was erased
  EntryKey gone = addFile(doc, "gone.exe", 1);
  addShortcut(doc, f, 0, "no group");      // "Declare [Install]\a.exe in group [None]"
  addShortcut(doc, gone, 0, "to erased");  // "Declare [File Not Found] ..." once gone is erased
  addShortcut(doc, f, 0, "third");         // same label as the first: list order kept
  doc.eraseEntry(category::Files, gone);
  std::string text = generated(doc);
  EXPECT_EQ(sectionLines(text, "Files")[1], "0=a.exe,a.exe,0,1,1,1,0,0,1,0,0");
  // The shortcut to an erased file sorts first and uses up its number: key 0 is missing.
  // Without a group the last group in label order (G2) is written.
  std::vector<std::string> links = sectionLines(text, "Shortcuts");
  EXPECT_EQ(links, (std::vector<std::string>{"nbAdd=3", "1=a.exe,0,1,no group,,0",
                                             "2=a.exe,0,1,third,,0"}));
}

TEST(ScriptText, ProcessorAndWindowsTexts) {
  struct Case {
    int cpu, win;
    const char* cpuText;
    const char* winText;
  };
  for (Case c : {Case{0, 0, "386", "3.1"}, Case{1, 1, "486", "3.11"}, Case{2, 2, "586", "Win32s"},
                 Case{2, 3, "586", "95"}, Case{0, 4, "386", "NT"}, Case{2, 5, "586", "NT4"},
                 Case{3, 6, "486", "95"}, Case{-1, -1, "486", "95"}}) {
    CScriptDoc doc;
    doc.settings.minCpu = c.cpu;
    doc.settings.minWin = c.win;
    std::vector<std::string> lines = sectionLines(generated(doc), "Settings");
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[10], std::string("minCpu=") + c.cpuText) << c.cpu;
    EXPECT_EQ(lines[11], std::string("minWin=") + c.winText) << c.win;
    EXPECT_EQ(lines[12], "nCompil=0");
  }
}

TEST(ScriptText, MessagesAreKeyedByDisk) {
  CScriptDoc doc;
  addMessage(doc, "disk2b.txt", 2, "C:\\Src\\b.txt");
  addMessage(doc, "disk2a.txt", 2, "C:\\Src\\a.txt");
  addMessage(doc, "first.txt", 1, "C:\\Src\\f.txt");
  EXPECT_EQ(sectionLines(generated(doc), "Messages"),
            (std::vector<std::string>{"nbMsg=3", "1=first.txt", "2=disk2a.txt", "2=disk2b.txt"}));
}

TEST(ScriptText, LineBreaksInsideValuesBecomeBlanks) {
  CScriptDoc doc;
  doc.settings.ownMsg = "line one\nline two";
  doc.settings.appName = "A\r\nB";
  addIni(doc, "S", "K", "v1\nv2");
  std::string text = generated(doc);
  EXPECT_EQ(sectionLines(text, "Settings")[0], "AppName=A  B");
  EXPECT_EQ(sectionLines(text, "Settings")[9], "OwnMsg=line one line two");
  EXPECT_EQ(sectionLines(text, "AddINI")[1], "0=S,K,v1 v2");
  for (const std::string& line : crlfLines(text)) {
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
  }
}

TEST(WriteScript, WritesTheFileAndTakesTheUninstallerSize) {
  testing::MemoryBuilder b;
  b.companion("Pes32E.ex_", 4321);
  b.files.makeDirectories("C:\\Out");
  CScriptDoc doc;
  EntryOrder order = ScriptTree(doc).entryOrder();
  ASSERT_TRUE(writeScript(doc, order, b.context, "C:\\Out\\Script.vrx"));
  std::string text = *b.files.readFile("C:\\Out\\Script.vrx");
  EXPECT_EQ(sectionLines(text, "Files")[1], "0=Peskin32.ex_,Peskin32.exe,3,1,1000,0,1,1,4321,0,0");
  EXPECT_TRUE(b.ui.messages.empty());

  // No uninstaller beside the builder: size 0.
  doc.settings.language = 1;
  ASSERT_TRUE(writeScript(doc, order, b.context, "C:\\Out\\Script.vrx"));
  text = *b.files.readFile("C:\\Out\\Script.vrx");
  EXPECT_EQ(sectionLines(text, "Files")[1], "0=Peskin32.ex_,Peskin32.exe,3,1,1000,0,1,1,0,0,0");
}

TEST(WriteScript, FailureIsReported) {
  testing::MemoryBuilder b;
  b.files.makeDirectories("C:\\Out");
  CScriptDoc doc;
  EntryOrder order = ScriptTree(doc).entryOrder();
  EXPECT_FALSE(writeScript(doc, order, b.context, "C:\\Missing\\Script.vrx"));
  b.files.failWritesAfter(10);
  EXPECT_FALSE(writeScript(doc, order, b.context, "C:\\Out\\Script.vrx"));
  ASSERT_EQ(b.ui.messages.size(), 2u);
  for (const ui::Message& m : b.ui.messages) {
    EXPECT_EQ(m.text, "An error has occured during the saving process. Please check your save "
                      "device and try again.");
    EXPECT_EQ(m.icon, ui::Icon::Stop);
  }
}

}  // namespace
}  // namespace vandrel::builder
