// Tests of the entry field tables and of reading, cutting and joining entries through them.
#include "script/schema.h"

#include <set>

#include <gtest/gtest.h>

#include "script/list_item.h"

namespace vandrel::script {
namespace {

// Positions run from 1 without gap or repeat, names are unique, and the free-text field
// is one of the fields.
template <typename View>
void expectWellFormed(const char* form) {
  std::set<std::string> names;
  int expected = 1;
  for (const FieldSpec<View>& field : EntryForm<View>::fields) {
    EXPECT_EQ(field.position, expected++) << form << " field " << field.name;
    EXPECT_TRUE(names.insert(field.name).second) << form << " repeats " << field.name;
  }
  int freeText = EntryForm<View>::freeText;
  EXPECT_TRUE(freeText >= 0 && freeText < expected) << form;
}

TEST(EntryForms, NumberTheirFieldsFromOneWithoutGaps) {
  expectWellFormed<DirectoryEntry>("directory");
  expectWellFormed<IniEntry>("ini");
  expectWellFormed<RegistryEntry>("registry");
  expectWellFormed<FileEntry>("file");
  expectWellFormed<ShortcutEntry>("shortcut");
  expectWellFormed<FavoriteEntry>("favorite");
  expectWellFormed<DocumentFileEntry>("document file");
  expectWellFormed<DocumentShortcutEntry>("document shortcut");
  expectWellFormed<DocumentMessageEntry>("document message");
}

// Every field of a view read from value is item k of the comma list, with the reader's
// default for an absent item.
template <typename View>
void expectListItems(std::string_view value) {
  View view = readEntry<View>(value);
  for (const FieldSpec<View>& field : EntryForm<View>::fields) {
    EXPECT_EQ((view.*(field.member)).text("DEF"), listItem(value, field.position, "DEF"))
        << '"' << value << "\" field " << field.name;
  }
}

TEST(ReadEntry, GivesEachFieldItsCommaListItem) {
  const char* values[] = {"",           "a",         "a,",       ",",          "a,,c",
                          ",1,0,",      " a , b ",   "1,2,3,4,5,6,7,8,9,10,11,12,13,14",
                          "x.exe,,,,,", "only one field"};
  for (const char* value : values) {
    expectListItems<DirectoryEntry>(value);
    expectListItems<IniEntry>(value);
    expectListItems<RegistryEntry>(value);
    expectListItems<FileEntry>(value);
    expectListItems<ShortcutEntry>(value);
    expectListItems<FavoriteEntry>(value);
  }
}

TEST(ReadEntry, KeepsTheReadersDefaultsApart) {
  FileEntry file = readEntry<FileEntry>("app.ex_,app.exe");
  EXPECT_EQ(file.target.text(file.source.text("")), "app.exe");
  EXPECT_FALSE(file.dir.present());
  EXPECT_EQ(file.dir.number("-1"), -1);    // the component test's default
  EXPECT_EQ(file.dir.number("1000"), 1000);  // the destination's default
  FileEntry bare = readEntry<FileEntry>("app.exe");
  EXPECT_EQ(bare.target.text(bare.source.text("")), "app.exe");
  EXPECT_EQ(readEntry<FileEntry>("a,b,7x,2").dir.number("0"), 7);  // leading digits
}

struct DocumentCase {
  const char* value;
  std::vector<std::string> expected;  // the fields in position order; "-" for absent
};

template <typename View>
void expectDocumentFields(const DocumentCase& c) {
  View view = readDocumentEntry<View>(c.value);
  std::size_t i = 0;
  for (const FieldSpec<View>& field : EntryForm<View>::fields) {
    ASSERT_LT(i, c.expected.size());
    EXPECT_EQ((view.*(field.member)).text("-"), c.expected[i++])
        << '"' << c.value << "\" field " << field.name;
  }
}

TEST(ReadDocumentEntry, GivesExtraCommasBackToTheFreeTextField) {
  // Directories: the label takes the commas.
  expectDocumentFields<DirectoryEntry>({"Tools,0,1,Help, tools, more", {"Tools", "0", "1", "Help, tools, more"}});
  expectDocumentFields<DirectoryEntry>({"Tools,0", {"Tools", "0", "-", "-"}});
  expectDocumentFields<DirectoryEntry>({"", {"-", "-", "-", "-"}});
  // AddINI: the value; Registry: the data, the removal flag staying last.
  expectDocumentFields<IniEntry>({"Sec,Key,a,b", {"Sec", "Key", "a,b"}});
  expectDocumentFields<RegistryEntry>({"2,Soft\\X,Name,a,b,c,0", {"2", "Soft\\X", "Name", "a,b,c", "0"}});
  // Shortcuts: the command line sits before the two indexes.
  expectDocumentFields<DocumentShortcutEntry>({"App,/a,/b,3,1", {"App", "/a,/b", "3", "1"}});
  expectDocumentFields<DocumentShortcutEntry>({"App,,3,1", {"App", "", "3", "1"}});
  // Files: the source path, before the shared flag.
  expectDocumentFields<DocumentFileEntry>(
      {"a.ex_,a.exe,1,1,0,1,10,0,-1,0,0,C:\\x,y\\a.ex_,1",
       {"a.ex_", "a.exe", "1", "1", "0", "1", "10", "0", "-1", "0", "0", "C:\\x,y\\a.ex_", "1"}});
  expectDocumentFields<DocumentMessageEntry>({"d.txt,2,C:\\m,n.txt", {"d.txt", "2", "C:\\m,n.txt"}});
}

TEST(EntryValue, WritesEveryFieldInPositionOrderOnOneLine) {
  FileEntry file;
  file.source = "a.ex_";
  file.target = "a.exe";
  file.dir = "4";
  file.disk = "1";
  file.desc = "0";
  file.uninstall = "1";
  file.force = "0";
  file.expand = "1";
  file.size = "120";
  file.platform = "0";
  file.shared = "1";
  EXPECT_EQ(entryValue(file), "a.ex_,a.exe,4,1,0,1,0,1,120,0,1");

  DirectoryEntry dir;
  dir.path = "Tools";
  dir.root = "0";
  dir.label = "Two\r\nlines";  // a break would end the line early
  EXPECT_EQ(entryValue(dir), "Tools,0,,Two  lines");

  RegistryEntry written{"2", "Software\\X", "", "[1]\\a.exe", "0"};
  RegistryEntry read = readEntry<RegistryEntry>(entryValue(written));
  for (const FieldSpec<RegistryEntry>& field : EntryForm<RegistryEntry>::fields) {
    EXPECT_EQ((read.*(field.member)).text("absent"), (written.*(field.member)).text("absent"))
        << field.name;
  }
}

TEST(Sections, CountedSectionsHaveCountKeysAndTheDocumentListsFourteen) {
  for (Section s : {Section::Directories, Section::Descriptions, Section::Groups,
                    Section::AddIni, Section::Registry, Section::Files, Section::Shortcuts,
                    Section::Messages, Section::SharedFiles, Section::AddedLinks,
                    Section::AddedFolders}) {
    EXPECT_EQ(countKey(s).substr(0, 2), "nb") << sectionName(s);
  }
  for (Section s : {Section::Settings, Section::Background, Section::End, Section::UnInstall,
                    Section::Owner, Section::Web, Section::Peskin}) {
    EXPECT_EQ(countKey(s), "") << sectionName(s);
  }
  std::set<std::string> names;
  for (Section s : documentSections()) names.insert(sectionName(s));
  EXPECT_EQ(names.size(), 14u);
  EXPECT_EQ(names.count("UnInstall"), 0u);  // written by the setup, never by the builder
}

}  // namespace
}  // namespace vandrel::script
