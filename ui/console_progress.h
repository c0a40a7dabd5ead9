// The console's progress display: one bar line on standard error, redrawn only when what it
// shows changes; ticked boxes and a new caption get lines of their own above it.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "ui/interaction.h"

namespace vandrel::ui {

class ConsoleProgress {
 public:
  // onTerminal: the bar is redrawn in place ("\r"); otherwise each change is a new line, and
  // the percentage moves in steps of ten so that a log stays short.
  ConsoleProgress(std::FILE* err, bool onTerminal) : err_(err), onTerminal_(onTerminal) {}

  void show(const Progress& progress, const std::string& hint);
  void end();

  // The bar line for a state, without line end; at most `width` characters.
  static std::string barLine(const Progress& progress, int percent, size_t width);

 private:
  void putAboveBar(const std::string& line);

  std::FILE* err_;
  bool onTerminal_;
  bool active_ = false;
  bool barShown_ = false;
  std::string caption_;
  std::vector<bool> boxes_;
  std::string lastBar_;
};

}  // namespace vandrel::ui
