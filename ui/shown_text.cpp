// Texts cut to what a window shows.
#include "ui/shown_text.h"

#include <algorithm>

namespace vandrel::ui {

namespace {

bool withinBounds(const std::string& text, const TextBounds& bounds) {
  if (text.size() > bounds.characters) return false;
  std::size_t lines = 0;
  for (std::size_t start = 0; start <= text.size(); ++lines) {
    if (lines >= bounds.lines) return false;
    std::size_t end = std::min(text.find('\n', start), text.size());
    if (end - start > bounds.lineLength) return false;
    start = end + 1;
  }
  return true;
}

// Where a part of a long line starting at `start` ends: after the last blank of its later
// half, or at the full length when it has none there (one unbroken word).
std::size_t partEnd(const std::string& text, std::size_t start, std::size_t lineEnd,
                    std::size_t length) {
  if (lineEnd - start <= length) return lineEnd;
  std::size_t hardEnd = start + length;
  for (std::size_t at = hardEnd; at > start + length / 2; --at) {
    if (text[at - 1] == ' ' || text[at - 1] == '\t') return at;
  }
  return hardEnd;
}

}  // namespace

std::string boundedText(const std::string& text, const TextBounds& bounds, const std::string& note) {
  if (withinBounds(text, bounds)) return text;
  std::string shown;
  std::size_t lines = 0;
  bool cut = false;
  for (std::size_t start = 0; start <= text.size() && !cut;) {
    std::size_t lineEnd = std::min(text.find('\n', start), text.size());
    // The line, in parts of at most lineLength characters.
    for (std::size_t at = start;;) {
      std::size_t end = partEnd(text, at, lineEnd, bounds.lineLength);
      if (lines == bounds.lines || shown.size() + (end - at) + 1 > bounds.characters) {
        cut = true;
        break;
      }
      if (lines > 0) shown += '\n';
      shown.append(text, at, end - at);
      ++lines;
      if (end == lineEnd) break;
      at = end;
    }
    start = lineEnd + 1;
  }
  if (cut) {
    shown += '\n';
    shown += note;
  }
  return shown;
}

}  // namespace vandrel::ui
