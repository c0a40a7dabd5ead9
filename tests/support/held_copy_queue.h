// A copy queue for tests: each copy is made only when its result is taken with a wait, or
// after the test let it end, so that a test sees what a run does while copies are under way.
#pragma once

#include <deque>

#include "platform/copy_queue.h"
#include "platform/file_system.h"

namespace vandrel::test {

class HeldCopyQueue : public platform::CopyQueue {
 public:
  bool accepts(platform::File&, platform::File&) const override { return true; }
  void push(platform::File& in, platform::File& out, std::size_t count) override {
    copies_.push_back(Copy{&in, &out, count});
    ++pushed_;
  }
  std::optional<std::int64_t> takeOldest(bool wait) override {
    if (copies_.empty() || (!wait && ended_ == 0)) return std::nullopt;
    if (ended_ > 0) --ended_;
    Copy copy = copies_.front();
    copies_.pop_front();
    return copy.in->copyTo(*copy.out, copy.count);
  }

  // The n oldest copies end: a take without a wait gives their results.
  void letEnd(int n) { ended_ += n; }
  // Copies queued and not taken; copies queued in all.
  int held() const { return static_cast<int>(copies_.size()); }
  int pushed() const { return pushed_; }

 private:
  struct Copy {
    platform::File* in;
    platform::File* out;
    std::size_t count;
  };
  std::deque<Copy> copies_;
  int ended_ = 0;
  int pushed_ = 0;
};

}  // namespace vandrel::test
