// Owner locks on Windows: the lock file held open without sharing, which the system closes
// with the program however it ends; nobody else can open it until then.
#include "platform/owner_lock.h"

#include <windows.h>


namespace vandrel::platform {
namespace {

HANDLE asHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// Marks the file held open to be deleted when it is closed: deleted while still held, so no
// other program can take it in between.
void deleteOnClose(HANDLE handle) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = TRUE;
  ::SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition);
}

// Opens path for this program alone; INVALID_HANDLE_VALUE while another program holds it.
HANDLE openAlone(const std::filesystem::path& path, DWORD disposition) {
  return ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

bool OwnerLock::hold(const std::filesystem::path& path) {
  release();
  // Made and held in one step (CREATE_NEW without sharing): found under its name, it is
  // always held from the start.
  HANDLE handle = openAlone(path, CREATE_NEW);
  if (handle == INVALID_HANDLE_VALUE) return false;
  handle_ = reinterpret_cast<std::intptr_t>(handle);
  path_ = path;
  return true;
}

void OwnerLock::release() {
  if (handle_ < 0) return;
  deleteOnClose(asHandle(handle_));
  ::CloseHandle(asHandle(handle_));
  handle_ = -1;
}

bool clearIfOwnerGone(const std::filesystem::path& path, const std::function<void()>& clear) {
  // Opened alone only once its owner has ended (or released it).
  HANDLE handle = openAlone(path, OPEN_EXISTING);
  if (handle == INVALID_HANDLE_VALUE) return false;
  clear();
  deleteOnClose(handle);
  ::CloseHandle(handle);
  return true;
}

}  // namespace vandrel::platform
