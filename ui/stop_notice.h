// A program that stops before its windows open (a starter outside its package, a Windows
// folder it cannot write, another installation running) tells a user of the windows why in a
// message box; standard error keeps its lines as before, so scripted and console runs are
// unchanged.
#pragma once

#include <iosfwd>
#include <memory>
#include <streambuf>
#include <string>

#include "ui/interaction.h"

namespace vandrel::ui {

// While it lives, what the program writes to std::cerr still goes there and is kept too.
class StandardErrorCopy {
 public:
  StandardErrorCopy();
  ~StandardErrorCopy();
  StandardErrorCopy(const StandardErrorCopy&) = delete;
  StandardErrorCopy& operator=(const StandardErrorCopy&) = delete;

  // The lines kept, without the program's name before each ("Setup: ") and the last line break.
  std::string lines(const std::string& program) const;

 private:
  class Tee;
  std::unique_ptr<Tee> tee_;
  std::streambuf* original_;
};

// The gui backend of a run with windows (wrapped in a transcript recorder when one is asked
// for); null for a scripted or console run, or when no window can be shown.
std::unique_ptr<Interaction> makeWindowInteraction(Program program, const InteractionSettings& settings);

// In a run with windows, shows the stop as a message box with the Stop icon and one OK button;
// true when it was shown. Nothing otherwise.
bool showStopInWindow(Program program, const InteractionSettings& settings, const Message& stop);

}  // namespace vandrel::ui
