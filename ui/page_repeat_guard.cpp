// The repeat guard for unattended pages.
#include "ui/page_repeat_guard.h"

#include <cstdlib>

namespace vandrel::ui {

PageRepeatGuard::Verdict PageRepeatGuard::pageShown(const std::string& id) {
  if (id == lastId_) {
    ++inARow_;
  } else {
    lastId_ = id;
    inARow_ = 1;
  }
  if (inARow_ >= kStopAt) {
    std::fprintf(err_, "vandrel: the page \"%s\" keeps coming back even after Cancel; stopping.\n",
                 id.c_str());
    std::fflush(err_);
    std::exit(1);
  }
  if (inARow_ < kCancelAt) return Verdict::Answer;
  if (!told_) {
    std::fprintf(err_,
                 "vandrel: the page \"%s\" was refused %d times with the same answers; "
                 "pressing Cancel.\n",
                 id.c_str(), kCancelAt - 1);
    std::fflush(err_);
    told_ = true;
  }
  return Verdict::Cancel;
}

}  // namespace vandrel::ui
