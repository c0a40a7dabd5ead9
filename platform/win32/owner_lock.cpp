// Owner locks on Windows: none yet. A folder is never judged left over, so none is removed.
#include "platform/owner_lock.h"

#include <utility>

namespace vandrel::platform {

OwnerLock::OwnerLock(OwnerLock&& other) noexcept : handle_(other.handle_), path_(std::move(other.path_)) {
  other.handle_ = -1;
}

OwnerLock& OwnerLock::operator=(OwnerLock&& other) noexcept {
  handle_ = other.handle_;
  path_ = std::move(other.path_);
  other.handle_ = -1;
  return *this;
}

bool OwnerLock::hold(const std::filesystem::path& path) {
  (void)path;
  return false;
}

void OwnerLock::release() { handle_ = -1; }

bool clearIfOwnerGone(const std::filesystem::path& path, const std::function<void()>& clear) {
  (void)path;
  (void)clear;
  return false;
}

}  // namespace vandrel::platform
