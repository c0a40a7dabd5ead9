// The links and heading anchors of a Markdown page, as the manual's checks read them.
#pragma once

#include <set>
#include <string>
#include <vector>

namespace vandrel::docs {

// One inline link or image of a page: its target as written and the line it is on.
struct Link {
  std::string target;
  int line = 0;
  bool image = false;
};

// Every inline link and image `[text](target)` / `![alt](target)` outside code (fenced
// blocks and `code spans`), in the order they appear.
std::vector<Link> links(const std::string& page);

// The anchor a heading gets on the page as a repository browser renders it: lower case,
// punctuation dropped, blanks made hyphens ("The `vandrel-machine` commands" gives
// "the-vandrel-machine-commands").
std::string anchor(const std::string& heading);

// The anchors of every heading of a page; a repeated heading gets "-1", "-2", ...
std::set<std::string> anchors(const std::string& page);

// A fenced code block: the word after its opening fence ("sh") and its lines.
struct FencedBlock {
  std::string language;
  std::vector<std::string> lines;
};

// The fenced code blocks that follow the heading line `heading` (exactly, such as
// "## Quick start") up to the next heading of any level.
std::vector<FencedBlock> fencedBlocksUnder(const std::string& page, const std::string& heading);

}  // namespace vandrel::docs
