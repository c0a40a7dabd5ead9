// LZ expansion through lz32.
#include "platform/win32/win32_lz.h"

#include <windows.h>
#include <lzexpand.h>

namespace vandrel::platform::win32 {

int Win32Lz::start() { return LZStart(); }

int Win32Lz::openFile(const std::string& path, bool create) {
  OFSTRUCT info{};
  std::string name = path;  // LZOpenFileA takes a writable name
  return LZOpenFileA(name.data(), &info, create ? OF_CREATE : OF_READ);
}

long Win32Lz::copy(int src, int dst) { return LZCopy(src, dst); }

void Win32Lz::close(int handle) { LZClose(handle); }

void Win32Lz::done() { LZDone(); }

}  // namespace vandrel::platform::win32
