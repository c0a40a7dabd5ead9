// Interoperability: our SZDD files and shortcuts read by independent tools, and theirs by us;
// and the vandrel-lz command line.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "platform/formats/shell_link.h"
#include "platform/formats/szdd.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace vandrel::platform {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::runProgram;
using test::TempDir;
using test::writeFile;

// The full path of a host program on PATH, or empty.
std::string findTool(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    std::size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    fs::path candidate = fs::path(dirs.substr(start, end - start)) / name;
    std::error_code ec;
    if (!candidate.parent_path().empty() && fs::is_regular_file(candidate, ec)) return candidate;
    start = end + 1;
  }
  return {};
}

// Deterministic sample text and binary, large enough for every tool (mscompress mishandles
// files under 16 bytes).
std::string sampleContent(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string out;
  while (out.size() < size) {
    if (random() % 2) {
      out += "[Files]\r\n" + std::to_string(random() % 100) + "=app.exe,,1000,1\r\n";
    } else {
      for (int i = random() % 64; i > 0; --i) out.push_back(char(random()));
    }
  }
  out.resize(size);
  return out;
}

TEST(SzddInterop, MsexpandReadsWhatVandrelLzWrote) {
  std::string msexpand = findTool("msexpand");
  if (msexpand.empty()) GTEST_SKIP() << "msexpand is not installed";
  TempDir dir;
  for (std::size_t size : {std::size_t(16), std::size_t(4097), std::size_t(300000)}) {
    std::string content = sampleContent(size, unsigned(size));
    writeFile(dir / "in.dat", content);
    fs::remove(dir / "out.da");
    auto packed = runProgram("vandrel-lz", {"compress", (dir / "in.dat").string(), (dir / "out.da_").string()});
    ASSERT_EQ(packed.exitStatus, 0) << packed.err;
    auto expanded = runProgram(msexpand, {(dir / "out.da_").string()});
    ASSERT_EQ(expanded.exitStatus, 0) << expanded.err;
    EXPECT_EQ(readFile(dir / "out.da"), content) << size;
  }
}

TEST(SzddInterop, VandrelLzReadsWhatMscompressWrote) {
  std::string mscompress = findTool("mscompress");
  if (mscompress.empty()) GTEST_SKIP() << "mscompress is not installed";
  TempDir dir;
  for (std::size_t size : {std::size_t(16), std::size_t(5000), std::size_t(300000)}) {
    std::string content = sampleContent(size, unsigned(size) + 1);
    writeFile(dir / "in.dat", content);
    fs::remove(dir / "in.dat_");
    auto packed = runProgram(mscompress, {(dir / "in.dat").string()});
    ASSERT_EQ(packed.exitStatus, 0) << packed.err;
    std::string compressed = readFile(dir / "in.dat_");
    Bytes out;
    ASSERT_EQ(szdd::expand(Bytes(compressed.begin(), compressed.end()), out), szdd::Status::Ok);
    EXPECT_EQ(std::string(out.begin(), out.end()), content) << size;
    auto expanded = runProgram("vandrel-lz", {"expand", (dir / "in.dat_").string(), (dir / "back").string()});
    ASSERT_EQ(expanded.exitStatus, 0) << expanded.err;
    EXPECT_EQ(readFile(dir / "back"), content);
  }
}

