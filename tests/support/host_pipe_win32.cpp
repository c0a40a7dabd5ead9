#include <fcntl.h>
#include <io.h>

#include "tests/support/host_pipe.h"

namespace vandrel::test {

// Binary: the bytes written are the bytes read, as on POSIX.
bool makeHostPipe(int fds[2]) { return _pipe(fds, 4096, _O_BINARY) == 0; }

}  // namespace vandrel::test
