// Tests of the action log: one flushed JSON line per file, appended by the programs of one
// run in turn, INI and registry writes with the value they replaced, the summary's counts,
// and where the log goes by default.
#include "ui/action_log.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/scoped_environment.h"
#include "tests/support/temp_dir.h"
#include "ui/ui_test_support.h"

namespace vandrel::ui {
namespace {

TEST(ActionLog, EachLineIsOnDiskAtOnceAndTheSummaryCountsTheDecisions) {
  test::TempDir dir;
  std::string path = (dir / "actions.jsonl").string();
  ActionLog log(Program::Setup, path);
  log.file("Z:\\pkg\\a.exe", "C:\\App\\a.exe", "copied", "new file", 10);
  EXPECT_EQ(test::readFile(path),
            "{\"program\":\"setup\",\"action\":\"file\",\"source\":\"Z:\\\\pkg\\\\a.exe\","
            "\"target\":\"C:\\\\App\\\\a.exe\",\"decision\":\"copied\",\"rule\":\"new file\",\"bytes\":10}\n");
  log.file("Z:\\pkg\\b.dll", "C:\\App\\b.dll", "kept", "asked, the user answered No", 20);
  log.file("Z:\\pkg\\c.dll", "C:\\App\\c.dll", "replaced", "forced", 30);
  log.file("Z:\\pkg\\d.txt", "C:\\App\\d.txt", "missing", "not in the package", -1);
  log.change("ini", {{"file", "WIN.INI"}, {"section", "Tool"}, {"key", "Dir"}}, std::nullopt, "C:\\App", true);
  EXPECT_EQ(test::readFile(path).substr(test::readFile(path).rfind("{\"program")),
            "{\"program\":\"setup\",\"action\":\"ini\",\"file\":\"WIN.INI\",\"section\":\"Tool\","
            "\"key\":\"Dir\",\"old\":null,\"value\":\"C:\\\\App\",\"written\":\"yes\"}\n");
  log.change("registry", {{"key", "HKEY_CURRENT_USER\\Software\\Tool"}, {"name", "Dir"}}, "C:\\Old", "C:\\App", true);
  log.change("registry", {{"key", "HKEY_CURRENT_USER\\Software\\Tool"}, {"name", "Bad"}}, std::nullopt, "x", false);
  EXPECT_NE(test::readFile(path).find("\"old\":\"C:\\\\Old\",\"value\":\"C:\\\\App\",\"written\":\"yes\"}\n"),
            std::string::npos);
  log.summary(0, "the installation completed");
  std::string text = test::readFile(path);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 8);
  std::string last = text.substr(text.rfind('\n', text.size() - 2) + 1);
  EXPECT_EQ(last,
            "{\"program\":\"setup\",\"action\":\"summary\",\"copied\":1,\"kept\":1,\"missing\":1,"
            "\"replaced\":1,\"ini\":1,\"registry\":1,\"exit\":0,\"meaning\":\"the installation completed\","
            "\"text\":\"tamsin32: 2 files copied (1 replacing a file), 1 kept, 1 skipped; 1 registry and 1 INI "
            "changes; exit status 0: the installation completed\"}\n");

  ActionLog next(Program::Uninstall, path);  // the next program of the run appends
  next.summary(0, "removed");
  EXPECT_EQ(test::readFile(path).rfind(text, 0), 0u);
}

TEST(ActionLog, APlanMarksEveryLineAndSaysSoInTheSummary) {
  test::TempDir dir;
  std::string path = (dir / "actions.jsonl").string();
  ActionLog log(Program::Uninstall, path);
  log.setPlan(true);
  log.removal("file", "C:\\App\\a.exe", true);
  log.removal("folder", "C:\\App", false, "folder not empty");
  log.summary(0, "the removal completed");
  std::string text = test::readFile(path);
  EXPECT_EQ(text.substr(0, text.find('\n') + 1),
            "{\"program\":\"uninstall\",\"plan\":true,\"action\":\"removed\",\"kind\":\"file\","
            "\"target\":\"C:\\\\App\\\\a.exe\"}\n");
  std::size_t lines = 0;
  for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; ++at) ++lines;
  std::size_t marked = 0;
  for (std::size_t at = 0; (at = text.find(",\"plan\":true,", at)) != std::string::npos; ++at) ++marked;
  EXPECT_EQ(lines, 3u);
  EXPECT_EQ(marked, 3u) << text;
  EXPECT_NE(text.find("\"text\":\"peskin32 (plan, nothing changed): 1 items removed (1 files, "),
            std::string::npos) << text;
}

