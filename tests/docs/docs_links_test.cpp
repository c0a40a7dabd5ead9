// The manual kept whole: every link and picture of README.md and docs/ leads to a file (and a
// heading, when it names one), the index lists every page, each picture can be made again by
// scripts/screenshots.sh --docs, and the README keeps its two Quick start commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "tests/docs/markdown_links.h"
#include "tests/support/temp_dir.h"

namespace vandrel::docs {
namespace {

namespace fs = std::filesystem;

fs::path source() { return fs::path(VANDREL_SOURCE); }

// README.md and every page of docs/, as paths relative to the source folder.
std::vector<fs::path> pages() {
  std::vector<fs::path> out = {"README.md"};
  for (const fs::directory_entry& entry : fs::directory_iterator(source() / "docs")) {
    if (entry.path().extension() == ".md") out.push_back(fs::path("docs") / entry.path().filename());
  }
  std::sort(out.begin(), out.end());
  return out;
}

bool isExternal(const std::string& target) {
  return target.find("://") != std::string::npos || target.rfind("mailto:", 0) == 0;
}

// The file a link of `page` leads to, relative to the source folder (empty for the page itself).
fs::path resolve(const fs::path& page, const std::string& target) {
  std::string file = target.substr(0, target.find('#'));
  if (file.empty()) return page;
  return (page.parent_path() / file).lexically_normal();
}

TEST(Manual, EveryLinkLeadsToAFileAndHeading) {
  int checked = 0;
  for (const fs::path& page : pages()) {
    for (const Link& link : links(test::readFile(source() / page))) {
      if (isExternal(link.target)) continue;
      std::string where = page.string() + ":" + std::to_string(link.line) + ": " + link.target;
      fs::path file = resolve(page, link.target);
      ASSERT_FALSE(file.empty() || *file.begin() == "..") << where << " leads out of the repository";
      EXPECT_TRUE(fs::exists(source() / file)) << where << ": no such file";
      ++checked;
      std::size_t hash = link.target.find('#');
      if (hash == std::string::npos || file.extension() != ".md" || !fs::exists(source() / file)) continue;
      std::string name = link.target.substr(hash + 1);
      EXPECT_TRUE(anchors(test::readFile(source() / file)).count(name))
          << where << ": " << file.string() << " has no heading #" << name;
    }
  }
  EXPECT_GT(checked, 50) << "the pages link to each other";
}

TEST(Manual, IndexListsEveryPage) {
  std::set<fs::path> listed;
  for (const Link& link : links(test::readFile(source() / "docs/README.md"))) {
    listed.insert(resolve("docs/README.md", link.target));
  }
  for (const fs::path& page : pages()) {
    if (page.parent_path() != "docs" || page.filename() == "README.md") continue;
    EXPECT_TRUE(listed.count(page)) << "docs/README.md does not list " << page.string();
  }
  std::set<fs::path> fromReadme;
  for (const Link& link : links(test::readFile(source() / "README.md"))) {
    fromReadme.insert(resolve("README.md", link.target));
  }
  EXPECT_TRUE(fromReadme.count("docs/README.md")) << "the README leads to the manual's index";
}

TEST(Manual, PicturesAreShownAndMadeByTheScreenshotsScript) {
  std::set<fs::path> shown;
  for (const fs::path& page : pages()) {
    for (const Link& link : links(test::readFile(source() / page))) {
      if (!link.image) continue;
      fs::path file = resolve(page, link.target);
      EXPECT_EQ(file.parent_path(), "docs/pictures")
          << page.string() << ":" << link.line << ": pictures are kept in docs/pictures/";
      shown.insert(file);
    }
  }
  std::string script = test::readFile(source() / "scripts/screenshots.sh");
  int pictures = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(source() / "docs/pictures")) {
    fs::path file = fs::path("docs/pictures") / entry.path().filename();
    ++pictures;
    EXPECT_TRUE(shown.count(file)) << file.string() << " is shown by no page";
    EXPECT_NE(script.find(" " + file.filename().string() + "\n"), std::string::npos)
        << file.string() << " is not made by scripts/screenshots.sh --docs";
  }
  EXPECT_GE(pictures, 2) << "the README shows the wizard and the builder";
}

// The README's Quick start is a contract with CI: one shell block of exactly these two
// commands, the main job first, the tests second; .ci/run calls the second.
TEST(Readme, QuickStartIsTheMainJobThenTheTests) {
  std::vector<FencedBlock> blocks =
      fencedBlocksUnder(test::readFile(source() / "README.md"), "## Quick start");
  ASSERT_EQ(blocks.size(), 1u) << "one fenced block under ## Quick start";
  EXPECT_EQ(blocks[0].language, "sh");
  EXPECT_EQ(blocks[0].lines,
            (std::vector<std::string>{"scripts/run-example.sh", "scripts/run-tests.sh"}));
  for (const char* script : {"scripts/run-example.sh", "scripts/run-tests.sh", ".ci/run"}) {
    fs::perms perms = fs::status(source() / script).permissions();
    EXPECT_NE(perms & fs::perms::owner_exec, fs::perms::none) << script << " is not executable";
  }
  EXPECT_NE(test::readFile(source() / ".ci/run").find("scripts/run-tests.sh"), std::string::npos);
}

}  // namespace
}  // namespace vandrel::docs
