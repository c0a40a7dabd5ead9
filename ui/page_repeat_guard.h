// Keeps unattended runs from looping on a page that the logic keeps refusing.
#pragma once

#include <cstdio>
#include <string>

namespace vandrel::ui {

// Without a person at the keyboard a page answered the same way each time comes back the
// same way each time (an empty user name, a refused folder). The guard counts how often the
// same page is shown in a row: the third time it is cancelled; when even Cancel does not take
// the run off the page (its confirmation answered No), the run is stopped with exit status 1.
class PageRepeatGuard {
 public:
  enum class Verdict { Answer, Cancel };
  static constexpr int kCancelAt = 3;
  static constexpr int kStopAt = 6;

  explicit PageRepeatGuard(std::FILE* err = stderr) : err_(err) {}

  // Called each time a page is shown, before it is answered.
  Verdict pageShown(const std::string& id);
  // The window of the page was closed: a page shown next, even under the same id, is a new
  // window and not the refused one coming back.
  void windowClosed() { lastId_.clear(); inARow_ = 0; }

 private:
  std::FILE* err_;
  std::string lastId_;
  int inARow_ = 0;
  bool told_ = false;
};

}  // namespace vandrel::ui
