// A small native program for tests: appends how it was started (arguments, folder, machine)
// to "probe.log" in its folder, then exits with the status named by "exit=N" in its argument.
// With "connect=PATH" in its argument it first tries to reach the Unix socket PATH (up to the
// next blank) and adds a line "connect=yes" or "connect=no". With "sleep=N" it adds a line
// "pid=<its process id>" and waits N milliseconds before it exits, adding "woke" if it lives.
#include <sys/socket.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  char folder[4096] = "";
  if (!getcwd(folder, sizeof folder)) folder[0] = '\0';
  const char* machine = std::getenv("VANDREL_MACHINE");
  const char* log = std::getenv("MACHINE_PROBE_LOG");
  std::FILE* out = std::fopen(log && *log ? log : "probe.log", "a");
  if (!out) return 99;
  std::fprintf(out, "argc=%d|arg=%s|cwd=%s|machine=%s\n", argc, argc > 1 ? argv[1] : "", folder,
               machine ? machine : "");
  if (const char* connectAt = argc > 1 ? std::strstr(argv[1], "connect=") : nullptr) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::size_t length = std::strcspn(connectAt + 8, " ");
    if (length >= sizeof address.sun_path) length = sizeof address.sun_path - 1;
    std::memcpy(address.sun_path, connectAt + 8, length);
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    bool reached = fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    std::fprintf(out, "connect=%s\n", reached ? "yes" : "no");
    if (fd >= 0) close(fd);
  }
  const char* sleepAt = argc > 1 ? std::strstr(argv[1], "sleep=") : nullptr;
  if (sleepAt) std::fprintf(out, "pid=%d\n", int(getpid()));
  std::fclose(out);
  if (sleepAt) {
    const long ms = std::atol(sleepAt + 6);
    timespec wait{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&wait, &wait) != 0) {
    }
    if (std::FILE* again = std::fopen(log && *log ? log : "probe.log", "a")) {
      std::fprintf(again, "woke\n");
      std::fclose(again);
    }
  }
  const char* exitAt = argc > 1 ? std::strstr(argv[1], "exit=") : nullptr;
  return exitAt ? std::atoi(exitAt + 5) : 0;
}
