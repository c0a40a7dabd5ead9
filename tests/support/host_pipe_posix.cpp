#include <unistd.h>

#include "tests/support/host_pipe.h"

namespace vandrel::test {

bool makeHostPipe(int fds[2]) { return ::pipe(fds) == 0; }

}  // namespace vandrel::test
