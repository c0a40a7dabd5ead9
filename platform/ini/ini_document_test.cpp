// Tests of INI parsing, lookup and editing by the profile rules.
#include "platform/ini/ini_document.h"

#include <gtest/gtest.h>

namespace vandrel::platform {
namespace {

const char* const kText =
    "; leading comment\r\n"
    "orphan=outside any section\r\n"
    "[Settings]\r\n"
    "AppName=Demo App\r\n"
    "  Title  =   Spaced Value   \r\n"
    "Quoted=\"  kept blanks  \"\r\n"
    "Single='single'\r\n"
    "Half=\"open\r\n"
    "Mixed=\"a'\r\n"
    "Inner=a \"b\" c\r\n"
    "Lone=\"\r\n"
    "Empty=\r\n"
    "NoEquals\r\n"
    ";Commented=1\r\n"
    "  ;Indented=1\r\n"
    "Tail=x ; not a comment\r\n"
    "dup=first\r\n"
    "DUP=second\r\n"
    "=nameless\r\n"
    "Eq=a=b\r\n"
    "\r\n"
    "[ Files ]\r\n"
    "nbFiles=2\r\n"
    "[settings]\r\n"
    "AppName=Second Section\r\n"
    "Extra=only in second\r\n";

TEST(IniDocument, ValueLookupRules) {
  IniDocument doc = IniDocument::parse(kText);
  const struct {
    const char* section;
    const char* key;
    const char* expected;  // nullptr: missing
  } cases[] = {
      {"Settings", "AppName", "Demo App"},
      {"SETTINGS", "appname", "Demo App"},        // case-insensitive
      {"  Settings ", " AppName  ", "Demo App"},  // blanks around the query names
      {"Settings", "Title", "Spaced Value"},      // blanks around key and value
      {"Settings", "Quoted", "  kept blanks  "},  // one pair of quotes removed
      {"Settings", "Single", "single"},
      {"Settings", "Half", "\"open"},
      {"Settings", "Mixed", "\"a'"},
      {"Settings", "Inner", "a \"b\" c"},
      {"Settings", "Lone", "\""},
      {"Settings", "Empty", ""},          // present but empty
      {"Settings", "NoEquals", nullptr},  // not an entry
      {"Settings", ";Commented", "1"},    // a comment is found by its full key
      {"Settings", "Commented", nullptr},
      {"Settings", ";Indented", "1"},
      {"Settings", "Tail", "x ; not a comment"},
      {"Settings", "dup", "first"},  // first occurrence wins
      {"Settings", "Eq", "a=b"},
      {"Settings", "", "nameless"},  // an empty key finds "=nameless"
      {"", "AppName", nullptr},
      {"", "orphan", "outside any section"},  // before the first section line
      {"Settings", "Extra", nullptr},         // only the first section counts
      {"Files", "nbFiles", "2"},              // blanks inside the brackets
      {"Missing", "AppName", nullptr},
      {"Settings", "orphan", nullptr},
  };
  for (const auto& c : cases) {
    std::optional<std::string> got = doc.value(c.section, c.key);
    if (c.expected) {
      EXPECT_EQ(got, std::optional<std::string>(c.expected)) << c.section << "/" << c.key;
    } else {
      EXPECT_EQ(got, std::nullopt) << c.section << "/" << c.key;
    }
  }
}

TEST(IniDocument, ListsSectionsAndKeys) {
  IniDocument doc = IniDocument::parse(kText);
  EXPECT_EQ(doc.sectionNames(), (std::vector<std::string>{"Settings", "Files", "settings"}));
  EXPECT_EQ(doc.keyNames("settings"),
            (std::vector<std::string>{"AppName", "Title", "Quoted", "Single", "Half", "Mixed",
                                      "Inner", "Lone", "Empty", "Tail", "dup", "DUP", "", "Eq"}));
  EXPECT_TRUE(doc.keyNames("Missing").empty());
  EXPECT_TRUE(doc.hasSection("files"));
  EXPECT_FALSE(doc.hasSection("Nope"));
  EXPECT_TRUE(doc.hasSection(""));  // the lines before the first section line
}

TEST(IniDocument, LineEndsAndOddLines) {
  IniDocument doc = IniDocument::parse("\xEF\xBB\xBF[A]\nk=1\n[B\nx=2\n[]\ny=3\n[C]extra]\nz=4");
  EXPECT_EQ(doc.value("A", "k"), "1");           // byte-order mark and LF line ends
  EXPECT_EQ(doc.value("A", "[B"), std::nullopt);  // "[B" without "]" is a line of A
  EXPECT_EQ(doc.value("A", "x"), "2");
  EXPECT_EQ(doc.value("", "y"), std::nullopt);   // "[]" is hidden by the lines before [A]
  EXPECT_EQ(doc.value("C]extra", "z"), "4");     // the name runs to the last "]"
  EXPECT_EQ(IniDocument::parse("").sectionNames().size(), 0u);
  EXPECT_EQ(IniDocument::parse("").text(), "");
}

TEST(IniDocument, EditsChangeOnlyTheirLines) {
  IniDocument doc = IniDocument::parse(
      "; header\r\n[One]\r\nA=1\r\n  B = 2 \r\n\r\n[Two]\r\nC=3\r\n");
  doc.set("one", "b", "20");                  // replaced in place, key spelling kept
  doc.set("One", "New", "x");                 // appended after the last line of its section
  doc.set("Three", "K", "v");                 // new section at the end
  doc.set("Two", "C", "");                    // an empty value is a value
  EXPECT_EQ(doc.text(),
            "; header\r\n[One]\r\nA=1\r\nB=20\r\nNew=x\r\n\r\n[Two]\r\nC=\r\n[Three]\r\nK=v\r\n");
  EXPECT_EQ(doc.value("One", "B"), "20");
  EXPECT_EQ(doc.value("Two", "C"), "");
  doc.removeKey("ONE", "a");
  doc.removeKey("One", "Missing");
  doc.removeSection("two");
  EXPECT_EQ(doc.text(), "; header\r\n[One]\r\nB=20\r\nNew=x\r\n\r\n[Three]\r\nK=v\r\n");
  EXPECT_EQ(doc.value("One", "A"), std::nullopt);
  EXPECT_FALSE(doc.hasSection("Two"));
}

TEST(IniDocument, EditsOnDuplicates) {
  IniDocument doc = IniDocument::parse("[S]\nk=1\nk=2\n[s]\nk=3\n[T]\nx=1\n");
  doc.removeKey("S", "k");           // the first occurrence goes; the next one shows
  EXPECT_EQ(doc.value("S", "k"), "2");
  doc.set("S", "new", "n");          // goes to the first section of the name
  EXPECT_EQ(doc.text(), "[S]\r\nk=2\r\nnew=n\r\n[s]\r\nk=3\r\n[T]\r\nx=1\r\n");
  doc.removeSection("s");            // every section of the name
  EXPECT_EQ(doc.text(), "[T]\r\nx=1\r\n");
}

TEST(IniDocument, EditsIntoEmptyAndHeaderOnlySections) {
  IniDocument doc;
  doc.set("A", "k", "v");
  EXPECT_EQ(doc.text(), "[A]\r\nk=v\r\n");
  doc = IniDocument::parse("[Empty]\r\n\r\n\r\n[Next]\r\n");
  doc.set("Empty", "k", "v");
  EXPECT_EQ(doc.text(), "[Empty]\r\nk=v\r\n\r\n\r\n[Next]\r\n");
  doc.set("", "k", "v");             // no section name: before the first section line
  doc.set("Next", " ", "v");         // no key name: "=v"
  EXPECT_EQ(doc.text(), "k=v\r\n[Empty]\r\nk=v\r\n\r\n\r\n[Next]\r\n=v\r\n");
}

TEST(IniDocument, EntryLinesBeforeAnySectionBelongToTheNamelessSection) {
  IniDocument doc = IniDocument::parse("; note\nk=outside\n\n[S]\n");
  doc.set("S", "k", "inside");
  EXPECT_EQ(doc.text(), "; note\r\nk=outside\r\n\r\n[S]\r\nk=inside\r\n");
  doc.set("", "k", "changed");
  doc.set("", "n", "new");           // after the last entry line, before the blank line
  EXPECT_EQ(doc.text(), "; note\r\nk=changed\r\nn=new\r\n\r\n[S]\r\nk=inside\r\n");
  doc.removeKey(" ", "K");
  doc.removeSection("");             // the lines before the first section stay
  EXPECT_EQ(doc.text(), "; note\r\nn=new\r\n\r\n[S]\r\nk=inside\r\n");
  EXPECT_EQ(doc.sectionNames(), std::vector<std::string>{"S"});
}

// Edits update the lookups in place; after each one, every lookup must answer as it does on
// the written text read afresh, including edits that change what a line is.
TEST(IniDocument, LookupsAfterEditsMatchTheTextReadAgain) {
  IniDocument doc = IniDocument::parse(
      "\xEF\xBB\xBF[A]\r\na=1\r\n;c=2\r\n\r\n[B]\r\nb=1\r\n\r\n[a]\r\na=dup\r\n[C]\r\n");
  auto agrees = [&](const char* step) {
    IniDocument fresh = IniDocument::parse(doc.text());
    EXPECT_EQ(doc.sectionNames(), fresh.sectionNames()) << step;
    for (const char* section : {"", "A", "B", "C", "D", "x"}) {
      EXPECT_EQ(doc.keyNames(section), fresh.keyNames(section)) << step << " [" << section << "]";
      for (const char* key : {"a", ";c", "b", "k", "[x", "n0", "n1", "n2"}) {
        EXPECT_EQ(doc.value(section, key), fresh.value(section, key))
            << step << " [" << section << "] " << key;
      }
    }
  };
  for (int i = 0; i < 3; ++i) {  // entries added round the sections, as a long script does
    std::string key = "n" + std::to_string(i);
    doc.set("B", key, "b");
    doc.set("A", key, "a");
    doc.set("C", key, "c");
    agrees("added");
  }
  doc.set("a", "A", "2");
  doc.set("A", ";C", "3");
  agrees("replaced");
  doc.set("", "k", "first");  // a line before the first section: the mark no longer leads
  agrees("nameless");
  doc.set("B", "[x", "y]");  // the new line reads as a section line
  agrees("section made by a value");
  doc.set("D", "k", "new");
  doc.removeKey("B", "n1");
  doc.removeKey("", "k");
  agrees("removed keys");
  doc.removeSection("a");
  agrees("removed section");
}

}  // namespace
}  // namespace vandrel::platform