TEST(VandrelLz, FailuresExitWithOneClearLine) {
  TempDir dir;
  writeFile(dir / "in.txt", sampleContent(10000, 3));
  ASSERT_EQ(runProgram("vandrel-lz", {"compress", (dir / "in.txt").string(), (dir / "in.tx_").string()}).exitStatus, 0);
  std::string packed = readFile(dir / "in.tx_");
  writeFile(dir / "cut.tx_", packed.substr(0, packed.size() / 2));

  struct Case {
    const char* what;
    std::vector<std::string> args;
    int status;
    const char* message;
  };
  const Case cases[] = {
      {"truncated", {"expand", (dir / "cut.tx_").string(), (dir / "out.txt").string()}, 1, "truncated"},
      {"not compressed", {"expand", (dir / "in.txt").string(), (dir / "out.txt").string()}, 1, "not in the SZDD"},
      {"missing input", {"compress", (dir / "none").string(), (dir / "out.txt").string()}, 1, "no such file"},
      {"unwritable output", {"compress", (dir / "in.txt").string(), (dir / "no/such/dir").string()}, 1, "cannot create"},
      {"no command", {}, 2, "vandrel-lz"},
      {"unknown command", {"squash", "a", "b"}, 2, "vandrel-lz"},
      {"missing operand", {"expand", (dir / "in.tx_").string()}, 2, "OUT"},
  };
  writeFile(dir / "keep.txt", "an older file");
  const Case kept[] = {
      {"same file", {"compress", (dir / "in.txt").string(), (dir / "in.txt").string()}, 1, "same file"},
      {"existing output kept", {"expand", (dir / "cut.tx_").string(), (dir / "keep.txt").string()}, 1, "truncated"},
  };
  for (const Case& c : kept) {
    auto result = runProgram("vandrel-lz", c.args);
    EXPECT_EQ(result.exitStatus, c.status) << c.what;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << c.what << ": " << result.err;
  }
  EXPECT_EQ(readFile(dir / "in.txt"), sampleContent(10000, 3));
  EXPECT_EQ(readFile(dir / "keep.txt"), "an older file");
  for (const Case& c : cases) {
    auto result = runProgram("vandrel-lz", c.args);
    EXPECT_EQ(result.exitStatus, c.status) << c.what;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << c.what << ": " << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << c.what << ": " << result.err;
    EXPECT_FALSE(fs::exists(dir / "out.txt")) << c.what;  // nothing half-written is left
  }
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 4u);  // in.txt, in.tx_, cut.tx_, keep.txt: no temporary files left

}

TEST(ShellLinkInterop, LnkinfoShowsWhatWeWrote) {
  std::string lnkinfo = findTool("lnkinfo");
  if (lnkinfo.empty()) GTEST_SKIP() << "lnkinfo is not installed";
  TempDir dir;
  ShellLink link;
  link.target = "C:\\Program Files\\Acme\\acme.exe";
  link.arguments = "/s readme.txt";
  link.workingDirectory = "C:\\Program Files\\Acme";
  link.description = "Acme Editor";
  link.iconLocation = "C:\\Program Files\\Acme\\acme.exe";
  link.iconIndex = 1;
  Bytes bytes = encodeShellLink(link, "C:\\WINDOWS\\Start Menu\\Programs\\Acme\\Acme.lnk");
  writeFile(dir / "Acme.lnk", std::string(bytes.begin(), bytes.end()));
  auto result = runProgram(lnkinfo, {(dir / "Acme.lnk").string()});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  for (const char* expected :
       {"Local path\t\t\t: C:\\Program Files\\Acme\\acme.exe", "Description\t\t\t: Acme Editor",
        "Working directory\t\t: C:\\Program Files\\Acme", "Command line arguments\t\t: /s readme.txt",
        "Icon location\t\t\t: C:\\Program Files\\Acme\\acme.exe",
        "Relative path\t\t\t: ..\\..\\..\\..\\Program Files\\Acme\\acme.exe"}) {
    EXPECT_NE(result.out.find(expected), std::string::npos) << expected << "\n" << result.out;
  }

  // Names outside ASCII are stored as UTF-16 and read back as the same text.
  ShellLink wide;
  wide.target = "C:\\Programmes\\Société\\édit.exe";
  wide.description = "Éditeur";
  Bytes wideBytes = encodeShellLink(wide);
  writeFile(dir / "wide.lnk", std::string(wideBytes.begin(), wideBytes.end()));
  result = runProgram(lnkinfo, {(dir / "wide.lnk").string()});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_NE(result.out.find("Local path\t\t\t: C:\\Programmes\\Société\\édit.exe"), std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("Description\t\t\t: Éditeur"), std::string::npos) << result.out;
}

}  // namespace
}  // namespace vandrel::platform
