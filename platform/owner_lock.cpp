// Owner locks: what does not depend on the system; holding and clearing are in posix/ and win32/.
#include "platform/owner_lock.h"

#include <utility>

namespace vandrel::platform {

OwnerLock::OwnerLock(OwnerLock&& other) noexcept : handle_(other.handle_), path_(std::move(other.path_)) {
  other.handle_ = -1;
}

OwnerLock& OwnerLock::operator=(OwnerLock&& other) noexcept {
  if (this != &other) {
    release();
    handle_ = other.handle_;
    path_ = std::move(other.path_);
    other.handle_ = -1;
  }
  return *this;
}

}  // namespace vandrel::platform
