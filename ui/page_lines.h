// A page's text read line by line, from the front and from the back in reading order: the
// windows that lay a setup page out control by control take each control's text from it.
// Also the copy progress's lines cut into label and text.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vandrel::ui {

// A copy line ("Copying C:\\a.exe") cut at its first blank: the label and the rest; a line
// without a blank is all rest.
std::pair<std::string, std::string> splitFirstWord(const std::string& line);

// A model's text cut at its line breaks (a carriage return before one is dropped).
std::vector<std::string> splitLines(const std::string& text);

class PageLines {
 public:
  explicit PageLines(const std::string& text) : all_(splitLines(text)), back_(all_.size()) {}
  std::size_t left() const { return back_ - front_; }
  std::string take() { return front_ < back_ ? all_[front_++] : std::string(); }
  std::string takeLast() { return front_ < back_ ? all_[--back_] : std::string(); }
  // The next count lines joined by line breaks.
  std::string take(std::size_t count) {
    std::string joined;
    for (std::size_t i = 0; i < count && front_ < back_; ++i) joined += (i ? "\n" : "") + all_[front_++];
    return joined;
  }
  std::string rest() { return take(left()); }
  std::vector<std::string> restLines() {
    std::vector<std::string> lines(all_.begin() + long(front_), all_.begin() + long(back_));
    front_ = back_;
    return lines;
  }

 private:
  std::vector<std::string> all_;
  std::size_t front_ = 0;
  std::size_t back_;
};

}  // namespace vandrel::ui
