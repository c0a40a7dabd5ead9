// The closing thread: descriptors closed in the order given, off the caller's thread.
#include "platform/emulated/closing_thread.h"

#include <unistd.h>

#include <system_error>

namespace vandrel::platform::emulated {

ClosingThread::~ClosingThread() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    stopping_ = true;
  }
  queued_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void ClosingThread::close(int fd) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    // The descriptors waiting are bounded, well below the process's limit: when the thread
    // lags behind, the caller closes its own.
    constexpr std::size_t kMostWaiting = 64;
    if (fds_.size() >= kMostWaiting) {
      ::close(fd);
      return;
    }
    if (!thread_.joinable()) {
      try {
        thread_ = std::thread([this] { work(); });
      } catch (const std::system_error&) {
        ::close(fd);  // no thread to be had (a process limit): closed here
        return;
      }
    }
    fds_.push_back(fd);
  }
  queued_.notify_one();
}

void ClosingThread::work() {
  std::unique_lock<std::mutex> hold(lock_);
  for (;;) {
    queued_.wait(hold, [this] { return !fds_.empty() || stopping_; });
    if (fds_.empty()) return;
    int fd = fds_.front();
    fds_.pop_front();
    hold.unlock();
    ::close(fd);
    hold.lock();
  }
}

}  // namespace vandrel::platform::emulated
