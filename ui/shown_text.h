// A text cut to what a window can show at a bounded cost: so many characters, lines and
// characters per line, with a note where it was shortened.
#pragma once

#include <cstddef>
#include <string>

namespace vandrel::ui {

struct TextBounds {
  std::size_t characters;  // of the text shown, the note aside
  std::size_t lines;       // lines shown, the note aside
  std::size_t lineLength;  // a longer line is shown broken into lines of at most this many
};

// A text in a box of its own that scrolls (the licence, a disk message): far more than
// anyone reads there, and laid out in a fraction of a second.
inline constexpr TextBounds kScrollingText{512 * 1024, 20000, 1000};
// A text in a label of a few lines (the notice of the welcome page).
inline constexpr TextBounds kLabelText{4000, 40, 1000};

// The text as a window shows it: the text itself when it is within the bounds (so ordinary
// texts are shown byte for byte); otherwise its lines longer than bounds.lineLength broken
// (after a blank near the end of each part where there is one), cut after the last line
// that keeps within bounds.characters and bounds.lines, and followed by note on a line of
// its own when anything was cut.
std::string boundedText(const std::string& text, const TextBounds& bounds, const std::string& note);

}  // namespace vandrel::ui
