// Reading the links, anchors and code blocks of a Markdown page for the manual's checks.
#include "tests/docs/markdown_links.h"

#include <cctype>
#include <map>
#include <sstream>

namespace vandrel::docs {
namespace {

std::vector<std::string> splitLines(const std::string& page) {
  std::vector<std::string> lines;
  std::istringstream in(page);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool isFence(const std::string& line) {
  std::size_t start = line.find_first_not_of(' ');
  return start != std::string::npos && start < 4 && line.compare(start, 3, "```") == 0;
}

bool isHeading(const std::string& line) {
  std::size_t hashes = line.find_first_not_of('#');
  return hashes > 0 && hashes <= 6 && hashes < line.size() && line[hashes] == ' ';
}

// The line with its `code spans` blanked out, so that links shown as code are not read.
std::string withoutCodeSpans(const std::string& line) {
  std::string out = line;
  for (std::size_t open = out.find('`'); open != std::string::npos;) {
    std::size_t run = out.find_first_not_of('`', open) - open;
    std::size_t close = out.find(std::string(run, '`'), open + run);
    if (close == std::string::npos) break;
    for (std::size_t i = open; i < close + run; ++i) out[i] = ' ';
    open = out.find('`', close + run);
  }
  return out;
}

// The links of one line of text outside code.
void linksOfLine(const std::string& text, int line, std::vector<Link>& out) {
  for (std::size_t at = text.find("]("); at != std::string::npos; at = text.find("](", at + 2)) {
    std::size_t end = text.find(')', at + 2);
    if (end == std::string::npos) break;
    std::string target = text.substr(at + 2, end - at - 2);
    target = target.substr(0, target.find(' '));  // a title after the target
    std::size_t open = text.rfind('[', at);
    bool image = open != std::string::npos && open > 0 && text[open - 1] == '!';
    out.push_back({target, line, image});
  }
}

}  // namespace

std::vector<Link> links(const std::string& page) {
  std::vector<Link> out;
  bool inFence = false;
  int number = 0;
  for (const std::string& line : splitLines(page)) {
    ++number;
    if (isFence(line)) {
      inFence = !inFence;
      continue;
    }
    if (!inFence) linksOfLine(withoutCodeSpans(line), number, out);
  }
  return out;
}

std::string anchor(const std::string& heading) {
  std::string out;
  for (unsigned char c : heading) {
    if (std::isalnum(c) || c == '-' || c == '_') {
      out += static_cast<char>(std::tolower(c));
    } else if (c == ' ') {
      out += '-';
    }
  }
  return out;
}

std::set<std::string> anchors(const std::string& page) {
  std::set<std::string> out;
  std::map<std::string, int> seen;
  bool inFence = false;
  for (const std::string& line : splitLines(page)) {
    if (isFence(line)) inFence = !inFence;
    if (inFence || !isHeading(line)) continue;
    std::string name = anchor(line.substr(line.find(' ') + 1));
    int repeat = seen[name]++;
    out.insert(repeat == 0 ? name : name + "-" + std::to_string(repeat));
  }
  return out;
}

std::vector<FencedBlock> fencedBlocksUnder(const std::string& page, const std::string& heading) {
  std::vector<FencedBlock> blocks;
  bool under = false, inFence = false;
  for (const std::string& line : splitLines(page)) {
    if (!inFence && isHeading(line)) under = line == heading;
    if (!under) continue;
    if (isFence(line)) {
      inFence = !inFence;
      if (inFence) blocks.push_back({line.substr(line.find("```") + 3), {}});
    } else if (inFence) {
      blocks.back().lines.push_back(line);
    }
  }
  return blocks;
}

}  // namespace vandrel::docs