TEST(ActionLog, TheBuilderLogsEachPackagedFileAndCountsFilesDisksAndBytes) {
  test::TempDir dir;
  std::string path = (dir / "actions.jsonl").string();
  ActionLog log(Program::Builder, path);
  log.packaged("Z:\\src\\tool.exe", 1, "tool.exe", false, 46);
  log.packaged("Z:\\bin\\Tam32E.ex_", 1, "Tamsin32.ex_", true, 1000);
  log.packaged("Z:\\src\\big.dat", 2, "big.dat", false, 5000);
  log.summary(0, "the package was generated");
  std::string text = test::readFile(path);
  EXPECT_EQ(text.substr(0, text.find('\n') + 1),
            "{\"program\":\"builder\",\"action\":\"packaged\",\"source\":\"Z:\\\\src\\\\tool.exe\","
            "\"disk\":1,\"target\":\"tool.exe\",\"compressed\":\"no\",\"bytes\":46}\n");
  EXPECT_NE(text.find("\"target\":\"Tamsin32.ex_\",\"compressed\":\"yes\",\"bytes\":1000}"), std::string::npos);
  EXPECT_EQ(log.summaryText(0, "the package was generated"),
            "corvix: 3 files copied into the package on 2 disks, 6046 bytes; exit status 0: the package "
            "was generated");
  EXPECT_NE(text.find("\"files\":3,\"disks\":2,\"bytes\":6046,\"exit\":0"), std::string::npos) << text;
}

TEST(ActionLog, WithoutAPathNothingIsWritten) {
  ActionLog none;
  EXPECT_FALSE(none.enabled());
  none.file("a", "b", "copied", "new file", 1);
  none.summary(0, "done");
  EXPECT_EQ(none.summaryText(0, "done"),
            "tamsin32: 1 files copied (0 replacing a file), 0 kept, 0 skipped; 0 registry and 0 INI changes; "
            "exit status 0: done");
}

TEST(ActionLog, AnUnwritableLogIsReportedOnce) {
  testing::CapturedStream err;
  ActionLog log(Program::Builder, "/nonexistent/folder/actions.jsonl", err.file());
  log.file("a", "b", "copied", "new file", 1);
  log.summary(0, "done");
  EXPECT_EQ(err.text(), "corvix: cannot write the action log /nonexistent/folder/actions.jsonl\n");
}

TEST(ActionLog, PathFromTheEnvironment) {
  struct Case {
    const char* log;
    const char* transcript;
    const char* expected;
  };
  const Case cases[] = {
      {"/l/actions.jsonl", "/t/run.jsonl", "/l/actions.jsonl"},
      {"", "/t/run.jsonl", "/t/run.actions.jsonl"},
      {"", "/t/transcript", "/t/transcript.actions.jsonl"},
      {"", "", ""},
  };
  test::ScopedEnvironment environment;
  for (const Case& c : cases) {
    environment.set("VANDREL_LOG", c.log);
    environment.set("VANDREL_TRANSCRIPT", c.transcript);
    EXPECT_EQ(ActionLog::pathFromEnvironment(), c.expected) << c.log << " " << c.transcript;
  }
}

}  // namespace
}  // namespace vandrel::ui
