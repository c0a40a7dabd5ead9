// The terminal on POSIX systems.
#include "platform/terminal.h"

#include <poll.h>
#include <unistd.h>

namespace vandrel::platform {

bool isTerminal(std::FILE* stream) { return isatty(fileno(stream)) == 1; }

bool inputWaiting(std::FILE* stream) {
  struct pollfd ready = {fileno(stream), POLLIN, 0};
  return poll(&ready, 1, 0) > 0 && (ready.revents & POLLIN);
}

}  // namespace vandrel::platform
