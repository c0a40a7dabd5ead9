// One copy thread: it takes the queued copies in order and copies each with the host file's
// copyTo, which touches only the two open files.
#include "platform/emulated/copy_thread.h"

#include <system_error>

#include "platform/emulated/host_file.h"

namespace vandrel::platform::emulated {

CopyThread::~CopyThread() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    stopping_ = true;
  }
  queued_.notify_all();
  if (thread_.joinable()) thread_.join();
}

bool CopyThread::accepts(File& in, File& out) const {
  return dynamic_cast<HostFile*>(&in) != nullptr && dynamic_cast<HostFile*>(&out) != nullptr;
}

void CopyThread::push(File& in, File& out, std::size_t count) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (!thread_.joinable() && !failedToStart_) {
      try {
        thread_ = std::thread([this] { work(); });
      } catch (const std::system_error&) {
        failedToStart_ = true;  // no thread to be had (a process limit): copies are made here
      }
    }
    if (failedToStart_) {
      copies_.push_back(Copy{&in, &out, count, in.copyTo(out, count)});
      ++next_;
      return;
    }
    copies_.push_back(Copy{&in, &out, count, std::nullopt});
  }
  queued_.notify_one();
}

std::optional<std::int64_t> CopyThread::takeOldest(bool wait) {
  std::unique_lock<std::mutex> hold(lock_);
  if (copies_.empty()) return std::nullopt;
  if (wait) ended_.wait(hold, [this] { return copies_.front().result.has_value(); });
  std::optional<std::int64_t> result = copies_.front().result;
  if (!result) return std::nullopt;
  copies_.pop_front();
  --next_;
  return result;
}

void CopyThread::work() {
  std::unique_lock<std::mutex> hold(lock_);
  for (;;) {
    // The queued copies are finished even when the queue is ending: their files are open.
    queued_.wait(hold, [this] { return next_ < copies_.size() || stopping_; });
    if (next_ == copies_.size()) return;
    Copy copy = copies_[next_];
    hold.unlock();
    std::int64_t result = copy.in->copyTo(*copy.out, copy.count);
    hold.lock();
    // Indexes in the deque stay valid: only the front is taken, and only once it has ended.
    copies_[next_].result = result;
    ++next_;
    ended_.notify_all();
  }
}

}  // namespace vandrel::platform::emulated
