// A small native program for tests: appends how it was started (arguments, folder, machine)
// to "probe.log" in its folder, then exits with the status named by "exit=N" in its argument.
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
  std::fclose(out);
  const char* exitAt = argc > 1 ? std::strstr(argv[1], "exit=") : nullptr;
  return exitAt ? std::atoi(exitAt + 5) : 0;
}
