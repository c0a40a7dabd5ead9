// Closes host descriptors on a thread of its own. A removed file's storage is given back when
// its last descriptor closes: holding one across the removal moves that work (the pages of a
// large file on tmpfs, the blocks of one on disk) off the program's own thread.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace vandrel::platform::emulated {

class ClosingThread {
 public:
  ClosingThread() = default;
  // Closes what is queued, then ends the thread.
  ~ClosingThread();
  ClosingThread(const ClosingThread&) = delete;
  ClosingThread& operator=(const ClosingThread&) = delete;

  // Takes fd over: it is closed soon, in the order given (at once, here, when many wait).
  void close(int fd);

 private:
  void work();

  std::mutex lock_;
  std::condition_variable queued_;
  std::deque<int> fds_;
  bool stopping_ = false;
  std::thread thread_;  // started with the first descriptor
};

}  // namespace vandrel::platform::emulated
