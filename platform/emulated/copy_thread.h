// The copy queue of the emulated machine: one thread that copies between host files (the
// kernel moves the data) while the program looks up and creates the next files.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/copy_queue.h"

namespace vandrel::platform::emulated {

class CopyThread : public CopyQueue {
 public:
  CopyThread() = default;
  // Waits for the copies queued, then ends the thread.
  ~CopyThread() override;
  CopyThread(const CopyThread&) = delete;
  CopyThread& operator=(const CopyThread&) = delete;

  bool accepts(File& in, File& out) const override;
  void push(File& in, File& out, std::size_t count) override;
  std::optional<std::int64_t> takeOldest(bool wait) override;

 private:
  struct Copy {
    File* in;
    File* out;
    std::size_t count;
    std::optional<std::int64_t> result;  // set by the thread when the copy has ended
  };
  void work();

  std::mutex lock_;
  std::condition_variable queued_;  // a copy was queued, or the thread is to end
  std::condition_variable ended_;   // a copy has ended
  std::deque<Copy> copies_;         // oldest first; ended ones stay until their result is taken
  std::size_t next_ = 0;            // the first copy in copies_ the thread has not started
  bool stopping_ = false;
  bool failedToStart_ = false;
  std::thread thread_;  // started with the first copy
};

}  // namespace vandrel::platform::emulated
