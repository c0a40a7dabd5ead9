// The crash tests' stop after the Nth step of a run.
#include "platform/stop_point.h"

#include <csignal>
#include <cstdlib>

namespace vandrel::platform {

namespace {

// The step named by the environment, read once; 0: none.
long long stopStep() {
  const char* value = std::getenv(kStopAfterVariable);
  if (!value || !*value) return 0;
  char* end = nullptr;
  long long step = std::strtoll(value, &end, 10);
  return *end == '\0' && step > 0 ? step : 0;
}

[[noreturn]] void endAsKilled() {
#ifdef _WIN32
  std::_Exit(137);
#else
  // SIGKILL itself, so that the program that started this one sees the same ending as a kill.
  std::raise(SIGKILL);
  std::_Exit(137);
#endif
}

}  // namespace

void passStopPoint() {
  static const long long stop = stopStep();
  static long long passed = 0;
  if (stop == 0) return;
  if (++passed == stop) endAsKilled();
}

}  // namespace vandrel::platform
