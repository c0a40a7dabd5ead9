// The console's progress bar.
#include "ui/console_progress.h"

#include "platform/code_page.h"
#include "ui/dialog_text.h"

#include <algorithm>

namespace vandrel::ui {

namespace {
constexpr size_t kBarCells = 30;
constexpr size_t kLineWidth = 79;
}  // namespace

std::string ConsoleProgress::barLine(const Progress& progress, int percent, size_t width) {
  std::string line;
  if (percent >= 0) {
    int clamped = percent > 100 ? 100 : percent;
    size_t filled = kBarCells * static_cast<size_t>(clamped) / 100;
    line = "[" + std::string(filled, '#') + std::string(kBarCells - filled, '.') + "] ";
    std::string number = std::to_string(clamped) + "%";
    line += std::string(4 - std::min<size_t>(4, number.size()), ' ') + number;
  }
  for (const std::string& text : progress.lines) {
    if (text.empty()) continue;
    line += line.empty() ? "" : "  ";
    line += text;
  }
  for (char& c : line) {
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  }
  if (line.size() > width) line.resize(width);
  return line;
}

void ConsoleProgress::putAboveBar(const std::string& line) {
  if (barShown_ && onTerminal_) {
    std::fprintf(err_, "\r%-*s\r", static_cast<int>(lastBar_.size()), "");
  }
  std::fprintf(err_, "%s\n", platform::cp1252ToUtf8(line).c_str());
  if (barShown_ && onTerminal_) std::fputs(platform::cp1252ToUtf8(lastBar_).c_str(), err_);
}

void ConsoleProgress::show(const Progress& progress, const std::string& hint) {
  if (!active_) {
    active_ = true;
    caption_.clear();
    boxes_.clear();
    lastBar_.clear();
    barShown_ = false;
  }
  if (progress.caption != caption_) {
    caption_ = progress.caption;
    if (!caption_.empty()) putAboveBar(caption_ + hint);
  }
  for (size_t i = 0; i < progress.boxes.size(); ++i) {
    bool was = i < boxes_.size() && boxes_[i];
    if (progress.boxes[i] && !was) {
      std::string label = i < progress.boxLabels.size() ? progress.boxLabels[i]
                                                         : "step " + std::to_string(i + 1);
      putAboveBar("  [x] " + label);
    }
  }
  boxes_ = progress.boxes;
  int percent = progress.percent;
  if (!onTerminal_ && percent > 0) percent = percent / 10 * 10;
  std::string bar = barLine(progress, percent, kLineWidth);
  if (bar == lastBar_) return;
  if (onTerminal_) {
    size_t clear = lastBar_.size() > bar.size() ? lastBar_.size() - bar.size() : 0;
    std::string shown = platform::cp1252ToUtf8(bar);
    std::fprintf(err_, "\r%s%s", shown.c_str(), std::string(clear, ' ').c_str());
    if (clear) std::fprintf(err_, "\r%s", shown.c_str());
  } else if (!bar.empty()) {
    std::fprintf(err_, "%s\n", platform::cp1252ToUtf8(bar).c_str());
  }
  lastBar_ = bar;
  barShown_ = !bar.empty();
  std::fflush(err_);
}

void ConsoleProgress::end() {
  if (barShown_ && onTerminal_) std::fputs("\n", err_);
  std::fflush(err_);
  active_ = false;
  barShown_ = false;
  lastBar_.clear();
}

}  // namespace vandrel::ui
