// The terminal on Windows: the console, or a pipe standing for it.
#include "platform/terminal.h"

#include <conio.h>
#include <io.h>
#include <windows.h>

namespace vandrel::platform {

bool isTerminal(std::FILE* stream) { return _isatty(_fileno(stream)) != 0; }

bool inputWaiting(std::FILE* stream) {
  if (isTerminal(stream)) return _kbhit() != 0;  // a key typed on the console
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD available = 0;
  if (GetFileType(handle) == FILE_TYPE_PIPE)
    return PeekNamedPipe(handle, nullptr, 0, nullptr, &available, nullptr) && available > 0;
  return true;  // a file: reading never waits
}

}  // namespace vandrel::platform
