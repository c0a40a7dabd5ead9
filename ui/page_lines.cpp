// Cutting a page's text into lines.
#include "ui/page_lines.h"

namespace vandrel::ui {

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::pair<std::string, std::string> splitFirstWord(const std::string& line) {
  std::size_t blank = line.find(' ');
  if (blank == std::string::npos) return {"", line};
  return {line.substr(0, blank), line.substr(blank + 1)};
}

}  // namespace vandrel::ui
