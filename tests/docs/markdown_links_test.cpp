// The Markdown reading of the manual's checks: links outside code, anchors, fenced blocks.
#include "tests/docs/markdown_links.h"

#include <gtest/gtest.h>

namespace vandrel::docs {
namespace {

TEST(MarkdownLinks, FindsLinksAndImagesWithTheirLines) {
  std::vector<Link> found = links(
      "# Title\n"
      "See [the machine](machine.md#presets) and [b](b.md \"a title\").\n"
      "![A window](pictures/a.png)\n");
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0].target, "machine.md#presets");
  EXPECT_EQ(found[0].line, 2);
  EXPECT_FALSE(found[0].image);
  EXPECT_EQ(found[1].target, "b.md");
  EXPECT_EQ(found[2].target, "pictures/a.png");
  EXPECT_EQ(found[2].line, 3);
  EXPECT_TRUE(found[2].image);
}

TEST(MarkdownLinks, SkipsLinksShownAsCode) {
  std::vector<Link> found = links(
      "Write `[x](gone.md)` or ``[y](gone.md)`` to link.\n"
      "```md\n"
      "[z](gone.md)\n"
      "```\n"
      "[kept](here.md)\n");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].target, "here.md");
  EXPECT_EQ(found[0].line, 5);
}

TEST(MarkdownLinks, LinkTextWithBracketsKeepsItsTarget) {
  std::vector<Link> found = links("- [End] and [Web](#end-and-web)\n");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].target, "#end-and-web");
}

TEST(MarkdownLinks, AnchorsAsARepositoryBrowserMakesThem) {
  EXPECT_EQ(anchor("The `vandrel-machine` commands"), "the-vandrel-machine-commands");
  EXPECT_EQ(anchor("Installing again: upgrades and repairs"), "installing-again-upgrades-and-repairs");
  EXPECT_EQ(anchor("The builder's command line on Windows"), "the-builders-command-line-on-windows");
  EXPECT_EQ(anchor("[End] and [Web]"), "end-and-web");
  EXPECT_EQ(anchor("VANDREL_UI"), "vandrel_ui");
}

TEST(MarkdownLinks, AnchorsOfAPageNumberRepeatsAndSkipCode) {
  std::set<std::string> found = anchors(
      "# Page\n"
      "## Usage\n"
      "```sh\n"
      "# not a heading\n"
      "```\n"
      "### Usage\n"
      "#NoBlank\n");
  EXPECT_EQ(found, (std::set<std::string>{"page", "usage", "usage-1"}));
}

TEST(MarkdownLinks, FencedBlocksUnderOneHeading) {
  std::string page =
      "# Tool\n"
      "```sh\nbefore\n```\n"
      "## Quick start\n\n"
      "```sh\n"
      "first\n"
      "# a comment\n"
      "```\n"
      "text\n"
      "```\nsecond block\n```\n"
      "## Next\n"
      "```sh\nafter\n```\n";
  std::vector<FencedBlock> blocks = fencedBlocksUnder(page, "## Quick start");
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(blocks[0].language, "sh");
  EXPECT_EQ(blocks[0].lines, (std::vector<std::string>{"first", "# a comment"}));
  EXPECT_EQ(blocks[1].language, "");
  EXPECT_EQ(blocks[1].lines, (std::vector<std::string>{"second block"}));
  EXPECT_TRUE(fencedBlocksUnder(page, "## Quick").empty());
}

}  // namespace
}  // namespace vandrel::docs
