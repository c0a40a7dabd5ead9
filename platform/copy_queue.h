// Copies between open files made by another thread, in the order they were queued, while the
// program goes on with the next file's look-ups.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace vandrel::platform {

class File;

// The results come back in the order the copies were queued, so the queue serves one caller
// at a time (the install loop's copier).
class CopyQueue {
 public:
  virtual ~CopyQueue() = default;
  // Whether this queue can copy from in to out on its own thread (both are files whose copy
  // touches nothing but the two open files).
  virtual bool accepts(File& in, File& out) const = 0;
  // Queues in.copyTo(out, count). Both files stay the caller's, and neither may be used or
  // closed until this copy's result has been taken.
  virtual void push(File& in, File& out, std::size_t count) = 0;
  // The result of the oldest copy whose result has not been taken (what copyTo gave). With
  // wait false, empty when that copy has not ended yet; with wait true it waits for it.
  // Empty as well when nothing is queued.
  virtual std::optional<std::int64_t> takeOldest(bool wait) = 0;
};

}  // namespace vandrel::platform
