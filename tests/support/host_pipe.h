// A pipe of the system the tests run on, as two C runtime descriptors (read end, write end):
// what a test types into a program's input.
#pragma once

namespace vandrel::test {

// True when the pipe was made; fds[0] reads what fds[1] writes.
bool makeHostPipe(int fds[2]);

}  // namespace vandrel::test
