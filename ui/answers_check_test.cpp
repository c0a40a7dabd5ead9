// Which answers files the programs accept, and how they name what they refuse.
#include "ui/answers_check.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace vandrel::ui {
namespace {

std::vector<AnswersFinding> check(std::string_view text) { return checkAnswersText(text); }

// The one finding of a text, as "<line>: <what>; expected <expected>".
std::string only(std::string_view text) {
  std::vector<AnswersFinding> findings = check(text);
  if (findings.size() != 1) return "findings: " + std::to_string(findings.size());
  return std::to_string(findings[0].line) + ": " + findings[0].what + "; expected " + findings[0].expected;
}

TEST(AnswersCheck, EverySectionAndKeyTheProgramsReadIsAccepted) {
  const char* text =
      "\xEF\xBB\xBF; a whole file\r\n"
      "[Wizard]\r\nUserName=Ann\r\ncompany = Co\r\nSerial=\r\nComponents=2, 04,\r\nSharing=1\r\n"
      "Folder=\"C:\\Tools\\App\"\r\nBackup=0\r\nCancel=Licence\r\n"
      "\r\n[answers]\r\n1=Yes\r\n2=no\r\n3=YesToAll\r\n12=Cancel\r\nDefault=OK\r\n"
      "[Folders]\r\n1=Z:\\pkg\\Disk2\\\r\n2=\r\n"
      "[Choices]\r\n1=Windows Dir\r\n2=#3\r\n3=\r\n"
      "[Progress]\r\nCancelOn=Copying\r\n[Builder]\r\nCommands=tile,generate\r\n";
  EXPECT_TRUE(check(text).empty());
  EXPECT_TRUE(check("").empty());
  EXPECT_TRUE(check("[Wizard]\nComponents=all\nCancel=\n").empty());
  EXPECT_TRUE(check("[Wizard]\nComponents=NONE\n").empty());
  EXPECT_TRUE(check("[Folders]\nDestination=C:\\Program Files\\Tool\n1=Z:\\pkg\\Disk2\n").empty());
}

TEST(AnswersCheck, UnknownSectionsKeysAndPagesAreNamedWithTheirLine) {
  EXPECT_EQ(only("[Wizzard]\nUserName=Ann\n"),
            "1: unknown section [Wizzard]; expected [Wizard], [Answers], [Folders], [Choices], [Progress] or [Builder]");
  EXPECT_EQ(only("[Wizard]\nUserName=Ann\nFolders=C:\\x\n"),
            "3: unknown key Folders in [Wizard]; expected UserName, Company, Serial, Components, Sharing, "
            "Folder, Backup or Cancel");
  EXPECT_EQ(only("[Answers]\n0=Yes\n"), "2: unknown key 0 in [Answers]; expected 1, 2, 3, ... or Default");
  EXPECT_EQ(only("[Answers]\n01=Yes\n"), "2: unknown key 01 in [Answers]; expected 1, 2, 3, ... or Default");
  EXPECT_EQ(only("[Progress]\nCancelAt=x\n"), "2: unknown key CancelAt in [Progress]; expected CancelOn");
  EXPECT_EQ(only("[Folders]\nDest=C:\\x\n"), "2: unknown key Dest in [Folders]; expected 1, 2, 3, ... or Destination");
  EXPECT_EQ(only("\n[Wizard]\nCancel=bogus\n"),
            "3: [Wizard] Cancel=bogus: no page of that name; expected an empty value or one of first notice "
            "licence registration components sharing destination");
  EXPECT_EQ(only("[Wizard]\nCancel=progress\n"),
            "2: [Wizard] Cancel=progress: no page of that name (a copy is cancelled by [Progress] CancelOn); "
            "expected an empty value or one of first notice licence registration components sharing destination");
  EXPECT_EQ(only("UserName=Ann\n[Wizard]\n"),
            "1: entry UserName= before any section; expected [Wizard], [Answers], [Folders], [Choices], "
            "[Progress] or [Builder] first");
  for (const char* text : {"[Wizzard]\n", "[Wizard]\nFolders=x\n", "[Wizard]\nCancel=bogus\n", "x=1\n"}) {
    ASSERT_EQ(check(text).size(), 1u) << text;
    EXPECT_TRUE(check(text)[0].unknownEntry) << text;
  }
}

TEST(AnswersCheck, TheEntriesOfAnUnknownSectionAreNotReportedAgain) {
  EXPECT_EQ(check("[Wizzard]\nUserName=Ann\nCompany=Co\n").size(), 1u);
}

TEST(AnswersCheck, MalformedValuesAreRefusedWhateverTheLeniency) {
  EXPECT_EQ(only("[Wizard]\nSharing=2\n"), "2: [Wizard] Sharing=2: not 0 or 1; expected 0 or 1");
  EXPECT_EQ(only("[Wizard]\nBackup=x\n"), "2: [Wizard] Backup=x: not 0 or 1; expected 0 or 1");
  EXPECT_EQ(only("[Answers]\n1=Maybe\n"),
            "2: [Answers] 1=Maybe: not an answer; expected Yes, No, Cancel, OK or YesToAll");
  EXPECT_EQ(only("[Answers]\nDefault=\n"),
            "2: [Answers] Default=: not an answer; expected Yes, No, Cancel, OK or YesToAll");
  EXPECT_EQ(only("[Wizard]\nComponents=2,docs\n"),
            "2: [Wizard] Components=2,docs: \"docs\" is not a number; expected all, none or a comma list of the "
            "package's optional [Directories] numbers");
  EXPECT_EQ(only("[Choices]\n1=#x\n"),
            "2: [Choices] 1=#x: not an item number; expected an item's text, #N for the N-th item, or an empty "
            "value to cancel");
  EXPECT_EQ(only("[Wizard]\nUserName Ann\n"),
            "2: \"UserName Ann\" is no section, entry or comment; expected [Section], Key=Value or a ; comment");
  for (const char* text : {"[Wizard]\nSharing=2\n", "[Answers]\n1=Maybe\n", "[Wizard]\nx\n"}) {
    ASSERT_EQ(check(text).size(), 1u) << text;
    EXPECT_FALSE(check(text)[0].unknownEntry) << text;
  }
}

TEST(AnswersCheck, ASectionOrKeyGivenTwiceIsRefusedSinceOnlyTheFirstIsRead) {
  EXPECT_EQ(only("[Wizard]\nUserName=Ann\n[Answers]\n1=Yes\n[wizard]\nCompany=Co\n"),
            "5: section [wizard] again (first on line 1): its entries would be ignored; expected each section "
            "once");
  EXPECT_EQ(only("[Answers]\n1=Yes\n1=No\n"),
            "3: key 1 again (first on line 2): this value would be ignored; expected each key once in its section");
}

TEST(AnswersCheck, ComponentsAreCheckedAgainstThePackage) {
  EXPECT_TRUE(checkAnswersComponents("[Wizard]\nComponents=2, 04\n", {2, 4, 7}).empty());
  EXPECT_TRUE(checkAnswersComponents("[Wizard]\nComponents=all\n", {}).empty());
  EXPECT_TRUE(checkAnswersComponents("[Answers]\nComponents=9\n", {2}).empty());
  std::vector<AnswersFinding> findings = checkAnswersComponents("; c\n[wizard]\ncomponents=2,9\n", {2, 4});
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(findings[0].line, 3);
  EXPECT_EQ(findings[0].what, "component 9 is not an optional component of this package");
  EXPECT_EQ(findings[0].expected, "all, none or a comma list of 2, 4");
  EXPECT_TRUE(findings[0].unknownEntry);
  findings = checkAnswersComponents("[Wizard]\nComponents=3\n", {});
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(findings[0].expected, "no Components entry: this package has no optional components");
}

// The lines a report prints on a temporary stream.
std::string reported(const std::vector<AnswersFinding>& findings, bool lenient, bool* accepted) {
  std::FILE* err = std::tmpfile();
  *accepted = reportAnswersFindings("tamsin32", "a.ini", findings, lenient, err);
  std::rewind(err);
  std::string text;
  for (int c; (c = std::fgetc(err)) != EOF;) text += static_cast<char>(c);
  std::fclose(err);
  return text;
}

TEST(AnswersCheck, LenientRunsWarnAboutUnknownEntriesAndStillRefuseMalformedValues) {
  std::vector<AnswersFinding> unknown = check("[Wizzard]\n");
  bool accepted = true;
  EXPECT_EQ(reported(unknown, false, &accepted),
            "tamsin32: a.ini(1): unknown section [Wizzard]; expected [Wizard], [Answers], [Folders], [Choices], "
            "[Progress] or [Builder]\n");
  EXPECT_FALSE(accepted);
  EXPECT_EQ(reported(unknown, true, &accepted),
            "tamsin32: a.ini(1): warning: unknown section [Wizzard]; expected [Wizard], [Answers], "
            "[Folders], [Choices], [Progress] or [Builder]; ignored\n");
  EXPECT_TRUE(accepted);
  reported(check("[Wizzard]\n[Wizard]\nSharing=5\n"), true, &accepted);
  EXPECT_FALSE(accepted);
  EXPECT_EQ(reported({}, false, &accepted), "");
  EXPECT_TRUE(accepted);
  // Without warnings only the refusals are named.
  std::FILE* err = std::tmpfile();
  EXPECT_TRUE(reportAnswersFindings("Setup", "a.ini", unknown, true, err, false));
  EXPECT_EQ(std::ftell(err), 0L);
  EXPECT_FALSE(reportAnswersFindings("Setup", "a.ini", check("[Wizard]\nSharing=7\n"), true, err, false));
  EXPECT_GT(std::ftell(err), 0L);
  std::fclose(err);
  EXPECT_TRUE(accepted);
}

TEST(AnswersCheck, ThePageNamesAreTheSetupsWizardPages) {
  EXPECT_EQ(answersPageNames(), (std::vector<std::string>{"first", "notice", "licence", "registration",
                                                          "components", "sharing", "destination"}));
}

}  // namespace
}  // namespace vandrel::ui
